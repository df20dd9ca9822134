#pragma once

#include <windows.h>

#include <string>

// The module that holds this code: its instance handle (for resources and its own file
// path) and the lock count that decides whether the DLL may be unloaded.
class Module {
public:
    static HINSTANCE Instance();
    static void SetInstance(HINSTANCE instance);
    static std::string FilePath();
    // The module's file name without its extension: the caption of its message boxes.
    static std::string Name();

    static void Lock();
    static void Unlock();
    static long LockCount();
};
