#include "sqlite_statement.h"

#include <sqlite3.h>

#include <stdexcept>

namespace server {

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    Check(sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
    Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::BindOptional(int index, const std::optional<std::string>& text) {
    if (!text) {
        Check(sqlite3_bind_null(stmt_, index));
        return *this;
    }
    return Bind(index, *text);
}

SqliteStatement& SqliteStatement::BindOptional(int index,
                                               const std::optional<std::int64_t>& value) {
    if (!value) {
        Check(sqlite3_bind_null(stmt_, index));
        return *this;
    }
    return Bind(index, *value);
}

bool SqliteStatement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    Check(rc);
    return false;
}

std::int64_t SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* bytes = sqlite3_column_text(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size))
                 : std::string();
}

std::optional<std::string> SqliteStatement::OptionalText(int column) const {
    if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) {
        return std::nullopt;
    }
    return Text(column);
}

std::optional<std::int64_t> SqliteStatement::OptionalInt(int column) const {
    if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) {
        return std::nullopt;
    }
    return Int(column);
}

void SqliteStatement::Check(int rc) const {
    if (rc != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db_));
    }
}

void SqliteExec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "SQLite failure";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

} // namespace server
