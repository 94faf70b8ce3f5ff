// The contractors register: insert and its duplicate refusal, search, edit of the loaded
// contractor, the name push into the allocations, delete, rights, the pick and the HTML export.
#include "support/fixture.h"

#include "bitumen/ghir_ins_u.h"
#include "bitumen/peymankar_ins_u.h"
#include "shared/exports.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>

namespace {

const QString kWindow = QStringLiteral("Tpeymankar_ins");

// Test data: Persian names with the Arabic yeh and the Persian keheh, as users type them.
const QString kRah = QStringLiteral("شرکت راه سازان");
const QString kOmran = QStringLiteral("عمران شرق");
const QString kGol = QStringLiteral("گلسار بنا");
const QString kYazd = QStringLiteral("يزد راه");

QLineEdit *box(QDialog *w, const QString &name) { return child<QLineEdit>(w, name); }
QPushButton *button(QDialog *w, const QString &name) { return child<QPushButton>(w, name); }
QAction *action(QDialog *w, const QString &name) { return child<QAction>(w, name); }
QTableView *grid(QDialog *w) { return child<QTableView>(w, QStringLiteral("DBGrid1")); }

qint64 addContractor(Fixture &f, const QString &name, const QString &phone = QString(),
                     const QString &zipcode = QString())
{
    f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, nation, sh_no, sodor, sabt, "
                             "eghtesadi, shenase, haml_name, haml_cod, phone, mobile, fax, adr, takhliye, "
                             "zipcode) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
              {name, QStringLiteral("نماينده ") + name, QStringLiteral("علي"), QStringLiteral("0012345678"),
               QStringLiteral("123"), QStringLiteral("تهران"), QStringLiteral("4567"), QStringLiteral("4111"),
               QStringLiteral("10101010"), QStringLiteral("باربري ايران"), QStringLiteral("H-1"), phone,
               QStringLiteral("09120000000"), QStringLiteral("02122223333"), QStringLiteral("خيابان اول"),
               QStringLiteral("انبار شماره ۲"), zipcode});
    return f.scalar(QStringLiteral("select id from peymankaran where peymankar=?"), {name}).toLongLong();
}

qint64 addGhir(Fixture &f, const QString &city, const QString &rosta, const QString &peymankar, qint64 peymankarId)
{
    f.dm.exec(QStringLiteral("insert into ghir (ostan, city, rosta, peymankar, peymankar_id, jalase_dat) "
                             "values (?,?,?,?,?,?)"),
              {QStringLiteral("تهران"), city, rosta, peymankar, peymankarId, QStringLiteral("    /  /  ")});
    return f.scalar(QStringLiteral("select max(id) from ghir")).toLongLong();
}

QString ghirName(Fixture &f, qint64 id)
{
    return f.scalar(QStringLiteral("select peymankar from ghir where id=?"), {id}).toString();
}

QStringList contractorRow(Fixture &f, qint64 id)
{
    f.dm.ADOQuery2->open(QStringLiteral("select * from peymankaran where id=?"), {id});
    QStringList row;
    if (f.dm.ADOQuery2->isEmpty())
        return row;
    for (const QString &col : Tpeymankar_ins::kColumns)
        row << f.dm.ADOQuery2->text(col);
    return row;
}

QStringList listedNames(Fixture &f)
{
    QStringList names;
    for (int r = 0; r < f.dm.ADOQ_peymankar->recordCount(); ++r)
        names << f.dm.ADOQ_peymankar->text(QStringLiteral("peymankar"), r);
    return names;
}

int rowOf(Fixture &f, const QString &name)
{
    return listedNames(f).indexOf(name);
}

// Types Persian text key by key (QTest::keyClicks takes Latin-1 only).
void typeText(QWidget *w, const QString &text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Clicks a row as the user would (on the contractor's name).
void clickRow(QTableView *g, int row)
{
    auto *ds = qobject_cast<DataSet *>(g->model());
    const QModelIndex idx = g->model()->index(row, ds->fieldIndex(QStringLiteral("peymankar")));
    g->scrollTo(idx);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(idx).center());
}

void doubleClickRow(QTableView *g, int row)
{
    auto *ds = qobject_cast<DataSet *>(g->model());
    const QModelIndex idx = g->model()->index(row, ds->fieldIndex(QStringLiteral("peymankar")));
    g->scrollTo(idx);
    const QPoint p = g->visualRect(idx).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, p);
}

