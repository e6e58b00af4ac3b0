#include "people/person_file.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <thread>

#include "people/name_key.h"
#include "people/person_schema.h"
#include "people/sqlite_statement.h"

namespace toravel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view OpenAction = "открыть картотеку";
constexpr std::string_view ReadAction = "прочитать картотеку";

std::string Quoted(const fs::path& path) {
    return "«" + path.string() + "»";
}

std::string UtcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// The person as it is written: changed now, created when first saved (kept
// from `old`, the entry it replaces), the last result kept from `old` while
// the inputs it was calculated from are the same, and a result without its
// moment dated now.
Person Stamped(const Person& person, const std::optional<Person>& old) {
    Person saved = person;
    saved.changed = UtcNow();
    saved.created = old ? old->created : saved.changed;
    if (old && !saved.lastResult && SameCalculationInputs(*old, saved))
        saved.lastResult = old->lastResult;
    if (saved.lastResult && saved.lastResult->calculated.empty())
        saved.lastResult->calculated = saved.changed;
    return saved;
}

// The result's six columns (lunar day, the three worlds, circle, moment),
// bound from parameter `first` on.
void BindLastResult(Statement& statement, int first, const LastResult& result) {
    statement.Bind(first, std::optional<std::int64_t>(result.lunarDay));
    statement.Bind(first + 1, std::string_view(result.dayWorld));
    statement.Bind(first + 2, std::string_view(result.lunarWorld));
    statement.Bind(first + 3, std::string_view(result.periodWorld));
    statement.Bind(first + 4, std::string_view(result.circle));
    statement.Bind(first + 5, std::string_view(result.calculated));
}

// A "file:" URI of the path, for the query parameters only URIs can carry.
std::string FileUri(const fs::path& path, const char* query) {
    std::string uri = "file:";
    for (const char c : fs::absolute(path).string()) {
        const unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
            c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", b);
            uri += escaped;
        }
    }
    return uri + query;
}

using Connection = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

Connection OpenConnection(const std::string& name, int flags, int& code) {
    sqlite3* raw = nullptr;
    code = sqlite3_open_v2(name.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection connection(raw, sqlite3_close_v2); // closed even when opening failed
    if (code == SQLITE_OK) {
        sqlite3_busy_timeout(raw, BusyTimeoutMs);
        sqlite3_extended_result_codes(raw, 1);
        // A file is data, never code: no schema tricks, no functions run
        // from the schema of a file someone else made.
        sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    }
    return connection;
}

struct Identity {
    std::int64_t applicationId = 0;
    std::int64_t version = 0;
    std::int64_t schemaObjects = 0;

    bool Empty() const { return applicationId == 0 && version == 0 && schemaObjects == 0; }
};

// The file's identity; the SQLite result code of the failure, if any. One
// statement is one read transaction: the three values belong together even
// while another copy of the program is creating the file.
int ReadIdentity(sqlite3* db, Identity& identity) {
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db,
                                  "SELECT (SELECT application_id FROM pragma_application_id), "
                                  "(SELECT user_version FROM pragma_user_version), "
                                  "(SELECT count(*) FROM sqlite_schema)",
                                  -1, &statement, nullptr);
    if (code == SQLITE_OK) {
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW) {
            identity.applicationId = sqlite3_column_int64(statement, 0);
            identity.version = sqlite3_column_int64(statement, 1);
            identity.schemaObjects = sqlite3_column_int64(statement, 2);
            code = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return code;
}

bool HasSqliteHeader(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char header[16] = {};
    in.read(header, sizeof header);
    return in.gcount() == 16 &&
           std::string_view(header, 16) == std::string_view("SQLite format 3\0", 16);
}

[[noreturn]] void ThrowNotOurs(const fs::path& path) {
    throw PersonFileError(PersonFileProblem::NotOurs,
                          "Файл " + Quoted(path) +
                              " — не картотека Торавеля, и программа его не изменит. Его можно "
                              "отложить под другим именем и начать новую картотеку.");
}

// Refuses, with the user's message, a file that is neither new nor a person
// file of a version this program knows.
void CheckIdentity(const Identity& identity, const fs::path& path) {
    if (identity.Empty())
        return;
    if (identity.applicationId != PersonFileApplicationId)
        ThrowNotOurs(path);
    if (identity.version > PersonFileVersion)
        throw PersonFileError(
            PersonFileProblem::Newer,
            "Картотека " + Quoted(path) + " записана более новой версией Торавеля (версия файла " +
                std::to_string(identity.version) + ", эта программа знает версии до " +
                std::to_string(PersonFileVersion) +
                "). Обновите программу; файл оставлен как есть.");
    if (identity.version < 1)
        ThrowSqliteFailure(nullptr, SQLITE_CORRUPT, path, OpenAction);
}

// A connection that only reads. `immutable` reads without locks and leaves
// nothing beside the file; otherwise SQLite takes its locks and reads the
// -wal through the -shm file (which it makes when missing).
Connection OpenReading(const fs::path& path, bool immutable, int& code) {
    return OpenConnection(FileUri(path, immutable ? "?immutable=1" : "?mode=ro"),
                          SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, code);
}

// Whether this process may change the file: write it, and make and remove
// the -wal and -shm files beside it in its folder.
bool MayChange(const fs::path& path) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 &&
           ::faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
}

