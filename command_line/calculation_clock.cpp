#include "command_line/calculation_clock.h"

#include "platform/conversions.h"

namespace toravel::command_line {
namespace {

std::string ClockTextOf(TDateTime local) {
    int year, month, day, hour, minute, second, millisecond;
    DecodeDateTime(local, year, month, day, hour, minute, second, millisecond);
    return DateToStr(local) + " " + (hour < 10 ? "0" : "") + std::to_string(hour) + ":" +
           (minute < 10 ? "0" : "") + std::to_string(minute);
}

// ", Europe/Moscow, летнее время"; empty for a fixed offset.
std::string ZoneWords(const CalculationClock& clock) {
    if (clock.zoneName.empty())
        return {};
    std::string text = ", " + clock.zoneName;
    if (clock.summerTime)
        text += ", летнее время";
    else if (clock.keepsDaylightTime)
        text += ", зимнее время";
    return text;
}

} // namespace

CalculationClock FixedClock(int offsetSeconds) {
    CalculationClock clock;
    clock.source = ClockSource::UtcOffset;
    clock.offsetSeconds = offsetSeconds;
    return clock;
}

CalculationClock WindowClock(int zoneHours, const ComputerZone& computer) {
    CalculationClock clock;
    clock.source = ClockSource::Zone;
    clock.zoneHours = zoneHours;
    clock.computer = computer;
    clock.offsetSeconds = computer.offsetSeconds + zoneHours * 3600;
    return clock;
}

std::optional<CalculationClock> ZoneClock(ClockSource source, const std::string& zoneName,
                                          TDateTime birthLocal) {
    const std::optional<BirthplaceOffset> offset = BirthplaceOffsetAt(zoneName, birthLocal);
    if (!offset)
        return std::nullopt;
    CalculationClock clock;
    clock.source = source;
    clock.offsetSeconds = offset->offsetSeconds;
    clock.zoneName = zoneName;
    clock.summerTime = offset->summerTime;
    clock.keepsDaylightTime = offset->keepsDaylightTimeThatYear;
    clock.reading = offset->reading;
    return clock;
}

void ApplyClock(const CalculationClock& clock, CommandView& view, CalculationState& state) {
    if (clock.source == ClockSource::Zone) {
        view.zoneHours = std::to_string(clock.zoneHours);
        state.ComputerZoneOffset = clock.computer.offsetDays;
        return;
    }
    // The clock is the offset alone: seconds / 86 400 is the same double as
    // the window's hours / 24 wherever the offset is whole hours.
    view.zoneHours = "0";
    state.ComputerZoneOffset = clock.offsetSeconds / 86400.0;
}

const char* ClockSourceName(ClockSource source) {
    switch (source) {
    case ClockSource::Zone:
        return "zone";
    case ClockSource::UtcOffset:
        return "utc_offset";
    case ClockSource::ZoneName:
        return "zone_name";
    case ClockSource::AutoZone:
        return "auto_zone";
    }
    return "zone";
}

std::string ClockDescription(const CalculationClock& clock) {
    if (clock.source == ClockSource::Zone) {
        std::string text = std::to_string(clock.zoneHours) + " ч";
        if (clock.computer.offsetSeconds != 0)
            text += " и разница компьютера " + ComputerOffsetText(clock.computer.offsetSeconds);
        return text;
    }
    return UtcOffsetText(clock.offsetSeconds) + ZoneWords(clock);
}

std::string ClockLabel(const CalculationClock& clock) {
    return UtcOffsetLabel(clock.offsetSeconds) + ZoneWords(clock);
}

std::string ClockReadingWarning(const CalculationClock& clock, TDateTime birthLocal) {
    switch (clock.reading) {
    case LocalClockReading::Unique:
        return {};
    case LocalClockReading::Skipped:
        return "в " + clock.zoneName + " часы перевели вперед и время " + ClockTextOf(birthLocal) +
               " пропустили; взято смещение до перевода, " + UtcOffsetText(clock.offsetSeconds);
    case LocalClockReading::Repeated:
        return "в " + clock.zoneName + " часы перевели назад и время " + ClockTextOf(birthLocal) +
               " было дважды; взято первое, со смещением " + UtcOffsetText(clock.offsetSeconds);
    }
    return {};
}

} // namespace toravel::command_line
