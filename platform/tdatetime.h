// TDateTime: a date and time as days since 30 December 1899 0h.
//
// A value's day is floor(t) and its time of day t − floor(t), also for dates
// before 30.12.1899 (negative values). Every TDateTime is made by one encoder,
// whole days + (milliseconds of the day)/86 400 000 in a single division, so
// the same minute reached by different paths (a birth moment, a moonrise read
// back from text) is the same double: the tie rules of the lunar day rely on
// that. Years 1 to 9999, in the astronomical library's calendar: Julian up to
// 4.10.1582, Gregorian from 15.10.1582 (the ten dates between do not exist).
#pragma once

namespace toravel {

using TDateTime = double;

// False, and result untouched, when a field is out of range (month 1–12, day
// within the month, not 5–14.10.1582, hour 0–23, minute and second 0–59, millisecond 0–999,
// year 1–9999).
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, TDateTime& result);

// As above for fields known to be valid; throws std::invalid_argument if not.
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                         int millisecond = 0);

// The calendar fields of t, the time of day rounded to the nearest millisecond
// (a value within half a millisecond of midnight gives the next day 0:00).
// Throws std::out_of_range for values outside the years 1 to 9999 and NaN.
void DecodeDateTime(TDateTime t, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& millisecond);

// The whole day of t (its midnight) and its time of day in [0, 1).
TDateTime DateOf(TDateTime t);
double TimeOf(TDateTime t);

// The computer's present local date and time to the millisecond, from the
// system clock and the computer's time zone, and today's local midnight.
TDateTime Now();
TDateTime Today();

} // namespace toravel
