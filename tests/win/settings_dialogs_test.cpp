#include "dialogs/PasswordDialog.h"
#include "dialogs/SettingsDialog.h"
#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"
#include "menu/MainMenuItems.h"
#include "res/resource.h"
#include "store/Settings.h"
#include "tests/win/TestSupport.h"
#include "win/Module.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Types into an edit of a dialog as the keyboard does, one character at a time.
void TypeInto(HWND edit, const char* text) {
    for (; *text; ++text) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(*text), 1);
    }
}

// "Nastavení" and "Nastavit heslo" over the toolbar DLL's templates, with settings.ini beside
// the DLL and a gateway client of their own; the user's part is played from the watcher.
class SettingsDialogs : public testing::Test {
protected:
    void SetUp() override {
        Module::SetInstance(dll().Handle());
        path = dll().Path();
        folder = dll().Folder();
        SignIn("jana", "heslo");
        owner = CreateWindowExA(0, "STATIC", "browser", WS_OVERLAPPEDWINDOW, 0, 0, 900, 200,
                                nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        HttpGet(GatewayAddressText(), "/admin/fault?mode=off");
        DestroyWindow(owner);
        DeleteFileA(Stored().settingsPath.c_str());
        DeleteFileA(Stored().menuPath.c_str());
    }

    static const ToolbarDll& dll() {
        static ToolbarDll loaded;
        return loaded;
    }

    void SignIn(const std::string& user, const std::string& password) const {
        WriteFile(folder + "\\settings.ini",
                  "[SETTINGS]\r\nUserName=" + user + "\r\nPasword=" + Md5Hex(password) + "\r\n");
    }

    Settings Stored() const {
        Settings stored(path);
        stored.Load();
        return stored;
    }

    // Runs "Nastavení" to its end, answered by user from the watcher; notes whether the clip
    // played under the caption of a running request.
    INT_PTR RunSettings(const std::string& gateway, const DialogWatcher::Answer& user) {
        Settings settings(path);
        settings.Load();
        GatewayClient client(ParseGatewayAddress(gateway));
        client.Connect();
        std::atomic<bool> ended = false;
        clipWhileAsking = false;
        std::thread spy([&] {
            while (!ended && !clipWhileAsking) {
                HWND asking = FindDialog("Probíhá zjišťování nastavení...");
                clipWhileAsking =
                    asking && IsWindowVisible(GetDlgItem(asking, IDC_SETTINGS_ANIMATION));
                Sleep(10);
            }
        });
        DialogWatcher watcher(user);
        const INT_PTR result =
            SettingsDialog(
                settings, client, [&](std::string_view action) { opened.emplace_back(action); },
                owner)
                .Run();
        ended = true;
        spy.join();
        seen = watcher.Seen();
        return result;
    }

    std::string path;
    std::string folder;
    HWND owner = nullptr;
    std::vector<std::string> opened;
    std::vector<SeenDialog> seen;
    std::atomic<bool> clipWhileAsking = false;
};

TEST_F(SettingsDialogs, TheNicknameOptionIsCheckedWithTheServer) {
    const std::string address = GatewayAddressText();
    HttpGet(address, "/admin/fault?mode=latency&ms=300");
    struct Case {
        const char* user;
        const char* password;
        bool ticked;
        std::string gateway;
        const char* nick;
        const char* box; // caption of the message box that follows OK, if any
    } cases[] = {
        // Clear: no request, or the stopped gateway would show an error.
        {"jana", "heslo", false, "127.0.0.1:1", "", nullptr},
        {"jana", "heslo", true, address, "Jana", nullptr},
        {"petr", "tajne", true, address, "", "Přezdívka na začátku"},
        {"jana", "heslo", true, "127.0.0.1:1", "", "TextaroBar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + (c.ticked ? " ticked via " : " clear via ") + c.gateway);
        opened.clear();
        SignIn(c.user, c.password);
        const INT_PTR result = RunSettings(c.gateway, [&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption == "Nastavení") {
                EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_SETTINGS_ANIMATION)));
                SetDlgItemTextA(dialog, IDC_SETTINGS_EMAIL, "");
                CheckDlgButton(dialog, IDC_SETTINGS_NICK, c.ticked ? BST_CHECKED : BST_UNCHECKED);
                CheckDlgButton(dialog, IDC_SETTINGS_REPLY, BST_CHECKED);
            }
            return IDOK;
        });
        EXPECT_EQ(IDOK, result);
        const Settings stored = Stored();
        EXPECT_EQ(c.user, stored.UserName);
        EXPECT_EQ(c.nick, stored.Nick);
        EXPECT_EQ(1, stored.WaitForDelivery);
        if (c.gateway == address) {
            EXPECT_TRUE(clipWhileAsking);
        }
        ASSERT_EQ(c.box ? 2u : 1u, seen.size());
        if (!c.box) {
            continue;
        }
        EXPECT_EQ(c.box, seen[1].caption);
        if (c.gateway == address) {
            EXPECT_EQ("exclamation", seen[1].icon);
            EXPECT_EQ(std::vector<std::string>{"nick"}, opened) << "the portal's nickname page";
        } else {
            EXPECT_EQ("error", seen[1].icon);
            EXPECT_NE(std::string::npos,
                      seen[1].text.find(
                          "Chyba při komunikace se serverem:\nNepodařilo se poslat požadavek"));
            EXPECT_TRUE(opened.empty());
        }
    }
}

