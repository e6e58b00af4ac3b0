// A zone's rules over arbitrary bytes: the compiled zone file and its footer
// TZ string parsed, then the clock asked at moments across the years 1 to
// 9999. Every period found contains its moment, and a local reading's
// period has an offset within a zone file's bounds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "place/posix_zone_rule.h"
#include "place/zone_rules.h"

using namespace toravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ParsePosixZoneRule(bytes);
    const std::optional<ZoneRules> rules = ZoneRules::FromZoneFile(bytes);
    if (!rules)
        return 0;
    // From the year 1 to the year 9999, in steps of about 37 years.
    for (std::int64_t second = -62135596800; second < 253402300800; second += 1170000000) {
        const ZonePeriod period = rules->PeriodAt(second);
        if (second < period.begin || second >= period.end)
            std::abort();
        const LocalReadingPeriod local = rules->PeriodOfLocalReading(second * 1000);
        if (local.period.offsetSeconds < -89999 || local.period.offsetSeconds > 93599)
            std::abort();
    }
    return 0;
}
