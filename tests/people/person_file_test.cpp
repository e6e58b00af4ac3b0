// Saving, finding, listing and removing people, and the file's schema and
// its versions.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "people/person_file.h"
#include "people/person_schema.h"
#include "person_file_fixture.h"

namespace toravel {
namespace {

using testing::FileBytes;
using testing::SamplePerson;
using testing::TemporaryFolder;

std::vector<std::string> Names(const std::vector<PersonSummary>& list) {
    std::vector<std::string> names;
    for (const auto& s : list)
        names.push_back(s.name);
    return names;
}

TEST(PersonFile, IsCreatedWhereTheCallerSaysWithItsFolder) {
    TemporaryFolder folder;
    const auto path = folder / "data/toravel/people.sqlite";
    {
        PersonFile file(path);
        EXPECT_FALSE(file.ReadOnly());
        EXPECT_EQ(file.Count(), 0u);
        file.Save(SamplePerson("Анна"), OnConflict::Skip);
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    PersonFile again(path);
    EXPECT_EQ(again.Count(), 1u);
    EXPECT_THROW(PersonFile(""), PersonFileError) << "never a file SQLite picks";

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT (SELECT application_id FROM pragma_application_id), "
                       "(SELECT user_version FROM pragma_user_version), "
                       "(SELECT journal_mode FROM pragma_journal_mode)",
                       -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), PersonFileApplicationId);
    EXPECT_EQ(sqlite3_column_int(st, 1), PersonFileVersion);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)), "wal");
    sqlite3_finalize(st);
    sqlite3_close(db);
}

TEST(PersonFile, EveryFieldComesBackAsSaved) {
    PersonFile file = PersonFile::InMemory();
    Person p = SamplePerson("Иванова Анна Петровна");
    p.time = "14:30:15";
    p.lunarDay = 7;
    p.latitude = -33.868820000000001;
    p.longitude = 151.20929;
    p.lastResult = LastResult{7, "b", "c", "h", "Второму", "2026-12-09T10:00:00Z"};
    ASSERT_EQ(file.Save(p, OnConflict::Skip), SaveOutcome::Added);
    const auto back = file.Find("иванова анна петровна");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->created.size(), 20u) << back->created;
    EXPECT_EQ(back->changed, back->created);
    Person expected = p;
    expected.created = back->created;
    expected.changed = back->changed;
    EXPECT_EQ(*back, expected);

    Person bare;
    bare.name = "Борис";
    bare.date = "01.01.0002";
    ASSERT_EQ(file.Save(bare, OnConflict::Skip), SaveOutcome::Added);
    const auto boris = file.Find("Борис");
    ASSERT_TRUE(boris);
    EXPECT_FALSE(boris->latitude || boris->zoneHours || boris->lunarDay || boris->lastResult);
    EXPECT_EQ(boris->time, "00:00");
    EXPECT_EQ(boris->sex, Sex::Unknown);
}

TEST(PersonFile, NamesAreUniqueIgnoringCaseInEveryScript) {
    PersonFile file = PersonFile::InMemory();
    ASSERT_EQ(file.Save(SamplePerson("Ёлкина Алёна"), OnConflict::Skip), SaveOutcome::Added);
    for (const char* same : {"ЁЛКИНА АЛЁНА", "ёлкина алёна", " Ёлкина Алёна\u00A0"})
        EXPECT_EQ(file.Save(SamplePerson(same), OnConflict::Skip), SaveOutcome::Exists) << same;
    for (const char* other : {"Елкина Алена", "Ёлкина  Алёна", "Ёлкина-Алёна"})
        EXPECT_EQ(file.Save(SamplePerson(other), OnConflict::Skip), SaveOutcome::Added) << other;
    EXPECT_EQ(file.Save(SamplePerson("Straße"), OnConflict::Skip), SaveOutcome::Added);
    EXPECT_EQ(file.Save(SamplePerson("STRASSE"), OnConflict::Skip), SaveOutcome::Exists);
    EXPECT_EQ(file.Save(SamplePerson("Σίσυφος"), OnConflict::Skip), SaveOutcome::Added);
    EXPECT_EQ(file.Save(SamplePerson("ΣΊΣΥΦΟΣ"), OnConflict::Skip), SaveOutcome::Exists);
    EXPECT_EQ(file.Count(), 6u);
    // The name is kept as it was first written.
    EXPECT_EQ(file.Find("ёлкина алёна")->name, "Ёлкина Алёна");
}

