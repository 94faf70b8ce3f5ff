// The contractors register: insert and its duplicate refusal, search, edit of the loaded
// contractor, the name push into the allocations, delete, rights, the pick and the HTML export.
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/texts.h"

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

// Test data: Persian names with the Arabic yeh and the Persian keheh, as users type them.
const QString kRah = QStringLiteral("شرکت راه سازان");
const QString kOmran = QStringLiteral("عمران شرق");
const QString kGol = QStringLiteral("گلسار بنا");
const QString kYazd = QStringLiteral("يزد راه");

QLineEdit *box(QDialog *w, const QString &name) { return child<QLineEdit>(w, name); }
bool shown(QDialog *w, const QString &button) { return child<QWidget>(w, button)->isVisible(); }
bool enabled(QDialog *w, const QString &item) { return child<QAction>(w, item)->isEnabled(); }

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

qint64 addAllocation(Fixture &f, const QString &city, const QString &rosta, const QString &peymankar, qint64 peymankarId)
{
    return addGhir(f, {{"ostan", "تهران"}, {"city", city}, {"rosta", rosta}, {"peymankar", peymankar},
                       {"peymankar_id", peymankarId}});
}

QString ghirName(Fixture &f, qint64 id) { return ghirCell(f, id, "peymankar"); }

// The register's columns in the order of its boxes.
const QStringList kContractorColumns = {"peymankar", "name", "father", "nation", "sh_no", "sodor", "sabt", "eghtesadi",
                                        "shenase", "haml_name", "haml_cod", "phone", "mobile", "fax", "adr",
                                        "takhliye", "zipcode"};

QStringList contractorRow(Fixture &f, qint64 id)
{
    f.dm.ADOQuery2->open(QStringLiteral("select * from peymankaran where id=?"), {id});
    QStringList row;
    if (f.dm.ADOQuery2->isEmpty())
        return row;
    for (const QString &col : kContractorColumns)
        row << f.dm.ADOQuery2->text(col);
    return row;
}

QStringList listedNames(Fixture &f)
{
    QStringList names;
    for (int r = 0; r < f.dm.ADOQ_peymankar->recordCount(); ++r)
        names << f.dm.ADOQ_peymankar->text("peymankar", r);
    return names;
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

const PageRights kAll{true, true, true, true};

// Opens the register from the bitumen window with `rights`; `steps` run while it is shown.
void openFromBitumen(Fixture &f, const PageRights &rights, const Steps &steps)
{
    f.ui.onShow[kWindow] = steps;
    f.form<Tpeymankar_ins>()->openFromBitumen(rights);
}

} // namespace

class PeymankarTest : public QObject {
    Q_OBJECT
private slots:
    void insertAndDuplicateRefusal();
    void searchAsTyped();
    void namePushReachesEveryCountyButNotTypedNames();
    void updateWritesTheLoadedContractor();
    void badValueOnUpdateWritesNothing();
    void deleteAndEmptyListing();
    void bitumenOpenerRights();
    void pickerRights();
    void pickFillsTheInitialEntry();
    void htmlExport();
};

