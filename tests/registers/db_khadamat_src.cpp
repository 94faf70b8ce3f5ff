// The technical-services reports window: listing with attachment counts and colours, sums,
// the county restriction, the entry form, the delete, the counties without a report and the
// monthly table.
#include "support/drive.h"
#include "support/texts.h"
#include "support/readback.h"

#include "app/main_u.h"
#include "registers/khadamat_ins_u.h"
#include "registers/khadamat_src_u.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

// The system's texts, copied once (the shared ones are in support/texts.h).
const QString kEmptyList = QStringLiteral("هيچ گزارشي در ليست نيست"); // our own wording
const QString kAllReported = QStringLiteral("هيچ شهرستاني بدون گزارش يافت نشد"); // our own wording
const QString kDuplicate = QStringLiteral("اين شهرستان و سال و ماه تکراريست");
const QString kDeleteQuestion = QStringLiteral("از حذف اطمينان داريد؟");
const QString kDeleteLog = QStringLiteral("  حذف خدمات فني   ");
const QString kPasswordList = QStringLiteral("رمز حذف");
const QString kMehr = QStringLiteral("مهر"), kAban = QStringLiteral("آبان");
const QString kDey = QStringLiteral("دي"), kOrdibehesht = QStringLiteral("ارديبهشت");

const char *const kFigures[] = {"dehyariha", "fani", "mablagh", "khalaf_par", "bi_par", "bi_est",
                                "khalaf_bon", "dakhel_m", "kharej_m", "farmandari", "ostandari", "ehdasi"};

// A report as the entry form stores it; figures from `first` up, one more per column.
qint64 addReport(Fixture &f, const QString &city, const QString &sal, const QString &mah, qint64 first = 1)
{
    QStringList cols{"city", "sal", "mah"};
    QVariantList values{city, sal, mah};
    for (const char *c : kFigures) {
        cols << QLatin1String(c);
        values << first++;
    }
    f.dm.exec(QStringLiteral("insert into khadamat (%1) values (?%2)").arg(cols.join(','), QString(",?").repeated(14)),
              values);
    return f.scalar(QStringLiteral("select max(id) from khadamat")).toLongLong();
}

void addPic(Fixture &f, qint64 report)
{
    f.dm.exec(QStringLiteral("insert into khadamat_pic (khadamat_id, cmt, pictyp, pic) values (?,?,?,?)"),
              {report, "تصوير گزارش", ".jpg", QByteArray("jpeg")});
}

Tkhadamat_src *window(Fixture &f) { return f.form<Tkhadamat_src>(); }
DataSet *listing(Fixture &f) { return f.dm.ADOQ_khadamat; }
QString cnt(Fixture &f) { return child<QLabel>(window(f), "cnt")->text(); }

QStringList cities(Fixture &f) { return gridColumn(window(f), "DBGrid1", "city"); }

void tick(Fixture &f, const char *check) { child<QCheckBox>(window(f), check)->click(); }

// Months into the month filter's list, as the user adds them with "+".
void listMonths(Fixture &f, const QStringList &months)
{
    for (const QString &m : months) {
        child<QComboBox>(window(f), "mah")->setCurrentText(m);
        click(window(f), "add_mah");
    }
}

void openFromMain(Fixture &f) { QVERIFY(f.form<Tmain>()->trigger("N19")); }

} // namespace

class TestKhadamatSrc : public QObject {
    Q_OBJECT
private slots:
    void listingCountsSumsAndColours()
    {
        Fixture f(true);
        const qint64 a = addReport(f, "اراك", "1405", kMehr, 1);     // dehyariha 1, fani 2, mablagh 3
        const qint64 b = addReport(f, "ساوه", "1405", kMehr, 10);    // 10, 11, 12
        addReport(f, "خمين", "1404", kAban, 2000000000);             // the money column near its ceiling
        addPic(f, b);
        addPic(f, b);
        openFromMain(f);
        QCOMPARE(f.ui.shownWindows, QStringList({"Tkhadamat_src"}));
        QCOMPARE(cities(f), QStringList({"اراك", "ساوه", "خمين"}));
        QVERIFY(listing(f)->isNull("pic_count"));
        QCOMPARE(listing(f)->text("pic_count", 1), "2");
        QCOMPARE(cnt(f), "3");
        QCOMPARE(window(f)->kept("d"), "2000000011");
        QCOMPARE(window(f)->kept("f"), "2000000014");
        QCOMPARE(window(f)->kept("m"), "2000000017");
        // No attachment: red; attached: lime green.
        auto *grid = child<QTableView>(window(f), "DBGrid1");
        const auto colour = [&](int row) {
            return grid->model()->data(grid->model()->index(row, 1), Qt::BackgroundRole).value<QColor>();
        };
        QCOMPARE(colour(0), QColor(255, 0, 0));
        QCOMPARE(colour(1), QColor(0, 255, 0));
        // The year box as the opener filled it, taking part once ticked.
        tick(f, "CheckBox2");
        click(window(f), "src");
        QCOMPARE(cities(f), QStringList({"اراك", "ساوه"}));
        QCOMPARE(cnt(f), "2");
        QCOMPARE(window(f)->kept("m"), "15");
        // An attachment added meanwhile shows at the next search.
        addPic(f, a);
        click(window(f), "src");
        QCOMPARE(colour(0), QColor(0, 255, 0));
    }

