// What the calculation command reads from, and does to, the main window,
// without any window toolkit. The main window and the command-line front end
// implement it; tests implement it with a fake that records every effect.
//
// Texts are UTF-8. Dates are TDateTime values as the pickers hold them.
#pragma once

#include <string>

#include "horoscope/character_format.h"
#include "lunar/lunar_calendar_view.h"
#include "platform/tdatetime.h"

namespace toravel {

class HoroscopeView : public LunarCalendarView {
public:
    // Inherited inputs: LatitudeText() is Edit2, LongitudeText() is Edit3,
    // ListingWanted() is CheckBox1 ("добавить даты для проверки").
    // Inherited output: AppendLine() appends in the area's current format.

    // Text of Edit1, the lunar day as the user typed it (maybe blank), untrimmed.
    virtual std::string LunarDayFieldText() const = 0;
    // Text of CSpinEdit1, the birthplace's offset from Greenwich in whole hours,
    // as the spin box holds it (maybe empty or not a number).
    virtual std::string ZoneHoursText() const = 0;
    // Value of DateTimePicker1; the command uses its date only.
    virtual TDateTime BirthDate() const = 0;
    // Value of DateTimePicker2; the command uses its time of day only.
    virtual TDateTime BirthTime() const = 0;

    // Empties the report area RichEdit1.
    virtual void ClearReport() = 0;
    // Sets the area's character format, then appends one line in it; the
    // format stays for lines appended after it with AppendLine().
    virtual void AppendFormattedLine(const CharacterFormat& format, const std::string& line) = 0;
    // Shows a modal message box with the text (one OK button, the application
    // title as caption) and returns when the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
    // Enables the four picture buttons, Button3 to Button6.
    virtual void EnablePictureButtons() = 0;
};

} // namespace toravel