void PeymankarTest::insertAndDuplicateRefusal()
{
    Fixture f(true);
    const QStringList values = {"راه و ساختمان \"البرز\" <شمال> & شرکا", "حسن کريمي", "علي", "0012345678", "9876",
                                "كرج", "12'34", "411111111111", "10320000000", "حمل و نقل پارس", "P-77", "026-3222",
                                "09121112233", "026-3223", "كرج، بلوار جمهوري، پلاک ۱۲", "انبار قير جاده ملارد",
                                "3158765432"};
    openFromBitumen(f, kAll, [&](QDialog *w) {
        QCOMPARE(f.ui.shownWindows, QStringList{kWindow});
        for (int i = 0; i < values.size(); ++i)
            box(w, kContractorColumns.at(i))->setText(values.at(i));
        // Enter in a box runs no command.
        QTest::keyClick(box(w, "adr"), Qt::Key_Return);
        QCOMPARE(f.count("peymankaran"), qint64(0));
        QVERIFY(w->isVisible());

        auto insert = [&] {
            f.ui.clear();
            click(w, "ins_btn");
            return f.ui.messages;
        };
        QCOMPARE(insert(), QStringList{texts::kInserted});
        const qint64 id = f.scalar("select id from peymankaran").toLongLong();
        QCOMPARE(contractorRow(f, id), values);
        // The listing shows the new contractor; the boxes keep their texts.
        QCOMPARE(listedNames(f), QStringList{values.first()});
        QCOMPARE(box(w, "zipcode")->text(), values.last());

        // The same name with other data: refused, the table untouched.
        box(w, "name")->setText("ديگري");
        box(w, "phone")->setText("111");
        QCOMPARE(insert(), QStringList{texts::kContractorDuplicate});
        QCOMPARE(f.count("peymankaran"), qint64(1));
        QCOMPARE(contractorRow(f, id), values);

        // The same name with the Persian yeh and kaf and outer blanks is the same contractor;
        // a blank name is refused.
        box(w, "peymankar")->setText(" " + QString(values.first()).replace(QChar(0x064A), QChar(0x06CC)) + " ");
        QCOMPARE(insert(), QStringList{texts::kContractorDuplicate});
        box(w, "peymankar")->setText("  ");
        QCOMPARE(insert(), QStringList{texts::kContractorEmptyName});
        QCOMPARE(f.count("peymankaran"), qint64(1));

        // A part of a registered name is another name.
        box(w, "peymankar")->setText("راه و ساختمان");
        QCOMPARE(insert(), QStringList{texts::kInserted});
        QCOMPARE(f.count("peymankaran"), qint64(2));

        // A value longer than its column: a message naming it, nothing written.
        box(w, "peymankar")->setText("پيمانکار سوم");
        box(w, "nation")->setText("00123456789");
        const QStringList refused = insert();
        QVERIFY(refused.size() == 1 && refused.first().contains(captioned(w, "nation")));
        QCOMPARE(f.count("peymankaran"), qint64(2));
    });
}

void PeymankarTest::searchAsTyped()
{
    Fixture f(true);
    for (const QString &n : {kYazd, kGol, kOmran, kRah})
        addContractor(f, n);
    // The bitumen forms leave the listing's query on one contractor.
    const qint64 one = f.scalar("select id from peymankaran where peymankar=?", {kGol}).toLongLong();
    f.dm.ADOQ_peymankar->open(QStringLiteral("select * from peymankaran where id=?"), {one});

    f.ui.onShow[kWindow] = [&](QDialog *w) {
        auto *src = box(w, "src");
        auto listing = [&] { return std::make_pair(listedNames(f), child<QLabel>(w, "cnt")->text()); };
        // Every contractor, in Persian alphabetical order (گ before ي).
        QCOMPARE(listing(), std::make_pair(QStringList{kRah, kOmran, kGol, kYazd}, QString("4")));
        typeText(src, "راه");
        QCOMPARE(listing(), std::make_pair(QStringList{kRah, kYazd}, QString("2")));
        typeText(src, " س");
        QCOMPARE(listing(), std::make_pair(QStringList{kRah}, QString("1")));
        src->setText("هيچ");
        QCOMPARE(listing(), std::make_pair(QStringList(), QString("0")));
        src->clear();
        QCOMPARE(listing().second, "4");
        src->setText("راه");
    };
    f.form<Tpeymankar_ins>()->openAsPicker();
    // The next opening starts from an empty search box and every contractor.
    f.dm.ADOQ_peymankar->open(QStringLiteral("select * from peymankaran where id=?"), {one});
    openFromBitumen(f, kAll, [&](QDialog *w) {
        QVERIFY(box(w, "src")->text().isEmpty());
        QCOMPARE(listedNames(f), (QStringList{kRah, kOmran, kGol, kYazd}));
        QCOMPARE(child<QLabel>(w, "cnt")->text(), "4");
    });
    QVERIFY(f.ui.messages.isEmpty());
}

