#include "csv/birth_columns.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "place/birthplace_zone.h"
#include "platform/ascii_text.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

// Indices into BirthColumnNames().
enum Column {
    Name,
    Date,
    Time,
    Place,
    Latitude,
    Longitude,
    UtcOffset,
    ZoneName,
    Zone,
    Sex,
    LunarDay,
    Note,
    ColumnCount
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number written by `count` digits at `at`; nothing when one is no digit.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

// A value as the message quotes it: cut short, so that a megabyte of junk
// does not become a megabyte of message.
std::string Quoted(std::string_view value) {
    constexpr std::size_t Shown = 40;
    std::size_t cut = std::min(value.size(), Shown);
    while (cut > 0 && cut < value.size() && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
        --cut; // never cut a character in two
    return "«" + std::string(value.substr(0, cut)) + (cut < value.size() ? "…" : "") + "»";
}

} // namespace

const std::vector<std::string_view>& BirthColumnNames() {
    static const std::vector<std::string_view> names = {
        "name",       "date",      "time", "place", "latitude",  "longitude",
        "utc_offset", "zone_name", "zone", "sex",   "lunar_day", "note"};
    return names;
}

BirthColumns::BirthColumns(const CsvHeader& header) : index_(ColumnCount) {
    for (std::size_t column = 0; column < ColumnCount; ++column)
        index_[column] = header.Find(BirthColumnNames()[column]);
    for (std::size_t i = 0; i < header.Names().size(); ++i) {
        bool known = false;
        for (const auto& index : index_)
            known = known || index == i;
        if (!known)
            unknown_.emplace_back(header.Names()[i], i);
    }
}

std::vector<std::string> BirthColumns::UnknownColumns() const {
    std::vector<std::string> names;
    for (const auto& [name, index] : unknown_)
        names.push_back(name);
    return names;
}

bool BirthColumns::Has(std::string_view name) const {
    for (std::size_t column = 0; column < ColumnCount; ++column) {
        if (BirthColumnNames()[column] == name)
            return index_[column].has_value();
    }
    return false;
}

std::string BirthColumns::Read(const CsvRecord& record, BirthRow& row) const {
    row = BirthRow{};
    const auto cell = [&](Column column) -> std::string_view {
        const auto& index = index_[column];
        return index && *index < record.fields.size() ? std::string_view(record.fields[*index])
                                                      : std::string_view();
    };
    const auto fault = [](Column column, const std::string& problem) {
        return "столбец «" + std::string(BirthColumnNames()[column]) + "»: " + problem;
    };

    row.name = cell(Name);
    row.place = cell(Place);
    row.note = cell(Note);
    std::string problem;
    if (!TrimSpacesAndTabs(cell(Date)).empty() &&
        !(problem = ReadBirthDate(cell(Date), row.date)).empty())
        return fault(Date, problem);
    if (!(problem = ReadBirthTime(cell(Time), row.time)).empty())
        return fault(Time, problem);
    for (const Column column : {Latitude, Longitude}) {
        if (TrimSpacesAndTabs(cell(column)).empty())
            continue;
        double degrees = 0;
        problem = ReadDegrees(cell(column), column == Latitude ? 90 : 180, degrees);
        if (!problem.empty())
            return fault(column, problem);
        (column == Latitude ? row.latitude : row.longitude) = degrees;
    }
    if (row.latitude.has_value() != row.longitude.has_value())
        return row.latitude ? fault(Longitude, "нет долготы при заданной широте")
                            : fault(Latitude, "нет широты при заданной долготе");
    if (!(problem = ReadUtcOffset(cell(UtcOffset), row.utcOffset)).empty())
        return fault(UtcOffset, problem);
    if (!(problem = ReadZoneName(cell(ZoneName), row.zoneName)).empty())
        return fault(ZoneName, problem);
    if (!(problem = ReadZoneHours(cell(Zone), row.zoneHours)).empty())
        return fault(Zone, problem);
    if (!(problem = ReadSex(cell(Sex), row.sex)).empty())
        return fault(Sex, problem);
    if (!(problem = ReadLunarDay(cell(LunarDay), row.lunarDay)).empty())
        return fault(LunarDay, problem);
    for (const auto& [name, index] : unknown_)
        row.extra.emplace_back(name, index < record.fields.size() ? record.fields[index] : "");
    return {};
}

std::vector<std::string> BirthRowFields(const BirthRow& row) {
    return {row.name,
            row.date,
            row.time,
            row.place,
            row.latitude ? DegreesText(*row.latitude) : "",
            row.longitude ? DegreesText(*row.longitude) : "",
            row.utcOffset,
            row.zoneName,
            row.zoneHours ? std::to_string(*row.zoneHours) : "",
            std::string(SexText(row.sex)),
            row.lunarDay ? std::to_string(*row.lunarDay) : "",
            row.note};
}

std::string ReadBirthDate(std::string_view cell, std::string& date) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    int year = 0, month = 0, day = 0;
    bool read = false;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        const auto y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
        if (y && m && d) {
            year = *y, month = *m, day = *d;
            read = true;
        }
    } else {
        // ДД.ММ.ГГГГ with one or two digits of day and month.
        const std::size_t dot1 = text.find('.');
        const std::size_t dot2 = dot1 == std::string_view::npos ? dot1 : text.find('.', dot1 + 1);
        if (dot2 != std::string_view::npos && (dot1 == 1 || dot1 == 2) &&
            (dot2 - dot1 == 2 || dot2 - dot1 == 3) && text.size() == dot2 + 5) {
            const auto d = Digits(text, 0, dot1), m = Digits(text, dot1 + 1, dot2 - dot1 - 1),
                       y = Digits(text, dot2 + 1, 4);
            if (y && m && d) {
                year = *y, month = *m, day = *d;
                read = true;
            }
        }
    }
    if (!read)
        return Quoted(cell) + " — нужна дата ДД.ММ.ГГГГ или ГГГГ-ММ-ДД";
    TDateTime unused = 0;
    if (!TryEncodeDateTime(year, month, day, 0, 0, 0, 0, unused))
        return Quoted(cell) + " — такой даты нет";
    if (year < 2 || year > 9998)
        return Quoted(cell) + " — год вне 2 … 9998";
    std::string y = std::to_string(year);
    date = TwoDigits(day) + "." + TwoDigits(month) + "." + std::string(4 - y.size(), '0') + y;
    return {};
}

