// The calculation command over arbitrary window inputs: any texts in the
// lunar-day and coordinate fields (or coordinates as numbers anywhere, far
// beyond the Earth included), the spin box's −12 … 12 or any text, birth
// dates of the years 2 … 9998 the date picker accepts, any time of day, the
// computer's own offset, the listing on or off, and any calendar-day record.
// The command either finishes or ends with a conversion error, the one
// failure its inputs can cause; anything else escaping it is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "horoscope/calculation_command.h"
#include "lunar/calculation_state.h"
#include "lunar/working_stream.h"
#include "platform/conversions.h"
#include "platform/tdatetime.h"

using namespace toravel;

namespace {

class FuzzView : public HoroscopeView {
public:
    std::string latitude, longitude, lunarDay, zoneHours;
    bool listing = false;
    TDateTime birthDate = 0, birthTime = 0;

    std::string LatitudeText() const override { return latitude; }
    std::string LongitudeText() const override { return longitude; }
    bool ListingWanted() const override { return listing; }
    std::string LunarDayFieldText() const override { return lunarDay; }
    std::string ZoneHoursText() const override { return zoneHours; }
    TDateTime BirthDate() const override { return birthDate; }
    TDateTime BirthTime() const override { return birthTime; }
    void AppendLine(const std::string&) override {}
    void ClearReport() override {}
    void AppendFormattedLine(const CharacterFormat&, const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    void EnablePictureButtons() override {}
};

class FuzzLookup : public CalendarDayLookup {
public:
    std::optional<CalendarDayRecord> record;
    std::optional<CalendarDayRecord> FindCalendarDay(int, int) override { return record; }
};

// A coordinate field: any text, or a number anywhere written with a comma.
std::string CoordinateText(FuzzedDataProvider& in) {
    if (in.ConsumeBool())
        return in.ConsumeRandomLengthString(16);
    std::array<char, 64> digits{};
    const double value = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(-200.0, 200.0)
                                          : in.ConsumeFloatingPoint<double>();
    std::string text(digits.data(), std::to_chars(digits.begin(), digits.end(), value).ptr);
    for (char& c : text) {
        if (c == '.')
            c = ',';
    }
    return text;
}

// The spin box: −12 … 12, or any text; a number it cannot hold is clamped.
std::string ZoneHoursText(FuzzedDataProvider& in) {
    if (in.ConsumeBool())
        return std::to_string(in.ConsumeIntegralInRange(-12, 12));
    std::string text = in.ConsumeRandomLengthString(8);
    try {
        const int hours = StrToInt(text);
        if (hours < -12 || hours > 12)
            text = hours < 0 ? "-12" : "12";
    } catch (const ConversionError&) {
    }
    return text;
}

TDateTime BirthDate(FuzzedDataProvider& in) {
    const int year = in.ConsumeIntegralInRange(2, 9998);
    const int month = in.ConsumeIntegralInRange(1, 12);
    TDateTime date = 0;
    for (int day = in.ConsumeIntegralInRange(1, 31);
         !TryEncodeDateTime(year, month, day, 0, 0, 0, 0, date);)
        --day; // past the month's end, or in the ten dates 5–14.10.1582
    return date;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (SetLunarWorkingStream(&DiscardingStream()), true);
    (void)quiet;
    FuzzedDataProvider in(data, size);

    CalculationState& state = SharedCalculationState();
    state = CalculationState{};
    state.ComputerZoneOffset = in.ConsumeIntegralInRange(-48, 56) / 96.0; // −12 … 14 h by quarters

    FuzzView view;
    view.latitude = CoordinateText(in);
    view.longitude = CoordinateText(in);
    view.lunarDay = in.ConsumeBool() ? std::string() : in.ConsumeRandomLengthString(4);
    view.zoneHours = ZoneHoursText(in);
    view.listing = in.ConsumeBool();
    view.birthDate = BirthDate(in);
    view.birthTime = in.ConsumeIntegralInRange(0, 86'399'999) / 86'400'000.0;

    FuzzLookup lookup;
    if (in.ConsumeBool())
        lookup.record =
            CalendarDayRecord{in.ConsumeRandomLengthString(2), in.ConsumeRandomLengthString(32)};

    try {
        RunCalculationCommand(view, lookup);
    } catch (const ConversionError&) {
    }
    return 0;
}
