#pragma once

#include <string>
#include <string_view>

inline constexpr int DefaultGatewayPort = 80;

// Where the client connects: the host and port menu.ini names, or the service's own.
struct GatewayAddress {
    std::string host;
    int port = DefaultGatewayPort;
};

// Reads "host" or "host:port"; a missing, empty or unusable port means port 80.
GatewayAddress ParseGatewayAddress(std::string_view text);
