// Contact records: a stored form split and joined gives the same text back, with only the
// commas it lacked for five fields added; deleting an entry moves every later one down a key.
#include "fuzz_check.h"
#include "store/ContactRecord.h"

#include <algorithm>
#include <map>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string stored = input.ConsumeRandomLengthString();
    const auto commas = std::count(stored.begin(), stored.end(), ',');
    Require(JoinContact(SplitContact(stored)) ==
                stored + std::string(std::max(0L, 4 - commas), ','),
            "split and join keep the text");

    const std::vector<std::string> entries = ConsumeTexts(input, 12);
    const int k = input.ConsumeIntegralInRange(-2, 13);
    const int count = static_cast<int>(entries.size());
    std::map<int, std::string> keys; // a missing key reads as an empty entry
    for (int i = 0; i < count; ++i) {
        keys[i] = entries[i];
    }
    const std::vector<ContactKeyChange> plan = PlanContactDelete(entries, k);
    if (k < 0 || k >= count) {
        Require(plan.empty(), "no entry, no change");
        return 0;
    }
    for (const ContactKeyChange& change : plan) {
        if (change.text) {
            keys[change.index] = *change.text;
        } else {
            keys.erase(change.index);
        }
    }
    std::vector<std::string> expected = entries;
    expected.erase(expected.begin() + k);
    expected.emplace_back();
    for (int i = 0; i < count; ++i) {
        Require(keys[i] == expected[i], "the plan leaves the list without entry k");
    }
    return 0;
}
