#include "core/dates.h"

namespace {

constexpr int kBreaks[] = {-61,  9,    38,   199,  426,  686,  756,  818,  1111, 1181,
                           1210, 1635, 2060, 2097, 2192, 2262, 2324, 2394, 2456, 3178};

int divT(int a, int b) { return a / b; }          // truncates toward zero
int modT(int a, int b) { return a - (a / b) * b; }

struct JalCal {
    int leap;  // 0 = leap year
    int gy;    // Gregorian year of the Solar new year
    int march; // day in March of the Solar new year
};

JalCal jalCal(int jy)
{
    const int gy = jy + 621;
    int leapJ = -14;
    int jp = kBreaks[0];
    int jump = 0;
    for (std::size_t i = 1; i < std::size(kBreaks); ++i) {
        const int jm = kBreaks[i];
        jump = jm - jp;
        if (jy < jm)
            break;
        leapJ += divT(jump, 33) * 8 + divT(modT(jump, 33), 4);
        jp = jm;
    }
    int n = jy - jp;
    leapJ += divT(n, 33) * 8 + divT(modT(n, 33) + 3, 4);
    if (modT(jump, 33) == 4 && jump - n == 4)
        leapJ += 1;
    const int leapG = divT(gy, 4) - divT((divT(gy, 100) + 1) * 3, 4) - 150;
    const int march = 20 + leapJ - leapG;
    if (jump - n < 6)
        n = n - jump + divT(jump + 4, 33) * 33;
    int leap = modT(modT(n + 1, 33) - 1, 4);
    if (leap == -1)
        leap = 4;
    return {leap, gy, march};
}

TSolarDate &today()
{
    static TSolarDate d = toSolar(QDate::currentDate());
    return d;
}

} // namespace

bool isSolarLeapYear(int year)
{
    return jalCal(year).leap == 0;
}

int solarMonthDays(int year, int month)
{
    if (month <= 6)
        return 31;
    if (month <= 11)
        return 30;
    return isSolarLeapYear(year) ? 30 : 29;
}

bool isSolarDateOrEmpty(const QString &text)
{
    if (text.trimmed().isEmpty() || text == QLatin1String("    /  /  "))
        return true;
    if (text.size() != 10 || text.at(4) != QLatin1Char('/') || text.at(7) != QLatin1Char('/'))
        return false;
    for (int i = 0; i < 10; ++i)
        if (i != 4 && i != 7 && !(text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')))
            return false;
    const int y = text.left(4).toInt(), m = text.mid(5, 2).toInt(), d = text.mid(8, 2).toInt();
    return y >= 1 && y <= 3177 && m >= 1 && m <= 12 && d >= 1 && d <= solarMonthDays(y, m);
}

QDate fromSolar(int jy, int jm, int jd)
{
    const JalCal r = jalCal(jy);
    const qint64 base = QDate(r.gy, 3, r.march).toJulianDay();
    return QDate::fromJulianDay(base + (jm - 1) * 31 - divT(jm, 7) * (jm - 7) + jd - 1);
}

TSolarDate toSolar(const QDate &g)
{
    const qint64 jdn = g.toJulianDay();
    const int gy = g.year();
    int jy = gy - 621;
    const JalCal r = jalCal(jy);
    const qint64 first = QDate(gy, 3, r.march).toJulianDay();
    int k = int(jdn - first);
    if (k >= 0) {
        if (k <= 185)
            return {jy, 1 + divT(k, 31), modT(k, 31) + 1};
        k -= 186;
    } else {
        jy -= 1;
        k += 179;
        if (r.leap == 1)
            k += 1;
    }
    return {jy, 7 + divT(k, 30), modT(k, 30) + 1};
}

TSolarDate &SolarToday()
{
    return today();
}

static QDate &pinnedDay()
{
    static QDate day;
    return day;
}

void PinClock(const QDate &day)
{
    pinnedDay() = day;
}

void InitToday()
{
    InitToday(pinnedDay().isValid() ? pinnedDay() : QDate::currentDate());
}

void InitToday(const QDate &d)
{
    today() = toSolar(d);
}

QString SolarDateText(const TSolarDate &d)
{
    return QStringLiteral("%1/%2/%3")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

QString SolarDateText()
{
    return SolarDateText(SolarToday());
}