// How a file this process may not change is read without leaving anything
// beside it: through its -shm when a -wal with changes and its -shm are
// there (SQLite then only reads the -shm), otherwise as immutable. (Changes
// left in a -wal without its -shm by a program that was killed show once the
// file may be written again.)
bool ReadImmutable(const fs::path& path) {
    std::error_code ignored;
    const fs::path wal = path.string() + "-wal", shm = path.string() + "-shm";
    const auto walBytes = fs::file_size(wal, ignored);
    return ignored || walBytes == 0 || !fs::exists(shm, ignored);
}

// Whether a failure to read is SQLite's failing to make or use the -shm
// file beside a WAL database, rather than the file's own fault.
bool NoSharedMemory(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_FULL || primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN ||
           primary == SQLITE_READONLY;
}

// Reads the file's identity and checks every page and index through a
// read-only connection; throws the user's message for a file this program
// must not open. `immutable`: see OpenReading.
void Inspect(const fs::path& path, bool immutable) {
    int code = SQLITE_OK;
    Identity identity;
    Connection db = OpenReading(path, immutable, code);
    if (code == SQLITE_OK)
        code = ReadIdentity(db.get(), identity);
    if (NoSharedMemory(code) && !immutable) {
        // Where SQLite cannot make or grow the -shm file of a WAL database (a
        // read-only file system, a full disk), nobody can write the file
        // either, so reading it as immutable is safe.
        Inspect(path, true);
        return;
    }
    if ((code & 0xFF) == SQLITE_NOTADB) {
        if (!HasSqliteHeader(path))
            ThrowNotOurs(path);
        ThrowSqliteFailure(nullptr, SQLITE_CORRUPT, path, OpenAction);
    }
    if (code != SQLITE_OK)
        ThrowSqliteFailure(db.get(), code, path, OpenAction);
    CheckIdentity(identity, path);
    if (identity.Empty())
        return;
    // integrity_check, not quick_check: an index whose entries disagree with
    // the table (a damaged page of the unique index of names) would let a
    // save add a second person of a name that is there.
    Statement check(db.get(), "PRAGMA integrity_check(1)", path, OpenAction);
    if (!check.Step() || check.Text(0) != "ok")
        ThrowSqliteFailure(nullptr, SQLITE_CORRUPT, path, OpenAction);
}

// Looks at an existing file before anything may write to it, so that a file
// that is not ours, damaged or newer is never changed. A file the process
// may not change is looked at as it will be read, leaving nothing beside it.
void InspectExisting(const fs::path& path, bool mayChange) {
    if (!mayChange) {
        Inspect(path, ReadImmutable(path));
        return;
    }
    std::error_code ignored;
    const fs::path wal = path.string() + "-wal", shm = path.string() + "-shm";
    const bool hadWal = fs::exists(wal, ignored), hadShm = fs::exists(shm, ignored);
    // Without a -wal file every change is in the file itself: read it as
    // immutable, which leaves nothing beside it (a read-only connection to
    // a WAL database leaves an empty -wal and -shm behind).
    if (!hadWal) {
        try {
            Inspect(path, true);
            return;
        } catch (const PersonFileError&) {
            // Without locks, a file that another copy of the program is
            // creating this moment can look torn: a refusal is only
            // believed from a read that respects the locks.
        }
    }
    try {
        Inspect(path, false);
    } catch (const PersonFileError&) {
        // The refused file gets back its surroundings as they were: an empty
        // -wal that this look made holds nothing, and nobody writes a file
        // every copy of the program refuses.
        if (!hadWal && fs::exists(wal, ignored) && fs::file_size(wal, ignored) == 0) {
            fs::remove(wal, ignored);
            if (!hadShm)
                fs::remove(shm, ignored);
        }
        throw;
    }
}

