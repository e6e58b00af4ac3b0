#include "people/person_export.h"

#include <optional>
#include <string>
#include <system_error>

#include "csv/birth_columns.h"
#include "csv/csv_writer.h"
#include "files/output_file.h"

namespace toravel {
namespace {

namespace fs = std::filesystem;

// What writing `target` would replace of the person file: "" for the file
// itself, "-wal", "-shm" or "-journal" for one that SQLite keeps beside it (a
// file put there is taken for SQLite's own and deleted when the person file
// closes); nothing for any other file.
std::optional<std::string> PersonFilePart(const fs::path& target, const fs::path& personFile) {
    if (personFile.empty())
        return std::nullopt;
    std::error_code error;
    const fs::path base = fs::weakly_canonical(personFile, error);
    if (error)
        return std::nullopt;
    const fs::path written = fs::weakly_canonical(target, error);
    if (error)
        return std::nullopt;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const fs::path file = base.string() + suffix;
        if (written == file || fs::equivalent(target, file, error))
            return suffix;
    }
    return std::nullopt;
}

} // namespace

std::size_t ExportPeople(const PersonFile& file, std::ostream& out) {
    CsvWriter writer(out);
    writer.WriteRecord(BirthColumnNames());
    std::size_t count = 0;
    file.ForEach([&](const Person& person) {
        writer.WriteRecord(BirthRowFields(RowOfPerson(person)));
        ++count;
    });
    out.flush();
    if (!out)
        throw PersonFileError(PersonFileProblem::Unavailable,
                              "Не удалось записать выгрузку картотеки: поток вывода закрыт или "
                              "на диске нет места.");
    return count;
}

std::size_t ExportPeopleToFile(const PersonFile& file, const fs::path& target) {
    if (const auto part = PersonFilePart(target, file.Path()))
        throw PersonFileError(
            PersonFileProblem::Unavailable,
            "Выгрузка в «" + target.string() + "» записала бы CSV поверх " +
                (part->empty() ? "самой картотеки"
                               : "служебного файла картотеки «" + file.Path().string() + "»") +
                ": выберите другой файл.");
    OutputFile output(target);
    std::size_t count = 0;
    try {
        count = ExportPeople(file, output.Stream());
    } catch (const PersonFileError&) {
        // A write that failed is the output's to name; a failure to read
        // the person file is the person file's.
        if (output.Good())
            throw;
    }
    output.Commit();
    return count;
}

} // namespace toravel
