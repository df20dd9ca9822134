#include "gateway/GatewayAddress.h"

#include <charconv>

GatewayAddress ParseGatewayAddress(std::string_view text) {
    GatewayAddress address;
    size_t colon = text.rfind(':');
    address.host = std::string(text.substr(0, colon));
    if (colon == std::string_view::npos) {
        return address;
    }
    std::string_view digits = text.substr(colon + 1);
    int port = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error == std::errc() && end == digits.data() + digits.size() && port > 0 && port < 65536) {
        address.port = port;
    }
    return address;
}
