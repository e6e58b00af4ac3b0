#include "web/core/calendar_days.h"

#include <nlohmann/json.hpp>

namespace toravel::web {

std::string CalendarDays::Load(std::string_view json) {
    const nlohmann::json days = nlohmann::json::parse(json, nullptr, false);
    if (!days.is_array())
        return "календарь дней не прочитан";
    decltype(days_) loaded{};
    for (const nlohmann::json& record : days) {
        if (!record.is_object() || !record.contains("month") || !record.contains("day") ||
            !record["month"].is_number_integer() || !record["day"].is_number_integer() ||
            !record.value("world", nlohmann::json()).is_string() ||
            !record.value("circle", nlohmann::json()).is_string())
            return "календарь дней не прочитан";
        const int month = record["month"].get<int>();
        const int day = record["day"].get<int>();
        if (month < 1 || month > 12 || day < 1 || day > 31)
            return "календарь дней не прочитан";
        loaded[static_cast<std::size_t>(month)][static_cast<std::size_t>(day)] = CalendarDayRecord{
            record["world"].get<std::string>(), record["circle"].get<std::string>()};
    }
    days_ = std::move(loaded);
    loaded_ = true;
    return {};
}

std::optional<CalendarDayRecord> CalendarDays::FindCalendarDay(int month, int day) {
    // As the desktop's database that cannot be read: the calculation ends
    // with an error, never with the not-found message.
    if (!loaded_)
        throw CalendarDataError("календарь дней не загружен");
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    return days_[static_cast<std::size_t>(month)][static_cast<std::size_t>(day)];
}

} // namespace toravel::web
