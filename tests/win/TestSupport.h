#pragma once

#include <windows.h>

#include <commctrl.h>

#include "host/BrowserFrame.h"
#include "host/KeyInput.h"
#include "store/Settings.h"
#include "win/Text.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The toolbar DLL under test, loaded by path (TEXTARO_DLL) as the browser's COM runtime loads it.
class ToolbarDll {
public:
    ToolbarDll();

    HMODULE Handle() const { return module.get(); }
    const std::string& Path() const { return path; }
    std::string Folder() const { return path.substr(0, path.find_last_of('\\')); }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
        return Call<REFCLSID, REFIID, void**>("DllGetClassObject", clsid, iid, object);
    }
    // An export and its arguments: DllCanUnloadNow, DllRegisterServer, ...
    template <class... Args> HRESULT Call(const char* exportName, Args... args) const {
        return reinterpret_cast<HRESULT(STDAPICALLTYPE*)(Args...)>(
            reinterpret_cast<void*>(GetProcAddress(Handle(), exportName)))(args...);
    }

private:
    std::string path;
    std::unique_ptr<HINSTANCE__, decltype(&FreeLibrary)> module;
};

// The toolbar sited, placed, shown and activated in the stand-in's browser window from the DLL's
// class factory. WM_CLOSE to Frame() closes it.
class BrowserWindow : public BrowserFrame {
public:
    explicit BrowserWindow(const ToolbarDll& dll);

    HWND Frame() const { return Handle(); }
    HWND Toolbar() const { return BandWindow(); }
    // The toolbar's index-th child control of the class, in the order they were made.
    HWND Child(const char* className, int index = 0) const;
    static HWND EditOf(HWND box) {
        return reinterpret_cast<HWND>(SendMessageA(box, CBEM_GETEDITCONTROL, 0, 0));
    }
    // The edit of the message box (0) or the recipient box (1).
    HWND Edit(int box) const { return EditOf(Child(WC_COMBOBOXEXA, box)); }
    void Type(const std::string& message, const std::string& recipients) const {
        SetWindowTextA(Edit(0), message.c_str());
        SetWindowTextA(Edit(1), recipients.c_str());
    }
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);

// Runs the thread's messages for a while, offering every key to the band first when given one,
// as the browser's loop does; what the band answered to a press of the key (E_FAIL: none).
HRESULT PumpMessages(DWORD milliseconds, IInputObject* band = nullptr, WPARAM key = 0);

// The fixture's gateway server ("host:port" from the file TEXTARO_GATEWAY_FILE names).
std::string GatewayAddressText();
// A GET, or a POST without a body as the gateway's admin interface takes its changes.
std::string Http(const char* verb, const std::string& address, const std::string& path);
inline std::string HttpGet(const std::string& address, const std::string& path) {
    return Http("GET", address, path);
}
inline std::string HttpPost(const std::string& address, const std::string& path) {
    return Http("POST", address, path);
}

// A message the fixture's gateway server took, as its /admin/outbox writes it in JSON (UTF-8,
// escaped; nick and delay quoted, or null).
struct Sent {
    std::string login, msisdn, text, nick, delay;
};
// What the server took, oldest first.
std::vector<Sent> Outbox();
// How many requests of the interface and action ("rapi.info") the server has answered.
int Requests(const std::string& action);

// Local time as the C runtime sees it, and the same moment as the date and time pickers take it.
std::tm Local(std::time_t moment);
SYSTEMTIME SystemTime(const std::tm& local);

// Waits up to five seconds for the condition; false when it never came true.
bool WaitFor(const std::function<bool()>& condition);
// Serves this thread's windows until the condition holds; false when it never came true.
bool Serve(const std::function<bool()>& condition, DWORD limit = 5000);

// The toolbar in a browser window over settings.ini and menu.ini beside the DLL, which the test
// writes and the fixture removes.
class ToolbarTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Beside(const char* file) const { return dll.Folder() + "\\" + file; }
    Settings Stored() const {
        Settings stored(dll.Path());
        stored.Load();
        return stored;
    }
    // Writes the files given (an empty text writes none) and opens the browser window on them.
    void Open(const std::string& settings = "", const std::string& menu = "");
    // Opens signed in with the password "heslo", on the gateway (the fixture's by default), with
    // more settings lines and more of menu.ini after its SETTINGS keys.
    void OpenSignedIn(const std::string& menu = "", const std::string& login = "jana",
                      const std::string& settingsMore = "", const std::string& gateway = "");
    void SignIn(const std::string& user, const std::string& password,
                const std::string& more = "") const;
    bool SendButtonEnabled() const {
        return SendMessageA(browser->Toolbar(), TB_ISBUTTONENABLED, 8, 0) != 0;
    }
    // Types the texts (brought back as a draft in a new window when asked), presses "Odeslat"
    // and serves the toolbar until the run is over; what the server got.
    std::vector<Sent> SendText(const std::string& message, const std::string& recipients,
                               bool reopen = false);

    ToolbarDll dll;
    const std::string address = GatewayAddressText();
    std::unique_ptr<BrowserWindow> browser;
    HWND messageEdit = nullptr, recipientEdit = nullptr, counter = nullptr, credit = nullptr;
};

// Whether the window belongs to this process.
bool Ours(HWND window);
// A top-level dialog (#32770) of this process with the caption, shown or hidden.
HWND FindDialog(const char* caption);

// A dialog as the watcher saw it: caption, the texts of its controls joined by '|', and the
// icon of a message box ("information", "exclamation", "question", "error" or "").
struct SeenDialog {
    std::string caption, text, icon;
};

// Whether a dialog showed the icon, the caption when one is given, and each of the texts at the
// start of a control's text.
testing::AssertionResult Shows(const SeenDialog& seen, const std::vector<std::string>& texts,
                               const std::string& icon = "", const std::string& caption = "");

// Answers from a thread of its own the process's dialogs that have a button, and keeps what they
// showed. The answer gets each dialog once and returns the button to press (0: none); by
// default OK.
class DialogWatcher {
public:
    using Answer = std::function<int(HWND dialog, const SeenDialog& seen)>;

    explicit DialogWatcher(Answer answer = {});
    std::vector<SeenDialog> Seen() const;

private:
    void Watch(const std::stop_token& stop);

    Answer answer;
    mutable std::mutex lock;
    std::vector<SeenDialog> seen;
    std::jthread watcher;
};

// Replaces an edit's text as the keyboard does: everything selected, then typed over.
void TypeOver(HWND edit, const std::string& text);

// A dialog run as the toolbar runs it: over an owner window standing in for the browser's, with
// its template from the toolbar DLL, which stays loaded for the whole test program.
class DialogTest : public ToolbarTest {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND owner = nullptr;
};
