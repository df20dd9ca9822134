#include "gateway/Md5.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::uint32_t LoadLe(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void StoreLe(std::uint32_t v, unsigned char* p) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

std::uint32_t RotateLeft(std::uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

// The four rounds' steps: a = b + ((a + f(b, c, d) + x + t) <<< s).
void FF(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
        std::uint32_t t) {
    a = b + RotateLeft(a + ((b & c) | (~b & d)) + x + t, s);
}
void GG(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
        std::uint32_t t) {
    a = b + RotateLeft(a + ((b & d) | (c & ~d)) + x + t, s);
}
void HH(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
        std::uint32_t t) {
    a = b + RotateLeft(a + (b ^ c ^ d) + x + t, s);
}
void II(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
        std::uint32_t t) {
    a = b + RotateLeft(a + (c ^ (b | ~d)) + x + t, s);
}

// Zeroes memory the compiler may not skip, although nothing reads it afterwards.
void Wipe(void* memory, std::size_t size) {
    volatile auto* bytes = static_cast<volatile unsigned char*>(memory);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = 0;
    }
}

} // namespace

MD5::~MD5() {
    Wipe(buffer, sizeof buffer);
}

void MD5::update(const void* input, std::size_t length) {
    if (finalized) {
        std::fputs("MD5::update:  Can't update a finalized digest!\n", stderr);
        return;
    }
    const auto* bytes = static_cast<const unsigned char*>(input);
    std::size_t used = (count / 8) % 64;
    count += std::uint64_t(length) * 8;

    if (used != 0) {
        std::size_t take = std::min(length, 64 - used);
        std::memcpy(buffer + used, bytes, take);
        bytes += take;
        length -= take;
        used += take;
        if (used < 64) {
            return;
        }
        Transform(buffer);
    }
    for (; length >= 64; bytes += 64, length -= 64) {
        Transform(bytes);
    }
    if (length != 0) {
        std::memcpy(buffer, bytes, length);
    }
}

void MD5::finalize() {
    if (finalized) {
        std::fputs("MD5::finalize:  Already finalized this digest!\n", stderr);
        return;
    }
    unsigned char bits[8];
    StoreLe(static_cast<std::uint32_t>(count), bits);
    StoreLe(static_cast<std::uint32_t>(count >> 32), bits + 4);

    static const unsigned char padding[64] = {0x80};
    std::size_t used = (count / 8) % 64;
    update(padding, used < 56 ? 56 - used : 120 - used);
    update(bits, 8);

    for (int i = 0; i < 4; ++i) {
        StoreLe(state[i], digest + 4 * i);
    }
    finalized = true;
}

std::string MD5::hex_digest() const {
    if (!finalized) {
        std::fputs("MD5::hex_digest:  Can't get digest if you haven't finalized the digest!\n",
                   stderr);
        return {};
    }
    static const char digits[] = "0123456789abcdef";
    std::string hex(32, '\0');
    for (int i = 0; i < 16; ++i) {
        hex[2 * i] = digits[digest[i] >> 4];
        hex[2 * i + 1] = digits[digest[i] & 0xF];
    }
    return hex;
}

