#include "money.h"

namespace server {

namespace {

constexpr Hundredths kLargest = 100'000'000'000;

} // namespace

std::optional<Hundredths> ParseMoney(std::string_view text) {
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() || whole.size() > 10 || fraction.size() > 2 ||
        (point != std::string_view::npos && fraction.empty())) {
        return std::nullopt;
    }
    Hundredths amount = 0;
    for (char c : whole) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        amount = amount * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        amount = amount * 10 + (c - '0');
    }
    if (amount > kLargest) {
        return std::nullopt;
    }
    return amount;
}

std::string FormatMoney(Hundredths amount) {
    const Hundredths cents = amount % 100;
    return std::to_string(amount / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

} // namespace server
