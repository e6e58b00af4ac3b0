#include "people/person_import.h"

#include <memory>

#include "csv/birth_columns.h"
#include "csv/csv_header.h"
#include "csv/csv_reader.h"
#include "people/name_key.h"

namespace toravel {
namespace {

// Changes are committed in groups: one disk flush per group rather than
// per line, and a crash loses at most the group in progress, never a part
// of a person.
constexpr std::size_t GroupSize = 500;

std::string ShortName(std::string_view name) {
    std::size_t cut = std::min<std::size_t>(name.size(), 60);
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return "«" + std::string(name.substr(0, cut)) + (cut < name.size() ? "…" : "") + "»";
}

class Import {
public:
    Import(PersonFile& file, OnConflict onConflict, const ConflictQuestion& ask,
           const ImportNoteSink& note)
        : file_(file), onConflict_(onConflict), ask_(ask), note_(note) {}

    ImportReport Run(std::istream& in);

private:
    void Take(std::uint64_t line, const Person& person);
    void Commit();
    void Note(std::uint64_t line, ImportNoteKind kind, std::string message) {
        if (note_)
            note_({line, kind, std::move(message)});
    }

    PersonFile& file_;
    OnConflict onConflict_;
    const ConflictQuestion& ask_;
    const ImportNoteSink& note_;
    ImportReport report_;
    std::unique_ptr<PersonFile::Transaction> group_;
    std::size_t groupAdded_ = 0, groupReplaced_ = 0, groupSize_ = 0;
};

void Import::Commit() {
    if (!group_)
        return;
    group_->Commit();
    group_.reset();
    report_.added += groupAdded_;
    report_.replaced += groupReplaced_;
    groupAdded_ = groupReplaced_ = groupSize_ = 0;
}

void Import::Take(std::uint64_t line, const Person& person) {
    if (!group_)
        group_ = std::make_unique<PersonFile::Transaction>(file_);
    const OnConflict first =
        onConflict_ == OnConflict::Replace ? OnConflict::Replace : OnConflict::Skip;
    SaveOutcome outcome = file_.Save(person, first);
    if (outcome == SaveOutcome::Exists && onConflict_ == OnConflict::Ask && ask_) {
        Commit();
        const std::optional<Person> saved = file_.Find(person.name);
        if (!saved || ask_(*saved, person, line))
            outcome = file_.Save(person, OnConflict::Replace); // a transaction of its own
        if (outcome == SaveOutcome::Added)
            ++report_.added;
        else if (outcome == SaveOutcome::Replaced)
            ++report_.replaced;
    } else if (outcome == SaveOutcome::Added) {
        ++groupAdded_;
    } else if (outcome == SaveOutcome::Replaced) {
        ++groupReplaced_;
    }
    if (outcome == SaveOutcome::Exists) {
        ++report_.skipped;
        Note(line, ImportNoteKind::Skipped,
             ShortName(person.name) + " уже есть в картотеке — строка пропущена");
    } else if (outcome == SaveOutcome::Replaced) {
        Note(line, ImportNoteKind::Replaced, ShortName(person.name) + " заменён(а) из файла");
    }
    if (group_ && ++groupSize_ >= GroupSize)
        Commit();
}

ImportReport Import::Run(std::istream& in) {
    CsvReader reader(in);
    CsvRecord record;
    if (!reader.Next(record)) {
        report_.refused = "файл пуст: нет строки заголовка";
        Note(1, ImportNoteKind::Skipped, report_.refused);
        return report_;
    }
    CsvHeader header;
    std::string problem = header.Read(record);
    if (problem.empty()) {
        for (const char* required : {"name", "date"}) {
            if (!header.Find(required)) {
                problem = std::string("в заголовке нет столбца «") + required + "»";
                break;
            }
        }
    }
    if (!problem.empty()) {
        report_.refused = problem;
        Note(record.line, ImportNoteKind::Skipped, problem);
        return report_;
    }
    reader.ExpectFields(header.Names().size());
    const BirthColumns columns(header);
    if (const auto unknown = columns.UnknownColumns(); !unknown.empty()) {
        std::string names;
        for (const std::string& name : unknown)
            names += (names.empty() ? "«" : ", «") + name + "»";
        Note(record.line, ImportNoteKind::Columns, "столбцы не используются: " + names);
    }

    BirthRow row;
    std::uint64_t line = record.line;
    try {
        while (reader.Next(record)) {
            line = record.line;
            header.CheckFieldCount(record);
            problem = record.error;
            if (problem.empty())
                problem = columns.Read(record, row);
            Person person;
            if (problem.empty()) {
                person = PersonOfRow(row);
                problem = PersonFault(person);
            }
            if (!problem.empty()) {
                ++report_.skipped;
                Note(line, ImportNoteKind::Skipped, problem);
                continue;
            }
            Take(line, person);
        }
        Commit();
    } catch (const PersonFileError& e) {
        group_.reset(); // rolls the group in progress back
        throw PersonFileError(
            e.Problem(), "Импорт остановлен на строке " + std::to_string(line) + ": " + e.what() +
                             " Добавлено до этого: " + std::to_string(report_.added) +
                             ", заменено: " + std::to_string(report_.replaced) + ".");
    }
    return report_;
}

} // namespace

ImportReport ImportPeople(PersonFile& file, std::istream& in, OnConflict onConflict,
                          const ConflictQuestion& ask, const ImportNoteSink& note) {
    return Import(file, onConflict, ask, note).Run(in);
}

} // namespace toravel
