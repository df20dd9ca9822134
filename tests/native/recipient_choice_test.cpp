#include "store/RecipientChoice.h"

#include <gtest/gtest.h>

namespace {

TEST(RecipientChoice, PhonesInTheTextChooseContactsAndTheRestIsTyped) {
    using Phones = std::vector<std::pair<int, std::string>>;
    using Indices = std::vector<int>;
    using Texts = std::vector<std::string>;
    const struct {
        const char* text;
        Phones phones;
        Indices contacts;
        Indices chosen;
        Texts typed;
    } cases[] = {
        {"", {}, {}, {}, {}},
        {"A;;A;B", {{0, "C"}}, {0}, {}, {"A", "B"}},
        {" 602111222;", {{0, "602111222"}}, {0}, {}, {" 602111222"}},
        {"602;", {{0, "602"}, {2, "602"}}, {2}, {0}, {}},
        {"B;x;A;", {{0, "A"}, {3, "B"}, {5, "C"}}, {5}, {0, 3}, {"x"}},
        {"A;a", {{1, "a"}}, {}, {1}, {"A"}},
        {";;", {{0, ""}}, {0}, {}, {}},
        {"A", {}, {}, {}, {"A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const RecipientChoice choice = ChooseRecipients(c.text, c.phones);
        EXPECT_EQ(c.contacts, choice.contacts);
        EXPECT_EQ(c.chosen, choice.chosen);
        EXPECT_EQ(c.typed, choice.typed);
    }
}

} // namespace
