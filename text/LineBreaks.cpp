#include "text/LineBreaks.h"

std::string BoxTextToMessage(std::string_view boxText) {
    std::string message;
    message.reserve(boxText.size());
    for (char c : boxText) {
        if (c == LineBreakMark) {
            message += "\r\n";
        } else {
            message += c;
        }
    }
    return message;
}

std::string MessageToBoxText(std::string_view message) {
    std::string boxText;
    boxText.reserve(message.size());
    for (size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
            boxText += LineBreakMark;
            ++i;
        } else if (message[i] == '\r' || message[i] == '\n') {
            boxText += LineBreakMark;
        } else {
            boxText += message[i];
        }
    }
    return boxText;
}
