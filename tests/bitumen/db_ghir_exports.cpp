// The bitumen window's status report, workbooks, general web listing and central office
// report: rows, titles and totals worked out by hand, read back from the files written.
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/report_support.h"
#include "support/texts.h"

#include "bitumen/ghir_src_u.h"
#include "core/dates.h"
#include "shared/exports.h"

#include <QLineEdit>

namespace {

// The fixed file of the web exports (in the temp folder the test runs with).
QString htmlFile()
{
    return TempExportPath("Tobrenhal.htm");
}

// The workbook the last command opened.
Sheet lastSheet(Fixture &f)
{
    if (f.ui.openedFiles.isEmpty())
        qFatal("no workbook was opened");
    return readXlsx(f.ui.openedFiles.last());
}

void run(Fixture &f, const char *item)
{
    f.ui.clear();
    click(f.form<Tghir_src>(), item);
}

} // namespace

class GhirExportsTest : public QObject {
    Q_OBJECT
private slots:
    void statusReportAmountsAndTotals()
    {
        Fixture f(true);
        addGhir(f, {{"ghir_tahatori", 10}, {"bors_price", 2000000}, {"ghir_moadel", 900}, {"sorat_area", 1000},
                    {"asfalt_ejra", "115"}, {"prot_no", "101"}, {"prot_mablagh", 1250000}, {"prot_no_ejra", "E1"},
                    {"prot_mablagh_ejra", 300000}, {"zarib", "1.2"}});
        addGhir(f, {{"asfalt_ejra", ""}, {"prot_mablagh", 900000}, {"zarib", "1"}});
        addGhir(f, {{"asfalt_ejra", "2.5"}, {"prot_mablagh", 1000000}, {"prot_mablagh_ejra", QVariant()}});
        run(f, "N24");
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.openedFiles, QStringList{htmlFile()});
        // 115 t x 1,250,000 and 115 t x 300,000 x 1.2; an empty tonnage is 0; no execution price,
        // no execution amount and nothing added to its total.
        QCOMPARE(htmlFileRows(htmlFile()).mid(1),
                 (QList<QStringList>{
                     {"1", "اراك", "روستا", "آسفالت", "1403", "پيمانكار", "10", "2000000", "900", "1000", "115", "101",
                      "143750000", "E1", "41400000"},
                     {"2", "اراك", "روستا", "آسفالت", "1403", "پيمانكار", "0", "0", "0", "0", "", "", "0", "", "0"},
                     {"3", "اراك", "روستا", "آسفالت", "1403", "پيمانكار", "0", "0", "0", "0", "2.5", "", "2500000", "", ""},
                     {"", "", "", "", "", "", "", "", "", "", "", "", "146250000", "", "41400000"}}));