    void countyRestrictionAndRights()
    {
        Fixture f(true);
        addReport(f, "اراك", "1405", kMehr, 1);
        addReport(f, "ساوه", "1405", kAban, 5);
        addReport(f, "خمين", "1405", QStringLiteral("آذر"), 9);
        // A province user sees its own counties' reports and sums only.
        const qint64 u = f.addUser("ostan1", "p", "ostan");
        f.addCounty(u, "اراك");
        f.addCounty(u, "خمين");
        f.signInAs(u, "ostan1", "ostan");
        f.grant(u, "khadamat", true, false, false);
        openFromMain(f);
        QCOMPARE(cities(f), QStringList({"اراك", "خمين"}));
        QCOMPARE(window(f)->kept("d"), "10");
        QCOMPARE(window(f)->kept("f"), "12");
        // The restriction and a filter together.
        tick(f, "CheckBox3");
        listMonths(f, {kMehr, kAban});
        click(window(f), "src");
        QCOMPARE(cities(f), QStringList({"اراك"}));
        QCOMPARE(cnt(f), "1");
        // Its rights: insert only.
        QVERIFY(child<QAction>(window(f), "N1")->isEnabled());
        QVERIFY(!child<QAction>(window(f), "N2")->isEnabled());
        QVERIFY(!child<QAction>(window(f), "N3")->isEnabled());
    }

    void entryInsertDuplicateAndEdit()
    {
        Fixture f(true);
        openFromMain(f);
        auto *form = f.form<Tkhadamat_ins>();
        through(f, window(f), "N1", "Tkhadamat_ins", [&](QDialog *) {
            QCOMPARE(form->boxText("sal"), "1405");
            child<QComboBox>(form, "city")->setEditText("اراك");
            child<QComboBox>(form, "mah")->setCurrentText(kMehr);
            typeText(child<QLineEdit>(form, "fani"), "12a3-");
            child<QLineEdit>(form, "dehyariha")->setText("45");
            child<QLineEdit>(form, "mablagh")->setText("1,500,000");
            click(form, "ins_btn");
            // Again: refused, nothing written.
            click(form, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kDuplicate}));
        QCOMPARE(rows(f, "select fani, dehyariha, mablagh, ehdasi, mah from khadamat"), QStringList{"123|45|1500000|0|" + kMehr});
        // The listing followed the save.
        QCOMPARE(cities(f), QStringList({"اراك"}));
        QCOMPARE(window(f)->kept("m"), "1500000");

        // A figure beyond an int is refused naming its box; nothing written.
        f.ui.clear();
        const qint64 other = addReport(f, "ساوه", "1405", kMehr, 1);
        click(window(f), "src");
        listing(f)->setCurrentRow(0);
        through(f, window(f), "N2", "Tkhadamat_ins", [&](QDialog *) {
            QCOMPARE(form->boxText("fani"), "123");
            child<QLineEdit>(form, "ehdasi")->setText("9999999999");
            click(form, "edit_btn");
            QCOMPARE(f.ui.messages.size(), 1);
            QVERIFY(f.ui.messages.first().contains(captioned(form, "ehdasi")));
            // The month of another report is accepted on an edit.
            child<QLineEdit>(form, "ehdasi")->setText("7");
            child<QComboBox>(form, "city")->setEditText("ساوه");
            click(form, "edit_btn");
            QCOMPARE(f.ui.lastMessage(), texts::kEdited);
            // A second save from the same form writes the same report again.
            child<QLineEdit>(form, "ehdasi")->setText("8");
            click(form, "edit_btn");
            QCOMPARE(f.ui.lastMessage(), texts::kEdited);
            QCOMPARE(rows(f, "select city, mah, ehdasi from khadamat order by id"),
                     QStringList({"ساوه|" + kMehr + "|8", "ساوه|" + kMehr + "|12"}));
            // The report deleted meanwhile: said so, not "edited".
            f.dm.exec("delete from khadamat where id<>?", {other});
            click(form, "edit_btn");
            QCOMPARE(f.ui.lastMessage(), texts::kRowGone);
            QCOMPARE(f.count("khadamat"), qint64(1));
        });
    }

