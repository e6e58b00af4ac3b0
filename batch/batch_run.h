// The batch mode of toravel-cli: every line of a birth CSV calculated as a
// single run of the same options would calculate it, one result per line in
// input order, as JSON Lines (each line the single run's JSON document with
// "line", "name" and the carried columns) or as CSV. A line that cannot be
// used gives a result with its error and the run goes on.
//
// Fast where births share a year, a place or a day: the lunar tables and the
// calendar days are kept between births (stored_lunar_tables.h,
// stored_calendar_days.h). The input is read one line at a time.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/batch_line.h"
#include "batch/stored_calendar_days.h"
#include "batch/stored_lunar_tables.h"
#include "command_line/calculation_request.h"
#include "command_line/calculation_run.h"
#include "command_line/json_document.h"
#include "storage/horoscope_database.h"

namespace toravel::batch {

enum class BatchFormat { JsonLines, Csv };

struct BatchSettings {
    std::string db = "./db"; // the data directory
    bool listing = false;    // --list: the new moons and moonrises of each birth
    BatchFormat format = BatchFormat::JsonLines;
    // A progress line, rewritten in place, on this stream (a terminal); none
    // when null. totalLines: the input's lines, for the share done.
    std::ostream* progress = nullptr;
    std::uint64_t totalLines = 0;
    // Each result is written out at once, for a reader that waits for it.
    bool flushEachLine = false;
};

struct BatchSummary {
    std::uint64_t results = 0; // lines calculated or refused
    std::uint64_t failed = 0;  // of them, refused or failed
    // The file cannot be used at all (no header, no data directory).
    std::optional<command_line::CommandError> fileError;
    // The output went bad (a full disk, a reader that went away): the run
    // stopped there rather than calculate what nobody receives.
    bool outputFailed = false;
};

// One line's outcome.
struct BatchResult {
    const BatchLine* line = nullptr;
    std::optional<command_line::CalculationRequest> request;
    std::optional<command_line::CalculationResult> result;
    std::optional<command_line::CommandError> error; // set when the line failed
};

// The calculations of a batch, with what they keep between births.
class BatchCalculator {
public:
    explicit BatchCalculator(const std::string& db);

    // Throws DatabaseError when the database cannot be read: no line could
    // be calculated.
    void CheckDatabase();

    BatchResult Calculate(const BatchLine& line, bool listing);

    const StoredLunarTables& Tables() const { return tables_; }

private:
    std::string db_;
    HoroscopeDatabase database_;
    StoredCalendarDays calendarDays_;
    StoredLunarTables tables_;
};

// A result as one JSON Lines document.
command_line::Json BatchResultJson(const BatchResult& result);

// The CSV output's header: the result's columns, then the carried ones.
std::vector<std::string> BatchCsvHeader(const std::vector<std::string>& extraColumns);
// A result's CSV fields, in the header's order.
std::vector<std::string> BatchCsvFields(const BatchResult& result);

// Reads `in` to its end, writing the results to `out`; stops early when `out`
// fails.
BatchSummary RunBatch(std::istream& in, std::ostream& out, const BatchSettings& settings);

} // namespace toravel::batch
