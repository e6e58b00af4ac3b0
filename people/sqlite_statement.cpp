#include "people/sqlite_statement.h"

#include "people/person_file.h"

namespace toravel {

void ThrowSqliteFailure(sqlite3* db, int code, const std::filesystem::path& path,
                        std::string_view action) {
    const std::string file = "«" + path.string() + "»";
    const std::string what(action);
    switch (code & 0xFF) {
    case SQLITE_FULL:
        throw PersonFileError(PersonFileProblem::DiskFull, "Не удалось " + what +
                                                               ": на диске нет места. Картотека " +
                                                               file + " не изменена.");
    case SQLITE_READONLY:
        throw PersonFileError(PersonFileProblem::ReadOnly, "Не удалось " + what + ": картотека " +
                                                               file +
                                                               " открыта только для чтения.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw PersonFileError(PersonFileProblem::Busy,
                              "Не удалось " + what + ": картотека " + file +
                                  " занята другой копией программы. Попробуйте ещё раз.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_ERROR: // a table or a column of the schema is missing
        throw PersonFileError(PersonFileProblem::Damaged,
                              "Картотека " + file +
                                  " повреждена. Её можно отложить под другим именем и "
                                  "начать новую.");
    default:
        break;
    }
    std::string reason = db != nullptr ? SystemReason(sqlite3_system_errno(db)) : std::string();
    if (reason.empty())
        reason = "ошибка SQLite " + std::to_string(code) + " (" + sqlite3_errstr(code) + ")";
    throw PersonFileError(PersonFileProblem::Unavailable,
                          "Не удалось " + what + ": " + reason + " (" + file + ").");
}

Statement::Statement(sqlite3* db, const char* sql, const std::filesystem::path& path,
                     std::string_view action)
    : db_(db), path_(path), action_(action) {
    const int code = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
    if (code != SQLITE_OK)
        ThrowSqliteFailure(db_, code, path_, action_);
}

void Statement::Bind(int index, std::string_view text) {
    if (text.data() == nullptr)
        text = ""; // SQLite binds a null pointer as NULL, not as an empty text
    sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void Statement::Bind(int index, std::optional<double> value) {
    if (value)
        sqlite3_bind_double(statement_, index, *value);
    else
        sqlite3_bind_null(statement_, index);
}

void Statement::Bind(int index, std::optional<std::int64_t> value) {
    if (value)
        sqlite3_bind_int64(statement_, index, *value);
    else
        sqlite3_bind_null(statement_, index);
}

void Statement::BindNull(int index) {
    sqlite3_bind_null(statement_, index);
}

bool Statement::Step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    ThrowSqliteFailure(db_, code, path_, action_);
}

void Statement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

bool Statement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::string Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    const int bytes = sqlite3_column_bytes(statement_, column);
    return text != nullptr ? std::string(text, static_cast<std::size_t>(bytes)) : std::string();
}

std::optional<double> Statement::Real(int column) const {
    if (IsNull(column))
        return std::nullopt;
    return sqlite3_column_double(statement_, column);
}

std::optional<std::int64_t> Statement::Integer(int column) const {
    if (IsNull(column))
        return std::nullopt;
    return sqlite3_column_int64(statement_, column);
}

} // namespace toravel