// The columns of a whole person, in the order PersonOfRow reads them.
constexpr const char* PersonColumns =
    "name, birth_date, birth_time, place, latitude, longitude, zone_name, utc_offset, "
    "zone_hours, sex, lunar_day, note, created, changed, result_lunar_day, result_day_world, "
    "result_lunar_world, result_period_world, result_circle, result_calculated";

Person ReadPerson(const Statement& row) {
    Person p;
    p.name = row.Text(0);
    p.date = row.Text(1);
    p.time = row.Text(2);
    p.place = row.Text(3);
    p.latitude = row.Real(4);
    p.longitude = row.Real(5);
    p.zoneName = row.Text(6);
    p.utcOffset = row.Text(7);
    if (const auto hours = row.Integer(8))
        p.zoneHours = static_cast<int>(*hours);
    const std::string sex = row.Text(9);
    p.sex = sex == "male" ? Sex::Male : sex == "female" ? Sex::Female : Sex::Unknown;
    if (const auto day = row.Integer(10))
        p.lunarDay = static_cast<int>(*day);
    p.note = row.Text(11);
    p.created = row.Text(12);
    p.changed = row.Text(13);
    if (const auto day = row.Integer(14)) {
        LastResult r;
        r.lunarDay = static_cast<int>(*day);
        r.dayWorld = row.Text(15);
        r.lunarWorld = row.Text(16);
        r.periodWorld = row.Text(17);
        r.circle = row.Text(18);
        r.calculated = row.Text(19);
        p.lastResult = r;
    }
    return p;
}

std::string SaveAction(std::string_view verb, std::string_view name) {
    // A name can be ten thousand characters long: the message quotes its start.
    std::size_t cut = std::min<std::size_t>(name.size(), 60);
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(verb) + " «" + std::string(name.substr(0, cut)) +
           (cut < name.size() ? "…" : "") + "»";
}

} // namespace

PersonFile::PersonFile(const fs::path& path) : path_(path) {
    // SQLite would take an empty name for a temporary database of its own.
    if (path.empty())
        throw PersonFileError(PersonFileProblem::Unavailable,
                              "Не удалось открыть картотеку: не задан путь к файлу.");
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    const bool exists = fs::exists(status);
    if (error && !exists && error != std::errc::no_such_file_or_directory)
        throw PersonFileError(PersonFileProblem::Unavailable, "Не удалось открыть картотеку " +
                                                                  Quoted(path) + ": " +
                                                                  error.message() + ".");
    if (exists) {
        if (!fs::is_regular_file(status))
            ThrowNotOurs(path);
        const bool mayChange = MayChange(path);
        InspectExisting(path, mayChange);
        if (!mayChange) {
            OpenReadOnly();
            return;
        }
    } else if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), error);
        if (error)
            throw PersonFileError(PersonFileProblem::Unavailable,
                                  "Не удалось создать каталог картотеки " +
                                      Quoted(path.parent_path()) + ": " + error.message() + ".");
    }
    // Always by URI, so that a name is only ever a path: "file:x?mode=memory"
    // is the file of that name, not SQLite's instruction.
    int code = SQLITE_OK;
    db_ = OpenConnection(
        FileUri(path, ""),
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | (exists ? 0 : SQLITE_OPEN_CREATE), code);
    if (code != SQLITE_OK)
        Fail(code, OpenAction);
    readOnly_ = sqlite3_db_readonly(db_.get(), "main") == 1;
    Identity identity;
    code = ReadIdentity(db_.get(), identity);
    if (exists && NoSharedMemory(code)) {
        // Reading a WAL file needs its -shm file; where that cannot be made
        // (a full disk), the file is still read, as one that is not changed.
        const int systemError = sqlite3_system_errno(db_.get());
        db_.reset();
        OpenReadOnly(SystemReason(systemError));
        return;
    }
    if (code != SQLITE_OK)
        Fail(code, OpenAction);
    CheckIdentity(identity, path);
    Configure();
    BringUpToDate();
}

