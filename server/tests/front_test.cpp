#include "test_gateway.h"

// The fault modes as the toolbar meets them, /admin/contacts and its short list are driven by the
// Wine tests (gateway_client_test, menu_test, contacts_test); here what those cannot see.
namespace server::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using GatewayFront = GatewayTest;

TEST_F(GatewayFront, ArmedFaultsHitOnlyTheCountedRequestsAndStoreNothing) {
    // A reply given by the test goes out byte for byte, its own escapes untouched.
    const std::string told = "status=1\ncredit=10.00\nnick=x%0D%0A%5BCONTACTS%5D\n";
    const std::tuple<std::string, int, int> faults[] = {
        {"mode=http500", 500, -1},
        {"mode=nostatus", 200, -1},
        {"mode=empty", 200, -1},
        {"mode=reply&body=" + ::UrlEscape(told), 200, 1}};
    for (const auto& [arm, http, status] : faults) {
        gw.Post("/admin/fault", "count=2&" + arm);
        for (int i = 0; i < 2; ++i) {
            const Answer failed = gw.Send("text");
            EXPECT_EQ(std::tie(failed.http, failed.status), std::tuple(http, status)) << arm;
            EXPECT_EQ(failed.Text() == told, status == 1) << arm;
        }
        EXPECT_EQ(gw.Credit(), 10.0) << "the next request is served";
    }
    EXPECT_TRUE(gw.storage.Messages().empty());

    // A delay holds one request; a latency every request until turned off.
    for (const auto& [arm, lasting] :
         {std::pair("mode=delay&ms=300", false), {"mode=latency&ms=300", true}}) {
        gw.Post("/admin/fault?" + std::string(arm));
        for (const bool slow : {true, lasting}) {
            const auto start = Clock::now();
            EXPECT_EQ(gw.Send("text").status, 1);
            EXPECT_EQ(Clock::now() - start >= 300ms, slow) << arm;
        }
    }
    gw.Post("/admin/fault?mode=off");
    EXPECT_EQ(gw.faults.State().latency, 0ms);
    for (const char* refused : {"mode=explode", "mode=delay", "mode=close&count=0", "mode=reply"}) {
        EXPECT_EQ(gw.Post("/admin/fault?" + std::string(refused)).http, 400) << refused;
    }
    // Read-only views answer a link; a change needs a form.
    EXPECT_EQ(gw.Get("/admin/fault?mode=http500").http, 405);
    EXPECT_EQ(gw.faults.State().mode, FaultMode::None);
}

// A reply without end or one byte at a time lasts until the client leaves or the server stops;
// other clients are served meanwhile.
TEST_F(GatewayFront, EndlessAndTrickledRepliesLastUntilTheClientLeaves) {
    const std::string info = AccountTarget("info", "info_message");
    httplib::Client client = gw.Client();
    std::string body;
    int served = 0;
    const auto read = [&](const char* data, std::size_t size) {
        body.append(data, size);
        // After 1 MiB another client is served, and this one leaves.
        return body.size() < (1u << 20) || (served = gw.Get(info).status, false);
    };
    gw.Post("/admin/fault?mode=endless");
    EXPECT_FALSE(client.Get(info.c_str(), read));
    EXPECT_EQ(served, 1);
    EXPECT_TRUE(body.starts_with("status=1\nx=yyyy")) << body.substr(0, 20);

    gw.Post("/admin/fault?mode=trickle&ms=30");
    body.clear();
    const auto start = Clock::now();
    ASSERT_TRUE(client.Get(info.c_str(), read));
    EXPECT_EQ(body, gw.Get(info).Text());
    EXPECT_GE(Clock::now() - start, (body.size() - 1) * 30ms);

    gw.Post("/admin/fault?mode=trickle&ms=5000");
    std::atomic<bool> begun = false;
    std::thread reader(
        [&] { client.Get(info.c_str(), [&](const char*, std::size_t) { return begun = true; }); });
    while (!begun) {
        std::this_thread::sleep_for(1ms);
    }
    const auto stopping = Clock::now();
    gw.front.Stop();
    EXPECT_LT(Clock::now() - stopping, 1s);
    reader.join();
}

