// toravel-pdf end to end: the program built, run headless from the build
// tree's root, its PDF turned back into text and page facts by poppler.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "tests/cli/run_program.h"

namespace {

using toravel::testing::FileText;
using toravel::testing::ShellQuoted;

struct Outcome {
    int status = -1;
    std::string out; // standard output and error together
};

Outcome RunShell(const std::string& command) {
    Outcome outcome;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return outcome;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        outcome.out.append(buffer, n);
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

// Runs toravel-pdf from the build tree's root, at Greenwich, with no display
// and no platform chosen: the program picks the offscreen one itself.
Outcome RunPdf(const std::vector<std::string>& arguments) {
    std::string command = "cd " + ShellQuoted(TORAVEL_BUILD_ROOT) +
                          " && env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY TZ=UTC " +
                          ShellQuoted(TORAVEL_PDF);
    for (const std::string& argument : arguments)
        command += " " + ShellQuoted(argument);
    return RunShell(command);
}

class ToravelPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string(TORAVEL_PDFTOTEXT).empty())
            GTEST_SKIP()
                << "poppler-utils (pdftotext, pdfinfo, pdffonts, pdfimages) is not installed";
        directory_ = std::filesystem::temp_directory_path() /
                     ("toravel-pdf-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override {
        if (!directory_.empty())
            std::filesystem::remove_all(directory_);
    }

    std::string File(const std::string& name) const { return (directory_ / name).string(); }

    static std::string Text(const std::string& pdf) {
        return RunShell(std::string(TORAVEL_PDFTOTEXT) + " -enc UTF-8 " + ShellQuoted(pdf) + " -")
            .out;
    }
    static std::string PageText(const std::string& pdf, int page) {
        const std::string number = std::to_string(page);
        return RunShell(std::string(TORAVEL_PDFTOTEXT) + " -enc UTF-8 -f " + number + " -l " +
                        number + " " + ShellQuoted(pdf) + " -")
            .out;
    }
    static std::string Info(const std::string& pdf) {
        return RunShell(std::string(TORAVEL_PDFINFO) + " " + ShellQuoted(pdf)).out;
    }
    static int Pages(const std::string& pdf) {
        std::istringstream lines(Info(pdf));
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("Pages:", 0) == 0)
                return std::stoi(line.substr(6));
        }
        return -1;
    }

private:
    std::filesystem::path directory_;
};

const std::vector<std::string> Moscow1990 = {"--date", "17.05.1990", "--time", "14:30",
                                             "--city", "Москва",     "--zone", "4"};