void PeymankarTest::namePushReachesEveryCountyButNotTypedNames()
{
    Fixture f(true);
    // A county user who sees only Karaj.
    const qint64 user = f.addUser("karaj1", "p", "city");
    f.addCounty(user, "كرج");
    f.grant(user, "g_pey", true, true, true);
    f.signInAs(user, "karaj1", "city");

    const qint64 a = addContractor(f, kRah);
    const qint64 b = addContractor(f, kOmran);
    const qint64 own = addAllocation(f, "كرج", "ده1", kRah, a);
    const qint64 other = addAllocation(f, "قزوين", "ده2", "راه سازان", a);
    const qint64 typed = addAllocation(f, "كرج", "ده3", kRah, -1);
    const qint64 ofB = addAllocation(f, "قزوين", "ده4", kOmran, b);
    const qint64 orphan = addAllocation(f, "كرج", "ده5", "بي نام", 999999);
    const QString renamed = QStringLiteral("شرکت راه سازان نوين");

    openFromBitumen(f, kAll, [&](QDialog *w) {
        clickRow(f, w, kRah);
        click(w, "N2");
        QCOMPARE(box(w, "peymankar")->text(), kRah);
        QCOMPARE(box(w, "takhliye")->text(), "انبار شماره ۲");
        QVERIFY(!shown(w, "ins_btn") && shown(w, "edit_btn"));

        box(w, "peymankar")->setText(renamed);
        box(w, "zipcode")->setText("3131313131");
        click(w, "edit_btn");
        QCOMPARE(f.ui.messages, QStringList{texts::kContractorUpdated});
        const QStringList row = contractorRow(f, a);
        QCOMPARE(row.first(), renamed);
        QCOMPARE(row.last(), "3131313131");
        QCOMPARE(row.at(1), "نماينده " + kRah);
        // Allocations of every county that carry the id; not the typed name, not an unknown id.
        QCOMPARE(ghirName(f, own), renamed);
        QCOMPARE(ghirName(f, other), renamed);
        QCOMPARE(ghirName(f, typed), kRah);
        QCOMPARE(ghirName(f, ofB), kOmran);
        QCOMPARE(ghirName(f, orphan), "بي نام");
        QCOMPARE(ghirCell(f, typed, "peymankar_id"), "-1");
        // Back in the insert state; the listing shows the new name.
        QVERIFY(shown(w, "ins_btn") && !shown(w, "edit_btn"));
        QVERIFY(listedNames(f).contains(renamed));

        // A name retyped in an allocation is put back by the push button, silently.
        f.dm.exec(QStringLiteral("update ghir set peymankar=? where id=?"), {"عمران", ofB});
        f.ui.clear();
        click(w, "refresh_btn");
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(ghirName(f, ofB), kOmran);
        QCOMPARE(ghirName(f, typed), kRah);
        QCOMPARE(ghirName(f, orphan), "بي نام");
        QCOMPARE(f.count("log"), qint64(0));
    });
}

void PeymankarTest::updateWritesTheLoadedContractor()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah, "111");
    const qint64 b = addContractor(f, kOmran, "222");
    const qint64 c = addContractor(f, kGol, "333");
    const QStringList before = contractorRow(f, c);
    openFromBitumen(f, kAll, [&](QDialog *w) {
        // Load B, then click C before saving: B is written, C is not.
        clickRow(f, w, kOmran);
        click(w, "N2");
        clickRow(f, w, kGol);
        QCOMPARE(f.dm.ADOQ_peymankar->text("peymankar"), kGol);
        box(w, "phone")->setText("2020");
        click(w, "edit_btn");
        QCOMPARE(f.ui.messages, QStringList{texts::kContractorUpdated});
        QCOMPARE(contractorRow(f, b).at(11), "2020");
        QCOMPARE(contractorRow(f, b).first(), kOmran);
        QCOMPARE(contractorRow(f, c), before);

        // Load A, then narrow the listing to C by the search box: A is written.
        clickRow(f, w, kRah);
        click(w, "N2");
        typeText(box(w, "src"), "گل");
        QCOMPARE(listedNames(f), QStringList{kGol});
        box(w, "phone")->setText("1010");
        click(w, "edit_btn");
        QCOMPARE(contractorRow(f, a).at(11), "1010");
        QCOMPARE(contractorRow(f, a).first(), kRah);
        QCOMPARE(contractorRow(f, c), before);
        QCOMPARE(f.count("peymankaran"), qint64(3));
    });
}

