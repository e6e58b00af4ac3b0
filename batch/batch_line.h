// The lines of a batch file, each turned into the options of one
// calculation, as toravel-cli would take them from its command line.
//
// The file is the birth CSV (csv/birth_columns.h): UTF-8, RFC 4180 quoting,
// a header naming the columns in any order. A line gives the birthplace by
// `latitude` and `longitude` (decimal degrees with a point) or, without
// them, by `place` (the world atlas's first match); its clock by
// `utc_offset`, else `zone_name` (the zone's offset at the birth moment),
// else `zone` (the main window's hours, which the computer's own offset is
// added to), else by the place's own zone, or for coordinates that of the
// atlas place within 50 km. Columns the format does not know are carried
// through.
//
//     BatchLineReader reader(in);
//     if (reader.HeaderError()) stop(*reader.HeaderError());
//     for (BatchLine line; reader.Next(line);)
//         line.error ? report(line) : calculate(*line.options);
//
// Streams: one record is held at a time, whatever the length of the file.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "command_line/command_error.h"
#include "command_line/command_options.h"
#include "csv/birth_columns.h"
#include "csv/csv_header.h"
#include "csv/csv_reader.h"

namespace toravel::batch {

struct BatchLine {
    std::uint64_t line = 0; // the line the record begins on, from 1
    std::string name;       // the `name` column, empty without one
    // The columns the format does not know, as (header name, value).
    std::vector<std::pair<std::string, std::string>> extra;
    // The calculation the line asks for; none when the line cannot be used.
    std::optional<command_line::CommandOptions> options;
    // Why it cannot be used (code "input", the message naming the column).
    std::optional<command_line::CommandError> error;
};

class BatchLineReader {
public:
    // Reads the header line at once.
    explicit BatchLineReader(std::istream& in);

    // What makes the whole file unusable: no header, a header that names a
    // column twice, or lacks the date or the birthplace (at HeaderLine()).
    const std::optional<command_line::CommandError>& HeaderError() const { return headerError_; }
    std::uint64_t HeaderLine() const { return headerLine_; }

    // The names of the columns carried through, in the file's order.
    std::vector<std::string> ExtraColumns() const;

    // The next line; false at the end of the file (or after a header error).
    bool Next(BatchLine& line);

private:
    CsvReader reader_;
    CsvHeader header_;
    std::optional<BirthColumns> columns_;
    std::vector<std::pair<std::string, std::size_t>> extraColumns_; // name, index
    std::optional<command_line::CommandError> headerError_;
    std::uint64_t headerLine_ = 1;
    CsvRecord record_;
    BirthRow row_;
};

// The options of a row's calculation; the problem in Russian, or the empty
// text. The data directory and the listing are the caller's to set.
std::string OptionsOfBirthRow(const BirthRow& row, command_line::CommandOptions& options);

} // namespace toravel::batch
