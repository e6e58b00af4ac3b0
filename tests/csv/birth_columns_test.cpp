// The birth columns: each value's accepted forms, the form it is read
// into, and the message for what is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "csv/birth_columns.h"

namespace toravel {
namespace {

// Runs a reader over one cell: the value's usual form, or "!" and the fault.
template <typename Reader, typename Value>
std::string Outcome(Reader reader, std::string_view cell) {
    Value value{};
    const std::string problem = reader(cell, value);
    if (!problem.empty())
        return "!" + problem;
    if constexpr (std::is_same_v<Value, std::string>)
        return value;
    else if constexpr (std::is_same_v<Value, std::optional<int>>)
        return value ? std::to_string(*value) : "(none)";
    else
        return std::string(SexText(value));
}

struct Row {
    const char* cell;
    const char* expected; // the usual form, or "!" and the fault
};

template <typename Value, typename Reader>
void CheckRows(const char* what, Reader reader, std::initializer_list<Row> rows) {
    for (const Row& row : rows)
        EXPECT_EQ((Outcome<Reader, Value>(reader, row.cell)), row.expected)
            << what << " «" << row.cell << "»";
}

TEST(BirthColumns, DatesInBothFormsBecomeTheWindowsForm) {
    CheckRows<std::string>("date", ReadBirthDate,
                           {{"17.05.1990", "17.05.1990"},
                            {"1.5.1990", "01.05.1990"},
                            {" 1990-05-17 ", "17.05.1990"},
                            {"29.02.2000", "29.02.2000"},
                            {"04.10.1582", "04.10.1582"},
                            {"15.10.1582", "15.10.1582"},
                            {"01.01.0002", "01.01.0002"},
                            {"29.02.1900", "!«29.02.1900» — такой даты нет"},
                            {"10.10.1582", "!«10.10.1582» — такой даты нет"},
                            {"31.12.0001", "!«31.12.0001» — год вне 2 … 9998"},
                            {"01.01.9999", "!«01.01.9999» — год вне 2 … 9998"},
                            {"17.05.90", "!«17.05.90» — нужна дата ДД.ММ.ГГГГ или ГГГГ-ММ-ДД"},
                            {"1990-5-17", "!«1990-5-17» — нужна дата ДД.ММ.ГГГГ или ГГГГ-ММ-ДД"},
                            {"17/05/1990", "!«17/05/1990» — нужна дата ДД.ММ.ГГГГ или ГГГГ-ММ-ДД"},
                            {"", "!«» — нужна дата ДД.ММ.ГГГГ или ГГГГ-ММ-ДД"}});
}

TEST(BirthColumns, TimesToTheSecondOrTheMinute) {
    CheckRows<std::string>("time", ReadBirthTime,
                           {{"14:30", "14:30"},
                            {"7:05", "07:05"},
                            {"23:59:59", "23:59:59"},
                            {"", "00:00"},
                            {"24:00", "!«24:00» — такого времени нет"},
                            {"12:60", "!«12:60» — такого времени нет"},
                            {"12:5", "!«12:5» — нужно время ЧЧ:ММ или ЧЧ:ММ:СС"},
                            {"12:30:5", "!«12:30:5» — нужно время ЧЧ:ММ или ЧЧ:ММ:СС"},
                            {"12.30", "!«12.30» — нужно время ЧЧ:ММ или ЧЧ:ММ:СС"}});
}

TEST(BirthColumns, DegreesArePlainDecimalsOnTheEarth) {
    const auto degrees = [](std::string_view cell, double& value) {
        return ReadDegrees(cell, 90, value);
    };
    struct Case {
        const char* cell;
        double value;
        const char* fault;
    };
    const Case cases[] = {
        {"55.75", 55.75, ""},
        {"-0.1278", -0.1278, ""},
        {"+37", 37, ""},
        {".5", 0.5, ""},
        {"90", 90, ""},
        {"55,75", 0, "«55,75» — нужна десятичная точка, не запятая"},
        {"90.0000001", 0, "«90.0000001» — широта вне −90 … 90"},
        {"1e3", 0, "«1e3» — нужно число градусов с точкой (55.75)"},
        {"nan", 0, "«nan» — нужно число градусов с точкой (55.75)"},
        {"inf", 0, "«inf» — нужно число градусов с точкой (55.75)"},
        {"0x10", 0, "«0x10» — нужно число градусов с точкой (55.75)"},
        {"-", 0, "«-» — нужно число градусов с точкой (55.75)"},
        {"+-5", 0, "«+-5» — нужно число градусов с точкой (55.75)"},
        {"55°45'", 0, "«55°45'» — нужно число градусов с точкой (55.75)"},
    };
    for (const Case& c : cases) {
        double value = 0;
        EXPECT_EQ(degrees(c.cell, value), c.fault) << c.cell;
        if (*c.fault == '\0') {
            EXPECT_EQ(value, c.value) << c.cell;
        }
    }
    double longitude = 0;
    EXPECT_EQ(ReadDegrees("-180", 180, longitude), "");
    EXPECT_EQ(ReadDegrees("180.5", 180, longitude), "«180.5» — долгота вне −180 … 180");
}

TEST(BirthColumns, DegreesAreWrittenWithThePointAndReadBackExactly) {
    for (const double value : {55.75, -0.1278, 1e-7, 89.99999999999999, -180.0, 0.1 + 0.2}) {
        const std::string text = DegreesText(value);
        EXPECT_EQ(text.find_first_of("e,"), std::string::npos) << text;
        double back = 0;
        ASSERT_EQ(ReadDegrees(text, 180, back), "") << text;
        EXPECT_EQ(back, value) << text;
    }
    EXPECT_EQ(DegreesText(55.75), "55.75");
}

TEST(BirthColumns, OffsetsZonesSexAndTheLunarDay) {
    CheckRows<std::string>("utc_offset", ReadUtcOffset,
                           {{"+03:00", "+03:00"},
                            {"-05:30", "-05:30"},
                            {"+14:00", "+14:00"},
                            {"", ""},
                            {"+25:00", "!«+25:00» — смещение вне −14:00 … +14:00"},
                            {"+14:01", "!«+14:01» — смещение вне −14:00 … +14:00"},
                            {"+03:60", "!«+03:60» — смещение вне −14:00 … +14:00"},
                            {"03:00", "!«03:00» — нужно смещение ±ЧЧ:ММ (+03:00)"},
                            {"+3:00", "!«+3:00» — нужно смещение ±ЧЧ:ММ (+03:00)"},
                            {"+0300", "!«+0300» — нужно смещение ±ЧЧ:ММ (+03:00)"}});
    CheckRows<std::string>(
        "zone_name", ReadZoneName,
        {{"Europe/Moscow", "Europe/Moscow"},
         {" Asia/Kolkata ", "Asia/Kolkata"},
         {"", ""},
         {"Mars/Olympus", "!«Mars/Olympus» — такого часового пояса нет в базе часовых поясов"},
         {"../etc/passwd", "!«../etc/passwd» — такого часового пояса нет в базе часовых поясов"}});
    CheckRows<std::optional<int>>("zone", ReadZoneHours,
                                  {{"3", "3"},
                                   {"-12", "-12"},
                                   {"+12", "12"},
                                   {"", "(none)"},
                                   {"13", "!«13» — нужны целые часы от -12 до 12"},
                                   {"1.5", "!«1.5» — нужны целые часы от -12 до 12"},
                                   {"+-1", "!«+-1» — нужны целые часы от -12 до 12"}});
    CheckRows<BirthSex>("sex", ReadSex,
                        {{"male", "male"},
                         {"Ж", "female"},
                         {"мужской", "male"},
                         {"", ""},
                         {"X", "!«X» — нужно male или female"}});
    CheckRows<std::optional<int>>(
        "lunar_day", ReadLunarDay,
        {{"7", "7"},
         {"07", "7"},
         {" 30 ", "30"},
         {"-5", "-5"},
         {"99", "99"},
         {"0", "(none)"},
         {"", "(none)"},
         {"100", "!«100» — нужен лунный день, целое число не длиннее двух знаков"},
         {"ab", "!«ab» — нужен лунный день, целое число не длиннее двух знаков"}});
}

TEST(BirthColumns, LongValuesAreQuotedShortInMessages) {
    std::string date;
    const std::string problem = ReadBirthDate(std::string(100000, 'z') + "ё", date);
    EXPECT_LT(problem.size(), 200u);
    EXPECT_NE(problem.find("…»"), std::string::npos);
    // A two-byte letter across the cut is left out whole.
    EXPECT_NE(ReadBirthDate(std::string(39, 'z') + "ёёё", date).find("zz…»"), std::string::npos);
    const std::string split = ReadBirthDate(std::string(38, 'z') + "ёёё", date);
    EXPECT_NE(split.find("zё…»"), std::string::npos) << split;
}

TEST(BirthColumns, RowsFromColumnsInAnyOrderWithUnknownOnesCarried) {
    std::istringstream in("id,longitude,Date,name,latitude,sex\r\n"
                          "7,37.62,1990-05-17,Анна,55.75,ж\r\n"
                          "8,37.62,17.05.1990,Борис,,male\r\n");
    CsvReader reader(in);
    CsvRecord record;
    CsvHeader header;
    ASSERT_TRUE(reader.Next(record));
    ASSERT_EQ(header.Read(record), "");
    const BirthColumns columns(header);
    EXPECT_EQ(columns.UnknownColumns(), std::vector<std::string>{"id"});
    EXPECT_TRUE(columns.Has("latitude"));
    EXPECT_FALSE(columns.Has("place"));

    BirthRow row;
    ASSERT_TRUE(reader.Next(record));
    ASSERT_EQ(columns.Read(record, row), "");
    EXPECT_EQ(row.name, "Анна");
    EXPECT_EQ(row.date, "17.05.1990");
    EXPECT_EQ(row.time, "00:00");
    EXPECT_EQ(row.latitude, 55.75);
    EXPECT_EQ(row.longitude, 37.62);
    EXPECT_EQ(row.sex, BirthSex::Female);
    ASSERT_EQ(row.extra.size(), 1u);
    EXPECT_EQ(row.extra[0], (std::pair<std::string, std::string>{"id", "7"}));

    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(columns.Read(record, row), "столбец «latitude»: нет широты при заданной долготе");
}

} // namespace
} // namespace toravel
