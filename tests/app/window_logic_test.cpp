// What the person list and the month window compute without Qt: the main
// window's inputs as a person and back on computers in other zones, the
// month window's place and clock, and the texts of its table.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/birth_inputs.h"
#include "app/month_place.h"
#include "app/month_table.h"
#include "horoscope/calculation_command.h"
#include "platform/conversions.h"

namespace toravel {
namespace {

constexpr int Hour = 3600;

// Moscow as the city list gives it, a birth in summer 1990.
BirthInputs MoscowBirth() {
    BirthInputs in;
    in.date = "17.05.1990";
    in.time = "14:30:15";
    in.lunarDayText = "";
    in.zoneHours = 1;
    in.latitudeText = "55,7558";
    in.longitudeText = "37,6173";
    in.placeName = "Москва";
    in.zoneName = "Europe/Moscow";
    in.female = true;
    return in;
}

// ------------------------------------------------ inputs to a person

TEST(PersonOfInputs, KeepsTheClockTheCalculationRanOn) {
    const PersonOfInputsResult made = PersonOfInputs(MoscowBirth(), "Анна", 3 * Hour);
    ASSERT_TRUE(made.person) << made.problem;
    const Person& p = *made.person;
    EXPECT_EQ(p.name, "Анна");
    EXPECT_EQ(p.date, "17.05.1990");
    EXPECT_EQ(p.time, "14:30:15");
    EXPECT_EQ(p.latitude, 55.7558);
    EXPECT_EQ(p.longitude, 37.6173);
    EXPECT_EQ(p.place, "Москва");
    EXPECT_EQ(p.zoneName, "Europe/Moscow");
    EXPECT_EQ(p.zoneHours, 1);
    // Three hours of the computer and one of the box: UTC+4, Moscow's
    // summer time of 1990.
    EXPECT_EQ(p.utcOffset, "+04:00");
    EXPECT_EQ(p.sex, Sex::Female);
    EXPECT_FALSE(p.lunarDay);
    EXPECT_EQ(PersonFault(p), "");
}

TEST(PersonOfInputs, ReadsFieldsAsTheCalculationDoes) {
    struct Case {
        const char* name;
        const char* latitude;
        const char* longitude;
        const char* lunarDay;
        const char* problem; // empty: a person
    };
    const Case cases[] = {
        {"dot as separator", "55.75", " 37,62 ", "", ""},
        {"typed lunar day with a blank", "55,75", "37,62", " 7", ""},
        {"lunar day 0 asks for the computed one", "55,75", "37,62", "0", ""},
        {"no birthplace at all", "", "  ", "", ""},
        {"latitude missing", " ", "37,62", "", "нет данных о широте"},
        {"longitude missing", "55,75", "", "", "нет данных о долготе"},
        {"latitude no number", "abc", "37,62", "", "Широта «abc» — не число"},
        {"longitude beyond the range", "55,75", "181", "", "Долгота вне −180 … 180"},
        {"latitude NaN text", "nan", "37,62", "", "Широта «nan» — не число"},
        {"lunar day no number", "55,75", "37,62", "ab", "Лунный день «ab» — не число"},
    };
    for (const Case& c : cases) {
        BirthInputs in = MoscowBirth();
        in.latitudeText = c.latitude;
        in.longitudeText = c.longitude;
        in.lunarDayText = c.lunarDay;
        const PersonOfInputsResult made = PersonOfInputs(in, "Анна", 3 * Hour);
        EXPECT_EQ(made.problem, c.problem) << c.name;
        EXPECT_EQ(made.person.has_value(), std::string(c.problem).empty()) << c.name;
    }

    BirthInputs in = MoscowBirth();
    in.latitudeText = "55.75";
    in.lunarDayText = " 7";
    Person p = *PersonOfInputs(in, "Анна", 3 * Hour).person;
    EXPECT_EQ(p.latitude, 55.75);
    EXPECT_EQ(p.lunarDay, 7);
    in.lunarDayText = "0";
    EXPECT_FALSE(PersonOfInputs(in, "Анна", 3 * Hour).person->lunarDay);

    // Without coordinates the picked place's name and zone are not kept.
    in.latitudeText = in.longitudeText = "";
    p = *PersonOfInputs(in, "Анна", 3 * Hour).person;
    EXPECT_FALSE(p.latitude);
    EXPECT_EQ(p.place, "");
    EXPECT_EQ(p.zoneName, "");
    EXPECT_EQ(PersonFault(p), "");
}

TEST(PersonOfInputs, AZoneTheDatabaseDoesNotKnowIsDropped) {
    BirthInputs in = MoscowBirth();
    in.zoneName = "Europe/Mosow";
    const Person p = *PersonOfInputs(in, "Анна", 3 * Hour).person;
    EXPECT_EQ(p.zoneName, "");
    EXPECT_EQ(PersonFault(p), "");
}

TEST(PersonOfInputs, AClockBeyondFourteenHoursKeepsOnlyTheHours) {
    BirthInputs in = MoscowBirth();
    in.zoneHours = 12;
    const Person p = *PersonOfInputs(in, "Анна", 13 * Hour).person;
    EXPECT_EQ(p.utcOffset, "");
    EXPECT_EQ(p.zoneHours, 12);
    EXPECT_EQ(PersonFault(p), "");
}

// ------------------------------------------------ a person to inputs

TEST(InputsOfPerson, GivesBackTheInputsItWasSavedFrom) {
    for (const int computer : {3 * Hour, 0, -5 * Hour, 5 * Hour + 1800}) {
        BirthInputs in = MoscowBirth();
        in.lunarDayText = "12";
        in.latitudeText = "-33,8688";
        in.longitudeText = "151,2093";
        const Person saved = *PersonOfInputs(in, "Анна", computer).person;
        const InputsOfPersonResult opened = InputsOfPerson(saved, computer);
        EXPECT_EQ(opened.note, "") << computer;
        EXPECT_EQ(opened.inputs, in) << computer;
    }
}

TEST(InputsOfPerson, SetsTheHoursThatGiveThePersonsClockHere) {
    struct Case {
        const char* name;
        const char* utcOffset;
        int computer;
        int hours;
        bool noted;
    };
    const Case cases[] = {
        {"saved in Moscow, opened in Moscow", "+04:00", 3 * Hour, 1, false},
        {"opened at Greenwich", "+04:00", 0, 4, false},
        {"opened in New York", "+04:00", -5 * Hour, 9, false},
        {"half an hour left over rounds away from zero", "+05:30", 3 * Hour, 3, true},
        {"west, half an hour left over", "-03:30", 0, -4, true},
        {"beyond the box's range", "+14:00", -12 * Hour, 12, true},
    };
    for (const Case& c : cases) {
        Person p;
        p.name = "Анна";
        p.date = "17.05.1990";
        p.time = "14:30";
        p.latitude = 55.75;
        p.longitude = 37.62;
        p.utcOffset = c.utcOffset;
        p.zoneHours = 0;
        const InputsOfPersonResult opened = InputsOfPerson(p, c.computer);
        EXPECT_EQ(opened.inputs.zoneHours, c.hours) << c.name;
        EXPECT_EQ(!opened.note.empty(), c.noted) << c.name << ": " << opened.note;
    }

    Person p;
    p.date = "17.05.1990";
    p.utcOffset = "+05:30";
    const std::string note = InputsOfPerson(p, 3 * Hour).note;
    EXPECT_NE(note.find("UTC+5:30"), std::string::npos) << note;
    EXPECT_NE(note.find("UTC+3:00"), std::string::npos) << note;
    EXPECT_NE(note.find("UTC+6:00"), std::string::npos) << note;
}

TEST(InputsOfPerson, WithoutAKeptClockTakesTheZoneAtTheBirthMoment) {
    Person p;
    p.name = "Анна";
    p.time = "12:00";
    p.latitude = 55.75;
    p.longitude = 37.62;
    p.zoneName = "Europe/Moscow";
    p.zoneHours = 7; // hours of an unknown computer: not used
    p.date = "17.07.1990";
    EXPECT_EQ(InputsOfPerson(p, 3 * Hour).inputs.zoneHours, 1); // summer time, UTC+4
    p.date = "17.01.1990";
    EXPECT_EQ(InputsOfPerson(p, 3 * Hour).inputs.zoneHours, 0); // UTC+3
    p.zoneName.clear();
    EXPECT_EQ(InputsOfPerson(p, 3 * Hour).inputs.zoneHours, 7);
}

TEST(BirthInputTexts, OffsetsAndCoordinates) {
    EXPECT_EQ(PersonUtcOffsetText(4 * Hour), "+04:00");
    EXPECT_EQ(PersonUtcOffsetText(-(3 * Hour + 1800)), "-03:30");
    EXPECT_EQ(PersonUtcOffsetText(0), "+00:00");
    EXPECT_EQ(PersonUtcOffsetText(2 * Hour + 30 * 60 + 17), ""); // not whole minutes
    EXPECT_EQ(PersonUtcOffsetText(15 * Hour), "");
    EXPECT_EQ(PersonUtcOffsetSeconds("+04:00"), 4 * Hour);
    EXPECT_EQ(PersonUtcOffsetSeconds("-03:30"), -(3 * Hour + 1800));
    EXPECT_EQ(PersonUtcOffsetSeconds(""), std::nullopt);
    EXPECT_EQ(PersonUtcOffsetSeconds("+4:00"), std::nullopt);
    EXPECT_EQ(PersonUtcOffsetSeconds("+04:60"), std::nullopt);
    EXPECT_EQ(UtcOffsetLabel(5 * Hour + 1800), "UTC+5:30");
    EXPECT_EQ(UtcOffsetLabel(-5 * Hour), "UTC-5:00");
    EXPECT_EQ(UtcOffsetLabel(2 * Hour + 30 * 60 + 17), "UTC+2:30:17");
    EXPECT_EQ(CoordinateText(55.7558), "55,7558");
    EXPECT_EQ(CoordinateText(-0.1278), "-0,1278");
    EXPECT_EQ(CoordinateText(0.00001), "0,00001");
    EXPECT_EQ(CoordinateText(-30), "-30");
}

// ------------------------------------------------ the month window's place

TEST(ChooseMonthPlace, SaysWhatIsMissingAsTheCalculationDoes) {
    const AtlasAccess noAtlas;
    EXPECT_EQ(ChooseMonthPlace("", " ", std::nullopt, noAtlas, 0, 0).missing, NoPlaceMessage);
    EXPECT_EQ(ChooseMonthPlace("", "37,6", std::nullopt, noAtlas, 0, 0).missing, NoLatitudeMessage);
    EXPECT_EQ(ChooseMonthPlace("55,7", "", std::nullopt, noAtlas, 0, 0).missing,
              NoLongitudeMessage);
    EXPECT_FALSE(ChooseMonthPlace("", "", std::nullopt, noAtlas, 0, 0).place);
    EXPECT_THROW(ChooseMonthPlace("55,7x", "37,6", std::nullopt, noAtlas, 0, 0), ConversionError);
}

TEST(ChooseMonthPlace, ThePickedCitysZoneOrElseTheCalculationsClockHeldFixed) {
    const AtlasAccess noAtlas;
    const auto moscow = PickedPlaceOfCityLine("Москва;55°7558';37°6173';Europe/Moscow");
    ASSERT_TRUE(moscow);
    const MonthPlaceChoice picked =
        ChooseMonthPlace("55,7558", "37,6173", moscow, noAtlas, 0, 3 * Hour);
    ASSERT_TRUE(picked.place);
    EXPECT_EQ(picked.place->place.zoneName, "Europe/Moscow");
    EXPECT_EQ(picked.place->place.latitudeDegrees, 55.7558);
    EXPECT_EQ(picked.place->title, "Москва, часовой пояс Europe/Moscow");
    EXPECT_EQ(picked.place->name, "Москва");

    // Other coordinates than the city's, and no atlas to look them up in.
    const MonthPlaceChoice typed = ChooseMonthPlace("55,03", "82,92", moscow, noAtlas, 4, 3 * Hour);
    ASSERT_TRUE(typed.place);
    EXPECT_EQ(typed.place->place.zoneName, "");
    EXPECT_EQ(typed.place->place.fixedOffsetSeconds, 7 * Hour);
    EXPECT_NE(typed.place->title.find("постоянное смещение UTC+7:00 (разница в часах 4 и пояс "
                                      "компьютера UTC+3:00)"),
              std::string::npos)
        << typed.place->title;
    EXPECT_EQ(typed.place->name, "55,03 82,92");
}

// ------------------------------------------------ the month's table

ClockMoment At(int year, int month, int day, int hour, int minute, int offsetHours) {
    return {EncodeDateTime(year, month, day, hour, minute), offsetHours * Hour};
}

// Two days of December 2026 made up for the table: a day with a moonrise,
// and a day with a new moon, a moonrise and no database record.
MonthCalendar TwoDays() {
    MonthCalendar calendar;
    calendar.place = {55.75, 37.62, "Europe/Moscow", 0};
    calendar.month = {2026, 12};
    MonthCalendarDay first;
    first.lunar.date = EncodeDateTime(2026, 12, 1);
    first.lunar.lunarDayAtStart = 22;
    first.lunar.beginnings = {
        {23, At(2026, 12, 1, 23, 5, 3), LunarDayBeginningKind::Moonrise, false}};
    first.lunar.noonOffsetSeconds = 3 * Hour;
    first.recordFound = true;
    first.dayWorld = "b";
    first.circle = "Ясный";
    first.lunarDays = {{22, "c", "c"}, {23, "c", "c"}};
    MonthCalendarDay second;
    second.lunar.date = EncodeDateTime(2026, 12, 5);
    second.lunar.lunarDayAtStart = 29;
    second.lunar.beginnings = {
        {1, At(2026, 12, 5, 2, 4, 2), LunarDayBeginningKind::NewMoon, true},
        {2, At(2026, 12, 5, 9, 41, 3), LunarDayBeginningKind::Moonrise, true}};
    second.lunar.fullMoon = At(2026, 12, 5, 20, 0, 3);
    second.lunar.noonOffsetSeconds = 3 * Hour;
    second.recordFound = false;
    second.lunarDays = {{29, "b", ""}, {1, "c", ""}, {2, "b", ""}};
    MonthCalendarDay third;
    third.lunar.date = EncodeDateTime(2026, 12, 6);
    third.lunar.lunarDayAtStart = 2;
    third.lunar.noMoonrise = true;
    third.lunar.noonOffsetSeconds = 3 * Hour;
    third.recordFound = true;
    third.dayWorld = "h";
    third.circle = "";
    third.lunarDays = {{2, "b", "b"}};
    calendar.days = {first, second, third};
    return calendar;
}

TEST(MonthTable, EachDayWithItsLunarDaysAndWorldsInFull) {
    const MonthTable table = MakeMonthTable(TwoDays(), std::nullopt);
    EXPECT_EQ(table.title, "Декабрь 2026");
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_FALSE(table.todayRow);
    EXPECT_EQ(table.now, "");

    // The cells are the command line's and the page's texts.
    EXPECT_EQ(table.rows[0].cells, MonthTableRow(TwoDays().days[0]));
    EXPECT_EQ(table.rows[0].details,
              "с начала суток — 22-й лунный день: мир лунного дня Явь, мир периода Явь\n"
              "с 23:05 (восход Луны) — 23-й лунный день: мир лунного дня Явь, мир периода Явь\n"
              "мир дня Правь, круг Ясный"); // a circle the page names as the database does
    EXPECT_FALSE(table.rows[0].weekend);    // 1 December 2026 is a Tuesday

    // A new moon on the clock of before a change names that clock.
    EXPECT_TRUE(table.rows[1].weekend);
    EXPECT_EQ(table.rows[1].details,
              "с начала суток — 29-й лунный день: мир лунного дня Правь, мир периода —\n"
              "с 02:04 UTC+2:00 (новолуние) — 1-й лунный день: мир лунного дня Явь, мир "
              "периода —\n"
              "с 09:41 (восход Луны) — 2-й лунный день: мир лунного дня Правь, мир периода —\n"
              "полнолуние 20:00\n"
              "в базе нет записи этого дня: мир дня и круг неизвестны");
    EXPECT_TRUE(table.rows[2].weekend);
    EXPECT_EQ(table.rows[2].details,
              "с начала суток — 2-й лунный день: мир лунного дня Правь, мир периода Правь\n"
              "Луна в этот день не восходит\n"
              "мир дня Навь, круг —");
}

TEST(MonthTable, TodayAndTheLunarDayInForceNow) {
    // At the minute of a later moonrise the old lunar day is still in force.
    MonthTable table = MakeMonthTable(TwoDays(), At(2026, 12, 1, 23, 5, 3));
    ASSERT_TRUE(table.todayRow);
    EXPECT_EQ(*table.todayRow, 0u);
    EXPECT_TRUE(table.rows[0].today);
    EXPECT_FALSE(table.rows[1].today);
    EXPECT_EQ(table.now, "Сейчас 01.12.2026 23:05 по часам места — 22-й лунный день, мир "
                         "периода Явь");
    table = MakeMonthTable(TwoDays(), At(2026, 12, 1, 23, 6, 3));
    EXPECT_EQ(table.now, "Сейчас 01.12.2026 23:06 по часам места — 23-й лунный день, мир "
                         "периода Явь");
    // A new moon is in force from its own minute.
    table = MakeMonthTable(TwoDays(), At(2026, 12, 5, 2, 4, 2));
    EXPECT_EQ(*table.todayRow, 1u);
    EXPECT_EQ(table.now, "Сейчас 05.12.2026 02:04 по часам места — 1-й лунный день");
    // A day not in the month.
    table = MakeMonthTable(TwoDays(), At(2026, 11, 30, 12, 0, 3));
    EXPECT_FALSE(table.todayRow);
    EXPECT_EQ(table.now, "");
}

TEST(MonthTable, NowIsTheDateOnThePlacesClock) {
    // 21:30:30 UTC on 10 December 2026 is already the 11th in Moscow.
    const std::int64_t second =
        static_cast<std::int64_t>(EncodeDateTime(2026, 12, 10)) * 86400 + 21 * Hour + 30 * 60 + 30;
    const ClockMoment moscow = PlaceNow({55.75, 37.62, "Europe/Moscow", 0}, second);
    EXPECT_EQ(moscow.local, EncodeDateTime(2026, 12, 11, 0, 30));
    EXPECT_EQ(moscow.offsetSeconds, 3 * Hour);
    const ClockMoment fixed = PlaceNow({55.75, 37.62, "", -5 * Hour}, second);
    EXPECT_EQ(fixed.local, EncodeDateTime(2026, 12, 10, 16, 30));
    // Summer time in New York.
    const std::int64_t july =
        static_cast<std::int64_t>(EncodeDateTime(2026, 7, 1)) * 86400 + 12 * Hour;
    EXPECT_EQ(PlaceNow({40.7, -74.0, "America/New_York", 0}, july).offsetSeconds, -4 * Hour);
}

TEST(MonthTable, NamesOfMonths) {
    EXPECT_EQ(MonthTitle({2026, 1}), "Январь 2026");
    EXPECT_EQ(MonthTitle({9998, 12}), "Декабрь 9998");
}

} // namespace
} // namespace toravel
