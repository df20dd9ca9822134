#include "win/Window.h"

#include "win/Module.h"

#include <commctrl.h>

#include <map>
#include <mutex>

Window::~Window() {
    Destroy();
}

bool Window::Create(DWORD exStyle, const char* className, const char* title, DWORD style,
                    const RECT& rect, HWND parent, HMENU idOrMenu) {
    HWND created = CreateWindowExA(exStyle, className, title, style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent, idOrMenu,
                                   Module::Instance(), nullptr);
    if (!created) {
        return false;
    }
    hwnd = created;
    SetWindowSubclass(hwnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void Window::Destroy() {
    if (hwnd) {
        HWND doomed = hwnd;
        Detach();
        DestroyWindow(doomed);
    }
}

void Window::Detach() {
    RemoveWindowSubclass(hwnd, SubclassProc, 0);
    hwnd = nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallDefault(message, wParam, lParam);
}

LRESULT Window::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

namespace {

UINT RunWorkMessage() {
    static const UINT message = RegisterWindowMessageA("TextaroBar.RunOnWindowThread");
    return message;
}

// Work handed to a window's thread, waiting under its ticket. The message's number is the same
// in every process, so what it carries is only a ticket: a message that names no work queued
// here for that window, whoever sent it, runs nothing.
struct QueuedWork {
    HWND window;
    const std::function<void()>* work;
    bool ran;
};

std::mutex queueLock;
std::map<WPARAM, QueuedWork> queue;
WPARAM lastTicket = 0;

bool RunQueuedWork(HWND window, WPARAM ticket) {
    const std::function<void()>* work = nullptr;
    {
        std::lock_guard guard(queueLock);
        auto it = queue.find(ticket);
        if (it == queue.end() || it->second.window != window || it->second.ran) {
            return false;
        }
        it->second.ran = true;
        work = it->second.work;
    }
    (*work)();
    return true;
}

} // namespace

bool RunOnWindowThread(HWND window, const std::function<void()>& work) {
    if (!IsWindow(window)) {
        return false;
    }
    WPARAM ticket;
    {
        std::lock_guard guard(queueLock);
        ticket = ++lastTicket;
        queue.emplace(ticket, QueuedWork{window, &work, false});
    }
    SendMessageA(window, RunWorkMessage(), ticket, 0);
    std::lock_guard guard(queueLock);
    auto it = queue.find(ticket);
    const bool ran = it->second.ran;
    queue.erase(it);
    return ran;
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
    auto* window = reinterpret_cast<Window*>(self);
    if (message == RunWorkMessage()) {
        return RunQueuedWork(hwnd, wParam) ? 1 : 0;
    }
    if (message == WM_NCDESTROY) {
        // The parent is taking this window down: forget the handle so the object does not
        // destroy it a second time.
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        window->Detach();
        return result;
    }
    return window->HandleMessage(message, wParam, lParam);
}

const char* RegisterPlainWindowClass(const char* name, HBRUSH background) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(Module::Instance(), name, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = Module::Instance();
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = name;
        RegisterClassExA(&wc);
    }
    return name;
}
