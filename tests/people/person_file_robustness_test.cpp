// Files the person file must not trust: another program's, damaged, from a
// newer version, read-only, on a full disk. Each gives the user a Russian
// message and is left byte for byte as it was; a damaged one can be set
// aside and a new file started.
//
// As root, the read-only and full-disk cases run in a child process with a
// mount namespace of its own and a small tmpfs, so that nothing outlives the
// test; without root the read-only case uses file modes and the full-disk
// case is skipped.
#include <gtest/gtest.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <sstream>
#include <string>

#include "files/output_file.h"
#include "people/person_export.h"
#include "people/person_file.h"
#include "people/person_import.h"
#include "people/set_aside.h"
#include "person_file_fixture.h"

namespace toravel {
namespace {

using testing::FileBytes;
using testing::InChildProcess;
using testing::SamplePerson;
using testing::TemporaryFolder;
using testing::WriteBytes;

// The error that opening the file gives, or none.
std::optional<PersonFileError> OpeningError(const std::filesystem::path& path) {
    try {
        PersonFile file(path);
    } catch (const PersonFileError& e) {
        return e;
    }
    return std::nullopt;
}

void MakePersonFile(const std::filesystem::path& path, int people) {
    PersonFile file(path);
    PersonFile::Transaction all(file);
    for (int i = 0; i < people; ++i)
        file.Save(SamplePerson("Человек " + std::to_string(i)), OnConflict::Skip);
    all.Commit();
}

void ExecuteSql(const std::filesystem::path& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// The first value the query gives, as text; empty when it gives none.
std::string SqlText(const std::filesystem::path& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    std::string text;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0))
        text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return text;
}

TEST(PersonFileRobustness, FilesThatAreNotOursAreRefusedAndLeftAsTheyWere) {
    TemporaryFolder folder;
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        PersonFileProblem problem;
        const char* message; // a part of it
    };
    const auto spoil = [](std::size_t offset, const std::string& bytes) {
        return [offset, bytes](const std::filesystem::path& path) {
            MakePersonFile(path, 300);
            std::string file = FileBytes(path);
            file.replace(offset, bytes.size(), bytes);
            WriteBytes(path, file);
        };
    };
    const Case cases[] = {
        {"a text file", [](const auto& path) { WriteBytes(path, "name,date\nАнна,17.05.1990\n"); },
         PersonFileProblem::NotOurs, "не картотека Торавеля"},
        {"a picture",
         [](const auto& path) { WriteBytes(path, std::string("\x89PNG\r\n\x1A\n", 8)); },
         PersonFileProblem::NotOurs, "не картотека Торавеля"},
        {"another program's database",
         [](const auto& path) {
             ExecuteSql(path, "CREATE TABLE notes (text); INSERT INTO notes VALUES (1)");
         },
         PersonFileProblem::NotOurs, "не картотека Торавеля"},
        {"a person file's header overwritten", spoil(0, std::string(16, 'x')),
         PersonFileProblem::NotOurs, "не картотека Торавеля"},
        {"a damaged page", spoil(4096, std::string(8, '\xFF')), PersonFileProblem::Damaged,
         "повреждена. Её можно отложить под другим именем"},
        {"a cut-off file",
         [](const auto& path) {
             MakePersonFile(path, 300);
             std::filesystem::resize_file(path, 3 * 4096);
         },
         PersonFileProblem::Damaged, "повреждена"},
        {"a newer version",
         [](const auto& path) {
             MakePersonFile(path, 3);
             ExecuteSql(path, "PRAGMA user_version = 2");
         },
         PersonFileProblem::Newer,
         "записана более новой версией Торавеля (версия файла 2, эта программа знает версии до "
         "1). Обновите программу; файл оставлен как есть."},
    };
    for (const Case& c : cases) {
        const auto path = folder / "people.sqlite";
        std::filesystem::remove(path);
        c.make(path);
        const std::string before = FileBytes(path);
        const auto error = OpeningError(path);
        ASSERT_TRUE(error) << c.what;
        EXPECT_EQ(error->Problem(), c.problem) << c.what << ": " << error->what();
        EXPECT_NE(std::string(error->what()).find(c.message), std::string::npos)
            << c.what << ": " << error->what();
        EXPECT_EQ(error->CanSetAside(), c.problem != PersonFileProblem::Newer) << c.what;
        EXPECT_EQ(FileBytes(path), before) << c.what << ": the file was changed";
        for (const char* companion : {"-wal", "-shm", "-journal"})
            EXPECT_FALSE(std::filesystem::exists(path.string() + companion))
                << c.what << ": " << companion;
    }
    // Nor a folder or a device in place of the file.
    std::filesystem::remove(folder / "people.sqlite");
    std::filesystem::create_directory(folder / "people.sqlite");
    EXPECT_EQ(OpeningError(folder / "people.sqlite")->Problem(), PersonFileProblem::NotOurs);
    EXPECT_EQ(OpeningError("/dev/null")->Problem(), PersonFileProblem::NotOurs);
}

