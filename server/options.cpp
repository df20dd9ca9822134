#include "options.h"

#include "cp1250.h"
#include "signature.h"

#include <arpa/inet.h>

#include <charconv>
#include <stdexcept>

namespace server {

const char* const kUsage =
    "usage: textaro-gateway [options]\n"
    "  --bind ADDR          address to listen on (default 127.0.0.1); only loopback\n"
    "                       addresses unless --expose-admin is given\n"
    "  --expose-admin       allow any --bind address: the admin and outbox pages then\n"
    "                       show every account's contacts and messages to the network\n"
    "  --port N             port; 0 picks a free one (default 8080)\n"
    "  --db PATH            SQLite file, or :memory: (default ./textaro-gateway.db)\n"
    "  --token HEX          client token expected as hash (default the toolbar's)\n"
    "  --price AMOUNT       price of one SMS part in crowns (default 1.50)\n"
    "  --session-ttl SEC    portal session lifetime after last use (default 1800)\n"
    "  --delay-ms MS        wait before answering every gateway request (default 0)\n"
    "  --account LOGIN:PASSWORD:CREDIT[:NICK[:ACTIVE]]\n"
    "                       create or overwrite an account; ACTIVE is yes (default) or no;\n"
    "                       may be repeated\n";

namespace {

long long Number(const std::string& option, const std::string& text, long long low,
                 long long high) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < low ||
        value > high) {
        throw std::invalid_argument(option + " needs a number from " + std::to_string(low) +
                                    " to " + std::to_string(high));
    }
    return value;
}

Hundredths Amount(const std::string& option, const std::string& text) {
    const auto amount = ParseMoney(text);
    if (!amount) {
        throw std::invalid_argument(option + " needs an amount such as 125.50");
    }
    return *amount;
}

// The toolbar sends Windows-1250 bytes, so typed logins, passwords and nicknames are turned into
// them before they are stored or hashed.
std::string WireText(const std::string& utf8) {
    const auto text = Utf8ToCp1250(utf8);
    if (!text) {
        throw std::invalid_argument("--account: '" + utf8 +
                                    "' has characters outside Windows-1250");
    }
    return *text;
}

Account ParseAccount(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t colon = text.find(':'); colon != std::string::npos && fields.size() < 4;
         colon = text.find(':', start)) {
        fields.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    fields.push_back(text.substr(start));
    if (fields.size() < 3 || fields[0].empty()) {
        throw std::invalid_argument("--account needs LOGIN:PASSWORD:CREDIT[:NICK[:ACTIVE]]");
    }
    Account account;
    account.login = WireText(fields[0]);
    account.passwordDigest = Md5Hex(WireText(fields[1]));
    account.credit = Amount("--account", fields[2]);
    if (fields.size() > 3) {
        account.nick = WireText(fields[3]);
    }
    const std::string active = fields.size() > 4 ? fields[4] : "yes";
    if (active != "yes" && active != "no") {
        throw std::invalid_argument("--account: ACTIVE must be yes or no");
    }
    account.nickActive = !account.nick.empty() && active == "yes";
    return account;
}

bool Loopback(const std::string& address) {
    in_addr v4{};
    in6_addr v6{};
    if (inet_pton(AF_INET, address.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    return address == "localhost" ||
           (inet_pton(AF_INET6, address.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6));
}

} // namespace

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        if (name == "--expose-admin") {
            options.exposeAdmin = true;
            continue;
        }
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw std::invalid_argument(name + " needs a value");
        }
        if (name == "--bind") {
            options.bind = value;
        } else if (name == "--port") {
            options.port = static_cast<int>(Number(name, value, 0, 65535));
        } else if (name == "--db") {
            options.db = value;
        } else if (name == "--token") {
            options.token = value;
        } else if (name == "--price") {
            options.price = Amount(name, value);
        } else if (name == "--session-ttl") {
            options.sessionTtl = std::chrono::seconds(Number(name, value, 1, 365 * 24 * 3600));
        } else if (name == "--delay-ms") {
            options.delay = std::chrono::milliseconds(Number(name, value, 0, 600000));
        } else if (name == "--account") {
            options.accounts.push_back(ParseAccount(value));
        } else {
            throw std::invalid_argument("unknown option " + name);
        }
    }
    if (!options.exposeAdmin && !Loopback(options.bind)) {
        throw std::invalid_argument("--bind " + options.bind +
                                    " is not a loopback address: the admin and outbox pages would "
                                    "show every account's contacts and messages to the network; "
                                    "add --expose-admin to allow that");
    }
    return options;
}

} // namespace server
