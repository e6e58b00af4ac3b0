// The reader against RFC 4180's examples and against what real files do
// wrong: every fault is reported on its own record, the next record is
// read as if nothing had happened, and memory does not grow with the input.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "csv/csv_header.h"
#include "csv/csv_reader.h"

namespace toravel {
namespace {

struct Read {
    std::uint64_t line;
    std::vector<std::string> fields;
    std::string error;
};

std::vector<Read> ReadAll(const std::string& text, CsvLimits limits = {}) {
    std::istringstream in(text);
    CsvReader reader(in, limits);
    CsvRecord record;
    std::vector<Read> records;
    while (reader.Next(record))
        records.push_back({record.line, record.fields, record.error});
    return records;
}

using Fields = std::vector<std::string>;

TEST(CsvReader, LineEndsOfEveryKindGiveTheSameRecords) {
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        const auto records = ReadAll("a,b" + end + "c,d" + end);
        ASSERT_EQ(records.size(), 2u) << "line end " << testing::PrintToString(end);
        EXPECT_EQ(records[0].fields, (Fields{"a", "b"}));
        EXPECT_EQ(records[1].fields, (Fields{"c", "d"}));
        EXPECT_EQ(records[1].line, 2u);
    }
    // The last record needs no line end.
    const auto last = ReadAll("a\nb");
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[1].fields, Fields{"b"});
}

TEST(CsvReader, QuotedFieldsKeepCommasQuotesAndLineBreaks) {
    const auto records = ReadAll("\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\nnext,\"\",x\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (Fields{"a,b", "say \"hi\"", "two\r\nlines"}));
    EXPECT_EQ(records[0].error, "");
    // Lines are counted inside quotes too: the next record starts on line 3.
    EXPECT_EQ(records[1].line, 3u);
    EXPECT_EQ(records[1].fields, (Fields{"next", "", "x"}));
}

TEST(CsvReader, ByteOrderMarkAndEmptyLinesAreNoData) {
    const auto records = ReadAll("\xEF\xBB\xBFname\n\n\r\nАнна\n\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, Fields{"name"});
    EXPECT_EQ(records[1].fields, Fields{"Анна"});
    EXPECT_EQ(records[1].line, 4u);
    // A quoted empty field is a record, not an empty line.
    EXPECT_EQ(ReadAll("\"\"\n").size(), 1u);
    EXPECT_TRUE(ReadAll("").empty());
}

TEST(CsvReader, EachFaultIsReportedOnItsOwnRecordAndTheNextIsSound) {
    struct Case {
        const char* name;
        std::string bad;
        std::string message;
    };
    const Case cases[] = {
        {"quote inside an unquoted field", "ab\"c,d", "кавычка внутри поля без кавычек в строке 2"},
        {"text after the closing quote", "\"ab\"c,d", "текст после закрывающей кавычки в строке 2"},
        {"NUL byte", std::string("a\0b,c", 5), "нулевой байт (NUL) в строке 2"},
        {"overlong form", "\xC0\x80,x", "поле 1 не в кодировке UTF-8"},
        {"surrogate", "x,\xED\xA0\x80", "поле 2 не в кодировке UTF-8"},
        {"beyond U+10FFFF", "\xF5\x80\x80\x80", "поле 1 не в кодировке UTF-8"},
        {"cut short", "\xD0", "поле 1 не в кодировке UTF-8"},
        {"Windows-1251", "\xC0\xED\xED\xE0", "поле 1 не в кодировке UTF-8"},
    };
    for (const Case& c : cases) {
        const auto records = ReadAll("first\n" + c.bad + "\nlast,one\n");
        ASSERT_EQ(records.size(), 3u) << c.name;
        EXPECT_EQ(records[0].error, "") << c.name;
        EXPECT_EQ(records[1].error, c.message) << c.name;
        EXPECT_EQ(records[1].line, 2u) << c.name;
        EXPECT_EQ(records[2].error, "") << c.name;
        EXPECT_EQ(records[2].fields, (Fields{"last", "one"})) << c.name;
        EXPECT_EQ(records[2].line, 3u) << c.name;
    }
}

// Before, a quote left open took every later line into its record: the
// lines after it were never read, and nothing named them.
TEST(CsvReader, AQuoteLeftOpenCostsOnlyTheLineItOpensOn) {
    const struct {
        const char* name;
        std::string bad; // line 2, and what belongs to it
        std::string message;
        std::uint64_t lines; // the lines of `bad`; a faulty record's are read again but the first
    } cases[] = {
        {"open to the end of the file", "b,\"open",
         "кавычка, открытая в строке 2, не закрыта до конца файла", 1},
        {"closed on a later line, text after it", "\"A2,02.01.1990\nx\"y,z",
         "кавычка, открытая в строке 2, не закрыта в этой строке (текст после закрывающей "
         "кавычки в строке 3)",
         2},
        {"closed on a later line, fields short", "\"A2,02.01.1990\nx,y\"",
         "кавычка, открытая в строке 2, не закрыта в этой строке (полей в записи 1, а в "
         "заголовке 2)",
         2},
        {"a fault before the line break", "a\"b,\"c", "кавычка внутри поля без кавычек в строке 2",
         1},
        {"no closing quote within the record's bytes", "\"" + std::string(195, 'y'),
         "кавычка, открытая в строке 2, не закрыта и через 200 байт", 1},
        // A sound record of several lines stays one record.
        {"sound, of two lines", "\"two\nlines\",x", "", 2},
    };
    for (const auto& c : cases) {
        for (const std::string end : {"\n", "\r\n"}) {
            const std::string given = c.name + std::string(end == "\n" ? " (LF)" : " (CRLF)");
            std::string text = "h1,h2" + end + c.bad + end;
            for (int i = 0; i < 4; ++i)
                text += "good" + std::to_string(i) + ",v" + end;
            std::istringstream in(text);
            CsvReader reader(in, {200, 10});
            reader.ExpectFields(2);
            CsvRecord record;
            ASSERT_TRUE(reader.Next(record));
            ASSERT_TRUE(reader.Next(record)) << given;
            EXPECT_EQ(record.line, 2u) << given;
            EXPECT_EQ(record.endLine, c.message.empty() ? 1 + c.lines : 2u) << given;
            EXPECT_EQ(record.error, c.message) << given;
            // Every later line is read, the faulty record's own included.
            std::vector<std::uint64_t> good;
            while (reader.Next(record)) {
                if (record.error.empty())
                    good.push_back(record.line);
            }
            const std::uint64_t first = 2 + c.lines;
            EXPECT_EQ(good, (std::vector<std::uint64_t>{first, first + 1, first + 2, first + 3}))
                << given;
        }
    }
}

TEST(CsvReader, OverlongRecordsAreReportedWithoutKeepingThem) {
    const CsvLimits limits{100, 5};
    const auto records = ReadAll(
        std::string(150, 'x') + "\n\"" + std::string(300, 'y') + "\"\n1,2,3,4,5,6\nok\n", limits);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].error, "запись длиннее 100 байт");
    EXPECT_TRUE(records[0].fields.empty());
    EXPECT_EQ(records[1].error, "запись длиннее 100 байт");
    EXPECT_EQ(records[2].error, "больше 5 полей в записи");
    EXPECT_EQ(records[3].fields, Fields{"ok"});
    EXPECT_EQ(records[3].line, 4u);
}

