// Import and export of the person file as a birth CSV: what goes out comes
// back unchanged, every line not taken is reported with its reason, and no
// saved person is replaced unless the caller says so.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "people/person_export.h"
#include "people/person_import.h"
#include "person_file_fixture.h"
#include "platform/utf8_text.h"

namespace toravel {
namespace {

using testing::FileBytes;
using testing::SamplePerson;
using testing::TemporaryFolder;

struct Imported {
    ImportReport report;
    std::vector<std::string> notes; // "line: message"
};

Imported Import(PersonFile& file, const std::string& csv, OnConflict onConflict = OnConflict::Skip,
                const ConflictQuestion& ask = {}) {
    std::istringstream in(csv);
    Imported result;
    result.report = ImportPeople(file, in, onConflict, ask, [&](const ImportNote& note) {
        result.notes.push_back(std::to_string(note.line) + ": " + note.message);
    });
    return result;
}

// Text of random code points from every plane, no control characters (a
// name refuses them; a note keeps them, and gets some of its own).
std::string RandomText(std::mt19937& random, std::size_t length) {
    static const std::vector<std::string> awkward = {
        "\"", ";", ",", "'", " ", "\\", "\u00A0", "\u200B", "\u202E", "\u0301", "😀", "𝄞"};
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        if (random() % 4 == 0) {
            text += awkward[random() % awkward.size()];
            continue;
        }
        char32_t c;
        do {
            c = static_cast<char32_t>(random() % 0x110000);
        } while ((c >= 0xD800 && c <= 0xDFFF) || c < 0x20 || (c >= 0x7F && c <= 0x9F));
        AppendUtf8(text, c);
    }
    return text;
}

TEST(PersonCsv, AnyUnicodeQuotesAndSemicolonsSurviveExportAndImport) {
    std::mt19937 random(2026);
    PersonFile source = PersonFile::InMemory();
    std::vector<Person> people;
    const auto add = [&](Person p) {
        ASSERT_EQ(source.Save(p, OnConflict::Skip), SaveOutcome::Added) << p.name;
        people.push_back(p);
    };
    Person longest = SamplePerson(RandomText(random, MaxNameCharacters));
    longest.note = RandomText(random, 10'000) + "\r\n\t" + RandomText(random, 10);
    longest.place = RandomText(random, MaxPlaceCharacters);
    add(longest);
    Person quotes = SamplePerson("\"Анна\"; Петровна, \"младшая\"");
    quotes.note = "a;b;c\n\"\"\n;\r\n,";
    quotes.time = "07:05:09";
    quotes.latitude = -89.999999999999;
    quotes.longitude = 1e-9;
    quotes.utcOffset = "-03:30";
    quotes.zoneName.clear();
    quotes.zoneHours.reset();
    quotes.sex = Sex::Male;
    quotes.lunarDay = -5;
    add(quotes);
    Person bare;
    bare.name = " padded name ";
    bare.date = "01.01.0002";
    bare.note = " ";
    add(bare);
    for (int i = 0; i < 50; ++i) {
        Person p = SamplePerson(RandomText(random, 1 + random() % 40));
        p.note = RandomText(random, random() % 200);
        p.lunarDay = 1 + static_cast<int>(random() % 30);
        add(p);
    }

    std::ostringstream out;
    EXPECT_EQ(ExportPeople(source, out), people.size());
    PersonFile target = PersonFile::InMemory();
    const auto imported = Import(target, out.str());
    EXPECT_EQ(imported.report.added, people.size());
    EXPECT_TRUE(imported.notes.empty()) << imported.notes.front();
    for (const Person& p : people) {
        auto back = target.Find(p.name);
        ASSERT_TRUE(back) << p.name.substr(0, 40);
        back->created = p.created;
        back->changed = p.changed;
        EXPECT_EQ(*back, p) << p.name.substr(0, 40);
    }
    // And the second export is the first, byte for byte.
    std::ostringstream again;
    ExportPeople(target, again);
    EXPECT_EQ(again.str(), out.str());
}

TEST(PersonCsv, EveryLineNotTakenIsReportedWithItsReason) {
    PersonFile file = PersonFile::InMemory();
    const std::string csv = "name,date,time,latitude,longitude,comment\r\n" // line 1
                            "Анна,17.05.1990,14:30,55.75,37.62,ok\r\n"      // 2
                            "Борис,31.02.1990,,,,\r\n"                      // 3
                            "Вера,1990-05-17\r\n"                           // 4
                            "\"Галина\nГеннадьевна\",17.05.1990,,,,\r\n"    // 5–6
                            "Дмитрий,17.05.1990,25:00,,,\r\n"               // 7
                            "\"Евгений\",17.05.1990,,55,75,37.62,\r\n"      // 8
                            "анна,18.05.1990,,,,\r\n"                       // 9
                            ",17.05.1990,,,,\r\n" +                         // 10
                            std::string("Жанна\0,17.05.1990,,,,\r\n", 28) + // 11
                            "\xC7\xE8\xED\xE0,17.05.1990,,,,\r\n"           // 12
                            "Зоя,\"17.05.1990,,,,\r\n"                      // 13
                            "Игорь,17.05.1990,,,,\r\n";                     // 14
    const auto imported = Import(file, csv);
    EXPECT_EQ(imported.report.added, 2u) << "Игорь, after the quote left open, too";
    EXPECT_EQ(imported.report.skipped, 10u);
    EXPECT_EQ(imported.notes, (std::vector<std::string>{
                                  "1: столбцы не используются: «comment»",
                                  "3: столбец «date»: «31.02.1990» — такой даты нет",
                                  "4: не хватает полей: 2 вместо 6, как в заголовке",
                                  "5: Имя содержит управляющий символ (перевод строки, табуляцию)",
                                  "7: столбец «time»: «25:00» — такого времени нет",
                                  "8: лишние поля: 7 вместо 6, как в заголовке",
                                  "9: «анна» уже есть в картотеке — строка пропущена",
                                  "10: Нужно имя",
                                  "11: нулевой байт (NUL) в строке 11",
                                  "12: поле 1 не в кодировке UTF-8",
                                  "13: кавычка, открытая в строке 13, не закрыта до конца файла",
                              }));
    EXPECT_EQ(file.Count(), 2u);
    EXPECT_EQ(file.Find("Анна")->date, "17.05.1990");
    EXPECT_TRUE(file.Find("Игорь"));
}

TEST(PersonCsv, SavedPeopleAreReplacedOnlyWhenTheCallerSaysSo) {
    const std::string csv = "date,name,note\n01.02.2003,Анна,из файла\n01.02.2003,Борис,новый\n";
    const auto fileWithAnna = [] {
        PersonFile file = PersonFile::InMemory();
        file.Save(SamplePerson("анна"), OnConflict::Skip);
        return file;
    };

    PersonFile skip = fileWithAnna();
    auto imported = Import(skip, csv, OnConflict::Skip);
    EXPECT_EQ(imported.report.added, 1u);
    EXPECT_EQ(imported.report.skipped, 1u);
    EXPECT_EQ(skip.Find("Анна")->note, "заметка");

    PersonFile replace = fileWithAnna();
    imported = Import(replace, csv, OnConflict::Replace);
    EXPECT_EQ(imported.report.replaced, 1u);
    EXPECT_EQ(imported.notes, std::vector<std::string>{"2: «Анна» заменён(а) из файла"});
    EXPECT_EQ(replace.Find("Анна")->note, "из файла");

    for (const bool answer : {false, true}) {
        PersonFile ask = fileWithAnna();
        std::vector<std::string> asked;
        imported = Import(ask, csv, OnConflict::Ask,
                          [&](const Person& saved, const Person& incoming, std::uint64_t line) {
                              asked.push_back(std::to_string(line) + " " + saved.name + " → " +
                                              incoming.name + " " + incoming.note);
                              return answer;
                          });
        EXPECT_EQ(asked, std::vector<std::string>{"2 анна → Анна из файла"});
        EXPECT_EQ(ask.Find("Анна")->note, answer ? "из файла" : "заметка");
        EXPECT_EQ(imported.report.added, 1u);
        EXPECT_EQ(imported.report.replaced + imported.report.skipped, 1u);
    }
}

TEST(PersonCsv, FilesWithoutPeopleAreRefusedAsAWhole) {
    PersonFile file = PersonFile::InMemory();
    EXPECT_EQ(Import(file, "").report.refused, "файл пуст: нет строки заголовка");
    EXPECT_EQ(Import(file, "\r\n\r\n").report.refused, "файл пуст: нет строки заголовка");
    EXPECT_EQ(Import(file, "name,time\nАнна,12:00\n").report.refused,
              "в заголовке нет столбца «date»");
    EXPECT_EQ(Import(file, "name,date,Name\n").report.refused,
              "заголовок: столбец «Name» назван дважды");
    const auto headerOnly = Import(file, "name,date\n");
    EXPECT_EQ(headerOnly.report.refused, "");
    EXPECT_EQ(headerOnly.report.added, 0u);
    EXPECT_EQ(file.Count(), 0u);
}

TEST(PersonCsv, ExportToAFileReplacesItWholeAndNeverThePersonFile) {
    TemporaryFolder folder;
    PersonFile file(folder / "people.sqlite");
    file.Save(SamplePerson("Анна"), OnConflict::Skip);
    const auto target = folder / "люди.csv";
    testing::WriteBytes(target, "old contents that are longer than the export will be......");
    EXPECT_EQ(ExportPeopleToFile(file, target), 1u);
    EXPECT_EQ(FileBytes(target), "name,date,time,place,latitude,longitude,utc_offset,zone_name,"
                                 "zone,sex,lunar_day,note\r\n"
                                 "Анна,17.05.1990,14:30,Москва,55.75,37.62,+04:00,Europe/Moscow,"
                                 "3,female,,заметка\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "left behind";

    const std::string before = FileBytes(folder / "people.sqlite");
    try {
        ExportPeopleToFile(file, folder.Path() / "." / "people.sqlite");
        ADD_FAILURE() << "exported over the person file";
    } catch (const PersonFileError& e) {
        EXPECT_NE(std::string(e.what()).find("поверх самой картотеки"), std::string::npos);
    }
    EXPECT_EQ(FileBytes(folder / "people.sqlite"), before);
    EXPECT_EQ(file.Count(), 1u);
}

} // namespace
} // namespace toravel
