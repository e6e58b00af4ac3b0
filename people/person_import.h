// Importing people from a birth CSV (csv/birth_columns.h) into the person
// file: the command line's --people-import and the window's import both
// call this.
//
//     ImportReport report = ImportPeople(file, in, OnConflict::Skip, {},
//         [](const ImportNote& note) { std::cerr << note.line << ": " << note.message << '\n'; });
//
// The input is read as a stream, in constant memory however long it is. The
// header must name the columns `name` and `date`; the others are optional
// and unknown ones are named in a note and left out. Every line not taken
// gives a note saying why (the CSV's fault, a value's, a person's, or an
// existing name), and so does every replaced person. A person already in the
// file is replaced only when onConflict is Replace, or is Ask and the
// question answers yes; the question is asked with no change pending, so
// another copy of the program is never kept waiting while the user thinks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>

#include "people/person_file.h"

namespace toravel {

enum class ImportNoteKind {
    Skipped,  // the line was not imported
    Replaced, // the line replaced a saved person
    Columns,  // about the header: columns that are not used
};

struct ImportNote {
    std::uint64_t line = 0;
    ImportNoteKind kind = ImportNoteKind::Skipped;
    std::string message; // Russian, without the line number
};

struct ImportReport {
    std::size_t added = 0;
    std::size_t replaced = 0;
    std::size_t skipped = 0;
    // Why nothing at all was imported (an empty file, a header without
    // `name` or `date`); empty otherwise.
    std::string refused;
};

// Whether to replace `saved` by `incoming` (from input line `line`).
using ConflictQuestion =
    std::function<bool(const Person& saved, const Person& incoming, std::uint64_t line)>;
using ImportNoteSink = std::function<void(const ImportNote&)>;

// Throws PersonFileError when the person file cannot take a change (read-
// only, full disk, busy); what was imported before that line stays, and the
// message says where the import stopped.
ImportReport ImportPeople(PersonFile& file, std::istream& in, OnConflict onConflict,
                          const ConflictQuestion& ask, const ImportNoteSink& note);

} // namespace toravel