// Without SO_REUSEPORT a second gateway on the port would take half of the requests.
TEST_F(GatewayFront, KeepAliveClientUsesOneConnectionOfOneServerWithoutNagleDelays) {
    HttpFront other(gw.gateway, gw.storage, gw.faults);
    EXPECT_FALSE(other.Bind("127.0.0.1", gw.port).has_value());
    httplib::Client client = gw.Client();
    client.set_keep_alive(true);
    const auto start = Clock::now();
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(client.Get(AccountTarget("info", "info_message")));
    }
    // Nagle's algorithm against delayed acknowledgements costs ~40 ms a request.
    EXPECT_LT(Clock::now() - start, 1500ms);
    EXPECT_EQ(client.Get("/admin/connections")->body, "{\"accepted\":1}\n");
}

TEST(GatewayRestart, DataOutlivesTheServerOnTheSameFile) {
    ScratchDb db;
    std::string sid;
    {
        TestGateway gw(db.path);
        gw.AddAccount("jan", "heslo", 1000);
        gw.Account("addr_add", "777123456", "&email=&name=J&surname=N");
        gw.Send("ahoj");
        sid = gw.SignIn();
    }
    TestGateway gw(db.path);
    EXPECT_EQ(gw.Credit(), 8.5);
    EXPECT_EQ(StoredForm(gw.storage.Contacts("jan").at(0)), "1,777123456,,J,N");
    ASSERT_EQ(gw.storage.Messages().size(), 1u);
    EXPECT_EQ(gw.storage.Messages()[0].text, "ahoj");
    EXPECT_EQ(gw.Get(PortalInfoRequest(sid).target).status, 1);
}

// Signing in, the pages' links and signing out are driven through the toolbar by menu_test.
using PortalPages = GatewayTest;

// The pages a person reads: a message's text is shown, never run as markup; a visit sees only its
// own account; the admin pages see every account as sent.
TEST_F(PortalPages, PagesShowTheTextAsTextAndAVisitOnlyItsOwnAccount) {
    gw.Send("Dobrý den <b>", "&delay=" + ::UrlEscape("2099-01-01 12:00:00"));
    gw.Account("send", "Cizí zpráva", kTo, "eva", "tajne");
    const std::string sid = gw.SignIn();
    const std::string html = gw.Visit(sid, "history");
    EXPECT_TRUE(Shows(html, "<td>Dobrý den &lt;b&gt;</td>")) << html;
    EXPECT_TRUE(Shows(html, "Účet <b>jan</b>, kredit <b>8.50 Kč</b>"));
    EXPECT_TRUE(Shows(html, "verze 1.0.76"));
    EXPECT_FALSE(Shows(html, "Cizí zpráva"));
    const std::string admin = gw.Get("/").Text();
    EXPECT_TRUE(Shows(admin, "<td>Dobrý den &lt;b&gt;</td>")) << admin;
    EXPECT_TRUE(Shows(admin, ">scheduled<"));
    EXPECT_TRUE(Shows(gw.Get("/admin/accounts").Text(),
                      R"({"login":"jan","credit":8.50,"nick":"Honza","nick_active":"yes",)"
                      R"("contacts":0})"));
    EXPECT_TRUE(Shows(gw.Visit(sid, "nick"), "name=\"nick\" maxlength=\"20\" value=\"Honza\""));
    EXPECT_TRUE(Shows(gw.Visit("&<x>", "history"), "<h1>Přihlášení vypršelo</h1>"));
    EXPECT_TRUE(Shows(gw.Get("/?index.xp").Text(), "Vítejte na portálu Textaro"));
}

// A nickname out of the code page, or with a control character, is refused and the one before kept.
TEST_F(PortalPages, NickFormSetsWhatInfoReports) {
    const std::string sid = gw.SignIn();
    const std::tuple<const char*, const char*, const char*> forms[] = {
        {"nick=Hon%C3%ADk&active=yes", "yes", "Přezdívka byla uložena."},
        {"nick=Hon%C3%ADk", "no", "Přezdívka byla uložena."},
        {"nick=%E2%98%BA&active=yes", "no", "smí mít nejvýše 20 znaků"},
        {"nick=x%0D%0A%5BCONTACTS%5D&active=yes", "no", "nesmí obsahovat řídicí znaky"},
        {"nick=x%7F&active=yes", "no", "nesmí obsahovat řídicí znaky"},
    };
    for (const auto& [form, active, note] : forms) {
        const Answer page = gw.Post("/index.xp?sid=" + sid + "&action=nick", form);
        EXPECT_TRUE(Shows(page.Text(), note)) << form;
        const Answer info = gw.Account("info", "info_message");
        EXPECT_EQ(std::tie(info.nick, info.nick_active), std::tuple("Honík", active)) << form;
    }
}

} // namespace
} // namespace server::test
