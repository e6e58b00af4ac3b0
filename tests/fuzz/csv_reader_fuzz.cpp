// The CSV reader over arbitrary bytes, with small limits so that the limits
// are reached too. A record without a fault has fields of valid UTF-8
// within the limits, and what the writer makes of it reads back the same;
// lines only go forward, also when a faulty record is cut back.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "csv/csv_reader.h"
#include "csv/csv_writer.h"
#include "platform/utf8_text.h"

using namespace toravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CsvReader reader(in, CsvLimits{256, 16});
    CsvRecord record;
    std::uint64_t line = 0;
    bool header = true;
    while (reader.Next(record)) {
        if (record.line <= line || record.endLine < record.line)
            std::abort();
        line = record.endLine;
        // The first record is the header: later records of several lines
        // are held to its number of fields, as the callers hold them.
        if (header && record.error.empty())
            reader.ExpectFields(record.fields.size());
        header = false;
        if (!record.error.empty())
            continue;
        if (record.fields.empty() || record.fields.size() > 16)
            std::abort();
        for (const std::string& field : record.fields) {
            if (!IsValidUtf8(field) || field.size() > 256)
                std::abort();
        }
        std::ostringstream out;
        CsvWriter(out).WriteRecord(record.fields);
        std::istringstream back(out.str());
        CsvReader again(back, CsvLimits{1024, 16});
        CsvRecord copy;
        if (!again.Next(copy) || copy.fields != record.fields || again.Next(copy))
            std::abort();
    }
    return 0;
}
