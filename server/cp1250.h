#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace server {

// The wire, the toolbar and our database hold Windows-1250 bytes; people and JSON readers
// want UTF-8. Bytes that the code page leaves undefined come out as U+FFFD.
std::string Cp1250ToUtf8(std::string_view cp1250);

// For values typed on our command line (account logins, passwords, nicknames), which must match
// the Windows-1250 bytes the toolbar sends. Nothing when the text is not valid UTF-8 or holds a
// character the code page lacks.
std::optional<std::string> Utf8ToCp1250(std::string_view utf8);

} // namespace server
