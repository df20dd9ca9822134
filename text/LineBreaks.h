#pragma once

#include <string>
#include <string_view>

// The message box holds the text on one line: a line break is kept there as "¶" (byte 0xB6)
// and stands for CR LF wherever the text is counted, sent or shown on several lines.
inline constexpr char LineBreakMark = '\xB6';

// "¶" becomes CR LF.
std::string BoxTextToMessage(std::string_view boxText);
// CR LF becomes "¶"; so does a lone CR or LF, which a one-line box cannot hold either.
std::string MessageToBoxText(std::string_view message);