const PageRights kAll{true, true, true, true};

// Opens the register from the bitumen window with `rights`; `drive` runs while it is shown.
void openFromBitumen(Fixture &f, const PageRights &rights, const std::function<void(QDialog *)> &drive)
{
    f.ui.onShow[kWindow] = drive;
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
    const QStringList values = {
        QStringLiteral("راه و ساختمان \"البرز\" <شمال> & شرکا"), QStringLiteral("حسن کريمي"),
        QStringLiteral("علي"), QStringLiteral("0012345678"), QStringLiteral("9876"), QStringLiteral("كرج"),
        QStringLiteral("12'34"), QStringLiteral("411111111111"), QStringLiteral("10320000000"),
        QStringLiteral("حمل و نقل پارس"), QStringLiteral("P-77"), QStringLiteral("026-3222"),
        QStringLiteral("09121112233"), QStringLiteral("026-3223"), QStringLiteral("كرج، بلوار جمهوري، پلاک ۱۲"),
        QStringLiteral("انبار قير جاده ملارد"), QStringLiteral("3158765432")};
    openFromBitumen(f, kAll, [&](QDialog *w) {
        QCOMPARE(f.ui.shownWindows, QStringList{kWindow});
        for (int i = 0; i < values.size(); ++i)
            box(w, Tpeymankar_ins::kColumns.at(i))->setText(values.at(i));
        // Enter in a box runs no command.
        QTest::keyClick(box(w, QStringLiteral("adr")), Qt::Key_Return);
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(0));
        QVERIFY(w->isVisible());

        button(w, QStringLiteral("ins_btn"))->click();
        QCOMPARE(f.ui.messages, QStringList{Tpeymankar_ins::kInserted});
        const qint64 id = f.scalar(QStringLiteral("select id from peymankaran")).toLongLong();
        QCOMPARE(contractorRow(f, id), values);
        // The listing shows the new contractor; the boxes keep their texts.
        QCOMPARE(listedNames(f), QStringList{values.first()});
        QCOMPARE(box(w, QStringLiteral("zipcode"))->text(), values.last());

        // The same name with other data: refused, the table untouched.
        f.ui.clear();
        box(w, QStringLiteral("name"))->setText(QStringLiteral("ديگري"));
        box(w, QStringLiteral("phone"))->setText(QStringLiteral("111"));
        button(w, QStringLiteral("ins_btn"))->click();
        QCOMPARE(f.ui.messages, QStringList{Tpeymankar_ins::kDuplicate});
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(1));
        QCOMPARE(contractorRow(f, id), values);

        // A part of a registered name is another name.
        f.ui.clear();
        box(w, QStringLiteral("peymankar"))->setText(QStringLiteral("راه و ساختمان"));
        button(w, QStringLiteral("ins_btn"))->click();
        QCOMPARE(f.ui.messages, QStringList{Tpeymankar_ins::kInserted});
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(2));

        // A value longer than its column: a message naming it, nothing written.
        f.ui.clear();
        box(w, QStringLiteral("peymankar"))->setText(QStringLiteral("پيمانکار سوم"));
        box(w, QStringLiteral("nation"))->setText(QStringLiteral("00123456789"));
        button(w, QStringLiteral("ins_btn"))->click();
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first().contains(QStringLiteral("nation")));
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(2));
    });
}

