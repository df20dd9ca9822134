#include "store/RecipientChoice.h"

#include <gtest/gtest.h>

namespace {

// How the text is split and which of two contacts with one phone is chosen shows in the picker's
// test; here the chosen come in store order, and a phone matches only in its own case.
TEST(RecipientChoice, PhonesInTheTextChooseContactsAndTheRestIsTyped) {
    const struct {
        const char* text;
        std::vector<std::pair<int, std::string>> phones;
        std::vector<int> contacts;
        std::vector<int> chosen;
        std::vector<std::string> typed;
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