// Before, the opening check was SQLite's quick_check, which does not compare
// an index with its table: with a byte flipped in a page of the unique index
// of names, an import added a second person of a name already there.
TEST(PersonFileRobustness, ADamagedIndexIsRefusedBeforeAnythingIsWritten) {
    TemporaryFolder folder;
    const auto path = folder / "people.sqlite";
    {
        PersonFile file(path);
        PersonFile::Transaction all(file);
        for (int i = 10000; i < 15000; ++i)
            file.Save(SamplePerson("Person " + std::to_string(i)), OnConflict::Skip);
        all.Commit();
    }
    // A leaf page of the index of name keys ("person 13695"): the last digit
    // of a key changed, the page itself still well formed.
    const long page = std::atol(SqlText(path, "SELECT pageno FROM dbstat WHERE pagetype = 'leaf' "
                                              "AND name = 'sqlite_autoindex_person_1' "
                                              "LIMIT 1 OFFSET 3")
                                    .c_str());
    ASSERT_GT(page, 0) << "SQLite without the dbstat table";
    const long pageBytes = std::atol(SqlText(path, "PRAGMA page_size").c_str());
    std::string bytes = FileBytes(path);
    const std::size_t start = static_cast<std::size_t>((page - 1) * pageBytes);
    const std::size_t key = bytes.find("person 1", start + pageBytes / 2);
    ASSERT_LT(key + 12, start + pageBytes) << "no name key in the second half of the page";
    bytes[key + 11] = bytes[key + 11] == '9' ? '8' : static_cast<char>(bytes[key + 11] + 1);
    WriteBytes(path, bytes);
    ASSERT_EQ(SqlText(path, "PRAGMA quick_check"), "ok") << "the damage the test means";
    ASSERT_NE(SqlText(path, "PRAGMA integrity_check"), "ok");
    for (const char* companion : {"-wal", "-shm"})
        std::filesystem::remove(path.string() + companion);

    const std::string before = FileBytes(path);
    const auto error = OpeningError(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Problem(), PersonFileProblem::Damaged) << error->what();
    EXPECT_EQ(FileBytes(path), before);
}

TEST(PersonFileRobustness, ADamagedFileIsSetAsideAndANewOneStarted) {
    TemporaryFolder folder;
    const auto path = folder / "people.sqlite";
    MakePersonFile(path, 300);
    std::string bytes = FileBytes(path);
    bytes.replace(4096, 8, std::string(8, '\xFF'));
    WriteBytes(path, bytes);
    WriteBytes(path.string() + "-wal", "pretend");
    ASSERT_TRUE(OpeningError(path)->CanSetAside());

    const auto aside = SetAsidePersonFile(path);
    EXPECT_EQ(aside.parent_path(), path.parent_path());
    EXPECT_EQ(aside.filename().string().rfind("people.sqlite.set-aside-", 0), 0u) << aside;
    EXPECT_EQ(FileBytes(aside), bytes);
    EXPECT_EQ(FileBytes(aside.string() + "-wal"), "pretend") << "the companion goes along";
    EXPECT_FALSE(std::filesystem::exists(path));

    PersonFile fresh(path);
    EXPECT_EQ(fresh.Count(), 0u);
    fresh.Save(SamplePerson("Анна"), OnConflict::Skip);
    EXPECT_EQ(FileBytes(aside), bytes) << "the set-aside file is never touched";

    // A second setting aside in the same second takes the next free name.
    WriteBytes(folder / "other", "x");
    const auto first = SetAsidePersonFile(folder / "other");
    WriteBytes(folder / "other", "y");
    const auto second = SetAsidePersonFile(folder / "other");
    EXPECT_NE(first, second);
    EXPECT_EQ(FileBytes(first), "x");
    EXPECT_EQ(FileBytes(second), "y");
}

// Runs the scenario in a child with a fresh tmpfs of `size` at `folder` when
// the process may mount (root); returns "skip" when it may not.
std::string OnTmpfs(const std::filesystem::path& folder, const char* size,
                    const std::function<std::string()>& scenario) {
    return InChildProcess([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0)
            return "skip";
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size) != 0)
            return "skip";
        return scenario();
    });
}

