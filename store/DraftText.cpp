#include "store/DraftText.h"

std::string EncodeDraftValue(std::string_view text) {
    std::string value = "\"";
    for (char c : text) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\r':
            value += "\\r";
            break;
        case '\n':
            value += "\\n";
            break;
        case '"':
            value += "\\q";
            break;
        default:
            value += c;
            break;
        }
    }
    return value + '"';
}

std::string DecodeDraftValue(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[i + 1]) {
        case '\\':
            text += '\\';
            break;
        case 'r':
            text += '\r';
            break;
        case 'n':
            text += '\n';
            break;
        case 'q':
            text += '"';
            break;
        default:
            text += '\\';
            continue;
        }
        ++i;
    }
    return text;
}
