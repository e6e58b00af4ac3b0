// The batch mode: every line calculated as a single run of the same options
// calculates it, whatever the lunar tables and calendar days kept between
// births; bad files and bad lines answered line by line; the input streamed.
#include "batch/batch_run.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "command_line/calculation_json.h"
#include "command_line/calculation_request.h"
#include "command_line/calculation_run.h"
#include "csv/csv_reader.h"
#include "lunar/calculation_state.h"
#include "storage/horoscope_database.h"

namespace toravel::batch {
namespace {

using command_line::Json;

const std::string Db = std::string(TORAVEL_BUILD_ROOT) + "/db";

std::vector<Json> JsonLines(const std::string& text) {
    std::vector<Json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(Json::parse(line));
    return lines;
}

struct BatchRun {
    BatchSummary summary;
    std::string out;
};

BatchRun RunOn(const std::string& csv, BatchSettings settings = {}) {
    settings.db = Db;
    std::istringstream in(csv);
    std::ostringstream out;
    BatchRun run;
    run.summary = RunBatch(in, out, settings);
    run.out = out.str();
    return run;
}

// A birth as a line of the batch file and as the options a user would give
// one run of toravel-cli.
struct Birth {
    std::string line;
    command_line::CommandOptions options;
};

// Places of the city list with their zones, and polar ones.
struct Place {
    const char* latitude;
    const char* longitude;
    const char* zone;
};
constexpr Place Places[] = {
    {"55.7558", "37.6173", "Europe/Moscow"},
    {"55.0084", "82.9357", "Asia/Novosibirsk"},
    {"68.9707", "33.0749", "Europe/Moscow"},
    {"78.2232", "15.6267", "Arctic/Longyearbyen"},
    {"-33.8688", "151.2093", "Australia/Sydney"},
    {"40.7128", "-74.006", "America/New_York"},
    {"22.5726", "88.3639", "Asia/Kolkata"},
    {"52.52", "13.405", "Europe/Berlin"},
    {"-54.8019", "-68.303", "America/Argentina/Ushuaia"},
    {"0", "0", "Etc/UTC"},
};
constexpr const char* AtlasPlaces[] = {"Кинешма", "Новосибирск", "Урюпинск", "Мурманск"};

std::vector<Birth> RandomBirths(int count) {
    std::mt19937 random(1990'05'17);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<Birth> births;
    for (int i = 0; i < count; ++i) {
        Birth birth;
        command_line::CommandOptions& o = birth.options;
        const int year = pick(0, 9) == 0 ? pick(2, 9998) : pick(1900, 2030);
        char date[16], time[16];
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", pick(1, 28), pick(1, 12), year);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", pick(0, 23), pick(0, 59),
                      pick(0, 3) == 0 ? pick(0, 59) : 0);
        o.date = date;
        o.time = time;
        std::string place, latitude, longitude, utcOffset, zoneName, zone, lunarDay;
        const Place& p = Places[pick(0, std::size(Places) - 1)];
        switch (pick(0, 9)) {
        case 0: // the atlas's place and its own zone
            place = AtlasPlaces[pick(0, std::size(AtlasPlaces) - 1)];
            o.place = place;
            o.autoZone = true;
            break;
        case 1: // the window's hours
            latitude = p.latitude, longitude = p.longitude;
            zone = std::to_string(pick(-12, 12));
            o.zone = std::stoi(zone);
            break;
        case 2:
        case 3: {
            latitude = p.latitude, longitude = p.longitude;
            char offset[16];
            const int minutes = pick(-12 * 4, 14 * 4) * 15;
            std::snprintf(offset, sizeof offset, "%c%02d:%02d", minutes < 0 ? '-' : '+',
                          std::abs(minutes) / 60, std::abs(minutes) % 60);
            utcOffset = offset;
            o.utcOffset = utcOffset;
            break;
        }
        default:
            latitude = p.latitude, longitude = p.longitude;
            zoneName = p.zone;
            o.zoneName = zoneName;
        }
        o.latitude = latitude;
        o.longitude = longitude;
        if (pick(0, 9) == 0) {
            lunarDay = std::to_string(pick(-9, 35));
            o.lunarDay = lunarDay;
        }
        birth.line = std::string(date) + "," + time + "," + place + "," + latitude + "," +
                     longitude + "," + utcOffset + "," + zoneName + "," + zone + "," + lunarDay +
                     ",b" + std::to_string(i);
        births.push_back(std::move(birth));
    }
    return births;
}

const char* RandomHeader = "date,time,place,latitude,longitude,utc_offset,zone_name,zone,"
                           "lunar_day,name";

// The single run's document, as toravel-cli --json writes it.
Json SingleRun(command_line::CommandOptions options, bool listing, HoroscopeDatabase& database) {
    options.db = Db;
    options.list = listing;
    std::ostringstream notes;
    const command_line::PreparedCalculation prepared =
        command_line::PrepareCalculation(options, notes);
    if (prepared.error)
        return command_line::FailureJson(command_line::JsonKind::Horoscope, *prepared.error);
    const command_line::CalculationResult result =
        command_line::RunCalculation(*prepared.request, database, SearchedLunarTables(), nullptr);
    return command_line::CalculationJson(*prepared.request, result);
}

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = SharedCalculationState(); }
    void TearDown() override { SharedCalculationState() = saved_; }

