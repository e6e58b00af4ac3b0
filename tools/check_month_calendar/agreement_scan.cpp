#include "tools/check_month_calendar/agreement_scan.h"

#include <cstdio>
#include <optional>

#include "horoscope/calculation_command.h"
#include "horoscope/horoscope_view.h"
#include "lunar/calculation_state.h"
#include "lunar/lunar_month.h"
#include "place/birthplace_zone_hint.h"
#include "platform/conversions.h"

namespace toravel::tools {
namespace {

// The main window's inputs for one birth; the report goes nowhere.
class BirthView : public HoroscopeView {
public:
    std::string latitude, longitude, zoneHours;
    TDateTime date = 0.0, time = 0.0;

    std::string LatitudeText() const override { return latitude; }
    std::string LongitudeText() const override { return longitude; }
    bool ListingWanted() const override { return false; }
    void AppendLine(const std::string&) override {}
    std::string LunarDayFieldText() const override { return {}; }
    std::string ZoneHoursText() const override { return zoneHours; }
    TDateTime BirthDate() const override { return date; }
    TDateTime BirthTime() const override { return time; }
    void ClearReport() override {}
    void AppendFormattedLine(const CharacterFormat&, const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    void EnablePictureButtons() override {}
};

class NoRecords : public CalendarDayLookup {
public:
    std::optional<CalendarDayRecord> FindCalendarDay(int, int) override { return std::nullopt; }
};

} // namespace

long ScanAgreement(const AgreementPlace& place, int firstYear, int lastYear) {
    const CalendarPlace calendarPlace{StrToFloat(place.latitudeText),
                                      StrToFloat(place.longitudeText), place.zone};
    BirthView view;
    view.latitude = place.latitudeText;
    view.longitude = place.longitudeText;
    NoRecords records;
    long compared = 0;
    long disagreements = 0;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const LunarMonth lunar = ComputeLunarMonth(calendarPlace, {year, month});
            for (const LunarMonthDay& day : lunar.days) {
                for (const double hour : {0.0, 12.0}) {
                    const TDateTime local = day.date + hour / 24.0;
                    const BirthplaceZoneHint hint = MakeBirthplaceZoneHint(place.zone, local, 0);
                    if (!hint.canApply)
                        continue; // beyond the spin box: no calculation to compare with
                    view.zoneHours = std::to_string(*hint.spinValue);
                    view.date = DateOf(local);
                    view.time = TimeOf(local);
                    CalculationState& state = SharedCalculationState();
                    state.ComputerZoneOffset = 0.0;
                    RunCalculationCommand(view, records);
                    const int shown = LunarDayInForceAt(day, {local, hint.offset->offsetSeconds});
                    ++compared;
                    if (shown != state.LunarDay) {
                        ++disagreements;
                        std::printf("  %s %s UTC%s: calendar %d, calculation %d\n",
                                    place.name.c_str(), DateTimeToStr(local).c_str(),
                                    UtcOffsetText(hint.offset->offsetSeconds).c_str(), shown,
                                    state.LunarDay);
                    }
                }
            }
        }
    }
    std::printf("%s, %d–%d: %ld moments, %ld disagreements\n", place.name.c_str(), firstYear,
                lastYear, compared, disagreements);
    std::fflush(stdout);
    return disagreements;
}

} // namespace toravel::tools
