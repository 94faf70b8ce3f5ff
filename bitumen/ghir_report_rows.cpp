#include "bitumen/ghir_report_rows.h"
#include "core/text_rules.h"

#include "bitumen/ghir_reports.h"
#include "core/context.h"
#include "core/dataset.h"
#include "core/connection.h"
#include "core/dm_u.h"
#include "db/schema.h"
#include "db/values.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSaveFile>
#include <QSqlError>
#include <QTemporaryFile>
#include <cstdio>
#include <sys/stat.h>

namespace ghir_report {

// The full title table of the grid's columns (general and complete workbooks, general web listing).
const QList<ExportColumn> kFullTitles = {
    {"id", QStringLiteral("شناسه")},
    {"city", kCity},
    {"rosta", kRosta},
    {"prj_typ", kPrjTyp},
    {"prot_no", QStringLiteral("شماره قرارداد")},
    {"prot_dat", QStringLiteral("تاريخ قرارداد")},
    {"peymankar", kPeymankar},
    {"prot_mablagh", QStringLiteral("مبلغ قرارداد")},
    {"city_paper_no", QStringLiteral("شماره نامه شهرستان")},
    {"city_paper_dat", QStringLiteral("تاريخ نامه شهرستان")},
    {"tafahomname_dat", QStringLiteral("تاريخ تفاهمنامه")},
    {"prj_area", QStringLiteral("مساحت تقريبي پروژه")},
    {"tonaj", QStringLiteral("تناژ تقريبي کار")},
    {"zekhamat", QStringLiteral("ضخامت تقريبي")},
    {"bors_price", QStringLiteral("قيمت روز بورس")},
    {"ghir_masrafi", QStringLiteral("قير مصرفي")},
    {"ghir_tahatori", kTahatori},
    {"tozi_dat", QStringLiteral("تاريخ کميته توزيع")},
    {"z_no", QStringLiteral("شماره ضمانتنامه")},
    {"z_dat", QStringLiteral("تاريخ ضمانتنامه")},
    {"z_bank", QStringLiteral("بانک ضمانتنامه")},
    {"z_typ", QStringLiteral("نوع ضمانتنامه")},
    {"z_mablagh", QStringLiteral("مبلغ ضمانتنامه")},
    {"taahod_dat", QStringLiteral("تاريخ تعهدنامه")},
    {"moarefi_dat", QStringLiteral(" تاريخ معرفي نامه")},
    {"moarefi_no", kLetterNo},
    {"sorat_no", QStringLiteral("شماره صورتحساب")},
    {"sorat_dat", QStringLiteral("تاريخ صورتحساب")},
    {"sal", QStringLiteral("سال تخصيص قير")},
    {"cmt", QStringLiteral("توضيحات")},
    {"palayeshgah_name", QStringLiteral("نام پالايشگاه")},
    {"ghir_tagh_tah", QStringLiteral("ميزان تقريبي قير تهاتري")},
    {"sorat_area", QStringLiteral("مساحت طبق صورتجلسه")},
    {"ghir_daryafti", QStringLiteral("ميزان قير دريافتي از شرکت")},
    {"az_name", QStringLiteral("نام آزمايشگاه")},
    {"rep_no", QStringLiteral("شماره گزارش")},
    {"rep_dat", QStringLiteral("تاريخ گزارش")},
    {"zekhamat_m", QStringLiteral("ميانگين ضخامت")},
    {"vazn", QStringLiteral("وزن")},
    {"ghir_masrafi_m", QStringLiteral("ميانگين قير مصرفي")},
    {"ghir_prim", QStringLiteral("قير پريمکت")},
    {"bors_m", QStringLiteral("ميانگين بورس")},
    {"asfalt_price", QStringLiteral("قيمت آسفالت")},
    {"ghir_tahvili", QStringLiteral("قير تحويلي")},
    {"ghir60", QStringLiteral("قير 70-60")},
    {"ghir_m_p", QStringLiteral("قير مصرفي پريمکت")},
    {"ghir_jam", QStringLiteral("جمع قير")},
    {"reg_dat", QStringLiteral("تاريخ ثبت")},
    {"ghir_t", QStringLiteral("قير تهاتري")},
    {"peymankar_id", QStringLiteral("شناسه پيمانکار")},
    {"tehran_paper_no", QStringLiteral("شماره نامه تهران")},
    {"jalase_no", QStringLiteral("شماره جلسه")},
    {"jalase_dat", QStringLiteral("تاريخ جلسه")},
    {"prot_no_ejra", QStringLiteral("شماره قرارداد اجرا")},
    {"prot_dat_ejra", QStringLiteral("تاريخ قرارداد اجرا")},
    {"prot_mablagh_ejra", QStringLiteral("مبلغ قرارداد اجرا")},
    {"zarib", QStringLiteral("ضريب")},
    {"asfalt_ejra", QStringLiteral("ميزان آسفالت اجرا شده - تن")},
    {"ghir_moadel", QStringLiteral("قيمت قير جهت معادل سازي - ريال")},
    {"pishraft", QStringLiteral("پيشرفت فيزيکي")},
    {"status", QStringLiteral("وضعيت")},
    {"comp_naft_name", QStringLiteral("نام شرکت نفت")},
    {"mosharekat", QStringLiteral("مشارکت مردمي و دهياري")},
};

const QList<ExportColumn> kCountyTitles = {
    {"city", kCity}, {"rosta", kRosta}, {"prj_typ", kPrjTyp},
    {"peymankar", kPeymankar}, {"ghir_tahatori", kTahatori}, {"pishraft", QStringLiteral("پيشرفت فيزيکي")},
};

// A text column that takes part in arithmetic, read with the boxes' one parser: null stays
// null, an empty text is 0, a number is itself; false for anything else.
bool textNumber(const QVariant &v, std::optional<long double> *out)
{
    if (v.isNull()) {
        *out = std::nullopt;
        return true;
    }
    const QString t = v.toString();
    if (t.trimmed().isEmpty()) {
        *out = 0;
        return true;
    }
    double d = 0;
    if (!textrule::parseNumber(t, &d))
        return false;
    *out = d;
    return true;
}

// The same where a text that is not a number ends the command, naming the allocation.
std::optional<long double> requiredNumber(const QSqlQuery &q, const Cols &c, const char *column)
{
    std::optional<long double> n;
    const QVariant v = q.value(c(column));
    if (!textNumber(v, &n))
        throw AppError(kNotANumber.arg(ColumnTitle(kFullTitles, QLatin1String(column)), text(q.value(c("rosta"))),
                                       text(q.value(c("peymankar"))), text(q.value(c("id"))), v.toString()));
    return n;
}

namespace {

// The allocation named in a message, and the title of a column of ghir.
QString named(const QString &message, const QSqlQuery &q, const Cols &c, const QString &title, const QString &what)
{
    return message.arg(title, text(q.value(c("rosta"))), text(q.value(c("peymankar"))), text(q.value(c("id"))), what);
}

bool isMoneyColumn(const QString &column)
{
    const db::ColumnDef *d = db::findColumn(QStringLiteral("ghir"), column);
    return d && d->type == db::ColType::Money;
}

// The amount of a text of `column`; a text that is not a number, or an amount out of range, ends
// the command naming the allocation.
qint64 amountOf(const QSqlQuery &q, const Cols &c, const char *column, const QString &t)
{
    qint64 a = 0;
    if (money::read(t, &a) && money::withinLimit(a))
        return a;
    double d = 0;
    throw AppError(named(textrule::parseNumber(t, &d) ? kAmountOverLimit : kNotANumber, q, c,
                         ColumnTitle(kFullTitles, QLatin1String(column)), t));
}

} // namespace

std::optional<qint64> amount(const QSqlQuery &q, const Cols &c, const char *column)
{
    const QVariant v = q.value(c(column));
    if (v.isNull())
        return std::nullopt;
    // What an embedded database keeps of a fraction: 15 significant digits.
    return amountOf(q, c, column, v.typeId() == QMetaType::Double ? textrule::numberText(v.toDouble()) : v.toString());
}

std::optional<qint64> requiredAmount(const QSqlQuery &q, const Cols &c, const char *column)
{
    const QVariant v = q.value(c(column));
    if (v.isNull())
        return std::nullopt;
    const QString t = v.toString();
    if (t.trimmed().isEmpty())
        return 0;
    return amountOf(q, c, column, t);
}

std::optional<qint64> amountProduct(const QSqlQuery &q, const Cols &c, const QString &title,
                                    std::initializer_list<std::optional<qint64>> factors)
{
    for (const auto &f : factors)
        if (!f)
            return std::nullopt;
    qint64 p = money::kScale; // 1
    for (const auto &f : factors) {
        if (!money::multiply(p, *f, &p)) {
            QStringList shown;
            for (const auto &each : factors)
                shown << money::text(*each);
            throw AppError(named(kAmountOverLimit, q, c, title, shown.join(QStringLiteral(" × "))));
        }
    }
    return p;
}

QVariant amountValue(const std::optional<qint64> &v)
{
    if (!v)
        return QVariant();
    return *v % money::kScale == 0 ? QVariant(qlonglong(*v / money::kScale)) : QVariant(money::text(*v));
}

QVariant listedValue(const QSqlQuery &q, const Cols &c, const QString &column)
{
    const QVariant v = q.value(c(column));
    // The server's decimal text of an amount; an embedded database's numbers are as it keeps them.
    if (v.typeId() != QMetaType::QString || v.isNull() || !isMoneyColumn(column))
        return v;
    return amountValue(amount(q, c, column.toLatin1().constData()));
}

void AmountSum::add(const std::optional<qint64> &v)
{
    if (!v)
        return;
    if (!money::add(total, *v, &total))
        throw AppError(kTotalOverLimit.arg(title));
    any = true;
}

// Reads a list row by row on the main connection, with the progress bar; false when cancelled.
bool forEachRow(AppContext &ctx, QWidget *parent, const QString &select, const QString &clause,
                const QVariantList &binds, const std::function<void(const QSqlQuery &)> &fn)
{
    Tdm &dm = *ctx.dm;
    const qint64 total = dm.scalar(QStringLiteral("select count(*) from ghir where id<>-1 ") + clause, binds).toLongLong();
    const auto progress = ctx.ui->startProgress(kProgressText, total, parent);
    const QSqlDatabase db = dm.ADOConnection1();
    const dbconn::ServerWait wait(db);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    auto fail = [&] {
        wait.check(q.lastError().text());
        throw DbError(dbconn::errorText(db, q.lastError()));
    };
    if (!q.prepare(select + clause + QStringLiteral("\n order by id")))
        fail();
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
    if (!q.exec())
        fail();
    qint64 done = 0;
    while (q.next()) {
        fn(q);
        if (++done % 1000 == 0 && !progress->step(done))
            return false;
    }
    if (q.lastError().isValid())
        fail();
    return progress->step(done);
}

// The values of `columns` from the source's current row; computed columns from `computed`.
QVariantList pick(const QList<ExportColumn> &columns, const QSqlQuery &q, const Cols &c,
                  const QHash<QString, QVariant> &computed)
{
    QVariantList out;
    for (const ExportColumn &col : columns) {
        const auto it = computed.constFind(col.field);
        out << (it != computed.constEnd() ? *it : listedValue(q, c, col.field));
    }
    return out;
}

TempFile::TempFile(const QString &pattern)
{
    QTemporaryFile f(TempExportPath(pattern));
    f.setAutoRemove(false);
    if (!f.open())
        throw AppError(kExportWriteError.arg(f.fileName(), f.errorString()));
    m_path = f.fileName();
}

TempFile::~TempFile()
{
    QFile::remove(m_path);
}

void TempFile::moveTo(const QString &target) const
{
    // On the same file system the file is renamed into place, its bytes not copied: with the
    // permissions of the file it replaces, or those a new file gets.
    const QByteArray from = QFile::encodeName(m_path), to = QFile::encodeName(target);
    struct stat existing {};
    mode_t mode;
    if (::stat(to.constData(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::chmod(from.constData(), mode) == 0 && ::rename(from.constData(), to.constData()) == 0)
        return;
    QFile in(m_path);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(kExportWriteError.arg(m_path, in.errorString()));
    if (!out.open(QIODevice::WriteOnly))
        throw AppError(kExportWriteError.arg(target, out.errorString()));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (out.write(chunk) != chunk.size())
            break;
    }
    if (!out.commit())
        throw AppError(kExportWriteError.arg(target, out.errorString()));
}

void openHtml(HtmlTableWriter &html)
{
    if (!html.open())
        throw AppError(kExportWriteError.arg(QString(), html.errorString()));
}

void finishHtml(HtmlTableWriter &html, const QString &path)
{
    if (!html.finish())
        throw AppError(kExportWriteError.arg(path, html.errorString()));
}

void check(SheetWriter &sheet, bool ok)
{
    if (!ok)
        throw AppError(kExportWriteError.arg(sheet.path(), sheet.errorString()));
}

} // namespace ghir_report

using namespace ghir_report;

// ---- the filter ---------------------------------------------------------------------------------

QString ReportFilterClause(const QWidget *window, QVariantList &binds)
{
    QString s;
    auto enabled = [window](const char *name) -> QWidget * {
        QWidget *w = window->findChild<QWidget *>(QLatin1String(name));
        return w && w->isEnabledTo(window) ? w : nullptr;
    };
    auto boxText = [](QWidget *w) {
        if (auto *c = qobject_cast<QComboBox *>(w))
            return c->currentText();
        // A masked box as its mask shows it: an empty year box sends its blanks.
        QString t = static_cast<QLineEdit *>(w)->displayText();
        return t.replace(QLatin1Char('_'), QLatin1Char(' '));
    };
    for (const char *name : {"city", "rosta", "peymankar"}) {
        if (QWidget *w = enabled(name)) {
            s += QStringLiteral("\n and %1 like ?").arg(QLatin1String(name));
            binds << QLatin1Char('%') + boxText(w) + QLatin1Char('%');
        }
    }
    // One check box enables both dates.
    if (QWidget *from = enabled("reg_dat1")) {
        s += QStringLiteral("\n and reg_dat>=? and reg_dat<=?");
        binds << boxText(from) << boxText(window->findChild<QWidget *>(QStringLiteral("reg_dat2")));
    }
    for (const char *name : {"sal", "prj_typ"}) {
        if (QWidget *w = enabled(name)) {
            s += QStringLiteral("\n and %1=?").arg(QLatin1String(name));
            binds << boxText(w);
        }
    }
    return s;
}
