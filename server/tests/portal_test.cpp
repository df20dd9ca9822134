#include "cp1250.h"
#include "test_gateway.h"

#include <gtest/gtest.h>

// Signing in, the pages' links and signing out are driven through the toolbar by menu_test.
namespace server::test {
namespace {

// A visit signed in through the gateway, as the toolbar opens portal pages for it.
class PortalPages : public GatewayTest {
protected:
    std::string Page(const std::string& action, const std::string& visit) const {
        return gw.Page("/index.xp?sid=" + UrlEscape(visit) + "&action=" + action +
                       "&IETOOLBARVAR=1.0.76");
    }

    // Whether the page (UTF-8) shows the text (a Windows-1250 literal).
    static bool Shows(const std::string& page, const char* text) {
        return page.find(Cp1250ToUtf8(text)) != std::string::npos;
    }

    const std::string sid =
        gw.Get(InfoLoginRequest("jan", Md5Hex("heslo")).target).sid.value_or("");
};

TEST_F(PortalPages, VisitPagesShowTheAccountAndOnlyItsOwnMessages) {
    Account("send", "Ahoj Jano", "&msisdn=777123456&waitfordelivery=0");
    gw.Get(AccountTarget("send", "eva", Md5Hex("tajne"), "Cizí zpráva",
                         "&msisdn=777000111&waitfordelivery=0"));
    const std::string html = Page("history", sid);
    EXPECT_TRUE(Shows(html, "<td>Ahoj Jano</td>")) << html;
    EXPECT_TRUE(Shows(html, "Účet <b>jan</b>, kredit <b>8.50 Kč</b>"));
    EXPECT_TRUE(Shows(html, "verze 1.0.76"));
    EXPECT_FALSE(Shows(html, "Cizí zpráva"));
    EXPECT_TRUE(Shows(Page("nick", sid), "name=\"nick\" maxlength=\"20\" value=\"Honza\""));
    EXPECT_TRUE(Shows(Page("history", "&<x>"), "<h1>Přihlášení vypršelo</h1>"));
    EXPECT_TRUE(Shows(gw.Page("/?index.xp"), "Vítejte na portálu Textaro"));
}

TEST_F(PortalPages, NickFormSetsWhatInfoReports) {
    const struct {
        const char* form;
        const char* nick;
        const char* active;
        const char* note;
    } forms[] = {
        {"nick=Hon%C3%ADk&active=yes", "Honík", "yes", "Přezdívka byla uložena."},
        {"nick=Hon%C3%ADk", "Honík", "no", "Přezdívka byla uložena."},
        // Not in the code page, or a control character: kept as it was.
        {"nick=%E2%98%BA&active=yes", "Honík", "no", "smí mít nejvýše 20 znaků"},
        {"nick=x%0D%0A%5BCONTACTS%5D&active=yes", "Honík", "no", "nesmí obsahovat řídicí znaky"},
        {"nick=x%7F&active=yes", "Honík", "no", "nesmí obsahovat řídicí znaky"},
    };
    for (const auto& form : forms) {
        const Answer page = gw.Post("/index.xp?sid=" + sid + "&action=nick", form.form);
        EXPECT_TRUE(Shows(page.Text(), form.note)) << form.form;
        const Answer info = Account("info", "info_message");
        EXPECT_EQ(std::tie(info.nick, info.nick_active), std::tuple(form.nick, form.active))
            << form.form;
    }
}

} // namespace
} // namespace server::test
