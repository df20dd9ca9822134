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

namespace {

// "Nastavení" and "Nastavit heslo" over the toolbar DLL's templates, with settings.ini beside
// the DLL; the user's part is played from the watcher.
class SettingsDialogs : public testing::Test {
protected:
    void SetUp() override {
        Module::SetInstance(dll().Handle());
        path = dll().Path();
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

    void SignIn(const std::string& user, const std::string& password,
                const std::string& nick = "") const {
        WriteFile(dll().Folder() + "\\settings.ini", "[SETTINGS]\r\nUserName=" + user +
                                                         "\r\nPasword=" + Md5Hex(password) +
                                                         "\r\nNick=" + nick + "\r\n");
    }

    Settings Stored() const {
        Settings stored(path);
        stored.Load();
        return stored;
    }

    std::string path;
    HWND owner = nullptr;
};

// Every case changes the stored nickname, and the box opens ticked exactly when there is one.
TEST_F(SettingsDialogs, TheNicknameOptionIsCheckedWithTheServer) {
    const std::string address = GatewayAddressText();
    HttpGet(address, "/admin/fault?mode=latency&ms=300");
    const struct {
        const char* user; // all with the password "heslo"; ota has no nickname
        bool ticked;
        std::string gateway;
        const char* nick;
        const char* box; // caption of the message box that follows OK, if any
    } cases[] = {
        // Clear: no request, or the stopped gateway would show an error.
        {"jana", false, "127.0.0.1:1", "", nullptr},
        {"jana", true, address, "Jana", nullptr},
        {"ota", true, address, "", "Přezdívka na začátku"},
        {"jana", true, "127.0.0.1:1", "", "TextaroBar"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + (c.ticked ? " ticked via " : " clear via ") + c.gateway);
        SignIn(c.user, "heslo", *c.nick ? "" : "Stará");
        Settings settings(path);
        settings.Load();
        GatewayClient client(ParseGatewayAddress(c.gateway));
        client.Connect();
        DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption != "Nastavení") {
                return IDOK;
            }
            EXPECT_EQ(*c.nick ? BST_UNCHECKED : BST_CHECKED,
                      IsDlgButtonChecked(dialog, IDC_SETTINGS_NICK));
            HWND clip = GetDlgItem(dialog, IDC_SETTINGS_ANIMATION);
            EXPECT_FALSE(IsWindowVisible(clip));
            CheckDlgButton(dialog, IDC_SETTINGS_NICK, c.ticked ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_SETTINGS_REPLY, BST_CHECKED);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            if (c.gateway == address) {
                // The caption is matched without a message to the dialog, busy with the request.
                EXPECT_TRUE(WaitFor([&] {
                    return FindDialog("Probíhá zjišťování nastavení...") && IsWindowVisible(clip);
                }));
            }
            return 0;
        });
        std::vector<std::string> opened;
        SettingsDialog(
            settings, client, [&](std::string_view action) { opened.emplace_back(action); }, owner)
            .Run();
        // Saved in every case, the reply option with the nickname.
        EXPECT_EQ(c.nick, Stored().Nick);
        EXPECT_EQ(1, Stored().WaitForDelivery);
        const std::vector<SeenDialog> seen = user.Seen();
        ASSERT_EQ(c.box ? 2u : 1u, seen.size());
        if (!c.box) {
            continue;
        }
        EXPECT_EQ(c.box, seen[1].caption);
        if (c.gateway == address) {
            EXPECT_EQ("exclamation", seen[1].icon);
            EXPECT_EQ(std::vector<std::string>{"nick"}, opened);
        } else {
            EXPECT_EQ("error", seen[1].icon);
            EXPECT_NE(std::string::npos,
                      seen[1].text.find(
                          "Chyba při komunikace se serverem:\nNepodařilo se poslat požadavek"));
            EXPECT_TRUE(opened.empty());
        }
    }
}

