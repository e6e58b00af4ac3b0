// A prepared SQLite statement of the person file, and the Russian message
// for each way a call into SQLite can fail. Internal to the people library.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files/system_reason.h"

namespace toravel {

// Throws PersonFileError for an SQLite result code. `action` says what was
// being done ("сохранить «Анна»"), `path` names the file.
[[noreturn]] void ThrowSqliteFailure(sqlite3* db, int code, const std::filesystem::path& path,
                                     std::string_view action);

class Statement {
public:
    Statement(sqlite3* db, const char* sql, const std::filesystem::path& path,
              std::string_view action);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(statement_); }

    void Bind(int index, std::string_view text);
    void Bind(int index, std::optional<double> value);
    void Bind(int index, std::optional<std::int64_t> value);
    void BindNull(int index);

    // True with a row, false when done; throws on failure.
    bool Step();
    void Reset();

    bool IsNull(int column) const;
    std::string Text(int column) const;
    std::optional<double> Real(int column) const;
    std::optional<std::int64_t> Integer(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    const std::filesystem::path& path_;
    std::string_view action_;
};

} // namespace toravel
