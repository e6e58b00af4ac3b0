// The read-only data-access layer over SQLite.
#include "platform/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "platform/ascii_text.h"
#include "platform/database_file.h"
#include "platform/windows_path.h"

namespace toravel {
namespace {

std::string QuoteForMessage(const std::string& dataSource) {
    return "'" + dataSource + "'";
}

struct FileBytes {
    std::unique_ptr<unsigned char[]> data;
    std::size_t size = 0;
};

// The whole file, or a DatabaseError saying why not.
FileBytes ReadWholeFile(const std::string& dataSource) {
    const std::filesystem::path path = ResolveWindowsPath(dataSource);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw DatabaseError("Could not find file " + QuoteForMessage(dataSource));
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        throw DatabaseError("Cannot read database file " + QuoteForMessage(dataSource));
    }
    if (size > MaxDatabaseFileBytes) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource));
    }
    FileBytes bytes{std::make_unique_for_overwrite<unsigned char[]>(size),
                    static_cast<std::size_t>(size)};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes.data.get()),
                   static_cast<std::streamsize>(bytes.size)) ||
        file.peek() != std::char_traits<char>::eof()) {
        throw DatabaseError("Cannot read database file " + QuoteForMessage(dataSource));
    }
    return bytes;
}

struct SqliteCloser {
    void operator()(sqlite3* handle) const { sqlite3_close_v2(handle); }
};

struct SqliteFree {
    void operator()(unsigned char* buffer) const { sqlite3_free(buffer); }
};

// A connection over the image sealed in file that runs nothing but what the
// layer asks: no triggers, no views, no functions from the schema, values
// capped in size.
std::shared_ptr<sqlite3> OpenImage(const FileBytes& file, const std::string& password,
                                   const std::string& dataSource) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr);
    std::shared_ptr<sqlite3> handle(raw, SqliteCloser{});
    if (rc != SQLITE_OK) {
        throw DatabaseError("Cannot start the database engine");
    }
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, MaxFieldBytes);
    sqlite3_limit(raw, SQLITE_LIMIT_ATTACHED, 0);

    // The image is decrypted straight into a buffer of SQLite's allocator,
    // which SQLite frees when the connection closes.
    const std::size_t imageBytes = SealedImageBytes(file.size);
    std::unique_ptr<unsigned char, SqliteFree> image(
        static_cast<unsigned char*>(sqlite3_malloc64(imageBytes == 0 ? 1 : imageBytes)));
    if (!image) {
        throw DatabaseError("Not enough memory to open " + QuoteForMessage(dataSource));
    }
    OpenSealedImage(file.data.get(), file.size, password, dataSource, image.get());
    const auto size = static_cast<sqlite3_int64>(imageBytes);
    if (sqlite3_deserialize(raw, "main", image.release(), size, size,
                            SQLITE_DESERIALIZE_READONLY | SQLITE_DESERIALIZE_FREEONCLOSE) !=
        SQLITE_OK) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource));
    }
    // Reading the schema is the first thing that touches the pages.
    sqlite3_stmt* probe = nullptr;
    int probeRc =
        sqlite3_prepare_v2(raw, "SELECT count(*) FROM sqlite_schema", -1, &probe, nullptr);
    if (probeRc == SQLITE_OK) {
        probeRc = sqlite3_step(probe);
    }
    sqlite3_finalize(probe);
    if (probeRc != SQLITE_ROW) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource));
    }
    return handle;
}

bool IsRowidAlias(const std::string& name) {
    std::string lower;
    std::transform(name.begin(), name.end(), std::back_inserter(lower), AsciiLower);
    return lower == "rowid" || lower == "oid" || lower == "_rowid_";
}

} // namespace

ConnectionSettings ParseConnectionString(std::string_view text) {
    ConnectionSettings settings;
    bool haveDataSource = false;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t equals = text.find('=', position);
        const std::size_t semicolon = text.find(';', position);
        if (equals == std::string_view::npos ||
            (semicolon != std::string_view::npos && semicolon < equals)) {
            // A piece without "=": nothing to take from it.
            if (semicolon == std::string_view::npos) {
                break;
            }
            position = semicolon + 1;
            continue;
        }
        const std::string_view key = TrimSpacesAndTabs(text.substr(position, equals - position));
        std::size_t valueStart = equals + 1;
        while (valueStart < text.size() && IsSpaceOrTab(text[valueStart])) {
            ++valueStart;
        }
        std::string value;
        if (valueStart < text.size() && (text[valueStart] == '"' || text[valueStart] == '\'')) {
            const char quote = text[valueStart];
            std::size_t i = valueStart + 1;
            for (;;) {
                if (i >= text.size()) {
                    throw DatabaseError("Connection string has an unclosed quote");
                }
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) {
                        value.push_back(quote);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value.push_back(text[i]);
                ++i;
            }
            const std::size_t next = text.find(';', i);
            position = next == std::string_view::npos ? text.size() : next + 1;
        } else {
            const std::size_t next = text.find(';', valueStart);
            const std::size_t end = next == std::string_view::npos ? text.size() : next;
            value = std::string(TrimSpacesAndTabs(text.substr(valueStart, end - valueStart)));
            position = next == std::string_view::npos ? text.size() : next + 1;
        }
        if (EqualIgnoringAsciiCase(key, "Data Source")) {
            settings.dataSource = std::move(value);
            haveDataSource = true;
        } else if (EqualIgnoringAsciiCase(key, "Jet OLEDB:Database Password")) {
            settings.password = std::move(value);
        }
    }
    if (!haveDataSource || settings.dataSource.empty()) {
        throw DatabaseError("Connection string has no Data Source");
    }
    return settings;
}

