#pragma once

#include <string>
#include <string_view>

// %-escapes every byte except ASCII letters and digits, with uppercase hexadecimal digits.
std::string UrlEscape(std::string_view text);

// Undoes %XX escapes of one reply line. A '%' always consumes the next two bytes and reads them
// as strtol does in base 16, so malformed escapes give a byte rather than an error. The result
// ends at the first NUL byte, whether it was written literally or as an escape.
std::string UrlUnescape(std::string_view line);
