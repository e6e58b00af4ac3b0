// toravel-cli as a hostile user would try it: output that cannot be
// written, files that are no files, a person file that may only be read, a
// path that looks like an SQLite URI, CSV that is not quite CSV. Each ends
// in a message and the right exit status, and nothing that was there is lost.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/cli/run_program.h"

namespace {

namespace fs = std::filesystem;
using namespace toravel::testing;

const std::vector<std::string> Moscow1990 = {"--date",       "17.05.1990", "--time", "14:30",
                                             "--lat",        "55.75",      "--lon",  "37.62",
                                             "--utc-offset", "+04:00"};

// A shell line run from the build tree's root: `$CLI` is toravel-cli.
Outcome RunShell(const std::string& line) {
    return RunProgram("/bin/sh", {"-c", "CLI=" + ShellQuoted(TORAVEL_CLI) + "; " + line});
}

class ToravelCliSafety : public ::testing::Test {
protected:
    ToravelCliSafety() {
        std::ofstream(folder_ / "people.csv", std::ios::binary)
            << "name,date,time,latitude,longitude,utc_offset\n"
            << "Анна,17.05.1990,14:30,55.75,37.62,+04:00\n"
            << "Борис,18.05.1990,12:00,55.03,82.92,+07:00\n";
        std::ofstream(folder_ / "births.csv", std::ios::binary)
            << "date,time,latitude,longitude,utc_offset\n"
            << "17.05.1990,14:30,55.75,37.62,+04:00\n";
    }
    std::string PeopleFile() const { return folder_ / "people.sqlite"; }
    Outcome Cli(const std::vector<std::string>& arguments) {
        return RunProgram(TORAVEL_CLI, arguments);
    }
    void MakePeopleFile() {
        ASSERT_EQ(
            Cli({"--people-file", PeopleFile(), "--people-import", folder_ / "people.csv"}).status,
            0);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TemporaryFolder folder_{"toravel-cli-safety"};
};

// Before, every run below exited 0 with its output cut off or gone: a full
// disk, a closed standard output. (--people-export - noticed already.)
TEST_F(ToravelCliSafety, OutputThatCannotBeWrittenIsAFailure) {
    MakePeopleFile();
    const std::vector<std::vector<std::string>> runs = {
        Moscow1990,
        With(Moscow1990, {"--json"}),
        With(Moscow1990, {"--list"}),
        {"--month", "12.2026", "--lat", "68.97", "--lon", "33.08", "--utc-offset", "+03:00"},
        {"--places", "Моск"},
        {"--people", "--people-file", PeopleFile()},
        {"--people", "--json", "--people-file", PeopleFile()},
        {"--batch", folder_ / "births.csv"},
        {"--help"},
    };
    const struct {
        const char* redirection;
        const char* reason;
    } destinations[] = {
        {">/dev/full", "не удалось вывести результат: на диске нет места"},
        {">&-", "не удалось вывести результат: поток вывода закрыт"},
    };
    for (const auto& run : runs) {
        for (const auto& destination : destinations) {
            std::string line;
            for (const std::string& word : run)
                line += ShellQuoted(word) + " ";
            const Outcome outcome = RunShell("exec \"$CLI\" " + line + destination.redirection);
            EXPECT_EQ(outcome.status, 1) << line << destination.redirection;
            EXPECT_NE(outcome.err.find(destination.reason), std::string::npos)
                << line << destination.redirection << ": " << outcome.err;
        }
    }
}

// Before, as a normal user, listing a person file of mode 444 left a -shm of
// mode 444 beside it that made every later save fail until deleted by hand;
// --person stored nothing and said nothing; in a folder of mode 555 the
// file could not even be listed.
TEST_F(ToravelCliSafety, AFileThatMayOnlyBeReadIsReadAndLeftAlone) {
    MakePeopleFile();
    // As root, the runs are the user nobody's, who must reach the folder and
    // own the file for the modes to count.
    fs::permissions(folder_.Path(), fs::perms::all);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(PeopleFile().c_str(), 65534, 65534) == 0);
    const auto run = [&](const std::vector<std::string>& arguments) {
        const auto words = With(arguments, {"--people-file", PeopleFile()});
        return root ? RunProgram("/usr/bin/setpriv", With({"--reuid=65534", "--regid=65534",
                                                           "--clear-groups", TORAVEL_CLI},
                                                          words))
                    : Cli(words);
    };
    std::ofstream(folder_ / "more.csv") << "name,date\nВера,19.05.1990\n";
    ::chmod((folder_ / "more.csv").c_str(), 0644);
    for (const bool folderReadOnly : {false, true}) {
        const char* what = folderReadOnly ? "folder 555" : "file 444";
        ::chmod(PeopleFile().c_str(), folderReadOnly ? 0644 : 0444);
        if (folderReadOnly)
            ::chmod(folder_.Path().c_str(), 0555);
        const Outcome listed = run({"--people"});
        EXPECT_EQ(listed.OutLines().size(), 3u) << what << ": " << listed.err;
        const Outcome exported = run({"--people-export", "-"});
        EXPECT_NE(exported.out.find("Борис"), std::string::npos) << what << ": " << exported.err;
        const Outcome person = run({"--person", "Анна", "--json"});
        EXPECT_NE(person.err.find("внимание: результат не сохранен в картотеке"), std::string::npos)
            << what << ": " << person.err;
        EXPECT_EQ(nlohmann::json::parse(person.out)["warnings"].size(), 1u) << person.out;
        for (const Outcome& read : {listed, exported, person})
            EXPECT_EQ(read.status, 0) << what << ": " << read.err;
        const Outcome imported = run({"--people-import", folder_ / "more.csv"});
        EXPECT_EQ(imported.status, 1) << what;
        EXPECT_NE(imported.err.find("только для чтения"), std::string::npos) << imported.err;
        for (const char* companion : {"-shm", "-wal"})
            EXPECT_FALSE(fs::exists(PeopleFile() + companion)) << what << ": left " << companion;
    }
    // Writable again: saving works at once.
    ::chmod(folder_.Path().c_str(), 0777);
    const Outcome more = run({"--people-import", folder_ / "more.csv"});
    EXPECT_EQ(more.status, 0) << more.err;
}

// Before, --batch with standard error on a terminal read its input once to
// count the lines: a pipe came back empty («пустой файл»), a FIFO hung.
// `script` gives the program a terminal.
TEST_F(ToravelCliSafety, ABatchFromAPipeIsReadOnce) {
    if (!fs::exists("/usr/bin/script"))
        GTEST_SKIP() << "no /usr/bin/script (bsdutils) to give the program a terminal";
    const std::string fifo = folder_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string typescript = folder_ / "typescript";
    const std::string command = "cat " + ShellQuoted(folder_ / "births.csv") + " >" +
                                ShellQuoted(fifo) + " & timeout 60 " + ShellQuoted(TORAVEL_CLI) +
                                " --batch " + ShellQuoted(fifo) + " >" +
                                ShellQuoted(folder_ / "out") + "; echo status $?";
    RunProgram("/usr/bin/script", {"-qec", command, typescript});
    const std::string shown = FileText(typescript);
    EXPECT_NE(shown.find("status 0"), std::string::npos) << shown;
    EXPECT_NE(shown.find("строк: 2"), std::string::npos) << "progress without a total\n" << shown;
    EXPECT_NE(FileText(folder_ / "out").find("\"lunar_day\":22"), std::string::npos)
        << FileText(folder_ / "out");
}

// Runs that were misread or went wrong without a word, each with its
// message now; what was in the folder is left as it was.
TEST_F(ToravelCliSafety, MisusesEndInTheirMessage) {
    MakePeopleFile();
    const std::string pipe = folder_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const std::string people = "exec \"$CLI\" --people-file " + ShellQuoted(PeopleFile());
    const std::string inFolder = "cd " + ShellQuoted(folder_.Path()) + " && exec \"$CLI\" ";
    {
        std::ofstream births(folder_ / "many.csv", std::ios::binary);
        births << "date,time,latitude,longitude,utc_offset\n";
        for (int i = 0; i < 20'000; ++i)
            births << "17.05.1990,14:30,55.75,37.62,+04:00\n";
    }
    const std::string status = ShellQuoted(folder_ / "status");
    const struct {
        const char* name;
        std::string line; // run from the build tree's root
        int status;
        std::string message;
    } rows[] = {
        // Before: replaced by a file (as root, even /dev/full), «записано людей».
        {"export to a pipe", people + " --people-export " + ShellQuoted(pipe), 1,
         "Не удалось записать «" + pipe + "»: это не обычный файл"},
        // Before: replaced, and the person file's -shm vanished.
        {"export to the -shm", people + " --people-export " + ShellQuoted(PeopleFile() + "-shm"), 1,
         "служебного файла картотеки"},
        // Before: imported into memory («добавлено: 2»), or checked under one
        // name and written as other.sqlite.
        {"file: URI with a mode",
         inFolder + "--people-file 'file:new.sqlite?mode=memory' --people-import people.csv", 0,
         "добавлено: 2"},
        {"file: URI", inFolder + "--people-file file:other.sqlite --people-import people.csv", 0,
         "добавлено: 2"},
        // Before: looked for, and made, at /.local/share/toravel.
        {"no HOME", "exec env -u HOME XDG_DATA_HOME=relative \"$CLI\" --people --json", 1,
         "Картотеку негде искать: не задана домашняя папка"},
        // Before, with SIGPIPE ignored (as some parents leave it): every line
        // computed, exit 0.
        {"a reader that goes away",
         "trap '' PIPE; { \"$CLI\" --batch " + ShellQuoted(folder_ / "many.csv") + "; echo $? >" +
             status + "; } | head -c 1 >/dev/null; exit $(cat " + status + ")",
         1, "читающая программа закрыла канал"},
        // Before: 5 lines in, 2 records out.
        {"a quote left open",
         "printf %s " +
             ShellQuoted("name,date,time,latitude,longitude,utc_offset\n"
                         "\"Анна,02.01.1990,12:00,55,37,+03:00\n"
                         "Борис,03.01.1990,12:00,55,37,+03:00\n"
                         "Вера,04.01.1990,12:00,55,37,+03:00\n"
                         "Глеб,05.01.1990,12:00,55,37,+03:00\n") +
             " | \"$CLI\" --batch -",
         1, "\nстрок с ошибкой: 1 из 4\n"},
        // Before: read without end.
        {"--batch /dev/zero", "timeout 60 \"$CLI\" --batch /dev/zero", 1,
         "дальше файл не читается"},
        // Before: «пустой файл».
        {"--batch a folder", "exec \"$CLI\" --batch /tmp", 2, "«/tmp» — каталог, а не файл"},
        {"--people-import a folder", people + " --people-import /tmp", 2,
         "«/tmp» — каталог, а не файл"},
        // Before: a message about a quote in the header.
        {"JSON Lines",
         "\"$CLI\" --batch " + ShellQuoted(folder_ / "births.csv") + " | \"$CLI\" --batch -", 1,
         "это не CSV: строка 1 начинается с «{»"},
        // Before: accepted, and one column's values lost.
        {"two unnamed columns", "printf 'date,,place,\\n1,2,3,4\\n' | \"$CLI\" --batch -", 1,
         "заголовок: у столбцов 2 и 4 нет имени"},
        // Before: «заголовок: заголовок: …».
        {"a column twice", "printf 'date,Date\\n' | \"$CLI\" --batch -", 1,
         "\nзаголовок: столбец «Date» назван дважды\n"},
        // Before: «не задано значение».
        {"an option twice", "exec \"$CLI\" --date 17.05.1990 --date 18.05.1990", 2,
         "--date: задан больше одного раза"},
    };
    for (const auto& row : rows) {
        const Outcome outcome = RunShell(row.line);
        const std::string given = std::string(row.name) + " (" + row.line + "): " + outcome.err;
        EXPECT_EQ(outcome.status, row.status) << given;
        EXPECT_NE(("\n" + outcome.err).find(row.message), std::string::npos) << given;
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(Names(), (std::vector<std::string>{"births.csv", "file:new.sqlite?mode=memory",
                                                 "file:other.sqlite", "many.csv", "people.csv",
                                                 "people.sqlite", "pipe", "status"}));
}

} // namespace
