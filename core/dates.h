#pragma once
// Solar Hijri (Jalali) calendar: the official arithmetic with the 33-year leap cycles
// and their break years, valid for years -61 to 3177.
#include <QDate>
#include <QString>

struct TSolarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const TSolarDate &) const = default;
};

TSolarDate toSolar(const QDate &gregorian);
QDate fromSolar(int year, int month, int day);
bool isSolarLeapYear(int year);
int solarMonthDays(int year, int month);

// A date as the date boxes hold it: a real Solar date "yyyy/mm/dd" (year 1 to 3177, month 1 to
// 12, the day within that month of that year), or the empty date ("" or "    /  /  ").
bool isSolarDateOrEmpty(const QString &text);

// Today's Solar date, set by InitToday (from the system clock, or a given day in tests).
TSolarDate &SolarToday();
void InitToday();
void InitToday(const QDate &today);
// Makes the clock read `day` from now on (a null date gives the system clock back); for tests
// and demonstrations, so that a window that reads the clock shows a known day.
void PinClock(const QDate &day);
// SolarToday as "yyyy/mm/dd".
QString SolarDateText();
QString SolarDateText(const TSolarDate &d);
