#include "gateway/Md5.h"

#include <gtest/gtest.h>

#include <string>

// The product digests whole texts (Md5Hex); the gateway server checks every signature with an
// MD5 of its own.
TEST(Md5, Rfc1321TestSuiteAndWindowsCodePageLetters) {
    const std::pair<std::string, const char*> digests[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890"
         "1234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
        {"Příliš žluťoučký kůň", "ce11a458ec58da96d08601be7898b729"}, // one byte a letter
    };
    for (const auto& [text, digest] : digests) {
        EXPECT_EQ(digest, Md5Hex(text)) << text.substr(0, 80);
    }
}