void MD5::Transform(const unsigned char* block) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = LoadLe(block + 4 * i);
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    FF(a, b, c, d, x[0], 7, 0xd76aa478);
    FF(d, a, b, c, x[1], 12, 0xe8c7b756);
    FF(c, d, a, b, x[2], 17, 0x242070db);
    FF(b, c, d, a, x[3], 22, 0xc1bdceee);
    FF(a, b, c, d, x[4], 7, 0xf57c0faf);
    FF(d, a, b, c, x[5], 12, 0x4787c62a);
    FF(c, d, a, b, x[6], 17, 0xa8304613);
    FF(b, c, d, a, x[7], 22, 0xfd469501);
    FF(a, b, c, d, x[8], 7, 0x698098d8);
    FF(d, a, b, c, x[9], 12, 0x8b44f7af);
    FF(c, d, a, b, x[10], 17, 0xffff5bb1);
    FF(b, c, d, a, x[11], 22, 0x895cd7be);
    FF(a, b, c, d, x[12], 7, 0x6b901122);
    FF(d, a, b, c, x[13], 12, 0xfd987193);
    FF(c, d, a, b, x[14], 17, 0xa679438e);
    FF(b, c, d, a, x[15], 22, 0x49b40821);

    GG(a, b, c, d, x[1], 5, 0xf61e2562);
    GG(d, a, b, c, x[6], 9, 0xc040b340);
    GG(c, d, a, b, x[11], 14, 0x265e5a51);
    GG(b, c, d, a, x[0], 20, 0xe9b6c7aa);
    GG(a, b, c, d, x[5], 5, 0xd62f105d);
    GG(d, a, b, c, x[10], 9, 0x02441453);
    GG(c, d, a, b, x[15], 14, 0xd8a1e681);
    GG(b, c, d, a, x[4], 20, 0xe7d3fbc8);
    GG(a, b, c, d, x[9], 5, 0x21e1cde6);
    GG(d, a, b, c, x[14], 9, 0xc33707d6);
    GG(c, d, a, b, x[3], 14, 0xf4d50d87);
    GG(b, c, d, a, x[8], 20, 0x455a14ed);
    GG(a, b, c, d, x[13], 5, 0xa9e3e905);
    GG(d, a, b, c, x[2], 9, 0xfcefa3f8);
    GG(c, d, a, b, x[7], 14, 0x676f02d9);
    GG(b, c, d, a, x[12], 20, 0x8d2a4c8a);

    HH(a, b, c, d, x[5], 4, 0xfffa3942);
    HH(d, a, b, c, x[8], 11, 0x8771f681);
    HH(c, d, a, b, x[11], 16, 0x6d9d6122);
    HH(b, c, d, a, x[14], 23, 0xfde5380c);
    HH(a, b, c, d, x[1], 4, 0xa4beea44);
    HH(d, a, b, c, x[4], 11, 0x4bdecfa9);
    HH(c, d, a, b, x[7], 16, 0xf6bb4b60);
    HH(b, c, d, a, x[10], 23, 0xbebfbc70);
    HH(a, b, c, d, x[13], 4, 0x289b7ec6);
    HH(d, a, b, c, x[0], 11, 0xeaa127fa);
    HH(c, d, a, b, x[3], 16, 0xd4ef3085);
    HH(b, c, d, a, x[6], 23, 0x04881d05);
    HH(a, b, c, d, x[9], 4, 0xd9d4d039);
    HH(d, a, b, c, x[12], 11, 0xe6db99e5);
    HH(c, d, a, b, x[15], 16, 0x1fa27cf8);
    HH(b, c, d, a, x[2], 23, 0xc4ac5665);

    II(a, b, c, d, x[0], 6, 0xf4292244);
    II(d, a, b, c, x[7], 10, 0x432aff97);
    II(c, d, a, b, x[14], 15, 0xab9423a7);
    II(b, c, d, a, x[5], 21, 0xfc93a039);
    II(a, b, c, d, x[12], 6, 0x655b59c3);
    II(d, a, b, c, x[3], 10, 0x8f0ccc92);
    II(c, d, a, b, x[10], 15, 0xffeff47d);
    II(b, c, d, a, x[1], 21, 0x85845dd1);
    II(a, b, c, d, x[8], 6, 0x6fa87e4f);
    II(d, a, b, c, x[15], 10, 0xfe2ce6e0);
    II(c, d, a, b, x[6], 15, 0xa3014314);
    II(b, c, d, a, x[13], 21, 0x4e0811a1);
    II(a, b, c, d, x[4], 6, 0xf7537e82);
    II(d, a, b, c, x[11], 10, 0xbd3af235);
    II(c, d, a, b, x[2], 15, 0x2ad7d2bb);
    II(b, c, d, a, x[9], 21, 0xeb86d391);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    Wipe(x, sizeof x);
}

std::string Md5Hex(std::string_view text) {
    MD5 md5;
    md5.update(text);
    md5.finalize();
    return md5.hex_digest();
}
