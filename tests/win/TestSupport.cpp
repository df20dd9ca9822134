#include "tests/win/TestSupport.h"

#include "band/Guids.h"
#include "host/BrowserSite.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace {
template <class F> F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

std::string ToolbarDllPath() {
    const char* unixPath = std::getenv("TEXTARO_DLL");
    if (!unixPath) {
        ADD_FAILURE() << "TEXTARO_DLL is not set";
        return {};
    }
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

ToolbarDll::ToolbarDll() : path(ToolbarDllPath()), module(LoadLibraryA(path.c_str())) {
    if (!module) {
        ADD_FAILURE() << "cannot load " << path << " error " << GetLastError();
    }
}

ToolbarDll::~ToolbarDll() {
    if (module) {
        FreeLibrary(module);
    }
}

std::string ToolbarDll::Folder() const {
    return path.substr(0, path.find_last_of('\\'));
}

HRESULT ToolbarDll::CanUnloadNow() const {
    return Export<HRESULT(STDAPICALLTYPE*)()>(module, "DllCanUnloadNow")();
}

HRESULT ToolbarDll::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
    return Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(module, "DllGetClassObject")(
        clsid, iid, object);
}

HRESULT ToolbarDll::Register() const {
    return Export<HRESULT(STDAPICALLTYPE*)()>(module, "DllRegisterServer")();
}

HRESULT ToolbarDll::Unregister() const {
    return Export<HRESULT(STDAPICALLTYPE*)()>(module, "DllUnregisterServer")();
}

std::string RegistryText(HKEY root, const std::string& key, const char* value) {
    char data[1024] = {};
    DWORD size = sizeof data;
    LONG status = RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size);
    return status == ERROR_SUCCESS ? std::string(data) : std::string("<missing>");
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string GuidText(REFGUID guid) {
    wchar_t wide[40] = {};
    StringFromGUID2(guid, wide, 40);
    char narrow[40] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

std::string GatewayAddressText() {
    const char* file = std::getenv("TEXTARO_GATEWAY_FILE");
    if (!file) {
        ADD_FAILURE() << "TEXTARO_GATEWAY_FILE is not set";
        return {};
    }
    std::string text = ReadFile(std::string("Z:") + file);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::string HttpGet(const std::string& address, const std::string& path) {
    std::string url = "http://" + address + (path.starts_with("/") ? "" : "/") + path;
    HINTERNET session =
        InternetOpenA("textaro tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    std::string body;
    char chunk[4096];
    DWORD read = 0;
    while (request && InternetReadFile(request, chunk, sizeof chunk, &read) && read > 0) {
        body.append(chunk, read);
    }
    if (request) {
        InternetCloseHandle(request);
    }
    InternetCloseHandle(session);
    return body;
}

namespace {
INPUT KeyInput(WORD key, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}
} // namespace

void PressKey(WORD key, bool shift) {
    std::vector<INPUT> inputs;
    if (shift) {
        inputs.push_back(KeyInput(VK_SHIFT, 0, 0));
    }
    inputs.push_back(KeyInput(key, 0, 0));
    inputs.push_back(KeyInput(key, 0, KEYEVENTF_KEYUP));
    if (shift) {
        inputs.push_back(KeyInput(VK_SHIFT, 0, KEYEVENTF_KEYUP));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT inputs[2] = {KeyInput(0, c, KEYEVENTF_UNICODE),
                           KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
        SendInput(2, inputs, sizeof(INPUT));
    }
}

std::tm Local(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

SYSTEMTIME SystemTime(const std::tm& local) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);
    return time;
}

bool WaitFor(const std::function<bool()>& condition) {
    for (DWORD start = GetTickCount(); !condition(); Sleep(20)) {
        if (GetTickCount() - start > 5000) {
            return false;
        }
    }
    return true;
}

HWND FindDialog(const char* caption) {
    for (HWND dialog = nullptr; (dialog = FindWindowExA(nullptr, dialog, "#32770", caption));) {
        DWORD process = 0;
        GetWindowThreadProcessId(dialog, &process);
        if (process == GetCurrentProcessId()) {
            return dialog;
        }
    }
    return nullptr;
}

namespace {

std::string IconName(HWND control) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
    const std::pair<LPCSTR, const char*> icons[] = {{IDI_ASTERISK, "information"},
                                                    {IDI_EXCLAMATION, "exclamation"},
                                                    {IDI_QUESTION, "question"},
                                                    {IDI_HAND, "error"}};
    for (const auto& [id, name] : icons) {
        if (icon && icon == LoadIconA(nullptr, id)) {
            return name;
        }
    }
    return "";
}

} // namespace

DialogWatcher::DialogWatcher(Answer answer)
    : answer(std::move(answer)), watcher([this] { Watch(); }) {}

DialogWatcher::~DialogWatcher() {
    stop = true;
    watcher.join();
}

std::vector<SeenDialog> DialogWatcher::Seen() const {
    std::lock_guard<std::mutex> guard(lock);
    return seen;
}

void DialogWatcher::Watch() {
    std::set<HWND> answered;
    while (!stop) {
        HWND dialog = nullptr;
        while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(dialog, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(dialog) ||
                answered.count(dialog)) {
                continue;
            }
            // A window without a button to press (the progress window) is not for the user to
            // answer.
            if (!FindWindowExA(dialog, nullptr, "Button", nullptr)) {
                continue;
            }
            answered.insert(dialog);
            SeenDialog found{WindowText(dialog), "", ""};
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    found.icon = IconName(child);
                }
                found.text += '|';
                found.text += WindowText(child);
            }
            {
                std::lock_guard<std::mutex> guard(lock);
                seen.push_back(found);
            }
            const int button = answer ? answer(dialog, found) : IDOK;
            if (button) {
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            }
        }
        Sleep(30);
    }
}

