#include "options.h"
#include "sms_parts.h"
#include "test_gateway.h"
#include "toolbar/SmsCounter.h"

#include <iterator>
#include <sstream>

namespace server::test {
namespace {

TEST(GatewayCp1250, ConvertsBothWays) {
    const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy ĚŠČŘŽÝÁÍÉŮÚŤĎŇ €„“";
    const std::string utf8 = reinterpret_cast<const char*>(
        u8"Příliš žluťoučký kůň úpěl ďábelské ódy ĚŠČŘŽÝÁÍÉŮÚŤĎŇ €„“");
    EXPECT_EQ(Cp1250ToUtf8(czech), utf8);
    EXPECT_EQ(Utf8ToCp1250(utf8), czech);
    EXPECT_EQ(Cp1250ToUtf8("\x81"), "\xEF\xBF\xBD"); // U+FFFD
    // U+4E2D, a character Windows-1250 lacks.
    EXPECT_FALSE(Utf8ToCp1250("\xE4\xB8\xAD").has_value());
    EXPECT_FALSE(Utf8ToCp1250("\xC3").has_value());
    EXPECT_FALSE(Utf8ToCp1250("\xC0\xA1").has_value());
}

TEST(GatewayMoney, ParsesHundredthsAndFormatsThem) {
    EXPECT_EQ(std::tuple(ParseMoney("125.50"), ParseMoney("125.5"), ParseMoney("0")),
              std::tuple(12550, 12550, 0));
    for (const char* bad : {"", "1.505", "-1", "1.", ".5", "1,5", "12a", "99999999999"}) {
        EXPECT_FALSE(ParseMoney(bad).has_value()) << bad;
    }
    EXPECT_EQ(FormatMoney(5), "0.05");
}

// The toolbar's counter has the worked values; the charge must never differ from what it shows.
TEST(GatewaySmsParts, MatchesTheToolbarCounter) {
    for (std::size_t text = 1; text < 480; ++text) {
        for (std::size_t nick = 0; nick <= 20; ++nick) {
            const auto shown = CountSms(std::string(text, 'a'), std::string(nick, 'n')).parts;
            ASSERT_EQ(SmsParts(text, nick), static_cast<int>(shown)) << text << "+" << nick;
        }
    }
}

TEST(GatewayOptions, ReadsAccountsAndRefusesNonsense) {
    const Options options =
        ParseOptions({"--port=0", "--price", "0.9", "--account", "jan:heslo:100:Honza", "--account",
                      Cp1250ToUtf8("jiří:heslíčko:0.5:Jíra:no"), "--session-ttl", "5"});
    EXPECT_EQ(std::tuple(options.port, options.price, options.sessionTtl),
              std::tuple(0, 90, std::chrono::seconds(5)));
    ASSERT_EQ(options.accounts.size(), 2u);
    EXPECT_EQ(std::tie(options.accounts[0].credit, options.accounts[0].nickActive),
              std::tuple(10000, true));
    // Typed in UTF-8, the password must hash as the toolbar's Windows-1250 bytes.
    const Account& jiri = options.accounts[1];
    EXPECT_EQ(std::tie(jiri.login, jiri.passwordDigest, jiri.credit, jiri.nick, jiri.nickActive),
              std::tuple("jiří", Md5Hex("heslíčko"), 50, "Jíra", false));

    for (const char* bad : {"--port 70000", "--port", "--colour red", "--account jan:heslo",
                            "--account jan:heslo:abc", "--account jan:heslo:1:N:maybe",
                            "--account jan:\xE4\xB8\xAD:1", "--bind 0.0.0.0", "--bind 192.168.1.5",
                            "--bind example.org"}) {
        std::istringstream words(bad);
        const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        EXPECT_THROW(ParseOptions(args), std::invalid_argument) << bad;
    }
    // The admin pages show every account: the network gets them only when asked for.
    for (const char* loopback : {"127.0.0.2", "::1", "localhost"}) {
        EXPECT_EQ(ParseOptions({"--bind", loopback}).bind, loopback);
    }
    EXPECT_TRUE(ParseOptions({"--bind", "0.0.0.0", "--expose-admin"}).exposeAdmin);
}

} // namespace
} // namespace server::test
