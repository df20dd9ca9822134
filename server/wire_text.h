#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace server {

// Every byte except ASCII letters and digits becomes %XX with uppercase hex digits, the way
// the toolbar escapes its own values; reply values go out in this form.
std::string UrlEscape(std::string_view raw);

// Undoes %XX escapes; "+" stays a plus sign. A "%" that is not followed by two hex digits is
// refused, and so is a NUL, escaped or not: the toolbar keeps every text NUL-terminated, so a NUL
// would silently cut what we store from what it believes it sent.
std::optional<std::string> UrlUnescape(std::string_view escaped);

} // namespace server
