#pragma once

#include "money.h"

#include <cstdint>
#include <optional>
#include <string>

namespace server {

// Texts are the Windows-1250 bytes the toolbar sent; times are seconds since 1970 (UTC).

struct Account {
    std::string login;
    std::string passwordDigest;
    Hundredths credit = 0;
    std::string nick;
    bool nickActive = false;
};

struct AccountSummary {
    Account account;
    std::int64_t contactCount = 0;
};

struct Contact {
    std::int64_t id = 0;
    std::string phone;
    std::string email;
    std::string name;
    std::string surname;
};

// The form the toolbar keeps a contact in and the address list carries it in.
inline std::string StoredForm(const Contact& c) {
    return std::to_string(c.id) + "," + c.phone + "," + c.email + "," + c.name + "," + c.surname;
}

// A message as the gateway accepted it. Optional parameters stay empty when the request
// did not carry them.
struct SentMessage {
    std::int64_t id = 0;
    std::string login;
    std::string msisdn;
    std::string text;
    std::optional<std::string> nick;
    std::optional<std::string> delay;
    std::optional<std::int64_t> recack;
    std::optional<std::string> recackaddr;
    std::int64_t waitForDelivery = 0;
    std::int64_t received = 0;
    std::int64_t deliverAt = 0;
    int parts = 0;
    Hundredths price = 0;
};

} // namespace server
