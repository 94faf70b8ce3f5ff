// The road of allocations through the windows, as a province user with the sample data
// works: sign in, open the bitumen window, register, find, edit, complete and delete.
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_src_u.h"
#include "app/login_u.h"
#include "app/main_u.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Fills the initial entry of a new allocation and registers it.
void registerAllocation(Fixture &f, QWidget *src, const QString &rosta, const QString &tonaj)
{
    f.ui.onShow[QStringLiteral("Tghir_ins")] = [&](QDialog *ins) {
        QVERIFY(child<QPushButton>(ins, QStringLiteral("ins_btn"))->isVisible());
        setBox(ins, "ostan", QStringLiteral("زنجان"));
        setBox(ins, "city", QStringLiteral("ابهر"));
        setBox(ins, "rosta", rosta);
        setBox(ins, "prj_typ", QStringLiteral("آسفالت معابر"));
        setBox(ins, "peymankar", QStringLiteral("آسفالت گستر ابهر"));
        setBox(ins, "prot_no", QStringLiteral("1405/3/215"));
        setBox(ins, "prot_mablagh", QStringLiteral("4500000"));
        setBox(ins, "tonaj", tonaj);
        setBox(ins, "ghir_tahatori", QStringLiteral("7.5"));
        setBox(ins, "z_mablagh", QStringLiteral("3,000,000,000"));
        setBox(ins, "sal", QStringLiteral("1405"));
        click(ins, QStringLiteral("ins_btn"));
        ins->reject();
    };
    click(src, QStringLiteral("N1"));
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
        child<QLineEdit>(login, QStringLiteral("user_name"))->setText(QStringLiteral("2280000016"));
        child<QLineEdit>(login, QStringLiteral("password"))->setText(QStringLiteral("ostan123"));
        child<QPushButton>(login, QStringLiteral("enter_btn"))->click();
        QCOMPARE(f.ctx.CurrentUser.level, QStringLiteral("ostan"));

        bool shown = false;
        f.ui.onShow[QStringLiteral("Tghir_src")] = [&](QDialog *src) {
            shown = true;
            registerAllocation(f, src, QStringLiteral("حصار"), QStringLiteral("120"));
            registerAllocation(f, src, QStringLiteral("صائين قلعه"), QStringLiteral("80"));
            QCOMPARE(f.count(QStringLiteral("ghir")), qint64(2));

            // Find the first by its village.
            child<QCheckBox>(src, QStringLiteral("CheckBox3"))->click();
            setBox(src, "rosta", QStringLiteral("حصار"));
            click(src, QStringLiteral("add_rosta"));
            click(src, QStringLiteral("src_btn"));
            QCOMPARE(f.dm.ADOQ_ghir->recordCount(), 1);
            QCOMPARE(child<QLabel>(src, QStringLiteral("cnt"))->text(), QStringLiteral("1"));
            const qint64 id = f.dm.ADOQ_ghir->toInt64(QStringLiteral("id"));

            // Edit its tonnage, then complete it; both changes stay.
            f.ui.onShow[QStringLiteral("Tghir_ins")] = [&](QDialog *ins) {
                QVERIFY(child<QPushButton>(ins, QStringLiteral("edit_btn"))->isVisible());
                setBox(ins, "tonaj", QStringLiteral("140"));
                click(ins, QStringLiteral("edit_btn"));
            };
            click(src, QStringLiteral("N2"));
            f.ui.onShow[QStringLiteral("Tghir_ins2")] = [&](QDialog *ins2) {
                setBox(ins2, "jalase_no", QStringLiteral("12"));
                setBox(ins2, "ghir_jam", QStringLiteral("6.5"));
                setBox(ins2, "ghir_t", QStringLiteral("1.5"));
                click(ins2, QStringLiteral("BitBtn1"));
                ins2->reject();
            };
            click(src, QStringLiteral("N13"));
            QCOMPARE(f.dm.ADOQ_ghir->toInt64(QStringLiteral("id")), id);
            QCOMPARE(f.dm.ADOQ_ghir->text(QStringLiteral("tonaj")), QStringLiteral("140"));
            QCOMPARE(f.dm.ADOQ_ghir->text(QStringLiteral("jalase_no")), QStringLiteral("12"));
            // 6.5 + 1.5 - 7.5
            QCOMPARE(f.dm.ADOQ_ghir->toDouble(QStringLiteral("mande")), 0.5);
            QCOMPARE(f.scalar(QStringLiteral("select z_mablagh from ghir where id=?"), {id}).toLongLong(),
                     qint64(3000000000));

            // Print the contractor's undertaking from the preview: the request and the print are recorded.
            f.ui.previewPrints.enqueue({Ui::Printed});
            click(src, QStringLiteral("N8"));
            QCOMPARE(f.ui.reports.size(), 1);
            QVERIFY(f.ui.reports.last().problems.isEmpty());
            QCOMPARE(f.scalar(QStringLiteral("select count(*) from ghir_history where ghir_key=?"), {id}).toInt(), 2);

            // List both, delete the other behind the question and the password.
            child<QCheckBox>(src, QStringLiteral("CheckBox3"))->click();
            click(src, QStringLiteral("src_btn"));
            QCOMPARE(f.dm.ADOQ_ghir->recordCount(), 2);
            QVERIFY(f.dm.ADOQ_ghir->locate(QStringLiteral("rosta"), QStringLiteral("صائين قلعه")));
            f.ui.answers << Ui::Yes;
            f.ui.inputs << QStringLiteral("1234");
            click(src, QStringLiteral("N3"));
            QCOMPARE(f.ui.lastMessage(), texts::kDeleted);
            QCOMPARE(f.count(QStringLiteral("ghir")), qint64(1));
            QCOMPARE(f.scalar(QStringLiteral("select rosta from ghir")).toString(), QStringLiteral("حصار"));
            QCOMPARE(f.scalar(QStringLiteral("select tonaj from ghir")).toDouble(), 140.0);
        };
        QVERIFY(f.form<Tmain>()->trigger(QStringLiteral("N13")));
        QVERIFY(shown);
        // Sign-in and delete wrote their log rows.
        QCOMPARE(f.count(QStringLiteral("log")), qint64(2));
    }
};

VARNOSET_DB_TEST_MAIN(RoadTest)
#include "db_road.moc"