TEST(PersonFile, ListIsSortedAsADictionaryAndFilteredAsYouType) {
    PersonFile file = PersonFile::InMemory();
    for (const char* name : {"Яковлев", "ёжиков", "Ежов", "Анна", "Alice", "Жуков", "Елена", "иван",
                             "Андрей", "Ёлкин"})
        file.Save(SamplePerson(name), OnConflict::Skip);
    EXPECT_EQ(Names(file.List()),
              (std::vector<std::string>{"Alice", "Андрей", "Анна", "ёжиков", "Ежов", "Елена",
                                        "Ёлкин", "Жуков", "иван", "Яковлев"}));
    EXPECT_EQ(Names(file.List("АН")), (std::vector<std::string>{"Андрей", "Анна", "иван"}));
    // ё and е are one letter to a search, as in the atlas search: «елкин»
    // did not find «Ёлкин».
    EXPECT_EQ(Names(file.List("ёж")), (std::vector<std::string>{"ёжиков", "Ежов"}));
    EXPECT_EQ(Names(file.List("елкин")), (std::vector<std::string>{"Ёлкин"}));
    EXPECT_EQ(Names(file.List("ЁЛК")), (std::vector<std::string>{"Ёлкин"}));
    EXPECT_EQ(Names(file.List("ов")),
              (std::vector<std::string>{"ёжиков", "Ежов", "Жуков", "Яковлев"}));
    EXPECT_TRUE(file.List("%").empty()) << "no pattern characters";
    EXPECT_TRUE(file.List("нет такого").empty());
    const auto anna = file.List("анна");
    ASSERT_EQ(anna.size(), 1u);
    EXPECT_EQ(anna[0].date, "17.05.1990");
    EXPECT_EQ(anna[0].time, "14:30");
    EXPECT_EQ(anna[0].place, "Москва");
}

TEST(PersonFile, ReplacingKeepsTheCreationMomentAndAStillValidResult) {
    PersonFile file = PersonFile::InMemory();
    Person p = SamplePerson("Анна");
    p.lastResult = LastResult{7, "b", "c", "h", "Второму", ""};
    file.Save(p, OnConflict::Skip);
    const Person first = *file.Find("Анна");
    EXPECT_EQ(first.lastResult->calculated, first.created) << "filled in when empty";

    Person noteOnly = SamplePerson("АННА");
    noteOnly.note = "другая заметка";
    EXPECT_EQ(file.Save(noteOnly, OnConflict::Skip), SaveOutcome::Exists);
    EXPECT_EQ(file.Find("Анна")->note, "заметка") << "Skip changes nothing";
    EXPECT_EQ(file.Save(noteOnly, OnConflict::Ask), SaveOutcome::Exists);
    EXPECT_EQ(file.Save(noteOnly, OnConflict::Replace), SaveOutcome::Replaced);
    const Person second = *file.Find("Анна");
    EXPECT_EQ(second.name, "АННА");
    EXPECT_EQ(second.note, "другая заметка");
    EXPECT_EQ(second.created, first.created);
    EXPECT_EQ(second.lastResult, first.lastResult) << "same inputs: the result still holds";

    Person otherTime = noteOnly;
    otherTime.time = "15:30";
    file.Save(otherTime, OnConflict::Replace);
    EXPECT_FALSE(file.Find("Анна")->lastResult) << "other inputs: the old result is dropped";
}

TEST(PersonFile, UpdateRenamesButNeverOntoAnotherPerson) {
    PersonFile file = PersonFile::InMemory();
    file.Save(SamplePerson("Анна"), OnConflict::Skip);
    file.Save(SamplePerson("Борис"), OnConflict::Skip);
    EXPECT_EQ(file.Update("Анна", SamplePerson("Борис")), SaveOutcome::Exists);
    EXPECT_EQ(file.Update("Вера", SamplePerson("Вера")), SaveOutcome::Missing);
    EXPECT_EQ(file.Update("анна", SamplePerson("Анна Петровна")), SaveOutcome::Replaced);
    EXPECT_EQ(Names(file.List()), (std::vector<std::string>{"Анна Петровна", "Борис"}));
    EXPECT_EQ(file.Update("Борис", SamplePerson("БОРИС")), SaveOutcome::Replaced)
        << "a change of case is the same person";
    EXPECT_EQ(file.Find("борис")->name, "БОРИС");
}

