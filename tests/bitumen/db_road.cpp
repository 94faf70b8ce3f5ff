// The road of allocations through the windows, as a province user of the sample data works:
// sign in, open the bitumen window, register two, edit one (it moves in the list and stays
// current), complete it, print its undertaking and delete the other.
#include "support/drive.h"
#include "support/texts.h"

#include "app/login_u.h"
#include "app/main_u.h"

namespace {

void registerAllocation(Fixture &f, QWidget *src, const QString &rosta)
{
    f.ui.onShow["Tghir_ins"] = [rosta](QDialog *ins) {
        const std::pair<const char *, QString> boxes[] = {
            {"ostan", "زنجان"}, {"city", "ابهر"}, {"rosta", rosta}, {"prj_typ", "آسفالت معابر"},
            {"peymankar", "آسفالت گستر ابهر"}, {"prot_no", "1405/3/215"}, {"prot_mablagh", "4500000"}, {"tonaj", "120"},
            {"ghir_tahatori", "7.5"}, {"z_mablagh", "3,000,000,000"}, {"sal", "1405"}};
        QVERIFY(child<QWidget>(ins, "ins_btn")->isVisible());
        for (const auto &[box, text] : boxes)
            setBox(ins, box, text);
        click(ins, "ins_btn");
        ins->reject();
    };
    click(src, "N1");
}

} // namespace

class RoadTest : public QObject {
    Q_OBJECT
private slots:
    void aProvinceUserWorksAnAllocationThroughTheWindows()
    {
        Fixture f(true);
        f.loadSample();
        f.ctx.CurrentUser = {};
        auto *login = f.form<Tlogin>();
        setBox(login, "user_name", "2280000016");
        setBox(login, "password", "ostan123");
        click(login, "enter_btn");
        QCOMPARE(f.ctx.CurrentUser.level, "ostan");
        bool shown = false;
        f.ui.onShow["Tghir_src"] = [&](QDialog *src) {
            shown = true;
            registerAllocation(f, src, "حصار");
            registerAllocation(f, src, "صائين قلعه");
            click(src, "src_btn");
            DataSet *ds = f.dm.ADOQ_ghir;
            QCOMPARE(QString::number(ds->recordCount()) + ds->text("rosta"), "2حصار");
            const qint64 id = ds->toInt64("id");
            // Another contractor moves it to the end of the list; it stays current.
            f.ui.onShow["Tghir_ins"] = [&](QDialog *ins) {
                QVERIFY(child<QWidget>(ins, "edit_btn")->isVisible());
                setBox(ins, "peymankar", "راهسازان زنجان");
                setBox(ins, "tonaj", "140");
                click(ins, "edit_btn");
            };
            click(src, "N2");
            QVERIFY(ds->currentRow() == 1 && ds->toInt64("id") == id);
            // Completed: the list shows both changes, 6.5 + 1.5 - 7.5 left, the same allocation current.
            f.ui.onShow["Tghir_ins2"] = [&](QDialog *ins2) {
                setBox(ins2, "jalase_no", "12");
                setBox(ins2, "ghir_jam", "6.5");
                setBox(ins2, "ghir_t", "1.5");
                click(ins2, "BitBtn1");
                ins2->reject();
            };
            click(src, "N13");
            QCOMPARE(ds->toInt64("id"), id);
            QCOMPARE(QStringList({ds->text("tonaj"), ds->text("jalase_no"), ds->text("mande")}),
                     QStringList({"140", "12", "0.5"}));
            QCOMPARE(f.scalar("select z_mablagh from ghir where id=?", {id}).toLongLong(), qint64(3000000000));
            // Its undertaking printed from the preview: the request and the print are recorded.
            f.ui.previewPrints.enqueue({Ui::Printed});
            click(src, "N8");
            QCOMPARE(f.ui.reports.size(), 1);
            QVERIFY(f.ui.reports.last().problems.isEmpty());
            QCOMPARE(f.scalar("select count(*) from ghir_history where ghir_key=?", {id}).toInt(), 2);
            // The other deleted behind the question and the sample password.
            QVERIFY(ds->locate("rosta", "صائين قلعه"));
            f.ui.answers << Ui::Yes;
            f.ui.inputs << "1234";
            click(src, "N3");
            QCOMPARE(f.ui.lastMessage(), texts::kDeleted);
            QCOMPARE(rows(f, "select id from ghir"), QStringList{QString::number(id)});
        };
        QVERIFY(f.form<Tmain>()->trigger("N13"));
        QVERIFY(shown);
        // Sign-in and delete wrote their log rows.
        QCOMPARE(f.count("log"), qint64(2));
    }
};

VARNOSET_DB_TEST_MAIN(RoadTest)
#include "db_road.moc"
