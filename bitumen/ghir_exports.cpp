// The bitumen window's status report, workbooks, general web listing and central office report.
#include "bitumen/ghir_reports.h"

#include "bitumen/ghir_report_rows.h"
#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "report/form_frame.h"
#include "shared/guard.h"
#include "shared/numwords.h"
#include "shared/ui.h"

#include <QLineEdit>
#include <QVector>

using namespace ghir_report;

void Tghir_reports::N24Click()
{
    guarded(m_ctx, [&] {
        QVariantList binds;
        const QString clause = ReportFilterClause(m_window, binds);
        static const Cols c("id,city,rosta,prj_typ,sal,peymankar,ghir_tahatori,bors_price,ghir_moadel,sorat_area,"
                            "asfalt_ejra,prot_no,prot_mablagh,prot_no_ejra,prot_mablagh_ejra,zarib");
        static const QList<ExportColumn> columns = {
            {"city", kCity}, {"rosta", kRosta}, {"prj_typ", kPrjTyp}, {"sal", QStringLiteral("سال تخصيص قير")},
            {"peymankar", kPeymankar}, {"ghir_tahatori", QStringLiteral("قير تهاتري")},
            {"bors_price", QStringLiteral("قيمت روز بورس")},
            {"ghir_moadel", QStringLiteral("قيمت قير جهت معادل سازي - ريال")},
            {"sorat_area", QStringLiteral("مساحت طبق صورتجلسه")},
            {"asfalt_ejra", QStringLiteral("ميزان آسفالت اجرا شده - تن")}, {"prot_no", QStringLiteral("شماره قرارداد")},
            {"m1", QStringLiteral("مبلغ خريد آسفالت")}, {"prot_no_ejra", QStringLiteral("شماره قرارداد اجرا")},
            {"m2", QStringLiteral("مبلغ اجراي آسفالت")}};
        const QString file = TempExportPath(kFixedHtml);
        HtmlTableWriter html(file, kTitle, titles(columns));
        openHtml(html);
        const QString &m1Title = columns.at(11).title, &m2Title = columns.at(13).title;
        AmountSum m1Total{m1Title}, m2Total{m2Title};
        qint64 position = 0;
        QStringList cells;
        // The amounts of the asphalt bought and executed, from the executed tonnes: money
        // arithmetic, exact to the fourth decimal.
        const bool complete = forEachRow(m_ctx, m_window, QStringLiteral("select %1 from ghir where id<>-1 ").arg(c.sql()),
                                         clause, binds, [&](const QSqlQuery &q) {
            const auto asfalt = requiredAmount(q, c, "asfalt_ejra");
            const auto m1 = amountProduct(q, c, m1Title, {asfalt, amount(q, c, "prot_mablagh")});
            const auto m2 = amountProduct(q, c, m2Title,
                                          {asfalt, amount(q, c, "prot_mablagh_ejra"), requiredAmount(q, c, "zarib")});
            m1Total.add(m1);
            m2Total.add(m2);
            cells.clear();
            for (const QVariant &v : pick(columns, q, c, {{"m1", amountValue(m1)}, {"m2", amountValue(m2)}}))
                cells << text(v);
            html.row(++position, cells);
        });
        if (!complete)
            return;
        QStringList totals(12);
        totals << m1Total.text() << QString() << m2Total.text();
        html.totals(HtmlTotalsRow(totals, false));
        finishHtml(html, file);
        m_ctx.ui->openFile(file);
    });
}

void Tghir_reports::N34Click()
{
    guarded(m_ctx, [&] {
        if (!passesProvince())
            return;
        QVariantList binds;
        const QString clause = ReportFilterClause(m_window, binds);
        static const Cols c("id,city,rosta,prj_typ,ghir_tahatori,sorat_area,ghir_daryafti,peymankar");
        static const QList<ExportColumn> columns = {
            {"city", kCity}, {"rosta", kRosta}, {"prj_typ", kPrjTyp}, {"ghir_tahatori", kTahatori},
            {"sorat_area", QStringLiteral("سطح طبق صورتجلسه - متر مربع")},
            {"mablagh", QStringLiteral("(مبلغ ريالي)ميزان قير حواله*قيمت قير دريافتي از شرکت")}};
        SheetWriter sheet(titles(columns));
        check(sheet, sheet.open());
        // The rial value of the allocated bitumen at the company's price.
        const bool complete = forEachRow(m_ctx, m_window, QStringLiteral("select %1 from ghir where id<>-1 ").arg(c.sql()),
                                         clause, binds, [&](const QSqlQuery &q) {
            const auto mablagh = product({number(q.value(c("ghir_tahatori"))), requiredNumber(q, c, "ghir_daryafti")});
            check(sheet, sheet.row(pick(columns, q, c, {{"mablagh", value(mablagh)}})));
        });
        if (!complete)
            return;
        check(sheet, sheet.finish());
        m_ctx.ui->openFile(sheet.path());
    });
}

void Tghir_reports::N26Click()
{
    guarded(m_ctx, [&] {
        if (gridOpen())
            ExportToExcel(m_ctx, m_ctx.dm->ADOQ_ghir, kFullTitles);
    });
}

void Tghir_reports::N46Click()
{
    guarded(m_ctx, [&] {
        if (passesProvince())
            ExportToExcel(m_ctx, m_ctx.dm->ADOQ_ghir, kFullTitles);
    });
}

