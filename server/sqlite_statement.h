#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace server {

// One prepared statement; every failure is thrown as std::runtime_error with SQLite's message.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters are numbered from 1, as in the SQL text (?1, ?2, ...).
    SqliteStatement& Bind(int index, std::string_view text);
    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& BindOptional(int index, const std::optional<std::string>& text);
    SqliteStatement& BindOptional(int index, const std::optional<std::int64_t>& value);

    // True while a result row is available; false once the statement is done.
    bool Step();

    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::optional<std::string> OptionalText(int column) const;
    std::optional<std::int64_t> OptionalInt(int column) const;

private:
    void Check(int rc) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Runs statements without parameters or results, such as the schema and transaction control.
void SqliteExec(sqlite3* db, const char* sql);

} // namespace server
