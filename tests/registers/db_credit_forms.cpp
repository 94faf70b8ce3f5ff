// The credit register's entry forms, opened from the credits window: the place cascade, the
// project's duplicate refusal and log rows, credit amounts beyond 32 bits, and the child forms'
// duplicate refusal per credit.
#include "registers/credit_rows.h"
#include "support/texts.h"

#include "core/dm_u.h"
#include "registers/etebarat_src_u.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kProjectDuplicate = QStringLiteral("خطا! استان،شهرستان و بخش تکراريست");
const QString kChildDuplicate = QStringLiteral("خطا! محل و منبع و سال تکراريست");
const QString kInsertLog = QStringLiteral("  ثبت اعتبار پروژه  ");
const QString kEditLog = QStringLiteral("  ويرايش اعتبار پروژه  ");

Tetebarat_src *window(Fixture &f) { return f.form<Tetebarat_src>(); }

QStringList items(QDialog *d, const char *box)
{
    QStringList out = comboItems(child<QComboBox>(d, box));
    out.sort();
    return out;
}

void addPlace(Fixture &f, const QString &ostan, const QString &city, const QString &bakhsh, const QString &dehestan,
              const QString &rosta, const QString &cod)
{
    f.dm.exec("insert into abadiha (ostan, shahrestan, city, bakhsh, dehestan, rosta, cod) values (?,?,?,?,?,?,?)",
              {ostan, city, city, bakhsh, dehestan, rosta, cod});
}

// Lists the projects and makes `project` and `credit` (when given) current.
void current(Fixture &f, qint64 project, qint64 credit = 0)
{
    click(window(f), "src_btn2");
    QVERIFY(f.dm.ADOQ_proj->locate("id", project));
    if (credit)
        QVERIFY(f.dm.ADOQ_etb->locate("id", credit));
}

} // namespace

