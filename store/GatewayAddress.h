#pragma once

#include <string>
#include <string_view>

// The service's own gateway and portal; a deployment's menu.ini may point elsewhere.
inline constexpr const char* DefaultGateway = "gate.textaro.cz";
inline constexpr const char* DefaultPortal = "http://www.textaro.cz/";
inline constexpr int DefaultGatewayPort = 80;

struct GatewayAddress {
    std::string host;
    int port = DefaultGatewayPort;
};

// Reads "host" or "host:port"; a missing, empty or unusable port means port 80.
GatewayAddress ParseGatewayAddress(std::string_view text);
