#include "dialogs/PasswordDialog.h"
#include "dialogs/SettingsDialog.h"
#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"
#include "menu/MainMenuItems.h"
#include "res/resource.h"
#include "tests/win/TestSupport.h"

#include <atomic>

namespace {

using namespace std::string_literals;

using SettingsTest = DialogTest;

// Without menu.ini the service's own addresses hold, whatever settings.ini says in its place.
TEST_F(SettingsTest, DeploymentKeysAndMenusComeOnlyFromMenuIni) {
    WriteFile(Beside("settings.ini"), "[SETTINGS]\r\nUninstalString=wrong.exe\r\n"
                                      "UninstalStringArgs=/S\r\nUpgrade=http://wrong/\r\n"
                                      "Gateway=wrong:1\r\nPortal=http://wrong/\r\n"
                                      "[TextaroMenu]\r\nCizí=http://jinde.cz/\r\n"
                                      "[MojeTextaro]\r\nAdresář=book\r\n");
    const Settings settings = Stored();
    std::string program = "x", arguments = "y";
    settings.ReadUninstall(program, arguments);
    EXPECT_EQ(
        (std::vector<std::string>{"", "", "", "", "", "gate.textaro.cz", "http://www.textaro.cz/"}),
        (std::vector{program, arguments, settings.ReadUpgrade(), settings.ReadMenuSection(),
                     settings.ReadMyMenuSection(), settings.ReadGateway(), settings.ReadPortal()}));
}

// Long values come whole; Save writes the keys changed since the load in place of the old ones,
// each on its line whatever it holds; a history write replaces its section and a clear empties it,
// the rest of the file kept. A damaged contact count reads as the entries there are.
TEST_F(SettingsTest, WritesReplaceTheirKeysAndSectionsAndKeepTheRest) {
    const std::string email(9000, 'e');
    WriteFile(Beside("settings.ini"), "[SETTINGS]\r\nUserName=jana\r\nAutoRecack=yes\r\n"
                                      "WaitForDelivery=1x\r\nEmail=" +
                                          email +
                                          "\r\n[TextHistory]\r\n7=Ahoj\r\n3=Zítra v 8\r\n"
                                          "[RecipientHistory]\r\n0=602123456;\r\n");
    Settings settings = Stored();
    EXPECT_EQ(std::tuple(email, 0, 1),
              std::tuple(settings.Email, settings.AutoRecack, settings.WaitForDelivery))
        << "numbers read their leading digits";
    settings.Pasword = Md5Hex("heslo");
    settings.Nick = "x\r\n[CONTACTS]";
    settings.AutoRecack = 1;
    settings.Save();
    settings.WriteTextHistory("0=Čau\0"
                              "1=a=b\0"s);
    settings.ClearRecipientHistory();
    EXPECT_EQ("[SETTINGS]\r\nUserName=jana\r\nAutoRecack=1\r\nWaitForDelivery=1x\r\nEmail=" +
                  email + "\r\nNick=x  [CONTACTS]\r\nPasword=" + Md5Hex("heslo") +
                  "\r\n[TextHistory]\r\n0=Čau\r\n1=a=b\r\n[RecipientHistory]\r\n",
              ReadFile(Beside("settings.ini")));
    WriteFile(Beside("settings.ini"), "[CONTACTS]\r\nCount=999999999\r\n0=1,602,,A,B\r\n");
    EXPECT_EQ(1, settings.GetContactCount());
}

// Every case changes the stored nickname, and the box opens ticked exactly when there is one; the
// reply option is saved with it. A tick is checked with the server while the clip plays.
TEST_F(SettingsTest, TheNicknameOptionIsCheckedWithTheServer) {
    HttpPost(address, "/admin/fault?mode=latency&ms=300");
    const struct {
        const char* user; // ota has no nickname
        bool ticked;
        std::string gateway;
        const char* nick;
        const char* box; // caption and icon of the message box that follows OK, if any
        const char* icon;
        const char* message;
        const char* opened; // the portal page then opened
    } cases[] = {
        // Clear: no request, or the stopped gateway would show an error.
        {"jana", false, "127.0.0.1:1", "", "", "", "", ""},
        {"jana", true, address, "Jana", "", "", "", ""},
        {"ota", true, address, "", "Přezdívka na začátku", "exclamation",
         "Pro přezdívku na začátku zprávy musíte mít aktivovánu přezdívku.", "nick"},
        {"jana", true, "127.0.0.1:1", "", "TextaroBar", "error",
         "Chyba při komunikace se serverem:\nNepodařilo se poslat požadavek", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + (c.ticked ? " ticked via " : " clear via ") + c.gateway);
        SignIn(c.user, "heslo", *c.nick ? "" : "Nick=Stará\r\n");
        Settings settings = Stored();
        GatewayClient client(ParseGatewayAddress(c.gateway));
        client.Connect();
        DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption != "Nastavení") {
                return IDOK;
            }
            EXPECT_EQ(!*c.nick, IsDlgButtonChecked(dialog, IDC_SETTINGS_NICK) == BST_CHECKED);
            HWND clip = GetDlgItem(dialog, IDC_SETTINGS_ANIMATION);
            EXPECT_FALSE(IsWindowVisible(clip));
            CheckDlgButton(dialog, IDC_SETTINGS_NICK, c.ticked ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_SETTINGS_REPLY, BST_CHECKED);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            // The caption is matched without a message to the dialog, busy with the request.
            EXPECT_TRUE(c.gateway != address || WaitFor([&] {
                            return FindDialog("Probíhá zjišťování nastavení...") &&
                                   IsWindowVisible(clip);
                        }));
            return 0;
        });
        std::string opened;
        SettingsDialog(
            settings, client, [&](std::string_view action) { opened += action; }, owner)
            .Run();
        const Settings saved = Stored();
        EXPECT_EQ(std::tuple(c.nick, c.opened, 1),
                  std::tuple(saved.Nick, opened, saved.WaitForDelivery));
        ASSERT_EQ(*c.box ? 2u : 1u, user.Seen().size());
        EXPECT_TRUE(Shows(user.Seen().back(), {c.message}, c.icon, *c.box ? c.box : "Nastavení"));
    }
}

