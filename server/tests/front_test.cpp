#include "test_gateway.h"

#include <gtest/gtest.h>
#include <httplib.h>

// The fault modes as the toolbar meets them, /admin/contacts and its short list are driven by the
// Wine tests (gateway_client_test, menu_test, contacts_test); here what those cannot see.
namespace server::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using GatewayFront = GatewayTest;

TEST_F(GatewayFront, ArmedFaultsHitOnlyTheCountedRequestsAndStoreNothing) {
    const std::string send = AccountTarget("send", "jan", Md5Hex("heslo"), "text",
                                           "&msisdn=777123456&waitfordelivery=0");
    const std::pair<const char*, int> faults[] = {
        {"http500", 500}, {"nostatus", 200}, {"empty", 200}};
    for (const auto& [mode, http] : faults) {
        gw.Page("/admin/fault?count=2&mode=" + std::string(mode));
        for (int i = 0; i < 2; ++i) {
            const Answer failed = gw.Get(send);
            EXPECT_EQ(std::tie(failed.http, failed.status), std::tuple(http, -1)) << mode;
        }
        EXPECT_EQ(Account("info", "info_message").credit, 10.0) << "the next request is served";
    }
    EXPECT_TRUE(gw.storage.Messages().empty());

    // A delay holds one request; a latency every request until turned off.
    for (const auto& [arm, lasting] :
         {std::pair("mode=delay&ms=300", false), {"mode=latency&ms=300", true}}) {
        gw.Page("/admin/fault?" + std::string(arm));
        for (const bool slow : {true, lasting}) {
            const auto start = Clock::now();
            EXPECT_EQ(gw.Get(send).status, 1);
            EXPECT_EQ(Clock::now() - start >= 300ms, slow) << arm;
        }
    }
    gw.Page("/admin/fault?mode=off");
    EXPECT_EQ(gw.faults.State().latency, 0ms);
    for (const char* refused : {"mode=explode", "mode=delay", "mode=close&count=0"}) {
        EXPECT_EQ(gw.Get("/admin/fault?" + std::string(refused)).http, 400) << refused;
    }
    EXPECT_EQ(gw.faults.State().mode, FaultMode::None);
}

TEST_F(GatewayFront, KeepAliveClientUsesOneConnectionWithoutNagleDelays) {
    httplib::Client client("127.0.0.1", gw.port);
    client.set_keep_alive(true);
    client.set_url_encode(false);
    const std::string target = AccountTarget("info", "jan", Md5Hex("heslo"), "info_message");
    const auto start = Clock::now();
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(client.Get(target.c_str()));
    }
    // Nagle's algorithm against delayed acknowledgements costs ~40 ms a request.
    EXPECT_LT(Clock::now() - start, 1500ms);
    EXPECT_EQ(client.Get("/admin/connections")->body, "{\"accepted\":1}\n");
}

// Without SO_REUSEPORT: a second gateway on the port would take half of the requests.
TEST_F(GatewayFront, SecondServerCannotTakeABusyPort) {
    HttpFront other(gw.gateway, gw.storage, gw.faults);
    EXPECT_FALSE(other.Bind("127.0.0.1", gw.port).has_value());
}

// The pages a person reads: a message's text is shown, never run as markup; the accounts as sent.
TEST_F(GatewayFront, PagesEscapeTheTextAndShowTheAccounts) {
    Account("send", "Dobrý den <b>",
            "&msisdn=777123456&waitfordelivery=0&delay=" + ::UrlEscape("2099-01-01 12:00:00"));
    const std::string page = gw.Page("/");
    EXPECT_NE(page.find(Utf8(u8"Dobrý den &lt;b&gt;")), std::string::npos) << page;
    EXPECT_NE(page.find(">scheduled<"), std::string::npos);
    EXPECT_NE(gw.Page("/admin/accounts")
                  .find(R"({"login":"jan","credit":8.50,"nick":"Honza","nick_active":"yes",)"
                        R"("contacts":0})"),
              std::string::npos);
}

TEST(GatewayRestart, DataOutlivesTheServerOnTheSameFile) {
    ScratchDb db;
    const std::string digest = Md5Hex("heslo");
    std::string sid;
    {
        TestGateway gw(db.Path());
        gw.AddAccount("jan", "heslo", 1000);
        gw.Get(AccountTarget("addr_add", "jan", digest, "777123456", "&email=&name=J&surname=N"));
        gw.Get(AccountTarget("send", "jan", digest, "ahoj", "&msisdn=777123456&waitfordelivery=0"));
        sid = gw.Get(InfoLoginRequest("jan", digest).target).sid.value_or("");
    }
    TestGateway gw(db.Path());
    EXPECT_EQ(gw.Get(AccountTarget("info", "jan", digest, "info_message")).credit, 8.5);
    EXPECT_EQ(gw.Get(AccountTarget("addr_list", "jan", digest, "x")).Item(0), "1,777123456,,J,N");
    ASSERT_EQ(gw.storage.Messages().size(), 1u);
    EXPECT_EQ(gw.storage.Messages()[0].text, "ahoj");
    EXPECT_EQ(gw.Get(PortalInfoRequest(sid).target).status, 1);
}

} // namespace
} // namespace server::test
