// The technical-services reports window: listing with attachment counts and sums, the county
// restriction, the entry form, the delete, the counties without a report, the monthly table,
// and the reports' attachments (stored, deleted behind the delete password, searched and saved).
#include "support/drive.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "registers/khadamat_ins_u.h"
#include "registers/khadamat_pic_src_u.h"
#include "registers/khadamat_src_u.h"
#include "shared/attachment_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

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
const QString kReportScan = QStringLiteral("تصوير گزارش");
const QString kSignature = QStringLiteral("تصوير امضاء");
const QString kEmptyDescription = QStringLiteral("خطا! ابتدا شرح ضميمه را مشخص نماييد");

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
// The sums the print takes: dehyariha, fani and mablagh.
QString sums(Fixture &f) { return window(f)->kept("d") + ' ' + window(f)->kept("f") + ' ' + window(f)->kept("m"); }

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
    void listingCountsAndSums()
    {
        Fixture f(true);
        const qint64 a = addReport(f, "اراك", "1405", kMehr, 1);     // dehyariha 1, fani 2, mablagh 3
        const qint64 b = addReport(f, "ساوه", "1405", kMehr, 10);    // 10, 11, 12
        addReport(f, "خمين", "1404", kAban, 2000000000);             // the money column near its ceiling
        addPic(f, b);
        addPic(f, b);
        openFromMain(f);
        QCOMPARE(f.ui.shownWindows, QStringList({"Tkhadamat_src"}));
        QCOMPARE(cities(f) << listing(f)->text("pic_count", 0) << listing(f)->text("pic_count", 1) << cnt(f),
                 QStringList({"اراك", "ساوه", "خمين", "", "2", "3"}));
        QCOMPARE(sums(f), "2000000011 2000000014 2000000017");
        // The year box as the opener filled it, taking part once ticked.
        tick(f, "CheckBox2");
        click(window(f), "src");
        QCOMPARE(cities(f), QStringList({"اراك", "ساوه"}));
        QCOMPARE(cnt(f) + ' ' + sums(f), "2 11 13 15");
        // An attachment added meanwhile shows at the next search.
        addPic(f, a);
        click(window(f), "src");
        QCOMPARE(listing(f)->text("pic_count", 0), "1");
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
        QCOMPARE(sums(f), "10 12 14");
        // The restriction and a filter together.
        tick(f, "CheckBox3");
        listMonths(f, {kMehr, kAban});
        click(window(f), "src");
        QCOMPARE(cities(f), QStringList({"اراك"}));
        QCOMPARE(cnt(f), "1");
        // Its rights: insert only.
        QString enabled;
        for (const char *a : {"N1", "N2", "N3"})
            enabled += child<QAction>(window(f), a)->isEnabled() ? a : "-";
        QCOMPARE(enabled, "N1--");
    }

    void entryInsertDuplicateAndEdit()
    {
        Fixture f(true);
        openFromMain(f);
        auto *form = f.form<Tkhadamat_ins>();
        through(f, window(f), "N1", "Tkhadamat_ins", [&](QDialog *) {
            fillBoxes(form, {{"city", "اراك"}, {"dehyariha", "45"}, {"mablagh", "1,500,000"}});
            setBox(form, "mah", kMehr);
            typeText(child<QLineEdit>(form, "fani"), "12a3-");
            click(form, "ins_btn");
            click(form, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kDuplicate}));
        QCOMPARE(rows(f, "select fani, dehyariha, mablagh, ehdasi, mah from khadamat"), QStringList{"123|45|1500000|0|" + kMehr});
        // The listing followed the save.
        QCOMPARE(cities(f) << window(f)->kept("m"), QStringList({"اراك", "1500000"}));

        // A figure beyond an int is refused naming its box; nothing written.
        f.ui.clear();
        addReport(f, "ساوه", "1405", kMehr, 1);
        click(window(f), "src");
        listing(f)->setCurrentRow(0);
        through(f, window(f), "N2", "Tkhadamat_ins", [&](QDialog *) {
            QCOMPARE(form->boxText("fani"), "123");
            child<QLineEdit>(form, "ehdasi")->setText("9999999999");
            click(form, "edit_btn");
            QVERIFY(f.ui.messages.size() == 1 && f.ui.messages.first().contains(captioned(form, "ehdasi")));
            // The month of another report is accepted on an edit.
            child<QLineEdit>(form, "ehdasi")->setText("7");
            child<QComboBox>(form, "city")->setEditText("ساوه");
            click(form, "edit_btn");
            QCOMPARE(f.ui.lastMessage(), texts::kEdited);
            QCOMPARE(rows(f, "select city, mah, ehdasi from khadamat order by id"),
                     QStringList({"ساوه|" + kMehr + "|7", "ساوه|" + kMehr + "|12"}));
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
        // The question first: No asks no password.
        f.ui.answers << Ui::No;
        click(window(f), "N3");
        QVERIFY(f.ui.prompts.isEmpty());
        // Yes and the password: gone with its log row; its attachment stays; list, count and
        // sums recounted.
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(window(f), "N3");
        QCOMPARE(f.ui.questions, QStringList({question, question}));
        QCOMPARE(f.ui.prompts, QStringList({"Password|کلمه عبور|?"}));
        QCOMPARE(f.ui.messages, QStringList({texts::kDeleted}));
        QCOMPARE(QList<qint64>({f.count("khadamat"), f.count("khadamat_pic")}), QList<qint64>({1, 1}));
        QCOMPARE(f.scalar("select cmt from log").toString(), kDeleteLog + "'اراك' admin");
        QCOMPARE(cities(f) << cnt(f) << window(f)->kept("d"), QStringList({"ساوه", "1", "10"}));
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
        QCOMPARE(r.text("sal") + r.text("mah"), kMehr);
        // 3 rows from 1000000 + i: 3000003 (dehyariha), + 3 more for fani, + 6 for mablagh; the
        // fees (millions of rials) grouped as every printed amount, the counts not.
        QCOMPARE(QStringList({r.text("dehyariha_sum"), r.text("fani_sum"), r.text("mablagh_sum")}),
                 QStringList({"3000003", "3000006", "3,000,009"}));
        QCOMPARE(r.rowCount(), 3);
        QCOMPARE(r.cell(2, "mablagh") + ' ' + r.cell(2, "fani"), "1,000,004 1000003");
    }

    void attachmentsStoredAndDeleted()
    {
        Fixture f(true);
        QTemporaryDir dir;
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {"رمز حذف", "123"});
        const qint64 report = addReport(f, "اراك", "1405", kMehr);
        openFromMain(f);
        through(f, window(f), "N7", "Tkhadamat_pic", [&](QDialog *w) {
            auto *cmt = child<QComboBox>(w, "cmt");
            // No description: said, no dialog; the signature's scan is a bitmap; a cancelled
            // dialog stores nothing.
            click(w, "ins_btn");
            QCOMPARE(f.ui.messages, QStringList({kEmptyDescription}));
            cmt->setEditText(kSignature);
            click(w, "ins_btn");
            QCOMPARE(f.ui.openFilters, QStringList({"Bitmap Files(*.bpm) (*.bmp)"}));
            // A description longer than its column is refused whole, naming its box and limit.
            const QString longText(101, QChar(0x0628));
            cmt->setEditText(longText);
            f.ui.openFiles << writeFile(dir.filePath("scan.jpg"), "JPEG-1");
            click(w, "ins_btn");
            QCOMPARE(f.ui.lastMessage(), texts::tooLong(longText, texts::boxName("شرح مستند"), 100));
            QCOMPARE(f.count("khadamat_pic"), qint64(0));
            cmt->setEditText(kReportScan);
            f.ui.openFiles << writeFile(dir.filePath("scan.jpg"), "JPEG-2");
            click(w, "ins_btn");
            QCOMPARE(f.ui.lastMessage(), texts::kInserted);
            QCOMPARE(f.ui.openFilters.last(), QString());
            QCOMPARE(f.scalar("select khadamat_id from khadamat_pic").toLongLong(), report);
            auto *grid = child<QTableView>(w, "DBGrid1");
            QCOMPARE(grid->model()->rowCount(), 1);
            // The delete password alone guards the delete.
            f.ui.inputs << "123";
            click(w, "N1");
            QCOMPARE(f.ui.lastMessage(), texts::kDeleted);
            QVERIFY(f.ui.questions.isEmpty());
            QCOMPARE(f.count("khadamat_pic") + grid->model()->rowCount(), qint64(0));
        });
        QCOMPARE(f.ui.prompts, QStringList({"Delete Password|رمز حذف|?"}));
    }

    void searchListsEveryFileAndSavesThem()
    {
        Fixture f(true);
        QTemporaryDir dir;
        const qint64 a = addReport(f, "اراك", "1405", kMehr);
        const qint64 b = addReport(f, "ساوه", "1405", kMehr);
        for (const auto &[owner, cmt, ext, bytes] :
             {std::tuple{a, "تصوير گزارش", ".jpg", "A"}, std::tuple{b, "تصوير گزارش", ".pdf", "B"},
              std::tuple{b, "نامه", ".png", "C"}})
            f.dm.exec("insert into khadamat_pic (khadamat_id, cmt, pictyp, pic) values (?,?,?,?)",
                      {owner, QString::fromUtf8(cmt), QString::fromLatin1(ext), QByteArray(bytes)});
        // Report b deleted: its files stay, found with an empty county.
        f.dm.exec("delete from khadamat where id=?", {b});
        openFromMain(f);
        through(f, window(f), "N11", "Tkhadamat_pic_src", [&](QDialog *w) {
            QCOMPARE(child<QLabel>(w, "cnt")->text(), QString());
            click(w, "BitBtn1");
            auto *rows = f.form<Tkhadamat_pic_src>()->list()->rows();
            QCOMPARE(QStringList({child<QLabel>(w, "cnt")->text(), QString::number(rows->recordCount()),
                                  rows->text("city", 0), rows->text("city", 1)}),
                     QStringList({"3", "3", "اراك", ""}));
            // Saved in the listing's order (the numbering is the attachment list's test).
            f.ui.saveFiles << dir.filePath("rep");
            click(w, "BitBtn2");
            QCOMPARE(readFile(dir.filePath("rep3.png")), QByteArray("C"));
            // By county, a substring match.
            child<QCheckBox>(w, "CheckBox2")->click();
            child<QComboBox>(w, "city")->setEditText("راك");
            click(w, "BitBtn1");
            QCOMPARE(child<QLabel>(w, "cnt")->text(), "1");
        });
    }
};

VARNOSET_DB_TEST_MAIN(TestKhadamatSrc)
#include "db_khadamat_src.moc"