private:
    CalculationState saved_;
};

// The stores between births change nothing: 1,000 random births, at places
// with polar days and half-hour zones, on every kind of clock, some with a
// typed lunar day, calculated one by one as single runs and as one batch.
TEST_F(BatchTest, EveryLineIsWhatASingleRunGives) {
    const std::vector<Birth> births = RandomBirths(1000);
    std::string csv = std::string(RandomHeader) + "\n";
    for (const Birth& birth : births)
        csv += birth.line + "\n";

    for (const bool listing : {false, true}) {
        BatchSettings settings;
        settings.listing = listing;
        const BatchRun run =
            RunOn(listing ? csv.substr(0, csv.find('\n', csv.size() / 10)) : csv, settings);
        ASSERT_FALSE(run.summary.fileError) << run.summary.fileError->message;
        const std::vector<Json> lines = JsonLines(run.out);
        ASSERT_EQ(lines.size(), listing ? lines.size() : births.size());
        HoroscopeDatabase database(ConnectionStringForDirectory(Db));
        int computed = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Json line = lines[i];
            EXPECT_EQ(line["line"], i + 2);
            EXPECT_EQ(line["name"], "b" + std::to_string(i));
            line.erase("line");
            line.erase("name");
            const Json single = SingleRun(births[i].options, listing, database);
            const Json expected = Json::parse(single.dump()); // through text, as the batch
            if (line["error"].is_null() && line["path"] == "computed")
                ++computed;
            if (line != expected) {
                ADD_FAILURE() << births[i].line << "\nbatch:  " << line.dump()
                              << "\nsingle: " << expected.dump();
                break;
            }
        }
        EXPECT_GT(computed, static_cast<int>(lines.size() * 7 / 10)) << "mostly computed";
    }
}

TEST_F(BatchTest, FilesThatCannotBeUsedAreOneErrorRecord) {
    struct Row {
        const char* name;
        std::string csv;
        const char* message;
    } rows[] = {
        {"empty", "", "пустой файл: нет строки заголовка"},
        {"only a byte order mark", "\xEF\xBB\xBF", "пустой файл"},
        {"only blank lines", "\r\n\n\r\n", "пустой файл"},
        {"no date", "time,latitude,longitude,utc_offset\n12:00,55,37,+03:00\n", "«date»"},
        {"no birthplace", "date,utc_offset\n17.05.1990,+03:00\n", "«latitude» и «longitude»"},
        {"a column twice", "date,Date,place\n", "назван дважды"},
        {"a header that is no text",
         "date,pl\xff"
         "ace\n",
         "UTF-8"},
        // Before: accepted, and the values of one unnamed column lost under
        // the other's empty name.
        {"two columns without a name", "date,,place,\n17.05.1990,a,Кинешма,b\n",
         "заголовок: у столбцов 2 и 4 нет имени"},
        // Before: "заголовок: кавычка внутри поля без кавычек …".
        {"JSON Lines", "{\"format\":\"toravel/1\",\"kind\":\"horoscope\"}\n",
         "это не CSV: строка 1 начинается с «{»"},
    };
    for (const Row& row : rows) {
        const BatchRun run = RunOn(row.csv);
        ASSERT_TRUE(run.summary.fileError) << row.name;
        EXPECT_NE(run.summary.fileError->message.find(row.message), std::string::npos)
            << row.name << ": " << run.summary.fileError->message;
        EXPECT_EQ(run.summary.fileError->message.find("заголовок: заголовок:"), std::string::npos)
            << row.name << ": the prefix doubled";
        const std::vector<Json> lines = JsonLines(run.out);
        ASSERT_EQ(lines.size(), 1u) << row.name;
        EXPECT_EQ(lines[0]["error"]["code"], "input") << row.name;
        EXPECT_EQ(run.summary.results, 0u) << row.name;
    }

    const BatchRun headerOnly = RunOn("date,place\r\n");
    EXPECT_FALSE(headerOnly.summary.fileError);
    EXPECT_EQ(headerOnly.out, "");

    BatchSettings elsewhere;
    std::istringstream in("date,place\n17.05.1990,Кинешма\n");
    std::ostringstream out;
    elsewhere.db = "/nonexistent";
    const BatchSummary noDatabase = RunBatch(in, out, elsewhere);
    ASSERT_TRUE(noDatabase.fileError);
    EXPECT_EQ(noDatabase.fileError->code, "database");
}

