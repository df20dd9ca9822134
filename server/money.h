#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace server {

// Credit and prices are kept in hundredths of a crown so that charging never rounds.
using Hundredths = std::int64_t;

// "125.50", "125.5" or "125"; nothing for anything else, for negative amounts and for
// amounts beyond a billion crowns.
std::optional<Hundredths> ParseMoney(std::string_view text);

// Two decimals with a point, as the toolbar shows credit: 12550 gives "125.50".
std::string FormatMoney(Hundredths amount);

} // namespace server
