// Calendar dates and the Modified Julian Date.
//
// MJD: days and fractions of a day since 1858-11-17 0h (Julian Date minus
// 2400000.5). The conversions know no time scale: the lunar calendar hands
// them universal time. Dates up to 1582-10-04 are Julian, from 1582-10-15 on
// Gregorian; the ten dates between, which never existed, are computed by the
// Gregorian rule.
//
// The algorithms are Meeus's (J. Meeus, Astronomical Algorithms, 2nd ed.
// 1998, ch. 7): the month counted from March so that a year's leap day comes
// last, the days before a month as trunc(30.6001·(month + 1)), and in the
// reverse direction the Gregorian century correction (a − 1867216.25)/
// 36524.25. ModifiedJulianDate counts the days in integers: 365·Y − 679004,
// the leap days Y/4 − Y/100 + Y/400 (Julian: (Y + 4716)/4 − 1181), the days
// before the month and the day.
// Valid for every date from year 1 on; every whole MJD from then to beyond
// the year 2400 survives the round trip unchanged.
#pragma once

namespace toravel {

// MJD of the given civil date and time of day.
double ModifiedJulianDate(int year, int month, int day, int hour, int minute, double second);

// Civil date of an MJD, and the hours of the day in [0, 24).
void CalendarFromMjd(double mjd, int& year, int& month, int& day, double& hours);

// Civil date and time of day of an MJD; seconds are not rounded.
void CalendarFromMjd(double mjd, int& year, int& month, int& day, int& hour, int& minute,
                     double& second);

} // namespace toravel
