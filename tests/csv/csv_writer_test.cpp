// Whatever the writer writes, the reader reads back field for field.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "csv/csv_reader.h"
#include "csv/csv_writer.h"

namespace toravel {
namespace {

TEST(CsvWriter, QuotesOnlyWhereTheFieldNeedsIt) {
    EXPECT_EQ(CsvField("Анна"), "Анна");
    EXPECT_EQ(CsvField("a;b"), "a;b");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvField(" padded"), "\" padded\"");
    EXPECT_EQ(CsvField(""), "");
}

TEST(CsvWriter, AByteOrderMarkOpeningTheFirstFieldIsKept) {
    std::ostringstream out;
    CsvWriter(out).WriteRecord(std::vector<std::string>{"\xEF\xBB\xBFname", "x"});
    std::istringstream in(out.str());
    CsvReader reader(in);
    CsvRecord record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record.fields, (std::vector<std::string>{"\xEF\xBB\xBFname", "x"}));
}

TEST(CsvWriter, RandomRecordsReadBackUnchanged) {
    // Pieces that stress the quoting, joined at random.
    const std::vector<std::string> pieces = {"a",  ",", "\"", "\r", "\n", "\r\n", " ",
                                             "\t", ";", "ё",  "😀",  "",   "\"\"", "x,\"y\""};
    std::mt19937 random(18);
    for (const CsvLineEnd lineEnd : {CsvLineEnd::CrLf, CsvLineEnd::Lf}) {
        std::vector<std::vector<std::string>> written;
        std::ostringstream out;
        CsvWriter writer(out, lineEnd);
        for (int r = 0; r < 2000; ++r) {
            std::vector<std::string> fields(1 + random() % 5);
            for (auto& field : fields) {
                for (unsigned n = random() % 6; n > 0; --n)
                    field += pieces[random() % pieces.size()];
            }
            writer.WriteRecord(fields);
            written.push_back(fields);
        }
        std::istringstream in(out.str());
        CsvReader reader(in);
        CsvRecord record;
        std::size_t count = 0;
        while (reader.Next(record)) {
            ASSERT_LT(count, written.size());
            ASSERT_EQ(record.error, "") << "record " << count;
            ASSERT_EQ(record.fields, written[count]) << "record " << count;
            ++count;
        }
        EXPECT_EQ(count, written.size());
    }
}

} // namespace
} // namespace toravel
