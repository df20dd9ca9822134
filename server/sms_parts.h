#pragma once

#include <cstddef>

namespace server {

// Number of SMS parts a message is billed as: the same count the toolbar shows while the user
// types, so the charge never surprises them. The gateway puts the nickname in front of the
// text; without one a single separator character is reserved. With T = text bytes (a line break
// is CR LF, two bytes) + nickname length (or 1): one part while T + 1 <= 160, otherwise
// T / 155 rounded up.
int SmsParts(std::size_t textLength, std::size_t nickLength);

} // namespace server
