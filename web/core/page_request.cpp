#include "web/core/page_request.h"

#include <array>
#include <set>
#include <utility>

#include "command_line/option_values.h"

namespace toravel::web {
namespace {

using command_line::CommandOptions;
using command_line::Json;
using command_line::QuotedValue;
using command_line::UsageError;

// A request key and the command-line option it stands for, with the name a
// link gives it.
struct RequestKey {
    const char* key;
    const char* option;
    const char* linkName;
};

constexpr std::array<RequestKey, 11> Keys = {{
    {"date", "--date", "date"},
    {"time", "--time", "time"},
    {"latitude", "--lat", "lat"},
    {"longitude", "--lon", "lon"},
    {"place", "--place", "place"},
    {"zone_name", "--zone-name", "zone"},
    {"utc_offset", "--utc-offset", "utc_offset"},
    {"sex", "--sex", "sex"},
    {"lunar_day", "--lunar-day", "lunar_day"},
    {"listing", "--list", "listing"},
    {"month", "--month", "month"},
}};

const RequestKey* KeyNamed(std::string_view key, bool link) {
    for (const RequestKey& k : Keys)
        if (key == (link ? k.linkName : k.key))
            return &k;
    return nullptr;
}

std::optional<std::string> Text(const Json& request, const char* key) {
    const auto found = request.find(key);
    if (found == request.end() || found->is_null())
        return std::nullopt;
    if (found->is_string())
        return found->get<std::string>();
    // A number sent as a number; its text holds no bytes beyond ASCII.
    return found->dump();
}

// The option checks that CLI11's validators and exclusions make on the
// command line, with their messages.
std::optional<command_line::CommandError> CheckLikeTheOptionParser(const CommandOptions& o,
                                                                   bool coordinates) {
    if (coordinates && o.place)
        return UsageError("--lat нельзя задавать вместе с --place");
    if (o.utcOffset && o.zoneName)
        return UsageError("--utc-offset нельзя задавать вместе с --zone-name");
    if (o.utcOffset && !command_line::ParseUtcOffset(*o.utcOffset))
        return UsageError("--utc-offset: нужно смещение ±ЧЧ[:ММ] не больше 14 часов (+03, "
                          "+05:30, -08:00): " +
                          QuotedValue(*o.utcOffset));
    if (o.sex != "male" && o.sex != "female")
        return UsageError("--sex: нужно male или female: " + QuotedValue(o.sex));
    return std::nullopt;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// %XX and "+" of a query's part; a "%" without two hex digits stays as it is.
std::string PercentDecoded(std::string_view part) {
    std::string text;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const auto hex = HexDigit;
        if (part[i] == '%' && i + 2 < part.size() && hex(part[i + 1]) >= 0 &&
            hex(part[i + 2]) >= 0) {
            text += static_cast<char>(hex(part[i + 1]) * 16 + hex(part[i + 2]));
            i += 2;
        } else {
            text += part[i] == '+' ? ' ' : part[i];
        }
    }
    return text;
}

} // namespace

PageOptions OptionsOfRequest(std::string_view requestJson) {
    const Json request = Json::parse(requestJson, nullptr, false);
    if (!request.is_object())
        return {std::nullopt, UsageError("запрос страницы не прочитан")};
    return OptionsOfRequest(request);
}

PageOptions OptionsOfRequest(const Json& request) {
    for (const auto& [key, value] : request.items())
        if (!KeyNamed(key, false))
            return {std::nullopt, UsageError("лишний параметр " + QuotedValue(key))};

    CommandOptions o;
    o.clockNaming = "--utc-offset или --zone-name";
    o.date = Text(request, "date").value_or("");
    o.time = Text(request, "time").value_or("00:00");
    o.latitude = Text(request, "latitude").value_or("");
    o.longitude = Text(request, "longitude").value_or("");
    const bool coordinates = !o.latitude.empty() || !o.longitude.empty();
    if (const auto place = Text(request, "place")) {
        if (coordinates)
            o.placeLabel = *place;
        else
            o.place = *place;
    }
    o.zoneName = Text(request, "zone_name");
    o.utcOffset = Text(request, "utc_offset");
    o.sex = Text(request, "sex").value_or("male");
    o.lunarDay = Text(request, "lunar_day").value_or("");
    o.list = request.value("listing", false) == true;
    o.month = Text(request, "month");
    if (auto error = CheckLikeTheOptionParser(o, false))
        return {std::nullopt, std::move(error)};
    return {std::move(o), std::nullopt};
}

LinkRequest RequestOfLink(std::string_view query) {
    if (query.starts_with('?'))
        query.remove_prefix(1);
    Json request = Json::object();
    std::set<std::string> seen;
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view part = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (part.empty())
            continue;
        const std::size_t eq = part.find('=');
        const std::string name = PercentDecoded(part.substr(0, eq));
        const std::string value =
            eq == std::string_view::npos ? std::string() : PercentDecoded(part.substr(eq + 1));
        const RequestKey* key = KeyNamed(name, true);
        if (key == nullptr || name == "listing" || name == "month")
            return {std::nullopt, UsageError("лишний параметр " + QuotedValue(name))};
        if (!seen.insert(name).second)
            return {std::nullopt, UsageError(std::string(key->option) + " задан дважды")};
        request[key->key] = value;
    }
    if (!request.contains("date"))
        return {std::nullopt, UsageError(command_line::MissingRequiredOption("--date"))};
    const bool coordinates = request.contains("latitude") || request.contains("longitude");
    if (coordinates && request.contains("place"))
        return {std::nullopt, UsageError("--lat нельзя задавать вместе с --place")};
    // Values are taken as the bytes they are; one that is no UTF-8 is
    // quoted with "?" by the messages and replaced in the answer's JSON.
    PageOptions checked = OptionsOfRequest(request);
    if (checked.error)
        return {std::nullopt, std::move(checked.error)};
    return {std::move(request), std::nullopt};
}

} // namespace toravel::web