void PeymankarTest::badValueOnUpdateWritesNothing()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah);
    const qint64 g1 = addAllocation(f, "كرج", "ده1", "نام قديمي", a);
    const QStringList before = contractorRow(f, a);
    openFromBitumen(f, kAll, [&](QDialog *w) {
        clickRow(f, w, kRah);
        click(w, "N2");
        box(w, "peymankar")->setText("نام تازه");
        box(w, "zipcode")->setText("31587654321");
        click(w, "edit_btn");
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first().contains(captioned(w, "zipcode")));
        QCOMPARE(contractorRow(f, a), before);
        // The push did not run either.
        QCOMPARE(ghirName(f, g1), "نام قديمي");
        // Still editing: the user corrects the value and saves.
        QVERIFY(shown(w, "edit_btn"));
        box(w, "zipcode")->setText("3158765432");
        click(w, "edit_btn");
        QCOMPARE(contractorRow(f, a).first(), "نام تازه");
        QCOMPARE(ghirName(f, g1), "نام تازه");
    });
}

void PeymankarTest::deleteAndEmptyListing()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah, "111", "1111111111");
    addContractor(f, kOmran);
    const qint64 g1 = addAllocation(f, "كرج", "ده1", kRah, a);
    openFromBitumen(f, kAll, [&](QDialog *w) {
        box(w, "zipcode")->setText("باقي");
        clickRow(f, w, kRah);
        click(w, "N1");
        QCOMPARE(f.ui.messages, QStringList{texts::kDeleted});
        QVERIFY(contractorRow(f, a).isEmpty());
        QCOMPARE(listedNames(f), QStringList{kOmran});
        // The deleted contractor's data stays in the boxes (all but the postal code).
        QCOMPARE(box(w, "peymankar")->text(), kRah);
        QCOMPARE(box(w, "phone")->text(), "111");
        QCOMPARE(box(w, "zipcode")->text(), "باقي");
        // Allocations keep the id and the name; a later push leaves them alone.
        click(w, "refresh_btn");
        QCOMPARE(ghirName(f, g1), kRah);
        QCOMPARE(ghirCell(f, g1, "peymankar_id"), QString::number(a));

        // Nothing listed: edit, update and delete do nothing.
        f.ui.clear();
        box(w, "src")->setText("هيچ");
        QVERIFY(listedNames(f).isEmpty());
        click(w, "N2");
        QVERIFY(!shown(w, "edit_btn"));
        click(w, "N1");
        click(w, "edit_btn");
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(f.count("peymankaran"), qint64(1));

        // The contractor being edited is deleted before the update: nothing is written.
        box(w, "src")->clear();
        clickRow(f, w, kOmran);
        click(w, "N2");
        click(w, "N1");
        f.ui.clear();
        box(w, "peymankar")->setText("تازه");
        click(w, "edit_btn");
        QCOMPARE(f.ui.messages, QStringList{texts::kContractorRowGone});
        QCOMPARE(f.count("peymankaran"), qint64(0));
        QVERIFY(!shown(w, "edit_btn") && shown(w, "ins_btn"));
    });
}

void PeymankarTest::bitumenOpenerRights()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah);
    openFromBitumen(f, PageRights{false, true, false, true}, [&](QDialog *w) {
        QVERIFY(!shown(w, "ins_btn") && !shown(w, "refresh_btn") && !shown(w, "edit_btn"));
        QVERIFY(enabled(w, "N2") && !enabled(w, "N1") && enabled(w, "N3"));
        // An edit allowed, but after it the insert command stays unavailable.
        clickRow(f, w, kRah);
        click(w, "N2");
        box(w, "phone")->setText("999");
        click(w, "edit_btn");
        QCOMPARE(contractorRow(f, a).at(11), "999");
        QVERIFY(!shown(w, "ins_btn") && !shown(w, "edit_btn"));
        click(w, "N1");
        QCOMPARE(f.count("peymankaran"), qint64(1));
    });
    openFromBitumen(f, PageRights{true, false, true, true}, [&](QDialog *w) {
        QVERIFY(shown(w, "ins_btn") && shown(w, "refresh_btn"));
        QVERIFY(!enabled(w, "N2") && enabled(w, "N1"));
    });
}