std::vector<std::string> With(std::vector<std::string> arguments,
                              const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

TEST_F(ToravelPdf, OnePageWithTheBirthDataAndTheReport) {
    const std::string pdf = File("report.pdf");
    const Outcome outcome = RunPdf(With(Moscow1990, {"--output", pdf}));
    ASSERT_EQ(outcome.status, 0) << outcome.out;
    const std::string text = Text(pdf);
    for (const char* expected : {
             "Славянский гороскоп",
             "Дата рождения: 17.05.1990",
             "Время рождения: 14:30",
             "Место рождения: Москва (широта 55,7558, долгота 37,6173)",
             "Часы расчёта: UTC+4:00",
             "Разница в часах с поясом компьютера (UTC+0:00): 4",
             "Пол: мужской",
             "расчетный период соответствует",
             "кругу",
             "Славянского Мироздания",
             "22 лунный день",
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    EXPECT_LT(text.find("Пол: мужской"), text.find("расчетный период")) << "data above the report";
    EXPECT_EQ(text.find("новолуния расчетного года"), std::string::npos) << "no listing asked for";

    const std::string info = Info(pdf);
    EXPECT_EQ(Pages(pdf), 1) << info;
    EXPECT_NE(info.find("Славянский гороскоп"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;

    // The Cyrillic glyphs come from an embedded DejaVu (or Liberation) font.
    const std::string fonts = RunShell(std::string(TORAVEL_PDFFONTS) + " " + ShellQuoted(pdf)).out;
    EXPECT_TRUE(fonts.find("DejaVu") != std::string::npos ||
                fonts.find("Liberation") != std::string::npos)
        << fonts;
    // Columns from the right: object number and generation, uni, sub, emb.
    std::istringstream table(fonts);
    bool body = false;
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::vector<std::string> field{std::istream_iterator<std::string>(fields), {}};
        if (body && field.size() >= 5) {
            EXPECT_EQ(field[field.size() - 5], "yes") << "not embedded: " << line;
        }
        body = body || line.rfind("---", 0) == 0;
    }
}

TEST_F(ToravelPdf, ListingsTypedCoordinatesAndTheBirthplacesClock) {
    const std::string listed = File("listed.pdf");
    ASSERT_EQ(RunPdf(With(Moscow1990, {"--list", "--output", listed})).status, 0);
    const std::string text = Text(listed);
    EXPECT_NE(text.find("новолуния расчетного года"), std::string::npos) << text;
    EXPECT_NE(text.find("восходы лун от ближайшего новолуния"), std::string::npos) << text;
    EXPECT_NE(text.find("25.04.1990"), std::string::npos) << text;
    EXPECT_NE(text.find("22 лунный день"), std::string::npos) << "the report after the listings";

    const std::string typed = File("typed.pdf");
    ASSERT_EQ(RunPdf({"--date", "17.07.1990", "--lat", "55,75", "--lon", "37,62", "--utc-offset",
                      "+04", "--sex", "female", "--output", typed})
                  .status,
              0);
    EXPECT_NE(Text(typed).find("Место рождения: широта 55,75, долгота 37,62"), std::string::npos)
        << Text(typed);
    EXPECT_NE(Text(typed).find("Пол: женский"), std::string::npos);

    const std::string zoned = File("zoned.pdf");
    const Outcome outcome = RunPdf({"--date", "17.07.1990", "--time", "12:00", "--city", "Москва",
                                    "--auto-zone", "--output", zoned});
    ASSERT_EQ(outcome.status, 0) << outcome.out;
    const std::string zonedText = Text(zoned);
    EXPECT_NE(zonedText.find("Часы расчёта: UTC+4:00, Europe/Moscow, летнее время"),
              std::string::npos)
        << zonedText;
    EXPECT_EQ(zonedText.find("компьютера"), std::string::npos) << zonedText;
    // Without a clock option the place's own clock, as toravel-cli takes it.
    ASSERT_EQ(RunPdf({"--date", "20.06.1982", "--time", "03:00", "--place", "Новосибирск",
                      "--output", zoned})
                  .status,
              0);
    const std::string ownText = Text(zoned);
    EXPECT_NE(ownText.find("Часы расчёта: UTC+8:00, Asia/Novosibirsk, летнее время"),
              std::string::npos)
        << ownText;
    EXPECT_NE(ownText.find("27 лунный день"), std::string::npos) << ownText;
}

TEST_F(ToravelPdf, AtlasPlaceIsNamedWithItsZone) {
    const std::string pdf = File("atlas.pdf");
    const Outcome outcome = RunPdf({"--date", "17.07.1990", "--time", "12:00", "--place", "Кинешма",
                                    "--auto-zone", "--output", pdf});
    ASSERT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_NE(outcome.out.find("место: Кинешма, Ивановская область, Россия"), std::string::npos)
        << outcome.out;
    const std::string text = Text(pdf);
    EXPECT_NE(text.find("Место рождения: Кинешма, Ивановская область, Россия (широта 57,4391, "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Часы расчёта: UTC+4:00, Europe/Moscow, летнее время"), std::string::npos)
        << text;

    const Outcome listed = RunPdf({"--places", "Кинешма"});
    EXPECT_EQ(listed.status, 0) << listed.out;
    EXPECT_NE(listed.out.find("Кинешма, Ивановская область, Россия (57,4391; 42,1289), "
                              "Europe/Moscow"),
              std::string::npos)
        << listed.out;
}

TEST_F(ToravelPdf, PicturesFollowOnAPageEach) {
    const std::string pdf = File("pictures.pdf");
    const Outcome outcome =
        RunPdf(With(Moscow1990, {"--pictures", "--sex", "female", "--output", pdf}));
    ASSERT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_EQ(Pages(pdf), 5) << Info(pdf);
    const char* captions[] = {"Значение периода", "Оберегающий массаж", "Гимнастика", "Оберег"};
    for (int page = 2; page <= 5; ++page) {
        const std::string text = PageText(pdf, page);
        EXPECT_NE(text.find(captions[page - 2]), std::string::npos) << page << ": " << text;
        EXPECT_EQ(text.find("картинки нет"), std::string::npos) << page << ": " << text;
    }
    // pdfimages lists one line per image after a two-line header.
    const std::string images =
        RunShell(std::string(TORAVEL_PDFIMAGES) + " -list " + ShellQuoted(pdf)).out;
    std::istringstream lines(images);
    int count = -2;
    for (std::string line; std::getline(lines, line);)
        count += line.empty() ? 0 : 1;
    EXPECT_EQ(count, 4) << images;
}

TEST_F(ToravelPdf, NothingIsWrittenWhenThereIsNothingToPrint) {
    const std::string pdf = File("kept.pdf");
    std::ofstream(pdf) << "earlier file";
    struct Row {
        std::vector<std::string> arguments;
        int status;
        const char* error;
    } rows[] = {
        {{"--date", "17.05.1990", "--output", pdf}, 1, "нет географических данных"},
        {{"--date", "17.05.1990", "--lat", "abc", "--lon", "37", "--output", pdf},
         1,
         "«abc» — не число"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37", "--db", "/nonexistent", "--output",
          pdf},
         1,
         "bd.mdb"},
        {{"--date", "17.05.1990", "--lat", "55", "--lon", "37"}, 2, "--output"},
        // At sea no zone gives the clock: one must be named.
        {{"--date", "17.05.1990", "--lat", "0", "--lon", "-30", "--output", pdf},
         2,
         "задайте --utc-offset, --zone-name или --zone"},
        {{"--date", "31.02.1990", "--lat", "55", "--lon", "37", "--output", pdf},
         2,
         "toravel-pdf --help"},
    };
    for (const Row& row : rows) {
        std::string name;
        for (const std::string& argument : row.arguments)
            name += argument + " ";
        const Outcome outcome = RunPdf(row.arguments);
        EXPECT_EQ(outcome.status, row.status) << name << "\n" << outcome.out;
        EXPECT_NE(outcome.out.find(row.error), std::string::npos) << name << "\n" << outcome.out;
        EXPECT_EQ(FileText(pdf), "earlier file") << name;
    }

    const std::string unwritable = File("no-such-directory/report.pdf");
    const Outcome outcome = RunPdf(With(Moscow1990, {"--output", unwritable}));
    EXPECT_EQ(outcome.status, 1) << outcome.out;
    EXPECT_NE(outcome.out.find("не удалось записать"), std::string::npos) << outcome.out;
    EXPECT_FALSE(std::filesystem::exists(unwritable));
}

// A PDF that did not fit replaced the old one cut off (no %%EOF) and the run
// exited 0; a device or a pipe named by --output was replaced by a file.
TEST_F(ToravelPdf, APdfThatCannotBeWrittenWholeLeavesTheOldOne) {
    const std::filesystem::path folder = File("small-disk");
    std::filesystem::create_directories(folder);
    const std::string outcome = toravel::testing::OnTmpfs(folder, "size=200k", [&] {
        std::ostringstream report;
        const std::string pdf = (folder / "old.pdf").string();
        const auto tryWriting = [&](const char* what, const std::vector<std::string>& arguments) {
            std::ofstream(pdf, std::ios::trunc) << "%PDF old %%EOF";
            const Outcome written = RunPdf(With(arguments, {"--output", pdf}));
            if (written.status != 1 ||
                written.out.find("не удалось записать " + pdf + ": на диске нет места") ==
                    std::string::npos)
                report << what << ": status " << written.status << ", " << written.out << "; ";
            if (FileText(pdf) != "%PDF old %%EOF")
                report << what << ": the old file changed; ";
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                if (entry.path().filename() != "old.pdf" && entry.path().filename() != "filler")
                    report << what << ": left " << entry.path().filename() << "; ";
        };
        // About a megabyte with the pictures, on 200 KiB.
        tryWriting("--pictures", With(Moscow1990, {"--pictures"}));
        // The month's 26 KiB with 16 KiB left.
        toravel::testing::FillDisk(folder, 16 * 1024);
        tryWriting("--month", {"--month", "12.2026", "--place", "Мурманск"});
        return report.str();
    });
    if (outcome == "skip")
        GTEST_SKIP() << "a full disk needs a tmpfs of its own: run as root";
    EXPECT_EQ(outcome, "");

    const std::string pipe = File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const Outcome refused = RunPdf(With(Moscow1990, {"--output", pipe}));
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_NE(refused.out.find("не обычный файл"), std::string::npos) << refused.out;
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(ToravelPdf, MonthOnOneA4Page) {
    const std::string pdf = File("month.pdf");
    const Outcome outcome = RunPdf({"--month", "12.2026", "--place", "Мурманск", "--output", pdf});
    ASSERT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_EQ(Pages(pdf), 1) << Info(pdf);
    EXPECT_NE(Info(pdf).find("(A4)"), std::string::npos) << Info(pdf);
    const std::string text = Text(pdf);
    for (const char* expected :
         {"Лунный календарь: декабрь 2026", "Место: Мурманск, Мурманская область, Россия",
          "Europe/Moscow", "Лунные дни", "Миры периода", "вт 01.12", "чт 31.12", "восхода нет",
          "новолуние", "полнолуние 04:28"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    // A month it cannot be made for writes nothing.
    const std::string kept = File("kept-month.pdf");
    std::ofstream(kept) << "earlier file";
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--month", "13.2026", "--place", "Москва", "--output", kept},
             {"--month", "12.2026", "--output", kept},
             {"--month", "12.2026", "--place", "Москва", "--date", "17.05.1990", "--output",
              kept}}) {
        const Outcome refused = RunPdf(arguments);
        EXPECT_EQ(refused.status, 2) << arguments[1] << "\n" << refused.out;
        EXPECT_EQ(FileText(kept), "earlier file");
    }
}

} // namespace
