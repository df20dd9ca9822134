#include "menu/MainMenuItems.h"
#include "res/resource.h"
#include "tests/win/TestSupport.h"

#include <atomic>
#include <regex>

// The toolbar signed in on the test gateway server, used through its menus with real clicks.
class Menus : public ToolbarTest {
protected:
    // Presses the button and picks the command's item with the arrow keys and Enter (Escape for
    // none); the menu as shown: "id label" per item, "*" for the default, "-" for a separator.
    std::string Pick(int button, int command) {
        // A box the previous command showed takes the clicks until it is answered.
        Serve([] { return FindDialog(nullptr) == nullptr; });
        std::string shown;
        std::atomic<bool> done{false};
        std::thread picker([&] {
            HWND popup = nullptr;
            WaitFor([&] {
                while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) &&
                       !(Ours(popup) && IsWindowVisible(popup))) {
                }
                return popup != nullptr;
            });
            auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
            int items = 0, at = 0; // the command's place among the items, 0 for none
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
                const int id = static_cast<int>(GetMenuItemID(menu, i));
                char label[256] = {};
                GetMenuStringA(menu, static_cast<UINT>(i), label, sizeof label, MF_BYPOSITION);
                const bool separator = state & MF_SEPARATOR;
                shown += std::string(shown.empty() ? "" : "|") + (state & MF_DEFAULT ? "*" : "") +
                         (separator ? "-" : std::to_string(id) + " " + label);
                items += !separator;
                at = !separator && id == command ? items : at;
            }
            GetWindowRect(popup, &shownAt);
            for (int i = 0; i < at; ++i) {
                PressKey(VK_DOWN);
            }
            PressKey(at ? VK_RETURN : VK_ESCAPE);
            done = true;
        });
        browser->Press(button);
        Serve([&] { return done.load(); }, 30000);
        picker.join();
        PumpMessages(300);
        return shown;
    }

    std::string LastNavigation() const {
        return browser->Navigations().empty() ? "" : browser->Navigations().back();
    }

    RECT shownAt{}; // where the last menu showed
};

