#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a message takes at the gateway: the characters charged and the SMS parts.
struct SmsCount {
    std::size_t characters = 0;
    std::size_t parts = 0;
};

// Counts the text of the message box ("¶" counts as the CR LF it stands for) together with
// the nickname the gateway may put in front of it; an empty nickname still takes one
// character. An empty text takes nothing.
SmsCount CountSms(std::string_view text, std::string_view nick);

// The counter label's text for the message box's current text: "%d zn.,\n%d SMS".
std::string CounterText(std::string_view text, std::string_view nick);
