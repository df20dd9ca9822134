#include "toolbar/SmsCounter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A nickname of four letters and a text that makes T = L + N come to the given total.
std::string TextForTotal(std::size_t total) {
    return std::string(total - 4, 'a');
}

TEST(SmsCounter, OneSmsUpTo160CharactersThenParts155Each) {
    struct Row {
        std::size_t total;
        std::size_t characters;
        std::size_t parts;
    };
    for (const Row& row : {Row{100, 101, 1}, Row{159, 160, 1}, Row{160, 170, 2}, Row{310, 320, 2},
                           Row{311, 326, 3}}) {
        SmsCount count = CountSms(TextForTotal(row.total), "Jana");
        EXPECT_EQ(row.characters, count.characters) << "T = " << row.total;
        EXPECT_EQ(row.parts, count.parts) << "T = " << row.total;
    }
}

TEST(SmsCounter, LabelTextForEmptyAndTypedBoxes) {
    EXPECT_EQ("0 zn.,\n0 SMS", CounterText("", "Jana"));
    EXPECT_EQ("0 zn.,\n0 SMS", CounterText("", ""));
    EXPECT_EQ("160 zn.,\n1 SMS", CounterText(std::string(155, 'x'), "Jana"));
    EXPECT_EQ("170 zn.,\n2 SMS", CounterText(std::string(156, 'x'), "Jana"));
}

TEST(SmsCounter, NicknameCountsItsLengthAndAnEmptyOneCountsOne) {
    EXPECT_EQ(3u, CountSms("a", "").characters);
    EXPECT_EQ(1u, CountSms("a", "").parts);
    EXPECT_EQ(7u, CountSms("a", "Petr.").characters);
    // Czech letters are one byte each in the system's code page.
    EXPECT_EQ(CountSms("a", "Jiří").characters, CountSms("a", "Jiri").characters);
    EXPECT_EQ(CountSms("žluťoučký", "").characters, CountSms("zlutoucky", "").characters);
}

TEST(SmsCounter, LineBreakMarkCountsAsTwoCharacters) {
    EXPECT_EQ(4u, CountSms("¶", "").characters) << "2 for the break, 1 empty nick, 1";
    EXPECT_EQ(CountSms("ab\r\ncd", "").characters, CountSms("ab¶cd", "").characters);
    // 79 breaks are 158 characters: with the empty nickname one SMS is full at 160.
    EXPECT_EQ(1u, CountSms(std::string(79, '\xB6'), "").parts);
    EXPECT_EQ(2u, CountSms(std::string(79, '\xB6') + "x", "").parts);
}

} // namespace
