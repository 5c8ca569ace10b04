#pragma once

#include <QDateTime>

// Calendar arithmetic on instants. Every operation uses the user's calendar in the local time zone
// (ICU's default zone), read at each call; midnight means 00:00:00 local time, or the first instant of
// the day where the clocks skip midnight. Results are UTC instants. Safe to call from any thread: each
// thread keeps its own calendar.
//
// Days are calendar days, not multiples of 86400 seconds: on days with 23 or 25 hours, moving by days
// still lands on the midnight of the intended day, and the end of a day is always 23:59:59 of that day.

// Midnight at the start of d's local calendar day.
QDateTime kz_normalizedToMidnight(const QDateTime& d);
// The hour of d in local time, 0 to 23.
int kz_hour(const QDateTime& d);
// Midnight of the calendar day n days after d's own day (n may be negative).
QDateTime kz_dateByAddingDays(const QDateTime& d, qint64 n);
QDateTime kz_dateByRemovingDays(const QDateTime& d, qint64 n);
// 23:59:59 of d's day: the next day's midnight minus one second.
QDateTime kz_endOfDay(const QDateTime& d);
// Midnight of the first day of d's month.
QDateTime kz_beginningOfMonth(const QDateTime& d);
// Midnight at the start of the last day of d's month.
QDateTime kz_endOfMonth(const QDateTime& d);
// Midnight of the first day of d's year.
QDateTime kz_beginningOfYear(const QDateTime& d);
// Midnight at the start of the last day of d's year.
QDateTime kz_endOfYear(const QDateTime& d);
// Midnight of the day n calendar months (years) after d's day; the day of the month is kept, or
// clamped to the last day of a shorter month (March 31 minus one month is February 28 or 29).
QDateTime kz_dateByAddingMonths(const QDateTime& d, int n);
QDateTime kz_dateByAddingYears(const QDateTime& d, int n);
