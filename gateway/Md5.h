#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Incremental MD5 message digest (RFC 1321). Misuse is reported on the standard error stream and
// otherwise ignored, so a caller that gets the order wrong still gets a defined result.
class MD5 {
public:
    MD5() = default;
    MD5(const MD5&) = delete;
    MD5& operator=(const MD5&) = delete;
    // The message may be a password: what is left of it here is wiped.
    ~MD5();

    void update(const void* input, std::size_t length);
    void update(std::string_view input) { update(input.data(), input.size()); }
    void finalize();
    // 32 lowercase hexadecimal digits; empty before finalize.
    std::string hex_digest() const;

private:
    void Transform(const unsigned char* block);

    std::uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::uint64_t count = 0; // message length in bits
    unsigned char buffer[64] = {};
    unsigned char digest[16] = {};
    bool finalized = false;
};

// The digest of text's bytes as 32 lowercase hexadecimal digits.
std::string Md5Hex(std::string_view text);