void PeymankarTest::searchAsTyped()
{
    Fixture f(true);
    for (const QString &n : {kYazd, kGol, kOmran, kRah})
        addContractor(f, n);
    // The bitumen forms leave the listing's query on one contractor.
    const qint64 one = f.scalar(QStringLiteral("select id from peymankaran where peymankar=?"), {kGol}).toLongLong();
    f.dm.ADOQ_peymankar->open(QStringLiteral("select * from peymankaran where id=?"), {one});

    f.ui.onShow[kWindow] = [&](QDialog *w) {
        auto *cnt = child<QLabel>(w, QStringLiteral("cnt"));
        auto *src = box(w, QStringLiteral("src"));
        // Every contractor, in Persian alphabetical order (گ before ي).
        QCOMPARE(listedNames(f), (QStringList{kRah, kOmran, kGol, kYazd}));
        QCOMPARE(cnt->text(), QStringLiteral("4"));
        typeText(src, QStringLiteral("راه"));
        QCOMPARE(listedNames(f), (QStringList{kRah, kYazd}));
        QCOMPARE(cnt->text(), QStringLiteral("2"));
        typeText(src, QStringLiteral(" س"));
        QCOMPARE(listedNames(f), QStringList{kRah});
        QCOMPARE(cnt->text(), QStringLiteral("1"));
        src->setText(QStringLiteral("هيچ"));
        QVERIFY(listedNames(f).isEmpty());
        QCOMPARE(cnt->text(), QStringLiteral("0"));
        src->clear();
        QCOMPARE(listedNames(f).size(), 4);
        QCOMPARE(cnt->text(), QStringLiteral("4"));
        src->setText(QStringLiteral("راه"));
    };
    f.form<Tpeymankar_ins>()->openAsPicker();
    // The next opening starts from an empty search box and every contractor.
    f.dm.ADOQ_peymankar->open(QStringLiteral("select * from peymankaran where id=?"), {one});
    openFromBitumen(f, kAll, [&](QDialog *w) {
        QVERIFY(box(w, QStringLiteral("src"))->text().isEmpty());
        QCOMPARE(listedNames(f), (QStringList{kRah, kOmran, kGol, kYazd}));
        QCOMPARE(child<QLabel>(w, QStringLiteral("cnt"))->text(), QStringLiteral("4"));
    });
    QVERIFY(f.ui.messages.isEmpty());
}

void PeymankarTest::namePushReachesEveryCountyButNotTypedNames()
{
    Fixture f(true);
    // A county user who sees only Karaj.
    const qint64 user = f.addUser(QStringLiteral("karaj1"), QStringLiteral("p"), QStringLiteral("city"));
    f.addCounty(user, QStringLiteral("كرج"));
    f.grant(user, QStringLiteral("g_pey"), true, true, true);
    f.signInAs(user, QStringLiteral("karaj1"), QStringLiteral("city"));

    const qint64 a = addContractor(f, kRah);
    const qint64 b = addContractor(f, kOmran);
    const qint64 own = addGhir(f, QStringLiteral("كرج"), QStringLiteral("ده1"), kRah, a);
    const qint64 other = addGhir(f, QStringLiteral("قزوين"), QStringLiteral("ده2"), QStringLiteral("راه سازان"), a);
    const qint64 typed = addGhir(f, QStringLiteral("كرج"), QStringLiteral("ده3"), kRah, -1);
    const qint64 ofB = addGhir(f, QStringLiteral("قزوين"), QStringLiteral("ده4"), kOmran, b);
    const qint64 orphan = addGhir(f, QStringLiteral("كرج"), QStringLiteral("ده5"), QStringLiteral("بي نام"), 999999);
    const QString renamed = QStringLiteral("شرکت راه سازان نوين");

    openFromBitumen(f, kAll, [&](QDialog *w) {
        auto *g = grid(w);
        clickRow(g, rowOf(f, kRah));
        action(w, QStringLiteral("N2"))->trigger();
        QCOMPARE(box(w, QStringLiteral("peymankar"))->text(), kRah);
        QCOMPARE(box(w, QStringLiteral("takhliye"))->text(), QStringLiteral("انبار شماره ۲"));
        QVERIFY(!button(w, QStringLiteral("ins_btn"))->isVisible());
        QVERIFY(button(w, QStringLiteral("edit_btn"))->isVisible());

        box(w, QStringLiteral("peymankar"))->setText(renamed);
        box(w, QStringLiteral("zipcode"))->setText(QStringLiteral("3131313131"));
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(f.ui.messages, QStringList{Tpeymankar_ins::kUpdated});
        const QStringList row = contractorRow(f, a);
        QCOMPARE(row.first(), renamed);
        QCOMPARE(row.last(), QStringLiteral("3131313131"));
        QCOMPARE(row.at(1), QStringLiteral("نماينده ") + kRah);
        // Allocations of every county that carry the id; not the typed name, not an unknown id.
        QCOMPARE(ghirName(f, own), renamed);
        QCOMPARE(ghirName(f, other), renamed);
        QCOMPARE(ghirName(f, typed), kRah);
        QCOMPARE(ghirName(f, ofB), kOmran);
        QCOMPARE(ghirName(f, orphan), QStringLiteral("بي نام"));
        QCOMPARE(f.scalar(QStringLiteral("select peymankar_id from ghir where id=?"), {typed}).toLongLong(), qint64(-1));
        // Back in the insert state; the listing shows the new name.
        QVERIFY(button(w, QStringLiteral("ins_btn"))->isVisible());
        QVERIFY(!button(w, QStringLiteral("edit_btn"))->isVisible());
        QVERIFY(listedNames(f).contains(renamed));

        // A name retyped in an allocation is put back by the push button, silently.
        f.dm.exec(QStringLiteral("update ghir set peymankar=? where id=?"), {QStringLiteral("عمران"), ofB});
        f.ui.clear();
        button(w, QStringLiteral("refresh_btn"))->click();
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(ghirName(f, ofB), kOmran);
        QCOMPARE(ghirName(f, typed), kRah);
        QCOMPARE(ghirName(f, orphan), QStringLiteral("بي نام"));
        QCOMPARE(f.count(QStringLiteral("log")), qint64(0));
    });
}

