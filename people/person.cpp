#include "people/person.h"

#include <cmath>

#include "people/name_key.h"
#include "platform/utf8_text.h"

namespace toravel {
namespace {

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Valid UTF-8 of at most `limit` code points, without NUL, and without any
// control character where `controls` is false.
std::string TextFault(std::string_view text, std::string_view what, std::size_t limit,
                      bool controls) {
    if (!IsValidUtf8(text))
        return std::string(what) + " не в кодировке UTF-8";
    if (CodePointCount(text) > limit)
        return std::string(what) + " длиннее " + std::to_string(limit) + " знаков";
    std::size_t at = 0;
    while (at < text.size()) {
        const char32_t c = *DecodeUtf8(text, at);
        if (c == 0)
            return std::string(what) + " содержит нулевой символ";
        if (!controls && IsControl(c))
            return std::string(what) + " содержит управляющий символ (перевод строки, табуляцию)";
    }
    return {};
}

// The value's fault as the column's reader finds it, or the empty text when
// the value is in its usual form already.
template <typename Reader, typename Value>
std::string FormFault(std::string_view what, const std::string& text, Reader reader, Value& value) {
    const std::string problem = reader(text, value);
    if (!problem.empty())
        return std::string(what) + ": " + problem;
    return {};
}

} // namespace

std::string PersonFault(const Person& p) {
    std::string problem;
    if (!(problem = TextFault(p.name, "Имя", MaxNameCharacters, false)).empty())
        return problem;
    if (NameKey(p.name).empty())
        return "Нужно имя";
    if (p.date.empty())
        return "Нужна дата рождения";
    std::string date, time, offset, zone;
    if (!(problem = FormFault("Дата рождения", p.date, ReadBirthDate, date)).empty())
        return problem;
    if (date != p.date)
        return "Дата рождения: нужна в виде ДД.ММ.ГГГГ";
    if (!(problem = FormFault("Время рождения", p.time, ReadBirthTime, time)).empty())
        return problem;
    if (time != p.time || p.time.empty())
        return "Время рождения: нужно в виде ЧЧ:ММ или ЧЧ:ММ:СС";
    if (!(problem = TextFault(p.place, "Место рождения", MaxPlaceCharacters, false)).empty())
        return problem;
    if (p.latitude.has_value() != p.longitude.has_value())
        return "Нужны обе координаты места рождения или ни одной";
    if (p.latitude && !(std::isfinite(*p.latitude) && std::fabs(*p.latitude) <= 90))
        return "Широта вне −90 … 90";
    if (p.longitude && !(std::isfinite(*p.longitude) && std::fabs(*p.longitude) <= 180))
        return "Долгота вне −180 … 180";
    if (!(problem = FormFault("Смещение от Гринвича", p.utcOffset, ReadUtcOffset, offset)).empty())
        return problem;
    if (offset != p.utcOffset)
        return "Смещение от Гринвича: нужно в виде ±ЧЧ:ММ";
    if (!(problem = FormFault("Часовой пояс", p.zoneName, ReadZoneName, zone)).empty())
        return problem;
    if (zone != p.zoneName)
        return "Часовой пояс: лишние пробелы вокруг названия";
    if (p.zoneHours && (*p.zoneHours < -12 || *p.zoneHours > 12))
        return "Часы пояса вне -12 … 12";
    if (p.lunarDay && (*p.lunarDay < -9 || *p.lunarDay > 99 || *p.lunarDay == 0))
        return "Лунный день: целое число не длиннее двух знаков, кроме 0";
    if (!(problem = TextFault(p.note, "Заметка", MaxNoteCharacters, true)).empty())
        return problem;
    if (p.lastResult) {
        const LastResult& r = *p.lastResult;
        for (const std::string* world : {&r.dayWorld, &r.lunarWorld, &r.periodWorld}) {
            if (!world->empty() && *world != "b" && *world != "c" && *world != "h")
                return "Последний расчёт: неизвестный мир «" + *world + "»";
        }
        if (!(problem = TextFault(r.circle, "Круг последнего расчёта", 100, false)).empty())
            return problem;
        if (!(problem = TextFault(r.calculated, "Момент последнего расчёта", 40, false)).empty())
            return problem;
    }
    return {};
}

bool SameCalculationInputs(const Person& a, const Person& b) {
    return a.date == b.date && a.time == b.time && a.place == b.place && a.latitude == b.latitude &&
           a.longitude == b.longitude && a.zoneName == b.zoneName && a.utcOffset == b.utcOffset &&
           a.zoneHours == b.zoneHours && a.lunarDay == b.lunarDay;
}

namespace {

// The fields a person and a CSV row both have, copied one way or the other.
template <typename From, typename To> void CopyBirthFields(const From& from, To& to) {
    to.name = from.name;
    to.date = from.date;
    to.time = from.time;
    to.place = from.place;
    to.latitude = from.latitude;
    to.longitude = from.longitude;
    to.zoneName = from.zoneName;
    to.utcOffset = from.utcOffset;
    to.zoneHours = from.zoneHours;
    to.sex = from.sex;
    to.lunarDay = from.lunarDay;
    to.note = from.note;
}

} // namespace

Person PersonOfRow(const BirthRow& row) {
    Person person;
    CopyBirthFields(row, person);
    return person;
}

BirthRow RowOfPerson(const Person& person) {
    BirthRow row;
    CopyBirthFields(person, row);
    return row;
}

} // namespace toravel