// The main menu opens below its button and clears a history only after a Yes; the first item of
// the contacts' menu opens the picker.
TEST_F(Menus, MenusShowTheirItemsBelowTheButtonsAndClearingAHistoryAsksFirst) {
    OpenSignedIn("[MojeTextaro]\r\n[TextaroMenu]\r\n", "jana",
                 "[TextHistory]\r\n0=Ahoj\r\n[RecipientHistory]\r\n0=777111222\r\n");
    EXPECT_EQ("", WindowText(messageEdit) + WindowText(recipientEdit)) << "the boxes start empty";
    std::atomic<int> answer;
    DialogWatcher watcher([&](HWND, const SeenDialog&) { return answer.load(); });
    // The command, the answer, the box and what stays in settings.ini.
    const std::tuple<int, int, int, const char*> steps[] = {
        {20, IDNO, 0, "0=Ahoj"},
        {21, IDNO, 1, "0=777111222"},
        {20, IDYES, 0, "[TextHistory]\r\n["},
        {21, IDYES, 1, "[RecipientHistory]\r\n"},
    };
    for (const auto& [command, button, box, kept] : steps) {
        answer = button;
        EXPECT_EQ("1 Textaro.cz|-|-|20 Vymazat historii textů|21 Vymazat historii příjemců|-|-|"
                  "50 Nastavení|51 Upgrade|-|52 Odinstalovat",
                  Pick(0, command));
        EXPECT_EQ(button == IDNO ? 1 : 0,
                  SendMessageA(browser->Child(WC_COMBOBOXEXA, box), CB_GETCOUNT, 0, 0));
        const std::string settings = ReadFile(Beside("settings.ini"));
        EXPECT_NE(std::string::npos, settings.find(kept)) << kept << " in " << settings;
    }
    RECT button{};
    SendMessageA(browser->Toolbar(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(browser->Toolbar(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(std::pair(button.left, button.bottom), std::pair(shownAt.left, shownAt.top))
        << "the menu opens at the button's bottom-left";
    answer = IDOK;
    EXPECT_EQ("*32799 Vybrat příjemce...|32800 Upravit moje kontakty...",
              Pick(5, IDM_PICKRECIPIENTS));
    ASSERT_EQ(5u, watcher.Seen().size()) << "a question a history, then the picker";
    EXPECT_TRUE(Shows(watcher.Seen()[1], {"Opravdu chcete vymazat historii příjemců?"}, "question",
                      "Vymazat historii příjemců"));
    EXPECT_EQ("Vybrat adresáta", watcher.Seen()[4].caption) << "the first item opens the picker";
}

TEST_F(Menus, PortalPagesSignInOnceAndAgainWhenTheVisitIsRefusedOrTheAccountChanged) {
    OpenSignedIn("[MojeTextaro]\r\nOdeslané zprávy=history\r\nA=history&page=2\r\n");
    const std::regex page("http://" + address + R"(/index\.xp\?sid=([0-9a-f]+)&action=)" +
                          R"((.+)&IETOOLBARVAR=1\.0\.76)");
    const struct {
        int command;
        const char* before; // on the portal (log out) or in "Nastavení" (the user name)
        int logins, checks; // the sign-ins and checks of the visit the command takes
        bool sameVisit;     // the visit of the step before
        const char* action;
        const char* user = "jana";
    } steps[] = {
        {3, "", 1, 0, false, "history"},
        {4, "", 0, 1, true, "history&page=2"},
        {3, "logout", 1, 1, false, "history"},
        {3, "eva", 1, 0, false, "history", "eva"},
    };
    std::string visit;
    for (const auto& [command, before, logins, checks, sameVisit, action, user] : steps) {
        SCOPED_TRACE(std::to_string(command) + " after \"" + before + "\"");
        if (std::string(before) == "logout") {
            HttpGet(address, "/index.xp?sid=" + visit + "&action=logout");
        } else if (*before) {
            DialogWatcher settings([&](HWND dialog, const SeenDialog&) {
                SetDlgItemTextA(dialog, IDC_SETTINGS_USERNAME, before);
                return IDOK;
            });
            PostMessageA(browser->Toolbar(), WM_COMMAND, MenuCommand::AccountSettings, 0);
            Serve([&] { return !settings.Seen().empty() && !FindDialog("Nastavení"); });
        }
        const int loginsBefore = Requests("rapi.info_login"), checksBefore = Requests("rapi.info");
        Pick(0, command);
        EXPECT_EQ(std::tuple(logins, checks), std::tuple(Requests("rapi.info_login") - loginsBefore,
                                                         Requests("rapi.info") - checksBefore));
        std::smatch link;
        const std::string opened = LastNavigation();
        ASSERT_TRUE(std::regex_match(opened, link, page)) << opened;
        EXPECT_EQ(sameVisit, link[1] == visit) << opened;
        EXPECT_EQ(action, link[2].str()) << opened;
        visit = link[1];
        const std::string served = HttpGet(address, opened.substr(opened.find("/index.xp")));
        EXPECT_NE(std::string::npos, served.find("<b>" + std::string(user) + "</b>")) << served;
    }

    OpenSignedIn("[MojeTextaro]\r\nÚčet=account\r\n", "nikdo");
    Pick(0, 3);
    EXPECT_NE(std::string::npos, LastNavigation().find("/index.xp?sid=&action=account&"))
        << "a refused sign-in leaves no visit to pass on";
    EXPECT_EQ("", WindowText(credit));
}

TEST_F(Menus, LinksAndTheUninstallerComeFromMenuIni) {
    const std::string self = _pgmptr;
    const std::string recorder = self.substr(0, self.find_last_of('\\')) + "\\record_args.exe";
    OpenSignedIn("Upgrade=http://example.cz/upgrade?v=2\r\nUninstalString=" + recorder +
                 "\r\nUninstalStringArgs=/S --keep \"a b\"\r\n[TextaroMenu]\r\nOdkaz=a?b=c\r\n");
    const std::pair<int, std::string> links[] = {
        {31, "a?b=c&IETOOLBARVAR=1.0.76"},
        {1, "http://" + address + "?index.xp&IETOOLBARVAR=1.0.76"},
        {51, "http://example.cz/upgrade?v=2&IETOOLBARVAR=1.0.76"},
    };
    for (const auto& [command, link] : links) {
        Pick(0, command);
        EXPECT_EQ(link, LastNavigation()) << command;
    }
    Pick(0, 52);
    ASSERT_TRUE(WaitFor([&] { return !ReadFile(Beside("uninstall.txt")).empty(); }));
    EXPECT_EQ("/S --keep \"a b\"\n" + dll.Folder(), ReadFile(Beside("uninstall.txt")));

    OpenSignedIn();
    DialogWatcher watcher;
    Pick(0, 52);
    Pick(0, 51);
    ASSERT_EQ(2u, watcher.Seen().size()) << "an empty UninstalString or Upgrade is told";
    EXPECT_EQ("TextaroBar exclamation", watcher.Seen()[0].caption + " " + watcher.Seen()[1].icon);
    EXPECT_TRUE(browser->Navigations().empty());
}

TEST_F(Menus, RefreshShowsTheCreditAndBringsTheNicknameInLine) {
    const struct {
        const char* login;
        std::string gateway;
        const char* creditPattern;
        const char* nick;            // what the next send signs with; null: no send
        bool settingsWritten;        // an empty Nick is saved
        const char* reply = nullptr; // the server's reply instead of its own, escaped for a query
    } cases[] = {
        {"eva", "", "12\\.50 Kč", "Evička", false},
        {"ota", "", "20\\.00 Kč", "", true},
        {"jana", "127.0.0.1:1", "", nullptr, false},
        // A nickname with a line break in it would have written sections of its own.
        {"jana", "", "10\\.00 Kč", "", false,
         "status%3D1%0Acredit%3D10.00%0Anick%3Dx%250D%250A%255BCONTACTS%255D%0Anick_active%3Dyes%"
         "0A"},
    };
    for (const auto& [login, gateway, creditPattern, nick, settingsWritten, reply] : cases) {
        if (reply) {
            HttpPost(address, "/admin/fault?mode=reply&body=" + std::string(reply));
        }
        OpenSignedIn("", login, "Nick=Stará\r\n", gateway);
        const std::string before = ReadFile(Beside("settings.ini"));
        Serve([&] { return !WindowText(credit).empty(); }, 3000);
        EXPECT_TRUE(std::regex_match(WindowText(credit), std::regex(creditPattern))) << login;
        EXPECT_EQ("0 zn.\n0 sms", WindowText(counter)) << "an empty box keeps its first words";
        const std::string after = ReadFile(Beside("settings.ini"));
        EXPECT_EQ(settingsWritten, before != after) << login;
        EXPECT_EQ(settingsWritten, after.find("Nick=\r\n") != std::string::npos) << after;
        EXPECT_EQ(std::string::npos, after.find("CONTACTS")) << after;
        if (nick) { // the next send signs with the nickname as the refresh left it
            DialogWatcher report;
            const std::vector<Sent> sent = SendText(login, "777000999");
            ASSERT_EQ(1u, sent.size()) << login;
            EXPECT_EQ(*nick ? "\"Evi" : "null", sent[0].nick.substr(0, 4)) << login;
        }
    }
}

TEST_F(Menus, StalledGatewayHoldsNeitherClosingNorAPortalCommandForLong) {
    HttpPost(address, "/admin/fault?mode=delay&ms=3000");
    OpenSignedIn();
    DWORD start = GetTickCount();
    browser.reset();
    EXPECT_LT(GetTickCount() - start, 500u) << "closing does not wait for the refresh";
    EXPECT_EQ(S_FALSE, dll.Call("DllCanUnloadNow")) << "the refresh keeps the DLL loaded";
    EXPECT_TRUE(WaitFor([&] { return dll.Call("DllCanUnloadNow") == S_OK; }));

    OpenSignedIn("[MojeTextaro]\r\nÚčet=account\r\n");
    Pick(0, 3);
    HttpPost(address, "/admin/fault?mode=delay&ms=60000&count=3");
    DialogWatcher watcher;
    start = GetTickCount();
    Pick(0, 3);
    const DWORD waited = GetTickCount() - start;
    EXPECT_TRUE(waited > 10000 && waited < 25000) << waited << " ms: it gives up after about 15 s";
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_TRUE(Shows(watcher.Seen()[0], {"Chyba při komunikace se serverem:\n"}, "error"));
    EXPECT_EQ(2u, browser->Navigations().size()) << "the page opens all the same";
    EXPECT_EQ("", WindowText(credit));
}
