#include "toolbar/SmsCounter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// T = text + nickname (an empty nickname counts 1): up to 159 one SMS of T + 1 characters,
// beyond that parts of 155 that count 5 more characters each.
TEST(SmsCounter, CharactersAndPartsOfTextAndNickname) {
    const struct {
        std::string text, nick;
        std::size_t characters, parts;
    } rows[] = {
        {std::string(96, 'a'), "Jana", 101, 1},
        {std::string(155, 'a'), "Jana", 160, 1},
        {std::string(156, 'a'), "Jana", 170, 2},
        {std::string(306, 'a'), "Jana", 320, 2},
        {std::string(307, 'a'), "Jana", 326, 3},
        {"a", "", 3, 1},
        {"a", "Petr.", 7, 1},
        // Czech letters are one byte each in the system's code page; a line break mark or its
        // CR LF count 2.
        {"žluťoučký", "Jiří", 14, 1},
        {"¶", "", 4, 1},
        {"ab\r\ncd", "", 8, 1},
        {std::string(79, '\xB6'), "", 160, 1},
        {std::string(79, '\xB6') + "x", "", 170, 2},
    };
    for (const auto& row : rows) {
        const SmsCount count = CountSms(row.text, row.nick);
        EXPECT_EQ(row.characters, count.characters) << row.text << " / " << row.nick;
        EXPECT_EQ(row.parts, count.parts) << row.text << " / " << row.nick;
    }
}

TEST(SmsCounter, LabelTextForEmptyAndTypedBoxes) {
    EXPECT_EQ("0 zn.,\n0 SMS", CounterText("", "Jana"));
    EXPECT_EQ("0 zn.,\n0 SMS", CounterText("", ""));
    EXPECT_EQ("170 zn.,\n2 SMS", CounterText(std::string(156, 'x'), "Jana"));
}

} // namespace
