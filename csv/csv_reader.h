// A streaming reader of comma-separated values (RFC 4180), one record at a
// time, in constant memory whatever the length of the input.
//
//     std::ifstream in(path, std::ios::binary);
//     CsvReader reader(in);
//     CsvRecord record;
//     while (reader.Next(record)) {
//         if (!record.error.empty()) { report(record.line, record.error); continue; }
//         use(record.fields);
//     }
//
// Records end at CRLF, LF or a lone CR outside quotes; a quoted field may
// hold commas, quotes written twice and line breaks, which are kept as they
// are. A UTF-8 byte order mark at the start is skipped, and so are empty
// lines. A record that breaks a rule still comes out, with `error` saying
// what is wrong in Russian; the reader goes on with the next record, so one
// bad line never costs the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace toravel {

struct CsvRecord {
    std::uint64_t line = 0;    // the line the record begins on, counted from 1
    std::uint64_t endLine = 0; // the line it ends on (quoted line breaks)
    std::vector<std::string> fields;
    std::string error; // empty for a sound record; the first fault otherwise
};

struct CsvLimits {
    // A longer record is reported and its fields dropped: a file without a
    // closing quote cannot make the reader hold the rest of the file.
    std::size_t maxRecordBytes = 1u << 20;
    std::size_t maxFields = 1000;
};

class CsvReader {
public:
    explicit CsvReader(std::istream& in, CsvLimits limits = {});

    // The next record; false at the end of the input. A read error of the
    // stream ends the input like its end.
    bool Next(CsvRecord& record);

private:
    int Peek();
    int Get();
    void Fill();
    void Fail(CsvRecord& record, std::string message);
    void EndField(CsvRecord& record);

    std::istream& in_;
    CsvLimits limits_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t size_ = 0;
    bool atStart_ = true;
    bool dropping_ = false; // the record is over its limits: fields are not kept
    std::uint64_t line_ = 1;
    std::size_t recordBytes_ = 0;
    std::string field_;
};

} // namespace toravel
