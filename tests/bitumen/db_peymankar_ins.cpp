// The contractors register: insert and its duplicate refusal, search, edit of the loaded
// contractor, the name push into the allocations, delete, rights, the pick and the HTML export.
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/texts.h"
#include "support/readback.h"

#include "bitumen/ghir_ins_u.h"
#include "bitumen/peymankar_ins_u.h"
#include "shared/exports.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

const QString kWindow = QStringLiteral("Tpeymankar_ins");
const QString kEmptyName = QStringLiteral("خطا! نام پيمانکار را وارد نماييد"); // our own wording

const QString kRah = QStringLiteral("شرکت راه سازان");
const QString kOmran = QStringLiteral("عمران شرق");
const QString kGol = QStringLiteral("گلسار بنا");
const QString kYazd = QStringLiteral("يزد راه");

QLineEdit *box(QDialog *w, const QString &name) { return child<QLineEdit>(w, name); }
bool shown(QDialog *w, const QString &button) { return child<QWidget>(w, button)->isVisible(); }
bool enabled(QDialog *w, const QString &item) { return child<QAction>(w, item)->isEnabled(); }

// The register's columns in the order of its boxes.
const QStringList kContractorColumns = {"peymankar", "name", "father", "nation", "sh_no", "sodor", "sabt", "eghtesadi",
                                        "shenase", "haml_name", "haml_cod", "phone", "mobile", "fax", "adr",
                                        "takhliye", "zipcode"};

// A contractor with every column filled but the phone and postal code given.
qint64 addContractor(Fixture &f, const QString &name, const QString &phone = QString(),
                     const QString &zipcode = QString())
{
    f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, nation, sh_no, sodor, sabt, "
                             "eghtesadi, shenase, haml_name, haml_cod, phone, mobile, fax, adr, takhliye, "
                             "zipcode) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
              {name, "نماينده " + name, "علي", "0012345678", "123", "تهران", "4567", "4111", "10101010",
               "باربري ايران", "H-1", phone, "09120000000", "02122223333", "خيابان اول", "انبار شماره ۲", zipcode});
    return f.scalar("select id from peymankaran where peymankar=?", {name}).toLongLong();
}

// The export's header row: the row number, then the title of each column of the table.
const QStringList kExportHeader = {
    "رديف", "شناسه", "پيمانکار", "نام نماينده", "نام پدر نماينده", "کد ملي نماينده", "ش شناسنامه نماينده",
    "محل صدور نماينده", "شماره ثبت", "کد اقتصادي", "شناسه ملي", "نام پيمانکار حمل", "کد پيمانکار حمل", "تلفن ثابت",
    "تلفن همراه", "ماره فکس", "آدرس", "آدرس تخليه", "کد پستي"};

qint64 addAllocation(Fixture &f, const QString &city, const QString &peymankar, qint64 peymankarId)
{
    return addGhir(f, {{"ostan", "تهران"}, {"city", city}, {"peymankar", peymankar}, {"peymankar_id", peymankarId}});
}

// The contractor's columns in the order of the boxes; empty when it is gone.
QStringList contractorRow(Fixture &f, qint64 id)
{
    const QString row = rows(f, "select " + kContractorColumns.join(',') + " from peymankaran where id=?", {id}).value(0);
    return row.isEmpty() ? QStringList() : row.split('|');
}

QStringList ghirNames(Fixture &f) { return rows(f, "select peymankar from ghir order by id"); }

QStringList listedNames(Fixture &f) { return gridColumn(f.form<Tpeymankar_ins>(), "DBGrid1", "peymankar"); }

// The texts of the 17 boxes, in the order of the columns.
QStringList boxTexts(QDialog *w)
{
    QStringList texts;
    for (const QString &column : kContractorColumns)
        texts << child<QLineEdit>(w, column)->text();
    return texts;
}

