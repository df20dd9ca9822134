#include "dialogs/PasswordDialog.h"
#include "dialogs/SettingsDialog.h"
#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"
#include "menu/MainMenuItems.h"
#include "res/resource.h"
#include "tests/win/TestSupport.h"

#include <atomic>

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
    WriteFile(
        Beside("settings.ini"),
        "[SETTINGS]\r\nUserName=jana\r\nAutoRecack=yes\r\nWaitForDelivery=1x\r\nEmail=" + email +
            "\r\n[TextHistory]\r\n7=Ahoj\r\n3=Zítra v 8\r\n[RecipientHistory]\r\n0=602123456;\r\n");
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
    // The login (ota has no nickname), the tick, the gateway, the nickname then stored, the
    // caption, icon and text of the message box that follows OK if any, and the portal page then
    // opened. Clear: no request, or the stopped gateway would show an error.
    for (const auto& [login, ticked, gateway, nick, box, icon, message, page] :
         {std::tuple{"jana", false, "127.0.0.1:1"s, "", "", "", "", ""},
          {"jana", true, address, "Jana", "", "", "", ""},
          {"ota", true, address, "", "Přezdívka na začátku", "exclamation",
           "Pro přezdívku na začátku zprávy musíte mít aktivovánu přezdívku.", "nick"},
          {"jana", true, "127.0.0.1:1", "", "TextaroBar", "error",
           "Chyba při komunikace se serverem:\nNepodařilo se poslat požadavek", ""}}) {
        SCOPED_TRACE(std::string(login) + (ticked ? " ticked via " : " clear via ") + gateway);
        SignIn(login, "heslo", *nick ? "" : "Nick=Stará\r\n");
        Settings settings = Stored();
        GatewayClient client(ParseGatewayAddress(gateway));
        client.Connect();
        DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
            if (shown.caption != "Nastavení") {
                return IDOK;
            }
            EXPECT_EQ(!*nick, IsDlgButtonChecked(dialog, IDC_SETTINGS_NICK) == BST_CHECKED);
            HWND clip = GetDlgItem(dialog, IDC_SETTINGS_ANIMATION);
            EXPECT_FALSE(IsWindowVisible(clip));
            CheckDlgButton(dialog, IDC_SETTINGS_NICK, ticked ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_SETTINGS_REPLY, BST_CHECKED);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            // The caption is matched without a message to the dialog, busy with the request.
            EXPECT_TRUE(gateway != address || WaitFor([&] {
                            return FindDialog("Probíhá zjišťování nastavení...") &&
                                   IsWindowVisible(clip);
                        }));
            return 0;
        });
        std::string opened;
        SettingsDialog(
            settings, client, [&](std::string_view action) { opened += action; }, owner)
            .Run();
        EXPECT_EQ(std::tuple(nick, page, 1),
                  std::tuple(Stored().Nick, opened, Stored().WaitForDelivery));
        ASSERT_EQ(*box ? 2u : 1u, user.Seen().size());
        EXPECT_TRUE(Shows(user.Seen().back(), {message}, icon, *box ? box : "Nastavení"));
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
            } else { // told why, the user gives up; the refusal box closes first
                PostMessageA(FindDialog("Nastavit heslo"), WM_COMMAND, IDCANCEL, 0);
            }
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
// it was, ends meanwhile and is dropped, and when the first window, open since before, saves its
// "Nastavení": what an OK saves reaches that window's toolbar, down to the account its next send
// goes from; and the other window's "Nastavení" then shows it.
TEST_F(SettingsTest, TheToolbarFollowsWhatTheUserSaved) {
    SignIn("petr", "tajne");
    HttpPost(address, "/admin/fault?mode=latency&ms=1500");
    Open("", "[SETTINGS]\r\nGateway=" + address + "\r\n");
    BrowserWindow other(dll);
    const HWND receipt = browser->Child("Button", 0);
    SetWindowTextA(messageEdit, "Ahoj");
    const std::string counted = WindowText(counter);
    EXPECT_FALSE(IsWindowEnabled(receipt)) << "no e-mail address yet";

    // First the password, then Storno once the refresh has ended; then the account, and OK.
    std::atomic<bool> refreshShown = true, refreshedElsewhere = false;
    int settingsShown = 0;
    std::string userShown; // by the last "Nastavení" as it opened
    DialogWatcher user([&](HWND dialog, const SeenDialog& shown) {
        if (shown.caption == "Nastavení" && ++settingsShown == 1) {
            return IDC_SETTINGS_PASSWORD;
        }
        if (shown.caption == "Nastavení") {
            userShown = WindowText(GetDlgItem(dialog, IDC_SETTINGS_USERNAME));
            SetDlgItemTextA(dialog, IDC_SETTINGS_USERNAME, "jana");
            SetDlgItemTextA(dialog, IDC_SETTINGS_EMAIL, "jana@example.cz");
            CheckDlgButton(dialog, IDC_SETTINGS_NICK, BST_CHECKED);
        } else if (shown.caption == "Nastavit heslo") {
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_NEW), "heslo");
            TypeOver(GetDlgItem(dialog, IDC_PASSWORD_CONFIRM), "heslo");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            // The first window's refresh ends; this one's, 1.5 s after the start, has come by now.
            refreshedElsewhere = WaitFor([&] { return !WindowText(credit).empty(); });
            Sleep(500);
            refreshShown = !WindowText(other.Child("Static", 1)).empty();
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
    openSettings(other.Toolbar(), 2);
    EXPECT_TRUE(refreshedElsewhere);
    EXPECT_FALSE(refreshShown) << "the credit of the account as it was";
    EXPECT_EQ("955db0b81ef1989b4a4dfeae8061a9a6", Stored().Pasword) << "the digest of heslo";
    EXPECT_EQ(std::string::npos, ReadFile(Beside("settings.ini")).find("heslo"));

    HttpPost(address, "/admin/fault?mode=off");
    openSettings(browser->Toolbar(), 3);
    EXPECT_TRUE(IsWindowEnabled(receipt));
    EXPECT_EQ("Ahoj", WindowText(messageEdit));
    EXPECT_NE(counted, WindowText(counter)) << "the nickname is counted now";

    const std::vector<Sent> sent = SendText("Ahoj", "777000111");
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ("jana", sent[0].login);
    openSettings(other.Toolbar(), 5);
    EXPECT_EQ("jana", userShown) << "the other window's dialog starts from the file";
}
