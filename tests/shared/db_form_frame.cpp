// The printed form frame run from rows, without an allocation: inputs, labels from a source,
// signatories, today, detail rows, the computation, the request row before the gate, and the
// print rows after each completed print.
#include "support/fixture.h"
#include "support/texts.h"

#include "report/form_frame.h"
#include "core/dates.h"

namespace {

const QString kSignatoryList = QStringLiteral("معاون عمران روستايي");

class DbFormFrame : public QObject {
    Q_OBJECT

    static report::FormRow letter()
    {
        report::FormRow row;
        row.layout = "SAMPLE_REPORT";
        row.inputs = {{"pey_no", "No", "p1", "?"},
                      {"pey_dat", "Dat", "p2", {}, true},
                      {"rosta", "Font", "p3", "10", false, report::FormInput::FontSize}};
        row.labels = {{"city", "row", {}}, {"peymankar", "row", "name"}, {"comp_naft_name", "row", "name"}};
        row.signatories = {{"moaven_omran", kSignatoryList}};
        row.today = {"dat"};
        row.levels = {"ostan"};
        row.viewText = "view";
        row.printText = "print";
        row.compute = [](report::FormFill &f) {
            f.report.set("rosta", " * a");
            f.report.set("masrafi", f.frame.source("row", "city") + "!");
            f.report.set("sum_tonaj", "2");
            f.viewText += f.report.text("sum_tonaj");
        };
        return row;
    }

private slots:
    // Asked, copied and computed labels; the request row before the gate; a refused level sees
    // nothing; prints from the preview each write a row; straight prints stop at the first failure.
    void letterRow()
    {
        Fixture f;
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {kSignatoryList, QStringLiteral("رضا")});
        QStringList history;
        report::FormFrame frame(f.ctx, nullptr);
        frame.setSource("row", [](const QString &c) { return c == "city" ? QStringLiteral("سمنان") : "N:" + c; });
        frame.setHistory([&](const QString &t) { history << t; });
        InitToday();
        const QString today = SolarDateText();

        f.ctx.CurrentUser.level = "city";
        f.ui.inputs << "" << "" << QStringLiteral("۱۴");
        QVERIFY(!frame.run(letter()) && f.ui.reports.isEmpty());
        QCOMPARE(f.ui.prompts, (QStringList{"No|p1|?", "Dat|p2|" + today, "Font|p3|10"}));
        QCOMPARE(history + f.ui.messages, (QStringList{"view2", texts::kFormRefused}));

        f.ctx.CurrentUser.level = "ostan";
        f.ui.clear();
        history.clear();
        f.ui.inputs << "12" << "1403/01/02" << "99";
        f.ui.previewPrints << QList<Ui::PrintResult>{Ui::Printed, Ui::PrintCancelled, Ui::Printed};
        QVERIFY(frame.run(letter()) && f.ui.reports.size() == 1);
        QCOMPARE(history, (QStringList{"view2", "print", "print"}));
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        const QList<QPair<QString, QString>> labels{
            {"pey_no", "12"}, {"pey_dat", "1403/01/02"}, {"dat", today}, {"city", QStringLiteral("سمنان")},
            {"peymankar", "N:name"}, {"comp_naft_name", "N:name"}, {"moaven_omran", QStringLiteral("رضا")},
            {"masrafi", QStringLiteral("سمنان!")}};
        for (const auto &[label, text] : labels)
            QCOMPARE(r.text(label), text);
        QCOMPARE(r.fontSize("rosta"), 10.0); // 99 is outside 4 to 72

        report::FormRow straight = letter();
        straight.copies = 2;
        history.clear();
        f.ui.directPrints << Ui::PrintFailed;
        QVERIFY(frame.run(straight));
        QCOMPARE(history, QStringList{"view2"});
        QCOMPARE(f.ui.reports.last().outcomes, QList<Ui::PrintResult>{Ui::PrintFailed});
        history.clear();
        QVERIFY(frame.run(straight));
        QCOMPARE(history, (QStringList{"view2", "print", "print"}));
        QCOMPARE(f.ui.reports.last().outcomes, QList<Ui::PrintResult>{Ui::Printed}); // one job, two copies
    }

    // Detail rows from a named data set with the money columns grouped; no gate, no history.
    void listRow()
    {
        Fixture f;
        f.dm.exec("insert into ghir (city, rosta, khodyari) values (?,?,?)", {"c1", "r1", "1234567"});
        report::FormFrame frame(f.ctx, nullptr);
        frame.setDataSet("list", f.dm.ADOQuery1);
        report::FormRow row;
        row.layout = "SAMPLE_LIST";
        row.detail = "list";
        row.money = {"Jam"};
        row.compute = [&](report::FormFill &fill) {
            f.dm.ADOQuery1->open("select city,rosta,khodyari as Jam from ghir");
            fill.report.set("sal", "1403");
            fill.report.set("jam_sum", "0");
        };
        f.ctx.CurrentUser.level = "city";
        QVERIFY(frame.run(row) && f.ui.reports.size() == 1 && f.ui.messages.isEmpty());
        const report::FilledReport &r = *f.ui.reports.at(0).report;
        QCOMPARE(r.cell(0, "Jam") + " " + r.cell(0, "rosta"), QStringLiteral("1,234,567 r1"));
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbFormFrame)
#include "db_form_frame.moc"
