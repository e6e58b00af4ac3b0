// Never losing a saved person: a process killed at random moments while it
// saves, and two processes saving at the same time.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "people/person_file.h"
#include "person_file_fixture.h"

namespace toravel {
namespace {

using testing::SamplePerson;
using testing::TemporaryFolder;

std::string IntegrityCheck(const std::filesystem::path& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    std::string result;
    while (sqlite3_step(check) == SQLITE_ROW)
        result += reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
    sqlite3_finalize(check);
    sqlite3_close(db);
    return result;
}

std::string NameOf(int i) {
    return "Человек №" + std::to_string(i);
}

TEST(PersonFileDurability, KilledAtRandomMomentsWhileSavingLosesNothingSaved) {
    TemporaryFolder folder;
    const auto path = folder / "people.sqlite";
    constexpr int Saves = 1000;
    std::mt19937 random(1806);
    std::set<int> acknowledged;
    int next = 0, kills = 0;
    while (next < Saves) {
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            try {
                PersonFile file(path);
                for (int i = next; i < Saves; ++i) {
                    Person p = SamplePerson(NameOf(i));
                    p.note = std::string(static_cast<std::size_t>(i % 7) * 1000, 'n');
                    file.Save(p, OnConflict::Replace);
                    // Told only after Save returned.
                    if (::write(pipe[1], &i, sizeof i) != sizeof i)
                        ::_exit(2);
                }
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        ::close(pipe[1]);
        // Kill after a random number of saves, a random fraction of a save later.
        const int target = 1 + static_cast<int>(random() % 150);
        int told = 0, i = 0;
        while (told < target && ::read(pipe[0], &i, sizeof i) == sizeof i) {
            acknowledged.insert(i);
            ++told;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
            << "the saving process failed on its own: " << status;
        kills += WIFSIGNALED(status);
        while (::read(pipe[0], &i, sizeof i) == sizeof i)
            acknowledged.insert(i);
        ::close(pipe[0]);

        ASSERT_EQ(IntegrityCheck(path), "ok") << "after " << acknowledged.size() << " saves";
        PersonFile file(path);
        for (const int saved : acknowledged)
            ASSERT_TRUE(file.Find(NameOf(saved))) << NameOf(saved) << " lost";
        next = acknowledged.empty() ? 0 : *acknowledged.rbegin() + 1;
    }
    EXPECT_GE(kills, 5);
    EXPECT_EQ(PersonFile(path).Count(), static_cast<std::size_t>(Saves));
}

TEST(PersonFileDurability, TwoProcessesSavingAtOnceKeepEveryPerson) {
    TemporaryFolder folder;
    const auto path = folder / "people.sqlite"; // made by whichever comes first
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        if (children[c] == 0) {
            try {
                PersonFile file(path);
                for (int i = 0; i < 500; ++i) {
                    if (file.Save(SamplePerson(NameOf(c * 500 + i)), OnConflict::Skip) !=
                        SaveOutcome::Added)
                        ::_exit(3);
                }
            } catch (const std::exception& e) {
                std::fprintf(stderr, "process %d: %s\n", c, e.what());
                ::_exit(1);
            }
            ::_exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    EXPECT_EQ(IntegrityCheck(path), "ok");
    EXPECT_EQ(PersonFile(path).Count(), 1000u);
}

TEST(PersonFileDurability, CopiesOpeningANewFileAtTheSameMomentAllOpenIt) {
    // Copies starting together once saw each other's half-made file: the
    // switch to WAL refused without waiting, and the file's identity, read
    // in three steps, looked like another program's.
    constexpr int Rounds = 100, Copies = 3;
    TemporaryFolder folder;
    int failures = 0;
    std::string message;
    for (int round = 0; round < Rounds; ++round) {
        const auto path = folder / ("people" + std::to_string(round) + ".sqlite");
        pid_t copies[Copies];
        for (int c = 0; c < Copies; ++c) {
            copies[c] = ::fork();
            if (copies[c] == 0) {
                try {
                    PersonFile file(path);
                    file.Save(SamplePerson(NameOf(c)), OnConflict::Skip);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "%s\n", e.what());
                    ::_exit(1);
                }
                ::_exit(0);
            }
        }
        for (const pid_t copy : copies) {
            int status = 0;
            ::waitpid(copy, &status, 0);
            failures += status != 0;
        }
    }
    EXPECT_EQ(failures, 0) << "of " << Rounds * Copies << " copies (their messages above)";
    EXPECT_EQ(PersonFile(folder / "people0.sqlite").Count(), static_cast<std::size_t>(Copies));
}

} // namespace
} // namespace toravel