// Clicks the contractor's row as the user would (on the name); twice picks it.
void clickRow(Fixture &f, QDialog *w, const QString &name, bool twice = false)
{
    auto *g = child<QTableView>(w, "DBGrid1");
    const QModelIndex idx = g->model()->index(listedNames(f).indexOf(name), f.dm.ADOQ_peymankar->fieldIndex("peymankar"));
    g->scrollTo(idx);
    const QPoint p = g->visualRect(idx).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, p);
    if (twice)
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, p);
}

void load(Fixture &f, QDialog *w, const QString &name)
{
    clickRow(f, w, name);
    click(w, "N2");
}

const PageRights kAll{true, true, true, true};

// Opens the register as the bitumen window does; `steps` run while it is shown (it must be).
void openFromBitumen(Fixture &f, const PageRights &rights, const Steps &steps)
{
    bool shown = false;
    f.ui.onShow[kWindow] = [&](QDialog *w) {
        shown = true;
        steps(w);
    };
    f.form<Tpeymankar_ins>()->openFromBitumen(rights);
    QVERIFY2(shown, "the register was not shown");
}

} // namespace

class PeymankarTest : public QObject {
    Q_OBJECT
private slots:
    void insertAndDuplicateRefusal()
    {
        Fixture f(true);
        const QStringList values = {"راه و ساختمان \"البرز\" <شمال> & شرکا", "حسن کريمي", "علي", "0012345678", "9876",
                                    "كرج", "12'34", "411111111111", "10320000000", "حمل و نقل پارس", "P-77", "026-3222",
                                    "09121112233", "026-3223", "كرج، بلوار جمهوري، پلاک ۱۲", "انبار قير جاده ملارد",
                                    "3158765432"};
        openFromBitumen(f, kAll, [&](QDialog *w) {
            for (int i = 0; i < values.size(); ++i)
                box(w, kContractorColumns.at(i))->setText(values.at(i));
            QTest::keyClick(box(w, "adr"), Qt::Key_Return); // runs no command
            QCOMPARE(f.count("peymankaran"), qint64(0));
            QVERIFY(w->isVisible());
            auto insert = [&] { return pressed(f, w, "ins_btn"); };
            QCOMPARE(insert(), QStringList{texts::kInserted});
            const qint64 id = f.scalar("select id from peymankaran").toLongLong();
            QCOMPARE(contractorRow(f, id), values);
            QCOMPARE(listedNames(f), QStringList{values.first()});
            QCOMPARE(boxTexts(w), values); // the boxes keep their texts
            // The same name with other data: refused, the row untouched; also with outer blanks;
            // a part of it is another name.
            box(w, "phone")->setText("111");
            QCOMPARE(insert(), QStringList{texts::kContractorDuplicate});
            QCOMPARE(contractorRow(f, id), values);
            box(w, "peymankar")->setText(" " + values.first() + " ");
            QCOMPARE(insert(), QStringList{texts::kContractorDuplicate});
            box(w, "peymankar")->setText("راه و ساختمان");
            QCOMPARE(insert(), QStringList{texts::kInserted});
            box(w, "peymankar")->setText("  ");
            QCOMPARE(insert(), QStringList{kEmptyName});
            // A value longer than its column: refused naming its box, nothing written.
            box(w, "peymankar")->setText("پيمانکار سوم");
            box(w, "nation")->setText("00123456789");
            const QStringList refused = insert();
            QVERIFY2(refused.size() == 1 && refused.first().contains(captioned(w, "nation")), qPrintable(refused.join('|')));
            QCOMPARE(f.count("peymankaran"), qint64(2));
        });
    }

