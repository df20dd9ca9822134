#include "gateway/GatewayAddress.h"
#include "gateway/GatewayReply.h"
#include "gateway/Md5.h"
#include "gateway/UrlCoding.h"
#include "menu/PortalLinks.h"
#include "store/DraftText.h"
#include "text/LineBreaks.h"

#include <gtest/gtest.h>

// That walking the items gives what a parse of the whole body gives, reply_fuzzer holds; that a
// new request keeps only the portal visit, gateway_client_test.

namespace {

using namespace std::string_literals;

GatewayReply Parsed(std::string_view body) {
    GatewayReply reply;
    reply.SetBody(std::string(body));
    return reply;
}

TEST(ParseReply, KeysNumbersAndLineStructure) {
    GatewayReply reply = Parsed("status=1\ncredit=125.50\nprice= 1.5x\nparts=-2\nitems=3\nid=+17\n"
                                "errcode=4294967296\nerrtext=Chyba%20serveru\nname=%C8en%E1k\n"
                                "sid=a=b\nnick=Petr\nnick_active=yes\nunknown=1\n");
    EXPECT_EQ(std::tie(reply.status, reply.credit, reply.price, reply.parts, reply.items, reply.id,
                       reply.errcode),
              std::tuple(1, 125.5, 1.5, -2, 3, 17, 2147483647));
    EXPECT_EQ(std::tie(reply.errtext, reply.name, reply.sid, reply.nick, reply.nick_active),
              std::tuple("Chyba serveru", "\310en\341k", "a=b", "Petr", "yes"));
    EXPECT_EQ(reply.login, std::nullopt);

    // The last line may lack its LF.
    const std::pair<const char*, int> statuses[] = {
        {"1\n", 1},   {"0\n", 0},          {"12\n", -1},        {"1\r\n", -1},
        {"%31\n", 1}, {"status=1\r\n", 1}, {"status\n=\n", -1}, {"status=0\nstatus=1", 0},
    };
    for (const auto& [body, status] : statuses) {
        EXPECT_EQ(Parsed(body).status, status) << body;
    }
    EXPECT_EQ(Parsed("status=0\n"s + '\0' + "status=1\n").status, 0); // NUL ends the body
    EXPECT_EQ(Parsed("errtext=x\r\n").errtext, "x\r");
    EXPECT_EQ(Parsed("nick=a\nnick=b\n").nick, "b");
    EXPECT_EQ(Parsed("nick=a\nnick=x%0D%0A%5BCONTACTS%5D\n").nick, std::nullopt) << "no line break";
    EXPECT_EQ(Parsed("nick=Tab%09\n").nick, std::nullopt);
    EXPECT_EQ(Parsed("errtext=dva%0Ar%E1dky%3D\n").errtext, "dva\nr\341dky=");
    EXPECT_EQ(Parsed("errtext=a%00b\n").errtext, "a");
    EXPECT_EQ(Parsed("=empty key\n").itemValue, "empty key");
    const std::string text(5000, 'x');
    EXPECT_EQ(Parsed("errtext=" + text + "\nstatus=0\n").errtext, text) << "a long line is whole";
}

TEST(GatewayReply, FailureText) {
    GatewayReply reply;
    reply.lastError = "Nepodařilo se poslat požadavek";
    EXPECT_FALSE(reply.Succeeded());
    EXPECT_EQ(reply.FailureText(), "Nepodařilo se poslat požadavek");
    reply.ParseReply("status=0\n");
    EXPECT_EQ(reply.FailureText(), "");
    reply.ParseReply("errtext=Nedostatek kreditu\n"); // keeps the status it does not mention
    EXPECT_EQ(reply.FailureText(), "Nedostatek kreditu");
}

TEST(SelectItem, HitsMissesAndCopiesThatShareNothing) {
    GatewayReply reply = Parsed("status=1\nitems=3\nitem_0=1,+420601,,Jan,Nov%E1k\n"
                                "item_1=2,+420602,a@b.cz,Eva,Mal%E1\nitem_2=3,,,,\nitem_1=late\n");
    reply.status = 42;      // the body sets it again
    reply.errtext = "kept"; // the body does not set it
    for (const auto& [item, value] :
         {std::pair(2, "3,,,,"s), {7, "3,,,,"}, {1, "late"}, {0, "1,+420601,,Jan,Nov\xE1k"}}) {
        reply.SelectItem(item);
        EXPECT_EQ(reply.itemValue, value) << item;
    }
    EXPECT_EQ(std::tie(reply.ItemKey(), reply.status, reply.errtext),
              std::tuple("item_0", 1, "kept"));

    GatewayReply copy = reply;
    reply.SetBody("item_0=new\n");
    copy.SelectItem(2);
    EXPECT_EQ(copy.itemValue, "3,,,,");
    reply.SelectItem(0);
    EXPECT_EQ(reply.itemValue, "new");
}

// Escapes, digests, draft values, the box's line breaks and the portal's home. A '%' takes the
// next two bytes, whatever they are; a NUL, written or escaped, ends the text. The usual escapes
// show in gateway_requests_test's targets; marks typed in the box go out as CR LF in send_test.
TEST(TextFunctions, EachGivesItsResult) {
    const std::tuple<std::string (*)(std::string_view), std::string, std::string> cases[] = {
        {UrlEscape, "%\xFF\0"s, "%25%FF%00"},
        {UrlUnescape, "%c8%E1+", "\xC8\xE1+"},
        {UrlUnescape, "ab%", "ab"},
        {UrlUnescape, "a%zzb", "a"},
        {UrlUnescape, "a%4gb", "a\004b"},
        {UrlUnescape, "a% 9b", "a\011b"},
        {UrlUnescape, "a%-1b", "a\377b"},
        {UrlUnescape, "a%4\0bc"s, "a\004"},
        {Md5Hex, "", "d41d8cd98f00b204e9800998ecf8427e"},
        {Md5Hex, std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
        {Md5Hex, "Příliš žluťoučký kůň", "ce11a458ec58da96d08601be7898b729"},
        {DecodeDraftValue, "plain", "plain"},
        {DecodeDraftValue, "a\\qb\\q", "a\"b\""},
        {DecodeDraftValue, "konec\\", "konec\\"},
        {DecodeDraftValue, "\\x\\\\n", "\\x\\n"},
        {DecodeDraftValue, "\"", "\""},
        {MessageToBoxText, "a\r\n\r\nb\nc\r", "a¶¶b¶c¶"},
        {PortalHomeLink, "http://127.0.0.1:8080/portal/", "http://127.0.0.1:8080?index.xp"}};
    for (const auto& [function, text, result] : cases) {
        EXPECT_EQ(result, function(text)) << text.substr(0, 80);
    }
}

TEST(GatewayAddressText, TheHostIsAllBeforeTheLastColonAndAPortOutOfRangeReadsAs80) {
    const std::tuple<const char*, const char*, int> addresses[] = {{"gate.cz", "gate.cz", 80},
                                                                   {"gate.cz:", "gate.cz", 80},
                                                                   {"gate.cz:0", "gate.cz", 80},
                                                                   {"gate.cz:65536", "gate.cz", 80},
                                                                   {"gate.cz:12ab", "gate.cz", 80},
                                                                   {"gate.cz:-1", "gate.cz", 80},
                                                                   {"gate.cz:1", "gate.cz", 1},
                                                                   {"a:b:65535", "a:b", 65535},
                                                                   {":8080", "", 8080}};
    for (const auto& [text, host, port] : addresses) {
        const GatewayAddress address = ParseGatewayAddress(text);
        EXPECT_EQ(std::tie(address.host, address.port), std::tuple(host, port)) << text;
    }
}

} // namespace
