#include "batch/batch_run.h"

#include <chrono>

#include "command_line/calculation_clock.h"
#include "command_line/calculation_json.h"
#include "csv/csv_writer.h"
#include "lunar/working_stream.h"
#include "place/birthplace_zone.h"
#include "platform/error_display_text.h"

namespace toravel::batch {
namespace {

using command_line::CommandError;
using command_line::Json;
namespace error_code = command_line::error_code;

// A usage error of the single run names options; on a line it is the line's
// values that are wrong.
CommandError LineError(const CommandError& error) {
    if (error.code != error_code::Usage)
        return error;
    constexpr std::string_view prefix = "ошибка в параметрах: ";
    std::string message = error.message;
    if (message.starts_with(prefix))
        message.erase(0, prefix.size());
    return {command_line::ExitFailed, error_code::Input, message};
}

std::string WorldCode(const Json& world) {
    return world.is_null() ? std::string() : world["code"].get<std::string>();
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : "; ") + text;
    return joined;
}

// "\rстрок: 12 000 из 100 000 (12 %)", at most five times a second.
class ProgressLine {
public:
    explicit ProgressLine(const BatchSettings& settings)
        : stream_(settings.progress), total_(settings.totalLines) {}

    void Update(std::uint64_t line, bool last = false) {
        if (stream_ == nullptr)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (!last && now - shown_ < std::chrono::milliseconds(200))
            return;
        shown_ = now;
        *stream_ << "\rстрок: " << line;
        if (total_ > 0)
            *stream_ << " из " << total_ << " (" << (line * 100 / total_) << " %)";
        *stream_ << (last ? "\n" : "") << std::flush;
    }

private:
    std::ostream* stream_;
    std::uint64_t total_;
    std::chrono::steady_clock::time_point shown_{};
};

} // namespace

BatchCalculator::BatchCalculator(const std::string& db)
    : db_(db), database_(ConnectionStringForDirectory(db)), calendarDays_(database_) {}

void BatchCalculator::CheckDatabase() {
    calendarDays_.FindCalendarDay(1, 1);
}

BatchResult BatchCalculator::Calculate(const BatchLine& line, bool listing) {
    BatchResult out;
    out.line = &line;
    if (line.error) {
        out.error = line.error;
        return out;
    }
    command_line::CommandOptions options = *line.options;
    options.db = db_;
    options.list = listing;
    command_line::PreparedCalculation prepared =
        command_line::PrepareCalculation(options, DiscardingStream());
    if (prepared.error) {
        out.error = LineError(*prepared.error);
        return out;
    }
    out.request = std::move(*prepared.request);
    out.result = command_line::RunCalculation(*out.request, calendarDays_, tables_, nullptr);
    if (out.result->error)
        out.error = out.result->error;
    return out;
}

Json BatchResultJson(const BatchResult& result) {
    Json document = command_line::JsonDocument(command_line::JsonKind::Horoscope);
    document["line"] = result.line->line;
    if (!result.line->name.empty())
        document["name"] = result.line->name;
    if (result.request && result.result) {
        command_line::AppendCalculationJson(document, *result.request, *result.result);
    } else {
        document["error"] = command_line::ErrorJson(*result.error);
    }
    if (!result.line->extra.empty()) {
        Json extra = Json::object();
        for (const auto& [name, value] : result.line->extra)
            extra[name] = value;
        document["extra"] = std::move(extra);
    }
    return document;
}

std::vector<std::string> BatchCsvHeader(const std::vector<std::string>& extraColumns) {
    std::vector<std::string> header = {
        "line",           "name",      "date",       "time",
        "latitude",       "longitude", "utc_offset", "zone_name",
        "path",           "lunar_day", "day_world",  "lunar_world",
        "period_world",   "circle",    "moment",     "preceding_new_moon",
        "new_moon_birth", "messages",  "warnings",   "error_code",
        "error_message"};
    header.insert(header.end(), extraColumns.begin(), extraColumns.end());
    return header;
}