DatabaseConnection::DatabaseConnection(std::string_view connectionString) {
    const ConnectionSettings settings = ParseConnectionString(connectionString);
    dataSource_ = settings.dataSource;
    handle_ = OpenImage(ReadWholeFile(dataSource_), settings.password, dataSource_);
}

TableCursor::TableCursor(const DatabaseConnection& connection)
    : dataSource_(connection.dataSource_), handle_(connection.handle_) {
    sqlite3* db = handle_.get();
    const std::string where = " in " + QuoteForMessage(dataSource_);

    sqlite3_stmt* schema = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT type, sql FROM sqlite_schema WHERE name = 't' COLLATE NOCASE",
                           -1, &schema, nullptr) != SQLITE_OK) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource_));
    }
    const int rc = sqlite3_step(schema);
    std::string type;
    std::string sql;
    if (rc == SQLITE_ROW) {
        const auto* typeText = sqlite3_column_text(schema, 0);
        const auto* sqlText = sqlite3_column_text(schema, 1);
        type = typeText ? reinterpret_cast<const char*>(typeText) : "";
        sql = sqlText ? reinterpret_cast<const char*>(sqlText) : "";
    }
    sqlite3_finalize(schema);
    if (rc == SQLITE_DONE) {
        throw DatabaseError("Table 't' not found" + where);
    }
    if (rc != SQLITE_ROW) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource_));
    }
    const std::string notPlain = "Table 't'" + where + " is not a plain table";
    if (type != "table" || sql.rfind("CREATE TABLE", 0) != 0) {
        throw DatabaseError(notPlain);
    }
    sqlite3_stmt* statement = nullptr;
    const int prepared =
        sqlite3_prepare_v2(db, "SELECT * FROM t ORDER BY rowid", -1, &statement, nullptr);
    statement_.reset(statement);
    if (prepared != SQLITE_OK) {
        throw DatabaseError(notPlain); // a table without rowid
    }
    const int columns = sqlite3_column_count(statement);
    for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(statement, i);
        fieldNames_.emplace_back(name ? name : "");
        if (IsRowidAlias(fieldNames_.back())) {
            throw DatabaseError(notPlain);
        }
    }
    First();
}

void TableCursor::StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

void TableCursor::First() {
    sqlite3_reset(statement_.get());
    eof_ = false;
    Step();
}

void TableCursor::Next() {
    if (!eof_) {
        Step();
    }
}

void TableCursor::Step() {
    const int rc = sqlite3_step(statement_.get());
    if (rc == SQLITE_ROW) {
        return;
    }
    eof_ = true;
    if (rc != SQLITE_DONE) {
        const std::string detail =
            rc == SQLITE_TOOBIG ? "a field value is too large" : sqlite3_errstr(rc);
        sqlite3_reset(statement_.get());
        throw DatabaseError(DamagedDatabaseMessage(dataSource_) + ": " + detail);
    }
}

int TableCursor::FieldIndex(std::string_view name) const {
    const auto found = std::find(fieldNames_.begin(), fieldNames_.end(), name);
    if (found == fieldNames_.end()) {
        throw DatabaseError("Field '" + std::string(name) + "' not found");
    }
    return static_cast<int>(found - fieldNames_.begin());
}

std::string TableCursor::FieldText(std::string_view name) const {
    const int index = FieldIndex(name);
    if (eof_) {
        return {};
    }
    const auto* text = sqlite3_column_text(statement_.get(), index);
    if (text == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), index)));
}

void TableCursor::CopyFieldBytes(std::string_view name, std::vector<unsigned char>& buffer) const {
    const int index = FieldIndex(name);
    buffer.clear();
    if (eof_) {
        return;
    }
    const auto* bytes =
        static_cast<const unsigned char*>(sqlite3_column_blob(statement_.get(), index));
    const int size = sqlite3_column_bytes(statement_.get(), index);
    if (bytes != nullptr && size > 0) {
        buffer.assign(bytes, bytes + size);
    }
}

} // namespace toravel
