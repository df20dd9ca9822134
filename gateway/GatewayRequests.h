#pragma once

#include <string>
#include <string_view>

// The gateway's fixed request values. The gateway checks kClientToken, so a gateway serving this
// toolbar must be configured with the same value.
inline constexpr std::string_view kAccountApiPath = "api/app_api.xp";
inline constexpr std::string_view kPortalApiPath = "api/rapi.xp";
inline constexpr std::string_view kCust = "ieto";
inline constexpr std::string_view kClientToken = "7f3c9a1e5b2d48c6a0e4f19d83b7c265";

// One request as the transport performs it. The target is the path below the server root (no
// leading slash) with the whole query; the context tags the transport's progress notes (2 marks
// Info, whose stages are followed more closely).
struct GatewayRequest {
    std::string_view verb{};
    std::string target;
    int context = 0;
};

// The signature that proves the account without sending the password: the MD5 of the password
// digest, login, action and the first 31 bytes of msg, all unescaped.
std::string ComputeAuth(std::string_view password, std::string_view login, std::string_view action,
                        std::string_view msg);

// In every request below, password is the stored MD5 hex digest of the user's password. Values
// are %-escaped where they enter the query, so spaces, '&' or non-ASCII bytes cannot break the
// request line or add parameters; letters and digits go out unchanged.

GatewayRequest InfoRequest(std::string_view login, std::string_view password);

struct SendArgs {
    std::string_view login{};
    std::string_view password{};
    std::string_view message{};
    std::string_view recipient{};
    int receiptFlag = 0; // 1 asks for a delivery receipt at receiptEmail
    std::string_view receiptEmail{};
    std::string_view nick{};  // empty: no nick in front of the message
    std::string_view delay{}; // local "%Y-%m-%d %H:%M:%S", or empty to send at once
    int waitFlag = 0;
};
GatewayRequest SendRequest(const SendArgs& args);

GatewayRequest PortalInfoRequest(std::string_view sid);
GatewayRequest InfoLoginRequest(std::string_view login, std::string_view password);
GatewayRequest AddrListRequest(std::string_view login, std::string_view password);
GatewayRequest AddrAddRequest(std::string_view login, std::string_view password,
                              std::string_view phone, std::string_view email, std::string_view name,
                              std::string_view surname);
GatewayRequest AddrDelRequest(std::string_view login, std::string_view password,
                              std::string_view contactId);
GatewayRequest AddrEditRequest(std::string_view login, std::string_view password,
                               std::string_view contactId, std::string_view phone,
                               std::string_view email, std::string_view name,
                               std::string_view surname);
