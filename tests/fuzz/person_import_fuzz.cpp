// Importing arbitrary bytes as a birth CSV into a person file in memory:
// nothing but notes and whole people comes of it. Every person kept has no
// fault, and the file's export imports again into the same people.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "people/person_export.h"
#include "people/person_import.h"

using namespace toravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    PersonFile file = PersonFile::InMemory();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const OnConflict onConflict = size % 2 == 0 ? OnConflict::Replace : OnConflict::Ask;
    const ImportReport report = ImportPeople(
        file, in, onConflict,
        [](const Person&, const Person& incoming, std::uint64_t) { return incoming.note.empty(); },
        [](const ImportNote& note) {
            if (note.message.empty() || note.line == 0)
                std::abort();
        });
    if (file.Count() != report.added)
        std::abort();
    std::ostringstream out;
    ExportPeople(file, out);
    PersonFile copy = PersonFile::InMemory();
    std::istringstream back(out.str());
    const ImportReport again = ImportPeople(copy, back, OnConflict::Skip, {}, {});
    if (again.added != report.added || again.skipped != 0)
        std::abort();
    file.ForEach([&](const Person& person) {
        if (!PersonFault(person).empty())
            std::abort();
        const auto other = copy.Find(person.name);
        if (!other || other->name != person.name || other->note != person.note ||
            other->date != person.date || other->latitude != person.latitude)
            std::abort();
    });
    return 0;
}