void PeymankarTest::pickerRights()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah);
    addContractor(f, kOmran);
    // Left in the edit state with every command by an earlier opening.
    openFromBitumen(f, kAll, [&](QDialog *w) {
        clickRow(f, w, kRah);
        click(w, "N2");
        QVERIFY(shown(w, "edit_btn"));
    });

    const qint64 user = f.addUser("u1", "p", "city");
    f.signInAs(user, "u1", "city");
    f.ui.clear();
    int opened = 0;
    // Without a rights row: no command at all, whatever is clicked; picking still works.
    f.ui.onShow[kWindow] = [&](QDialog *w) {
        ++opened;
        QVERIFY(box(w, "peymankar")->text().isEmpty());
        QCOMPARE(listedNames(f).size(), 2);
        for (const char *b : {"ins_btn", "edit_btn", "refresh_btn"}) {
            QVERIFY2(!shown(w, b), b);
            click(w, b);
        }
        QVERIFY(!enabled(w, "N2") && !enabled(w, "N1"));
        box(w, "peymankar")->setText("تازه");
        clickRow(f, w, kOmran);
        for (const char *item : {"N2", "N1", "ins_btn", "edit_btn"})
            click(w, item);
        QCOMPARE(f.count("peymankaran"), qint64(2));
        QCOMPARE(contractorRow(f, a).first(), kRah);
        QVERIFY(f.ui.messages.isEmpty());
        clickRow(f, w, kOmran, true);
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!w->isVisible());
    };
    f.form<Tpeymankar_ins>()->openAsPicker();
    QCOMPARE(opened, 1);

    // With insert only: insert offered, edit and delete not.
    f.grant(user, "g_pey", true, false, false, false);
    f.ui.onShow[kWindow] = [&](QDialog *w) {
        QVERIFY(shown(w, "ins_btn") && shown(w, "refresh_btn"));
        QVERIFY(!enabled(w, "N2") && !enabled(w, "N1"));
    };
    f.form<Tpeymankar_ins>()->openAsPicker();
    QVERIFY(f.ui.messages.isEmpty());
}

void PeymankarTest::pickFillsTheInitialEntry()
{
    Fixture f(true);
    auto *entry = f.form<Tghir_ins>();
    const qint64 a = addContractor(f, kRah);
    const qint64 b = addContractor(f, kOmran);
    entry->setBoxText("peymankar", "نام تايپ شده");
    entry->setFixed("peymankar_id", -1);
    int result = -1;
    // From the bitumen window as well as from the entry form's button.
    openFromBitumen(f, kAll, [&](QDialog *w) {
        clickRow(f, w, kOmran, true);
        result = w->result();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(entry->boxText("peymankar"), kOmran);
    QCOMPARE(entry->fixedValue("peymankar_id").toLongLong(), b);

    // The entry form's contractor button opens the register as a picker.
    f.ui.clear();
    through(f, entry, "SpeedButton1", kWindow, [&](QDialog *w) {
        QVERIFY(box(w, "src")->text().isEmpty());
        clickRow(f, w, kRah, true);
    });
    QCOMPARE(f.ui.shownWindows, QStringList{kWindow});
    QCOMPARE(entry->boxText("peymankar"), kRah);
    QCOMPARE(entry->fixedValue("peymankar_id").toLongLong(), a);
    QVERIFY(f.ui.messages.isEmpty());
}

// The listed contractors (the search "بنا"), in name order, numbered, every column as escaped text.
void PeymankarTest::htmlExport()
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
    QVERIFY(QString::fromUtf8(readFile(path)).contains("<title>" + texts::kContractorExportTitle + "</title>"));
    // (The escaping is the export block's own test.)
    const QList<QStringList> rows = htmlFileRows(path);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).size(), 19);
    QCOMPARE(rows.at(1).mid(0, 3), QStringList({"1", QString::number(t), "<b>بنا & پي</b>"}));
    QCOMPARE(rows.at(2).at(0), "2");
    QCOMPARE(rows.at(2).at(2), kGol);
    QCOMPARE(rows.at(2).at(13), "021-1");
    QCOMPARE(rows.at(2).at(16), "خيابان اول");
    QCOMPARE(rows.at(2).value(18), QString()); // zipcode empty
}

VARNOSET_DB_TEST_MAIN(PeymankarTest)
#include "db_peymankar_ins.moc"
