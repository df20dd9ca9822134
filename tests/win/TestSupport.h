#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
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

// A window's text as the program sees it, in the system's code page.
std::string WindowText(HWND window);

// Keys through the system's input queue, as the user presses them: they reach the focused
// window of the foreground window.
void PressKey(WORD key, bool shift = false);
void TypeText(const std::wstring& text);

// Answers every dialog and message box the process shows with OK, from a thread of its own,
// and keeps the texts they showed.
class DialogWatcher {
public:
    DialogWatcher();
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    std::vector<std::string> Seen() const;

private:
    void Watch();

    std::atomic<bool> stop{false};
    mutable std::mutex lock;
    std::vector<std::string> seen;
    std::thread watcher;
};