// An empty password, or one not confirmed, is refused and nothing is saved.
TEST_F(SettingsDialogs, APasswordNeedsItsConfirmation) {
    const struct {
        const char* typed;
        const char* reason;
    } refusals[] = {{"", "Nelze nastavit prázdné heslo."},
                    {"Kv3t!Nas", "Potvrzení hesla není správné."}};
    for (const auto& refusal : refusals) {
        Settings settings(path);
        settings.Load();
        DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption == "Nastavit heslo") {
                TypeOver(GetDlgItem(dialog, IDC_PASSWORD_NEW), refusal.typed);
                return IDOK;
            }
            // Told why, the user gives up; the refusal box closes first.
            PostMessageA(FindDialog("Nastavit heslo"), WM_COMMAND, IDCANCEL, 0);
            return IDOK;
        });
        EXPECT_EQ(IDCANCEL, PasswordDialog(settings, owner).Run());
        const std::vector<SeenDialog> shown = user.Seen();
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ(std::tie("Chyba", "error"), std::tie(shown[1].caption, shown[1].icon));
        EXPECT_NE(std::string::npos, shown[1].text.find(refusal.reason));
        EXPECT_EQ(Md5Hex("heslo"), Stored().Pasword);
    }
}

// "Nastavení" from the toolbar. A password set there is saved at once as its digest alone, and
// stays when the dialog is then cancelled, even as an account refresh ends meanwhile; what an OK
// saves reaches the toolbar.
TEST_F(SettingsDialogs, TheToolbarFollowsWhatTheUserSaved) {
    const std::string address = GatewayAddressText();
    SignIn("petr", "tajne");
    WriteFile(dll().Folder() + "\\menu.ini", "[SETTINGS]\r\nGateway=" + address + "\r\n");
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
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_NEW), "heslo");
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_CONFIRM), "heslo");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            refreshedWhileOpen = WaitFor([&] { return !WindowText(credit).empty(); });
            PostMessageA(FindDialog("Nastavení"), WM_COMMAND, IDCANCEL, 0);
        } else if (++settingsShown == 1) {
            PostMessageA(dialog, WM_COMMAND, IDC_SETTINGS_PASSWORD, 0);
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
    EXPECT_EQ(Md5Hex("heslo"), Stored().Pasword);
    EXPECT_EQ(std::string::npos, ReadFile(Stored().settingsPath).find("heslo"));

    HttpGet(address, "/admin/fault?mode=off");
    openSettings(3);
    EXPECT_TRUE(IsWindowEnabled(receipt));
    EXPECT_EQ("Ahoj", WindowText(edit));
    EXPECT_NE(counted, WindowText(counter)) << "the nickname is counted now";
}

// A new user: no settings.ini, no credit; "Nastavení" and "Nastavit heslo" filled through their
// windows, and the first send is signed so that the gateway takes it.
TEST_F(SettingsDialogs, ANewUserSetsUpTheAccountAndSends) {
    const std::string address = GatewayAddressText();
    DeleteFileA(Stored().settingsPath.c_str());
    WriteFile(dll().Folder() + "\\menu.ini", "[SETTINGS]\r\nGateway=" + address + "\r\n");
    BrowserWindow browser(dll());
    const HWND credit = browser.Child("Static", 1);
    Serve([] { return false; }, 500);
    EXPECT_EQ("", WindowText(credit));
    DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
        if (shown.caption == "Nastavení") {
            SetDlgItemTextA(dialog, IDC_SETTINGS_USERNAME, "jana");
            PostMessageA(dialog, WM_COMMAND, IDC_SETTINGS_PASSWORD, 0);
        } else if (shown.caption == "Nastavit heslo") {
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_NEW), "heslo");
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_CONFIRM), "heslo");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            WaitFor([] { return !FindDialog("Nastavit heslo"); });
            PostMessageA(FindDialog("Nastavení"), WM_COMMAND, IDOK, 0);
        } else {
            return IDOK; // the report
        }
        return 0;
    });
    PostMessageA(browser.Toolbar(), WM_COMMAND, MenuCommand::AccountSettings, 0);
    EXPECT_TRUE(Serve([&] { return user.Seen().size() == 2 && !FindDialog("Nastavení"); }));

    SetWindowTextA(BrowserWindow::EditOf(browser.Child(WC_COMBOBOXEXA, 0)), "Vítej");
    SetWindowTextA(BrowserWindow::EditOf(browser.Child(WC_COMBOBOXEXA, 1)), "777000111");
    browser.Click(8);
    ASSERT_TRUE(Serve([&] { return user.Seen().size() == 3; }, 20000));
    EXPECT_EQ("information", user.Seen()[2].icon) << user.Seen()[2].text;
    EXPECT_NE(std::string::npos, HttpGet(address, "/admin/outbox").find("\"777000111\""));
}

} // namespace
