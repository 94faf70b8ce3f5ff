#include "shared/numwords.h"

#include <QStringList>

namespace {

// Every word carries a blank on both sides; the words for four, fourteen, forty and four
// hundred end with a zero-width non-joiner before the blank.
const QStringList &unitWords() // 1 .. 19
{
    static const QStringList w = {
        QStringLiteral(" يک "),
        QStringLiteral(" دو "),
        QStringLiteral(" سه "),
        QStringLiteral(" چهار‌ "),
        QStringLiteral(" پنج "),
        QStringLiteral(" شش "),
        QStringLiteral(" هفت "),
        QStringLiteral(" هشت "),
        QStringLiteral(" نه "),
        QStringLiteral(" ده "),
        QStringLiteral(" يازده "),
        QStringLiteral(" دوازده "),
        QStringLiteral(" سيزده "),
        QStringLiteral(" چهارده‌ "),
        QStringLiteral(" پانزده "),
        QStringLiteral(" شانزده "),
        QStringLiteral(" هفده "),
        QStringLiteral(" هجده "),
        QStringLiteral(" نوزده "),
    };
    return w;
}

const QStringList &tensWords() // 20, 30 .. 90
{
    static const QStringList w = {
        QStringLiteral(" بيست "),
        QStringLiteral(" سي "),
        QStringLiteral(" چهل‌ "),
        QStringLiteral(" پنجاه "),
        QStringLiteral(" شصت "),
        QStringLiteral(" هفتاد "),
        QStringLiteral(" هشتاد "),
        QStringLiteral(" نود "),
    };
    return w;
}

const QStringList &hundredsWords() // 100, 200 .. 900
{
    static const QStringList w = {
        QStringLiteral(" صد "),
        QStringLiteral(" دويست "),
        QStringLiteral(" سيصد "),
        QStringLiteral(" چهارصد‌ "),
        QStringLiteral(" پانصد "),
        QStringLiteral(" ششصد "),
        QStringLiteral(" هفتصد "),
        QStringLiteral(" هشتصد "),
        QStringLiteral(" نهصد "),
    };
    return w;
}

const QString kAnd = QStringLiteral("و");        // joins tens, units and hundreds inside a group
const QString kGroupJoin = QStringLiteral(" و "); // joins the groups
const QString kScale[] = {QString(), QStringLiteral("هزار"), QStringLiteral("ميليون"), QStringLiteral("ميليارد")};
const QString kTon = QStringLiteral("تن");

// The words of one group of three digits (1 .. 999).
QString groupWords(int n)
{
    const int h = n / 100;
    const int rest = n % 100;
    QString restWords;
    if (rest >= 1 && rest <= 19) {
        restWords = unitWords().at(rest - 1);
    } else if (rest >= 20) {
        const int units = rest % 10;
        restWords = tensWords().at(rest / 10 - 2);
        if (units)
            restWords += kAnd + unitWords().at(units - 1);
    }
    if (!h)
        return restWords;
    QString words = hundredsWords().at(h - 1);
    if (rest)
        words += kAnd + restWords;
    return words;
}

} // namespace

QString NumberToWords(qint32 number, const QString &unit)
{
    QString text;
    if (number > 0) {
        int n = number;
        for (int group = 0; group < 4 && n > 0; ++group, n /= 1000) {
            const int g = n % 1000;
            if (!g)
                continue;
            if (!text.isEmpty())
                text = kGroupJoin + text;
            text = groupWords(g) + kScale[group] + text;
        }
    }
    if (!unit.isEmpty())
        text += QLatin1Char(' ') + unit;
    return text;
}

QString GetNum(qint32 number)
{
    return NumberToWords(number, kTon);
}

QString GroupDigits(const QString &text)
{
    // A number: an optional sign, the integer digits (any "," already there is dropped),
    // then an optional fraction that stays as it is. Other text is returned unchanged.
    int i = 0;
    const int n = text.size();
    QString sign;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        sign = text.at(i++);
    QString digits;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isDigit())
            digits += c;
        else if (c != QLatin1Char(',') || digits.isEmpty())
            break;
    }
    const QString fraction = text.mid(i);
    if (digits.isEmpty())
        return text;
    if (!fraction.isEmpty()) {
        if (fraction.at(0) != QLatin1Char('.') && fraction.at(0) != QChar(0x066B))
            return text;
        for (int k = 1; k < fraction.size(); ++k)
            if (!fraction.at(k).isDigit())
                return text;
    }
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 1);
    const int first = digits.size() % 3;
    for (int k = 0; k < digits.size(); ++k) {
        if (k > 0 && (k - first) % 3 == 0)
            grouped += QLatin1Char(',');
        grouped += digits.at(k);
    }
    return sign + grouped + fraction;
}