    void searchAsTyped()
    {
        Fixture f(true);
        for (const QString &n : {kYazd, kGol, kOmran, kRah})
            addContractor(f, n);
        // The bitumen forms leave the listing's query on one contractor; an opening lists them all.
        const QVariant one = f.scalar("select id from peymankaran where peymankar=?", {kGol});
        f.dm.ADOQ_peymankar->open(QStringLiteral("select * from peymankaran where id=?"), {one});
        auto listing = [&](QDialog *w) { return listedNames(f).join('|') + " " + child<QLabel>(w, "cnt")->text(); };
        openFromBitumen(f, kAll, [&](QDialog *w) {
            // Every contractor, in Persian alphabetical order (گ before ي).
            QCOMPARE(listing(w), QStringList({kRah, kOmran, kGol, kYazd}).join('|') + " 4");
            typeText(box(w, "src"), "راه");
            QCOMPARE(listing(w), kRah + "|" + kYazd + " 2");
            typeText(box(w, "src"), " س");
            QCOMPARE(listing(w), kRah + " 1");
            box(w, "src")->setText("هيچ");
            QCOMPARE(listing(w), " 0");
            box(w, "src")->clear();
            QCOMPARE(listing(w), QStringList({kRah, kOmran, kGol, kYazd}).join('|') + " 4");
            box(w, "src")->setText("راه");
        });
        f.dm.ADOQ_peymankar->open(QStringLiteral("select * from peymankaran where id=?"), {one});
        f.ui.onShow[kWindow] = [&](QDialog *w) {
            QVERIFY(box(w, "src")->text().isEmpty());
            QCOMPARE(listing(w), QStringList({kRah, kOmran, kGol, kYazd}).join('|') + " 4");
        };
        f.form<Tpeymankar_ins>()->openAsPicker();
        QVERIFY(f.ui.messages.isEmpty());
    }

    // The update writes the contractor loaded by N2, not the one clicked or searched to since,
    // and pushes its name into the allocations of every county that carry its id (not a typed
    // name, not an unknown id); a refused value writes nothing and runs no push.
    void updateWritesTheLoadedContractorAndPushesItsName()
    {
        Fixture f(true);
        const qint64 user = f.addUser("karaj1", "p", "city"); // sees only Karaj
        f.addCounty(user, "كرج");
        f.signInAs(user, "karaj1", "city");
        const qint64 a = addContractor(f, kRah, "111");
        const qint64 b = addContractor(f, kOmran, "222");
        const qint64 c = addContractor(f, kGol, "333");
        const QStringList before = contractorRow(f, c);
        addAllocation(f, "كرج", kRah, a);
        addAllocation(f, "قزوين", "راه سازان", a);
        addAllocation(f, "كرج", kRah, -1);
        const qint64 ofB = addAllocation(f, "قزوين", kOmran, b);
        addAllocation(f, "كرج", "بي نام", 999999);
        const QString renamed = QStringLiteral("شرکت راه سازان نوين");
        openFromBitumen(f, kAll, [&](QDialog *w) {
            load(f, w, kOmran);
            QCOMPARE(boxTexts(w), contractorRow(f, b));
            QVERIFY(!shown(w, "ins_btn") && shown(w, "edit_btn"));
            clickRow(f, w, kGol);
            QCOMPARE(f.dm.ADOQ_peymankar->text("peymankar"), kGol);
            box(w, "phone")->setText("2020");
            QCOMPARE(pressed(f, w, "edit_btn"), QStringList{texts::kContractorUpdated});
            QCOMPARE(contractorRow(f, b).at(0) + contractorRow(f, b).at(11), kOmran + "2020");
            QVERIFY(shown(w, "ins_btn") && !shown(w, "edit_btn"));
            const QStringList names = ghirNames(f), aBefore = contractorRow(f, a);
            load(f, w, kRah);
            typeText(box(w, "src"), "گل");
            QCOMPARE(listedNames(f), QStringList{kGol});
            box(w, "peymankar")->setText(renamed);
            box(w, "zipcode")->setText("31587654321");
            const QStringList refused = pressed(f, w, "edit_btn");
            QVERIFY(refused.size() == 1 && refused.first().contains(captioned(w, "zipcode")));
            QCOMPARE(contractorRow(f, a), aBefore);
            QCOMPARE(ghirNames(f), names);
            QVERIFY(shown(w, "edit_btn")); // still editing
            box(w, "zipcode")->setText("3158765432");
            click(w, "edit_btn");
            QStringList aAfter = aBefore;
            aAfter.first() = renamed;
            aAfter.last() = "3158765432";
            QCOMPARE(contractorRow(f, a), aAfter);
            QCOMPARE(contractorRow(f, c), before);
            const QStringList pushed{renamed, renamed, kRah, kOmran, "بي نام"};
            QCOMPARE(ghirNames(f), pushed);
            // A name retyped in an allocation is put back by the push button, silently.
            f.dm.exec(QStringLiteral("update ghir set peymankar=? where id=?"), {"عمران", ofB});
            QCOMPARE(pressed(f, w, "refresh_btn"), QStringList());
            QCOMPARE(ghirNames(f), pushed);
            QCOMPARE(rows(f, "select peymankar_id from ghir order by id"),
                     QStringList({QString::number(a), QString::number(a), "-1", QString::number(b), "999999"}));
            QCOMPARE(f.count("log"), qint64(0));
        });
    }