void Tghir_reports::N39Click()
{
    guarded(m_ctx, [&] {
        if (gridOpen())
            ExportToExcel(m_ctx, m_ctx.dm->ADOQ_ghir, kCountyTitles);
    });
}

void Tghir_reports::N6Click()
{
    guarded(m_ctx, [&] {
        ExportHtmlDataSet(m_ctx, TempExportPath(kFixedHtml), kTitle, m_ctx.dm->ADOQ_ghir, kFullTitles);
    });
}

// ---- central office report ----------------------------------------------------------------------

namespace {

// Per village: the passages done, the bitumen supplied, consumed directly and settled by
// equalisation, the minutes date and the people's and council's contributions; with the
// workbook's titles (the print's headers are the layout's).
const QList<ExportColumn> kTehranColumns = {
    {"city", kCity},
    {"rosta", kRosta},
    {"tolemasir", QStringLiteral("جمع طول معبر انجام شده-متر")},
    {"sorat_area", QStringLiteral("مساحت آسفالت-مترمربع")},
    {"ghir_tahatori", QStringLiteral("مقدار قير تامين شده از سوي شرکت قيرساز-تن")},
    {"Moadelsazi", QStringLiteral("معادل سازي-تن")},
    {"ghir_jam", QStringLiteral("مصرف مستقيم-تن")},
    {"jalase_dat", QStringLiteral("تاريخ تنظيم صورتجلسه مصرف قير")},
    {"khodyari", QStringLiteral("خودياري نقدي")},
    {"Dehyari", QStringLiteral("معادل ريالي عمليات اجرايي دهياري و مردم")},
    {"Jam", QStringLiteral("جمع")},
    {"mokhtasat", QStringLiteral("مختصات و موقعيت معابر اجرا شده")},
};
// The contributions in rials, printed grouped by thousands.
const QStringList kTehranMoney = {"khodyari", "Dehyari", "Jam"};

bool tehranRows(AppContext &ctx, QWidget *window, QVector<QVariantList> &rows)
{
    QVariantList binds;
    const QString clause = ReportFilterClause(window, binds);
    static const Cols c("id,peymankar,city,rosta,tolemasir,sorat_area,ghir_tahatori,ghir_jam,jalase_dat,khodyari,"
                        "dehyari,mokhtasat");
    return forEachRow(ctx, window, QStringLiteral("select %1 from ghir where id<>-1 ").arg(c.sql()), clause, binds,
                      [&](const QSqlQuery &q) {
        const auto tahatori = number(q.value(c("ghir_tahatori")));
        const auto jam = requiredNumber(q, c, "ghir_jam");
        const auto khodyari = amount(q, c, "khodyari");
        const auto dehyari = amount(q, c, "dehyari");
        const auto moadelsazi = tahatori && jam ? std::optional<long double>(*tahatori - *jam) : std::nullopt;
        AmountSum total{kTehranColumns.at(10).title};
        if (khodyari && dehyari) {
            total.add(khodyari);
            total.add(dehyari);
        }
        rows.append(pick(kTehranColumns, q, c,
                         {{"Moadelsazi", value(moadelsazi)}, {"Dehyari", listedValue(q, c, "dehyari")},
                          {"Jam", total.any ? amountValue(total.total) : QVariant()}}));
    });
}

} // namespace

void Tghir_reports::N29Click()
{
    guarded(m_ctx, [&] {
        QVector<QVariantList> rows;
        if (!tehranRows(m_ctx, m_window, rows))
            return;
        QStringList fields;
        QList<bool> money;
        for (const ExportColumn &c : kTehranColumns) {
            fields << c.field;
            money << kTehranMoney.contains(c.field);
        }
        QVector<QStringList> texts;
        texts.reserve(rows.size());
        for (const QVariantList &row : rows) {
            QStringList t;
            for (int i = 0; i < row.size(); ++i)
                t << (money.at(i) ? GroupDigits(text(row.at(i))) : text(row.at(i)));
            texts << t;
        }
        report::FormRow form;
        form.layout = kTehranLayout;
        form.today = {QStringLiteral("dat")};
        form.compute = [&](report::FormFill &fill) {
            // The year box's text, whether its filter is ticked or not.
            fill.report.set(QStringLiteral("sal"), m_window->findChild<QLineEdit *>(QStringLiteral("sal"))->text());
            fill.report.setRows(fields, texts);
        };
        report::FormFrame(m_ctx, m_window).run(form);
    });
}

void Tghir_reports::N30Click()
{
    guarded(m_ctx, [&] {
        QVector<QVariantList> rows;
        if (!tehranRows(m_ctx, m_window, rows))
            return;
        SheetWriter sheet(titles(kTehranColumns));
        check(sheet, sheet.open());
        QList<bool> money;
        for (const ExportColumn &c : kTehranColumns)
            money << kTehranMoney.contains(c.field);
        for (QVariantList &row : rows) {
            // An amount with a fraction is a number of the workbook too (of its 15 digits).
            for (int i = 0; i < row.size(); ++i)
                if (money.at(i) && row.at(i).typeId() == QMetaType::QString)
                    row[i] = row.at(i).toDouble();
            check(sheet, sheet.row(row));
        }
        check(sheet, sheet.finish());
        m_ctx.ui->openFile(sheet.path());
    });
}