void PeymankarTest::updateWritesTheLoadedContractor()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah, QStringLiteral("111"));
    const qint64 b = addContractor(f, kOmran, QStringLiteral("222"));
    const qint64 c = addContractor(f, kGol, QStringLiteral("333"));
    const QStringList before = contractorRow(f, c);
    openFromBitumen(f, kAll, [&](QDialog *w) {
        auto *g = grid(w);
        // Load B, then click C before saving: B is written, C is not.
        clickRow(g, rowOf(f, kOmran));
        action(w, QStringLiteral("N2"))->trigger();
        clickRow(g, rowOf(f, kGol));
        QCOMPARE(f.dm.ADOQ_peymankar->text(QStringLiteral("peymankar")), kGol);
        box(w, QStringLiteral("phone"))->setText(QStringLiteral("2020"));
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(f.ui.messages, QStringList{Tpeymankar_ins::kUpdated});
        QCOMPARE(contractorRow(f, b).at(11), QStringLiteral("2020"));
        QCOMPARE(contractorRow(f, b).first(), kOmran);
        QCOMPARE(contractorRow(f, c), before);

        // Load A, then narrow the listing to C by the search box: A is written.
        clickRow(g, rowOf(f, kRah));
        action(w, QStringLiteral("N2"))->trigger();
        typeText(box(w, QStringLiteral("src")), QStringLiteral("گل"));
        QCOMPARE(listedNames(f), QStringList{kGol});
        box(w, QStringLiteral("phone"))->setText(QStringLiteral("1010"));
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(contractorRow(f, a).at(11), QStringLiteral("1010"));
        QCOMPARE(contractorRow(f, a).first(), kRah);
        QCOMPARE(contractorRow(f, c), before);
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(3));
    });
}

void PeymankarTest::badValueOnUpdateWritesNothing()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah);
    const qint64 g1 = addGhir(f, QStringLiteral("كرج"), QStringLiteral("ده1"), QStringLiteral("نام قديمي"), a);
    const QStringList before = contractorRow(f, a);
    openFromBitumen(f, kAll, [&](QDialog *w) {
        clickRow(grid(w), 0);
        action(w, QStringLiteral("N2"))->trigger();
        box(w, QStringLiteral("peymankar"))->setText(QStringLiteral("نام تازه"));
        box(w, QStringLiteral("zipcode"))->setText(QStringLiteral("31587654321"));
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first().contains(QStringLiteral("zipcode")));
        QCOMPARE(contractorRow(f, a), before);
        // The push did not run either.
        QCOMPARE(ghirName(f, g1), QStringLiteral("نام قديمي"));
        // Still editing: the user corrects the value and saves.
        QVERIFY(button(w, QStringLiteral("edit_btn"))->isVisible());
        box(w, QStringLiteral("zipcode"))->setText(QStringLiteral("3158765432"));
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(contractorRow(f, a).first(), QStringLiteral("نام تازه"));
        QCOMPARE(ghirName(f, g1), QStringLiteral("نام تازه"));
    });
}

