#include "host/BrowserFrame.h"

#include "host/KeyInput.h"
#include "win/Text.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

constexpr UINT_PTR ScriptTimer = 1;

// Window texts are in the system's code page; the stand-in reports in UTF-8.
std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(window, wide.data(), length + 1)));
    const std::string text = Narrow(wide, CP_UTF8);
    std::string escaped;
    for (char c : text) {
        escaped += c == '\n'   ? std::string("\\n")
                   : c == '\r' ? std::string("\\r")
                               : std::string(1, c);
    }
    return escaped;
}

} // namespace

BrowserFrame::~BrowserFrame() {
    Destroy();
    ReleaseBand();
}

bool BrowserFrame::Open(int width, int height) {
    const char* frameClass =
        RegisterPlainWindowClass("TextaroBrowserFrame", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + width, CW_USEDEFAULT + height};
    if (!Create(0, frameClass, "Prohlížeč", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect, nullptr)) {
        return false;
    }
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOZORDER);
    RECT client{};
    GetClientRect(Handle(), &client);
    const RECT bar{0, 0, client.right, 30};
    if (!rebar.Create(0, REBARCLASSNAMEA, "",
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                          RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                      bar, Handle())) {
        return false;
    }
    const RECT pageRect{0, 40, client.right, client.bottom};
    page.Create(0, "STATIC", "about:blank", WS_CHILD | WS_VISIBLE | SS_CENTER, pageRect, Handle());
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
    return true;
}

HRESULT BrowserFrame::LoadBand(const wchar_t* progId) {
    CLSID clsid{};
    if (HRESULT result = CLSIDFromProgID(progId, &clsid); FAILED(result)) {
        return result;
    }
    if (HRESULT result =
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, band.PutVoid());
        FAILED(result)) {
        return result;
    }
    return PlaceBand(band.Get());
}

HRESULT BrowserFrame::PlaceBand(IUnknown* madeBand) {
    band = Query<IUnknown>(madeBand, IID_IUnknown);
    browser = new WebBrowser(Handle());
    site = new BrowserSite(rebar.Handle(), browser);
    auto withSite = Query<IObjectWithSite>(band.Get(), IID_IObjectWithSite);
    if (!withSite) {
        return E_NOINTERFACE;
    }
    if (HRESULT result = withSite->SetSite(static_cast<IInputObjectSite*>(site)); FAILED(result)) {
        return result;
    }
    deskBand = Query<IDeskBand>(band.Get(), IID_IDeskBand);
    inputObject = Query<IInputObject>(band.Get(), IID_IInputObject);
    if (!deskBand || !inputObject) {
        return E_NOINTERFACE;
    }

    DESKBANDINFO info{};
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE |
                  DBIM_MODEFLAGS | DBIM_BKCOLOR;
    deskBand->GetBandInfo(0, DBIF_VIEWMODE_NORMAL, &info);
    deskBand->GetWindow(&bandWindow);
    if (!bandWindow) {
        return E_FAIL;
    }

    REBARBANDINFOA bandInfo{};
    bandInfo.cbSize = sizeof bandInfo;
    bandInfo.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE | RBBIM_IDEALSIZE;
    bandInfo.fStyle = RBBS_CHILDEDGE | ((info.dwModeFlags & DBIMF_BREAK) ? RBBS_BREAK : 0);
    bandInfo.hwndChild = bandWindow;
    bandInfo.cxMinChild = info.ptMinSize.x;
    bandInfo.cyMinChild = info.ptMinSize.y;
    bandInfo.cx = info.ptActual.x;
    bandInfo.cxIdeal = info.ptActual.x;
    rebar.SendMsg(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&bandInfo));
    deskBand->ShowDW(TRUE);
    inputObject->UIActivateIO(TRUE, nullptr);
    return S_OK;
}

void BrowserFrame::SetScript(std::deque<std::string> lines, std::string directory) {
    script = std::move(lines);
    snapshotDir = std::move(directory);
    SetTimer(Handle(), ScriptTimer, 300, nullptr);
}

