// The horoscope database: a read-only connection and a cursor over table t.
//
// The file is read whole into memory and handed to SQLite as a read-only
// image; nothing is ever written. Records come in rowid order, the order they
// were stored in, so "the first record" is the first one the builder wrote.
// Only fixed prepared SELECTs run; no SQL is ever built from data.
//
// Texts are UTF-8. A field's text is SQLite's text form of the value: an
// integer 5 reads "5", NULL reads "".
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace toravel {

// Every failure of the data layer: a missing or damaged file, a missing table,
// a missing field. The message is the one the user sees.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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
    // ResolveWindowsPath). Throws DatabaseError.
    explicit DatabaseConnection(std::string_view connectionString);

    // The path as the connection string wrote it, for messages.
    const std::string& DataSource() const { return dataSource_; }

private:
    friend class TableCursor;
    std::string dataSource_;
    std::shared_ptr<sqlite3> handle_;
};

// A cursor over every record of table t, in rowid order. Opening it places
// it on the first record (at the end when the table is empty).
class TableCursor {
public:
    // Throws DatabaseError when the file has no plain table t.
    explicit TableCursor(const DatabaseConnection& connection);

    void First();
    void Next(); // no effect at the end
    bool Eof() const { return eof_; }

    // The names of the table's fields, in table order.
    const std::vector<std::string>& FieldNames() const { return fieldNames_; }

    // The current record's field as text; "" at the end of the table.
    // Throws DatabaseError "Field '<name>' not found".
    std::string FieldText(std::string_view name) const;

    // Replaces buffer's content with the field's bytes (a text value gives
    // its UTF-8 bytes); empty at the end of the table or for NULL.
    // Throws DatabaseError "Field '<name>' not found".
    void CopyFieldBytes(std::string_view name, std::vector<unsigned char>& buffer) const;

private:
    int FieldIndex(std::string_view name) const;
    void Step();

    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };

    std::string dataSource_;
    std::shared_ptr<sqlite3> handle_;
    // Declared after handle_, so it is finalized before the connection closes.
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> statement_;
    std::vector<std::string> fieldNames_;
    bool eof_ = true;
};

} // namespace toravel
