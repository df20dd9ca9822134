#include "test_gateway.h"

#include <gtest/gtest.h>

#include <ctime>
#include <thread>

namespace server::test {
namespace {

using namespace std::chrono_literals;

class GatewayProtocol : public GatewayTest {
protected:
    Answer Send(const std::string& text, const std::string& extra = "") const {
        return Account("send", text, "&msisdn=777123456&waitfordelivery=0" + extra);
    }

    std::string Credit() const { return Account("info", "info_message")["credit"]; }
};

std::string LocalTime(std::time_t when) {
    std::tm tm{};
    localtime_r(&when, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

TEST_F(GatewayProtocol, InfoAcceptsOnlyTheRightClientTokenAndSignature) {
    const Answer ok = Account("info", "info_message");
    EXPECT_EQ(ok["status"], "1");
    EXPECT_EQ(ok["credit"], "10.00");
    EXPECT_EQ(ok["nick"], "Honza");
    EXPECT_EQ(ok["nick_active"], "yes");
    EXPECT_EQ(gw.Get(AccountTarget("info", "eva", Md5Hex("tajne"), "info_message"))["nick_active"],
              "no");

    const Answer wrongPassword =
        gw.Get(AccountTarget("info", "jan", Md5Hex("Heslo"), "info_message"));
    EXPECT_EQ(wrongPassword["status"], "0");
    EXPECT_EQ(wrongPassword["errcode"], "6");
    EXPECT_EQ(wrongPassword["errtext"], "Neplatné přihlašovací údaje");
    EXPECT_EQ(gw.Get(AccountTarget("info", "petr", Md5Hex("heslo"), "info_message"))["errcode"],
              "6");

    std::string target = AccountTarget("info", "jan", Md5Hex("heslo"), "info_message");
    const auto tokenAt = target.find(kToken);
    EXPECT_EQ(gw.Get(std::string(target).replace(tokenAt, 1, "8"))["errcode"], "4");
    const auto custAt = target.find("cust=ieto");
    EXPECT_EQ(gw.Get(std::string(target).replace(custAt, 9, "cust=ietx"))["errcode"], "3");

    // Signed for one action, replayed as another.
    target.replace(target.find("action=info"), 11, "action=addr_list");
    EXPECT_EQ(gw.Get(target)["errcode"], "6");
}

TEST_F(GatewayProtocol, SignatureCoversTheFirst31BytesOfMsg) {
    const std::string signedText = "0123456789012345678901234567890-signed tail";
    const std::string auth = Md5Hex(Md5Hex("heslo") + "jan" + "send" + signedText.substr(0, 31));
    const auto sendAs = [&](const std::string& text) {
        return gw.Get("/api/app_api.xp?cust=ieto&hash=" + std::string(kToken) +
                      "&action=send&login=jan&auth=" + auth + "&msg=" + ::UrlEscape(text) +
                      "&msisdn=777123456&waitfordelivery=0");
    };
    EXPECT_EQ(sendAs("0123456789012345678901234567890 another tail")["status"], "1");
    EXPECT_EQ(sendAs("0123456789012345678901234567891-signed tail")["errcode"], "6");
}

TEST_F(GatewayProtocol, SendChargesPerPartAndRefusesWhatTheCreditCannotCover) {
    // 158 bytes and the reserved separator: one part of 160 characters.
    const Answer one = Send(std::string(158, 'a'));
    EXPECT_EQ(one["status"], "1");
    EXPECT_EQ(one["parts"], "1");
    EXPECT_EQ(one["price"], "1.50");
    EXPECT_EQ(one["credit"], "8.50");
    // A line break is two bytes: 157 + 2 + 1 = 160 no longer leaves room in one part.
    const Answer two = Send(std::string(157, 'a') + "\r\n");
    EXPECT_EQ(two["parts"], "2");
    EXPECT_EQ(two["credit"], "5.50");
    // The nickname takes the separator's place: 155 + 5 = 160, two parts again.
    EXPECT_EQ(Send(std::string(155, 'a'), "&nick=Honza")["parts"], "2");
    EXPECT_EQ(Credit(), "2.50");

    const Answer three = Send(std::string(400, 'a'));
    EXPECT_EQ(three["status"], "0");
    EXPECT_EQ(three["errcode"], "8");
    EXPECT_NE(three.body.find("errtext=Nedostate%E8n%FD%20kredit\n"), std::string::npos)
        << three.body;
    EXPECT_EQ(three["errtext"], "Nedostatečný kredit");
    EXPECT_EQ(Credit(), "2.50");
    EXPECT_EQ(gw.storage.Messages().size(), 3u);
}

TEST_F(GatewayProtocol, SendKeepsEveryParameterAndSchedulesDelayedMessages) {
    const std::string later = LocalTime(std::time(nullptr) + 3600);
    const Answer scheduled =
        Send("Ahoj\r\nčau 1+1", "&recack=1&recackaddr=" + ::UrlEscape("mailto:") +
                                    ::UrlEscape("jan@example.cz") +
                                    "&nick=Honza&delay=" + ::UrlEscape(later));
    ASSERT_EQ(scheduled["status"], "1") << scheduled.body;
    ASSERT_EQ(Send("hned")["status"], "1");

    const auto messages = gw.storage.Messages();
    ASSERT_EQ(messages.size(), 2u);
    const SentMessage& first = messages[0];
    EXPECT_EQ(std::to_string(first.id), scheduled["id"]);
    EXPECT_EQ(first.login, "jan");
    EXPECT_EQ(first.msisdn, "777123456");
    EXPECT_EQ(first.text, "Ahoj\r\nčau 1+1");
    EXPECT_EQ(first.nick, "Honza");
    EXPECT_EQ(first.delay, later);
    EXPECT_EQ(first.recack, 1);
    EXPECT_EQ(first.recackaddr, "mailto:jan@example.cz");
    EXPECT_EQ(first.waitForDelivery, 0);
    EXPECT_FALSE(messages[1].nick.has_value());
    EXPECT_FALSE(messages[1].recack.has_value());

    const std::string json = gw.Page("/admin/outbox");
    EXPECT_NE(json.find(R"("delay":")" + later + R"(","recack":1)"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("state":"scheduled")"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("nick":null,"delay":null,"recack":null,"recackaddr":null)"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("state":"delivered")"), std::string::npos) << json;
}

TEST_F(GatewayProtocol, SendRefusesBadRecipientTextAndDelay) {
    EXPECT_EQ(Account("send", "x", "&waitfordelivery=0")["errtext"], "Chybí parametr msisdn");
    EXPECT_EQ(Account("send", "x", "&msisdn=777123456")["errtext"],
              "Chybí parametr waitfordelivery");
    EXPECT_EQ(Account("send", "x", "&msisdn=777%20123456&waitfordelivery=0")["errcode"], "9");
    EXPECT_EQ(Account("send", "x", "&msisdn=12345&waitfordelivery=0")["errcode"], "9");
    EXPECT_EQ(Send("")["errcode"], "10");
    EXPECT_EQ(Send("x", "&delay=" + ::UrlEscape("2030-02-30 10:00:00"))["errcode"], "11");
    EXPECT_EQ(Send("x", "&delay=2030-01-01")["errcode"], "11");
    EXPECT_EQ(Account("send", "x", "&msisdn=%2B420777123456&waitfordelivery=1")["status"], "1");
    EXPECT_EQ(Credit(), "8.50");
}

TEST_F(GatewayProtocol, PortalSessionLivesUntilItsTimeRunsOut) {
    // As the toolbar asks: the portal targets lack the leading "/".
    const auto login = [&](const std::string& pass) {
        return gw.Get(InfoLoginRequest("jan", pass).target);
    };
    const auto check = [&](const std::string& sid) {
        return gw.Get(PortalInfoRequest(sid).target);
    };
    EXPECT_EQ(login(Md5Hex("jine"))["errcode"], "6");
    const Answer session = login(Md5Hex("heslo"));
    ASSERT_EQ(session["status"], "1");
    EXPECT_EQ(session["credit"], "10.00");
    const std::string sid = session["sid"];
    EXPECT_EQ(sid.size(), 32u);

    const Answer live = check(sid);
    EXPECT_EQ(live["status"], "1");
    EXPECT_EQ(live["credit"], "10.00");
    EXPECT_EQ(check("0123456789abcdef0123456789abcdef")["errcode"], "7");

    std::this_thread::sleep_for(2500ms);
    const Answer expired = check(sid);
    EXPECT_EQ(expired["status"], "0");
    EXPECT_EQ(expired["errcode"], "7");
    EXPECT_NE(login(Md5Hex("heslo"))["sid"], sid);
}

TEST_F(GatewayProtocol, AddressBookKeepsIdsPerAccount) {
    const auto add = [&](const std::string& phone, const std::string& name) {
        return Account("addr_add", phone,
                       "&email=a%40b.cz&name=" + ::UrlEscape(name) + "&surname=Nov%E1k");
    };
    const auto list = [&](const std::string& login, const std::string& password) {
        return gw.Get(AccountTarget("addr_list", login, Md5Hex(password),
                                    "autentizacni_zprava_pro_zjisteni_adresare"));
    };
    const std::string first = add("777111222", "Jan")["id"];
    const std::string second = add("777333444", "Šárka")["id"];
    ASSERT_NE(first, second);

    Answer book = list("jan", "heslo");
    EXPECT_EQ(book["items"], "2");
    EXPECT_EQ(book["item_0"], first + ",777111222,a@b.cz,Jan,Novák");
    EXPECT_EQ(book["item_1"], second + ",777333444,a@b.cz,Šárka,Novák");
    EXPECT_EQ(list("eva", "tajne")["items"], "0");

    EXPECT_EQ(
        Account("addr_edit", "600000000", "&id=" + first + "&email=&name=Jan&surname=N")["id"],
        first);
    EXPECT_EQ(gw.Get(AccountTarget("addr_del", "eva", Md5Hex("tajne"), second))["errcode"], "12");
    EXPECT_EQ(Account("addr_del", second)["status"], "1");
    EXPECT_EQ(Account("addr_del", second)["errcode"], "12");
    EXPECT_EQ(
        Account("addr_edit", "600000000", "&id=" + second + "&email=&name=&surname=")["errcode"],
        "12");

    const std::string third = add("777555666", "Petr")["id"];
    EXPECT_GT(std::stoll(third), std::stoll(second));
    book = list("jan", "heslo");
    EXPECT_EQ(book["items"], "2");
    EXPECT_EQ(book["item_0"], first + ",600000000,,Jan,N");
    EXPECT_EQ(book["item_1"], third + ",777555666,a@b.cz,Petr,Novák");

    EXPECT_EQ(add("777111222", "Jan, ml.")["errcode"], "13");
    EXPECT_EQ(add("777111222", "Jan\r\n")["errcode"], "13");
    EXPECT_EQ(add("", "Jan")["errcode"], "13");
    EXPECT_EQ(add("777111222", std::string(250, 'x'))["errcode"], "13");
    EXPECT_EQ(Account("addr_add", "777111222", "&name=Jan&surname=N")["errtext"],
              "Chybí parametr email");
}

TEST_F(GatewayProtocol, BadRequestsAreRefusedAndTheServerCarriesOn) {
    const std::string base = "/api/app_api.xp?cust=ieto&hash=" + std::string(kToken);
    EXPECT_EQ(gw.Get("/api/app_api.xp")["errtext"], "Chybí parametr cust");
    EXPECT_EQ(gw.Get(base + "&action=nothing")["errcode"], "5");
    EXPECT_EQ(gw.Get(base + "&action=info_login&login=jan&pass=x")["errcode"], "5");
    for (const char* bad : {"%zz", "%", "%4", "%00", "a%g1"}) {
        const Answer refused = Account("info", "info_message", std::string("&x=") + bad);
        EXPECT_EQ(refused["status"], "0") << bad;
        EXPECT_EQ(refused["errcode"], "2") << bad;
    }

    const Answer huge = gw.Get(base + "&action=info&msg=" + std::string(1 << 20, 'a'));
    EXPECT_EQ(huge.http, 414);
    EXPECT_EQ(huge["status"], "0");
    EXPECT_EQ(huge["errtext"], "Požadavek je příliš dlouhý");

    EXPECT_EQ(gw.Get("/api/other.xp?cust=ieto").http, 404);
    EXPECT_EQ(gw.Get("/admin/nothing").http, 404);

    // The toolbar's POST carries no body and its target may lack the leading "/".
    const std::string target = AccountTarget("info", "jan", Md5Hex("heslo"), "info_message");
    EXPECT_EQ(gw.Post(target)["status"], "1");
    const std::string reply = gw.Raw("POST " + target.substr(1) +
                                     " HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n"
                                     "Connection: close\r\n\r\n");
    EXPECT_NE(reply.find("\r\n\r\nstatus=1\ncredit=10%2E00\n"), std::string::npos) << reply;
    EXPECT_NE(gw.Raw("GET /a b c HTTP/1.1\r\nHost: x\r\n\r\n").find("status=0\n"),
              std::string::npos);
    EXPECT_EQ(Credit(), "10.00");
}

} // namespace
} // namespace server::test
