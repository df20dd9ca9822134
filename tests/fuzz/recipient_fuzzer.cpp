// The recipient picker: every contact lands on exactly one side in store order, and every
// distinct piece of the text is either a chosen contact's phone or typed, never both.
#include "fuzz_check.h"
#include "store/RecipientChoice.h"

#include <algorithm>
#include <set>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::pair<int, std::string>> phones;
    for (std::string& phone : ConsumeTexts(input, 8)) {
        phones.emplace_back(static_cast<int>(phones.size()) * 2, std::move(phone));
    }
    const std::string text = input.ConsumeRemainingBytesAsString();
    const RecipientChoice choice = ChooseRecipients(text, phones);

    std::vector<int> all = choice.contacts;
    all.insert(all.end(), choice.chosen.begin(), choice.chosen.end());
    std::sort(all.begin(), all.end());
    Require(all.size() == phones.size() && std::adjacent_find(all.begin(), all.end()) == all.end(),
            "each contact once");
    Require(std::is_sorted(choice.chosen.begin(), choice.chosen.end()), "chosen in store order");

    std::set<std::string> pieces;
    std::istringstream split(text);
    for (std::string piece; std::getline(split, piece, ';');) {
        pieces.insert(piece);
    }
    pieces.erase("");
    std::multiset<std::string> covered(choice.typed.begin(), choice.typed.end());
    for (int index : choice.chosen) {
        covered.insert(phones[static_cast<std::size_t>(index / 2)].second);
    }
    Require(std::multiset<std::string>(pieces.begin(), pieces.end()) == covered,
            "pieces are chosen or typed, once");
    return 0;
}
