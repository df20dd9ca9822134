#include "store/ContactRecord.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

TEST(ContactRecord, SplitTakesTheFirstFourCommasAndOnlyFiveFieldsOnOneLineAreStored) {
    const struct {
        std::string text;
        Texts fields; // id, phone, e-mail, first name, surname
        bool stored;
    } cases[] = {
        {"7,602123456,jana@seznam.cz,Jana,Nováková",
         {"7", "602123456", "jana@seznam.cz", "Jana", "Nováková"},
         true},
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
        if (c.stored) {
            EXPECT_EQ(c.text, JoinContact(split));
        }
    }
}

TEST(ContactRecord, DeleteMovesLaterEntriesDownAndKeepsGaps) {
    using Changes = std::vector<ContactKeyChange>;
    const struct {
        Texts entries;
        int k;
        Changes changes;
    } cases[] = {
        {{"e0", "e1", "e2"}, 1, Changes{{1, "e2"}, {2, std::nullopt}}},
        {{"e0"}, 0, Changes{{0, std::nullopt}}},
        {{"e0", "", "e2", "e3"}, 0, Changes{{0, std::nullopt}, {1, "e2"}, {2, "e3"}, {3, {}}}},
        {{"e0", "e1"}, 2, Changes{}},
        {{"e0", "e1"}, -1, Changes{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.entries) + " delete " + std::to_string(c.k));
        EXPECT_EQ(c.changes, PlanContactDelete(c.entries, c.k));
    }
}

} // namespace
