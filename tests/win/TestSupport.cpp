#include "tests/win/TestSupport.h"

#include "band/Guids.h"
#include "gateway/Md5.h"
#include "win/Module.h"

#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

namespace {

// A Unix path from the environment, as Windows sees it.
std::string WindowsPath(const char* variable) {
    const char* unixPath = std::getenv(variable);
    EXPECT_TRUE(unixPath) << variable << " is not set";
    std::string path = std::string("Z:") + (unixPath ? unixPath : "");
    std::ranges::replace(path, '/', '\\');
    return path;
}

bool Poll(const std::function<bool()>& condition, DWORD limit, void (*wait)()) {
    for (DWORD start = GetTickCount(); !condition(); wait()) {
        if (GetTickCount() - start > limit) {
            return false;
        }
    }
    return true;
}

void RemoveToolbarFiles(const std::string& folder) {
    for (const char* file : {"\\settings.ini", "\\menu.ini", "\\uninstall.txt"}) {
        DeleteFileA((folder + file).c_str());
    }
    RemoveDirectoryA((folder + "\\settings.ini").c_str());
}

} // namespace

ToolbarDll::ToolbarDll()
    : path(WindowsPath("TEXTARO_DLL")), module(LoadLibraryA(path.c_str()), FreeLibrary) {
    EXPECT_TRUE(module) << "cannot load " << path << " error " << GetLastError();
}

BrowserWindow::BrowserWindow(const ToolbarDll& dll) {
    ComPtr<IClassFactory> factory;
    ComPtr<IUnknown> band;
    if (!Open(1200, 200) ||
        FAILED(dll.GetClassObject(CLSID_TextaroBarBand, IID_IClassFactory, factory.PutVoid())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IUnknown, band.PutVoid()))) {
        ADD_FAILURE() << "no band";
        return;
    }
    SetForegroundWindow(Handle());
    EXPECT_EQ(S_OK, PlaceBand(band.Get()));
}

