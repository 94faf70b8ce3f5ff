// The technical-services reports window: listing with attachment counts, colours and sums, its
// workbook, the county restriction, the month list, the entry form, the delete, the counties
// without a report, the monthly table, and the reports' attachments (stored, opened, deleted
// behind the delete password, searched and saved).
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/report_support.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "registers/khadamat_ins_u.h"
#include "registers/khadamat_pic_src_u.h"
#include "registers/khadamat_src_u.h"
#include "shared/attachment_list.h"

#include <QCheckBox>
#include <QColor>
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
const QString kExtensionCaption = QStringLiteral("فرمت تصوير");
// The monthly table's title, its signatures' right-hand caption and its total.
const QString kTitle = QStringLiteral("جدول عملکرد ماهانه خدمات فني و تخلفات ساختماني در مناطق روستايي");
const QString kFooter = QStringLiteral("مدير Varnoset شهرستان");
const QString kTotal = QStringLiteral("جمع کل:");
// The workbook's titles, in the listing's column order.
const QStringList kWorkbookTitles = {
    "شناسه", "شهرستان", "سال", "ماه", "آمار دهياريها جهت صدور پروانه",
    "آمار ساير خدمات فني", "مبلغ دريافتي", "ساخت برخلاف پروانه", "ساخت بدون پروانه",
    "صدور پروانه فاقد استعلام", "صدور پروانه خلاف نظر Varnoset", "داخل محدوده",
    "خارج محدوده", "ارسالي به فرمانداري", "ارسالي به استانداري", "تعداد واحد احداثي",
    "تعداد ضمائم"
};
// The row colours: no attachment red, attached lime green.
const QString kRed = QStringLiteral("#ff0000"), kLime = QStringLiteral("#00ff00");

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