    void deleteAndEmptyListing()
    {
        Fixture f(true);
        const qint64 a = addContractor(f, kRah, "111", "1111111111");
        addContractor(f, kOmran);
        const qint64 g1 = addAllocation(f, "كرج", kRah, a);
        QStringList deleted = contractorRow(f, a);
        openFromBitumen(f, kAll, [&](QDialog *w) {
            box(w, "zipcode")->setText("باقي");
            clickRow(f, w, kRah);
            click(w, "N1");
            QCOMPARE(f.ui.messages, QStringList{texts::kDeleted});
            QVERIFY(contractorRow(f, a).isEmpty());
            QCOMPARE(listedNames(f), QStringList{kOmran});
            // The deleted contractor's data stays in the boxes, all but the postal code.
            deleted.last() = "باقي";
            QCOMPARE(boxTexts(w), deleted);
            // Allocations keep the id and the name; a later push leaves them alone.
            click(w, "refresh_btn");
            QCOMPARE(ghirCell(f, g1, "peymankar"), kRah);
            QCOMPARE(ghirCell(f, g1, "peymankar_id"), QString::number(a));
            // Nothing listed: edit, update and delete do nothing.
            f.ui.clear();
            box(w, "src")->setText("هيچ");
            QVERIFY(listedNames(f).isEmpty());
            click(w, "N2");
            QVERIFY(!shown(w, "edit_btn"));
            for (const char *item : {"N1", "edit_btn"})
                click(w, item);
            QVERIFY(f.ui.messages.isEmpty());
            QCOMPARE(rows(f, "select peymankar from peymankaran"), QStringList{kOmran});
            box(w, "src")->clear();
            // The contractor being edited is deleted before the update: nothing is written.
            load(f, w, kOmran);
            click(w, "N1");
            f.ui.clear();
            box(w, "peymankar")->setText("تازه");
            click(w, "edit_btn");
            QCOMPARE(f.ui.messages, QStringList{texts::kContractorRowGone});
            QCOMPARE(f.count("peymankaran"), qint64(0));
            QVERIFY(!shown(w, "edit_btn") && shown(w, "ins_btn"));
        });
    }