HWND BrowserWindow::Child(const char* className, int index) const {
    HWND child = nullptr;
    do {
        child = FindWindowExA(Toolbar(), child, className, nullptr);
    } while (child && index-- > 0);
    return child;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

HRESULT PumpMessages(DWORD milliseconds, IInputObject* band, WPARAM key) {
    HRESULT pressed = E_FAIL;
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (band && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
                const HRESULT answer = band->TranslateAcceleratorIO(&message);
                pressed = message.message == WM_KEYDOWN && message.wParam == key ? answer : pressed;
                if (answer == S_OK) {
                    continue;
                }
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
    return pressed;
}

std::string GatewayAddressText() {
    std::string text = ReadFile(WindowsPath("TEXTARO_GATEWAY_FILE"));
    return text.erase(text.find_last_not_of("\r\n") + 1);
}

std::string Http(const char* verb, const std::string& address, const std::string& path) {
    using Internet = std::unique_ptr<void, decltype(&InternetCloseHandle)>;
    const std::size_t colon = address.rfind(':');
    const auto port = static_cast<INTERNET_PORT>(std::atoi(address.c_str() + colon + 1));
    Internet session(InternetOpenA("textaro tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0),
                     InternetCloseHandle);
    Internet connection(InternetConnectA(session.get(), address.substr(0, colon).c_str(), port,
                                         nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0),
                        InternetCloseHandle);
    Internet request(HttpOpenRequestA(connection.get(), verb, path.c_str(), nullptr, nullptr,
                                      nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                      0),
                     InternetCloseHandle);
    std::string body;
    char chunk[4096];
    const bool sent = HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0);
    for (DWORD read = 0;
         sent && InternetReadFile(request.get(), chunk, sizeof chunk, &read) && read;) {
        body.append(chunk, read);
    }
    return body;
}

std::vector<Sent> Outbox() {
    std::vector<Sent> sent;
    const std::string json = HttpGet(GatewayAddressText(), "/admin/outbox");
    static const std::regex record(
        R"re("login":"((?:[^"\\]|\\.)*)","msisdn":"([^"]*)","text":"((?:[^"\\]|\\.)*)",)re"
        R"re("nick":(null|"(?:[^"\\]|\\.)*"),"delay":(null|"[^"]*"))re");
    for (std::sregex_iterator it(json.begin(), json.end(), record), end; it != end; ++it) {
        sent.push_back({(*it)[1], (*it)[2], (*it)[3], (*it)[4], (*it)[5]});
    }
    return sent;
}

int Requests(const std::string& action) {
    const std::string json = HttpGet(GatewayAddressText(), "/admin/requests");
    const size_t at = json.find('"' + action + "\":");
    return at == std::string::npos ? 0 : std::atoi(json.c_str() + at + action.size() + 3);
}

std::tm Local(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

SYSTEMTIME SystemTime(const std::tm& local) {
    return {static_cast<WORD>(local.tm_year + 1900), static_cast<WORD>(local.tm_mon + 1),
            static_cast<WORD>(local.tm_wday),        static_cast<WORD>(local.tm_mday),
            static_cast<WORD>(local.tm_hour),        static_cast<WORD>(local.tm_min),
            static_cast<WORD>(local.tm_sec),         0};
}

bool WaitFor(const std::function<bool()>& condition) {
    return Poll(condition, 5000, [] { Sleep(20); });
}

bool Serve(const std::function<bool()>& condition, DWORD limit) {
    return Poll(condition, limit, [] { PumpMessages(20); });
}

void ToolbarTest::SetUp() {
    CoInitialize(nullptr);
    RemoveToolbarFiles(dll.Folder());
}

void ToolbarTest::TearDown() {
    browser.reset();
    HttpPost(address, "/admin/fault?mode=off");
    RemoveToolbarFiles(dll.Folder());
    CoUninitialize();
}

void ToolbarTest::Open(const std::string& settings, const std::string& menu) {
    browser.reset();
    for (const auto& [file, text] : {std::pair{"settings.ini", &settings}, {"menu.ini", &menu}}) {
        if (!text->empty()) {
            WriteFile(Beside(file), *text);
        }
    }
    browser = std::make_unique<BrowserWindow>(dll);
    messageEdit = browser->Edit(0);
    recipientEdit = browser->Edit(1);
    counter = browser->Child("Static", 0);
    credit = browser->Child("Static", 1);
}

void ToolbarTest::OpenSignedIn(const std::string& menu, const std::string& login,
                               const std::string& settingsMore, const std::string& gateway) {
    SignIn(login, "heslo", settingsMore);
    Open("", "[SETTINGS]\r\nGateway=" + (gateway.empty() ? address : gateway) +
                 "\r\nPortal=http://" + address + "/\r\n" + menu);
}

bool Ours(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

HWND FindDialog(const char* caption) {
    HWND dialog = nullptr;
    while ((dialog = FindWindowExA(nullptr, dialog, "#32770", caption)) && !Ours(dialog)) {
    }
    return dialog;
}

testing::AssertionResult Shows(const SeenDialog& seen, const std::vector<std::string>& texts,
                               const std::string& icon, const std::string& caption) {
    const bool shown = std::all_of(texts.begin(), texts.end(), [&](const auto& text) {
        return seen.text.find("|" + text) != std::string::npos;
    });
    return shown && seen.icon == icon && (caption.empty() || seen.caption == caption)
               ? testing::AssertionSuccess()
               : testing::AssertionFailure() << seen.caption << " " << seen.icon << seen.text;
}

DialogWatcher::DialogWatcher(Answer answer)
    : answer(std::move(answer)), watcher([this](std::stop_token stop) { Watch(stop); }) {}

std::vector<SeenDialog> DialogWatcher::Seen() const {
    std::lock_guard<std::mutex> guard(lock);
    return seen;
}

void DialogWatcher::Watch(const std::stop_token& stop) {
    const std::pair<LPCSTR, const char*> icons[] = {{IDI_ASTERISK, "information"},
                                                    {IDI_EXCLAMATION, "exclamation"},
                                                    {IDI_QUESTION, "question"},
                                                    {IDI_HAND, "error"}};
    std::set<HWND> answered;
    for (; !stop.stop_requested(); Sleep(30)) {
        for (HWND dialog = nullptr; (dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr));) {
            // A window without a button to press is not for the user, nor is the send run's
            // progress window, whose Storno is the user's choice (a window going as it is read
            // has no caption).
            SeenDialog found;
            if (!Ours(dialog) || !IsWindowVisible(dialog) || answered.count(dialog) ||
                !FindWindowExA(dialog, nullptr, "Button", nullptr) ||
                (found.caption = WindowText(dialog)).empty() || found.caption == "Odesílání") {
                continue;
            }
            answered.insert(dialog);
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                // Other controls than an icon's static answer no icon.
                auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
                for (const auto& [id, name] : icons) {
                    found.icon = icon && icon == LoadIconA(nullptr, id) ? name : found.icon;
                }
                found.text += '|' + WindowText(child);
            }
            {
                std::lock_guard<std::mutex> guard(lock);
                seen.push_back(found);
            }
            if (const int button = answer ? answer(dialog, found) : IDOK) {
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            }
        }
    }
}

void TypeOver(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    for (char c : text) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

void DialogTest::SetUp() {
    static const ToolbarDll resident;
    ToolbarTest::SetUp();
    Module::SetInstance(resident.Handle());
    owner = CreateWindowExA(0, "STATIC", "browser", WS_OVERLAPPEDWINDOW, 0, 0, 900, 200, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
}

void DialogTest::TearDown() {
    DestroyWindow(owner);
    ToolbarTest::TearDown();
}

std::vector<Sent> ToolbarTest::SendText(const std::string& message, const std::string& recipients,
                                        bool reopen) {
    browser->Type(message, recipients);
    if (reopen) {
        Open();
    }
    const size_t before = Outbox().size();
    browser->Click(8);
    PumpMessages(300);
    EXPECT_TRUE(Serve([&] { return SendButtonEnabled(); }, 20000))
        << "the run ends and gives the button back";
    const std::vector<Sent> sent = Outbox();
    return {sent.begin() + static_cast<long>(std::min(before, sent.size())), sent.end()};
}

void ToolbarTest::SignIn(const std::string& user, const std::string& password,
                         const std::string& more) const {
    WriteFile(Beside("settings.ini"),
              "[SETTINGS]\r\nUserName=" + user + "\r\nPasword=" + Md5Hex(password) + "\r\n" + more);
}
