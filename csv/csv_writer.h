// Writing comma-separated values (RFC 4180) that CsvReader reads back field
// for field: a field is quoted when it holds a comma, a quote, a line break
// or blanks at either end, when it begins with a byte order mark (skipped at
// the start of a file), or when it is the only field of its record and empty
// (an empty line would be no record); quotes inside are doubled.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace toravel {

enum class CsvLineEnd { CrLf, Lf };

// One field as it is written.
std::string CsvField(std::string_view value);

class CsvWriter {
public:
    // RFC 4180 ends records with CRLF; Lf is for output read line by line.
    explicit CsvWriter(std::ostream& out, CsvLineEnd lineEnd = CsvLineEnd::CrLf);

    void WriteRecord(const std::vector<std::string>& fields);
    void WriteRecord(const std::vector<std::string_view>& fields);

private:
    template <typename Text> void Write(const std::vector<Text>& fields);

    std::ostream& out_;
    const char* lineEnd_;
};

} // namespace toravel
