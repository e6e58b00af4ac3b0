// toravel-cli as a hostile user would try it: output that cannot be
// written, files that are no files, a person file that may only be read, a
// path that looks like an SQLite URI, CSV that is not quite CSV. Each case
// failed before; each now ends in a message and the right exit status, and
// nothing that was there is lost.
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

const std::string People = "name,date,time,latitude,longitude,utc_offset\n"
                           "Анна,17.05.1990,14:30,55.75,37.62,+04:00\n"
                           "Борис,18.05.1990,12:00,55.03,82.92,+07:00\n";

// A shell line run from the build tree's root: `$CLI` is toravel-cli.
Outcome RunShell(const std::string& line, const std::string& input = "") {
    RunSettings settings;
    settings.input = input;
    return RunProgram("/bin/sh", {"-c", "CLI=" + ShellQuoted(TORAVEL_CLI) + "; " + line}, settings);
}

std::string Words(const std::vector<std::string>& arguments) {
    std::string words;
    for (const std::string& argument : arguments)
        words += " " + ShellQuoted(argument);
    return words;
}

class ToravelCliSafety : public ::testing::Test {
protected:
    ToravelCliSafety() {
        std::ofstream(folder_ / "people.csv", std::ios::binary) << People;
        std::ofstream(folder_ / "births.csv", std::ios::binary)
            << "date,time,latitude,longitude,utc_offset\n"
            << "17.05.1990,14:30,55.75,37.62,+04:00\n";
    }
    std::string PeopleFile() const { return folder_ / "people.sqlite"; }
    Outcome Cli(const std::vector<std::string>& arguments) {
        return RunProgram(TORAVEL_CLI, arguments);
    }
    Outcome Cli(const std::vector<std::string>& arguments, const std::string& input) {
        RunSettings settings;
        settings.input = input;
        return RunProgram(TORAVEL_CLI, arguments, settings);
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
        ASSERT_EQ(Cli(run).status, 0) << run[0] << " fails anyway";
        for (const auto& destination : destinations) {
            const Outcome outcome =
                RunShell("exec \"$CLI\"" + Words(run) + " " + destination.redirection);
            EXPECT_EQ(outcome.status, 1) << run[0] << " " << destination.redirection;
            EXPECT_NE(outcome.err.find(destination.reason), std::string::npos)
                << run[0] << " " << destination.redirection << ": " << outcome.err;
        }
    }
}

// Before, with SIGPIPE ignored (as some parents leave it), a batch whose
// reader had gone computed every line and exited 0.
TEST_F(ToravelCliSafety, AReaderThatGoesAwayEndsTheBatch) {
    {
        std::ofstream births(folder_ / "many.csv", std::ios::binary);
        births << "date,time,latitude,longitude,utc_offset\n";
        for (int i = 0; i < 20'000; ++i)
            births << "17.05.1990,14:30,55.75,37.62,+04:00\n";
    }
    const std::string status = folder_ / "status";
    const Outcome outcome =
        RunShell("trap '' PIPE; { \"$CLI\" --batch " + ShellQuoted(folder_ / "many.csv") +
                 "; echo $? >" + ShellQuoted(status) + "; } | head -c 1 >/dev/null");
    EXPECT_EQ(FileText(status), "1\n") << outcome.err;
    EXPECT_NE(outcome.err.find("читающая программа закрыла канал"), std::string::npos)
        << outcome.err;
}

// Before, --people-export replaced a named pipe (as root, even /dev/full)
// or SQLite's -shm file beside the person file (which then vanished), and
// said «записано людей». (The output file's own test tries every kind of
// target.)
TEST_F(ToravelCliSafety, ExportsReplaceOnlyRegularFiles) {
    MakePeopleFile();
    const auto exportTo = [&](const std::string& target) {
        return Cli({"--people-file", PeopleFile(), "--people-export", target});
    };
    ASSERT_EQ(::mkfifo((folder_ / "pipe").c_str(), 0644), 0);
    const Outcome pipe = exportTo(folder_ / "pipe");
    EXPECT_EQ(pipe.status, 1);
    EXPECT_NE(
        pipe.err.find("Не удалось записать «" + (folder_ / "pipe") + "»: это не обычный файл"),
        std::string::npos)
        << pipe.err;
    EXPECT_EQ(pipe.err.find("записано людей"), std::string::npos) << pipe.err;
    EXPECT_TRUE(fs::is_fifo(folder_ / "pipe"));

    const Outcome shm = exportTo(PeopleFile() + "-shm");
    EXPECT_EQ(shm.status, 1);
    EXPECT_NE(shm.err.find("служебного файла картотеки"), std::string::npos) << shm.err;
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"births.csv", "people.csv", "people.sqlite", "pipe"}));
}

