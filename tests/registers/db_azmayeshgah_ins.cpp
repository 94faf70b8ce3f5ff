// The laboratory register: the duplicate refusal, the search per column under the "city"
// restriction, insert, edit and delete with the pictures, the pictures themselves, the HTML
// export read back and the county kaf rewrite.
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "registers/azmayeshgah_ins_u.h"
#include "shared/edits.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

namespace {

// The system's texts, copied from its description.
const QString kEdited = QStringLiteral("ويرايش انجام شد");
const QString kDuplicate = QStringLiteral("نام مشاور،نوع آزمايش،شماره كار و سريال تكراري است");
const QString kLogInsert = QStringLiteral("  ثبت آزمايشگاه  ");
const QString kLogEdit = QStringLiteral("  ويرايش آزمايشگاه  ");
const QString kPasswordBox = QStringLiteral("Password|کلمه عبور|?");
const QString kDeleteQuestion = QStringLiteral(" آيا از حذف اين آيتم اطمينان داريد؟ *");
const QString kPictureQuestion = QStringLiteral("آيا ضميمه حذف شد؟");
const QString kDescriptionBox = QStringLiteral("شرح پيوست|شرح مورد نظر را وارد نماييد|تصوير آزمايش");
const QString kDefaultDescription = QStringLiteral("تصوير آزمايش");
// The export's headings: the row number's, then each field's in table order.
const QStringList kExportHeadings = {"رديف", "مشاور", "شماره كار", "سريال", "محل", "روستا", "مبلغ", "محل پرداخت",
                                      "نوع آزمايش", "پيمانكار", "تاريخ نمونه گيري", "نتيجه آزمايش", "كد انحصاري",
                                      "تاريخ نامه", "شماره نامه", "توضيحات"};

const QStringList kColumns = {"moshaver", "kar_no", "serial", "loc", "rosta", "mablagh", "pardakht_loc", "az_type",
                              "peymankar", "rep_dat", "result", "paper_dat", "paper_no", "cmt"};

// A test report as a county office records it.
QVariantMap labReport(const QVariantMap &over = {})
{
    QVariantMap r{{"moshaver", "مهندسين مشاور پارس آزما"}, {"kar_no", "1402-118"}, {"serial", "A-7"},
                  {"loc", "ابهر"}, {"rosta", "حصار"}, {"mablagh", "45600000"}, {"pardakht_loc", "اعتبارات استاني"},
                  {"az_type", "تعيين درصد قير"}, {"peymankar", "شركت آسفالت گستر ابهر"}, {"rep_dat", "1403/06/12"},
                  {"result", "قابل قبول"}, {"paper_dat", "1403/06/20"}, {"paper_no", "2310/45"},
                  {"cmt", "نمونه از سه نقطه مسير"}};
    r.insert(over);
    return r;
}

qint64 addReport(Fixture &f, const QVariantMap &over = {})
{
    const QVariantMap r = labReport(over);
    QVariantList values;
    for (const QString &c : kColumns)
        values << r.value(c);
    f.dm.exec("insert into azmayeshat (" + kColumns.join(',') + ") values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)", values);
    return f.scalar("select max(cod) from azmayeshat").toLongLong();
}

DataSet *records(QDialog *w) { return gridData(w, "DBGrid1"); }
DataSet *pictureList(QDialog *w) { return gridData(w, "DBGrid2"); }
QStringList listed(QDialog *w) { return gridColumn(w, "DBGrid1", "kar_no"); }
QString cnt(QDialog *w) { return child<QLabel>(w, "cnt")->text(); }

// The record's columns in kColumns' order, "|" between; empty when it is gone.
QString row(Fixture &f, qint64 cod)
{
    return rows(f, "select " + kColumns.join(',') + " from azmayeshat where cod=?", {cod}).value(0);
}

QStringList logRows(Fixture &f) { return rows(f, "select cmt from log order by saat_sys"); }

void search(QDialog *w, int choice, const QString &text)
{
    child<QRadioButton>(w, QStringLiteral("RadioGroup1_%1").arg(choice))->click();
    auto *src = child<QLineEdit>(w, "src");
    src->clear();
    typeText(src, text);
}

void open(Fixture &f, const Steps &steps) { through(f, f.form<Tmain>(), "N1", "Tazmayeshgah_ins", steps); }

void signIn(Fixture &f, const QString &name, const QString &level, PageRights r = {true, true, true, true})
{
    const qint64 user = f.addUser(name, "p", level);
    f.grant(user, "az", r.darj, r.virayesh, r.hazf, r.namayesh);
    f.signInAs(user, name, level);
}

} // namespace

