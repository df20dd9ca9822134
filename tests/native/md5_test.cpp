#include "gateway/Md5.h"

#include <gtest/gtest.h>

#include <string>

TEST(Md5, Rfc1321TestSuite) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890"
                     "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
    EXPECT_EQ(Md5Hex(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, WindowsCodePageLettersAreOneByteEach) {
    EXPECT_EQ(Md5Hex("Příliš žluťoučký kůň"), "ce11a458ec58da96d08601be7898b729");
}

TEST(Md5, PiecesOfAnySizeGiveTheWholeDigest) {
    std::string message;
    for (int i = 0; i < 1000; ++i) {
        message += static_cast<char>(i * 7 + 3);
    }
    const std::string whole = Md5Hex(message);
    for (std::size_t piece : {1, 63, 64, 65}) {
        MD5 md5;
        for (std::size_t at = 0; at < message.size(); at += piece) {
            md5.update(std::string_view(message).substr(at, piece));
        }
        md5.finalize();
        EXPECT_EQ(md5.hex_digest(), whole) << "pieces of " << piece;
    }
}

TEST(Md5, MisuseIsReportedAndChangesNothing) {
    MD5 md5;
    md5.update("abc");
    testing::internal::CaptureStderr();
    EXPECT_EQ(md5.hex_digest(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MD5::hex_digest:  Can't get digest if you haven't finalized the digest!\n");

    md5.finalize();
    testing::internal::CaptureStderr();
    md5.update("more");
    md5.finalize();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MD5::update:  Can't update a finalized digest!\n"
              "MD5::finalize:  Already finalized this digest!\n");
    EXPECT_EQ(md5.hex_digest(), "900150983cd24fb0d6963f7d28e17f72");
}
