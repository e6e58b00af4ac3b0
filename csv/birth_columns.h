// The birth CSV: one birth per record, in the columns that the command
// line's batch mode reads and the person file imports and exports. A header
// names the columns in any order; columns not listed here are carried
// through in `BirthRow::extra`.
//
//   name        free text
//   date        ДД.ММ.ГГГГ (day and month may have one digit) or ГГГГ-ММ-ДД,
//               a real date of the years 2 … 9998
//   time        ЧЧ:ММ or ЧЧ:ММ:СС (the hour may have one digit); 00:00 when
//               the column is missing or the cell empty
//   place       a place name, free text
//   latitude    decimal degrees with a point, north positive, −90 … 90
//   longitude   decimal degrees with a point, east positive, −180 … 180
//   utc_offset  ±ЧЧ:ММ, the birthplace's clock minus Greenwich, up to 14 h
//   zone_name   an IANA zone name that the system's tz database knows
//   zone        whole hours −12 … 12: the main window's offset box as entered
//   sex         male or female (also м, ж, муж, жен, мужской, женский)
//   lunar_day   a typed lunar day as the window's field takes it: a whole
//               number of at most two characters; 0 means "compute it"
//   note        free text
//
// Values are read into the forms the main window and the command line use
// (dates ДД.ММ.ГГГГ, times ЧЧ:ММ[:СС]); blanks around a value are dropped,
// except in the free-text columns, which are kept as they are.
//
//     BirthColumns columns(header);
//     BirthRow row;
//     if (std::string problem = columns.Read(record, row); !problem.empty()) ...
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "csv/csv_header.h"
#include "csv/csv_reader.h"

namespace toravel {

enum class BirthSex { Unknown, Male, Female };

struct BirthRow {
    std::string name;
    std::string date; // ДД.ММ.ГГГГ; empty when the column is missing or empty
    std::string time; // ЧЧ:ММ or ЧЧ:ММ:СС
    std::string place;
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::string utcOffset; // ±ЧЧ:ММ
    std::string zoneName;
    std::optional<int> zoneHours;
    BirthSex sex = BirthSex::Unknown;
    std::optional<int> lunarDay; // nothing: computed
    std::string note;
    // The columns this format does not name, as (header name, value).
    std::vector<std::pair<std::string, std::string>> extra;
};

// The column names in the order the writer puts them.
const std::vector<std::string_view>& BirthColumnNames();

class BirthColumns {
public:
    explicit BirthColumns(const CsvHeader& header);

    // The header names of the columns this format does not know.
    std::vector<std::string> UnknownColumns() const;
    // Whether the header has a column of that name.
    bool Has(std::string_view name) const;

    // Reads a sound record (the reader's and the header's checks passed)
    // into row. Returns the first fault in Russian, naming its column, or
    // the empty text. Coordinates must come in pairs.
    std::string Read(const CsvRecord& record, BirthRow& row) const;

private:
    std::vector<std::optional<std::size_t>> index_; // by BirthColumnNames()
    std::vector<std::pair<std::string, std::size_t>> unknown_;
};

// A row's fields in the order of BirthColumnNames(), extra columns left out.
std::vector<std::string> BirthRowFields(const BirthRow& row);

// The readers of single values. Each returns the fault in Russian without
// the column's name, or the empty text with the value in its usual form.
std::string ReadBirthDate(std::string_view cell, std::string& date);
std::string ReadBirthTime(std::string_view cell, std::string& time);
std::string ReadDegrees(std::string_view cell, double limit, double& degrees);
std::string ReadUtcOffset(std::string_view cell, std::string& offset);
std::string ReadZoneName(std::string_view cell, std::string& zoneName);
std::string ReadZoneHours(std::string_view cell, std::optional<int>& hours);
std::string ReadSex(std::string_view cell, BirthSex& sex);
std::string ReadLunarDay(std::string_view cell, std::optional<int>& lunarDay);

// Degrees with a point and the fewest digits that read back as the same
// double ("55.75", "-0.1278").
std::string DegreesText(double degrees);
// "male", "female", or the empty text.
std::string_view SexText(BirthSex sex);

} // namespace toravel