std::string ReadBirthTime(std::string_view cell, std::string& time) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    if (text.empty()) {
        time = "00:00";
        return {};
    }
    const std::size_t colon = text.find(':');
    const bool shape =
        (colon == 1 || colon == 2) &&
        (text.size() == colon + 3 || (text.size() == colon + 6 && text[colon + 3] == ':'));
    const auto hour = shape ? Digits(text, 0, colon) : std::nullopt;
    const auto minute = shape ? Digits(text, colon + 1, 2) : std::nullopt;
    const auto second =
        text.size() == colon + 6 ? Digits(text, colon + 4, 2) : std::optional<int>(0);
    if (!hour || !minute || !second)
        return Quoted(cell) + " — нужно время ЧЧ:ММ или ЧЧ:ММ:СС";
    if (*hour > 23 || *minute > 59 || *second > 59)
        return Quoted(cell) + " — такого времени нет";
    time = TwoDigits(*hour) + ":" + TwoDigits(*minute);
    if (text.size() == colon + 6)
        time += ":" + TwoDigits(*second);
    return {};
}

std::string ReadDegrees(std::string_view cell, double limit, double& degrees) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    const std::string shape = Quoted(cell) + " — нужно число градусов с точкой (55.75)";
    // Plain decimals only: no exponent, no "inf" or "nan", no hexadecimal.
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    for (std::size_t i = sign; i < text.size(); ++i) {
        if (IsDigit(text[i]))
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else if (text[i] == ',' && !point)
            return Quoted(cell) + " — нужна десятичная точка, не запятая";
        else
            return shape;
    }
    if (digits == 0)
        return shape;
    // from_chars takes a minus sign but no plus sign.
    const std::size_t from = text[0] == '+' ? 1 : 0;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + from, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return shape;
    if (std::fabs(value) > limit)
        return Quoted(cell) +
               (limit == 90 ? " — широта вне −90 … 90" : " — долгота вне −180 … 180");
    degrees = value;
    return {};
}