BrowserWindow::BrowserWindow(const ToolbarDll& dll) {
    frame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1200, 200,
                            nullptr, nullptr, nullptr, nullptr);
    web = new WebBrowser(frame);
    SetForegroundWindow(frame);
    IClassFactory* factory = nullptr;
    if (FAILED(dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory)))) {
        ADD_FAILURE() << "no class factory";
        return;
    }
    factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&band));
    factory->Release();
    IObjectWithSite* withSite = nullptr;
    IDeskBand* deskBand = nullptr;
    if (!band ||
        FAILED(band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite))) ||
        FAILED(band->QueryInterface(IID_IDeskBand, reinterpret_cast<void**>(&deskBand)))) {
        ADD_FAILURE() << "no band";
        return;
    }
    site = new BrowserSite(frame, web);
    EXPECT_EQ(S_OK, withSite->SetSite(static_cast<IInputObjectSite*>(site)));
    withSite->Release();
    deskBand->GetWindow(&toolbar);
    SetParent(toolbar, frame);
    SetWindowPos(toolbar, nullptr, 0, 0, 1100, 25, SWP_NOZORDER);
    deskBand->ShowDW(TRUE);
    deskBand->Release();
    band->QueryInterface(IID_IInputObject, reinterpret_cast<void**>(&input));
}

BrowserWindow::~BrowserWindow() {
    if (input) {
        input->Release();
    }
    if (band) {
        band->Release();
    }
    if (site) {
        site->Release();
    }
    if (web) {
        web->Release();
    }
    DestroyWindow(frame);
}

HWND BrowserWindow::Child(const char* className, int index) const {
    for (HWND child = GetWindow(toolbar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, className) == 0 && index-- == 0) {
            return child;
        }
    }
    return nullptr;
}

HWND BrowserWindow::EditOf(HWND box) {
    return reinterpret_cast<HWND>(SendMessageA(box, CBEM_GETEDITCONTROL, 0, 0));
}
