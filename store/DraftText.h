#pragma once

#include <string>
#include <string_view>

// The message and the recipients a toolbar was closed with, unsent; the next toolbar puts them
// back into its boxes.
struct Draft {
    std::string text;
    std::string recipients;

    bool Empty() const { return text.empty() && recipients.empty(); }
};

// A text as one value of settings.ini that reads back whole: a read trims blanks and strips
// one pair of outer quotes, and a line break would end the value. So "\", CR, LF and '"' are
// escaped ("\\", "\r", "\n", "\q") and the whole is put in quotes.
std::string EncodeDraftValue(std::string_view text);
// The text of a value as read back, with or without its outer quotes. A backslash that starts
// no escape stands for itself.
std::string DecodeDraftValue(std::string_view value);
