// Calendar dates and the Modified Julian Date.
//
// MJD: days and fractions of a day since 1858-11-17 0h (Julian Date minus
// 2400000.5), in universal time. Dates up to 1582-10-04 are Julian, from
// 1582-10-15 on Gregorian; the ten dates between, which never existed, are
// computed by the Gregorian rule. Valid for every date from year 1 on.
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
