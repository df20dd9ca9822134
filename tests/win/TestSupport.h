#pragma once

#include <windows.h>
#include <wininet.h>
#include <shobjidl.h>

#include "host/BrowserSite.h"
#include "host/WebBrowser.h"
#include "win/Text.h"

#include <atomic>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The toolbar DLL under test, loaded by path as the browser's COM runtime would load it.
class ToolbarDll {
public:
    ToolbarDll();
    ~ToolbarDll();
    ToolbarDll(const ToolbarDll&) = delete;
    ToolbarDll& operator=(const ToolbarDll&) = delete;

    HMODULE Handle() const { return module; }
    // Full Windows path of the DLL, and the folder beside it where its INI files live.
    const std::string& Path() const { return path; }
    std::string Folder() const;

    HRESULT CanUnloadNow() const;
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;
    HRESULT Register() const;
    HRESULT Unregister() const;

private:
    std::string path;
    HMODULE module = nullptr;
};

// The DLL's path from the TEXTARO_DLL variable that the test runner sets, as Windows sees it.
std::string ToolbarDllPath();

// Text of a registry value, or nullopt-like "<missing>" when the key or value is absent.
std::string RegistryText(HKEY root, const std::string& key, const char* value = nullptr);
bool RegistryKeyExists(HKEY root, const std::string& key);

// Writes a whole file (used for settings.ini and menu.ini beside the DLL).
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);

// The registry form of a GUID, "{XXXXXXXX-...}".
std::string GuidText(REFGUID guid);

// Runs the thread's messages for a while, so windows can do what was posted to them.
void PumpMessages(DWORD milliseconds);

// The gateway server the fixture started: "host:port" from the file named by
// TEXTARO_GATEWAY_FILE.
std::string GatewayAddressText();
// A plain GET on the gateway server (its admin pages, or a target to compare with).
std::string HttpGet(const std::string& address, const std::string& path);

// Keys through the system's input queue, as the user presses them: they reach the focused
// window of the foreground window.
void PressKey(WORD key, bool shift = false);
void TypeText(const std::wstring& text);

// Local time as the C runtime sees it, independently of the product's own conversions, and
// the same moment in the form the date and time pickers take.
std::tm Local(std::time_t moment);
SYSTEMTIME SystemTime(const std::tm& local);

// Waits up to five seconds for the condition; false when it never came true.
bool WaitFor(const std::function<bool()>& condition);

// A top-level dialog (#32770) of this process with the caption, shown or hidden.
HWND FindDialog(const char* caption);

// One dialog or message box as the watcher saw it: its caption, the texts of its controls
// and the icon of a message box ("information", "exclamation", "question" or "").
struct SeenDialog {
    std::string caption;
    std::string text;
    std::string icon;
};

// Answers the dialogs and message boxes the process shows (those with a button to press),
// from a thread of its own, and keeps what they showed. The answer gets each dialog once, while it
// is on the screen, and returns the button to press (IDOK, IDYES, ...); by default every dialog is
// answered OK.
class DialogWatcher {
public:
    using Answer = std::function<int(HWND dialog, const SeenDialog& seen)>;

    explicit DialogWatcher(Answer answer = {});
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    std::vector<SeenDialog> Seen() const;

private:
    void Watch();

    Answer answer;
    std::atomic<bool> stop{false};
    mutable std::mutex lock;
    std::vector<SeenDialog> seen;
    std::thread watcher;
};

// The toolbar in a browser window of the test's own: the band comes from the DLL through its
// class factory, is sited in the window, placed and shown, as the browser does it.
class BrowserWindow {
public:
    explicit BrowserWindow(const ToolbarDll& dll);
    ~BrowserWindow();
    BrowserWindow(const BrowserWindow&) = delete;
    BrowserWindow& operator=(const BrowserWindow&) = delete;

    HWND Frame() const { return frame; }
    HWND Toolbar() const { return toolbar; }
    IInputObject* Input() const { return input; }
    // What the band reported to its site.
    const BrowserSite& Site() const { return *site; }
    // The addresses the toolbar opened in this window, in UTF-8.
    const std::vector<std::string>& Navigations() const { return web->Navigations(); }
    // The toolbar's index-th child control of the class, in the order they were made.
    HWND Child(const char* className, int index = 0) const;
    static HWND EditOf(HWND box);

private:
    HWND frame = nullptr;
    HWND toolbar = nullptr;
    IUnknown* band = nullptr;
    IInputObject* input = nullptr;
    BrowserSite* site = nullptr;
    WebBrowser* web = nullptr;
};
