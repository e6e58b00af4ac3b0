#include "place/zone_rules.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace toravel {
namespace {

constexpr std::int64_t SecondsPerDay = 86400;
constexpr std::int64_t Min64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Max64 = std::numeric_limits<std::int64_t>::max();

// The offsets a zone file may hold (RFC 8536: −24:59:59 to +25:59:59); a
// local reading therefore lies within a day and two hours of its moment.
constexpr int LowestOffset = -89999;
constexpr int HighestOffset = 93599;
constexpr std::int64_t ReadingReach = 26 * 3600 + 1;

// Beyond ±10^15 s (thirty million years) a moment counts as the open end of
// time, so that a file's "big bang" first change (−2^59) cannot overflow the
// millisecond arithmetic of local readings.
constexpr std::int64_t FarSecond = 1'000'000'000'000'000;

// Zone files hold a few hundred changes; the bound only keeps a damaged
// file from asking for gigabytes.
constexpr std::uint32_t MaxChanges = 100000;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// A big-endian reader over the file's bytes that fails once and stays failed.
class ZoneFileReader {
public:
    explicit ZoneFileReader(std::string_view bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t position() const { return pos_; }

    std::string_view Take(std::size_t count) {
        if (!ok_ || bytes_.size() - pos_ < count) {
            ok_ = false;
            return {};
        }
        const std::string_view part = bytes_.substr(pos_, count);
        pos_ += count;
        return part;
    }

    std::uint64_t Unsigned(std::size_t width) {
        std::uint64_t value = 0;
        for (const char c : Take(width))
            value = value << 8 | static_cast<unsigned char>(c);
        return value;
    }

    std::int64_t Signed(std::size_t width) {
        const std::uint64_t value = Unsigned(width);
        if (width == 4)
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return static_cast<std::int64_t>(value);
    }

    std::string_view Rest() { return Take(bytes_.size() - pos_); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

struct ZoneFileHeader {
    char version = 0;
    std::uint32_t isUtCount = 0, isStdCount = 0, leapCount = 0, changeCount = 0, typeCount = 0,
                  charCount = 0;
};

std::optional<ZoneFileHeader> ReadHeader(ZoneFileReader& in) {
    if (in.Take(4) != "TZif")
        return std::nullopt;
    ZoneFileHeader header;
    const std::string_view version = in.Take(1);
    in.Take(15);
    header.isUtCount = static_cast<std::uint32_t>(in.Unsigned(4));
    header.isStdCount = static_cast<std::uint32_t>(in.Unsigned(4));
    header.leapCount = static_cast<std::uint32_t>(in.Unsigned(4));
    header.changeCount = static_cast<std::uint32_t>(in.Unsigned(4));
    header.typeCount = static_cast<std::uint32_t>(in.Unsigned(4));
    header.charCount = static_cast<std::uint32_t>(in.Unsigned(4));
    if (!in.ok())
        return std::nullopt;
    header.version = version[0];
    const bool soundCounts = header.typeCount >= 1 && header.typeCount <= 256 &&
                             header.changeCount <= MaxChanges &&
                             (header.isUtCount == 0 || header.isUtCount == header.typeCount) &&
                             (header.isStdCount == 0 || header.isStdCount == header.typeCount);
    if (!soundCounts)
        return std::nullopt;
    return header;
}

std::size_t DataBlockSize(const ZoneFileHeader& h, std::size_t timeWidth) {
    return std::size_t{h.changeCount} * (timeWidth + 1) + std::size_t{h.typeCount} * 6 +
           h.charCount + std::size_t{h.leapCount} * (timeWidth + 4) + h.isStdCount + h.isUtCount;
}

} // namespace

std::optional<ZoneRules> ZoneRules::FromZoneFile(std::string_view bytes) {
    ZoneFileReader in(bytes);
    std::optional<ZoneFileHeader> header = ReadHeader(in);
    if (!header)
        return std::nullopt;
    std::size_t timeWidth = 4;
    if (header->version != '\0') {
        // Version 2 and later repeat the data with 64-bit times, then the
        // footer; the first, 32-bit block is skipped.
        in.Take(DataBlockSize(*header, 4));
        header = ReadHeader(in);
        if (!header)
            return std::nullopt;
        timeWidth = 8;
    }
    if (header->leapCount != 0)
        return std::nullopt;

    ZoneRules rules;
    rules.changes_.reserve(header->changeCount);
    for (std::uint32_t i = 0; i < header->changeCount; ++i) {
        const std::int64_t change = in.Signed(timeWidth);
        if (!rules.changes_.empty() && change <= rules.changes_.back())
            return std::nullopt;
        rules.changes_.push_back(change);
    }
    const std::string_view typeIndexes = in.Take(header->changeCount);
    for (const char index : typeIndexes) {
        if (static_cast<unsigned char>(index) >= header->typeCount)
            return std::nullopt;
        rules.changeType_.push_back(static_cast<std::uint8_t>(index));
    }
    for (std::uint32_t i = 0; i < header->typeCount; ++i) {
        const std::int64_t offset = in.Signed(4);
        const std::string_view isDst = in.Take(1);
        in.Take(1); // the abbreviation's index
        if (!in.ok() || offset < LowestOffset || offset > HighestOffset || isDst[0] > 1)
            return std::nullopt;
        rules.types_.push_back({static_cast<int>(offset), isDst[0] == 1});
    }
    in.Take(header->charCount);
    in.Take(std::size_t{header->isStdCount} + header->isUtCount);
    if (!in.ok())
        return std::nullopt;

    if (timeWidth == 8) {
        // "\n" TZ string "\n"; an empty or unreadable string leaves the last
        // listed clock in force.
        const std::string_view rest = in.Rest();
        if (rest.size() < 2 || rest.front() != '\n')
            return std::nullopt;
        const std::size_t close = rest.find('\n', 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        rules.footer_ = ParsePosixZoneRule(rest.substr(1, close - 1));
    }
    return rules;
}

ZonePeriod ZoneRules::PeriodAt(std::int64_t second) const {
    if (changes_.empty()) {
        if (footer_)
            return FooterPeriodAt(second);
        return {Min64, Max64, types_[0].offsetSeconds, types_[0].daylight};
    }
    if (second < changes_.front())
        return {Min64, changes_.front(), types_[0].offsetSeconds, types_[0].daylight};
    const std::size_t i =
        static_cast<std::size_t>(std::upper_bound(changes_.begin(), changes_.end(), second) -
                                 changes_.begin()) -
        1;
    if (i + 1 < changes_.size()) {
        const TimeType& type = types_[changeType_[i]];
        return {changes_[i], changes_[i + 1], type.offsetSeconds, type.daylight};
    }
    if (footer_) {
        ZonePeriod period = FooterPeriodAt(second);
        period.begin = std::max(period.begin, changes_.back());
        return period;
    }
    const TimeType& last = types_[changeType_.back()];
    return {changes_.back(), Max64, last.offsetSeconds, last.daylight};
}

ZonePeriod ZoneRules::FooterPeriodAt(std::int64_t second) const {
    const PosixZoneRule& rule = *footer_;
    if (!rule.hasDaylightTime)
        return {Min64, Max64, rule.standardOffsetSeconds, false};

    // The changes of the years around the moment; a change may fall up to a
    // week into the next year (a time of 167 hours), so two years either side.
    struct Change {
        std::int64_t moment;
        bool daylightAfter;
    };
    const std::int64_t clamped = std::clamp(second, -FarSecond, FarSecond);
    const std::int64_t year =
        CivilYearOfDay(FloorDiv(clamped + rule.standardOffsetSeconds, SecondsPerDay));
    std::array<Change, 10> changes{};
    std::size_t count = 0;
    for (std::int64_t y = year - 2; y <= year + 2; ++y) {
        const DaylightChanges c = DaylightChangesOfYear(rule, static_cast<int>(y));
        changes[count++] = {c.start, true};
        changes[count++] = {c.end, false};
    }
    // At equal moments the start comes last, so that summer time all year
    // ("0/0,J365/25": ends and starts again at each new year) stays summer time.
    std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
        return a.moment != b.moment ? a.moment < b.moment : a.daylightAfter < b.daylightAfter;
    });

    ZonePeriod period;
    bool daylight = !changes.front().daylightAfter;
    for (const Change& change : changes) {
        if (change.moment <= second) {
            period.begin = change.moment;
            daylight = change.daylightAfter;
        } else {
            period.end = change.moment;
            break;
        }
    }
    period.daylight = daylight;
    period.offsetSeconds = daylight ? rule.daylightOffsetSeconds : rule.standardOffsetSeconds;
    return period;
}

LocalReadingPeriod ZoneRules::PeriodOfLocalReading(std::int64_t localMillisecond) const {
    const std::int64_t localSecond = FloorDiv(localMillisecond, 1000);
    // Where the reading's local span of a period begins and ends, in
    // milliseconds, with the open ends kept open.
    auto localMillisecondOf = [](std::int64_t second, int offset) {
        if (second <= -FarSecond)
            return Min64;
        if (second >= FarSecond)
            return Max64;
        return (second + offset) * 1000;
    };
    auto localBegin = [&](const ZonePeriod& p) {
        return localMillisecondOf(p.begin, p.offsetSeconds);
    };
    auto localEnd = [&](const ZonePeriod& p) { return localMillisecondOf(p.end, p.offsetSeconds); };

    std::optional<ZonePeriod> first;
    int matches = 0;
    std::optional<ZonePeriod> lastBefore; // the last period whose clock ended before the reading
    ZonePeriod period = PeriodAt(localSecond - ReadingReach);
    // The moment of the reading lies within ReadingReach of it; a handful of
    // periods cover that span, the bound only guards a pathological file.
    for (int i = 0; i < 1000; ++i) {
        if (localBegin(period) <= localMillisecond && localMillisecond < localEnd(period)) {
            if (!first)
                first = period;
            ++matches;
        } else if (localEnd(period) <= localMillisecond) {
            lastBefore = period;
        }
        if (period.end == Max64 || period.end > localSecond + ReadingReach)
            break;
        period = PeriodAt(period.end);
    }
    if (first)
        return {*first, matches > 1 ? LocalClockReading::Repeated : LocalClockReading::Unique};
    return {lastBefore.value_or(period), LocalClockReading::Skipped};
}

} // namespace toravel