// A password is kept as its digest only, saved as the password dialog ends.
TEST_F(SettingsDialogs, APasswordIsKeptOnlyAsItsDigest) {
    static const char password[] = "Kv3t!Nas";
    const struct {
        const char* typed;
        const char* reason;
    } refusals[] = {{"", "Nelze nastavit prázdné heslo."},
                    {password, "Potvrzení hesla není správné."}};
    for (const auto& refusal : refusals) {
        Settings settings(path);
        settings.Load();
        DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption == "Nastavit heslo") {
                TypeInto(GetDlgItem(dialog, IDC_PASSWORD_NEW), refusal.typed);
                return IDOK;
            }
            // Told why, the user gives up; the refusal box closes first.
            PostMessageA(FindDialog("Nastavit heslo"), WM_COMMAND, IDCANCEL, 0);
            return IDOK;
        });
        EXPECT_EQ(IDCANCEL, PasswordDialog(settings, owner).Run());
        const std::vector<SeenDialog> shown = user.Seen();
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ("Chyba", shown[1].caption);
        EXPECT_EQ("error", shown[1].icon);
        EXPECT_NE(std::string::npos, shown[1].text.find(refusal.reason));
        EXPECT_EQ(Md5Hex("heslo"), Stored().Pasword);
    }

    // Set from "Nastavení", which is then cancelled: the new digest was saved already.
    std::thread cancel;
    const INT_PTR result =
        RunSettings(GatewayAddressText(), [&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption == "Nastavení") {
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SETTINGS_PASSWORD, BN_CLICKED), 0);
                cancel = std::thread([dialog] {
                    WaitFor([] { return FindDialog("Nastavit heslo") != nullptr; });
                    WaitFor([] { return FindDialog("Nastavit heslo") == nullptr; });
                    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                });
                return 0;
            }
            TypeInto(GetDlgItem(dialog, IDC_PASSWORD_NEW), password);
            TypeInto(GetDlgItem(dialog, IDC_PASSWORD_CONFIRM), password);
            return IDOK;
        });
    cancel.join();
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(Md5Hex(password), Stored().Pasword);
    EXPECT_EQ(std::string::npos, ReadFile(Stored().settingsPath).find(password));
}

// "Nastavení" from the toolbar: what it saves reaches the toolbar, and an account refresh
// ending while the dialog is open saves nothing older than what the user set meanwhile.
TEST_F(SettingsDialogs, TheToolbarFollowsWhatTheUserSaved) {
    const std::string address = GatewayAddressText();
    SignIn("petr", "tajne");
    WriteFile(folder + "\\menu.ini", "[SETTINGS]\r\nGateway=" + address + "\r\n");
    HttpGet(address, "/admin/fault?mode=latency&ms=1500");
    BrowserWindow browser(dll());
    const HWND edit = BrowserWindow::EditOf(browser.Child(WC_COMBOBOXEXA, 0));
    const HWND counter = browser.Child("Static", 0), credit = browser.Child("Static", 1);
    const HWND receipt = browser.Child("Button", 0);
    SetWindowTextA(edit, "Ahoj");
    const std::string counted = WindowText(counter);
    EXPECT_FALSE(IsWindowEnabled(receipt)) << "no e-mail address yet";

    // First the password, then Storno once the refresh has ended; then the account, and OK.
    std::atomic<bool> refreshedWhileOpen = false;
    int settingsShown = 0;
    DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
        if (shown.caption == "Nastavit heslo") {
            TypeInto(GetDlgItem(dialog, IDC_PASSWORD_NEW), "heslo");
            TypeInto(GetDlgItem(dialog, IDC_PASSWORD_CONFIRM), "heslo");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            refreshedWhileOpen = WaitFor([&] { return !WindowText(credit).empty(); });
            PostMessageA(FindDialog("Nastavení"), WM_COMMAND, IDCANCEL, 0);
        } else if (++settingsShown == 1) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SETTINGS_PASSWORD, BN_CLICKED), 0);
        } else {
            SetDlgItemTextA(dialog, IDC_SETTINGS_USERNAME, "jana");
            SetDlgItemTextA(dialog, IDC_SETTINGS_EMAIL, "jana@example.cz");
            CheckDlgButton(dialog, IDC_SETTINGS_NICK, BST_CHECKED);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        return 0;
    });
    // What the main menu's "Nastavení" sends the toolbar.
    const auto openSettings = [&](size_t seenAfter) {
        PostMessageA(browser.Toolbar(), WM_COMMAND, MenuCommand::AccountSettings, 0);
        EXPECT_TRUE(WaitFor([&] {
            PumpMessages(20);
            return user.Seen().size() == seenAfter && !FindDialog("Nastavení");
        }));
    };
    openSettings(2);
    EXPECT_TRUE(refreshedWhileOpen);
    EXPECT_EQ(Md5Hex("heslo"), Stored().Pasword) << "the refresh saved what is current";
    EXPECT_FALSE(IsWindowEnabled(receipt)) << "Storno changes nothing on the toolbar";
    EXPECT_EQ(counted, WindowText(counter));

    HttpGet(address, "/admin/fault?mode=off");
    openSettings(3);
    EXPECT_EQ("jana", Stored().UserName);
    EXPECT_TRUE(IsWindowEnabled(receipt));
    EXPECT_EQ("Ahoj", WindowText(edit));
    EXPECT_NE(counted, WindowText(counter)) << "the nickname is counted now";
}

} // namespace