void PeymankarTest::deleteAndEmptyListing()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah, QStringLiteral("111"), QStringLiteral("1111111111"));
    addContractor(f, kOmran);
    const qint64 g1 = addGhir(f, QStringLiteral("كرج"), QStringLiteral("ده1"), kRah, a);
    openFromBitumen(f, kAll, [&](QDialog *w) {
        box(w, QStringLiteral("zipcode"))->setText(QStringLiteral("باقي"));
        clickRow(grid(w), rowOf(f, kRah));
        action(w, QStringLiteral("N1"))->trigger();
        QCOMPARE(f.ui.messages, QStringList{Tpeymankar_ins::kDeleted});
        QVERIFY(contractorRow(f, a).isEmpty());
        QCOMPARE(listedNames(f), QStringList{kOmran});
        // The deleted contractor's data stays in the boxes (all but the postal code).
        QCOMPARE(box(w, QStringLiteral("peymankar"))->text(), kRah);
        QCOMPARE(box(w, QStringLiteral("phone"))->text(), QStringLiteral("111"));
        QCOMPARE(box(w, QStringLiteral("zipcode"))->text(), QStringLiteral("باقي"));
        // Allocations keep the id and the name; a later push leaves them alone.
        button(w, QStringLiteral("refresh_btn"))->click();
        QCOMPARE(ghirName(f, g1), kRah);
        QCOMPARE(f.scalar(QStringLiteral("select peymankar_id from ghir where id=?"), {g1}).toLongLong(), a);

        // Nothing listed: edit, update and delete do nothing.
        f.ui.clear();
        box(w, QStringLiteral("src"))->setText(QStringLiteral("هيچ"));
        QVERIFY(listedNames(f).isEmpty());
        action(w, QStringLiteral("N2"))->trigger();
        QVERIFY(!button(w, QStringLiteral("edit_btn"))->isVisible());
        action(w, QStringLiteral("N1"))->trigger();
        button(w, QStringLiteral("edit_btn"))->click();
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(1));

        // The contractor being edited is deleted before the update: nothing is written.
        box(w, QStringLiteral("src"))->clear();
        clickRow(grid(w), 0);
        action(w, QStringLiteral("N2"))->trigger();
        action(w, QStringLiteral("N1"))->trigger();
        f.ui.clear();
        box(w, QStringLiteral("peymankar"))->setText(QStringLiteral("تازه"));
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(f.ui.messages, QStringList{Tpeymankar_ins::kRowGone});
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(0));
        QVERIFY(!button(w, QStringLiteral("edit_btn"))->isVisible());
        QVERIFY(button(w, QStringLiteral("ins_btn"))->isVisible());
    });
}

void PeymankarTest::bitumenOpenerRights()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah);
    openFromBitumen(f, PageRights{false, true, false, true}, [&](QDialog *w) {
        QVERIFY(!button(w, QStringLiteral("ins_btn"))->isVisible());
        QVERIFY(!button(w, QStringLiteral("refresh_btn"))->isVisible());
        QVERIFY(!button(w, QStringLiteral("edit_btn"))->isVisible());
        QVERIFY(action(w, QStringLiteral("N2"))->isEnabled());
        QVERIFY(!action(w, QStringLiteral("N1"))->isEnabled());
        QVERIFY(action(w, QStringLiteral("N3"))->isEnabled());
        // An edit allowed, but after it the insert command stays unavailable.
        clickRow(grid(w), 0);
        action(w, QStringLiteral("N2"))->trigger();
        box(w, QStringLiteral("phone"))->setText(QStringLiteral("999"));
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(contractorRow(f, a).at(11), QStringLiteral("999"));
        QVERIFY(!button(w, QStringLiteral("ins_btn"))->isVisible());
        QVERIFY(!button(w, QStringLiteral("edit_btn"))->isVisible());
        action(w, QStringLiteral("N1"))->trigger();
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(1));
    });
    openFromBitumen(f, PageRights{true, false, true, true}, [&](QDialog *w) {
        QVERIFY(button(w, QStringLiteral("ins_btn"))->isVisible());
        QVERIFY(button(w, QStringLiteral("refresh_btn"))->isVisible());
        QVERIFY(!action(w, QStringLiteral("N2"))->isEnabled());
        QVERIFY(action(w, QStringLiteral("N1"))->isEnabled());
    });
}