class AzmayeshgahTest : public QObject {
    Q_OBJECT
private slots:
    void insertAndDuplicate()
    {
        Fixture f(true);
        addReport(f, {{"kar_no", "99"}, {"loc", "زنجان"}});
        open(f, [&](QDialog *w) {
            search(w, 1, "هيچ");
            QCOMPARE(cnt(w), "0");
            QVariantMap typed = labReport({{"mablagh", "45,600,000"}});
            fillBoxes(w, typed);
            QCOMPARE(pressed(f, w, "ins_btn"), QStringList{texts::kInserted});
            const qint64 cod = f.scalar("select max(cod) from azmayeshat").toLongLong();
            typed["mablagh"] = "45600000";
            QStringList expected;
            for (const QString &c : kColumns)
                expected << typed.value(c).toString();
            QCOMPARE(row(f, cod), expected.join('|'));
            QCOMPARE(logRows(f), QStringList{kLogInsert + "مهندسين مشاور پارس آزما 1402-118 شركت آسفالت گستر ابهر admin"});
            // Every record, whatever the search text; the count with it; the new record current.
            QCOMPARE(listed(w) << cnt(w), (QStringList{"99", "1402-118", "2"}));
            QCOMPARE(records(w)->value("cod").toLongLong(), cod);

            // Another village, contractor and date with the same key: refused, also when the
            // consultant's name carries a trailing blank or the Persian yeh; another test type is
            // another report.
            fillBoxes(w, {{"rosta", "صائين قلعه"}, {"peymankar", "شركت راهسازان زنجان"}, {"rep_dat", "1403/07/01"},
                          {"moshaver", "مهندسين مشاور پارس آزما "}});
            QCOMPARE(pressed(f, w, "ins_btn"), QStringList{kDuplicate});
            fillBoxes(w, {{"moshaver", "مهندسین مشاور پارس آزما"}});
            QCOMPARE(pressed(f, w, "ins_btn"), QStringList{kDuplicate});
            QCOMPARE(f.count("azmayeshat"), qint64(2));
            fillBoxes(w, {{"az_type", "دانه بندي"}});
            QCOMPARE(pressed(f, w, "ins_btn"), QStringList{texts::kInserted});

            // An amount that is not a number: its message, naming the box by its caption; nothing
            // written.
            fillBoxes(w, labReport({{"kar_no", "500"}, {"mablagh", "12x"}}));
            const QStringList refused = pressed(f, w, "ins_btn");
            QVERIFY(refused.size() == 1 && refused.first().contains("«مبلغ صورت حساب»"));
            QCOMPARE(f.count("azmayeshat"), qint64(3));
            QCOMPARE(logRows(f).size(), 2);
        });
    }

    void searchPerColumnAndCounty()
    {
        Fixture f(true);
        addReport(f, {{"kar_no", "118"}, {"loc", "ابهر"}, {"rosta", "حصار"}, {"peymankar", "راهسازان"}});
        addReport(f, {{"kar_no", "220"}, {"loc", "زنجان"}, {"rosta", "سهرين"}, {"peymankar", "آسفالت گستر"},
                      {"moshaver", "آزمون كاران خاك"}});
        addReport(f, {{"kar_no", "305"}, {"loc", "شهرستان ابهر"}, {"rosta", "صائين قلعه"}, {"peymankar", "راهسازان"}});
        const QList<std::tuple<int, QString, QStringList>> cases = {
            {0, "پارس", {"118", "305"}}, {1, "2", {"220"}},          {2, "گستر", {"220"}},
            {3, "ابهر", {"118", "305"}}, {4, "سهرين", {"220"}},       {0, "", {"118", "220", "305"}},
        };
        open(f, [&](QDialog *w) {
            QCOMPARE(listed(w), (QStringList{"118", "220", "305"}));
            for (const auto &[choice, text, expected] : cases) {
                search(w, choice, text);
                QCOMPARE(listed(w), expected);
                QCOMPARE(cnt(w), QString::number(expected.size()));
            }
            // The keheh typed is searched (and shown) as the Arabic kaf.
            search(w, 0, QStringLiteral("کاران"));
            QCOMPARE(child<QLineEdit>(w, "src")->text(), QStringLiteral("كاران"));
            QCOMPARE(listed(w), QStringList{"220"});
        });

        // A county user sees the records whose county holds the user name, also after an insert.
        signIn(f, "ابهر", "city");
        open(f, [&](QDialog *w) {
            QCOMPARE(listed(w) << cnt(w), (QStringList{"118", "305", "2"}));
            search(w, 3, "زنجان");
            QCOMPARE(cnt(w), "0");
            // A record of another county is stored but not listed.
            fillBoxes(w, labReport({{"kar_no", "400"}, {"loc", "زنجان"}}));
            QCOMPARE(pressed(f, w, "ins_btn"), QStringList{texts::kInserted});
            QCOMPARE(listed(w), (QStringList{"118", "305"}));
            fillBoxes(w, labReport({{"kar_no", "401"}, {"loc", "ابهر"}}));
            QCOMPARE(pressed(f, w, "ins_btn"), QStringList{texts::kInserted});
            QCOMPARE(listed(w) << cnt(w) << records(w)->text("kar_no"), (QStringList{"118", "305", "401", "3", "401"}));
        });
        signIn(f, "karaj", "city");
        open(f, [&](QDialog *w) { QCOMPARE(cnt(w), "0"); });
        signIn(f, "tehran", "keshvar");
        open(f, [&](QDialog *w) { QCOMPARE(cnt(w), "5"); });
    }

