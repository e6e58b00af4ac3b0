// Exporting the person file as a birth CSV (csv/birth_columns.h): a header
// line and one record per person, sorted by name, UTF-8 with RFC 4180
// quoting and CRLF line ends. Every field reads back unchanged through
// ImportPeople; the last results and the created/changed moments are not
// part of the format.
//
//     ExportPeople(file, std::cout);                 // --people-export -
//     ExportPeopleToFile(file, "люди.csv");          // --people-export FILE
#pragma once

#include <cstddef>
#include <filesystem>
#include <ostream>

#include "people/person_file.h"

namespace toravel {

// Returns the number of people written. Throws PersonFileError when the
// stream fails.
std::size_t ExportPeople(const PersonFile& file, std::ostream& out);

// Writes the target through OutputFile (files/output_file.h): it is either as
// it was or the whole export, and a target that is no regular file is
// refused. Refuses to write over the person file itself or the files SQLite
// keeps beside it (-wal, -shm, -journal). Throws PersonFileError when the
// person file cannot be read or would be overwritten, OutputFileError when
// the target cannot be written.
std::size_t ExportPeopleToFile(const PersonFile& file, const std::filesystem::path& target);

} // namespace toravel