// Lines made as they are read, so that the test itself holds none of them.
class GeneratedLines : public std::streambuf {
public:
    explicit GeneratedLines(std::uint64_t count) : count_(count) {}

protected:
    int_type underflow() override {
        if (next_ > count_)
            return traits_type::eof();
        line_ = std::to_string(next_) + ",\"Иванова, Анна\",17.05.1990,14:30,55.75,37.62\r\n";
        ++next_;
        setg(line_.data(), line_.data(), line_.data() + line_.size());
        return traits_type::to_int_type(line_[0]);
    }

private:
    std::uint64_t count_;
    std::uint64_t next_ = 1;
    std::string line_;
};

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(CsvReader, MillionLinesAreReadInConstantMemory) {
    constexpr std::uint64_t Lines = 1'000'000; // about 60 MB of text
    GeneratedLines lines(Lines);
    std::istream in(&lines);
    CsvReader reader(in);
    CsvRecord record;
    const long before = PeakResidentKiB();
    std::uint64_t count = 0, faults = 0;
    while (reader.Next(record)) {
        ++count;
        faults += !record.error.empty() || record.fields.size() != 6 ||
                  record.fields[0] != std::to_string(count);
    }
    EXPECT_EQ(count, Lines);
    EXPECT_EQ(faults, 0u);
    EXPECT_EQ(record.line, Lines);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory in quarantine: the peak says
    // nothing about what the reader holds.
    (void)before;
#else
    EXPECT_LT(PeakResidentKiB() - before, 16 * 1024) << "KiB of peak memory added";
#endif
}

TEST(CsvHeader, ColumnsInAnyOrderAndTheirCountChecked) {
    CsvHeader header;
    CsvRecord first{1, 1, {" Time", "NAME ", "extra", ""}, ""};
    ASSERT_EQ(header.Read(first), "");
    EXPECT_EQ(header.Find("name"), 1u);
    EXPECT_EQ(header.Find("time"), 0u);
    EXPECT_EQ(header.Find("extra"), 2u);
    EXPECT_FALSE(header.Find("date"));
    EXPECT_EQ(header.Names()[1], "NAME");

    CsvRecord fewer{2, 2, {"a", "b"}, ""};
    header.CheckFieldCount(fewer);
    EXPECT_EQ(fewer.error, "не хватает полей: 2 вместо 4, как в заголовке");
    CsvRecord more{3, 3, {"a", "b", "c", "d", "e"}, ""};
    header.CheckFieldCount(more);
    EXPECT_EQ(more.error, "лишние поля: 5 вместо 4, как в заголовке");
    CsvRecord faulty{4, 4, {"a"}, "нулевой байт (NUL) в строке 4"};
    header.CheckFieldCount(faulty);
    EXPECT_EQ(faulty.error, "нулевой байт (NUL) в строке 4") << "the first fault stays";

    CsvRecord twice{1, 1, {"name", "Name"}, ""};
    EXPECT_EQ(header.Read(twice), "заголовок: столбец «Name» назван дважды");
}

} // namespace
} // namespace toravel
