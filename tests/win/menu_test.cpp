#include "res/resource.h"
#include "tests/win/Flow.h"

#include <gtest/gtest.h>

namespace {

using Menus = FlowTest;

TEST_F(Menus, MenusShowTheirItemsBelowTheButtons) {
    OpenSignedIn("[MojeTextaro]\r\n[TextaroMenu]\r\n");
    EXPECT_EQ("1 Textaro.cz|-|-|20 Vymazat historii textů|21 Vymazat historii příjemců|-|-|"
              "50 Nastavení|51 Upgrade|-|52 Odinstalovat",
              PickNow(0, 0));
    EXPECT_EQ(buttonCorner.x, menuCorner.x) << "the menu opens at the button's bottom-left";
    EXPECT_EQ(buttonCorner.y, menuCorner.y);
    DialogWatcher watcher;
    EXPECT_EQ("*32799 Vybrat příjemce...|32800 Upravit moje kontakty...",
              PickNow(5, IDM_PICKRECIPIENTS));
    ASSERT_EQ(1u, watcher.Seen().size());
    EXPECT_EQ("Vybrat adresáta", watcher.Seen()[0].caption) << "the first item opens the picker";
}

// A page signs in once for its visit, and again when the visit is refused or the account
// changed; a page served for the link shows its user.
TEST_F(Menus, PortalPagesSignInOnceAndAgainWhenTheVisitIsRefusedOrTheAccountChanged) {
    const std::string page = "^http://" + address + "/index\\.xp\\?sid=[0-9a-f]+&action=history";
    const std::string tag = "&IETOOLBARVAR=1\\.0\\.76\n", login = "rapi.info_login=1 rapi.info=0";
    const Action logOut{"log out", [this] {
                            const std::string opened = LastNavigation();
                            const std::size_t sid = opened.find("sid=") + 4;
                            HttpGet(address,
                                    "/index.xp?sid=" + opened.substr(sid, 32) + "&action=logout");
                        }};
    Run("portal",
        {
            {SignIn("jana", "", "",
                    "[MojeTextaro]\r\nOdeslané zprávy=history\r\nA=history&page=2\r\n")},
            {.act = Pick(3), .requests = login, .page = page + tag + "jana$"},
            {.act = Pick(4),
             .requests = "rapi.info_login=0 rapi.info=1",
             .page = page + "&page=2" + tag},
            {logOut},
            {.act = Pick(3),
             .requests = "rapi.info_login=1 rapi.info=1",
             .page = page + tag + "jana$"},
            {Rename("eva")},
            {.act = Pick(3), .requests = login, .page = page + tag + "eva$"},
            {SignIn("nikdo", "", "", "[MojeTextaro]\r\nÚčet=account\r\n")},
            // A refused sign-in leaves no visit to pass on.
            {.act = Pick(3), .page = "/index\\.xp\\?sid=&action=account&", .toolbar = " / $"},
        });
}

TEST_F(Menus, ClearingAHistoryAsksFirst) {
    const std::string question = ", question: .*Opravdu chcete vymazat historii ";
    Run("clearing",
        {
            {.act = SignIn("jana", "",
                           "[TextHistory]\r\n0=Ahoj\r\n[RecipientHistory]\r\n0=777111222\r\n"),
             .toolbar = "^ /  / "},
            {.act = Pick(20),
             .answer = IDNO,
             .boxes = "^Vymazat historii textů" + question + "textů\\?[^\n]*$",
             .settings = "0=Ahoj\n",
             .lists = "1 1"},
            {.act = Pick(21),
             .answer = IDNO,
             .boxes = "^Vymazat historii příjemců" + question + "příjemců\\?[^\n]*$",
             .settings = "0=777111222\n",
             .lists = "1 1"},
            {.act = Pick(20),
             .answer = IDYES,
             .settings = "\\[TextHistory\\]\n\\[",
             .lists = "0 1"},
            {.act = Pick(21),
             .answer = IDYES,
             .settings = "\\[RecipientHistory\\]\n$",
             .lists = "0 0"},
        });
}

TEST_F(Menus, LinksAndTheUninstallerComeFromMenuIni) {
    std::string self(MAX_PATH, '\0');
    GetModuleFileNameA(nullptr, self.data(), MAX_PATH);
    const std::string recorder = self.substr(0, self.find_last_of('\\')) + "\\record_args.exe";
    const std::string tag = "&IETOOLBARVAR=1\\.0\\.76$";
    Run("links", {
                     {SignIn("jana", "", "",
                             "Upgrade=http://example.cz/upgrade?v=2\r\nUninstalString=" + recorder +
                                 "\r\nUninstalStringArgs=/S --keep \"a "
                                 "b\"\r\n[TextaroMenu]\r\nOdkaz=a?b=c\r\n")},
                     {.act = Pick(31), .page = "^a\\?b=c" + tag},
                     {.act = Pick(1), .page = "^http://" + address + "\\?index\\.xp" + tag},
                     {.act = Pick(51), .page = "^http://example\\.cz/upgrade\\?v=2" + tag},
                     {Pick(52)},
                 });
    ASSERT_TRUE(WaitFor([&] { return !ReadFile(Beside("uninstall.txt")).empty(); }));
    EXPECT_EQ("/S --keep \"a b\"\n" + dll.Folder(), ReadFile(Beside("uninstall.txt")));

    // An empty UninstalString or Upgrade is told.
    Run("no links", {
                        {SignIn()},
                        {.act = Pick(52), .boxes = "^TextaroBar, [^\n]*$"},
                        {.act = Pick(51), .boxes = "^[^\n]*, exclamation: [^\n]*$", .page = "^$"},
                    });
}

// The credit shows, the nickname the next send signs with is the refresh's, and settings.ini is
// written only for an empty nickname. A nickname with a line break in it would have written
// sections of its own.
TEST_F(Menus, RefreshShowsTheCreditAndBringsTheNicknameInLine) {
    const std::string stale = "Nick=Stará\r\n", empty = " / 0 zn.¶0 sms / ";
    // As written when the toolbar opened; an emptied nickname is saved with what it goes with.
    const auto kept = [](const std::string& login, const std::string& nick) {
        return "^\\[SETTINGS\\]\nUserName=" + login + "\nPasword=[0-9a-f]{32}\nNick=" + nick +
               (nick.empty() ? "\n" : "\n$");
    };
    const Action refreshed{"refresh",
                           [this] { Serve([&] { return !WindowText(credit).empty(); }, 3000); }};
    Run("refresh",
        {
            {SignIn("eva", "", stale)},
            {.act = refreshed, .toolbar = empty + "12\\.50 Kč$", .settings = kept("eva", "Stará")},
            {.act = Send("eva", "777000999"), .sent = "^777000999 eva \"Evi"},
            {SignIn("ota", "", stale)},
            {.act = refreshed, .toolbar = empty + "20\\.00 Kč$", .settings = kept("ota", "")},
            {.act = Send("ota", "777000999"), .sent = "^777000999 ota null"},
            {SignIn("jana", "127.0.0.1:1", stale)},
            {.act = refreshed, .toolbar = empty + "$", .settings = kept("jana", "Stará")},
            {{"arm a reply",
              [this] {
                  HttpPost(address,
                           "/admin/fault?mode=reply&body=status%3D1%0Acredit%3D10.00%0Anick%"
                           "3Dx%250D%250A%255BCONTACTS%255D%0Anick_active%3Dyes%0A");
              }}},
            {SignIn("jana", "", stale)},
            {.act = refreshed, .toolbar = empty + "10\\.00 Kč$", .settings = kept("jana", "Stará")},
            {.act = Send("jana", "777000999"), .sent = "^777000999 jana null"},
        });
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
    PickNow(0, 3);
    HttpPost(address, "/admin/fault?mode=delay&ms=60000&count=3");
    DialogWatcher watcher;
    start = GetTickCount();
    PickNow(0, 3);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GT(waited, 10000u);
    EXPECT_LT(waited, 25000u) << "the request gives up after about 15 s";
    EXPECT_TRUE(Matches(Boxes(watcher), "^[^\n]*, error: .*Chyba při komunikace se serverem:¶"))
        << Boxes(watcher);
    EXPECT_EQ(2u, browser->Navigations().size()) << "the page opens all the same";
    EXPECT_EQ("", WindowText(credit));
}

} // namespace
