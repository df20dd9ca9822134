#pragma once

#include <windows.h>

#include <functional>

// Owns one window and routes its messages to HandleMessage. System control classes
// (toolbar, combo boxes, statics) and our own classes are attached the same way, by
// subclassing right after creation, so every window object behaves alike. The base's
// destructor destroys a window still there, but by then only the base's handling is left: a
// class whose handlers must see its window go destroys it in its own destructor.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd; }
    bool Exists() const { return hwnd != nullptr; }

    bool Create(DWORD exStyle, const char* className, const char* title, DWORD style,
                const RECT& rect, HWND parent, HMENU idOrMenu = nullptr);
    void Destroy();

    // Sends a window message to this window and returns the window's answer.
    LRESULT SendMsg(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd, message, wParam, lParam);
    }

protected:
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    void Detach();

    HWND hwnd = nullptr;
};

// Registers a plain window class of this module once; its default procedure is
// DefWindowProc and Window's subclassing does the rest.
const char* RegisterPlainWindowClass(const char* name, HBRUSH background = nullptr);

// Runs work on the thread that owns the window (one of ours) and waits until it is done: how a
// worker thread hands its window steps to the UI thread. False when the window is gone and the
// work did not run.
bool RunOnWindowThread(HWND window, const std::function<void()>& work);
