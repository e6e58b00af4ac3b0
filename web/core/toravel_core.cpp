// The page's binding to the core: a handful of C functions over UTF-8 JSON
// texts and byte arrays (toravel-core.js wraps them for JavaScript). The
// page calls them from a Web Worker; nothing here formats a result for the
// screen, the page does that. Plain C functions rather than embind, whose
// glue builds functions from strings at run time, which the page's
// Content-Security-Policy forbids.
#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#else
// The native build of the binding, for the speed comparison with the
// module (bench/web_core_ratio.mjs).
#define EMSCRIPTEN_KEEPALIVE
#endif

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include <exception>
#include <sstream>

#include "command_line/calculation_json.h"
#include "command_line/calculation_request.h"
#include "command_line/calculation_run.h"
#include "command_line/json_document.h"
#include "command_line/month_json.h"
#include "command_line/month_request.h"
#include "command_line/option_values.h"
#include "horoscope/month_calendar.h"
#include "lunar/lunar_month_error.h"
#include "place/atlas_bundle.h"
#include "place/birthplace_hint_place.h"
#include "place/birthplace_zone.h"
#include "place/process_atlas.h"
#include "place/zone_bundle.h"
#include "place/zone_file_source.h"
#include "platform/error_display_text.h"
#include "web/core/calendar_days.h"
#include "web/core/page_request.h"