std::string ReadUtcOffset(std::string_view cell, std::string& offset) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    offset.clear();
    if (text.empty())
        return {};
    const auto hours = text.size() == 6 ? Digits(text, 1, 2) : std::nullopt;
    const auto minutes = text.size() == 6 ? Digits(text, 4, 2) : std::nullopt;
    if ((text[0] != '+' && text[0] != '-') || !hours || text[3] != ':' || !minutes)
        return Quoted(cell) + " — нужно смещение ±ЧЧ:ММ (+03:00)";
    if (*minutes > 59 || *hours * 60 + *minutes > 14 * 60)
        return Quoted(cell) + " — смещение вне −14:00 … +14:00";
    offset = std::string(text);
    return {};
}

std::string ReadZoneName(std::string_view cell, std::string& zoneName) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    zoneName.clear();
    if (text.empty())
        return {};
    if (!IsKnownZoneName(text))
        return Quoted(cell) + " — такого часового пояса нет в базе часовых поясов";
    zoneName = std::string(text);
    return {};
}

std::string ReadZoneHours(std::string_view cell, std::optional<int>& hours) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    hours.reset();
    if (text.empty())
        return {};
    const std::size_t sign = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const std::size_t count = text.size() - sign;
    const auto value = count == 1 || count == 2 ? Digits(text, sign, count) : std::nullopt;
    if (!value || *value > 12)
        return Quoted(cell) + " — нужны целые часы от -12 до 12";
    hours = text[0] == '-' ? -*value : *value;
    return {};
}

std::string ReadSex(std::string_view cell, BirthSex& sex) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    sex = BirthSex::Unknown;
    if (text.empty())
        return {};
    static constexpr std::string_view Male[] = {
        "male", "Male", "MALE", "м", "М", "муж", "Муж", "МУЖ", "мужской", "Мужской", "МУЖСКОЙ"};
    static constexpr std::string_view Female[] = {"female",  "Female",  "FEMALE", "ж",
                                                  "Ж",       "жен",     "Жен",    "ЖЕН",
                                                  "женский", "Женский", "ЖЕНСКИЙ"};
    for (const std::string_view word : Male) {
        if (text == word) {
            sex = BirthSex::Male;
            return {};
        }
    }
    for (const std::string_view word : Female) {
        if (text == word) {
            sex = BirthSex::Female;
            return {};
        }
    }
    return Quoted(cell) + " — нужно male или female";
}

std::string ReadLunarDay(std::string_view cell, std::optional<int>& lunarDay) {
    const std::string_view text = TrimSpacesAndTabs(cell);
    lunarDay.reset();
    if (text.empty())
        return {};
    // What the window's two-character field can hold.
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.size() > 2 || error != std::errc() || end != text.data() + text.size())
        return Quoted(cell) + " — нужен лунный день, целое число не длиннее двух знаков";
    if (value != 0)
        lunarDay = value;
    return {};
}

std::string DegreesText(double degrees) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

std::string_view SexText(BirthSex sex) {
    switch (sex) {
    case BirthSex::Male:
        return "male";
    case BirthSex::Female:
        return "female";
    case BirthSex::Unknown:
        break;
    }
    return {};
}

} // namespace toravel