void PeymankarTest::pickerRights()
{
    Fixture f(true);
    const qint64 a = addContractor(f, kRah);
    addContractor(f, kOmran);
    // Left in the edit state with every command by an earlier opening.
    openFromBitumen(f, kAll, [&](QDialog *w) {
        clickRow(grid(w), rowOf(f, kRah));
        action(w, QStringLiteral("N2"))->trigger();
        QVERIFY(button(w, QStringLiteral("edit_btn"))->isVisible());
    });

    const qint64 user = f.addUser(QStringLiteral("u1"), QStringLiteral("p"), QStringLiteral("city"));
    f.signInAs(user, QStringLiteral("u1"), QStringLiteral("city"));
    f.ui.clear();
    int shown = 0;
    f.ui.onShow[kWindow] = [&](QDialog *w) {
        ++shown;
        QVERIFY(box(w, QStringLiteral("peymankar"))->text().isEmpty());
        QCOMPARE(listedNames(f).size(), 2);
        for (const char *b : {"ins_btn", "edit_btn", "refresh_btn"}) {
            QVERIFY2(!button(w, QLatin1String(b))->isVisible(), b);
            button(w, QLatin1String(b))->click();
        }
        QVERIFY(!action(w, QStringLiteral("N2"))->isEnabled());
        QVERIFY(!action(w, QStringLiteral("N1"))->isEnabled());
        box(w, QStringLiteral("peymankar"))->setText(QStringLiteral("تازه"));
        clickRow(grid(w), rowOf(f, kOmran));
        action(w, QStringLiteral("N2"))->trigger();
        action(w, QStringLiteral("N1"))->trigger();
        button(w, QStringLiteral("ins_btn"))->click();
        button(w, QStringLiteral("edit_btn"))->click();
        QCOMPARE(f.count(QStringLiteral("peymankaran")), qint64(2));
        QCOMPARE(contractorRow(f, a).first(), kRah);
        QVERIFY(f.ui.messages.isEmpty());
        // Picking still works.
        doubleClickRow(grid(w), rowOf(f, kOmran));
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!w->isVisible());
    };
    f.form<Tpeymankar_ins>()->openAsPicker();
    QCOMPARE(shown, 1);
    QVERIFY(f.ui.messages.isEmpty());

    // With insert only: insert offered, edit and delete not.
    f.grant(user, QStringLiteral("g_pey"), true, false, false, false);
    f.ui.onShow[kWindow] = [&](QDialog *w) {
        QVERIFY(button(w, QStringLiteral("ins_btn"))->isVisible());
        QVERIFY(button(w, QStringLiteral("refresh_btn"))->isVisible());
        QVERIFY(!action(w, QStringLiteral("N2"))->isEnabled());
        QVERIFY(!action(w, QStringLiteral("N1"))->isEnabled());
    };
    f.form<Tpeymankar_ins>()->openAsPicker();
    QVERIFY(f.ui.messages.isEmpty());
}