// An empty password, one not confirmed, or one with a letter the code page lacks (it would hash
// as "?", like every other such password) is refused with the reason and nothing is saved.
TEST_F(SettingsTest, APasswordNeedsItsConfirmationAndLettersTheCodePageHas) {
    SignIn("jana", "heslo");
    for (const auto& [typed, reason] :
         {std::pair{L"", "Nelze nastavit prázdné heslo."},
          {L"Kv3t!Nas", "Potvrzení hesla není správné."},
          {L"\x3B1\x3B2\x3B3", "Heslo obsahuje znak, který lišta neumí uložit"}}) {
        Settings settings = Stored();
        DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption == "Nastavit heslo") {
                SetWindowTextW(GetDlgItem(dialog, IDC_PASSWORD_NEW), typed);
                return IDOK;
            }
            // Told why, the user gives up; the refusal box closes first.
            PostMessageA(FindDialog("Nastavit heslo"), WM_COMMAND, IDCANCEL, 0);
            return IDOK;
        });
        EXPECT_EQ(IDCANCEL, PasswordDialog(settings, owner).Run());
        ASSERT_EQ(2u, user.Seen().size());
        EXPECT_TRUE(Shows(user.Seen()[1], {reason}, "error", "Chyba"));
        EXPECT_EQ(Md5Hex("heslo"), Stored().Pasword);
    }
}

// "Nastavení" from the toolbar. A password set there is saved at once as its digest alone, and
// stays when the dialog is then cancelled, even as the account refresh, begun for the account as
// it was, ends meanwhile and is dropped, and when another window, open since before, saves its
// "Nastavení": what an OK saves reaches that window's toolbar, down to the account its next send
// goes from.
TEST_F(SettingsTest, TheToolbarFollowsWhatTheUserSaved) {
    SignIn("petr", "tajne");
    HttpPost(address, "/admin/fault?mode=latency&ms=1500");
    Open("", "[SETTINGS]\r\nGateway=" + address + "\r\n");
    BrowserWindow other(dll);
    const HWND receipt = other.Child("Button", 0);
    SetWindowTextA(other.Edit(0), "Ahoj");
    const std::string counted = WindowText(other.Child("Static", 0));
    EXPECT_FALSE(IsWindowEnabled(receipt)) << "no e-mail address yet";

    // First the password, then Storno once the refresh has ended; then the account, and OK.
    std::atomic<bool> refreshShown = true, refreshedElsewhere = false;
    int settingsShown = 0;
    DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
        if (shown.caption == "Nastavení" && ++settingsShown == 1) {
            return IDC_SETTINGS_PASSWORD;
        }
        if (shown.caption == "Nastavení") {
            SetDlgItemTextA(dialog, IDC_SETTINGS_USERNAME, "jana");
            SetDlgItemTextA(dialog, IDC_SETTINGS_EMAIL, "jana@example.cz");
            CheckDlgButton(dialog, IDC_SETTINGS_NICK, BST_CHECKED);
        } else if (shown.caption == "Nastavit heslo") {
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_NEW), "heslo");
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_CONFIRM), "heslo");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            // The other window's refresh ends; this one's, 1.5 s after the start, has come by now.
            refreshedElsewhere =
                WaitFor([&] { return !WindowText(other.Child("Static", 1)).empty(); });
            Sleep(500);
            refreshShown = !WindowText(credit).empty();
            PostMessageA(FindDialog("Nastavení"), WM_COMMAND, IDCANCEL, 0);
            return 0;
        }
        return IDOK; // the account saved, and the send's report
    });
    // What the main menu's "Nastavení" sends the toolbar.
    const auto openSettings = [&](HWND toolbar, size_t seenAfter) {
        PostMessageA(toolbar, WM_COMMAND, MenuCommand::AccountSettings, 0);
        EXPECT_TRUE(
            Serve([&] { return user.Seen().size() == seenAfter && !FindDialog("Nastavení"); }));
    };
    openSettings(browser->Toolbar(), 2);
    EXPECT_TRUE(refreshedElsewhere);
    EXPECT_FALSE(refreshShown) << "the credit of the account as it was";
    EXPECT_EQ("955db0b81ef1989b4a4dfeae8061a9a6", Stored().Pasword) << "the digest of heslo";
    EXPECT_EQ(std::string::npos, ReadFile(Beside("settings.ini")).find("heslo"));

    HttpPost(address, "/admin/fault?mode=off");
    openSettings(other.Toolbar(), 3);
    EXPECT_TRUE(IsWindowEnabled(receipt));
    EXPECT_EQ("Ahoj", WindowText(other.Edit(0)));
    EXPECT_NE(counted, WindowText(other.Child("Static", 0))) << "the nickname is counted now";

    SetWindowTextA(other.Edit(1), "777000111");
    other.Click(8);
    ASSERT_TRUE(Serve([&] { return user.Seen().size() == 4; }, 20000));
    EXPECT_TRUE(Shows(user.Seen()[3], {}, "information"));
    const std::string outbox = HttpGet(address, "/admin/outbox");
    EXPECT_NE(std::string::npos, outbox.find("\"login\":\"jana\",\"msisdn\":\"777000111\""));
}

} // namespace