int BrowserFrame::Run() {
    running = true;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Like the browser, offer every key to the band before the page gets it.
        if (inputObject && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
            inputObject->TranslateAcceleratorIO(&message) == S_OK) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void BrowserFrame::Close() {
    DestroyWindow(Handle());
}

void BrowserFrame::ReleaseBand() {
    if (deskBand) {
        deskBand->ShowDW(FALSE);
        deskBand->CloseDW(0);
    }
    if (auto withSite = Query<IObjectWithSite>(band.Get(), IID_IObjectWithSite)) {
        withSite->SetSite(nullptr);
    }
    inputObject.Reset();
    deskBand.Reset();
    band.Reset();
    if (site) {
        site->Release();
        site = nullptr;
    }
    if (browser) {
        browser->Release();
        browser = nullptr;
    }
}

LRESULT BrowserFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        rebar.SendMsg(WM_SIZE, wParam, lParam);
        if (page.Exists()) {
            MoveWindow(page.Handle(), 0, 40, LOWORD(lParam), HIWORD(lParam) - 40, TRUE);
        }
        break;
    case WM_TIMER:
        if (wParam == ScriptTimer) {
            KillTimer(Handle(), ScriptTimer);
            RunNextCommand();
            return 0;
        }
        break;
    case WM_DESTROY:
        ReleaseBand();
        if (running) {
            PostQuitMessage(0);
        }
        break;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void BrowserFrame::RunNextCommand() {
    while (!script.empty()) {
        std::string line = script.front();
        script.pop_front();
        if (line.empty() || line[0] == '#') {
            continue;
        }
        size_t space = line.find(' ');
        std::string verb = line.substr(0, space);
        std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
        if (verb == "wait") {
            SetTimer(Handle(), ScriptTimer, static_cast<UINT>(std::atoi(argument.c_str())),
                     nullptr);
            return;
        }
        RunCommand(verb, argument);
        if (!Exists()) {
            return;
        }
        // Let the toolbar handle what the command set off before the next one.
        SetTimer(Handle(), ScriptTimer, 50, nullptr);
        return;
    }
}

void BrowserFrame::RunCommand(const std::string& verb, const std::string& argument) {
    if (verb == "print") {
        PrintState();
    } else if (verb == "type") {
        TypeText(Widen(argument, CP_UTF8));
    } else if (verb == "key") {
        PressNamedKey(argument);
    } else if (verb == "click") {
        Click(std::atoi(argument.c_str()));
    } else if (verb == "press") {
        Press(std::atoi(argument.c_str()));
    } else if (verb == "activate") {
        inputObject->UIActivateIO(TRUE, nullptr);
    } else if (verb == "snapshot") {
        // The driver takes the screenshot when it reads this line and answers with the file.
        std::printf("snapshot %s\n", argument.c_str());
        std::fflush(stdout);
        std::filesystem::path picture = std::filesystem::path(snapshotDir) / (argument + ".png");
        for (int waited = 0; waited < 200 && !std::filesystem::exists(picture); ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    } else if (verb == "dialog") {
        PrintDialog();
    } else if (verb == "fill" || verb == "tick") {
        FillDialog(verb, argument);
    } else if (verb == "answer") {
        AnswerDialog(argument);
    } else if (verb == "close") {
        Close();
    } else {
        std::printf("unknown command: %s\n", verb.c_str());
        std::fflush(stdout);
    }
}

std::vector<std::string> BrowserFrame::Navigations() const {
    return browser ? browser->Navigations() : std::vector<std::string>{};
}

void BrowserFrame::PrintState() {
    std::printf("band window: %s\n", bandWindow ? "yes" : "no");
    for (HWND child = GetWindow(bandWindow, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        std::printf("control %s: %s\n", className, TextOf(child).c_str());
    }
    for (const std::string& address : Navigations()) {
        std::printf("navigated: %s\n", address.c_str());
    }
    std::fflush(stdout);
}

namespace {

struct DialogSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->process && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The process's dialog or message box on top, if one is showing.
HWND ShowingDialog() {
    DialogSearch search{GetCurrentProcessId(), nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

void BrowserFrame::PrintDialog() {
    HWND dialog = ShowingDialog();
    if (!dialog) {
        std::printf("dialog: none\n");
        std::fflush(stdout);
        return;
    }
    std::printf("dialog: %s\n", TextOf(dialog).c_str());
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        std::string text = TextOf(child);
        if (!text.empty()) {
            std::printf("  %s: %s\n", className, text.c_str());
        }
    }
    std::fflush(stdout);
}

void BrowserFrame::AnswerDialog(const std::string& button) {
    // A named answer, or the number of any button of the dialog.
    const int command = button == "yes"      ? IDYES
                        : button == "no"     ? IDNO
                        : button == "cancel" ? IDCANCEL
                        : button == "ok"     ? IDOK
                                             : std::atoi(button.c_str());
    if (HWND dialog = ShowingDialog()) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    }
}

void BrowserFrame::FillDialog(const std::string& verb, const std::string& argument) {
    const size_t space = argument.find(' ');
    const int control = std::atoi(argument.substr(0, space).c_str());
    HWND dialog = ShowingDialog();
    if (!dialog) {
        return;
    }
    if (verb == "tick") {
        CheckDlgButton(dialog, control, BST_CHECKED);
    } else {
        const std::string text = space == std::string::npos ? "" : argument.substr(space + 1);
        SetDlgItemTextW(dialog, control, Widen(text, CP_UTF8).c_str());
    }
}

void BrowserFrame::Click(int button) {
    RECT rect{};
    SendMessageA(bandWindow, TB_GETITEMRECT, button, reinterpret_cast<LPARAM>(&rect));
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(bandWindow, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(bandWindow, WM_LBUTTONUP, 0, point);
}

void BrowserFrame::Press(int button) {
    RECT rect{};
    SendMessageA(bandWindow, TB_GETITEMRECT, button, reinterpret_cast<LPARAM>(&rect));
    POINT point{rect.right - 4, (rect.top + rect.bottom) / 2};
    ClientToScreen(bandWindow, &point);
    SetCursorPos(point.x, point.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof clicks[0]);
}

void BrowserFrame::PressNamedKey(const std::string& name) {
    bool shift = name.rfind("shift+", 0) == 0;
    std::string key = shift ? name.substr(6) : name;
    WORD code = key == "tab"      ? VK_TAB
                : key == "enter"  ? VK_RETURN
                : key == "down"   ? VK_DOWN
                : key == "up"     ? VK_UP
                : key == "escape" ? VK_ESCAPE
                                  : 0;
    if (!code) {
        std::printf("unknown key: %s\n", name.c_str());
        std::fflush(stdout);
        return;
    }
    PressKey(code, shift);
}
