// The road of allocations through the windows, as a province user with the sample data
// works: sign in, open the bitumen window, register, find, edit, complete and delete.
#include "support/drive.h"

#include "bitumen/ghir_src_u.h"
#include "core/login_u.h"
#include "core/main_u.h"

namespace {

// Fills the initial entry of a new allocation and registers it.
void registerAllocation(Fixture &f, QWidget *src, const QString &rosta, const QString &tonaj)
{
    through(f, src, "N1", "Tghir_ins", [&](QDialog *ins) {
        for (const auto &[box, text] : {std::pair<const char *, QString>{"ostan", "زنجان"}, {"city", "ابهر"},
                                        {"rosta", rosta}, {"prj_typ", "آسفالت معابر"},
                                        {"peymankar", "شركت آسفالت گستر ابهر"}, {"prot_no", "1405/3/215"},
                                        {"prot_mablagh", "4500000"}, {"tonaj", tonaj}, {"ghir_tahatori", "7.5"},
                                        {"z_mablagh", "3,000,000,000"}, {"sal", "1405"}})
            setText(ins, box, text);
        click(ins, "ins_btn");
        ins->reject();
    });
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
        setText(login, "user_name", "2280000016");
        setText(login, "password", "ostan123");
        click(login, "enter_btn");
        QCOMPARE(f.ctx.CurrentUser.level, "ostan");

        bool shown = false;
        f.ui.onShow["Tghir_src"] = [&](QDialog *src) {
            shown = true;
            registerAllocation(f, src, "حصار", "120");
            registerAllocation(f, src, "صائين قلعه", "80");
            QCOMPARE(f.count("ghir"), qint64(2));

            // Find the first by its village.
            click(src, "CheckBox3");
            setText(src, "rosta", "حصار");
            click(src, "add_rosta");
            click(src, "src_btn");
            QCOMPARE(f.dm.ADOQ_ghir->recordCount(), 1);
            const qint64 id = f.dm.ADOQ_ghir->toInt64("id");

            // Edit its tonnage, then complete it; both changes stay.
            through(f, src, "N2", "Tghir_ins", [&](QDialog *ins) {
                setText(ins, "tonaj", "140");
                click(ins, "edit_btn");
            });
            through(f, src, "N13", "Tghir_ins2", [&](QDialog *ins2) {
                for (const auto &[box, text] : {std::pair{"jalase_no", "12"}, {"ghir_jam", "6.5"}, {"ghir_t", "1.5"}})
                    setText(ins2, box, text);
                click(ins2, "BitBtn1");
                ins2->reject();
            });
            QCOMPARE(f.dm.ADOQ_ghir->toInt64("id"), id);
            QCOMPARE(f.dm.ADOQ_ghir->text("tonaj"), "140");
            QCOMPARE(f.dm.ADOQ_ghir->text("jalase_no"), "12");
            QCOMPARE(f.dm.ADOQ_ghir->toDouble("mande"), 0.5); // 6.5 + 1.5 - 7.5
            QCOMPARE(ghirCell(f, id, "z_mablagh"), "3000000000");

            // List both, delete the other behind the question and the password.
            click(src, "CheckBox3");
            click(src, "src_btn");
            QCOMPARE(f.dm.ADOQ_ghir->recordCount(), 2);
            QVERIFY(f.dm.ADOQ_ghir->locate("rosta", "صائين قلعه"));
            f.ui.answers << Ui::Yes;
            f.ui.inputs << "1234";
            click(src, "N3");
            QCOMPARE(f.ui.lastMessage(), Tghir_src::kDeleted);
            QCOMPARE(f.count("ghir"), qint64(1));
            QCOMPARE(f.scalar("select rosta from ghir").toString(), "حصار");
            QCOMPARE(f.scalar("select tonaj from ghir").toDouble(), 140.0);
        };
        QVERIFY(f.form<Tmain>()->trigger("N13"));
        QVERIFY(shown);
        // Sign-in and delete wrote their log rows.
        QCOMPARE(f.count("log"), qint64(2));
    }
};

VARNOSET_DB_TEST_MAIN(RoadTest)
#include "db_road.moc"
