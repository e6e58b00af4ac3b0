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
//
// A stray quote must not swallow the lines after it: a record that runs over
// several lines and is faulty — its quote still open at the end of the file
// or after maxRecordBytes, a fault on a later line, or (ExpectFields) another
// number of fields than the header — is cut back to the line it began on,
// and reading goes on with the next line. Such a record is kept until it
// ends, so at most maxRecordBytes are read again.
//
// A line longer than maxRecordBytes is reported and the rest of it skipped;
// one that goes on for more than maxSkippedBytes (a device such as
// /dev/zero) ends the reading, and the record says so.
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
    std::size_t maxSkippedBytes = 16u << 20;
};

class CsvReader {
public:
    explicit CsvReader(std::istream& in, CsvLimits limits = {});

    // The next record; false at the end of the input. A read error of the
    // stream ends the input like its end.
    bool Next(CsvRecord& record);

    // Records of several lines with another number of fields are cut back
    // (see above); 0, the default, expects none in particular.
    void ExpectFields(std::size_t count) { expectedFields_ = count; }

private:
    int Peek();
    int Get();
    void Fill();
    void Fail(CsvRecord& record, std::string message);
    void EndField(CsvRecord& record);
    // Puts what was read after the record's first line back in front of
    // the input and ends the record on its first line.
    void CutBack(CsvRecord& record, std::string message);

    std::istream& in_;
    CsvLimits limits_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t size_ = 0;
    bool atStart_ = true;
    bool dropping_ = false; // the record is over its limits: fields are not kept
    bool stopped_ = false;  // a line without end: nothing more is read
    std::uint64_t line_ = 1;
    std::size_t recordBytes_ = 0;
    std::size_t expectedFields_ = 0;
    std::string field_;
    // A record past its first line keeps what it reads from there on:
    // kept_, then buffer_ from keptFrom_.
    bool keeping_ = false;
    std::string kept_;
    std::size_t keptFrom_ = 0;
};

} // namespace toravel
