#include "batch/batch_line.h"

#include "platform/utf8_text.h"

namespace toravel::batch {
namespace {

using command_line::CommandError;
using command_line::ExitFailed;
namespace error_code = command_line::error_code;

CommandError InputError(const std::string& problem) {
    return {ExitFailed, error_code::Input, problem};
}

std::string LineHeaderProblem(const BirthColumns& columns) {
    if (!columns.Has("date"))
        return "в заголовке нет столбца «date»";
    const bool coordinates = columns.Has("latitude") && columns.Has("longitude");
    if (!coordinates && !columns.Has("place"))
        return "в заголовке нет места рождения: нужны столбцы «latitude» и «longitude» или "
               "«place»";
    return {};
}

} // namespace

std::string OptionsOfBirthRow(const BirthRow& row, command_line::CommandOptions& options) {
    if (row.date.empty())
        return "столбец «date»: нет даты рождения";
    options.date = row.date;
    options.time = row.time.empty() ? "00:00" : row.time;
    const bool coordinates = row.latitude && row.longitude;
    if (coordinates) {
        // The shortest text that reads back as the same double: the window's
        // field reads a point as well as a comma.
        options.latitude = DegreesText(*row.latitude);
        options.longitude = DegreesText(*row.longitude);
        if (!row.place.empty())
            options.placeLabel = row.place;
    } else if (!row.place.empty()) {
        options.place = row.place;
    } else {
        return "нет места рождения: нужны «latitude» и «longitude» или «place»";
    }
    if (!row.utcOffset.empty()) {
        options.utcOffset = row.utcOffset;
    } else if (!row.zoneName.empty()) {
        options.zoneName = row.zoneName;
    } else if (row.zoneHours) {
        options.zone = *row.zoneHours;
    }
    // Otherwise the birthplace's own clock: the place's zone, or that of the
    // atlas place nearest to the coordinates.
    options.clockNaming = "«utc_offset», «zone_name» или «zone»";
    if (row.lunarDay)
        options.lunarDay = std::to_string(*row.lunarDay);
    options.sex = row.sex == BirthSex::Female ? "female" : "male";
    return {};
}

BatchLineReader::BatchLineReader(std::istream& in) : reader_(in) {
    if (!reader_.Next(record_)) {
        headerError_ = InputError("пустой файл: нет строки заголовка");
        return;
    }
    headerLine_ = record_.line;
    if (std::string problem = header_.Read(record_); !problem.empty()) {
        headerError_ = InputError(problem);
        return;
    }
    reader_.ExpectFields(header_.Names().size());
    columns_.emplace(header_);
    for (const std::string& name : columns_->UnknownColumns())
        extraColumns_.emplace_back(name, *header_.Find(name));
    if (std::string problem = LineHeaderProblem(*columns_); !problem.empty())
        headerError_ = InputError(problem);
}

std::vector<std::string> BatchLineReader::ExtraColumns() const {
    std::vector<std::string> names;
    for (const auto& [name, index] : extraColumns_)
        names.push_back(name);
    return names;
}

bool BatchLineReader::Next(BatchLine& line) {
    if (headerError_ || !reader_.Next(record_))
        return false;
    line = BatchLine{};
    line.line = record_.line;
    header_.CheckFieldCount(record_);
    if (!record_.error.empty()) {
        line.error = InputError(record_.error);
        return true;
    }
    // The carried columns also go with a line whose values are wrong.
    for (const auto& [name, index] : extraColumns_)
        line.extra.emplace_back(name, record_.fields[index]);
    const std::string problem = columns_->Read(record_, row_);
    line.name = row_.name;
    if (!problem.empty()) {
        line.error = InputError(problem);
        return true;
    }
    command_line::CommandOptions options;
    if (std::string missing = OptionsOfBirthRow(row_, options); !missing.empty()) {
        line.error = InputError(missing);
        return true;
    }
    line.options = std::move(options);
    return true;
}

} // namespace toravel::batch