// Before, as a normal user, listing a person file of mode 444 left a -shm of
// mode 444 and a -wal beside it, and every later save failed «открыта
// только для чтения» until the -shm was deleted by hand; --person stored
// nothing and said nothing; in a folder of mode 555 the file could not even
// be listed.
TEST_F(ToravelCliSafety, AFileThatMayOnlyBeReadIsReadAndLeftAlone) {
    MakePeopleFile();
    // nobody must reach the folder and own the file for the modes to count.
    fs::permissions(folder_.Path(), fs::perms::all);
    ASSERT_EQ(::chown(PeopleFile().c_str(), ::geteuid() == 0 ? 65534 : ::geteuid(),
                      ::geteuid() == 0 ? 65534 : ::getegid()),
              0);
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.push_back("--people-file");
        arguments.push_back(PeopleFile());
        const auto [program, words] = AsNormalUser(TORAVEL_CLI, arguments);
        return RunProgram(program, words);
    };
    const auto companions = [&] {
        return fs::exists(PeopleFile() + "-shm") || fs::exists(PeopleFile() + "-wal");
    };
    std::ofstream(folder_ / "more.csv") << "name,date\nВера,19.05.1990\n";
    ::chmod((folder_ / "more.csv").c_str(), 0644);
    // The file read-only; then its folder read-only.
    for (const bool folderReadOnly : {false, true}) {
        const char* what = folderReadOnly ? "folder 555" : "file 444";
        if (folderReadOnly) {
            ::chmod(PeopleFile().c_str(), 0644);
            ::chmod(folder_.Path().c_str(), 0555);
        } else {
            ::chmod(PeopleFile().c_str(), 0444);
        }
        const Outcome listed = run({"--people"});
        EXPECT_EQ(listed.status, 0) << what << ": " << listed.err;
        EXPECT_EQ(listed.OutLines().size(), 3u) << what;
        const Outcome exported = run({"--people-export", "-"});
        EXPECT_EQ(exported.status, 0) << what << ": " << exported.err;
        EXPECT_NE(exported.out.find("Борис"), std::string::npos) << what;
        const Outcome person = run({"--person", "Анна", "--json"});
        EXPECT_EQ(person.status, 0) << what << ": " << person.err;
        EXPECT_NE(person.err.find("внимание: результат не сохранен в картотеке"), std::string::npos)
            << what << ": " << person.err;
        EXPECT_EQ(nlohmann::json::parse(person.out)["warnings"].size(), 1u) << person.out;
        const Outcome imported = run({"--people-import", folder_ / "more.csv"});
        EXPECT_EQ(imported.status, 1) << what;
        EXPECT_NE(imported.err.find("только для чтения"), std::string::npos) << imported.err;
        EXPECT_FALSE(companions()) << what << ": something was left beside the file";
    }
    // Writable again: saving works at once.
    ::chmod(folder_.Path().c_str(), 0777);
    const Outcome more = run({"--people-import", folder_ / "more.csv"});
    EXPECT_EQ(more.status, 0) << more.err;
}

