#include "storage.h"

#include "sqlite_statement.h"

#include <sqlite3.h>

#include <stdexcept>

namespace server {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS accounts (
    login TEXT PRIMARY KEY,
    password_digest TEXT NOT NULL,
    credit INTEGER NOT NULL,
    nick TEXT NOT NULL,
    nick_active INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS contacts (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    login TEXT NOT NULL,
    phone TEXT NOT NULL,
    email TEXT NOT NULL,
    name TEXT NOT NULL,
    surname TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS contacts_by_login ON contacts (login);
CREATE TABLE IF NOT EXISTS messages (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    login TEXT NOT NULL,
    msisdn TEXT NOT NULL,
    text TEXT NOT NULL,
    nick TEXT,
    delay TEXT,
    recack INTEGER,
    recackaddr TEXT,
    waitfordelivery INTEGER NOT NULL,
    received INTEGER NOT NULL,
    deliver_at INTEGER NOT NULL,
    parts INTEGER NOT NULL,
    price INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS sessions (
    sid TEXT PRIMARY KEY,
    login TEXT NOT NULL,
    expires_ms INTEGER NOT NULL
);
)sql";

// Credit and prices are stored in hundredths of a crown (see money.h).
constexpr const char* kAccountColumns = "login, password_digest, credit, nick, nick_active";

Account ReadAccount(const SqliteStatement& row) {
    return Account{row.Text(0), row.Text(1), row.Int(2), row.Text(3), row.Int(4) != 0};
}

} // namespace

Storage::Storage(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const std::string message = "cannot open database " + path + ": " + sqlite3_errmsg(db_);
        sqlite3_close(db_);
        throw std::runtime_error(message);
    }
    try {
        // Another gateway process on the same file waits for the lock instead of failing.
        sqlite3_busy_timeout(db_, 5000);
        SqliteExec(db_, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
        SqliteExec(db_, kSchema);
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

Storage::~Storage() {
    sqlite3_close(db_);
}

void Storage::Close() {
    std::lock_guard lock(mutex_);
    sqlite3_close(db_);
    db_ = nullptr;
}

sqlite3* Storage::OpenDb() const {
    if (!db_) {
        throw std::runtime_error("the database is closed");
    }
    return db_;
}

void Storage::PutAccount(const Account& account) {
    std::lock_guard lock(mutex_);
    SqliteStatement put(OpenDb(), R"sql(
        INSERT INTO accounts (login, password_digest, credit, nick, nick_active)
        VALUES (?1, ?2, ?3, ?4, ?5)
        ON CONFLICT (login) DO UPDATE SET password_digest = ?2, credit = ?3, nick = ?4,
                                          nick_active = ?5)sql");
    put.Bind(1, account.login)
        .Bind(2, account.passwordDigest)
        .Bind(3, account.credit)
        .Bind(4, account.nick)
        .Bind(5, std::int64_t{account.nickActive});
    put.Step();
}

std::optional<Account> Storage::FindAccount(std::string_view login) {
    std::lock_guard lock(mutex_);
    SqliteStatement find(OpenDb(), std::string("SELECT ") + kAccountColumns +
                                       " FROM accounts WHERE login = ?1");
    find.Bind(1, login);
    if (!find.Step()) {
        return std::nullopt;
    }
    return ReadAccount(find);
}

std::vector<AccountSummary> Storage::Accounts() {
    std::lock_guard lock(mutex_);
    SqliteStatement all(OpenDb(), std::string("SELECT ") + kAccountColumns +
                                      ", (SELECT COUNT(*) FROM contacts c WHERE c.login = "
                                      "accounts.login) FROM accounts ORDER BY login");
    std::vector<AccountSummary> accounts;
    while (all.Step()) {
        accounts.push_back(AccountSummary{ReadAccount(all), all.Int(5)});
    }
    return accounts;
}

std::optional<Hundredths> Storage::ChargeAndRecord(SentMessage& message) {
    std::lock_guard lock(mutex_);
    sqlite3* db = OpenDb();
    SqliteExec(db, "BEGIN IMMEDIATE");
    try {
        {
            SqliteStatement charge(db, "UPDATE accounts SET credit = credit - ?1 "
                                       "WHERE login = ?2 AND credit >= ?1");
            charge.Bind(1, message.price).Bind(2, message.login);
            charge.Step();
        }
        if (sqlite3_changes(db) == 0) {
            SqliteExec(db, "ROLLBACK");
            return std::nullopt;
        }
        {
            SqliteStatement record(db, R"sql(
                INSERT INTO messages (login, msisdn, text, nick, delay, recack, recackaddr,
                                      waitfordelivery, received, deliver_at, parts, price)
                VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12))sql");
            record.Bind(1, message.login)
                .Bind(2, message.msisdn)
                .Bind(3, message.text)
                .BindOptional(4, message.nick)
                .BindOptional(5, message.delay)
                .BindOptional(6, message.recack)
                .BindOptional(7, message.recackaddr)
                .Bind(8, message.waitForDelivery)
                .Bind(9, message.received)
                .Bind(10, message.deliverAt)
                .Bind(11, std::int64_t{message.parts})
                .Bind(12, message.price);
            record.Step();
        }
        message.id = sqlite3_last_insert_rowid(db);
        Hundredths left = 0;
        {
            SqliteStatement credit(db, "SELECT credit FROM accounts WHERE login = ?1");
            credit.Bind(1, message.login);
            credit.Step();
            left = credit.Int(0);
        }
        SqliteExec(db, "COMMIT");
        return left;
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::vector<SentMessage> Storage::Messages() {
    std::lock_guard lock(mutex_);
    SqliteStatement all(OpenDb(), R"sql(
        SELECT id, login, msisdn, text, nick, delay, recack, recackaddr, waitfordelivery,
               received, deliver_at, parts, price
        FROM messages ORDER BY id)sql");
    std::vector<SentMessage> messages;
    while (all.Step()) {
        SentMessage m;
        m.id = all.Int(0);
        m.login = all.Text(1);
        m.msisdn = all.Text(2);
        m.text = all.Text(3);
        m.nick = all.OptionalText(4);
        m.delay = all.OptionalText(5);
        m.recack = all.OptionalInt(6);
        m.recackaddr = all.OptionalText(7);
        m.waitForDelivery = all.Int(8);
        m.received = all.Int(9);
        m.deliverAt = all.Int(10);
        m.parts = static_cast<int>(all.Int(11));
        m.price = all.Int(12);
        messages.push_back(std::move(m));
    }
    return messages;
}

std::int64_t Storage::AddContact(std::string_view login, const Contact& contact) {
    std::lock_guard lock(mutex_);
    sqlite3* db = OpenDb();
    SqliteStatement add(db, "INSERT INTO contacts (login, phone, email, name, surname) "
                            "VALUES (?1, ?2, ?3, ?4, ?5)");
    add.Bind(1, login)
        .Bind(2, contact.phone)
        .Bind(3, contact.email)
        .Bind(4, contact.name)
        .Bind(5, contact.surname);
    add.Step();
    return sqlite3_last_insert_rowid(db);
}

bool Storage::EditContact(std::string_view login, const Contact& contact) {
    std::lock_guard lock(mutex_);
    sqlite3* db = OpenDb();
    SqliteStatement edit(db, "UPDATE contacts SET phone = ?3, email = ?4, name = ?5, "
                             "surname = ?6 WHERE id = ?1 AND login = ?2");
    edit.Bind(1, contact.id)
        .Bind(2, login)
        .Bind(3, contact.phone)
        .Bind(4, contact.email)
        .Bind(5, contact.name)
        .Bind(6, contact.surname);
    edit.Step();
    return sqlite3_changes(db) > 0;
}

bool Storage::DeleteContact(std::string_view login, std::int64_t id) {
    std::lock_guard lock(mutex_);
    sqlite3* db = OpenDb();
    SqliteStatement remove(db, "DELETE FROM contacts WHERE id = ?1 AND login = ?2");
    remove.Bind(1, id).Bind(2, login);
    remove.Step();
    return sqlite3_changes(db) > 0;
}

std::vector<Contact> Storage::Contacts(std::string_view login) {
    std::lock_guard lock(mutex_);
    SqliteStatement all(OpenDb(), "SELECT id, phone, email, name, surname FROM contacts "
                                  "WHERE login = ?1 ORDER BY id");
    all.Bind(1, login);
    std::vector<Contact> contacts;
    while (all.Step()) {
        contacts.push_back(Contact{all.Int(0), all.Text(1), all.Text(2), all.Text(3), all.Text(4)});
    }
    return contacts;
}

void Storage::PutSession(std::string_view sid, std::string_view login, std::int64_t nowMs,
                         std::int64_t expiresMs) {
    std::lock_guard lock(mutex_);
    sqlite3* db = OpenDb();
    SqliteStatement purge(db, "DELETE FROM sessions WHERE expires_ms <= ?1");
    purge.Bind(1, nowMs);
    purge.Step();
    SqliteStatement put(db, "INSERT INTO sessions (sid, login, expires_ms) VALUES (?1, ?2, ?3)");
    put.Bind(1, sid).Bind(2, login).Bind(3, expiresMs);
    put.Step();
}

std::optional<std::string> Storage::RenewSession(std::string_view sid, std::int64_t nowMs,
                                                 std::int64_t renewedExpiresMs) {
    std::lock_guard lock(mutex_);
    sqlite3* db = OpenDb();
    SqliteStatement renew(db, "UPDATE sessions SET expires_ms = ?3 "
                              "WHERE sid = ?1 AND expires_ms > ?2 RETURNING login");
    renew.Bind(1, sid).Bind(2, nowMs).Bind(3, renewedExpiresMs);
    if (!renew.Step()) {
        return std::nullopt;
    }
    return renew.Text(0);
}

void Storage::SetNick(std::string_view login, std::string_view nick, bool active) {
    std::lock_guard lock(mutex_);
    SqliteStatement update(OpenDb(),
                           "UPDATE accounts SET nick = ?2, nick_active = ?3 WHERE login = ?1");
    update.Bind(1, login).Bind(2, nick).Bind(3, std::int64_t{active});
    update.Step();
}

void Storage::EndSession(std::string_view sid) {
    std::lock_guard lock(mutex_);
    SqliteStatement remove(OpenDb(), "DELETE FROM sessions WHERE sid = ?1");
    remove.Bind(1, sid);
    remove.Step();
}

} // namespace server
