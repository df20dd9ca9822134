#include "gateway/UrlCoding.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsAsciiAlnum(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// What strtol in base 16 makes of the two bytes after a '%'; bytes past the end read as NUL.
char EscapedByte(std::string_view line, std::size_t percent) {
    char pair[3] = {percent + 1 < line.size() ? line[percent + 1] : '\0',
                    percent + 2 < line.size() ? line[percent + 2] : '\0', '\0'};
    int high = HexValue(pair[0]);
    int low = HexValue(pair[1]);
    if (high >= 0 && low >= 0) {
        return static_cast<char>(high << 4 | low);
    }
    return static_cast<char>(std::strtol(pair, nullptr, 16));
}

} // namespace

std::string UrlEscape(std::string_view text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (IsAsciiAlnum(c)) {
            out += ch;
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 0xF];
        }
    }
    return out;
}

std::string UrlUnescape(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    std::string out;
    out.reserve(line.size());
    for (std::size_t at = 0; at < line.size();) {
        std::size_t percent = std::min(line.find('%', at), line.size());
        out.append(line.substr(at, percent - at));
        if (percent == line.size()) {
            break;
        }
        char c = EscapedByte(line, percent);
        if (c == '\0') {
            break;
        }
        out += c;
        at = percent + 3;
    }
    return out;
}
