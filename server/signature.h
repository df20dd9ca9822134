#pragma once

#include <string>
#include <string_view>

namespace server {

// MD5 of the bytes as 32 lowercase hex digits; the toolbar stores passwords only in this form.
std::string Md5Hex(std::string_view data);

// The request signature: MD5 over password digest, login, action and the first 31 bytes of the
// msg text, all as plain (unescaped) bytes.
std::string ComputeAuth(std::string_view passwordDigest, std::string_view login,
                        std::string_view action, std::string_view msg);

// Compares in time that does not depend on where the texts differ, so a signature cannot be
// guessed byte by byte from response times.
bool SameSecret(std::string_view expected, std::string_view given);

// A fresh portal session identifier: 32 hex digits from the system's random source.
std::string NewSessionId();

} // namespace server
