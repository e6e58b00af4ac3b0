// Building the SQLite image of the horoscope database.
#include "tools/build_database/database_builder.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "files/output_file.h"
#include "storage/database.h"

namespace toravel::tools {
namespace {

struct SqliteCloser {
    void operator()(sqlite3* handle) const { sqlite3_close_v2(handle); }
};

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

void Check(sqlite3* db, int rc, std::string_view what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
    }
}

Statement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    Check(db, sqlite3_prepare_v2(db, sql, -1, &raw, nullptr), sql);
    return Statement(raw);
}

int PictureColumn(const std::string& field) {
    for (std::size_t i = 0; i < PictureSources.size(); ++i) {
        if (PictureSources[i].field == field) {
            return static_cast<int>(5 + i); // after Mont, Day, Mir, Krug
        }
    }
    throw std::runtime_error("no picture field named " + field);
}

} // namespace

std::vector<Picture> ReadPictures(const std::filesystem::path& directory,
                                  const std::function<void(const std::string&)>& warn) {
    std::vector<Picture> pictures;
    for (const auto& source : PictureSources) {
        const std::filesystem::path path = directory / source.fileName;
        const auto text = ReadFileText(path);
        if (!text) {
            warn("picture " + path.string() + " is missing; field " + std::string(source.field) +
                 " stays empty");
            continue;
        }
        Picture picture{std::string(source.field), {text->begin(), text->end()}};
        if (picture.bytes.size() < 2 || picture.bytes[0] != 0xFF || picture.bytes[1] != 0xD8) {
            throw std::runtime_error("picture " + path.string() + " is not a JPEG file");
        }
        if (picture.bytes.size() > static_cast<std::size_t>(MaxFieldBytes)) {
            throw std::runtime_error("picture " + path.string() +
                                     " is larger than the database accepts");
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

std::vector<unsigned char> BuildDatabaseImage(const std::vector<CalendarRow>& rows,
                                              const std::vector<Picture>& pictures) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    Check(raw, rc, "opening an in-memory database");

    // Pointer-map pages (auto_vacuum) let SQLite find a later picture of the
    // first record without reading the pages of the pictures before it, so
    // reading one picture opens only its own parts of the sealed file.
    Check(raw,
          sqlite3_exec(raw,
                       "PRAGMA page_size = 4096;"
                       "PRAGMA auto_vacuum = INCREMENTAL;"
                       "CREATE TABLE t (Mont INTEGER, Day INTEGER, Mir TEXT, Krug TEXT,"
                       " \"рас\" BLOB, \"пмас\" BLOB, \"гим\" BLOB, \"моб\" BLOB, \"жоб\" BLOB);"
                       "BEGIN;",
                       nullptr, nullptr, nullptr),
          "creating table t");

    const Statement insert = Prepare(
        raw,
        "INSERT INTO t (rowid, Mont, Day, Mir, Krug, \"рас\", \"пмас\", \"гим\", \"моб\", \"жоб\")"
        " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        sqlite3_stmt* s = insert.get();
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        sqlite3_bind_int64(s, 1, static_cast<sqlite3_int64>(i + 1));
        sqlite3_bind_int(s, 2, rows[i].month);
        sqlite3_bind_int(s, 3, rows[i].day);
        sqlite3_bind_text(s, 4, rows[i].world.data(), static_cast<int>(rows[i].world.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 5, rows[i].circle.data(), static_cast<int>(rows[i].circle.size()),
                          SQLITE_TRANSIENT);
        if (i == 0) {
            for (const auto& picture : pictures) {
                // Column n of the insert is parameter n + 1 (the rowid comes first).
                sqlite3_bind_blob(s, PictureColumn(picture.field) + 1, picture.bytes.data(),
                                  static_cast<int>(picture.bytes.size()), SQLITE_TRANSIENT);
            }
        }
        Check(raw, sqlite3_step(s), "inserting a calendar row");
    }
    Check(raw, sqlite3_exec(raw, "COMMIT;", nullptr, nullptr, nullptr), "committing");

    sqlite3_int64 size = 0;
    unsigned char* image = sqlite3_serialize(raw, "main", &size, 0);
    if (image == nullptr) {
        throw std::runtime_error("cannot serialize the database");
    }
    std::vector<unsigned char> bytes(image, image + size);
    sqlite3_free(image);
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path,
                         const std::vector<unsigned char>& bytes) {
    try {
        OutputFile file(path);
        file.Stream().write(reinterpret_cast<const char*>(bytes.data()),
                            static_cast<std::streamsize>(bytes.size()));
        file.Commit();
    } catch (const OutputFileError& e) {
        throw std::runtime_error(e.what());
    }
}

} // namespace toravel::tools