// The background of each listed row, as "#rrggbb" (black when it has none).
QStringList rowColours(Fixture &f)
{
    const QAbstractItemModel *m = child<QTableView>(window(f), "DBGrid1")->model();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->data(m->index(r, 1), Qt::BackgroundRole).value<QColor>().name();
    return out;
}

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
        // No attachment: red; attached: lime green.
        QCOMPARE(rowColours(f), QStringList({kRed, kLime, kRed}));
        // The year box as the opener filled it, taking part once ticked: a substring match.
        QCOMPARE(child<QLineEdit>(window(f), "sal")->text(), "1405");
        tick(f, "CheckBox2");
        click(window(f), "src");
        QCOMPARE(cities(f), QStringList({"اراك", "ساوه"}));
        QCOMPARE(cnt(f) + ' ' + sums(f), "2 11 13 15");
        // An attachment added meanwhile shows at the next search.
        addPic(f, a);
        click(window(f), "src");
        QCOMPARE(listing(f)->text("pic_count", 0), "1");
        QCOMPARE(rowColours(f), QStringList({kLime, kLime}));
        // The workbook: the listing's rows under their titles, opened.
        f.ui.clear();
        click(window(f), "N4");
        QCOMPARE(f.ui.openedFiles.size(), 1);
        const Sheet sheet = readXlsx(f.ui.openedFiles.first());
        QCOMPARE(sheet.row(1), kWorkbookTitles);
        QStringList first{QString::number(a), "اراك", "1405", kMehr}, second{QString::number(b), "ساوه", "1405", kMehr};
        for (int i = 0; i < 12; ++i) {
            first << QString::number(1 + i);
            second << QString::number(10 + i);
        }
        QCOMPARE(sheet.row(2), first << "1");
        QCOMPARE(sheet.row(3), second << "2");
        QVERIFY(!sheet.cells.contains("A4"));
    }

    void countyRestrictionAndRights()
    {
        Fixture f(true);
        addReport(f, "اراك", "1405", kMehr, 1);
        addReport(f, "ساوه", "1405", kAban, 5);
        addReport(f, "خمين", "1405", QStringLiteral("آذر"), 9);
        openFromMain(f);
        // The month filter on with an empty list matches nothing; its box's own text never filters.
        tick(f, "CheckBox3");
        child<QComboBox>(window(f), "mah")->setCurrentText(kMehr);
        click(window(f), "src");
        QCOMPARE(cities(f), QStringList());
        QCOMPARE(cnt(f), "0");
        listMonths(f, {kMehr, kAban});
        click(window(f), "src");
        QCOMPARE(cities(f), QStringList({"اراك", "ساوه"}));
        QCOMPARE(window(f)->kept("d"), "6");
        // Unticking empties the list.
        tick(f, "CheckBox3");
        click(window(f), "src");
        QCOMPARE(cnt(f), "3");

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
            QCOMPARE(form->boxText("sal"), "1405");
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
        const qint64 other = addReport(f, "ساوه", "1405", kMehr, 1);
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
        // The question first: No asks no password.
        f.ui.answers << Ui::No;
        click(window(f), "N3");
        QCOMPARE(f.ui.questions, QStringList({question}));
        QVERIFY(f.ui.prompts.isEmpty());
        // Yes with a wrong password: said, nothing deleted, no log row.
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "12";
        click(window(f), "N3");
        QCOMPARE(f.ui.prompts, QStringList({"Password|کلمه عبور|?"}));
        QCOMPARE(f.ui.messages, QStringList({texts::kPasswordMismatch}));
        QCOMPARE(QList<qint64>({f.count("khadamat"), f.count("log")}), QList<qint64>({2, 0}));
        // Yes and the password: gone with its log row; its attachment stays; list, count and
        // sums recounted.
        f.ui.clear();
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(window(f), "N3");
        QCOMPARE(f.ui.questions, QStringList({question}));
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
        QStringList names;
        for (int i = 0; i < 30; ++i) {
            names << QStringLiteral("شهرستان %1").arg(i + 1);
            addReport(f, names.last(), "1405", kMehr, 1000000 + i);
        }
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
        // 30 rows from 1000000 + i: 30000000 + 435 (dehyariha), + 30 more for fani, + 60 for
        // mablagh; the fees (millions of rials) grouped as every printed amount, the counts not.
        QCOMPARE(QStringList({r.text("dehyariha_sum"), r.text("fani_sum"), r.text("mablagh_sum")}),
                 QStringList({"30000435", "30000465", "30,000,495"}));
        QCOMPARE(r.rowCount(), 30);
        QCOMPARE(r.cell(29, "mablagh") + ' ' + r.cell(29, "fani"), "1,000,031 1000030");
        const QString pdf = renderPdf(r);
        QCOMPARE(pdfPageCount(pdf), 2);
        // The header on the first page, the total and the signatures on the last.
        const QString page1 = pdfText(pdf, 1), page2 = pdfText(pdf, 2);
        QVERIFY(containsText(page1, kTitle) && !containsText(page2, kTitle));
        // The title with its letters as written (the Persian kaf of "عملکرد", the Arabic yeh).
        QVERIFY(pdfLines(pdf).join(QString()).remove(' ').contains(QString(kTitle).remove(' ')));
        QVERIFY(!containsText(page1, kFooter) && containsText(page2, kFooter));
        QVERIFY(containsText(page2, kTotal) && containsText(page2, "30,000,495"));
        QVERIFY(containsText(page2, names.last()));
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
            // A description or an extension longer than its column is refused whole, naming its
            // box and limit.
            const QString longText(101, QChar(0x0628));
            const QList<std::tuple<QString, QString, QString>> tooLong{
                {longText, "scan.jpg", texts::tooLong(longText, texts::boxName("شرح مستند"), 100)},
                {kReportScan, "scan.abcdefghij", texts::tooLong(".abcdefghij", texts::boxName(kExtensionCaption), 10)}};
            for (const auto &[description, name, refusal] : tooLong) {
                cmt->setEditText(description);
                f.ui.openFiles << writeFile(dir.filePath(name), "JPEG-1");
                click(w, "ins_btn");
                QCOMPARE(f.ui.lastMessage(), refusal);
            }
            QCOMPARE(f.count("khadamat_pic"), qint64(0));
            cmt->setEditText(kReportScan);
            f.ui.openFiles << writeFile(dir.filePath("scan.jpg"), "JPEG-2");
            click(w, "ins_btn");
            QCOMPARE(f.ui.lastMessage(), texts::kInserted);
            QCOMPARE(f.ui.openFilters.last(), QString());
            QCOMPARE(f.scalar("select khadamat_id from khadamat_pic").toLongLong(), report);
            QCOMPARE(f.scalar("select pictyp from khadamat_pic").toString(), ".jpg");
            auto *grid = child<QTableView>(w, "DBGrid1");
            QCOMPARE(grid->model()->rowCount(), 1);
            // A click opens it (the temp file itself is the attachment list's test).
            grid->clicked(grid->model()->index(0, 0));
            QCOMPARE(f.ui.openedFiles.size(), 1);
            QCOMPARE(readFile(f.ui.openedFiles.value(0)), QByteArray("JPEG-2"));
            // The delete password alone guards the delete: a wrong one deletes nothing.
            f.ui.inputs << "12";
            click(w, "N1");
            QCOMPARE(f.ui.lastMessage(), texts::kDeletePasswordMismatch);
            QCOMPARE(f.count("khadamat_pic") + grid->model()->rowCount(), qint64(2));
            f.ui.inputs << "123";
            click(w, "N1");
            QCOMPARE(f.ui.lastMessage(), texts::kDeleted);
            QVERIFY(f.ui.questions.isEmpty());
            QCOMPARE(f.count("khadamat_pic") + grid->model()->rowCount(), qint64(0));
        });
        QCOMPARE(f.ui.prompts, QStringList({"Delete Password|رمز حذف|?", "Delete Password|رمز حذف|?"}));
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
            // Saved in the listing's order: the name, the number, the type; no message.
            f.ui.saveFiles << dir.filePath("rep");
            click(w, "BitBtn2");
            QCOMPARE(readFile(dir.filePath("rep1.jpg")) + readFile(dir.filePath("rep2.pdf"))
                         + readFile(dir.filePath("rep3.png")), QByteArray("ABC"));
            QVERIFY(f.ui.messages.isEmpty());
            // By county, a substring match.
            child<QCheckBox>(w, "CheckBox2")->click();
            child<QComboBox>(w, "city")->setEditText("راك");
            click(w, "BitBtn1");
            QCOMPARE(child<QLabel>(w, "cnt")->text(), "1");
            QCOMPARE(rows->recordCount(), 1);
        });
    }
};

VARNOSET_DB_TEST_MAIN(TestKhadamatSrc)
#include "db_khadamat_src.moc"
