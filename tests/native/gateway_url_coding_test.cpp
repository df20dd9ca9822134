#include "gateway/UrlCoding.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(UrlEscape, KeepsOnlyAsciiLettersAndDigits) {
    EXPECT_EQ(UrlEscape("Az09"), "Az09");
    EXPECT_EQ(UrlEscape("a b\r\n@"), "a%20b%0D%0A%40");
    EXPECT_EQ(UrlEscape("-_.+%"), "%2D%5F%2E%2B%25");
    EXPECT_EQ(UrlEscape("čŠ\xFF"), "%E8%8A%FF");
    EXPECT_EQ(UrlEscape("x\0y"s), "x%00y");
    EXPECT_EQ(UrlEscape(""), "");
}

TEST(UrlUnescape, DecodesEscapesAnywhereInTheLine) {
    EXPECT_EQ(UrlUnescape("errtext=Chyba%20serveru"), "errtext=Chyba serveru");
    EXPECT_EQ(UrlUnescape("name=%C8ern%E1"), "name=\xC8"
                                             "ern\xE1");
    EXPECT_EQ(UrlUnescape("a=b%0Ac%3Dd+e"), "a=b\nc=d+e");
    EXPECT_EQ(UrlUnescape("%c8%E1"), "\xC8\xE1");
}

TEST(UrlUnescape, MalformedEscapesReadAsStrtolDoes) {
    EXPECT_EQ(UrlUnescape("ab%"), "ab");
    EXPECT_EQ(UrlUnescape("ab%4"), "ab\x04");
    EXPECT_EQ(UrlUnescape("a%zzb"), "a"); // no digits: byte 0, which ends the text
    EXPECT_EQ(UrlUnescape("a%4gb"), "a\x04"
                                    "b"); // leading digit only, both bytes consumed
    EXPECT_EQ(UrlUnescape("a% 9b"), "a\x09"
                                    "b");
    EXPECT_EQ(UrlUnescape("a%-1b"), "a\xFF"
                                    "b");
}

TEST(UrlUnescape, NulEndsTheText) {
    EXPECT_EQ(UrlUnescape("key=va%00lue"), "key=va");
    EXPECT_EQ(UrlUnescape("key=va\0lue"s), "key=va");
    EXPECT_EQ(UrlUnescape("a%4\0bc"s), "a\x04");
    EXPECT_EQ(UrlUnescape(""), "");
}