TEST(PersonFileRobustness, AReadOnlyFileIsReadButNeverWritten) {
    TemporaryFolder folder;
    const auto path = folder / "people.sqlite";
    const auto scenario = [&](const std::function<void()>& makeReadOnly) -> std::string {
        MakePersonFile(path, 3);
        makeReadOnly();
        const std::string before = FileBytes(path);
        std::ostringstream report;
        try {
            PersonFile file(path);
            if (!file.ReadOnly())
                report << "not read-only; ";
            if (file.List().size() != 3)
                report << "listed " << file.List().size() << "; ";
            try {
                file.Save(SamplePerson("Анна"), OnConflict::Skip);
                report << "saved; ";
            } catch (const PersonFileError& e) {
                if (e.Problem() != PersonFileProblem::ReadOnly ||
                    std::string(e.what()).find("только для чтения") == std::string::npos)
                    report << "save: " << e.what() << "; ";
            }
            std::istringstream csv("name,date\nАнна,17.05.1990\n");
            try {
                ImportPeople(file, csv, OnConflict::Skip, {}, {});
                report << "imported; ";
            } catch (const PersonFileError& e) {
                if (e.Problem() != PersonFileProblem::ReadOnly)
                    report << "import: " << e.what() << "; ";
            }
            std::ostringstream out;
            if (ExportPeople(file, out) != 3)
                report << "export; ";
        } catch (const std::exception& e) {
            report << "open: " << e.what() << "; ";
        }
        if (FileBytes(path) != before)
            report << "the file changed; ";
        return report.str();
    };
    const std::string mounted = OnTmpfs(folder.Path(), "size=1m", [&] {
        return scenario([&] {
            ::mount(nullptr, folder.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
        });
    });
    if (mounted != "skip") {
        EXPECT_EQ(mounted, "") << "on a read-only file system";
        return;
    }
    EXPECT_EQ(
        scenario([&] { std::filesystem::permissions(path, std::filesystem::perms::owner_read); }),
        "")
        << "a file without write permission";
}

// Before, a person file on a full disk could not even be listed: SQLite
// found no room for the -shm file a WAL database is read through.
TEST(PersonFileRobustness, AFileOnAFullDiskIsStillRead) {
    TemporaryFolder folder;
    const std::string outcome = OnTmpfs(folder.Path(), "size=256k", [&]() -> std::string {
        const auto path = folder / "people.sqlite";
        MakePersonFile(path, 5);
        // Full to the last byte, and then the file opened.
        for (std::ofstream filler(folder / "filler"); filler << std::string(4096, 'x');) {
        }
        for (int i = 0; i < 8; ++i)
            std::ofstream(folder / ("small" + std::to_string(i)), std::ios::binary) << 'x';
        const std::string before = FileBytes(path);
        PersonFile file(path);
        std::ostringstream report;
        if (!file.ReadOnly() || file.Count() != 5)
            report << "read-only " << file.ReadOnly() << ", count " << file.Count() << "; ";
        try {
            file.Save(SamplePerson("Анна"), OnConflict::Skip);
            report << "saved; ";
        } catch (const PersonFileError& e) {
            if (std::string(e.what()).find("только для чтения (на диске нет места)") ==
                std::string::npos)
                report << "save: " << e.what() << "; ";
        }
        if (FileBytes(path) != before)
            report << "the file changed; ";
        return report.str();
    });
    if (outcome == "skip")
        GTEST_SKIP() << "a full disk needs a tmpfs of its own: run as root";
    EXPECT_EQ(outcome, "");
}

TEST(PersonFileRobustness, AFullDiskLosesNothingAndChangesNothing) {
    TemporaryFolder folder;
    const std::string outcome = OnTmpfs(folder.Path(), "size=256k", [&]() -> std::string {
        std::ostringstream report;
        const auto path = folder / "people.sqlite";
        MakePersonFile(path, 5);
        PersonFile file(path);
        // Fill the disk to the last byte.
        {
            std::ofstream filler(folder / "filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (int i = 0; i < 1000 && filler.write(block.data(), block.size()); ++i) {
            }
        }
        for (int i = 0; i < 8; ++i) {
            std::ofstream(folder / ("small" + std::to_string(i)), std::ios::binary) << 'x';
        }
        const std::string before = FileBytes(path);
        Person big = SamplePerson("Анна");
        big.note = std::string(90'000, 'n');
        try {
            file.Save(big, OnConflict::Skip);
            report << "saved on a full disk; ";
        } catch (const PersonFileError& e) {
            if (e.Problem() != PersonFileProblem::DiskFull ||
                std::string(e.what()).find("на диске нет места") == std::string::npos)
                report << "save: " << e.what() << "; ";
        }
        try {
            ExportPeopleToFile(file, folder / "export.csv");
            report << "exported on a full disk; ";
        } catch (const OutputFileError& e) {
            if (std::string(e.what()).find("нет места") == std::string::npos)
                report << "export: " << e.what() << "; ";
        }
        if (std::filesystem::exists(folder / "export.csv"))
            report << "export file left; ";
        if (file.Count() != 5)
            report << "count " << file.Count() << "; ";
        if (FileBytes(path) != before)
            report << "the file changed; ";
        const auto fresh = OpeningError(folder / "new.sqlite");
        if (!fresh || std::string(fresh->what()).find("нет места") == std::string::npos)
            report << "new file: " << (fresh ? fresh->what() : "created") << "; ";

        // Room again: everything is there, and saving works.
        std::filesystem::remove(folder / "filler");
        if (file.Save(big, OnConflict::Skip) != SaveOutcome::Added)
            report << "no save after the disk had room; ";
        if (file.Count() != 6)
            report << "count after " << file.Count() << "; ";
        return report.str();
    });
    if (outcome == "skip")
        GTEST_SKIP() << "a full disk needs a tmpfs of its own: run as root";
    EXPECT_EQ(outcome, "");
}

} // namespace
} // namespace toravel
