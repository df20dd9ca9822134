#include "test_gateway.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace server::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using GatewayFront = GatewayTest;

TEST_F(GatewayFront, ArmedFaultsHitOnlyTheNextRequestsAndCarryNothingOut) {
    const std::string send = AccountTarget("send", "jan", Md5Hex("heslo"), "text",
                                           "&msisdn=777123456&waitfordelivery=0");
    const struct {
        const char* mode;
        int http;
        std::string body;
    } faults[] = {{"http500", 500, "<html><body><h1>500 Internal Server Error</h1>"},
                  {"nostatus", 200, "errtext=Slu%9Eba%20je%20do%E8asn%EC%20nedostupn%E1\n"},
                  {"empty", 200, ""}};
    for (const auto& fault : faults) {
        gw.Page("/admin/fault?count=2&mode=" + std::string(fault.mode));
        for (int i = 0; i < 2; ++i) {
            const Answer failed = gw.Get(send);
            EXPECT_EQ(failed.http, fault.http) << fault.mode;
            EXPECT_TRUE(failed.Text().starts_with(fault.body)) << failed.Text();
            EXPECT_EQ(failed.Text().empty(), fault.body.empty()) << fault.mode;
            EXPECT_EQ(failed.status, -1) << fault.mode;
        }
        EXPECT_EQ(Account("info", "info_message").credit, 10.0) << "the next request is served";
    }
    EXPECT_TRUE(gw.storage.Messages().empty());

    gw.Page("/admin/fault?mode=close");
    const std::string cut = gw.Raw("GET " + send + " HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_NE(cut.find("Content-Length: 64\r\n"), std::string::npos) << cut;
    EXPECT_TRUE(cut.ends_with("\r\n\r\nstat")) << cut;

    gw.Page("/admin/fault?mode=delay&ms=300");
    auto start = Clock::now();
    EXPECT_EQ(gw.Get(send).status, 1);
    EXPECT_GE(Clock::now() - start, 300ms);
    start = Clock::now();
    EXPECT_EQ(Account("info", "info_message").status, 1);
    EXPECT_LT(Clock::now() - start, 300ms);

    gw.Page("/admin/fault?mode=latency&ms=200");
    for (int i = 0; i < 2; ++i) {
        start = Clock::now();
        EXPECT_EQ(Account("info", "info_message").status, 1);
        EXPECT_GE(Clock::now() - start, 200ms);
    }
    gw.Page("/admin/fault?mode=off");
    EXPECT_EQ(gw.faults.State().latency, 0ms);

    for (const char* refused : {"mode=explode", "mode=delay", "mode=close&count=0"}) {
        EXPECT_EQ(gw.Get("/admin/fault?" + std::string(refused)).http, 400) << refused;
    }
    EXPECT_EQ(gw.faults.State().mode, FaultMode::None);
}

TEST_F(GatewayFront, KeepAliveClientUsesOneConnectionWithoutNagleDelays) {
    {
        httplib::Client client("127.0.0.1", gw.port);
        client.set_keep_alive(true);
        client.set_url_encode(false);
        const std::string target = AccountTarget("info", "jan", Md5Hex("heslo"), "info_message");
        const auto start = Clock::now();
        for (int i = 0; i < 50; ++i) {
            const auto result = client.Get(target.c_str());
            ASSERT_TRUE(result);
            ASSERT_EQ(result->body.rfind("status=1\n", 0), 0u);
        }
        // Nagle's algorithm against delayed acknowledgements costs ~40 ms a request.
        EXPECT_LT(Clock::now() - start, 1500ms);
        EXPECT_EQ(client.Get("/admin/connections")->body, "{\"accepted\":1}\n");
    }
    EXPECT_EQ(gw.Page("/admin/connections"), "{\"accepted\":2}\n");
}

TEST_F(GatewayFront, SecondServerCannotTakeABusyPort) {
    HttpFront other(gw.gateway, gw.storage, gw.faults);
    EXPECT_FALSE(other.Bind("127.0.0.1", gw.port).has_value());
}

TEST_F(GatewayFront, PagesShowMessagesAndAccountsInUtf8) {
    const std::string later = "2099-01-01 12:00:00";
    Account("send", "Dobrý den <b>",
            "&msisdn=777123456&waitfordelivery=0&delay=" + ::UrlEscape(later));
    Account("addr_add", "777123456", "&email=&name=Ji%F8%ED&surname=Kr%E1l");

    const std::string page = gw.Page("/");
    EXPECT_NE(page.find(Utf8(u8"<title>Odeslané zprávy</title>")), std::string::npos);
    EXPECT_NE(page.find(Utf8(u8"Dobrý den &lt;b&gt;")), std::string::npos) << page;
    EXPECT_NE(page.find(later), std::string::npos);
    EXPECT_NE(page.find(">scheduled<"), std::string::npos);

    EXPECT_NE(gw.Page("/admin/accounts")
                  .find("{\"login\":\"jan\",\"credit\":8.50,\"nick\":\"Honza\",\"nick_active\":"
                        "\"yes\",\"contacts\":1}"),
              std::string::npos);
}

TEST_F(GatewayFront, AddressBooksShowAsStoredFormsAndAShortListCanBeArmed) {
    for (const char* name : {"Ji%F8%ED", "Eva"}) {
        gw.Get(AccountTarget("addr_add", "jan", Md5Hex("heslo"), "777123456",
                             std::string("&email=&name=") + name + "&surname=Kr%E1l"));
    }
    EXPECT_EQ(gw.Page("/admin/contacts?login=jan"),
              Utf8(u8"[\n{\"id\":1,\"stored\":\"1,777123456,,Jiří,Král\"},"
                   u8"\n{\"id\":2,\"stored\":\"2,777123456,,Eva,Král\"}\n]\n"));
    EXPECT_EQ(httplib::Client("127.0.0.1", gw.port).Get("/admin/contacts")->status, 400);

    const std::string list = AccountTarget("addr_list", "jan", Md5Hex("heslo"), "");
    gw.Page("/admin/fault?mode=shortlist");
    Answer shortList = gw.Get(list);
    EXPECT_EQ(shortList.items, 3);
    EXPECT_EQ(shortList.Item(2), std::nullopt);
    EXPECT_EQ(shortList.Item(1), "2,777123456,,Eva,Král");
    EXPECT_EQ(gw.Get(list).items, 2);
}

TEST(GatewayRestart, DataOutlivesTheServerOnTheSameFile) {
    ScratchDb db;
    int contact = 0;
    std::string sid;
    {
        TestGateway gw(db.Path());
        gw.AddAccount("jan", "heslo", 1000);
        contact = gw.Get(AccountTarget("addr_add", "jan", Md5Hex("heslo"), "777123456",
                                       "&email=&name=Jan&surname=N"))
                      .id;
        ASSERT_EQ(gw.Get(AccountTarget("send", "jan", Md5Hex("heslo"), "ahoj",
                                       "&msisdn=777123456&waitfordelivery=0"))
                      .status,
                  1);
        sid = gw.Get(InfoLoginRequest("jan", Md5Hex("heslo")).target).sid.value_or("");
    }
    TestGateway gw(db.Path());
    EXPECT_EQ(gw.Get(AccountTarget("info", "jan", Md5Hex("heslo"), "info_message")).credit, 8.5);
    EXPECT_EQ(gw.Get(AccountTarget("addr_list", "jan", Md5Hex("heslo"), "x")).Item(0),
              std::to_string(contact) + ",777123456,,Jan,N");
    ASSERT_EQ(gw.storage.Messages().size(), 1u);
    EXPECT_EQ(gw.storage.Messages()[0].text, "ahoj");
    EXPECT_EQ(gw.Get(PortalInfoRequest(sid).target).status, 1);
}

TEST(GatewayCommandLine, PrintsItsPortAndServesTheSeededAccount) {
    ScratchDb db;
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    // The password is typed in UTF-8 but must hash as the toolbar's Windows-1250 bytes.
    const std::string account =
        std::string("jan:") + reinterpret_cast<const char*>(u8"heslíčko") + ":12.5:Honza:no";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(TEXTARO_GATEWAY_EXE, TEXTARO_GATEWAY_EXE, "--port", "0", "--db", db.Path().c_str(),
              "--price", "2", "--account", account.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    FILE* stream = fdopen(out[0], "r");
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, stream), nullptr);
    std::cmatch match;
    ASSERT_TRUE(std::regex_match(line, match, std::regex("listening on 127\\.0\\.0\\.1:(\\d+)\n")))
        << line;

    httplib::Client client("127.0.0.1", std::stoi(match[1]));
    client.set_url_encode(false);
    const std::string digest = Md5Hex("heslíčko");
    const auto info = client.Get(AccountTarget("info", "jan", digest, "info_message").c_str());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->body, "status=1\ncredit=12%2E50\nnick=Honza\nnick_active=no\n");
    const auto sent = client.Get(
        AccountTarget("send", "jan", digest, "x", "&msisdn=777123456&waitfordelivery=0").c_str());
    ASSERT_TRUE(sent);
    EXPECT_NE(sent->body.find("price=2%2E00\n"), std::string::npos) << sent->body;

    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    std::fclose(stream);
}

} // namespace
} // namespace server::test
