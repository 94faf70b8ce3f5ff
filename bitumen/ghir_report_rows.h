#pragma once
// What the bitumen window's reports and exports share: their texts and column tables, reading
// the allocations row by row, text columns read as numbers, sums and the files written.
#include "core/text_rules.h"
#include "core/dataset.h"
#include "core/money.h"
#include "core/errors.h"
#include "db/values.h"
#include "shared/exports.h"

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

class AppContext;
class QWidget;

namespace ghir_report {

inline const QString kOstan = QStringLiteral("ostan");
inline const QString kTitle = QStringLiteral("گزارش پروژه هاي قير");
inline const QString kGrandTotal = QStringLiteral("جمع کل");
inline const QString kProposedFile = QStringLiteral("rep.htm");
inline const QString kFixedHtml = QStringLiteral("Tobrenhal.htm");
inline const QString kEmptyDate = QStringLiteral("    /  /  ");
inline const QString kTehranLayout = QStringLiteral("TTEHRAN_CHAP");
// A text column that must be a number is not one: the column's title, the village, the
// contractor, the allocation's id and the text.
inline const QString kNotANumber = QStringLiteral("خطا! «%1» پروژه %2 - %3 (شناسه %4) عدد نيست: «%5»");
// An amount out of the money type's range: the column's title, the village, the contractor, the
// allocation's id and the text or the factors.
inline const QString kAmountOverLimit = QStringLiteral("خطا! «%1» پروژه %2 - %3 (شناسه %4) بزرگتر از حد مجاز است: «%5»");
// A total out of the money type's range: the column's title.
inline const QString kTotalOverLimit = QStringLiteral("خطا! جمع «%1» بزرگتر از حد مجاز است");
inline const QString &kProgressText = kExportProgress;

inline const QString kCity = QStringLiteral("شهرستان");
inline const QString kRosta = QStringLiteral("روستا");
inline const QString kPeymankar = QStringLiteral("پيمانکار");
inline const QString kPrjTyp = QStringLiteral("نوع پروژه");
inline const QString kTahatori = QStringLiteral("ميزان قير حواله");
inline const QString kGuarantee = QStringLiteral("معرفي به ضمانتنامه");
inline const QString kLetterNo = QStringLiteral("شماره معرفي نامه");
inline const QString kOilCompany = QStringLiteral("معرفي به شرکت نفت");
inline const QString kCentralOffice = QStringLiteral("تاييديه دفتر مرکزي");
inline const QString kRealised = QStringLiteral("قير محقق شده");

// The full title table of the grid's columns (general and complete workbooks, general web
// listing) and the county workbook's.
extern const QList<ExportColumn> kFullTitles;
extern const QList<ExportColumn> kCountyTitles;

// Positions of the columns of a select list written "city,rosta,peymankar".
struct Cols {
    QStringList names;
    explicit Cols(const char *list) : names(QString::fromLatin1(list).split(QLatin1Char(','))) {}
    int operator()(const QString &name) const { return names.indexOf(name); }
    int operator()(const char *name) const { return names.indexOf(QLatin1String(name)); }
    QString sql() const { return names.join(QLatin1Char(',')); }
};

inline QString text(const QVariant &v)
{
    return DataSet::valueText(v);
}

// A number column (float, integer, money); null stays null.
inline std::optional<long double> number(const QVariant &v)
{
    if (v.isNull())
        return std::nullopt;
    return (long double)v.toDouble();
}

// A text column that takes part in arithmetic, read with the boxes' one parser: null stays
// null, an empty text is 0, a number is itself; false for anything else.
bool textNumber(const QVariant &v, std::optional<long double> *out);

// The same where a text that is not a number ends the command, naming the allocation.
std::optional<long double> requiredNumber(const QSqlQuery &q, const Cols &c, const char *column);

// Null when any factor is null, as the database multiplies.
inline std::optional<long double> product(std::initializer_list<std::optional<long double>> factors)
{
    long double p = 1;
    for (const auto &f : factors) {
        if (!f)
            return std::nullopt;
        p *= *f;
    }
    return p;
}

inline QVariant value(const std::optional<long double> &n)
{
    return n ? QVariant(double(*n)) : QVariant();
}

// A sum as the database gives it: empty when it summed nothing.
struct Sum {
    long double total = 0;
    bool any = false;
    void add(const QVariant &v)
    {
        if (v.isNull())
            return;
        total += v.toDouble();
        any = true;
    }
    void add(double v)
    {
        total += v;
        any = true;
    }
    QString text() const { return any ? textrule::numberText(double(total)) : QString(); }
};

// ---- amounts of money, exact to the fourth decimal (core/money) ----

// A money column's amount as the row holds it (a server's decimal text exact, an embedded
// database's number as it keeps it); null stays null.
std::optional<qint64> amount(const QSqlQuery &q, const Cols &c, const char *column);
// A text column that takes part in money arithmetic, read as an amount: null stays null, an
// empty text is 0; a text that is not a number, or an amount out of range, ends the command
// naming the allocation.
std::optional<qint64> requiredAmount(const QSqlQuery &q, const Cols &c, const char *column);
// The product of amounts, each step rounded to four decimals as the money type multiplies; null
// when any factor is null. A product out of range ends the command naming the allocation and
// the amount's title.
std::optional<qint64> amountProduct(const QSqlQuery &q, const Cols &c, const QString &title,
                                    std::initializer_list<std::optional<qint64>> factors);
// An amount as a listing's cell: null, a whole number, or its decimal text.
QVariant amountValue(const std::optional<qint64> &v);
// A money column's value as a listing's cell (amountValue); other columns as the driver gives
// them.
QVariant listedValue(const QSqlQuery &q, const Cols &c, const QString &column);

// A sum of amounts, empty when it summed nothing; a total out of range ends the command.
struct AmountSum {
    QString title;
    qint64 total = 0;
    bool any = false;
    void add(const std::optional<qint64> &v);
    QString text() const { return any ? money::text(total) : QString(); }
};

// Reads a list row by row on the main connection, with the progress bar; false when cancelled.
// A decimal column (money) comes as the server's text, so that amounts stay exact.
bool forEachRow(AppContext &ctx, QWidget *parent, const QString &select, const QString &clause,
                const QVariantList &binds, const std::function<void(const QSqlQuery &)> &fn);

// The values of `columns` from the source's current row; computed columns from `computed`.
QVariantList pick(const QList<ExportColumn> &columns, const QSqlQuery &q, const Cols &c,
                  const QHash<QString, QVariant> &computed);

// The titles of a column table, in order.
inline QStringList titles(const QList<ExportColumn> &columns)
{
    QStringList out;
    for (const ExportColumn &c : columns)
        out << c.title;
    return out;
}

// A file of the temp folder reserved for a report written before its place is chosen; removed
// with the object.
class TempFile {
public:
    explicit TempFile(const QString &pattern);
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    const QString &path() const { return m_path; }
    // Puts the file's bytes under `target` whole (an existing file is replaced).
    void moveTo(const QString &target) const;

private:
    QString m_path;
};

// The writers' failures as the command's end, with the file and the reason.
void openHtml(HtmlTableWriter &html);
void finishHtml(HtmlTableWriter &html, const QString &path);
void check(SheetWriter &sheet, bool ok);

} // namespace ghir_report