TEST_F(BatchTest, BadLinesGiveAnErrorRecordAndTheRunGoesOn) {
    const std::string good = "17.05.1990,14:30,55.7558,37.6173,+04:00,x";
    const std::string csv = "date,time,latitude,longitude,utc_offset,name\r\n" + good + "\r\n" +
                            "17.05.1990,14:30,55.7558\r\n" +                             // too few
                            good + ",more\r\n" +                                         // too many
                            std::string("17.05.1990,14:30,55\0.7,37,+04:00,x\r\n", 36) + // NUL
                            "31.02.1990,14:30,55,37,+04:00,x\r\n" + // no such day
                            "17.05.1990,14:30,95,37,+04:00,x\r\n" + // off the Earth
                            "17.05.1990,14:30,55,37,+03:60,x\r\n" + // no offset
                            "17.05.1990,14:30,55,37,+04:00,\"a\r\nb\"\r\n" + good + "\r";
    const BatchRun run = RunOn(csv);
    ASSERT_FALSE(run.summary.fileError);
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 9u) << run.out;
    const struct {
        int line;
        const char* code;
        const char* message;
    } expected[] = {
        {2, nullptr, nullptr},        {3, "input", "не хватает полей"},
        {4, "input", "лишние поля"},  {5, "input", "NUL"},
        {6, "input", "«date»"},       {7, "input", "«latitude»"},
        {8, "input", "«utc_offset»"}, {9, nullptr, nullptr},
        {11, nullptr, nullptr},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["line"], expected[i].line) << lines[i].dump();
        if (expected[i].code == nullptr) {
            EXPECT_TRUE(lines[i]["error"].is_null()) << lines[i].dump();
            EXPECT_EQ(lines[i]["lunar_day"], 22) << lines[i].dump();
        } else {
            EXPECT_EQ(lines[i]["error"]["code"], expected[i].code) << lines[i].dump();
            EXPECT_NE(lines[i]["error"]["message"].get<std::string>().find(expected[i].message),
                      std::string::npos)
                << lines[i].dump();
        }
    }
    EXPECT_EQ(lines[7]["name"], "a\r\nb") << "a quoted line break is the name's";
    EXPECT_EQ(run.summary.results, 9u);
    EXPECT_EQ(run.summary.failed, 6u);
}

// A line that names no clock runs on its birthplace's own, as a single run
// without a clock option does; one at sea, where no zone can be taken, says
// which columns would give it. (Such a file used to be refused whole.)
TEST_F(BatchTest, LinesWithoutAClockRunOnTheBirthplacesOwn) {
    const std::vector<Json> lines = JsonLines(RunOn("date,time,latitude,longitude,place\n"
                                                    "20.06.1982,03:00,55.03,82.92,\n"
                                                    "20.06.1982,03:00,,,Новосибирск\n"
                                                    "20.06.1982,03:00,0,-30,\n")
                                                  .out);
    ASSERT_EQ(lines.size(), 3u);
    for (const Json& line : {lines[0], lines[1]}) {
        EXPECT_EQ(line["clock"]["source"], "auto_zone") << line.dump();
        EXPECT_EQ(line["clock"]["utc_offset"], "+08:00") << line.dump();
        EXPECT_EQ(line["lunar_day"], 27) << line.dump();
    }
    EXPECT_EQ(lines[2]["error"]["code"], "input");
    EXPECT_NE(lines[2]["error"]["message"].get<std::string>().find(
                  "задайте «utc_offset», «zone_name» или «zone»"),
              std::string::npos)
        << lines[2].dump();
}

