// Contact records: a stored form split and joined gives the same text back, with only the
// commas it lacked for five fields added; deleting an entry moves every later one down a key, and
// deleting none changes nothing.
#include "fuzz_check.h"
#include "store/ContactRecord.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string stored = input.ConsumeRandomLengthString();
    const auto commas = std::count(stored.begin(), stored.end(), ',');
    Require(JoinContact(SplitContact(stored)) ==
                stored + std::string(std::max(0L, 4 - commas), ','),
            "split and join keep the text");

    const std::vector<std::string> entries = ConsumeTexts(input, 12);
    const int k = input.ConsumeIntegralInRange(-2, 13);
    std::vector<std::string> keys = entries; // a removed key reads as an empty entry
    for (const ContactKeyChange& change : PlanContactDelete(entries, k)) {
        keys.at(change.index) = change.text.value_or("");
    }
    std::vector<std::string> expected = entries;
    if (k >= 0 && k < static_cast<int>(entries.size())) {
        expected.erase(expected.begin() + k);
        expected.emplace_back();
    }
    Require(keys == expected, "the plan leaves the list without entry k");
    return 0;
}