    void deleteAsksThenRecounts()
    {
        Fixture f(true);
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {kPasswordList, "123"});
        const qint64 a = addReport(f, "اراك", "1405", kMehr, 1);
        addReport(f, "ساوه", "1405", kMehr, 10);
        addPic(f, a);
        openFromMain(f);
        const QString question = "'اراك'" + kDeleteQuestion;
        // No: no password asked, nothing deleted.
        f.ui.answers << Ui::No;
        click(window(f), "N3");
        QCOMPARE(f.ui.questions, QStringList({question}));
        QVERIFY(f.ui.prompts.isEmpty());
        // Yes with a wrong password.
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "12";
        click(window(f), "N3");
        QCOMPARE(f.ui.prompts, QStringList({"Password|کلمه عبور|?"}));
        QCOMPARE(f.ui.messages, QStringList({texts::kPasswordMismatch}));
        QCOMPARE(f.count("khadamat"), qint64(2));
        QCOMPARE(f.count("log"), qint64(0));
        // Both: gone with its log row; its attachment stays; list, count and sums recounted.
        f.ui.clear();
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(window(f), "N3");
        QCOMPARE(f.ui.messages, QStringList({texts::kDeleted}));
        QCOMPARE(f.count("khadamat"), qint64(1));
        QCOMPARE(f.count("khadamat_pic"), qint64(1));
        QCOMPARE(f.scalar("select cmt from log").toString(), kDeleteLog + "'اراك' admin");
        QCOMPARE(cities(f), QStringList({"ساوه"}));
        QCOMPARE(cnt(f), "1");
        QCOMPARE(window(f)->kept("d"), "10");
        // An empty list: edit, delete and attachments do nothing but say why.
        f.dm.exec("delete from khadamat");
        click(window(f), "src");
        f.ui.clear();
        for (const char *item : {"N2", "N3", "N7"})
            click(window(f), item);
        QCOMPARE(f.ui.messages, QStringList(3, kEmptyList));
        QVERIFY(f.ui.questions.isEmpty() && f.ui.shownWindows.isEmpty());
    }

    void countiesWithoutReport()
    {
        Fixture f(true);
        for (const char *c : {"اراك", "ساوه", "خمين", "تفرش"})
            f.dm.exec("insert into abadiha (ostan, shahrestan, city) values (?,?,?)", {"مرکزي", c, c});
        addReport(f, "اراك", "1405", kOrdibehesht);
        addReport(f, "ساوه", "1405", kDey);
        addReport(f, "خمين", "1404", kDey);
        openFromMain(f);
        tick(f, "CheckBox2");
        tick(f, "CheckBox3");
        listMonths(f, {kDey});
        // "دي" lies inside "ارديبهشت": it is still not a report for دي.
        click(window(f), "N10");
        QCOMPARE(f.ui.lastMessage(), "*اراك*تفرش*خمين");
        // The county box narrows the counties named.
        tick(f, "CheckBox1");
        child<QComboBox>(window(f), "city")->setEditText("خمين");
        click(window(f), "N10");
        QCOMPARE(f.ui.lastMessage(), "*خمين");
        // A county user named after its county is told of its own county only, and in a
        // sentence once it has reported.
        tick(f, "CheckBox1");
        f.signInAs(f.addUser("تفرش", "p", "city"), "تفرش", "city");
        click(window(f), "N10");
        QCOMPARE(f.ui.lastMessage(), "*تفرش");
        addReport(f, "تفرش", "1405", kDey);
        click(window(f), "N10");
        QCOMPARE(f.ui.lastMessage(), kAllReported);
    }

    void monthlyTablePrinted()
    {
        Fixture f(true);
        for (int i = 0; i < 3; ++i)
            addReport(f, QStringLiteral("شهرستان %1").arg(i + 1), "1405", kMehr, 1000000 + i);
        openFromMain(f);
        // The year filter off, the month filter on: the header shows the current row's month only.
        tick(f, "CheckBox3");
        listMonths(f, {kMehr, kAban});
        click(window(f), "src");
        click(window(f), "N5");
        QCOMPARE(f.ui.reports.size(), 1);
        const auto &call = f.ui.reports.first();
        QVERIFY2(call.problems.isEmpty(), qPrintable(call.problems.join(';')));
        const report::FilledReport &r = *call.report;
        QCOMPARE(r.text("sal"), QString());
        QCOMPARE(r.text("mah"), kMehr);
        // 3 rows from 1000000 + i: 3000003 (dehyariha), + 3 more for fani, + 6 for mablagh; the
        // fees (millions of rials) grouped as every printed amount, the counts not.
        QCOMPARE(r.text("dehyariha_sum"), "3000003");
        QCOMPARE(r.text("fani_sum"), "3000006");
        QCOMPARE(r.text("mablagh_sum"), "3,000,009");
        QCOMPARE(r.rowCount(), 3);
        QCOMPARE(r.cell(2, "mablagh"), "1,000,004");
        QCOMPARE(r.cell(2, "fani"), "1000003");
    }
};

VARNOSET_DB_TEST_MAIN(TestKhadamatSrc)
#include "db_khadamat_src.moc"
