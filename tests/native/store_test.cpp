#include "store/ContactRecord.h"
#include "store/HistorySection.h"
#include "store/RecipientChoice.h"

#include <gtest/gtest.h>

#include <algorithm>

// The invariants of each format over any input (a contact's split and join, a delete's
// renumbering plan, a draft read back whole, a history list that fits its block) are held by the
// fuzz targets of tests/fuzz; loading and saving through the toolbar's boxes by the Wine tests.

namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;

TEST(ContactRecord, SplitTakesTheFirstFourCommasAndOnlyFiveFieldsOnOneLineAreStored) {
    // A text, its fields (id, phone, e-mail, first name, surname) and whether it is stored.
    const std::tuple<std::string, Texts, bool> cases[] = {
        {"7,602", {"7", "602", "", "", ""}, false},
        {"1,2,3,4,5,6", {"1", "2", "3", "4", "5,6"}, true},
        {"1,602,,,Malý\r", {"1", "602", "", "", "Malý\r"}, false},
        {"1,6\n02,,,", {"1", "6\n02", "", "", ""}, false},
    };
    for (const auto& [text, fields, stored] : cases) {
        SCOPED_TRACE(text);
        const Contact split = SplitContact(text);
        EXPECT_EQ(fields, (Texts{split.id, split.phone, split.email, split.name, split.surname}));
        EXPECT_EQ(stored, IsStoredContact(text));
    }
}

// A damaged Count is read as no more than the entries present, so no loop runs for the rest.
TEST(ContactRecord, TheCountReadNeverPassesTheHighestEntryPresent) {
    // The stored Count, the key names (' ' stands for the NUL after each) and the count read.
    const std::tuple<const char*, std::string, int> cases[] = {
        {"3", "Count 0 1 2 ", 3},
        {"999999999", "Count 0 ", 1},
        {"99999999999999999999", "0 5 ", 6},
        {"2", "0 7 ", 2},
        {"-4", "0 ", 0},
        {"x", "0 ", 0},
        {"5", "999999999 1 01x ", 2},
    };
    for (auto [count, keys, read] : cases) {
        std::replace(keys.begin(), keys.end(), ' ', '\0');
        EXPECT_EQ(read, ContactCountOf(count, keys)) << count;
    }
}

TEST(HistorySection, KeysCountFromZeroAndTheListComesInSectionOrderWhateverTheKeys) {
    EXPECT_EQ(""s, BuildHistorySection({}));
    EXPECT_EQ("0=a=b =c\0"
              "1=\0"s,
              BuildHistorySection({"a=b\r=c", ""}));
    EXPECT_TRUE(ParseHistorySection("\0\0"s).empty());
    EXPECT_EQ((Texts{"Ahoj", "whole line", "x=y", ""}),
              ParseHistorySection("7=Ahoj\0whole line\0k=x=y\0k=\0"s));
    EXPECT_EQ((Texts{"last"}), ParseHistorySection("0=last")) << "without the final NUL";
}

// Which contacts a text chooses shows in the picker's Wine test, that each lands on one side in
// store order in recipient_fuzzer; here that a phone matches only in its own case.
TEST(RecipientChoice, APhoneMatchesOnlyInItsOwnCase) {
    const RecipientChoice choice = ChooseRecipients("A;a", {{1, "a"}});
    EXPECT_EQ(std::tie(choice.chosen, choice.typed), std::tuple(std::vector{1}, Texts{"A"}));
    EXPECT_TRUE(choice.contacts.empty());
}

} // namespace
