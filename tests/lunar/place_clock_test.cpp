// The place's clock against the birthplace offset that --auto-zone and the
// zone hint use, and the offsets a local day runs on.
#include "lunar/place_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "lunar/lunar_month_error.h"
#include "place/birthplace_zone.h"
#include "platform/tdatetime.h"

namespace toravel {
namespace {

std::int64_t Seconds(TDateTime t) {
    return static_cast<std::int64_t>(std::llround(t * 86400.0));
}

PlaceClock ClockOfYear(const char* zone, int year) {
    return PlaceClock({0.0, 0.0, zone}, Seconds(EncodeDateTime(year, 1, 1)) - 86400,
                      Seconds(EncodeDateTime(year + 1, 1, 1)) + 86400);
}

// Every reading of the year at 12:00, and the readings the clock changes skip
// or repeat, take the offset that the birthplace offset of a birth then takes.
TEST(PlaceClock, ReadsLocalTimesAsTheBirthplaceOffsetDoes) {
    const struct {
        const char* zone;
        int year;
    } zones[] = {{"Europe/Berlin", 2026},    {"Europe/Moscow", 2014}, {"America/New_York", 2026},
                 {"Australia/Sydney", 2026}, {"Asia/Kolkata", 2026},  {"Europe/Dublin", 2026}};
    for (const auto& z : zones) {
        const PlaceClock clock = ClockOfYear(z.zone, z.year);
        for (TDateTime day = EncodeDateTime(z.year, 1, 1); day < EncodeDateTime(z.year + 1, 1, 1);
             day += 1.0) {
            for (const double hour : {0.0, 2.5, 12.0}) {
                const TDateTime local = day + hour / 24.0;
                const auto expected = BirthplaceOffsetAt(z.zone, local);
                ASSERT_TRUE(expected.has_value());
                ASSERT_EQ(clock.OffsetAtLocal(Seconds(local)), expected->offsetSeconds)
                    << z.zone << " " << local;
            }
        }
    }
}

std::vector<int> OffsetsOfDay(const PlaceClock& clock, TDateTime day) {
    std::vector<int> offsets;
    clock.ForEachOffsetOfLocalDay(Seconds(day), [&](int offset) { offsets.push_back(offset); });
    return offsets;
}

TEST(PlaceClock, TheDayOfAChangeRunsOnBothClocks) {
    const PlaceClock berlin = ClockOfYear("Europe/Berlin", 2026);
    EXPECT_EQ(OffsetsOfDay(berlin, EncodeDateTime(2026, 3, 28)), std::vector<int>{3600});
    EXPECT_EQ(OffsetsOfDay(berlin, EncodeDateTime(2026, 3, 29)), (std::vector<int>{3600, 7200}));
    EXPECT_EQ(OffsetsOfDay(berlin, EncodeDateTime(2026, 3, 30)), std::vector<int>{7200});
    EXPECT_EQ(OffsetsOfDay(berlin, EncodeDateTime(2026, 10, 25)), (std::vector<int>{7200, 3600}));

    // Moscow left UTC+4 for UTC+3 at 02:00 on 26.10.2014 (25.10 22:00 UT).
    const PlaceClock moscow = ClockOfYear("Europe/Moscow", 2014);
    EXPECT_EQ(OffsetsOfDay(moscow, EncodeDateTime(2014, 10, 26)), (std::vector<int>{14400, 10800}));
    const std::int64_t change = Seconds(EncodeDateTime(2014, 10, 25, 22));
    EXPECT_EQ(moscow.OffsetAtUniversal(change - 1), 14400);
    EXPECT_EQ(moscow.OffsetAtUniversal(change), 10800);
    // 01:30 comes twice that night; its first time is on the old clock.
    EXPECT_EQ(moscow.LocalToUniversal(Seconds(EncodeDateTime(2014, 10, 26, 1, 30))), change - 1800);
}

TEST(PlaceClock, MomentsBeyondTheSpanTakeTheOffsetOfItsEnds) {
    const PlaceClock berlin = ClockOfYear("Europe/Berlin", 2026);
    EXPECT_EQ(berlin.OffsetAtUniversal(0), 3600);
    EXPECT_EQ(berlin.OffsetAtUniversal(Seconds(EncodeDateTime(2030, 7, 1))), 3600);
}

TEST(PlaceClock, AFixedOffsetNeverChanges) {
    const PlaceClock clock({10.0, 20.0, " ", 5 * 3600 + 1800}, 0, 86400 * 400);
    EXPECT_EQ(clock.OffsetAtUniversal(86400 * 200), 19800);
    EXPECT_EQ(clock.OffsetAtLocal(86400 * 200), 19800);
    EXPECT_EQ(OffsetsOfDay(clock, 200.0), std::vector<int>{19800});
}

TEST(PlaceClock, AnUnknownZoneIsRefused) {
    EXPECT_THROW(PlaceClock({0, 0, "Europe/Atlantis"}, 0, 86400), LunarMonthError);
    EXPECT_THROW(PlaceClock({0, 0, "../../etc/passwd"}, 0, 86400), LunarMonthError);
}

} // namespace
} // namespace toravel