void PeymankarTest::pickFillsTheInitialEntry()
{
    Fixture f(true);
    auto *entry = f.form<Tghir_ins>();
    addContractor(f, kRah);
    const qint64 b = addContractor(f, kOmran);
    entry->setBoxText(QStringLiteral("peymankar"), QStringLiteral("نام تايپ شده"));
    entry->setBoxText(QStringLiteral("peymankar_id"), QStringLiteral("-1"));
    int result = -1;
    // From the bitumen window as well as from the entry form's button.
    openFromBitumen(f, kAll, [&](QDialog *w) {
        doubleClickRow(grid(w), rowOf(f, kOmran));
        result = w->result();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(entry->boxText(QStringLiteral("peymankar")), kOmran);
    QCOMPARE(entry->boxText(QStringLiteral("peymankar_id")), QString::number(b));

    // The entry form's contractor button opens the register as a picker.
    const qint64 a = f.scalar(QStringLiteral("select id from peymankaran where peymankar=?"), {kRah}).toLongLong();
    f.ui.clear();
    f.ui.onShow[kWindow] = [&](QDialog *w) {
        QVERIFY(box(w, QStringLiteral("src"))->text().isEmpty());
        doubleClickRow(grid(w), rowOf(f, kRah));
    };
    child<QAbstractButton>(entry, QStringLiteral("SpeedButton1"))->click();
    QCOMPARE(f.ui.shownWindows, QStringList{kWindow});
    QCOMPARE(entry->boxText(QStringLiteral("peymankar")), kRah);
    QCOMPARE(entry->boxText(QStringLiteral("peymankar_id")), QString::number(a));
    QVERIFY(f.ui.messages.isEmpty());
}

void PeymankarTest::htmlExport()
{
    Fixture f(true);
    const QString tricky = QStringLiteral("<b>بنا & پي</b>");
    addContractor(f, kGol, QStringLiteral("021-1"));
    const qint64 t = addContractor(f, tricky);
    addContractor(f, kRah);
    addContractor(f, kOmran);
    const QString path = TempExportPath(QStringLiteral("Tobrenhal.xls"));
    QFile::remove(path);
    openFromBitumen(f, kAll, [&](QDialog *w) {
        typeText(box(w, QStringLiteral("src")), QStringLiteral("بنا"));
        action(w, QStringLiteral("N3"))->trigger();
    });
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.ui.openedFiles, QStringList{path});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QStringLiteral("<title>") + Tpeymankar_ins::kExportTitle + QStringLiteral("</title>")));

    QStringList heads;
    QRegularExpression th(QStringLiteral("<th>(.*?)</th>"));
    for (auto it = th.globalMatch(html); it.hasNext();)
        heads << it.next().captured(1);
    const QStringList expected = {QStringLiteral("رديف"),  QStringLiteral("شناسه"),  QStringLiteral("پيمانکار"),
                                  QStringLiteral("نام نماينده"),  QStringLiteral("نام پدر نماينده"),  QStringLiteral("کد ملي نماينده"),
                                  QStringLiteral("ش شناسنامه نماينده"),  QStringLiteral("محل صدور نماينده"),  QStringLiteral("شماره ثبت"),
                                  QStringLiteral("کد اقتصادي"),  QStringLiteral("شناسه ملي"),  QStringLiteral("نام پيمانکار حمل"),
                                  QStringLiteral("کد پيمانکار حمل"), QStringLiteral("تلفن ثابت"), QStringLiteral("تلفن همراه"),
                                  QStringLiteral("ماره فکس"), QStringLiteral("آدرس"), QStringLiteral("آدرس تخليه"),
                                  QStringLiteral("کد پستي")};
    QCOMPARE(heads, expected);

    // The listed rows (the search "بنا"), in name order, numbered, every column as text.
    QList<QStringList> rows;
    QRegularExpression tr(QStringLiteral("<tr>(.*?)</tr>"), QRegularExpression::DotMatchesEverythingOption);
    QRegularExpression td(QStringLiteral("<td>(.*?)</td>"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = tr.globalMatch(html); it.hasNext();) {
        const QString r = it.next().captured(1);
        QStringList cells;
        for (auto c = td.globalMatch(r); c.hasNext();)
            cells << c.next().captured(1).trimmed();
        if (!cells.isEmpty())
            rows << cells;
    }
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).size(), 19);
    QCOMPARE(rows.at(0).at(0), QStringLiteral("1"));
    QCOMPARE(rows.at(1).at(0), QStringLiteral("2"));
    QCOMPARE(rows.at(0).at(2), QStringLiteral("&lt;b&gt;بنا &amp; پي&lt;/b&gt;"));
    QCOMPARE(rows.at(0).at(1), QString::number(t));
    QCOMPARE(rows.at(1).at(2), kGol);
    QCOMPARE(rows.at(1).at(13), QStringLiteral("021-1"));
    QCOMPARE(rows.at(1).at(18), QString()); // zipcode empty
    QCOMPARE(rows.at(1).at(16), QStringLiteral("خيابان اول"));
}

VARNOSET_DB_TEST_MAIN(PeymankarTest)
#include "db_peymankar_ins.moc"