        // A tonnage that is not a number ends the report naming the allocation; the file stays.
        const QByteArray before = readFile(htmlFile());
        const qint64 bad = addGhir(f, {{"rosta", "نوبران"}, {"peymankar", "بهار"}, {"asfalt_ejra", "12a"}});
        run(f, "N24");
        QCOMPARE(f.ui.messages,
                 QStringList{QString("خطا! «ميزان آسفالت اجرا شده - تن» پروژه نوبران - بهار (شناسه %1) عدد نيست: «12a»")
                                 .arg(bad)});
        QCOMPARE(f.ui.openedFiles, QStringList());
        QCOMPARE(readFile(htmlFile()), before);
    }

    void provinceWorkbooksHoldTheirCells()
    {
        Fixture f(true);
        f.signInAs(f.addUser("1000000001", "pw", "ostan"), "ostan", "ostan");
        addGhir(f, {{"peymankar", "الف"}, {"rosta", "نوبران"}, {"ghir_tahatori", 20}, {"moarefi_no", "1234/ص"},
                    {"sorat_area", 1500}, {"ghir_daryafti", "900"}});
        addGhir(f, {{"peymankar", "بهار"}, {"ghir_tahatori", QVariant()}, {"tehran_paper_no", "T2"},
                    {"ghir_daryafti", ""}});
        addGhir(f, {{"peymankar", "پارس"}, {"ghir_tahatori", 7.5}, {"tehran_paper_no", "T3"}, {"ghir_daryafti", ""}});
        run(f, "N27");
        Sheet s = lastSheet(f);
        QCOMPARE(s.row(2), (QStringList{"اراك", "نوبران", "الف", "20", "1234/ص", "20", "0"}));
        QCOMPARE(s.row(3), (QStringList{"اراك", "روستا", "بهار", "0", "", "0", "0"}));
        QCOMPARE(s.row(4), (QStringList{"اراك", "روستا", "پارس", "7.5", "", "0", "7.5"}));
        QVERIFY(s.cells["D2"].number && !s.cells["E2"].number);
        QCOMPARE(s.row(5), QStringList());
        QCOMPARE(f.count("ghir_rep2"), 3);

        // Supervision: tonnes times the company's price, in allocation order; no tonnes, no value.
        run(f, "N34");
        s = lastSheet(f);
        QCOMPARE(s.row(2), (QStringList{"اراك", "نوبران", "آسفالت", "20", "1500", "18000"}));
        QCOMPARE(s.row(3), (QStringList{"اراك", "روستا", "آسفالت", "", "0"}));
        QCOMPARE(s.row(4), (QStringList{"اراك", "روستا", "آسفالت", "7.5", "0", "0"}));
        const qint64 bad = addGhir(f, {{"peymankar", "ت"}, {"ghir_daryafti", "نهصد"}});
        run(f, "N34");
        QCOMPARE(f.ui.messages,
                 QStringList{QString("خطا! «ميزان قير دريافتي از شرکت» پروژه روستا - ت (شناسه %1) عدد نيست: «نهصد»").arg(bad)});
        QCOMPARE(f.ui.openedFiles, QStringList());
    }

    // The grid's exports take the grid's rows (the county restriction included) with every
    // column, and leave the same allocation current; the complete workbook is the province's.
    void gridExportsKeepTheCurrentAllocation()
    {
        Fixture f(true);
        const qint64 user = signInWithCounty(f, "ostan", "1000000002");
        const qint64 first = addGhir(f, {{"peymankar", "الف"}, {"ghir_tahatori", 12}});
        addGhir(f, {{"peymankar", "ب"}, {"ghir_t", "3"}});
        addGhir(f, {{"city", "ساوه"}});
        makeCurrent(f, first);
        DataSet *ds = f.dm.ADOQ_ghir;
        for (const char *item : {"N26", "N46", "N39", "N6"}) {
            run(f, item);
            // The web listing numbers its rows: one column more.
            const int web = QByteArray(item) == "N6" ? 1 : 0;
            QList<QStringList> rows = web ? htmlFileRows(htmlFile()) : QList<QStringList>();
            if (!web) {
                const Sheet s = lastSheet(f);
                for (int r = 1; r <= 4; ++r)
                    rows << s.row(r);
            }
            QCOMPARE(rows.at(0).size(), ds->fieldNames().size() + web);
            QCOMPARE(rows.at(2).value(ds->fieldIndex("mande") + web), QString("3"));
            QCOMPARE(rows.value(3), QStringList());
            QCOMPARE(ds->value("id").toLongLong(), first);
        }
        f.signInAs(user, "admin", "admin");
        run(f, "N46");
        QCOMPARE(f.ui.messages, QStringList{texts::kReportRefused});
        run(f, "N26");
        QCOMPARE(f.ui.openedFiles.size(), 1);
    }

    void centralOfficeReportPrintsAndExports()
    {
        Fixture f(true);
        addGhir(f, {{"rosta", "نوبران"}, {"tolemasir", 1200}, {"sorat_area", 5000}, {"ghir_tahatori", 20},
                    {"ghir_jam", "6.55"}, {"jalase_dat", "1403/06/01"}, {"khodyari", 1000000}, {"dehyari", 2500000},
                    {"mokhtasat", "معبر اصلي"}});
        addGhir(f, {{"rosta", "خنجين"}, {"ghir_tahatori", 8}, {"ghir_jam", ""}, {"khodyari", QVariant()}});
        auto *w = f.form<Tghir_src>();
        child<QLineEdit>(w, "sal")->setText("1403"); // the year filter is not ticked
        run(f, "N29");
        QCOMPARE(f.ui.messages, QStringList());
        QCOMPARE(f.ui.reports.size(), 1);
        const auto &call = f.ui.reports.first();
        QCOMPARE(call.kind, ScriptedUi::ReportCall::Preview);
        QCOMPARE(call.problems, QStringList());
        const report::FilledReport r = *call.report; // kept past the next command
        QCOMPARE(r.layoutName(), QString("TTEHRAN_CHAP"));
        QCOMPARE(r.text("sal"), QString("1403"));
        QCOMPARE(r.text("dat"), SolarDateText());
        // 20 t supplied, 6.55 t used directly: 13.45 t equalised; an empty direct use equalises it all.
        const QStringList columns = {"city", "rosta", "tolemasir", "sorat_area", "ghir_tahatori", "Moadelsazi",
                                     "ghir_jam", "jalase_dat", "khodyari", "Dehyari", "Jam", "mokhtasat"};
        auto printedRow = [&](int row) {
            QStringList out;
            for (const QString &c : columns)
                out << r.cell(row, c);
            return out;
        };
        QCOMPARE(printedRow(0), (QStringList{"اراك", "نوبران", "1200", "5000", "20", "13.45", "6.55", "1403/06/01",
                                             "1,000,000", "2,500,000", "3,500,000", "معبر اصلي"}));
        QCOMPARE(printedRow(1), (QStringList{"اراك", "خنجين", "", "0", "8", "8", "", "    /  /  ", "", "", "", ""}));
        const QString pdf = renderPdf(r);
        QCOMPARE(pdfPageCount(pdf), 1);
        QVERIFY2(pdfInfo(pdf).contains("842 x 595 pts (A4)"), qPrintable(pdfInfo(pdf))); // landscape
        QVERIFY(containsText(pdfText(pdf), "13.45"));

        run(f, "N30");
        const Sheet s = lastSheet(f);
        QCOMPARE(s.row(2), (QStringList{"اراك", "نوبران", "1200", "5000", "20", "13.45", "6.55", "1403/06/01",
                                         "1000000", "2500000", "3500000", "معبر اصلي"}));
        QCOMPARE(s.row(3).mid(0, 7), printedRow(1).mid(0, 7));

        // A direct use that is not a number: nothing is shown.
        const qint64 bad = addGhir(f, {{"peymankar", "ت"}, {"ghir_jam", "6.5 تن"}});
        run(f, "N29");
        QCOMPARE(f.ui.messages,
                 QStringList{QString("خطا! «جمع قير» پروژه روستا - ت (شناسه %1) عدد نيست: «6.5 تن»").arg(bad)});
        QCOMPARE(f.ui.reports.size(), 0);
    }
};

VARNOSET_DB_TEST_MAIN(GhirExportsTest)
#include "db_ghir_exports.moc"
