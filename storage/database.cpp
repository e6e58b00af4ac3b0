// The read-only data-access layer over SQLite.
#include "storage/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/ascii_text.h"
#include "storage/database_file.h"
#include "storage/database_vfs.h"
#include "storage/windows_path.h"

namespace toravel {
namespace {

std::string QuoteForMessage(const std::string& dataSource) {
    return "'" + dataSource + "'";
}

struct SqliteCloser {
    void operator()(sqlite3* handle) const { sqlite3_close_v2(handle); }
};

// A connection over the sealed image that runs nothing but what the layer
// asks: no triggers, no views, no functions from the schema, values capped
// in size.
std::shared_ptr<sqlite3> OpenImage(const std::shared_ptr<SealedImage>& image,
                                   const std::string& dataSource) {
    sqlite3* raw = nullptr;
    const int rc = OpenSealedImageConnection(image, &raw);
    std::shared_ptr<sqlite3> handle(raw, SqliteCloser{});
    if (rc != SQLITE_OK) {
        throw DatabaseError(rc == SQLITE_NOMEM
                                ? "Not enough memory to open " + QuoteForMessage(dataSource)
                                : std::string("Cannot start the database engine"));
    }
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, MaxFieldBytes);
    sqlite3_limit(raw, SQLITE_LIMIT_ATTACHED, 0);

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

// A column name as an SQL identifier.
std::string QuotedIdentifier(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

// Declared BLOB: the builder's picture fields.
bool DeclaredBlob(const char* declaredType) {
    if (declaredType == nullptr) {
        return false;
    }
    std::string lower(declaredType);
    std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
    return lower.find("blob") != std::string::npos;
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
    image_ = std::make_shared<SealedImage>(ResolveWindowsPath(dataSource_), settings.password,
                                           dataSource_);
    handle_ = OpenImage(image_, dataSource_);
}

void DatabaseConnection::VerifyEveryPage() const {
    if (!image_->VerifyEveryPart()) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource_));
    }
}

TableCursor::TableCursor(const DatabaseConnection& connection)
    : dataSource_(connection.dataSource_), image_(connection.image_), handle_(connection.handle_) {
    sqlite3* db = handle_.get();
    const std::string where = " in " + QuoteForMessage(dataSource_);

    sqlite3_stmt* schema = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT type, sql FROM sqlite_schema WHERE name = 't' COLLATE NOCASE",
                           -1, &schema, nullptr) != SQLITE_OK) {
        ThrowReadError(sqlite3_errcode(db));
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
        ThrowReadError(rc);
    }
    const std::string notPlain = "Table 't'" + where + " is not a plain table";
    if (type != "table" || sql.rfind("CREATE TABLE", 0) != 0) {
        throw DatabaseError(notPlain);
    }

    // The fields, in table order, and which of them the walk reads itself.
    sqlite3_stmt* all = nullptr;
    const int prepared =
        sqlite3_prepare_v2(db, "SELECT * FROM t ORDER BY rowid", -1, &all, nullptr);
    const Statement allFields(all);
    if (prepared != SQLITE_OK) {
        if (image_->Damaged()) {
            ThrowReadError(prepared);
        }
        throw DatabaseError(notPlain); // a table without rowid
    }
    std::string walk = "SELECT rowid";
    int walkColumns = 1;
    const int columns = sqlite3_column_count(all);
    for (int i = 0; i < columns; ++i) {
        const char* name = sqlite3_column_name(all, i);
        fieldNames_.emplace_back(name ? name : "");
        if (IsRowidAlias(fieldNames_.back())) {
            throw DatabaseError(notPlain);
        }
        Field field{-1, QuotedIdentifier(fieldNames_.back())};
        if (!DeclaredBlob(sqlite3_column_decltype(all, i))) {
            field.walkColumn = walkColumns++;
            walk += ", " + field.quotedName;
        }
        fields_.push_back(std::move(field));
    }
    fieldStatements_.resize(fields_.size());
    walk += " FROM t ORDER BY rowid";
    sqlite3_stmt* statement = nullptr;
    const int walkPrepared = sqlite3_prepare_v2(db, walk.c_str(), -1, &statement, nullptr);
    statement_.reset(statement);
    if (walkPrepared != SQLITE_OK) {
        ThrowReadError(walkPrepared);
    }

    // Every page of the table proper is read and checked now, so a damaged
    // calendar is refused at once whichever record a lookup stops at.
    // Counting visits each page of t but no page of a value's overflow.
    sqlite3_stmt* count = nullptr;
    int counted = sqlite3_prepare_v2(db, "SELECT count(*) FROM t", -1, &count, nullptr);
    if (counted == SQLITE_OK) {
        counted = sqlite3_step(count);
    }
    sqlite3_finalize(count);
    if (counted != SQLITE_ROW) {
        ThrowReadError(counted);
    }
    First();
}

