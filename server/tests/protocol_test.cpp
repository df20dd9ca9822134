#include "test_gateway.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <thread>

namespace server::test {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

class GatewayProtocol : public GatewayTest {
protected:
    Answer Send(const std::string& text, const std::string& extra = "") const {
        return Account("send", text, "&msisdn=777123456&waitfordelivery=0" + extra);
    }

    double Credit() const { return Account("info", "info_message").credit; }
};

TEST_F(GatewayProtocol, InfoAcceptsOnlyTheRightClientTokenAndSignature) {
    const Answer ok = Account("info", "info_message");
    EXPECT_EQ(std::tie(ok.status, ok.credit, ok.nick, ok.nick_active),
              std::tuple(1, 10.0, "Honza", "yes"));
    EXPECT_EQ(gw.Get(AccountTarget("info", "eva", Md5Hex("tajne"), "info_message")).nick_active,
              "no");
    const Answer wrongPassword =
        gw.Get(AccountTarget("info", "jan", Md5Hex("Heslo"), "info_message"));
    EXPECT_EQ(std::tie(wrongPassword.status, wrongPassword.errcode, wrongPassword.errtext),
              std::tuple(0, 6, "Neplatné přihlašovací údaje"));

    const std::string signedInfo = AccountTarget("info", "jan", Md5Hex("heslo"), "info_message");
    const auto changed = [&](const char* from, const char* to) {
        return std::string(signedInfo).replace(signedInfo.find(from), std::strlen(from), to);
    };
    const struct {
        std::string target;
        int errcode;
    } refused[] = {
        {AccountTarget("info", "petr", Md5Hex("heslo"), "info_message"), 6},
        {changed("hash=7", "hash=8"), 4},
        {changed("cust=ieto", "cust=ietx"), 3},
        {changed("action=info", "action=addr_list"), 6}, // signed for one action, sent as another
    };
    for (const auto& r : refused) {
        EXPECT_EQ(gw.Get(r.target).errcode, r.errcode) << r.target;
    }
}

TEST_F(GatewayProtocol, SignatureCoversTheFirst31BytesOfMsg) {
    const std::string signedText = "0123456789012345678901234567890-signed tail";
    const std::string auth = Md5Hex(Md5Hex("heslo") + "jan" + "send" + signedText.substr(0, 31));
    const auto sendAs = [&](const std::string& text) {
        return gw.Get("/api/app_api.xp?cust=ieto&hash=" + std::string(kToken) +
                      "&action=send&login=jan&auth=" + auth + "&msg=" + ::UrlEscape(text) +
                      "&msisdn=777123456&waitfordelivery=0");
    };
    EXPECT_EQ(sendAs("0123456789012345678901234567890 another tail").status, 1);
    EXPECT_EQ(sendAs("0123456789012345678901234567891-signed tail").errcode, 6);
}

TEST_F(GatewayProtocol, SendChargesPerPartAndRefusesWhatTheCreditCannotCover) {
    const struct {
        std::string text, extra;
        int parts;
        double credit;
    } sends[] = {
        {std::string(158, 'a'), "", 1, 8.5},            // and the reserved separator: 160
        {std::string(157, 'a') + "\r\n", "", 2, 5.5},   // a line break is two bytes
        {std::string(155, 'a'), "&nick=Honza", 2, 2.5}, // the nickname takes the separator's place
    };
    for (const auto& s : sends) {
        const Answer sent = Send(s.text, s.extra);
        EXPECT_EQ(std::tie(sent.status, sent.parts, sent.price, sent.credit),
                  std::tuple(1, s.parts, 1.5 * s.parts, s.credit))
            << s.text.size() << s.extra;
    }

    const Answer refused = Send(std::string(400, 'a'));
    EXPECT_EQ(std::tie(refused.status, refused.errcode, refused.errtext),
              std::tuple(0, 8, "Nedostatečný kredit"));
    EXPECT_NE(refused.Text().find("errtext=Nedostate%E8n%FD%20kredit\n"), std::string::npos)
        << refused.Text();
    EXPECT_EQ(Credit(), 2.5);
    EXPECT_EQ(gw.storage.Messages().size(), 3u);
}

TEST_F(GatewayProtocol, SendKeepsEveryParameterAndSchedulesDelayedMessages) {
    const std::time_t inAnHour = std::time(nullptr) + 3600;
    std::tm tm{};
    char later[32];
    std::strftime(later, sizeof later, "%Y-%m-%d %H:%M:%S", localtime_r(&inAnHour, &tm));
    const Answer scheduled =
        Send("Ahoj\r\nčau 1+1", "&recack=1&recackaddr=" + ::UrlEscape("mailto:jan@example.cz") +
                                    "&nick=Honza&delay=" + ::UrlEscape(later));
    ASSERT_EQ(scheduled.status, 1) << scheduled.Text();
    ASSERT_EQ(Send("hned").status, 1);

    const auto messages = gw.storage.Messages();
    ASSERT_EQ(messages.size(), 2u);
    const SentMessage& first = messages[0];
    EXPECT_EQ(first.id, scheduled.id);
    EXPECT_EQ(std::tie(first.login, first.msisdn, first.text, first.nick, first.delay),
              std::tuple("jan", "777123456", "Ahoj\r\nčau 1+1", "Honza", later));
    EXPECT_EQ(std::tie(first.recack, first.recackaddr, first.waitForDelivery),
              std::tuple(1, "mailto:jan@example.cz", 0));
    EXPECT_FALSE(messages[1].nick.has_value());
    EXPECT_FALSE(messages[1].recack.has_value());

    const std::string json = gw.Page("/admin/outbox");
    for (const std::string& shown :
         {R"("delay":")"s + later + R"(","recack":1)", R"("state":"scheduled")"s,
          R"("nick":null,"delay":null,"recack":null,"recackaddr":null)"s,
          R"("state":"delivered")"s}) {
        EXPECT_NE(json.find(shown), std::string::npos) << shown << "\n" << json;
    }
}

TEST_F(GatewayProtocol, SendRefusesBadRecipientTextAndDelay) {
    EXPECT_EQ(Account("send", "x", "&waitfordelivery=0").errtext, "Chybí parametr msisdn");
    EXPECT_EQ(Account("send", "x", "&msisdn=777123456").errtext, "Chybí parametr waitfordelivery");
    EXPECT_EQ(Account("send", "x", "&msisdn=777%20123456&waitfordelivery=0").errcode, 9);
    EXPECT_EQ(Account("send", "x", "&msisdn=12345&waitfordelivery=0").errcode, 9);
    EXPECT_EQ(Send("").errcode, 10);
    EXPECT_EQ(Send("x", "&delay=" + ::UrlEscape("2030-02-30 10:00:00")).errcode, 11);
    EXPECT_EQ(Send("x", "&delay=2030-01-01").errcode, 11);
    EXPECT_EQ(Account("send", "x", "&msisdn=%2B420777123456&waitfordelivery=1").status, 1);
    EXPECT_EQ(Credit(), 8.5);
}

TEST_F(GatewayProtocol, PortalSessionLivesUntilItsTimeRunsOut) {
    // As the toolbar asks: the portal targets lack the leading "/".
    const auto login = [&](const std::string& pass) {
        return gw.Get(InfoLoginRequest("jan", pass).target);
    };
    const auto check = [&](const std::string& sid) {
        return gw.Get(PortalInfoRequest(sid).target);
    };
    EXPECT_EQ(login(Md5Hex("jine")).errcode, 6);
    const Answer session = login(Md5Hex("heslo"));
    ASSERT_EQ(session.status, 1);
    EXPECT_EQ(session.credit, 10.0);
    const std::string sid = session.sid.value_or("");
    EXPECT_EQ(sid.size(), 32u);

    const Answer live = check(sid);
    EXPECT_EQ(std::tie(live.status, live.credit), std::tuple(1, 10.0));
    EXPECT_EQ(check("0123456789abcdef0123456789abcdef").errcode, 7);

    std::this_thread::sleep_for(2500ms);
    const Answer expired = check(sid);
    EXPECT_EQ(std::tie(expired.status, expired.errcode), std::tuple(0, 7));
    EXPECT_NE(login(Md5Hex("heslo")).sid, sid);
}

TEST_F(GatewayProtocol, AddressBookKeepsIdsPerAccount) {
    const auto add = [&](const std::string& phone, const std::string& name) {
        return Account("addr_add", phone,
                       "&email=a%40b.cz&name=" + ::UrlEscape(name) + "&surname=Nov%E1k");
    };
    const auto list = [&](const std::string& login, const std::string& password) {
        Answer book = gw.Get(AccountTarget("addr_list", login, Md5Hex(password),
                                           "autentizacni_zprava_pro_zjisteni_adresare"));
        std::vector<std::optional<std::string>> items;
        for (int i = 0; i < book.items; ++i) {
            items.push_back(book.Item(i));
        }
        return items;
    };
    using Items = std::vector<std::optional<std::string>>;
    const std::string first = std::to_string(add("777111222", "Jan").id);
    const std::string second = std::to_string(add("777333444", "Šárka").id);
    ASSERT_NE(first, second);
    EXPECT_EQ(list("jan", "heslo"), (Items{first + ",777111222,a@b.cz,Jan,Novák",
                                           second + ",777333444,a@b.cz,Šárka,Novák"}));
    EXPECT_EQ(list("eva", "tajne"), Items{});

    EXPECT_EQ(Account("addr_edit", "600000000", "&id=" + first + "&email=&name=Jan&surname=N").id,
              std::stoi(first));
    EXPECT_EQ(gw.Get(AccountTarget("addr_del", "eva", Md5Hex("tajne"), second)).errcode, 12);
    EXPECT_EQ(Account("addr_del", second).status, 1);
    EXPECT_EQ(Account("addr_del", second).errcode, 12);
    EXPECT_EQ(Account("addr_edit", "600000000", "&id=" + second + "&email=&name=&surname=").errcode,
              12);

    const int third = add("777555666", "Petr").id;
    EXPECT_GT(third, std::stoi(second));
    EXPECT_EQ(list("jan", "heslo"),
              (Items{first + ",600000000,,Jan,N",
                     std::to_string(third) + ",777555666,a@b.cz,Petr,Novák"}));

    for (const std::string& name : {"Jan, ml."s, "Jan\r\n"s, std::string(250, 'x')}) {
        EXPECT_EQ(add("777111222", name).errcode, 13) << name;
    }
    EXPECT_EQ(add("", "Jan").errcode, 13);
    EXPECT_EQ(Account("addr_add", "777111222", "&name=Jan&surname=N").errtext,
              "Chybí parametr email");
}

TEST_F(GatewayProtocol, BadRequestsAreRefusedAndTheServerCarriesOn) {
    const std::string base = "/api/app_api.xp?cust=ieto&hash=" + std::string(kToken);
    EXPECT_EQ(gw.Get("/api/app_api.xp").errtext, "Chybí parametr cust");
    EXPECT_EQ(gw.Get(base + "&action=nothing").errcode, 5);
    EXPECT_EQ(gw.Get(base + "&action=info_login&login=jan&pass=x").errcode, 5);
    for (const char* bad : {"%zz", "%", "%4", "%00", "a%g1"}) {
        const Answer refused = Account("info", "info_message", std::string("&x=") + bad);
        EXPECT_EQ(std::tie(refused.status, refused.errcode), std::tuple(0, 2)) << bad;
    }

    const Answer huge = gw.Get(base + "&action=info&msg=" + std::string(1 << 20, 'a'));
    EXPECT_EQ(std::tie(huge.http, huge.status, huge.errtext),
              std::tuple(414, 0, "Požadavek je příliš dlouhý"));
    EXPECT_EQ(gw.Get("/api/other.xp?cust=ieto").http, 404);
    EXPECT_EQ(gw.Get("/admin/nothing").http, 404);

    // The toolbar's POST carries no body and its target may lack the leading "/".
    const std::string target = AccountTarget("info", "jan", Md5Hex("heslo"), "info_message");
    const std::string reply = gw.Raw("POST " + target.substr(1) +
                                     " HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n"
                                     "Connection: close\r\n\r\n");
    EXPECT_NE(reply.find("\r\n\r\nstatus=1\ncredit=10%2E00\n"), std::string::npos) << reply;
    EXPECT_NE(gw.Raw("GET /a b c HTTP/1.1\r\nHost: x\r\n\r\n").find("status=0\n"),
              std::string::npos);
    EXPECT_EQ(Credit(), 10.0);
}

} // namespace
} // namespace server::test
