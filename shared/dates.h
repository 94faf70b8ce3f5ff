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

// Today's Solar date, set by InitToday (from the system clock, or a given day in tests).
TSolarDate &SolarToday();
void InitToday(const QDate &today = QDate::currentDate());
// SolarToday as "yyyy/mm/dd".
QString SolarDateText();
QString SolarDateText(const TSolarDate &d);