TEST_F(BatchTest, UnknownColumnsAreCarriedThroughInBothFormats) {
    const std::string csv =
        "id,date,time,latitude,longitude,zone_name,заметка\n"
        "17,17.05.1990,14:30,55.7558,37.6173,Europe/Moscow,\"кавычки \"\"и\"\", "
        "запятые\"\n"
        "18,30.02.1990,14:30,55.7558,37.6173,Europe/Moscow,вторая\n";
    const std::vector<Json> lines = JsonLines(RunOn(csv).out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["extra"]["id"], "17");
    EXPECT_EQ(lines[0]["extra"]["заметка"], "кавычки \"и\", запятые");
    EXPECT_EQ(lines[1]["extra"]["заметка"], "вторая") << "also on a failed line";

    BatchSettings settings;
    settings.format = BatchFormat::Csv;
    std::istringstream back(RunOn(csv, settings).out);
    CsvReader reader(back);
    std::vector<CsvRecord> records;
    for (CsvRecord record; reader.Next(record);)
        records.push_back(record);
    ASSERT_EQ(records.size(), 3u);
    const std::vector<std::string>& header = records[0].fields;
    ASSERT_EQ(header.size(), records[1].fields.size());
    const auto column = [&](const CsvRecord& record, const std::string& name) {
        const auto at = std::find(header.begin(), header.end(), name);
        return at == header.end() ? std::string("(no column)")
                                  : record.fields[static_cast<std::size_t>(at - header.begin())];
    };
    EXPECT_EQ(column(records[1], "line"), "2");
    EXPECT_EQ(column(records[1], "lunar_day"), "22");
    EXPECT_EQ(column(records[1], "utc_offset"), "+04:00");
    EXPECT_EQ(column(records[1], "lunar_world"), "yav");
    EXPECT_EQ(column(records[1], "circle"), "2");
    EXPECT_EQ(column(records[1], "moment"), "1990-05-17T14:30:00+04:00");
    EXPECT_EQ(column(records[1], "error_code"), "");
    EXPECT_EQ(column(records[1], "заметка"), "кавычки \"и\", запятые");
    EXPECT_EQ(column(records[2], "error_code"), "input");
    EXPECT_EQ(column(records[2], "id"), "18");
}

// A file of a million lines goes through in the memory of one: here every
// thousandth line a birth (the same one, so that the astronomy is done
// once), the others faulty.
class GeneratedBatch : public std::streambuf {
public:
    explicit GeneratedBatch(std::uint64_t lines) : lines_(lines) {}

protected:
    int_type underflow() override {
        if (next_ > lines_)
            return traits_type::eof();
        line_ = next_ == 0 ? "date,time,latitude,longitude,utc_offset,name\n"
                : next_ % 1000 == 0
                    ? "17.05.1990,14:30,55.7558,37.6173,+04:00," + std::to_string(next_) + "\n"
                    : "17.13.1990,14:30,55.7558,37.6173,+04:00," + std::to_string(next_) + "\n";
        ++next_;
        setg(line_.data(), line_.data(), line_.data() + line_.size());
        return traits_type::to_int_type(line_[0]);
    }

private:
    std::uint64_t lines_;
    std::uint64_t next_ = 0;
    std::string line_;
};

// Counts the lines written and keeps nothing.
class CountedLines : public std::streambuf {
public:
    std::uint64_t lines = 0;

protected:
    int overflow(int c) override {
        lines += c == '\n';
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        lines += static_cast<std::uint64_t>(std::count(text, text + count, '\n'));
        return count;
    }
};

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A batch whose output had failed (a full disk, a reader gone with SIGPIPE
// ignored) went on computing every line it could not deliver.
TEST_F(BatchTest, AFailedOutputEndsTheRun) {
    struct ShortOutput : std::streambuf { // takes 1,000 bytes, then refuses
        int taken = 0;
        int_type overflow(int_type c) override {
            return ++taken > 1000 ? traits_type::eof() : traits_type::not_eof(c);
        }
    } buffer;
    std::ostream out(&buffer);
    std::string csv = "date,time,latitude,longitude,utc_offset\n";
    for (int i = 0; i < 200; ++i)
        csv += "17.05.1990,14:30,55.75,37.62,+04:00\n";
    std::istringstream in(csv);
    BatchSettings settings;
    settings.db = Db;
    const BatchSummary summary = RunBatch(in, out, settings);
    EXPECT_TRUE(summary.outputFailed);
    EXPECT_LE(summary.results, 2u) << "computed on after the output failed";
}

TEST_F(BatchTest, MillionLinesGoThroughInConstantMemory) {
    constexpr std::uint64_t Lines = 1'000'000;
    GeneratedBatch generated(Lines);
    std::istream in(&generated);
    CountedLines counted;
    std::ostream out(&counted);
    BatchSettings settings;
    settings.db = Db;
    const long before = PeakResidentKiB();
    const BatchSummary summary = RunBatch(in, out, settings);
    EXPECT_FALSE(summary.fileError);
    EXPECT_EQ(summary.results, Lines);
    EXPECT_EQ(summary.failed, Lines - Lines / 1000);
    EXPECT_EQ(counted.lines, Lines);
#if defined(__SANITIZE_ADDRESS__)
    (void)before; // the sanitizer's quarantine keeps freed memory
#else
    EXPECT_LT(PeakResidentKiB() - before, 16 * 1024) << "KiB of peak memory added";
#endif
}

} // namespace
} // namespace toravel::batch
