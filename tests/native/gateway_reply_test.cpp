#include "gateway/GatewayReply.h"
#include "gateway_reply_fields.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

GatewayReply Parsed(std::string_view body) {
    GatewayReply reply;
    reply.SetBody(std::string(body));
    return reply;
}

} // namespace

TEST(ParseReply, KeysAndNumbers) {
    GatewayReply reply = Parsed("status=1\ncredit=125.50\nprice= 1.5x\nparts=-2\nitems=3\nid=+17\n"
                                "errcode=4294967296\nerrtext=Chyba%20serveru\nname=%C8en%E1k\n"
                                "sid=a=b\nnick=Petr\nnick_active=yes\nunknown=1\n");
    EXPECT_EQ(reply.status, 1);
    EXPECT_EQ(reply.credit, 125.5);
    EXPECT_EQ(reply.price, 1.5);
    EXPECT_EQ(reply.parts, -2);
    EXPECT_EQ(reply.items, 3);
    EXPECT_EQ(reply.id, 17);
    EXPECT_EQ(reply.errcode, 2147483647);
    EXPECT_EQ(reply.errtext, "Chyba serveru");
    EXPECT_EQ(reply.name, "\xC8"
                          "en\xE1k");
    EXPECT_EQ(reply.sid, "a=b");
    EXPECT_EQ(reply.nick, "Petr");
    EXPECT_EQ(reply.nick_active, "yes");
    EXPECT_EQ(reply.login, std::nullopt);
    EXPECT_TRUE(reply.Succeeded());
}

TEST(ParseReply, LineStructure) {
    EXPECT_EQ(Parsed("1\n").status, 1);
    EXPECT_EQ(Parsed("0\n").status, 0);
    EXPECT_EQ(Parsed("12\n").status, -1);
    EXPECT_EQ(Parsed("1\r\n").status, -1);
    EXPECT_EQ(Parsed("%31\n").status, 1);
    EXPECT_EQ(Parsed("status=1\r\n").status, 1);
    EXPECT_EQ(Parsed("errtext=x\r\n").errtext, "x\r");
    EXPECT_EQ(Parsed("status=0\nstatus=1").status, 0);                // last line lacks its LF
    EXPECT_EQ(Parsed("status=0\n"s + '\0' + "status=1\n").status, 0); // NUL ends the body
    EXPECT_EQ(Parsed("nick=a\nnick=b\n").nick, "b");
    EXPECT_EQ(Parsed("errtext=dva%0Ar%E1dky%3D\n").errtext, "dva\nr\xE1"
                                                            "dky=");
    EXPECT_EQ(Parsed("errtext=a%00b\n").errtext, "a");
    EXPECT_EQ(Parsed("=empty key\n").itemValue, "empty key");
    EXPECT_EQ(Parsed("status\n=\n").status, -1);
}

TEST(ParseReply, LongLinesAreParsedWhole) {
    std::string text(5000, 'x');
    EXPECT_EQ(Parsed("errtext=" + text + "\nstatus=0\n").errtext, text);
}

TEST(GatewayReply, ResetKeepsOnlySid) {
    GatewayReply reply = Parsed("status=1\ncredit=3\nsid=abc\nnick=Petr\nitem_0=x\n");
    reply.SelectItem(0);
    reply.lastError = "Nepodařilo se otevřít požadavek";
    reply.ResetReply();
    GatewayReply expected;
    expected.sid = "abc";
    EXPECT_EQ(ReadableFields(reply), ReadableFields(expected));
    EXPECT_EQ(reply.Body(), std::nullopt);
    reply.SelectItem(0); // no body: nothing to walk
    EXPECT_EQ(reply.itemValue, std::nullopt);
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

TEST(SelectItem, HitsAndMisses) {
    GatewayReply reply = Parsed("status=1\nitems=3\nitem_0=1,+420601,,Jan,Nov%E1k\n"
                                "item_1=2,+420602,a@b.cz,Eva,Mal%E1\nitem_2=3,,,,\nitem_1=late\n");
    reply.SelectItem(2);
    EXPECT_EQ(reply.ItemKey(), "item_2");
    EXPECT_EQ(reply.itemValue, "3,,,,");
    reply.SelectItem(7);
    EXPECT_EQ(reply.itemValue, "3,,,,");
    reply.SelectItem(1);
    EXPECT_EQ(reply.itemValue, "late");
    reply.SelectItem(0);
    EXPECT_EQ(reply.itemValue, "1,+420601,,Jan,Nov\xE1k");
}

// SelectItem answers from an index of the body; it must give what parsing the whole body again
// with the new item key gives, including the fields a caller changed in between.
TEST(SelectItem, MatchesAParseOfTheWholeBody) {
    const std::string body = "=first\nstatus=1\nitems=4\nitem_0=a\nitem_1=b\nitem_3=%64\n"
                             "item_status=x\n0\nitem_1=b2\nsid=s1\ncredit=7.25\ntail=1";
    GatewayReply indexed;
    indexed.SetBody(body);
    GatewayReply reparsed;
    reparsed.ParseReply(body);
    for (int n : {0, 1, 2, 3, 1, -1, 0}) {
        indexed.status = reparsed.status = 42;
        indexed.errtext = reparsed.errtext = "kept";
        indexed.SelectItem(n);
        reparsed.SelectItem(n); // no body of its own: only takes the key
        reparsed.ParseReply(body);
        EXPECT_EQ(ReadableFields(indexed), ReadableFields(reparsed)) << "item " << n;
    }
    EXPECT_EQ(indexed.status, 0);

    GatewayReply copy = indexed;
    indexed.SetBody("item_0=new\n");
    copy.SelectItem(3);
    EXPECT_EQ(copy.itemValue, "d");
    indexed.SelectItem(0);
    EXPECT_EQ(indexed.itemValue, "new");
}
