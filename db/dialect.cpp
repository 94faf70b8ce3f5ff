#include "db/dialect.h"

namespace db {

// Empty texts and plain numbers take the cheap first branches; the full test runs only for
// the rest.
QString numberSql(const QString &column, bool postgres)
{
    const QString t = QStringLiteral("trim(%1)").arg(column);
    if (postgres)
        return QStringLiteral("(case when %1 = '' then 0"
                              " when %1 <> '.' and translate(%1, '0123456789', '') in ('', '.')"
                              " then cast(%1 as double precision)"
                              " when %2 ~ '^[+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)$' then cast(%2 as double precision)"
                              " else 0 end)")
            .arg(column, t);
    const QString s = QStringLiteral("(case when substr(%1,1,1) in ('+','-') then substr(%1,2) else %1 end)").arg(t);
    return QStringLiteral("(case when %1 = '' then 0"
                          " when %1 glob '*[0-9]*' and %1 not glob '*[^0-9.]*' and %1 not glob '*.*.*' then cast(%1 as real)"
                          " when %2 glob '*[0-9]*' and %2 not glob '*[^0-9.]*' and %2 not glob '*.*.*' then cast(%3 as real)"
                          " else 0 end)")
        .arg(column, s, t);
}

namespace {
// The Persian yeh and keheh, and the Arabic forms they compare as.
const QString kPersianYeh = QStringLiteral("\u06CC");
const QString kArabicYeh = QStringLiteral("\u064A");
const QString kKeheh = QStringLiteral("\u06A9");
const QString kArabicKaf = QStringLiteral("\u0643");
} // namespace

QString foldedSql(const QString &column)
{
    // trim() of both databases removes the blanks only, as foldedText does.
    return QStringLiteral("replace(replace(trim(%1),'%2','%3'),'%4','%5')")
        .arg(column, kPersianYeh, kArabicYeh, kKeheh, kArabicKaf);
}

QString foldedText(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && text.at(e - 1) == QLatin1Char(' '))
        --e;
    QString s = text.mid(b, e - b);
    s.replace(kPersianYeh, kArabicYeh);
    s.replace(kKeheh, kArabicKaf);
    return s;
}

} // namespace db
