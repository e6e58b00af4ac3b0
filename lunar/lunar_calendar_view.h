// What the lunar calendar reads from, and writes to, the main window: the
// latitude and longitude texts as typed, whether the check listings are
// wanted, and the report area to append lines to. The horoscope's window
// interface extends it; front ends and test fakes implement it.
#pragma once

#include <string>

namespace toravel {

class LunarCalendarView {
public:
    virtual ~LunarCalendarView() = default;

    // Latitude in degrees, positive north, as typed.
    virtual std::string LatitudeText() const = 0;
    // Longitude in degrees, positive east, as typed.
    virtual std::string LongitudeText() const = 0;
    // Whether the new moons and moonrises used are to be listed.
    virtual bool ListingWanted() const = 0;
    // Appends one line (UTF-8) to the report area in its current format.
    virtual void AppendLine(const std::string& line) = 0;
};

} // namespace toravel
