#include "signature.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace server {

namespace {

std::string Hex(const unsigned char* bytes, std::size_t size) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0x0F];
    }
    return out;
}

} // namespace

std::string Md5Hex(std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &size, EVP_md5(), nullptr) != 1) {
        throw std::runtime_error("MD5 is not available");
    }
    return Hex(digest, size);
}

std::string ComputeAuth(std::string_view passwordDigest, std::string_view login,
                        std::string_view action, std::string_view msg) {
    std::string signedText;
    signedText.append(passwordDigest).append(login).append(action).append(msg.substr(0, 31));
    return Md5Hex(signedText);
}

bool SameSecret(std::string_view expected, std::string_view given) {
    return expected.size() == given.size() &&
           CRYPTO_memcmp(expected.data(), given.data(), expected.size()) == 0;
}

std::string NewSessionId() {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1) {
        throw std::runtime_error("no random bytes for a session");
    }
    return Hex(bytes, sizeof bytes);
}

} // namespace server
