#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"
#include "tests/win/TestSupport.h"

#include <atomic>

// An account the fixture seeds on the server, with a nickname.
const std::string Login = "jana";
const std::string Password = Md5Hex("heslo");

class Gateway : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(client.Connect()); }
    void TearDown() override { HttpPost(address, "/admin/fault?mode=off"); }

    std::string address = GatewayAddressText();
    GatewayClient client{ParseGatewayAddress(address)};
};

// The successes go through the real toolbar in send_test and menu_test.
TEST_F(Gateway, RefusalsCarryTheServersReason) {
    const std::string wrong = Md5Hex("spatne");
    for (const GatewayReply& reply :
         {client.Info(Login, wrong), client.Send({Login, wrong, "x", "777123456"}),
          client.InfoLogin(Login, wrong), client.AddrList(Login, wrong)}) {
        EXPECT_TRUE(reply.status != 1 && reply.status != -1) << reply.status << ": a refusal";
        EXPECT_FALSE(reply.FailureText().empty()) << "the server's reason reaches the caller";
        EXPECT_EQ("", reply.lastError) << reply.FailureText();
    }
}

TEST_F(Gateway, LongBodyIsJoinedByteForByte) {
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_EQ(1, client
                         .AddrAdd(Login, Password, "60000" + n, "k" + n + "@example.cz",
                                  "Kontakt číslo " + n, "Příjmení " + n)
                         .status);
    }
    GatewayReply listed = client.AddrList(Login, Password);
    ASSERT_GT(listed.Body().value_or("").size(), 3 * 1024u) << "the body spans several reads";
    EXPECT_EQ(HttpGet(address, AddrListRequest(Login, Password).target), *listed.Body());
    EXPECT_GE(listed.items, 40);
}

// Only a failure of the transport has a text; a request that cannot be opened sends nothing. A
// body without end is given up past its cap, a trickle of bytes at the request's deadline.
TEST_F(Gateway, FaultyRepliesFailWithTheirStageText) {
    for (const auto& [mode, lastError] : {std::pair{"http500", ""},
                                          {"nostatus", ""},
                                          {"empty", ""},
                                          {"close", "Nepodařilo se načíst data"},
                                          {"endless", "Nepodařilo se načíst data"},
                                          {"trickle&ms=2000", "Nepodařilo se načíst data"}}) {
        HttpPost(address, std::string("/admin/fault?count=1&mode=") + mode);
        const DWORD start = GetTickCount();
        GatewayReply reply = client.AddrList(Login, Password);
        EXPECT_EQ(std::tuple(-1, std::string(lastError)), std::tuple(reply.status, reply.lastError))
            << mode;
        EXPECT_LT(GetTickCount() - start, 23000u) << mode;
    }
    GatewayReply after = client.Info(Login, Password);
    EXPECT_EQ(std::tuple(1, ""), std::tuple(after.status, after.lastError)) << "starts clean";

    const std::string before = HttpGet(address, "/admin/connections");
    GatewayClient unconnected(GatewayAddress{"", 80});
    EXPECT_FALSE(unconnected.Connect());
    GatewayReply unopened = unconnected.Info(Login, Password);
    EXPECT_EQ(std::tuple(-1, "Nepodařilo se otevřít požadavek"),
              std::tuple(unopened.status, unopened.lastError));
    EXPECT_EQ(before, HttpGet(address, "/admin/connections")) << "nothing was sent";
}

// Callers on two threads each get the outcome of their own request. A request asked for while
// another runs waits for that one only, however many more a busy thread asks for meanwhile; the
// portal visit is read without waiting at all.
TEST_F(Gateway, ConcurrentCallersTakeTurnsAndEachGetTheirOwnOutcome) {
    std::atomic<int> mixedUp{0};
    std::jthread busy([&](const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            const GatewayReply list = client.AddrList(Login, Password);
            mixedUp += list.status != 1 || list.nick || !list.Body() ||
                       list.Body()->find("items=") == std::string::npos;
        }
    });
    for (int i = 0; i < 40; ++i) {
        const GatewayReply info = client.Info(Login, Password);
        mixedUp += info.status != 1 || info.nick != "Jana" ||
                   info.Body()->find("items=") != std::string::npos;
    }
    HttpPost(address, "/admin/fault?mode=latency&ms=200");
    const int before = Requests("app_api.addr_list");
    ASSERT_TRUE(WaitFor([&] { return Requests("app_api.addr_list") >= before + 2; }));
    DWORD reading = 0;
    for (int i = 0; i < 3; ++i, Sleep(70)) {
        const DWORD start = GetTickCount();
        client.Session();
        reading += GetTickCount() - start;
    }
    EXPECT_LT(reading, 60u) << "three reads of the visit, in ms";
    const int asked = Requests("app_api.addr_list");
    EXPECT_EQ(1, client.Info(Login, Password).status);
    EXPECT_LE(Requests("app_api.addr_list") - asked, 2) << "lists that went first";
    EXPECT_EQ(0, mixedUp.load());
}
