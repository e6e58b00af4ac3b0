#include "astro/calendar.h"

#include <cmath>

#include "astro/sexagesimal.h"

namespace toravel {

double ModifiedJulianDate(int year, int month, int day, int hour, int minute, double second) {
    int y = year;
    int mo = month;
    if (mo <= 2) { // January and February are months 13 and 14 of the year before
        mo += 12;
        y -= 1;
    }
    const int key = 10000 * y + 100 * mo + day;
    int b;
    if (key <= 15821004) { // Julian calendar up to 1582-10-04
        b = (y + 4716) / 4 - 1181;
    } else {
        b = y / 400 - y / 100 + y / 4;
    }
    const int midnight = 365 * y - 679004 + b + static_cast<int>(30.6001 * (mo + 1)) + day;
    return midnight + DegreesFromDms(hour, minute, second) / 24.0;
}

void CalendarFromMjd(double mjd, int& year, int& month, int& day, double& hours) {
    // Julian day number of the civil day that holds the moment.
    const int a = static_cast<int>(mjd + 2400001.0);
    int c;
    if (a < 2299161) { // before 1582-10-15
        c = a + 1524;
    } else {
        // Exact integers at 1900-03-01 and 2300-03-01: a correctly rounded
        // division gives 15 and 19 there.
        const int b = static_cast<int>((a - 1867216.25) / 36524.25);
        c = a + b - b / 4 + 1525;
    }
    const int d = static_cast<int>((c - 122.1) / 365.25);
    const int e = 365 * d + d / 4;
    const int f = static_cast<int>((c - e) / 30.6001);
    day = c - e - static_cast<int>(30.6001 * f);
    month = f - 1 - 12 * (f / 14);
    year = d - 4715 - (7 + month) / 10;
    hours = 24.0 * (mjd - std::floor(mjd));
}

void CalendarFromMjd(double mjd, int& year, int& month, int& day, int& hour, int& minute,
                     double& second) {
    double hours;
    CalendarFromMjd(mjd, year, month, day, hours);
    DmsFromDegrees(hours, hour, minute, second);
}

} // namespace toravel
