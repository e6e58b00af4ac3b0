// The horoscope database: a read-only connection and a cursor over table t.
//
// SQLite reads the sealed file page by page (see database_file.h): opening
// checks the header and the schema, opening table t reads and checks every
// page of the table itself, and a large value that lies on pages of its own
// (a picture) is read and checked when it is asked for, unless
// VerifyEveryPage checked every page beforehand. Nothing is ever
// written. Records come in rowid order, the order they were stored in, so
// "the first record" is the first one the builder wrote. Only fixed prepared
// SELECTs run; no SQL is ever built from data beyond quoted column names.
//
// Texts are UTF-8. A field's text is SQLite's text form of the value: an
// integer 5 reads "5", NULL reads "".
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "horoscope/calendar_day_lookup.h"

struct sqlite3;
struct sqlite3_stmt;

namespace toravel {

class SealedImage;

// Every failure of the data layer: a missing or damaged file, a missing table,
// a missing field. The message is the one the user sees. A calendar-day
// lookup's failure to read its days is one (horoscope/calendar_day_lookup.h).
class DatabaseError : public CalendarDataError {
public:
    using CalendarDataError::CalendarDataError;
};

// The connection string the program opens its database with.
inline constexpr std::string_view HoroscopeConnectionString =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=.\\DB\\bd.mdb;"
    "Persist Security Info=False;Jet OLEDB:Database Password=mnb852$%^";

// The parts of a connection string the layer uses. Keys are matched ignoring
// ASCII case and surrounding blanks; a value may be quoted with " or ' (a
// doubled quote inside stands for one); other keys are ignored.
struct ConnectionSettings {
    std::string dataSource; // "Data Source"
    std::string password;   // "Jet OLEDB:Database Password", empty if absent
};

// Throws DatabaseError when "Data Source" is missing or a quote is not closed.
ConnectionSettings ParseConnectionString(std::string_view connectionString);

// Largest database file and largest field value the layer accepts.
inline constexpr std::size_t MaxDatabaseFileBytes = 64u << 20;
inline constexpr int MaxFieldBytes = 16 << 20;

class DatabaseConnection {
public:
    // Opens the file named by the connection string's Data Source, a
    // Windows-style path resolved against the working directory (see
    // ResolveWindowsPath), and reads its schema. Throws DatabaseError.
    explicit DatabaseConnection(std::string_view connectionString);

    // The path as the connection string wrote it, for messages.
    const std::string& DataSource() const { return dataSource_; }

    // Reads and checks every page of the file, pictures included, as the
    // window does at start-up; otherwise a page is checked when it is read.
    // Throws the damaged-file DatabaseError.
    void VerifyEveryPage() const;

private:
    friend class TableCursor;
    std::string dataSource_;
    std::shared_ptr<SealedImage> image_;
    std::shared_ptr<sqlite3> handle_;
};

// A cursor over every record of table t, in rowid order. Opening it places
// it on the first record (at the end when the table is empty).
//
// A read that meets a damaged page throws the damaged-file error; reads of
// sound pages go on (a damaged picture costs that picture alone).
class TableCursor {
public:
    // Throws DatabaseError when the file has no plain table t, or when a
    // page of t is damaged.
    explicit TableCursor(const DatabaseConnection& connection);

    void First();
    void Next(); // no effect at the end
    bool Eof() const { return eof_; }

    // The names of the table's fields, in table order.
    const std::vector<std::string>& FieldNames() const { return fieldNames_; }

    // The current record's field as text; "" at the end of the table.
    // Throws DatabaseError "Field '<name>' not found", or the damaged-file
    // error.
    std::string FieldText(std::string_view name) const;

    // Replaces buffer's content with the field's bytes (a text value gives
    // its UTF-8 bytes); empty at the end of the table or for NULL.
    // Throws DatabaseError "Field '<name>' not found", or the damaged-file
    // error.
    void CopyFieldBytes(std::string_view name, std::vector<unsigned char>& buffer) const;

private:
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

    // Where a field's value is read: from the walk's own statement, or, for
    // a field declared BLOB, from a statement of its own run when the value
    // is asked for, so that walking the table never reads a picture.
    struct Field {
        int walkColumn = -1; // column of the walk, or -1
        std::string quotedName;
    };

    class ValueRelease;

    int FieldIndex(std::string_view name) const;
    void Step();
    [[noreturn]] void ThrowReadError(int rc) const;
    // The statement and column holding the current record's value of field
    // index, stepped onto its row; no statement at the end of the table.
    std::pair<sqlite3_stmt*, int> ValueOf(int index) const;

    std::string dataSource_;
    std::shared_ptr<SealedImage> image_;
    std::shared_ptr<sqlite3> handle_;
    // Declared after handle_, so they are finalized before the connection
    // closes.
    Statement statement_;
    mutable std::vector<Statement> fieldStatements_;
    std::vector<std::string> fieldNames_;
    std::vector<Field> fields_;
    bool eof_ = true;
};

} // namespace toravel
