#pragma once

#include "money.h"
#include "records.h"

#include <chrono>
#include <string>
#include <vector>

namespace server {

struct Options {
    std::string bind = "127.0.0.1";
    // Whether an address other than loopback may be bound: the admin and outbox pages then show
    // every account's address book and messages to the network.
    bool exposeAdmin = false;
    int port = 8080;
    std::string db = "textaro-gateway.db";
    std::string token = "7f3c9a1e5b2d48c6a0e4f19d83b7c265";
    Hundredths price = 150;
    std::chrono::seconds sessionTtl{1800};
    std::chrono::milliseconds delay{0};
    // Accounts to create or overwrite at start, passwords already turned into digests.
    std::vector<Account> accounts;
};

extern const char* const kUsage;

// Reads the command line (without the program name). Throws std::invalid_argument with a
// message for the user when an option is unknown or its value is unusable.
Options ParseOptions(const std::vector<std::string>& args);

} // namespace server
