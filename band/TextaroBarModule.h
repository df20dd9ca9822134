#pragma once

#include <windows.h>

// The DLL's module object: the one class factory, registration and the unload decision.
class TextaroBarModule {
public:
    static void Start(HINSTANCE instance);
    static void End();

    static HRESULT CanUnloadNow();
    static HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
    static HRESULT RegisterServer();
    static HRESULT UnregisterServer();
};
