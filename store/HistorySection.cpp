#include "store/HistorySection.h"

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

std::string BuildHistorySection(const std::vector<std::string>& entries) {
    std::string section;
    for (std::size_t i = 0; i < entries.size() && i < MaxHistoryEntries; ++i) {
        const std::string entry = std::to_string(i) + "=" + OneLine(entries[i]);
        // The entry's own NUL and the NUL that ends the section must fit as well.
        if (section.size() + entry.size() + 2 > HistorySectionBlock) {
            break;
        }
        section += entry;
        section += '\0';
    }
    return section;
}

std::vector<std::string> ParseHistorySection(std::string_view section) {
    std::vector<std::string> entries;
    std::size_t begin = 0;
    while (begin < section.size()) {
        std::size_t end = section.find('\0', begin);
        if (end == std::string_view::npos) {
            end = section.size();
        }
        std::string_view entry = section.substr(begin, end - begin);
        if (entry.empty()) {
            break;
        }
        std::size_t equals = entry.find('=');
        entries.emplace_back(equals == std::string_view::npos ? entry : entry.substr(equals + 1));
        begin = end + 1;
    }
    return entries;
}
