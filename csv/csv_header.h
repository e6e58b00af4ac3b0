// The header line of a CSV file: the names of its columns, in any order.
//
//     CsvHeader header;
//     if (std::string problem = header.Read(first); !problem.empty()) stop(problem);
//     const auto date = header.Find("date");
//     ... for every following record: header.CheckFieldCount(record);
//
// Names are matched with blanks around them dropped and ASCII letters in
// either case ("Date " is "date"). Columns a caller does not know stay in
// Names() with their index, so that they can be carried through.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv/csv_reader.h"

namespace toravel {

class CsvHeader {
public:
    // Takes the column names from the file's first record. Returns what is
    // wrong with it in Russian, beginning "заголовок: " (the record's own
    // fault, a name given twice, two columns without a name) or "это не
    // CSV" (a line of JSON), or the empty text.
    std::string Read(const CsvRecord& first);

    // The names as the file wrote them, blanks around them dropped.
    const std::vector<std::string>& Names() const { return names_; }
    std::optional<std::size_t> Find(std::string_view name) const;

    // Sets record.error, unless it already holds a fault, when the record
    // has another number of fields than the header.
    void CheckFieldCount(CsvRecord& record) const;

private:
    std::vector<std::string> names_;
    std::vector<std::string> keys_;
};

} // namespace toravel
