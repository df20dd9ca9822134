#include "toolbar/SmsCounter.h"

#include "text/LineBreaks.h"

namespace {

constexpr std::size_t SingleSmsLimit = 160;
// A message split into parts loses a few characters of every part to the joining header.
constexpr std::size_t PartLength = 155;
constexpr std::size_t PartHeader = 5;

} // namespace

SmsCount CountSms(std::string_view text, std::string_view nick) {
    if (text.empty()) {
        return {};
    }
    const std::size_t total = BoxTextToMessage(text).size() + (nick.empty() ? 1 : nick.size());
    if (total + 1 <= SingleSmsLimit) {
        return {total + 1, 1};
    }
    const std::size_t parts = (total + PartLength - 1) / PartLength;
    return {total + PartHeader * parts, parts};
}

std::string CounterText(std::string_view text, std::string_view nick) {
    const SmsCount count = CountSms(text, nick);
    return std::to_string(count.characters) + " zn.,\n" + std::to_string(count.parts) + " SMS";
}