void TableCursor::StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

void TableCursor::ThrowReadError(int rc) const {
    if (image_->Damaged()) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource_));
    }
    if (rc == SQLITE_TOOBIG) {
        throw DatabaseError(DamagedDatabaseMessage(dataSource_) + ": a field value is too large");
    }
    throw DatabaseError(DamagedDatabaseMessage(dataSource_) + ": " + sqlite3_errstr(rc));
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
        sqlite3_reset(statement_.get());
        ThrowReadError(rc);
    }
}

int TableCursor::FieldIndex(std::string_view name) const {
    const auto found = std::find(fieldNames_.begin(), fieldNames_.end(), name);
    if (found == fieldNames_.end()) {
        throw DatabaseError("Field '" + std::string(name) + "' not found");
    }
    return static_cast<int>(found - fieldNames_.begin());
}

std::pair<sqlite3_stmt*, int> TableCursor::ValueOf(int index) const {
    if (eof_) {
        return {nullptr, 0};
    }
    const Field& field = fields_[static_cast<std::size_t>(index)];
    if (field.walkColumn >= 0) {
        return {statement_.get(), field.walkColumn};
    }
    Statement& value = fieldStatements_[static_cast<std::size_t>(index)];
    if (!value) {
        const std::string sql = "SELECT " + field.quotedName + " FROM t WHERE rowid = ?1";
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(handle_.get(), sql.c_str(), -1, &raw, nullptr);
        value.reset(raw);
        if (rc != SQLITE_OK) {
            ThrowReadError(rc);
        }
    }
    sqlite3_reset(value.get());
    sqlite3_bind_int64(value.get(), 1, sqlite3_column_int64(statement_.get(), 0));
    const int rc = sqlite3_step(value.get());
    if (rc != SQLITE_ROW) {
        sqlite3_reset(value.get());
        ThrowReadError(rc == SQLITE_DONE ? SQLITE_CORRUPT : rc);
    }
    return {value.get(), 0};
}

// Releases a field's own statement, and the copy of the value it holds,
// once the value has been taken.
class TableCursor::ValueRelease {
public:
    ValueRelease(sqlite3_stmt* statement, const TableCursor& cursor)
        : statement_(statement != cursor.statement_.get() ? statement : nullptr) {}
    ~ValueRelease() { sqlite3_reset(statement_); }
    ValueRelease(const ValueRelease&) = delete;
    ValueRelease& operator=(const ValueRelease&) = delete;

private:
    sqlite3_stmt* statement_;
};

std::string TableCursor::FieldText(std::string_view name) const {
    const auto [statement, column] = ValueOf(FieldIndex(name));
    if (statement == nullptr) {
        return {};
    }
    const ValueRelease release(statement, *this);
    const auto* text = sqlite3_column_text(statement, column);
    if (text == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

void TableCursor::CopyFieldBytes(std::string_view name, std::vector<unsigned char>& buffer) const {
    const auto [statement, column] = ValueOf(FieldIndex(name));
    buffer.clear();
    if (statement == nullptr) {
        return;
    }
    const ValueRelease release(statement, *this);
    const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(statement, column));
    const int size = sqlite3_column_bytes(statement, column);
    if (bytes != nullptr && size > 0) {
        buffer.assign(bytes, bytes + size);
    }
}

} // namespace toravel
