#include "csv/csv_writer.h"

#include "platform/ascii_text.h"

namespace toravel {
namespace {

bool NeedsQuotes(std::string_view value) {
    if (value.find_first_of(",\"\r\n") != std::string_view::npos)
        return true;
    // A byte order mark opening a file is skipped by readers: quoted, it is
    // data wherever the field stands.
    if (value.substr(0, 3) == "\xEF\xBB\xBF")
        return true;
    return !value.empty() && (IsSpaceOrTab(value.front()) || IsSpaceOrTab(value.back()));
}

} // namespace

std::string CsvField(std::string_view value) {
    if (!NeedsQuotes(value))
        return std::string(value);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    for (const char c : value) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

CsvWriter::CsvWriter(std::ostream& out, CsvLineEnd lineEnd)
    : out_(out), lineEnd_(lineEnd == CsvLineEnd::CrLf ? "\r\n" : "\n") {}

template <typename Text> void CsvWriter::Write(const std::vector<Text>& fields) {
    if (fields.size() == 1 && fields.front().empty()) {
        out_ << "\"\"" << lineEnd_;
        return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out_ << ',';
        out_ << CsvField(fields[i]);
    }
    out_ << lineEnd_;
}

void CsvWriter::WriteRecord(const std::vector<std::string>& fields) {
    Write(fields);
}
void CsvWriter::WriteRecord(const std::vector<std::string_view>& fields) {
    Write(fields);
}

} // namespace toravel
