#include "store/ContactRecord.h"
#include "store/DraftText.h"
#include "store/HistorySection.h"
#include "store/RecipientChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The invariants of each format over any input (a contact's split and join, a delete's
// renumbering plan, a draft read back whole, a history list that fits its block) are held by the
// fuzz targets of tests/fuzz; loading and saving through the toolbar's boxes by the Wine tests.

namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;

TEST(ContactRecord, SplitTakesTheFirstFourCommasAndOnlyFiveFieldsOnOneLineAreStored) {
    const struct {
        std::string text;
        Texts fields; // id, phone, e-mail, first name, surname
        bool stored;
    } cases[] = {
        {"7,602", {"7", "602", "", "", ""}, false},
        {"1,2,3,4,5,6", {"1", "2", "3", "4", "5,6"}, true},
        {"1,602,,,Malý\r", {"1", "602", "", "", "Malý\r"}, false},
        {"1,6\n02,,,", {"1", "6\n02", "", "", ""}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Contact split = SplitContact(c.text);
        EXPECT_EQ(c.fields, (Texts{split.id, split.phone, split.email, split.name, split.surname}));
        EXPECT_EQ(c.stored, IsStoredContact(c.text));
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

TEST(HistorySection, KeysCountFromZeroAndTheListComesInSectionOrderWhateverTheKeys) {
    EXPECT_EQ(""s, BuildHistorySection({}));
    EXPECT_EQ("0=a=b =c\0"
              "1=\0"s,
              BuildHistorySection({"a=b\r=c", ""}));
    EXPECT_TRUE(ParseHistorySection("\0\0"s).empty());
    EXPECT_EQ((Texts{"Ahoj", "whole line", "x=y", ""}), ParseHistorySection("7=Ahoj\0"
                                                                            "whole line\0"
                                                                            "k=x=y\0"
                                                                            "k=\0"s));
    EXPECT_EQ((Texts{"last"}), ParseHistorySection("0=last")) << "without the final NUL";
}

// How the text is split and which of two contacts with one phone is chosen shows in the picker's
// test; here the chosen come in store order, and a phone matches only in its own case.
TEST(RecipientChoice, PhonesInTheTextChooseContactsAndTheRestIsTyped) {
    const struct {
        const char* text;
        std::vector<std::pair<int, std::string>> phones;
        std::vector<int> contacts;
        std::vector<int> chosen;
        Texts typed;
    } cases[] = {
        {"B;x;A;", {{0, "A"}, {3, "B"}, {5, "C"}}, {5}, {0, 3}, {"x"}},
        {"A;a", {{1, "a"}}, {}, {1}, {"A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const RecipientChoice choice = ChooseRecipients(c.text, c.phones);
        EXPECT_EQ(std::tie(c.contacts, c.chosen, c.typed),
                  std::tie(choice.contacts, choice.chosen, choice.typed));
    }
}

} // namespace
