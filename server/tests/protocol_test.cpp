#include "test_gateway.h"
#include "toolbar/SendRun.h"

namespace server::test {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

using GatewayProtocol = GatewayTest;

// A right request and a wrong password are driven through the toolbar's client by
// gateway_client_test.
TEST_F(GatewayProtocol, RequestsNeedTheClientTokenAndASignatureOfTheFirst31BytesOfMsg) {
    const std::string msg = "0123456789012345678901234567890-signed tail";
    const std::string signedSend = AccountTarget("send", msg, kTo);
    const auto changed = [&](std::string_view from, const char* to) {
        return std::string(signedSend).replace(signedSend.find(from), from.size(), to);
    };
    const std::pair<std::string, int> requests[] = {
        {AccountTarget("send", msg, kTo, "jan", "Heslo"), 6},
        {AccountTarget("send", msg, kTo, "petr"), 6},
        {changed("hash=7", "hash=8"), 4},
        {changed("cust=ieto", "cust=ietx"), 3},
        {changed("action=send", "action=info"), 6}, // signed for one action, sent as another
        {changed("890%2Dsigned", "891%2Dsigned"), 6},
        {changed("%2Dsigned", "%20another"), 0},
    };
    for (const auto& [target, errcode] : requests) {
        const Answer answer = gw.Get(target);
        EXPECT_EQ(std::tie(answer.status, answer.errcode), std::tuple(errcode ? 0 : 1, errcode))
            << target;
    }
    EXPECT_EQ(gw.Get(requests[0].first).errtext, "Neplatné přihlašovací údaje");
}

// What the toolbar's runs store is read back from /admin/outbox by send_test and menu_test (the
// receipt only here), and a short number is refused in send_test.
TEST_F(GatewayProtocol, SendChargesPerPartKeepsEveryParameterAndRefusesWhatItCannotSend) {
    const std::string later = DelayText(std::time(nullptr) + 3600);
    const std::tuple<std::string, std::string, int, int, double> sends[] = {
        {std::string(158, 'a'), kTo, 0, 1, 8.5},          // and the reserved separator: 160
        {std::string(157, 'a') + "\r\n", kTo, 0, 2, 5.5}, // a line break is two bytes
        // The nickname takes the separator's place.
        {std::string(155, 'a'), kTo + "&nick=Honza", 0, 2, 2.5},
        {"x", "&msisdn=777%20123456&waitfordelivery=0", 9, 0, 0},
        {"", kTo, 10, 0, 0},
        {"x", kTo + "&delay=2030-02-30%2010%3A00%3A00", 11, 0, 0},
        {"x", kTo + "&delay=2030-01-01", 11, 0, 0},
        {std::string(400, 'a'), kTo, 8, 0, 0},
        {"Ahoj\r\nčau 1+1",
         "&msisdn=%2B420777123456&waitfordelivery=1&recack=1&recackaddr=mailto%3Aj%40b.cz"
         "&nick=Honza&delay=" +
             ::UrlEscape(later),
         0, 1, 1.0},
    };
    for (const auto& [text, extra, errcode, parts, credit] : sends) {
        const Answer sent = gw.Account("send", text, extra);
        EXPECT_EQ(std::tie(sent.status, sent.errcode, sent.parts, sent.price, sent.credit),
                  std::tuple(errcode ? 0 : 1, errcode, parts, 1.5 * parts, credit))
            << text.size() << extra;
    }
    EXPECT_EQ(gw.Send(std::string(400, 'a')).errtext, "Nedostatečný kredit");
    const auto messages = gw.storage.Messages();
    ASSERT_EQ(messages.size(), 4u);
    const SentMessage& sent = messages[3];
    EXPECT_EQ(std::tie(sent.login, sent.msisdn, sent.text, sent.nick, sent.delay),
              std::tuple("jan", "+420777123456", "Ahoj\r\nčau 1+1", "Honza", later));
    EXPECT_EQ(std::tie(sent.recack, sent.recackaddr, sent.waitForDelivery),
              std::tuple(1, "mailto:j@b.cz", 1));
    EXPECT_EQ(gw.Credit(), 1.0);
}

// Signing in and a live visit are driven by gateway_client_test and menu_test.
TEST_F(GatewayProtocol, PortalSessionLivesUntilItsTimeRunsOut) {
    const std::string sid = gw.SignIn();
    EXPECT_EQ(sid.size(), 32u);
    EXPECT_EQ(gw.Get(PortalInfoRequest("0123456789abcdef0123456789abcdef").target).errcode, 7);
    std::this_thread::sleep_for(2500ms);
    EXPECT_EQ(gw.Get(PortalInfoRequest(sid).target).errcode, 7);
    EXPECT_NE(gw.SignIn(), sid);
}

// The stored forms as the toolbar's edits leave them are read by contacts_test.
TEST_F(GatewayProtocol, AddressBookIdsBelongToOneAccountAndAreNeverReused) {
    const auto add = [&](const std::string& phone, const std::string& name) {
        return gw.Account("addr_add", phone, "&email=&name=" + ::UrlEscape(name) + "&surname=N");
    };
    add("777111222", "Jan");
    const std::string id = std::to_string(add("777333444", "Eva").id);
    const std::string edit = "&id=" + id + "&email=&name=&surname=";
    EXPECT_EQ(gw.Account("addr_list", "x", "", "eva", "tajne").items, 0);
    EXPECT_EQ(gw.Account("addr_del", id, "", "eva", "tajne").errcode, 12);
    EXPECT_EQ(gw.Account("addr_edit", "600000000", edit, "eva", "tajne").errcode, 12);
    EXPECT_EQ(gw.Account("addr_del", id).status, 1);
    EXPECT_EQ(gw.Account("addr_del", id).errcode, 12);
    EXPECT_EQ(gw.Account("addr_edit", "600000000", edit).errcode, 12);
    EXPECT_GT(add("777555666", "Petr").id, std::stoi(id));

    for (const auto& [phone, name] : {std::pair("777111222"s, "Jan, ml."s),
                                      {"777111222", "Jan\r\n"},
                                      {"777111222", std::string(250, 'x')},
                                      {"", "Jan"}}) {
        EXPECT_EQ(add(phone, name).errcode, 13) << name;
    }
    EXPECT_EQ(gw.Account("addr_add", "777111222", "&name=Jan&surname=N").errtext,
              "Chybí parametr email");
}

// The toolbar's own requests (a POST without a body, a target without its leading "/") are sent
// by every Wine test.
TEST_F(GatewayProtocol, BadRequestsAreRefusedAndTheServerCarriesOn) {
    const std::string base = "/api/app_api.xp?cust=ieto&hash=" + std::string(kToken);
    EXPECT_EQ(gw.Get("/api/app_api.xp").errtext, "Chybí parametr cust");
    EXPECT_EQ(gw.Get(base + "&action=nothing").errcode, 5);
    EXPECT_EQ(gw.Get(base + "&action=info_login&login=jan&pass=x").errcode, 5);
    for (const char* bad : {"%zz", "%", "%4", "%00", "a%g1"}) {
        const Answer refused = gw.Account("info", "info_message", std::string("&x=") + bad);
        EXPECT_EQ(std::tie(refused.status, refused.errcode), std::tuple(0, 2)) << bad;
    }

    const Answer huge = gw.Get(base + "&action=info&msg=" + std::string(1 << 20, 'a'));
    EXPECT_EQ(std::tie(huge.http, huge.status, huge.errtext),
              std::tuple(414, 0, "Požadavek je příliš dlouhý"));
    const Answer big = gw.Post(base + "&action=info", std::string(65537, 'a'), "text/plain");
    EXPECT_EQ(std::tie(big.http, big.errcode), std::tuple(413, 15));
    EXPECT_EQ(gw.Get("/api/other.xp?cust=ieto").http, 404);
    EXPECT_EQ(gw.Get("/admin/nothing").http, 404);

    EXPECT_EQ(gw.Get("/a b c").status, 0);
    EXPECT_EQ(gw.Credit(), 10.0);
}

} // namespace
} // namespace server::test
