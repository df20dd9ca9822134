#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>

// Owning wrappers for the GDI, image-list, menu, kernel and library handles the toolbar holds.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct KernelHandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct LibraryFreer {
    void operator()(HMODULE library) const { FreeLibrary(library); }
};

using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using ImageListHandle = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using KernelHandle = std::unique_ptr<void, KernelHandleCloser>;
using MemoryDcHandle = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;
using LibraryHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

// A window's device context, given back when the scope ends.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDc() {
        if (dc) {
            ReleaseDC(window, dc);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// Selects a GDI object into a device context and restores the previous one at scope end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc, previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// Holds a named mutex, which every process of the session that names it shares, for a scope;
// a thread that holds it may take it again. One that cannot be had within the wait (say, its
// name is another kind of object's) is not held, and the scope runs all the same.
class NamedMutexLock {
public:
    NamedMutexLock(const std::string& name, DWORD waitMs)
        : mutex(CreateMutexA(nullptr, FALSE, name.c_str())) {
        const DWORD waited = mutex ? WaitForSingleObject(mutex.get(), waitMs) : WAIT_FAILED;
        // An owner that died mid-change leaves the mutex abandoned, and ours.
        held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~NamedMutexLock() {
        if (held) {
            ReleaseMutex(mutex.get());
        }
    }
    NamedMutexLock(const NamedMutexLock&) = delete;
    NamedMutexLock& operator=(const NamedMutexLock&) = delete;

private:
    KernelHandle mutex;
    bool held = false;
};
