// A month's lunar calendar as one JSON document of kind "month"
// (docs/json.md): the month, the place and its clock, and one object per
// calendar day with the lunar day at 00:00, each lunar day that begins that
// day with its moment and kind, the full moon, whether the Moon rises, the
// worlds and the circle.
#pragma once

#include "command_line/json_document.h"
#include "command_line/month_request.h"
#include "horoscope/month_calendar.h"

namespace toravel::command_line {

Json MonthJson(const MonthRequest& request, const MonthCalendar& calendar);

} // namespace toravel::command_line
