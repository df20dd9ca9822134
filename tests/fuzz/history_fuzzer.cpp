// History sections: a list written and read back gives the first entries whole (line breaks
// as spaces), and leaves out only what no longer fits the block an older reader takes.
#include "fuzz_check.h"
#include "store/HistorySection.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> entries = ConsumeTexts(input, 14);
    for (std::string& entry : entries) {
        // Combo boxes hold no NUL; padding makes entries large enough to fill the block.
        std::erase(entry, '\0');
        entry.append(input.ConsumeIntegralInRange(0, 6000), 'x');
    }
    const std::string section = BuildHistorySection(entries);
    Require(section.size() + 1 <= HistorySectionBlock, "the section fits the block");

    const std::vector<std::string> read = ParseHistorySection(section);
    const std::size_t wanted = std::min(entries.size(), MaxHistoryEntries);
    Require(read.size() <= wanted, "no more than 11 entries");
    for (std::size_t i = 0; i < read.size(); ++i) {
        Require(read[i] == OneLine(entries[i]), "an entry reads back as written");
    }
    if (read.size() < wanted) {
        const std::string next = std::to_string(read.size()) + "=" + entries[read.size()];
        Require(section.size() + next.size() + 2 > HistorySectionBlock, "only what fails to fit");
    }

    const std::string stored = input.ConsumeRemainingBytesAsString();
    Require(ParseHistorySection(stored).size() <= stored.size(), "no entry out of nothing");
    return 0;
}