    void editAndDeleteWithPictures()
    {
        Fixture f(true);
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {"رمز حذف", "1234"});
        const qint64 a = addReport(f, {{"kar_no", "118"}});
        const qint64 b = addReport(f, {{"kar_no", "220"}, {"moshaver", "خاك پي"}});
        for (const auto &[cod, cmt] : {std::pair{a, "نمونه اول"}, {a, "نمونه دوم"}, {b, "نمونه سوم"}})
            f.dm.exec("insert into az_pic (cod, ext, pic, cmt) values (?,?,?,?)", {cod, ".jpg", QByteArray("JPEG"), cmt});
        signIn(f, "ostan1", "ostan", {false, true, true, true});
        open(f, [&](QDialog *w) {
            auto *edit = child<QWidget>(w, "edit_btn");
            QVERIFY(!child<QWidget>(w, "ins_btn")->isVisible() && !edit->isVisible() && !child<QAction>(w, "N2")->isEnabled());
            QCOMPARE(pictureList(w)->recordCount(), 2);

            click(w, "N3");
            QVERIFY(edit->isVisible());
            QCOMPARE(child<QComboBox>(w, "moshaver")->currentText(), "مهندسين مشاور پارس آزما");
            fillBoxes(w, {{"mablagh", "1250000"}, {"cmt", "اصلاح شده"}});
            QCOMPARE(pressed(f, w, "edit_btn"), QStringList{kEdited});
            QCOMPARE(row(f, a).split('|')[5] + row(f, a).split('|')[13], "1250000اصلاح شده");
            QCOMPARE(logRows(f), QStringList{kLogEdit + "مهندسين مشاور پارس آزما 118 شركت آسفالت گستر ابهر ostan1"});
            // Back in insert mode on the edited record; the insert button stays as the insert
            // right has it.
            QVERIFY(!edit->isVisible() && !child<QWidget>(w, "ins_btn")->isVisible());
            QCOMPARE(records(w)->value("cod").toLongLong(), a);

            // The delete: the password first, then the question; a wrong password deletes nothing.
            const QString before = row(f, a);
            f.ui.inputs << "4321";
            QCOMPARE(pressed(f, w, "N4"), QStringList{texts::kPasswordMismatch});
            QCOMPARE(f.ui.prompts, QStringList{kPasswordBox}); // before any question
            QVERIFY(f.ui.questions.isEmpty());
            QCOMPARE(row(f, a), before);
            fillBoxes(w, {{"moshaver", ""}});
            f.ui.inputs << "1234";
            f.ui.answers << Ui::Yes;
            QCOMPARE(pressed(f, w, "N4"), QStringList{texts::kDeleted});
            QCOMPARE(f.ui.questions, QStringList{kDeleteQuestion + "مهندسين مشاور پارس آزما*118"});
            QCOMPARE(row(f, a), QString());
            QCOMPARE(rows(f, "select cod from az_pic"), QStringList{QString::number(b)});
            QCOMPARE(rows(f, "select cmt from log where cmt like ?", {"%آزمايشگاه%"}).size(), 1); // no log row of its own
            // The boxes keep the deleted record's texts; the list and its pictures move on.
            QCOMPARE(child<QComboBox>(w, "moshaver")->currentText(), "مهندسين مشاور پارس آزما");
            QCOMPARE(listed(w) << cnt(w) << pictureList(w)->text("cmt"), (QStringList{"220", "1", "نمونه سوم"}));
        });
    }

    void pictures()
    {
        Fixture f(true);
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {"رمز حذف", "1234"});
        const qint64 a = addReport(f, {{"kar_no", "118"}});
        addReport(f, {{"kar_no", "220"}});
        QTemporaryDir dir;
        const QString scan = writeFile(dir.filePath("core1.jpg"), "JPEG");
        open(f, [&](QDialog *w) {
            // Under the current record, the description box cancelled: its default description.
            f.ui.openFiles << scan;
            QCOMPARE(pressed(f, w, "N2"), QStringList{texts::kInserted});
            QCOMPARE(f.ui.prompts, QStringList{kDescriptionBox});
            QCOMPARE(f.scalar("select cod from az_pic where cmt=?", {kDefaultDescription}).toLongLong(), a);
            QCOMPARE(pictureList(w)->recordCount(), 1);
            // The pictures follow the current record.
            records(w)->setCurrentRow(1);
            QCOMPARE(pictureList(w)->recordCount(), 0);
            records(w)->setCurrentRow(0);
            QCOMPARE(pictureList(w)->text("ext"), ".jpg");
            // A click on a picture writes it under the chosen name with its extension and opens it.
            f.ui.clear();
            f.ui.saveFiles << dir.filePath("saved");
            auto *g = child<QTableView>(w, "DBGrid2");
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(0, 2)).center());
            QCOMPARE(f.ui.openedFiles, QStringList{dir.filePath("saved.jpg")});
            QCOMPARE(readFile(dir.filePath("saved.jpg")), QByteArray("JPEG"));
            // The picture delete: the password, then its question.
            f.ui.clear();
            f.ui.inputs << "1234";
            f.ui.answers << Ui::Yes;
            QCOMPARE(pressed(f, w, "N5"), QStringList{texts::kDeleted});
            QCOMPARE(f.ui.questions, QStringList{kPictureQuestion});
            QCOMPARE(f.count("az_pic"), qint64(0));
            // No record listed: no picture is asked for.
            search(w, 1, "هيچ");
            QCOMPARE(pressed(f, w, "N2"), QStringList());
            QVERIFY(f.ui.prompts.isEmpty());
        });
    }

    void exportAndCounties()
    {
        Fixture f(true);
        addReport(f, {{"kar_no", "118"}, {"cmt", "مقدار قير <5% & كم"}, {"mablagh", "1250000"}});
        addReport(f, {{"kar_no", "220"}, {"loc", QStringLiteral("تاکستان")}, {"peymankar", "راهسازان"}});
        addReport(f, {{"kar_no", "305"}, {"loc", QStringLiteral("تاکستان")}, {"peymankar", "راهسازان"}});
        open(f, [&](QDialog *w) {
            search(w, 1, "");
            f.ui.clear();
            click(w, "SpeedButton1");
            QCOMPARE(f.ui.openedFiles.size(), 1);
            QVERIFY(f.ui.openedFiles.first().endsWith("Tobrenhal.xls"));
            const QString text = QString::fromUtf8(readFile(f.ui.openedFiles.first()));
            QVERIFY(text.contains("<title>گزارش لاگ</title>"));
            const QList<QStringList> table = htmlRows(text);
            QCOMPARE(table.size(), 4); // the titles and the three records
            QCOMPARE(table.at(0), kExportHeadings);
            // Each record: its number and the 15 fields in table order, the amount ungrouped, the
            // key included; the remark's "<" and "&" escaped in its cell.
            QCOMPARE(table.at(1).size() + table.at(2).size() + table.at(3).size(), 3 * 16);
            QCOMPARE(table.at(1).mid(0, 3), (QStringList{"1", "مهندسين مشاور پارس آزما", "118"}));
            QCOMPARE(table.at(1).at(6), "1250000");
            QCOMPARE(table.at(1).at(12), records(w)->text("cod", 0));
            QCOMPARE(table.at(1).at(15), "مقدار قير <5% & كم");
            QVERIFY(text.contains("\r\n<td>مقدار قير &lt;5% &amp; كم</td>\r\n"));

            // The contractor's counties, then the county's villages, as recorded.
            auto *peymankar = child<QComboBox>(w, "peymankar");
            peymankar->setEditText("راهسازان");
            emit peymankar->textActivated("راهسازان");
            auto *loc = child<QComboBox>(w, "loc");
            QCOMPARE(comboItems(loc), QStringList{QStringLiteral("تاکستان")});
            // Leaving the county box writes its kaf; the label rewrites every stored county.
            enter(loc);
            loc->setEditText(QStringLiteral("تاکستان"));
            enter(child<QLineEdit>(w, "kar_no"));
            QCOMPARE(loc->currentText(), QStringLiteral("تاكستان"));
            auto *label = child<QLabel>(w, "Label4");
            QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        });
        QCOMPARE(rows(f, "select loc from azmayeshat order by cod"),
                 (QStringList{"ابهر", QStringLiteral("تاكستان"), QStringLiteral("تاكستان")}));
    }
};

VARNOSET_DB_TEST_MAIN(AzmayeshgahTest)
#include "db_azmayeshgah_ins.moc"