    // The bitumen window passes its rights; the initial entry's contractor button opens the
    // register with the user's rights of page "g_pey", without a rights row no command at all,
    // whatever is clicked. A double click picks from either opening into the initial entry.
    void rightsAndPick()
    {
        Fixture f(true);
        auto *entry = f.form<Tghir_ins>();
        const qint64 a = addContractor(f, kRah);
        const qint64 b = addContractor(f, kOmran);
        openFromBitumen(f, PageRights{false, true, false, true}, [&](QDialog *w) {
            QVERIFY(!shown(w, "ins_btn") && !shown(w, "refresh_btn") && !shown(w, "edit_btn"));
            QVERIFY(enabled(w, "N2") && !enabled(w, "N1") && enabled(w, "N3"));
            // After an allowed edit the insert command stays unavailable.
            load(f, w, kRah);
            box(w, "phone")->setText("999");
            click(w, "edit_btn");
            QCOMPARE(contractorRow(f, a).at(11), "999");
            QVERIFY(!shown(w, "ins_btn") && !shown(w, "edit_btn"));
            click(w, "N1");
            QCOMPARE(f.count("peymankaran"), qint64(2));
            clickRow(f, w, kOmran, true);
            QVERIFY(w->result() == QDialog::Accepted && !w->isVisible()); // a pick closes the window
        });
        QCOMPARE(entry->boxText("peymankar") + entry->fixedValue("peymankar_id").toString(), kOmran + QString::number(b));
        openFromBitumen(f, PageRights{true, false, true, true}, [&](QDialog *w) {
            QVERIFY(shown(w, "ins_btn") && shown(w, "refresh_btn"));
            QVERIFY(!enabled(w, "N2") && enabled(w, "N1"));
        });
        // Left in the edit state with every command by an earlier opening.
        openFromBitumen(f, kAll, [&](QDialog *w) { load(f, w, kRah); });
        const qint64 user = f.addUser("u1", "p", "city");
        f.signInAs(user, "u1", "city");
        f.ui.clear();
        through(f, entry, "SpeedButton1", kWindow, [&](QDialog *w) {
            QVERIFY(boxTexts(w).join("").isEmpty() && box(w, "src")->text().isEmpty());
            for (const char *button : {"ins_btn", "edit_btn", "refresh_btn"})
                QVERIFY2(!shown(w, button), button);
            QVERIFY(!enabled(w, "N2") && !enabled(w, "N1"));
            box(w, "peymankar")->setText("تازه");
            clickRow(f, w, kRah);
            for (const char *item : {"N2", "N1", "ins_btn", "edit_btn", "refresh_btn"})
                click(w, item);
            QCOMPARE(f.count("peymankaran"), qint64(2));
            QCOMPARE(contractorRow(f, a).first(), kRah);
            clickRow(f, w, kRah, true);
            QVERIFY(w->result() == QDialog::Accepted && !w->isVisible());
        });
        QCOMPARE(entry->boxText("peymankar") + entry->fixedValue("peymankar_id").toString(), kRah + QString::number(a));
        QVERIFY(f.ui.messages.isEmpty());
        f.grant(user, "g_pey", true, false, false, false);
        f.ui.onShow[kWindow] = [&](QDialog *w) {
            QVERIFY(shown(w, "ins_btn") && shown(w, "refresh_btn"));
            QVERIFY(!enabled(w, "N2") && !enabled(w, "N1"));
        };
        f.form<Tpeymankar_ins>()->openAsPicker();
    }

    // The listed contractors (the search "بنا"), in name order, numbered, every column as
    // escaped text under its title, under the export's title.
    void htmlExport()
    {
        Fixture f(true);
        addContractor(f, kGol, "021-1");
        const qint64 t = addContractor(f, "<b>بنا & پي</b>");
        addContractor(f, kRah);
        addContractor(f, kOmran);
        const QString path = TempExportPath("Tobrenhal.xls");
        QFile::remove(path);
        openFromBitumen(f, kAll, [&](QDialog *w) {
            typeText(box(w, "src"), "بنا");
            click(w, "N3");
        });
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(f.ui.openedFiles, QStringList{path});
        QVERIFY(QString::fromUtf8(readFile(path)).contains("<title>" + texts::kBitumenExportTitle + "</title>"));
        const QList<QStringList> rows = htmlFileRows(path);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0), kExportHeader);
        QCOMPARE(rows.at(1).mid(0, 3), QStringList({"1", QString::number(t), "<b>بنا & پي</b>"}));
        QCOMPARE(rows.at(2).at(0) + rows.at(2).at(2), "2" + kGol);
        QCOMPARE(QStringList({rows.at(2).at(13), rows.at(2).at(16), rows.at(2).at(17), rows.at(2).value(18, "<none>")}),
                 QStringList({"021-1", "خيابان اول", "انبار شماره ۲", QString()}));
    }
};

VARNOSET_DB_TEST_MAIN(PeymankarTest)
#include "db_peymankar_ins.moc"
