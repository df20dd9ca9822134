#include "store/DraftText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// What a private-profile read gives for a stored value: blanks trimmed, one pair of matching
// outer quotes stripped.
std::string AsRead(std::string value) {
    const auto first = value.find_first_not_of(" \t");
    value = first == std::string::npos
                ? ""
                : value.substr(first, value.find_last_not_of(" \t") - first + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

TEST(DraftText, EveryTextReadsBackWhole) {
    std::string long1440;
    while (long1440.size() < 1440) {
        long1440 += "Příliš žluťoučký kůň¶úpěl ";
    }
    long1440.resize(1440);
    const std::string texts[] = {
        "",
        "Ahoj",
        "  mezery kolem \t",
        "\"v uvozovkách\"",
        "'jednoduché'",
        "c:\\cesta\\n neni zalomeni \\",
        "řádek\r\ndruhý\ntřetí\r",
        "777123456;+420 602 111 222;",
        "=a=b; komentář [oddíl]",
        long1440,
    };
    for (const std::string& text : texts) {
        const std::string value = EncodeDraftValue(text);
        EXPECT_EQ(std::string::npos, value.find_first_of("\r\n")) << text;
        EXPECT_EQ(text, DecodeDraftValue(AsRead(value))) << text;
        EXPECT_EQ(text, DecodeDraftValue(value)) << "a read that keeps the quotes: " << text;
    }
}

TEST(DraftText, ValuesWrittenByHandDecodeAsTheySay) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},     {"a\\qb\\q", "a\"b\""}, {"konec\\", "konec\\"},
        {"\\x\\\\n", "\\x\\n"}, {"\"", "\""},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(text, DecodeDraftValue(value)) << value;
    }
}

} // namespace