TEST(PersonFile, RemoveAndRecordResultByName) {
    PersonFile file = PersonFile::InMemory();
    file.Save(SamplePerson("Анна"), OnConflict::Skip);
    EXPECT_TRUE(file.RecordResult("АННА", LastResult{12, "c", "h", "b", "Первому", ""}));
    const auto result = file.Find("Анна")->lastResult;
    ASSERT_TRUE(result);
    EXPECT_EQ(result->lunarDay, 12);
    EXPECT_EQ(result->circle, "Первому");
    EXPECT_FALSE(result->calculated.empty());
    EXPECT_FALSE(file.RecordResult("Борис", LastResult{}));
    EXPECT_THROW(file.RecordResult("Анна", LastResult{1, "x", "", "", "", ""}), PersonFileError);
    EXPECT_FALSE(file.Remove("Борис"));
    EXPECT_TRUE(file.Remove("анна"));
    EXPECT_EQ(file.Count(), 0u);
}

TEST(PersonFile, PeopleWithAFaultAreRefusedWithTheReason) {
    PersonFile file = PersonFile::InMemory();
    struct Case {
        const char* what;
        std::function<void(Person&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {"no name", [](Person& p) { p.name = " \u00A0 "; }, "Нужно имя"},
        {"line break in the name", [](Person& p) { p.name = "Анна\nБорис"; },
         "Имя содержит управляющий символ (перевод строки, табуляцию)"},
        {"name too long", [](Person& p) { p.name = std::string(10'001, 'a'); },
         "Имя длиннее 10000 знаков"},
        {"invalid UTF-8", [](Person& p) { p.note = "\xFF"; }, "Заметка не в кодировке UTF-8"},
        {"no date", [](Person& p) { p.date.clear(); }, "Нужна дата рождения"},
        {"ISO date", [](Person& p) { p.date = "1990-05-17"; },
         "Дата рождения: нужна в виде ДД.ММ.ГГГГ"},
        {"no such date", [](Person& p) { p.date = "30.02.1990"; },
         "Дата рождения: «30.02.1990» — такой даты нет"},
        {"one coordinate", [](Person& p) { p.longitude.reset(); },
         "Нужны обе координаты места рождения или ни одной"},
        {"latitude off the Earth", [](Person& p) { p.latitude = 91; }, "Широта вне −90 … 90"},
        {"NaN longitude", [](Person& p) { p.longitude = std::nan(""); }, "Долгота вне −180 … 180"},
        {"offset", [](Person& p) { p.utcOffset = "+25:00"; },
         "Смещение от Гринвича: «+25:00» — смещение вне −14:00 … +14:00"},
        {"zone", [](Person& p) { p.zoneName = "Europe/Atlantis"; },
         "Часовой пояс: «Europe/Atlantis» — такого часового пояса нет в базе часовых поясов"},
        {"hours", [](Person& p) { p.zoneHours = 13; }, "Часы пояса вне -12 … 12"},
        {"lunar day", [](Person& p) { p.lunarDay = 100; },
         "Лунный день: целое число не длиннее двух знаков, кроме 0"},
    };
    for (const Case& c : cases) {
        Person p = SamplePerson("Анна");
        c.spoil(p);
        EXPECT_EQ(PersonFault(p), c.message) << c.what;
        try {
            file.Save(p, OnConflict::Replace);
            ADD_FAILURE() << c.what << ": saved";
        } catch (const PersonFileError& e) {
            EXPECT_EQ(e.Problem(), PersonFileProblem::InvalidPerson) << c.what;
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
    EXPECT_EQ(file.Count(), 0u);
}

TEST(PersonFile, AFileOfVersionOneOpensWithItsPeople) {
    // tests/people/data/people-v1.sql is the schema of version 1 with two
    // people, as the first version of the program wrote them. Every later
    // version must open it and keep them.
    TemporaryFolder folder;
    const auto path = folder / "people.sqlite";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string sql = FileBytes(std::string(TORAVEL_PEOPLE_TEST_DATA) + "/people-v1.sql");
    ASSERT_FALSE(sql.empty());
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);

    PersonFile file(path);
    EXPECT_EQ(Names(file.List()), (std::vector<std::string>{"Ёлкина Алёна", "Иванов Пётр"}));
    const auto elkina = file.Find("ЁЛКИНА АЛЁНА");
    ASSERT_TRUE(elkina);
    EXPECT_EQ(elkina->date, "29.02.1988");
    EXPECT_EQ(elkina->zoneName, "Asia/Yekaterinburg");
    EXPECT_EQ(elkina->note, "любит \"Мастера и Маргариту\"; звонить после 18:00");
    ASSERT_TRUE(elkina->lastResult);
    EXPECT_EQ(elkina->lastResult->periodWorld, "b");
    const auto ivanov = file.Find("иванов пётр");
    ASSERT_TRUE(ivanov);
    EXPECT_FALSE(ivanov->latitude);
    EXPECT_EQ(ivanov->lunarDay, 14);
}

} // namespace
} // namespace toravel