namespace toravel::web {
namespace {

using command_line::CommandError;
using command_line::Json;
using command_line::JsonKind;

// The page's data, loaded once per worker.
struct CoreData {
    CalendarDays calendarDays;
    ZoneFiles zoneFiles;
    std::unique_ptr<const WorldAtlas> atlas;
};

CoreData& Data() {
    static CoreData data;
    return data;
}

// A document as text; bytes that are no UTF-8 (in a quoted input, say)
// are replaced rather than thrown on.
std::string Text(const Json& document) {
    return document.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The text a function returns stays valid until the next call.
const char* Answer(std::string text) {
    static std::string answer;
    answer = std::move(text);
    return answer.c_str();
}

Json PlaceJson(const AtlasPlace& place) {
    return {{"name", place.name},
            {"region", place.region},
            {"country", place.country},
            {"latitude", place.latitude},
            {"longitude", place.longitude},
            {"zone", place.zone},
            // Unknown for the zones' own cities added to the atlas.
            {"population", place.population == 0 ? Json(nullptr) : Json(place.population)},
            {"label", PlaceLabel(place)}};
}

// A calculation as toravel-cli runs it for the same options.
Json CalculationDocument(const command_line::CommandOptions& options) {
    std::ostringstream notes; // what the command line says on standard error
    const command_line::PreparedCalculation prepared =
        command_line::PrepareCalculation(options, notes);
    if (prepared.error)
        return command_line::FailureJson(JsonKind::Horoscope, *prepared.error);
    const command_line::CalculationResult result = command_line::RunCalculation(
        *prepared.request, Data().calendarDays, SearchedLunarTables(), nullptr);
    return command_line::CalculationJson(*prepared.request, result);
}

// A month as toravel-cli --month runs it for the same options.
Json MonthDocument(const command_line::CommandOptions& options) {
    std::ostringstream notes;
    const command_line::PreparedMonth prepared = command_line::PrepareMonth(options, notes);
    if (prepared.error)
        return command_line::FailureJson(JsonKind::Month, *prepared.error);
    try {
        const MonthCalendar calendar = ComputeMonthCalendar(
            prepared.request->place, prepared.request->month, Data().calendarDays);
        return command_line::MonthJson(*prepared.request, calendar);
    } catch (const LunarMonthError& e) {
        return command_line::FailureJson(
            JsonKind::Month, command_line::UsageError(std::string("--month: ") + e.what()));
    } catch (const std::exception& e) {
        return command_line::FailureJson(JsonKind::Month, {command_line::ExitFailed,
                                                           command_line::error_code::Database,
                                                           ErrorDisplayText(e.what())});
    }
}

// Answers made from a calculation's failure, a month's, or another call's.
std::string HoroscopeFailure(const std::string& message) {
    return Text(command_line::FailureJson(
        JsonKind::Horoscope,
        {command_line::ExitFailed, command_line::error_code::Calculation, message}));
}
std::string MonthFailure(const std::string& message) {
    return Text(command_line::FailureJson(
        JsonKind::Month,
        {command_line::ExitFailed, command_line::error_code::Calculation, message}));
}
std::string ErrorFailure(const std::string& message) {
    return Text(
        {{"error", command_line::ErrorJson({command_line::ExitFailed,
                                            command_line::error_code::Calculation, message})}});
}
std::string PlainFailure(const std::string& message) {
    return message;
}

// No exception may reach JavaScript: whatever a call throws (memory running
// out, say) is answered as its kind of failure.
template <typename Body, typename Failure> const char* Guarded(Body body, Failure failure) {
    try {
        return Answer(body());
    } catch (const std::exception& e) {
        return Answer(failure(ErrorDisplayText(e.what())));
    }
}

std::string LoadZones(std::string_view bytes) {
    std::optional<ZoneFiles> files = ReadZoneBundle(bytes);
    if (!files)
        return "часовые пояса не прочитаны";
    files->merge(Data().zoneFiles);
    Data().zoneFiles = std::move(*files);
    SetZoneFileReader([](std::string_view name) -> std::optional<std::string> {
        const ZoneFiles& zones = Data().zoneFiles;
        if (const auto found = zones.find(name); found != zones.end())
            return found->second;
        return std::nullopt;
    });
    return {};
}

std::string LoadAtlas(std::string_view bytes) {
    std::optional<std::vector<AtlasPlace>> places = ReadAtlasBundle(bytes);
    if (!places)
        return "атлас мест не прочитан";
    Data().atlas = std::make_unique<const WorldAtlas>(std::move(*places));
    SetAtlasProvider([] { return AtlasAvailability{Data().atlas.get(), {}, {}}; });
    return {};
}

std::string Calculate(const char* requestJson) {
    const PageOptions page = OptionsOfRequest(std::string_view(requestJson));
    if (page.error)
        return Text(command_line::FailureJson(JsonKind::Horoscope, *page.error));
    if (page.options->month)
        return Text(command_line::FailureJson(JsonKind::Horoscope,
                                              command_line::UsageError("лишний параметр «month»")));
    return Text(CalculationDocument(*page.options));
}

std::string Month(const char* requestJson) {
    const PageOptions page = OptionsOfRequest(std::string_view(requestJson));
    if (page.error)
        return Text(command_line::FailureJson(JsonKind::Month, *page.error));
    if (!page.options->month)
        return Text(command_line::FailureJson(
            JsonKind::Month,
            command_line::UsageError(command_line::MissingRequiredOption("--month"))));
    return Text(MonthDocument(*page.options));
}

std::string ParseLink(const char* query) {
    LinkRequest link = RequestOfLink(query);
    if (link.error)
        return Text({{"error", command_line::ErrorJson(*link.error)}});
    return Text({{"request", std::move(*link.request)}});
}

std::string ZoneClock(const char* zoneName, const char* date, const char* time) {
    const auto birthDate = command_line::ParseBirthDate(date);
    const auto birthTime = command_line::ParseBirthTime(time);
    const auto usage = [](const std::string& problem) {
        return Text({{"error", command_line::ErrorJson(command_line::UsageError(problem))}});
    };
    if (!birthDate)
        return usage("--date: нет такой даты: " + command_line::QuotedValue(date));
    if (!birthTime)
        return usage("--time: нужно время ЧЧ:ММ или ЧЧ:ММ:СС: " + command_line::QuotedValue(time));
    const auto offset = BirthplaceOffsetAt(zoneName, DateOf(*birthDate) + TimeOf(*birthTime));
    if (!offset)
        return usage("--zone-name: такого часового пояса нет в базе часовых поясов: " +
                     command_line::QuotedValue(zoneName));
    std::string label = UtcOffsetLabel(offset->offsetSeconds);
    if (offset->keepsDaylightTimeThatYear)
        label += offset->summerTime ? ", летнее время" : ", зимнее время";
    return Text({{"utc_offset", UtcOffsetText(offset->offsetSeconds)},
                 {"summer_time", offset->summerTime},
                 {"label", label}});
}

std::string SearchPlaces(const char* text, int limit) {
    Json matches = Json::array();
    if (Data().atlas && limit > 0)
        for (const AtlasPlace* place : Data().atlas->Search(text, static_cast<std::size_t>(limit)))
            matches.push_back(PlaceJson(*place));
    return Text(matches);
}

std::string NearestPlace(double latitude, double longitude) {
    if (!Data().atlas)
        return "null";
    const std::optional<NearbyPlace> nearest =
        Data().atlas->NearestWithin({latitude, longitude}, kNearestPlaceRadiusKm);
    if (!nearest)
        return "null";
    return Text({{"place", PlaceJson(*nearest->place)}, {"distance_km", nearest->distanceKm}});
}

} // namespace
} // namespace toravel::web

using namespace toravel::web;

// The exports: every answer is a text, valid until the next call.
extern "C" {

EMSCRIPTEN_KEEPALIVE const char* toravel_load_calendar(const char* json) {
    return Guarded([&] { return Data().calendarDays.Load(json); }, PlainFailure);
}

// Zones add to those loaded before, so that the page may fetch them in parts.
EMSCRIPTEN_KEEPALIVE const char* toravel_load_zones(const char* bytes, std::size_t size) {
    return Guarded([&] { return LoadZones(std::string_view(bytes, size)); }, PlainFailure);
}

// The atlas also becomes the process's, for the requests' place lookups.
EMSCRIPTEN_KEEPALIVE const char* toravel_load_atlas(const char* bytes, std::size_t size) {
    return Guarded([&] { return LoadAtlas(std::string_view(bytes, size)); }, PlainFailure);
}

EMSCRIPTEN_KEEPALIVE const char* toravel_calculate(const char* requestJson) {
    return Guarded([&] { return Calculate(requestJson); }, HoroscopeFailure);
}

EMSCRIPTEN_KEEPALIVE const char* toravel_month(const char* requestJson) {
    return Guarded([&] { return Month(requestJson); }, MonthFailure);
}

EMSCRIPTEN_KEEPALIVE const char* toravel_parse_link(const char* query) {
    return Guarded([&] { return ParseLink(query); }, ErrorFailure);
}

// The clock of a zone at a local moment, for the page to show before it
// calculates: {"utc_offset": "+03:00", "summer_time": false, "label":
// "UTC+3:00, зимнее время"}.
EMSCRIPTEN_KEEPALIVE const char* toravel_zone_clock(const char* zoneName, const char* date,
                                                    const char* time) {
    return Guarded([&] { return ZoneClock(zoneName, date, time); }, ErrorFailure);
}

EMSCRIPTEN_KEEPALIVE const char* toravel_search_places(const char* text, int limit) {
    return Guarded([&] { return SearchPlaces(text, limit); },
                   [](const std::string&) { return std::string("[]"); });
}

EMSCRIPTEN_KEEPALIVE const char* toravel_nearest_place(double latitude, double longitude) {
    return Guarded([&] { return NearestPlace(latitude, longitude); },
                   [](const std::string&) { return std::string("null"); });
}

} // extern "C"
