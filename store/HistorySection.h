#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The text of a history section of settings.ini as the private-profile section functions
// take and give it: entries "key=value", each ended by a NUL.

inline constexpr std::size_t MaxHistoryEntries = 11;
// The most a section may take, the final NUL included: the block an earlier version of the
// toolbar reads a history into, so a section written here is read whole there too.
inline constexpr std::size_t HistorySectionBlock = 32700;

// A value as settings.ini can keep it on one line: CR and LF become spaces, so that no value,
// whatever its source, can end its line and start keys or sections of its own.
std::string OneLine(std::string text);

// The section for a list, most recent entry first: keys 0, 1, ... for at most 11 entries,
// CR and LF turned into spaces so that every entry stays on its line of the file. Entries
// are never cut: when the block is full, the older entries that no longer fit are left out.
std::string BuildHistorySection(const std::vector<std::string>& entries);

// The list kept in a section, in the section's order: each entry's text after its first
// "=" (the whole entry when it has none); the keys themselves are not read.
std::vector<std::string> ParseHistorySection(std::string_view section);