void PersonFile::OpenReadOnly(const std::string& reason) {
    readOnly_ = true;
    readOnlyReason_ = reason;
    int code = SQLITE_OK;
    db_ = OpenReading(path_, ReadImmutable(path_), code);
    Identity identity;
    if (code == SQLITE_OK)
        code = ReadIdentity(db_.get(), identity);
    if (code != SQLITE_OK)
        Fail(code, OpenAction);
    CheckIdentity(identity, path_);
    BringUpToDate();
}

PersonFile PersonFile::InMemory() {
    PersonFile file;
    int code = SQLITE_OK;
    file.db_ = OpenConnection(":memory:", SQLITE_OPEN_READWRITE, code);
    if (code != SQLITE_OK)
        file.Fail(code, OpenAction);
    file.BringUpToDate();
    return file;
}

PersonFile::PersonFile(PersonFile&&) noexcept = default;
PersonFile& PersonFile::operator=(PersonFile&&) noexcept = default;
PersonFile::~PersonFile() = default;

void PersonFile::Fail(int code, std::string_view action) const {
    ThrowSqliteFailure(db_.get(), code, path_, action);
}

void PersonFile::Execute(const char* sql, std::string_view action) {
    const int code = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        Fail(code, action);
}

void PersonFile::Configure() {
    if (readOnly_)
        return;
    // FULL: a commit is on the disk, not only in the system's cache, when
    // the call returns.
    Execute("PRAGMA synchronous = FULL", OpenAction);
    // WAL: readers never wait for a writer, and a commit is one append. The
    // mode is kept in the file; switching to it needs the file to itself,
    // and SQLite does not wait for that, so while another copy of the
    // program holds the new file, wait here.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(BusyTimeoutMs);
    for (;;) {
        Statement mode(db_.get(), "PRAGMA journal_mode = WAL", path_, OpenAction);
        try {
            mode.Step();
            return;
        } catch (const PersonFileError& e) {
            if (e.Problem() != PersonFileProblem::Busy || std::chrono::steady_clock::now() > giveUp)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void PersonFile::BringUpToDate() {
    Identity identity;
    int code = ReadIdentity(db_.get(), identity);
    if (code != SQLITE_OK)
        Fail(code, OpenAction);
    if (identity.version == PersonFileVersion)
        return;
    if (readOnly_)
        throw PersonFileError(PersonFileProblem::ReadOnly, "Не удалось " + std::string(OpenAction) +
                                                               ": картотека " + Quoted(path_) +
                                                               " открыта только для чтения.");
    Execute("BEGIN IMMEDIATE", OpenAction);
    try {
        // Another copy of the program may have done it meanwhile.
        code = ReadIdentity(db_.get(), identity);
        if (code != SQLITE_OK)
            Fail(code, OpenAction);
        CheckIdentity(identity, path_);
        const auto& steps = SchemaSteps();
        for (auto version = identity.version; version < PersonFileVersion; ++version)
            Execute(steps[static_cast<std::size_t>(version)], OpenAction);
        const std::string stamp =
            "PRAGMA application_id = " + std::to_string(PersonFileApplicationId) +
            "; PRAGMA user_version = " + std::to_string(PersonFileVersion);
        Execute(stamp.c_str(), OpenAction);
        Execute("COMMIT", OpenAction);
    } catch (...) {
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void PersonFile::CheckWritable() const {
    if (readOnly_)
        throw PersonFileError(PersonFileProblem::ReadOnly,
                              "Картотека " + Quoted(path_) + " открыта только для чтения" +
                                  (readOnlyReason_.empty() ? "" : " (" + readOnlyReason_ + ")") +
                                  ": изменения не сохранены.");
}

PersonFile::Transaction::Transaction(PersonFile& file) : file_(file) {
    if (file_.inTransaction_)
        throw std::logic_error("PersonFile: a transaction is open already");
    file_.CheckWritable();
    // IMMEDIATE: take the write lock now, waiting for another copy if need
    // be, rather than fail on the first write of a read transaction.
    file_.Execute("BEGIN IMMEDIATE", "начать изменение картотеки");
    file_.inTransaction_ = true;
}

PersonFile::Transaction::~Transaction() {
    if (open_) {
        sqlite3_exec(file_.db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        file_.inTransaction_ = false;
    }
}

void PersonFile::Transaction::Commit() {
    const int code = sqlite3_exec(file_.db_.get(), "COMMIT", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        file_.Fail(code, "сохранить изменения картотеки"); // the destructor rolls back
    open_ = false;
    file_.inTransaction_ = false;
}

template <typename Change> auto PersonFile::InTransaction(Change change) {
    if (inTransaction_)
        return change();
    Transaction transaction(*this);
    auto result = change();
    transaction.Commit();
    return result;
}

std::size_t PersonFile::Count() const {
    Statement count(db_.get(), "SELECT count(*) FROM person", path_, ReadAction);
    count.Step();
    return static_cast<std::size_t>(count.Integer(0).value_or(0));
}

std::vector<PersonSummary> PersonFile::List(std::string_view nameFilter) const {
    // Searched in the sort keys, which read ё as е, as the filter is read.
    const std::string key = NameSearchKey(nameFilter);
    Statement list(db_.get(),
                   key.empty() ? "SELECT name, birth_date, birth_time, place FROM person "
                                 "ORDER BY sort_key, name_key"
                               : "SELECT name, birth_date, birth_time, place FROM person "
                                 "WHERE instr(sort_key, ?1) > 0 ORDER BY sort_key, name_key",
                   path_, ReadAction);
    if (!key.empty())
        list.Bind(1, std::string_view(key));
    std::vector<PersonSummary> people;
    while (list.Step())
        people.push_back({list.Text(0), list.Text(1), list.Text(2), list.Text(3)});
    return people;
}

std::optional<std::int64_t> PersonFile::IdOfKey(const std::string& key) const {
    Statement find(db_.get(), "SELECT id FROM person WHERE name_key = ?1", path_, ReadAction);
    find.Bind(1, std::string_view(key));
    if (!find.Step())
        return std::nullopt;
    return find.Integer(0);
}

std::optional<Person> PersonFile::PersonOfId(std::int64_t id) const {
    const std::string sql = std::string("SELECT ") + PersonColumns + " FROM person WHERE id = ?1";
    Statement find(db_.get(), sql.c_str(), path_, ReadAction);
    find.Bind(1, std::optional<std::int64_t>(id));
    if (!find.Step())
        return std::nullopt;
    return ReadPerson(find);
}

std::optional<Person> PersonFile::Find(std::string_view name) const {
    const std::string sql =
        std::string("SELECT ") + PersonColumns + " FROM person WHERE name_key = ?1";
    Statement find(db_.get(), sql.c_str(), path_, ReadAction);
    const std::string key = NameKey(name);
    find.Bind(1, std::string_view(key));
    if (!find.Step())
        return std::nullopt;
    return ReadPerson(find);
}

void PersonFile::ForEachPerson(void (*visit)(void*, const Person&), void* context) const {
    const std::string sql =
        std::string("SELECT ") + PersonColumns + " FROM person ORDER BY sort_key, name_key";
    Statement all(db_.get(), sql.c_str(), path_, ReadAction);
    while (all.Step())
        visit(context, ReadPerson(all));
}

void PersonFile::Write(const Person& p, const std::optional<std::int64_t>& id) {
    const std::string action = SaveAction("сохранить", p.name);
    Statement write(db_.get(),
                    id ? "UPDATE person SET name = ?1, name_key = ?2, sort_key = ?3, "
                         "birth_date = ?4, birth_time = ?5, place = ?6, latitude = ?7, "
                         "longitude = ?8, zone_name = ?9, utc_offset = ?10, zone_hours = ?11, "
                         "sex = ?12, lunar_day = ?13, note = ?14, created = ?15, changed = ?16, "
                         "result_lunar_day = ?17, result_day_world = ?18, "
                         "result_lunar_world = ?19, result_period_world = ?20, "
                         "result_circle = ?21, result_calculated = ?22 WHERE id = ?23"
                       : "INSERT INTO person (name, name_key, sort_key, birth_date, birth_time, "
                         "place, latitude, longitude, zone_name, utc_offset, zone_hours, sex, "
                         "lunar_day, note, created, changed, result_lunar_day, "
                         "result_day_world, result_lunar_world, result_period_world, "
                         "result_circle, result_calculated) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, "
                         "?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, "
                         "?22)",
                    path_, action);
    const auto integer = [](const std::optional<int>& value) {
        return value ? std::optional<std::int64_t>(*value) : std::nullopt;
    };
    write.Bind(1, std::string_view(p.name));
    write.Bind(2, NameKey(p.name));
    write.Bind(3, NameSortKey(p.name));
    write.Bind(4, std::string_view(p.date));
    write.Bind(5, std::string_view(p.time));
    write.Bind(6, std::string_view(p.place));
    write.Bind(7, p.latitude);
    write.Bind(8, p.longitude);
    write.Bind(9, std::string_view(p.zoneName));
    write.Bind(10, std::string_view(p.utcOffset));
    write.Bind(11, integer(p.zoneHours));
    write.Bind(12, SexText(p.sex));
    write.Bind(13, integer(p.lunarDay));
    write.Bind(14, std::string_view(p.note));
    write.Bind(15, std::string_view(p.created));
    write.Bind(16, std::string_view(p.changed));
    if (p.lastResult) {
        BindLastResult(write, 17, *p.lastResult);
    }
    if (id)
        write.Bind(23, id);
    write.Step();
}

SaveOutcome PersonFile::Save(const Person& person, OnConflict onConflict) {
    if (const std::string fault = PersonFault(person); !fault.empty())
        throw PersonFileError(PersonFileProblem::InvalidPerson, fault);
    CheckWritable();
    return InTransaction([&] {
        const auto id = IdOfKey(NameKey(person.name));
        if (id && onConflict != OnConflict::Replace)
            return SaveOutcome::Exists;
        Write(Stamped(person, id ? PersonOfId(*id) : std::nullopt), id);
        return id ? SaveOutcome::Replaced : SaveOutcome::Added;
    });
}

SaveOutcome PersonFile::Update(std::string_view savedName, const Person& person) {
    if (const std::string fault = PersonFault(person); !fault.empty())
        throw PersonFileError(PersonFileProblem::InvalidPerson, fault);
    CheckWritable();
    return InTransaction([&] {
        const auto id = IdOfKey(NameKey(savedName));
        if (!id)
            return SaveOutcome::Missing;
        const auto other = IdOfKey(NameKey(person.name));
        if (other && other != id)
            return SaveOutcome::Exists;
        Write(Stamped(person, PersonOfId(*id)), id);
        return SaveOutcome::Replaced;
    });
}

bool PersonFile::Remove(std::string_view name) {
    CheckWritable();
    return InTransaction([&] {
        Statement remove(db_.get(), "DELETE FROM person WHERE name_key = ?1", path_,
                         SaveAction("удалить", name));
        remove.Bind(1, NameKey(name));
        remove.Step();
        return sqlite3_changes(db_.get()) > 0;
    });
}

bool PersonFile::RecordResult(std::string_view name, const LastResult& result) {
    CheckWritable();
    std::optional<Person> person = Find(name);
    if (!person)
        return false;
    person->lastResult = result;
    if (person->lastResult->calculated.empty())
        person->lastResult->calculated = UtcNow();
    if (const std::string fault = PersonFault(*person); !fault.empty())
        throw PersonFileError(PersonFileProblem::InvalidPerson, fault);
    return InTransaction([&] {
        Statement record(db_.get(),
                         "UPDATE person SET result_lunar_day = ?2, result_day_world = ?3, "
                         "result_lunar_world = ?4, result_period_world = ?5, result_circle = ?6, "
                         "result_calculated = ?7 WHERE name_key = ?1",
                         path_, SaveAction("сохранить расчёт для", name));
        record.Bind(1, NameKey(name));
        BindLastResult(record, 2, *person->lastResult);
        record.Step();
        return sqlite3_changes(db_.get()) > 0;
    });
}

} // namespace toravel