class CreditFormsTest : public QObject {
    Q_OBJECT
private slots:
    void projectCascadeDuplicateAndLog()
    {
        Fixture f(true);
        addPlace(f, "مرکزي", "اراك", "مرکزي", "امانيه", "نوبران", "1001");
        addPlace(f, "مرکزي", "اراك", "مرکزي", "امانيه", "كرهرود", "1002");
        addPlace(f, "مرکزي", "اراك", "خنداب", "جاورسيان", "جاورسيان", "1003");
        addPlace(f, "مرکزي", "ساوه", "نوبران", "بوسين", "آوه", "1004");
        addPlace(f, "تهران", "ري", "کهريزک", "قلعه نو", "قلعه نو", "1005");
        addPrj(f, "ساوه", "آوه", {{"tarh_cod", "T-7"}});
        through(f, window(f), "N2", "Tprj_ins", [&](QDialog *d) {
            QCOMPARE(items(d, "tarh_cod"), QStringList({"T-7"}));
            // Each place lists the next one's places under every place above.
            for (const auto &[box, place] : {std::pair{"ostan", "مرکزي"}, {"city", "اراك"}, {"bakhsh", "مرکزي"},
                                             {"dehestan", "امانيه"}})
                setBox(d, box, place);
            QCOMPARE(items(d, "rosta"), QStringList({"كرهرود", "نوبران"}));
            setBox(d, "rosta", "نوبران");
            QCOMPARE(items(d, "cod"), QStringList({"1001"}));

            setBox(d, "prj_cod", "401");
            setBox(d, "prg_sal1", "1402");
            click(d, "ins_btn");
            // The form stays open: a second press, and a project that differs only in its rural
            // district, are refused.
            click(d, "ins_btn");
            setBox(d, "dehestan", "ديگر");
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kProjectDuplicate, kProjectDuplicate}));
        QCOMPARE(f.count("prj"), 2);
        // An empty year box stores four blanks; a new project has no credit.
        QCOMPARE(column(f, "prj", "prj_sal2", "where rosta='نوبران'"), QStringList({"    "}));
        QCOMPARE(column(f, "prj", "etb_id", "where rosta='نوبران'"), QStringList({"-1"}));
        QCOMPARE(column(f, "log", "cmt"), QStringList({kInsertLog + "اراك نوبران 401 admin"}));
    }

    void projectEditTakesTheCurrentCredit()
    {
        Fixture f(true);
        const qint64 p1 = addPrj(f, "اراك", "نوبران");
        const qint64 p2 = addPrj(f, "ساوه", "آوه");
        const qint64 e2 = addEtb(f, p2, "ملي", "درآمد عمومي", "1403", 10, 0);
        // After a credit search the credit of another project is current.
        current(f, p1);
        click(window(f), "src_btn");
        QVERIFY(f.dm.ADOQ_etb->locate("id", e2));
        through(f, window(f), "N8", "Tprj_ins", [&](QDialog *d) {
            QCOMPARE(child<QComboBox>(d, "rosta")->currentText(), "نوبران");
            setBox(d, "prj_title", "بهسازي");
            click(d, "edit_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kEdited}));
        QCOMPARE(column(f, "prj", "etb_id", QString("where id=%1").arg(p1)), ids({e2}));
        // The grid shows the change at once; the credit list stays.
        QCOMPARE(f.dm.ADOQ_proj->text("prj_title"), "بهسازي");
        QCOMPARE(f.dm.ADOQ_etb->text("id"), QString::number(e2));
        QCOMPARE(column(f, "log", "cmt"), QStringList({kEditLog + "اراك نوبران P-نوبران admin"}));
    }

    void creditAmountsBeyond32Bits()
    {
        Fixture f(true);
        const qint64 p1 = addPrj(f, "اراك", "نوبران");
        const qint64 p2 = addPrj(f, "ساوه", "آوه");
        addEtb(f, p2, "ملي", "درآمد عمومي", "1403", 10, 0);
        current(f, p1);
        through(f, window(f), "N1", "Tetebar_ins", [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "0");
            setBox(d, "tamin_loc", "ملي");
            setBox(d, "sal", "1403");
            child<QLineEdit>(d, "mablagh")->clear();
            typeText(child<QLineEdit>(d, "mablagh"), "5000000000");
            QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "5,000,000,000");
            setBox(d, "dion", "12.34567");
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted}));
        const QString mine = QString("where prj_id=%1").arg(p1);
        QCOMPARE(column(f, "etebarat", "mablagh", mine), QStringList({"5000000000"}));
        // Debts to the nearest ten-thousandth.
        QCOMPARE(column(f, "etebarat", "dion", mine), QStringList({"12.3457"}));
        // The credit search ran: every project's credits with their sum, 5,000,000,000 + 10.
        QCOMPARE(f.dm.ADOQ_etb->recordCount(), 2);
        QCOMPARE(child<QLabel>(window(f), "mablagh_sum")->text(), "5000000010");

        // An edit of the new credit; then the current project's credits only.
        QVERIFY(f.dm.ADOQ_etb->locate("prj_id", p1));
        through(f, window(f), "N14", "Tetebar_ins", [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "5,000,000,000");
            child<QLineEdit>(d, "mablagh")->clear();
            click(d, "edit_btn");
        });
        QCOMPARE(f.ui.lastMessage(), texts::kEdited);
        QCOMPARE(column(f, "etebarat", "mablagh", mine), QStringList({"0"}));
        QCOMPARE(listed(f.dm.ADOQ_etb, "prj_id"), ids({p1}));
    }

    void childFormsRefuseATitleTwicePerCredit()
    {
        Fixture f(true);
        const qint64 p = addPrj(f, "اراك", "نوبران");
        const qint64 e1 = addEtb(f, p, "ملي", "درآمد عمومي", "1402", 100, 0);
        const qint64 e2 = addEtb(f, p, "ملي", "درآمد عمومي", "1403", 200, 0);
        current(f, p, e1);
        auto operation = [&](const QString &title, const QString &cost) {
            through(f, window(f), "N3", "Tprj_amaliyat", [&](QDialog *d) {
                setBox(d, "item_title", title);
                setBox(d, "mablagh", cost);
                setBox(d, "darsad", "12.5");
                click(d, "ins_btn");
            });
        };
        operation("زيرسازي", "1500.25");
        operation("زيرسازي", "99");
        f.dm.ADOQ_etb->locate("id", e2);
        operation("زيرسازي", "7");
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kChildDuplicate, texts::kInserted}));
        QCOMPARE(column(f, "amaliyat", "etb_id"), ids({e1, e2}));
        QCOMPARE(column(f, "amaliyat", "mablagh"), QStringList({"1500.25", "7"}));
        QCOMPARE(column(f, "amaliyat", "darsad"), QStringList({"12.5", "12.5"}));

        // An allocation period once per credit; an empty amount stores 0.
        f.ui.messages.clear();
        for (const char *amount : {"", "900"}) {
            through(f, window(f), "N5", "Tetb_takhsis", [&](QDialog *d) {
                setBox(d, "zaman", "3 ماهه");
                setBox(d, "mablagh", amount);
                click(d, "ins_btn");
            });
        }
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kChildDuplicate}));
        QCOMPARE(column(f, "takhsis", "mablagh"), QStringList({"0"}));

        // A progress item entered under e2, edited while e1 is current: it moves under e1
        // with its item, percentage and year.
        f.ui.messages.clear();
        through(f, window(f), "N6", "Tprj_pish", [&](QDialog *d) {
            setBox(d, "item_title", "مطالعه");
            setBox(d, "darsad", "30");
            setBox(d, "sal", "1403");
            click(d, "ins_btn");
        });
        click(window(f), "src_btn2"); // the project's lists again
        DataSet *pish = window(f)->pish();
        QCOMPARE(pish->recordCount(), 1);
        f.dm.ADOQ_etb->locate("id", e1);
        through(f, window(f), "N16", "Tprj_pish", [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "darsad")->text(), "30");
            setBox(d, "item_title", "زيرسازي");
            setBox(d, "darsad", "45");
            setBox(d, "sal", "1404");
            click(d, "edit_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, texts::kEdited}));
        QCOMPARE(column(f, "pish", "etb_id"), ids({e1}));
        QCOMPARE(pish->text("item_title") + pish->text("darsad") + pish->text("sal"), "زيرسازي451404");
    }
};

VARNOSET_DB_TEST_MAIN(CreditFormsTest)
#include "db_credit_forms.moc"
