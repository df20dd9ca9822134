#pragma once

#include "records.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace server {

// Everything the gateway keeps, in one SQLite file that outlives a restart. One connection is
// shared by all request threads and guarded by a mutex. Failures are thrown as
// std::runtime_error.
class Storage {
public:
    // Opens or creates the database; ":memory:" keeps the data for this run only.
    explicit Storage(const std::string& path);
    ~Storage();
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;

    // Closes the database once the request in progress, if any, is done; later calls throw.
    void Close();

    // Creates the account or replaces all its values.
    void PutAccount(const Account& account);
    std::optional<Account> FindAccount(std::string_view login);
    std::vector<AccountSummary> Accounts();
    void SetNick(std::string_view login, std::string_view nick, bool active);

    // Takes the message's price from its account's credit and records the message, both or
    // neither. Gives the credit left, or nothing when the credit does not cover the price. Sets
    // the message's id.
    std::optional<Hundredths> ChargeAndRecord(SentMessage& message);
    std::vector<SentMessage> Messages();

    // Identifiers are never reused, so a toolbar holding a deleted contact's id cannot reach a
    // newer contact with it.
    std::int64_t AddContact(std::string_view login, const Contact& contact);
    // False when the account has no contact with that id.
    bool EditContact(std::string_view login, const Contact& contact);
    bool DeleteContact(std::string_view login, std::int64_t id);
    std::vector<Contact> Contacts(std::string_view login);

    // Times in milliseconds since 1970. Storing a session drops the expired ones.
    void PutSession(std::string_view sid, std::string_view login, std::int64_t nowMs,
                    std::int64_t expiresMs);
    // The login of a live session, whose expiry then moves to renewedExpiresMs; nothing when the
    // session is unknown or has expired.
    std::optional<std::string> RenewSession(std::string_view sid, std::int64_t nowMs,
                                            std::int64_t renewedExpiresMs);
    void EndSession(std::string_view sid);

private:
    sqlite3* OpenDb() const;

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
};

} // namespace server
