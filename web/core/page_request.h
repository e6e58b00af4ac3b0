// The page's requests as the command line's options, so that a calculation
// or a month asked for in the browser is checked, looked up and answered
// exactly as toravel-cli answers the same options, messages included.
//
// A calculation: {"date": "17.05.1990", "time": "14:30", "latitude": "58,38",
// "longitude": "26.72", "place": "Тарту", "zone_name": "Europe/Tallinn" or
// "utc_offset": "+04:00", "sex": "male" or "female", "lunar_day": "7",
// "listing": true}. A month: {"month": "03.2027", and the place and clock
// keys}. Texts as the user typed them. With coordinates, "place" only names
// them (the place the user picked); without, it is looked up in the atlas as
// --place is. Without a clock key the place's own zone is taken, as the
// command line does when no clock is named.
//
// A link's query ("?date=17.05.1990&time=14:30&place=Тарту&zone=…"): the
// same keys under the link's names (lat, lon, zone, utc_offset, sex,
// lunar_day).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "command_line/command_error.h"
#include "command_line/command_options.h"
#include "command_line/json_document.h"

namespace toravel::web {

struct PageOptions {
    std::optional<command_line::CommandOptions> options;
    std::optional<command_line::CommandError> error; // a usage error
};

// The options of a calculation or (with "month") a month request.
PageOptions OptionsOfRequest(std::string_view requestJson);
PageOptions OptionsOfRequest(const command_line::Json& request);

// The request a link's query stands for, as the JSON above, or a usage
// error in the command line's words.
struct LinkRequest {
    std::optional<command_line::Json> request;
    std::optional<command_line::CommandError> error;
};
LinkRequest RequestOfLink(std::string_view query);

} // namespace toravel::web