// Before, "file:new.sqlite?mode=memory" imported into memory and said
// «добавлено: 2»; "file:other.sqlite" was checked under that name and
// written as other.sqlite.
TEST_F(ToravelCliSafety, APersonFileNameIsAPathNeverAnSqliteUri) {
    for (const std::string name : {"file:new.sqlite?mode=memory", "file:other.sqlite"}) {
        const Outcome outcome =
            RunShell("cd " + ShellQuoted(folder_.Path()) + " && exec \"$CLI\" --people-file " +
                     ShellQuoted(name) + " --people-import people.csv");
        EXPECT_EQ(outcome.status, 0) << name << ": " << outcome.err;
        EXPECT_TRUE(fs::is_regular_file(folder_.Path() / name)) << name;
    }
    EXPECT_FALSE(fs::exists(folder_.Path() / "other.sqlite"));
    EXPECT_FALSE(fs::exists(folder_.Path() / "new.sqlite"));
}

// Before, without HOME the person file was looked for, and made, at
// /.local/share/toravel.
TEST_F(ToravelCliSafety, WithoutAHomeThereIsNoPersonFile) {
    const Outcome outcome = RunProgram("/usr/bin/env", {"-u", "HOME", "XDG_DATA_HOME=relative",
                                                        TORAVEL_CLI, "--people", "--json"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Картотеку негде искать: не задана домашняя папка"),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(nlohmann::json::parse(outcome.out)["error"]["code"], "person_file");
}

// Before, a quote left open took every later line with it: 5 lines in, 2
// records out. (The import's count: PersonCsv.EveryLineNotTakenIsReported….)
TEST_F(ToravelCliSafety, AQuoteLeftOpenCostsOnlyItsLine) {
    const std::string csv = "name,date,time,latitude,longitude,utc_offset\n"
                            "\"Анна,02.01.1990,12:00,55,37,+03:00\n"
                            "Борис,03.01.1990,12:00,55,37,+03:00\n"
                            "Вера,04.01.1990,12:00,55,37,+03:00\n"
                            "Глеб,05.01.1990,12:00,55,37,+03:00\n";
    const Outcome batch = Cli({"--batch", "-"}, csv);
    EXPECT_EQ(batch.status, 1);
    const std::vector<std::string> records = batch.OutLines();
    ASSERT_EQ(records.size(), 4u) << batch.out;
    EXPECT_NE(records[0].find("не закрыта до конца файла"), std::string::npos) << records[0];
    EXPECT_NE(records[3].find("\"name\":\"Глеб\""), std::string::npos) << records[3];
    EXPECT_EQ(batch.err, "строк с ошибкой: 1 из 4\n");
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
    const Outcome terminal = RunProgram("/usr/bin/script", {"-qec", command, typescript});
    const std::string shown = FileText(typescript);
    EXPECT_NE(shown.find("status 0"), std::string::npos) << shown;
    EXPECT_NE(shown.find("строк: 2"), std::string::npos) << "progress without a total\n" << shown;
    EXPECT_NE(FileText(folder_ / "out").find("\"lunar_day\":22"), std::string::npos)
        << FileText(folder_ / "out");
}

// Smaller faults found at the same time, each with its message now.
TEST_F(ToravelCliSafety, InputsThatAreNoBirthCsvSaySo) {
    const struct {
        const char* name;
        std::string line; // run from the build tree's root
        int status;
        const char* message;
    } rows[] = {
        // Before: read without end.
        {"--batch /dev/zero", "timeout 60 \"$CLI\" --batch /dev/zero", 1,
         "дальше файл не читается"},
        // Before: «пустой файл».
        {"--batch a folder", "exec \"$CLI\" --batch /tmp", 2, "«/tmp» — каталог, а не файл"},
        {"--people-import a folder",
         "exec \"$CLI\" --people-file " + ShellQuoted(PeopleFile()) + " --people-import /tmp", 2,
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
        EXPECT_EQ(outcome.status, row.status) << row.name << ": " << outcome.err;
        EXPECT_NE(("\n" + outcome.err).find(row.message), std::string::npos)
            << row.name << ": " << outcome.err;
        EXPECT_EQ(outcome.err.find("заголовок: заголовок:"), std::string::npos) << row.name;
    }
}

} // namespace
