#include "cp1250.h"
#include "test_gateway.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace server::test {
namespace {

// A visit signed in through the gateway, as the toolbar opens portal pages for it.
class PortalPages : public GatewayTest {
protected:
    std::string SignIn() const {
        return gw.Get(InfoLoginRequest("jan", Md5Hex("heslo")).target).sid.value_or("");
    }

    std::string Page(const std::string& action, const std::string& visit) const {
        return gw
            .Get("/index.xp?sid=" + UrlEscape(visit) + "&action=" + action + "&IETOOLBARVAR=1.0.76")
            .Text();
    }

    // Whether the page (UTF-8) shows the text (a Windows-1250 literal).
    static bool Shows(const std::string& page, const char* text) {
        return page.find(Cp1250ToUtf8(text)) != std::string::npos;
    }

    const std::string sid = SignIn();
};

TEST_F(PortalPages, VisitPagesShowTheAccountAndOnlyItsOwnMessages) {
    Account("send", "Ahoj Jano", "&msisdn=777123456&waitfordelivery=0");
    gw.Get(AccountTarget("send", "eva", Md5Hex("tajne"), "Cizí zpráva",
                         "&msisdn=777000111&waitfordelivery=0"));
    const struct {
        const char* action;
        const char* shows;
    } pages[] = {{"history", "<td>Ahoj Jano</td>"},
                 {"account", "<h1>Můj účet</h1>"},
                 {"nick", "name=\"nick\" maxlength=\"20\" value=\"Honza\""}};
    for (const auto& page : pages) {
        const std::string html = Page(page.action, sid);
        EXPECT_TRUE(Shows(html, page.shows)) << page.action << "\n" << html;
        EXPECT_TRUE(Shows(html, "Účet <b>jan</b>, kredit <b>8.50 Kč</b>"));
        EXPECT_TRUE(Shows(html, "verze 1.0.76"));
        EXPECT_FALSE(Shows(html, "Cizí zpráva"));
    }
    EXPECT_TRUE(Shows(Page("history", "&<x>"), "<h1>Přihlášení vypršelo</h1>"));
    EXPECT_TRUE(Shows(gw.Get("/?index.xp").Text(), "Vítejte na portálu Textaro"));
}

TEST_F(PortalPages, NickFormSetsWhatInfoReports) {
    const struct {
        const char* form;
        const char* nick;
        const char* active;
    } forms[] = {
        {"nick=Hon%C3%ADk&active=yes", "Honík", "yes"},
        {"nick=Hon%C3%ADk", "Honík", "no"},
        {"nick=%E2%98%BA&active=yes", "Honík", "no"}, // not in the code page: kept as it was
    };
    httplib::Client client("127.0.0.1", gw.port);
    for (const auto& form : forms) {
        const auto result = client.Post(("/index.xp?sid=" + sid + "&action=nick").c_str(),
                                        form.form, "application/x-www-form-urlencoded");
        ASSERT_TRUE(result);
        const Answer info = Account("info", "info_message");
        EXPECT_EQ(std::tie(info.nick, info.nick_active), std::tuple(form.nick, form.active))
            << form.form;
    }
}

TEST_F(PortalPages, SignOutEndsTheVisitForTheGatewayToo) {
    Page("logout", sid);
    EXPECT_EQ(gw.Get(PortalInfoRequest(sid).target).errcode, 7);
    EXPECT_TRUE(Shows(Page("account", sid), "Přihlášení vypršelo"));
    EXPECT_TRUE(Shows(Page("account", SignIn()), "<h1>Můj účet</h1>"));

    httplib::Client client("127.0.0.1", gw.port);
    EXPECT_EQ(client.Get("/admin/requests")->body, "{\"rapi.info\":1,\"rapi.info_login\":2}\n");
}

} // namespace
} // namespace server::test