std::vector<std::string> BatchCsvFields(const BatchResult& result) {
    // The same values as the JSON document, one level deep.
    const Json document = BatchResultJson(result);
    const auto text = [&](const char* key) -> std::string {
        const auto found = document.find(key);
        if (found == document.end() || found->is_null())
            return {};
        if (found->is_string())
            return found->get<std::string>();
        return found->dump();
    };
    std::vector<std::string> fields = {std::to_string(result.line->line), result.line->name};
    if (result.request) {
        const Json& input = document["input"];
        const Json& clock = document["clock"];
        fields.push_back(input["date"].get<std::string>());
        fields.push_back(input["time"].get<std::string>());
        fields.push_back(input["latitude"].is_null() ? "" : input["latitude"].dump());
        fields.push_back(input["longitude"].is_null() ? "" : input["longitude"].dump());
        fields.push_back(clock["utc_offset"].get<std::string>());
        fields.push_back(clock["zone_name"].is_null() ? "" : clock["zone_name"].get<std::string>());
    } else {
        fields.resize(fields.size() + 6);
    }
    const bool done = !result.error;
    fields.push_back(done ? text("path") : "");
    fields.push_back(done ? text("lunar_day") : "");
    fields.push_back(done ? WorldCode(document["day_world"]) : "");
    fields.push_back(done ? WorldCode(document["lunar_world"]) : "");
    fields.push_back(done ? WorldCode(document["period_world"]) : "");
    fields.push_back(done && !document["circle"].is_null() &&
                             !document["circle"]["number"].is_null()
                         ? document["circle"]["number"].dump()
                         : "");
    fields.push_back(done ? text("moment") : "");
    fields.push_back(done ? text("preceding_new_moon") : "");
    fields.push_back(done ? text("new_moon_birth") : "");
    fields.push_back(result.result ? Joined(result.result->view.messages) : "");
    fields.push_back(result.result ? Joined(result.result->warnings) : "");
    fields.push_back(result.error ? result.error->code : "");
    fields.push_back(result.error ? result.error->message : "");
    for (const auto& [name, value] : result.line->extra)
        fields.push_back(value);
    return fields;
}

BatchSummary RunBatch(std::istream& in, std::ostream& out, const BatchSettings& settings) {
    BatchSummary summary;
    BatchLineReader reader(in);
    BatchCalculator calculator(settings.db);
    CsvWriter csv(out, CsvLineEnd::Lf);
    const auto fileError = [&](const CommandError& error, std::uint64_t line) {
        summary.fileError = error;
        if (settings.format == BatchFormat::JsonLines) {
            Json document = command_line::JsonDocument(command_line::JsonKind::Horoscope);
            document["line"] = line;
            document["error"] = command_line::ErrorJson(error);
            out << command_line::JsonText(document, true);
        }
        return summary;
    };
    if (reader.HeaderError())
        return fileError(*reader.HeaderError(), reader.HeaderLine());
    try {
        calculator.CheckDatabase();
    } catch (const std::exception& e) {
        return fileError(
            {command_line::ExitFailed, error_code::Database, ErrorDisplayText(e.what())},
            reader.HeaderLine());
    }
    if (settings.format == BatchFormat::Csv)
        csv.WriteRecord(BatchCsvHeader(reader.ExtraColumns()));

    ProgressLine progress(settings);
    BatchLine line;
    while (reader.Next(line)) {
        const BatchResult result = calculator.Calculate(line, settings.listing);
        ++summary.results;
        if (result.error)
            ++summary.failed;
        if (settings.format == BatchFormat::Csv)
            csv.WriteRecord(BatchCsvFields(result));
        else
            out << command_line::JsonText(BatchResultJson(result), true);
        if (settings.flushEachLine)
            out.flush();
        if (!out)
            break;
        progress.Update(line.line);
    }
    progress.Update(line.line, true);
    out.flush();
    summary.outputFailed = !out;
    return summary;
}

} // namespace toravel::batch
