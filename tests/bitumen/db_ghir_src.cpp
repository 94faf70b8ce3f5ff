// The bitumen projects window: listing with its computed columns, colouring and sort,
// the filters and the county restriction, the opener's rights, the submenu checks and
// the delete.
#include "support/fixture.h"
#include "ghir_rows.h"

#include "bitumen/ghir_src_u.h"
#include "core/main_u.h"
#include "shared/delete_password.h"
#include "shared/edits.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>

namespace {

const QColor kSkyBlue(166, 202, 240);

Tghir_src *window(Fixture &f) { return f.form<Tghir_src>(); }

QStringList listed(Fixture &f, const QString &field)
{
    QStringList out;
    DataSet *ds = f.dm.ADOQ_ghir;
    for (int r = 0; r < ds->recordCount(); ++r)
        out << ds->text(field, r);
    return out;
}

QString cnt(Fixture &f) { return child<QLabel>(window(f), QStringLiteral("cnt"))->text(); }

void click(Fixture &f, const char *name) { child<QAbstractButton>(window(f), QLatin1String(name))->click(); }

void search(Fixture &f) { click(f, "src_btn"); }

// Adds an item to the county or village list as the user does: type, then "+".
void addItem(Fixture &f, const char *box, const char *plus, const QString &text)
{
    child<QComboBox>(window(f), QLatin1String(box))->setEditText(text);
    click(f, plus);
}

QAction *action(Fixture &f, const char *name) { return child<QAction>(window(f), QLatin1String(name)); }

// Row ids of the listing, in order.
QList<qint64> ids(Fixture &f)
{
    QList<qint64> out;
    for (const QString &s : listed(f, QStringLiteral("id")))
        out << s.toLongLong();
    return out;
}

} // namespace

class GhirSrcTest : public QObject {
    Q_OBJECT
private slots:
    void computedColumnsTreatTextsAsNumbers()
    {
        Fixture f(true);
        using ghir_rows::add;
        // mande = ghir_jam + ghir_t - ghir_tahatori;
        // mosharekat = prot_mablagh*asfalt_ejra + prot_mablagh_ejra*asfalt_ejra - bors_price*ghir_jam.
        const qint64 a = add(f, {{"peymankar", "الف"}, {"ghir_jam", "12.5"}, {"ghir_t", "3"}, {"ghir_tahatori", 10},
                                 {"prot_mablagh", 1000000}, {"prot_mablagh_ejra", 500000}, {"asfalt_ejra", "115"},
                                 {"bors_price", 2000000}, {"zarib", "0.9"}});
        const qint64 b = add(f, {{"peymankar", "ب"}, {"ghir_tahatori", 10}, {"bors_price", 2000000}});
        const qint64 c = add(f, {{"peymankar", "ت"}, {"ghir_jam", " 4 "}, {"ghir_t", "-1.5"}, {"ghir_tahatori", 2}});
        // Texts that are not numbers count as 0, a number-like prefix included.
        const qint64 d = add(f, {{"peymankar", "ث"}, {"ghir_jam", "abc"}, {"ghir_t", "1.2.3"}, {"asfalt_ejra", "x"},
                                 {"bors_price", 3000000}, {"prot_mablagh", 7}});
        const qint64 e = add(f, {{"peymankar", "ج"}, {"ghir_jam", "12abc"}, {"ghir_t", ".5"}, {"asfalt_ejra", "10"},
                                 {"prot_mablagh", 1000}, {"bors_price", 100}, {"zarib", "0.5"}});
        const qint64 g = add(f, {{"peymankar", "چ"}, {"ghir_jam", "5."}, {"ghir_t", "+2"}, {"ghir_tahatori", 1},
                                 {"asfalt_ejra", "2"}, {"prot_mablagh", 100}, {"prot_mablagh_ejra", 50},
                                 {"bors_price", 10}});
        const qint64 k = add(f, {{"peymankar", "ح"}, {"ghir_jam", QVariant(QMetaType(QMetaType::QString))}, {"ghir_t", "."},
                                 {"ghir_tahatori", 1}, {"asfalt_ejra", "1,234"}, {"prot_mablagh", 5}, {"bors_price", 2}});
        search(f);
        DataSet *ds = f.dm.ADOQ_ghir;
        QCOMPARE(ds->recordCount(), 7);
        QCOMPARE(cnt(f), QStringLiteral("7"));
        QCOMPARE(ds->fieldNames().first().toLower(), QStringLiteral("mande"));
        QCOMPARE(ds->fieldNames().last().toLower(), QStringLiteral("mosharekat"));
        QCOMPARE(ds->fieldNames().size(), 76);
        struct Expect { qint64 id; const char *mande; const char *mosharekat; };
        const Expect expected[] = {
            {a, "5.5", "147500000"},   // 115e6 + 57.5e6 - 25e6
            {b, "-10", "0"},
            {c, "0.5", "0"},           // 4 - 1.5 - 2
            {d, "0", "0"},
            {e, "0.5", "10000"},       // 1000 * 10; zarib does not enter
            {g, "6", "250"},           // 5 + 2 - 1; 100*2 + 50*2 - 10*5
            {k, "-1", "0"},            // null and "." are 0; so is "1,234"
        };
        for (const Expect &x : expected) {
            QVERIFY(ds->locate(QStringLiteral("id"), x.id));
            QCOMPARE(ds->text(QStringLiteral("mande")), QLatin1String(x.mande));
            QCOMPARE(ds->text(QStringLiteral("mosharekat")), QLatin1String(x.mosharekat));
        }
        // The grid shows the contribution under its title; mande stays out of sight.
        auto *grid = child<QTableView>(window(f), QStringLiteral("DBGrid1"));
        const int m = ds->fieldIndex(QStringLiteral("mosharekat"));
        QCOMPARE(grid->model()->headerData(m, Qt::Horizontal).toString(), QStringLiteral("مشارکت مردمي و دهياري"));
        QVERIFY(!grid->isColumnHidden(m));
        QVERIFY(grid->isColumnHidden(ds->fieldIndex(QStringLiteral("mande"))));
        QVERIFY(grid->isColumnHidden(ds->fieldIndex(QStringLiteral("id"))));
        QVERIFY(grid->isColumnHidden(ds->fieldIndex(QStringLiteral("ostan"))));
        QHeaderView *h = grid->horizontalHeader();
        QCOMPARE(h->logicalIndex(0), ds->fieldIndex(QStringLiteral("city")));
        QCOMPARE(h->logicalIndex(1), ds->fieldIndex(QStringLiteral("rosta")));
        QCOMPARE(h->logicalIndex(6), ds->fieldIndex(QStringLiteral("prot_mablagh")));
        QCOMPARE(h->visualIndex(m), h->visualIndex(ds->fieldIndex(QStringLiteral("palayeshgah_name"))) + 1);
    }

    void rowsWithAMeetingDateAreSkyBlue()
    {
        Fixture f(true);
        using ghir_rows::add;
        const qint64 dated = add(f, {{"peymankar", "1"}, {"jalase_dat", "1403/05/06"}});
        const qint64 empty = add(f, {{"peymankar", "2"}, {"jalase_dat", ""}});
        const qint64 null = add(f, {{"peymankar", "3"}, {"jalase_dat", QVariant(QMetaType(QMetaType::QString))}});
        const qint64 mask = add(f, {{"peymankar", "4"}, {"jalase_dat", "    /  /  "}});
        search(f);
        auto *grid = child<QTableView>(window(f), QStringLiteral("DBGrid1"));
        DataSet *ds = f.dm.ADOQ_ghir;
        QVERIFY(ds->isNull(QStringLiteral("jalase_dat"), ids(f).indexOf(null)));
        auto colour = [&](qint64 id, const char *field) {
            const int row = ids(f).indexOf(id);
            return grid->model()->index(row, ds->fieldIndex(QLatin1String(field))).data(Qt::BackgroundRole).value<QColor>();
        };
        for (const char *field : {"city", "peymankar", "tarakom"}) {
            QCOMPARE(colour(dated, field), kSkyBlue);
            QCOMPARE(colour(empty, field), kSkyBlue);
            QCOMPARE(colour(null, field), kSkyBlue);
            QVERIFY(!colour(mask, field).isValid());
        }
    }

    void listOrderAndTitleSort()
    {
        Fixture f(true);
        using ghir_rows::add;
        // Persian alphabetical order of contractors, then registration date.
        add(f, {{"peymankar", "ياس"}, {"rosta", "د"}, {"reg_dat", "1403/01/01"}});
        add(f, {{"peymankar", "گلستان"}, {"rosta", "ب"}, {"reg_dat", "1403/01/01"}});
        add(f, {{"peymankar", "پارس"}, {"rosta", "الف"}, {"reg_dat", "1403/02/01"}});
        add(f, {{"peymankar", "پارس"}, {"rosta", "ج"}, {"reg_dat", "1403/01/15"}});
        add(f, {{"peymankar", "بهار"}, {"rosta", "پ"}, {"reg_dat", "1403/01/01"}});
        Tghir_src *w = window(f);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        search(f);
        QCOMPARE(listed(f, QStringLiteral("peymankar")),
                 QStringList({"بهار", "پارس", "پارس", "گلستان", "ياس"}));
        QCOMPARE(listed(f, QStringLiteral("rosta")), QStringList({"پ", "ج", "الف", "ب", "د"}));

        auto *grid = child<QTableView>(w, QStringLiteral("DBGrid1"));
        QHeaderView *h = grid->horizontalHeader();
        DataSet *ds = f.dm.ADOQ_ghir;
        auto clickTitle = [&](const char *field) {
            const int logical = ds->fieldIndex(QLatin1String(field));
            grid->scrollTo(grid->model()->index(0, logical));
            const int x = h->sectionViewportPosition(logical) + h->sectionSize(logical) / 2;
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
        };
        const int rostaColumn = ds->fieldIndex(QStringLiteral("rosta"));
        clickTitle("rosta");
        QCOMPARE(listed(f, QStringLiteral("rosta")), QStringList({"الف", "ب", "پ", "ج", "د"}));
        QCOMPARE(grid->model()->headerData(rostaColumn, Qt::Horizontal, Qt::FontRole).value<QFont>().bold(), true);
        clickTitle("rosta");
        QCOMPARE(listed(f, QStringLiteral("rosta")), QStringList({"د", "ج", "پ", "ب", "الف"}));
        clickTitle("rosta");
        QCOMPARE(listed(f, QStringLiteral("rosta")), QStringList({"الف", "ب", "پ", "ج", "د"}));
        clickTitle("reg_dat");
        QCOMPARE(listed(f, QStringLiteral("reg_dat")).first(), QStringLiteral("1403/01/01"));
        QCOMPARE(listed(f, QStringLiteral("reg_dat")).last(), QStringLiteral("1403/02/01"));
        QCOMPARE(grid->model()->headerData(rostaColumn, Qt::Horizontal, Qt::FontRole).value<QFont>().bold(), false);
        // A new search lists in the statement's order again.
        search(f);
        QCOMPARE(listed(f, QStringLiteral("rosta")), QStringList({"پ", "ج", "الف", "ب", "د"}));
        w->hide();
    }

    void countyAndVillageLists()
    {
        Fixture f(true);
        using ghir_rows::add;
        const qint64 saveh = add(f, {{"city", "ساوه"}, {"rosta", "نوبران"}, {"peymankar", "1"}});
        const qint64 savoj = add(f, {{"city", "ساوجبلاغ"}, {"rosta", "نوده"}, {"peymankar", "2"}});
        const qint64 arak = add(f, {{"city", "اراك"}, {"rosta", "نوبران"}, {"peymankar", "3"}});
        const qint64 qom = add(f, {{"city", "قم"}, {"rosta", "كهك"}, {"peymankar", "4"}});
        Tghir_src *w = window(f);
        auto *list_city = child<QListWidget>(w, QStringLiteral("list_city"));
        auto *list_rosta = child<QListWidget>(w, QStringLiteral("list_rosta"));
        auto *city = child<QComboBox>(w, QStringLiteral("city"));

        // Ticked with an empty list: only the placeholder, no row.
        click(f, "CheckBox2");
        QVERIFY(city->isEnabled());
        QVERIFY(child<QPushButton>(w, QStringLiteral("add_city"))->isEnabled());
        QVERIFY(child<QCheckBox>(w, QStringLiteral("show_list_city"))->isEnabled());
        QCOMPARE(city->palette().color(QPalette::Base), QColor(255, 255, 0));
        search(f);
        QCOMPARE(ids(f), QList<qint64>());
        QCOMPARE(cnt(f), QStringLiteral("0"));
        // The box's own text is not a filter until "+" adds it.
        city->setEditText(QStringLiteral("قم"));
        search(f);
        QCOMPARE(ids(f), QList<qint64>());

        // Items match as substrings; several items are alternatives.
        addItem(f, "city", "add_city", QStringLiteral("ساو"));
        search(f);
        QCOMPARE(ids(f), QList<qint64>({saveh, savoj}));
        QCOMPARE(cnt(f), QStringLiteral("2"));
        addItem(f, "city", "add_city", QStringLiteral("اراك"));
        addItem(f, "city", "add_city", QStringLiteral("اراك"));
        addItem(f, "city", "add_city", QString());
        QCOMPARE(list_city->count(), 4); // duplicates and empty texts stay
        // An empty item matches every county ("%%").
        search(f);
        QCOMPARE(ids(f).size(), 4);
        list_city->setCurrentRow(3);
        child<QAction>(w, QStringLiteral("N48"))->trigger();
        QCOMPARE(list_city->count(), 3);
        search(f);
        QCOMPARE(ids(f), QList<qint64>({saveh, savoj, arak}));

        // The village filter combines with the county filter.
        click(f, "CheckBox3");
        addItem(f, "rosta", "add_rosta", QStringLiteral("نوبران"));
        search(f);
        QCOMPARE(ids(f), QList<qint64>({saveh, arak}));
        QCOMPARE(cnt(f), QStringLiteral("2"));

        // Showing the list.
        auto *showCity = child<QCheckBox>(w, QStringLiteral("show_list_city"));
        QVERIFY(list_city->isHidden());
        showCity->click();
        QVERIFY(!list_city->isHidden());
        QCOMPARE(list_city->height(), 56);
        showCity->click();
        QVERIFY(list_city->isHidden());

        // A click on the county check box, either way, empties its list.
        click(f, "CheckBox2");
        QCOMPARE(list_city->count(), 0);
        QVERIFY(!city->isEnabled());
        search(f);
        QCOMPARE(ids(f), QList<qint64>({saveh, arak}));
        addItem(f, "city", "add_city", QStringLiteral("قم")); // disabled: the click does nothing
        QCOMPARE(list_city->count(), 0);
        list_city->addItem(QStringLiteral("ساوه"));
        click(f, "CheckBox2");
        QCOMPARE(list_city->count(), 0);
        QVERIFY(city->isEnabled());
        click(f, "CheckBox2");

        // N47 without a selection removes nothing; a double click adds the row's village.
        list_rosta->clearSelection();
        child<QAction>(w, QStringLiteral("N47"))->trigger();
        QCOMPARE(list_rosta->count(), 1);
        click(f, "CheckBox3");
        QCOMPARE(list_rosta->count(), 0);
        search(f);
        QCOMPARE(ids(f).size(), 4);
        auto *grid = child<QTableView>(w, QStringLiteral("DBGrid1"));
        const QModelIndex cell = grid->model()->index(ids(f).indexOf(qom), f.dm.ADOQ_ghir->fieldIndex(QStringLiteral("city")));
        emit grid->doubleClicked(cell);
        emit grid->doubleClicked(cell);
        QCOMPARE(list_rosta->count(), 2);
        QCOMPARE(list_rosta->item(1)->text(), QStringLiteral("كهك"));
        QVERIFY(!child<QComboBox>(w, QStringLiteral("rosta"))->isEnabled());
    }

    void otherFilters()
    {
        Fixture f(true);
        using ghir_rows::add;
        const qint64 a = add(f, {{"peymankar", "شركت راه سازان"}, {"reg_dat", "1403/01/10"}, {"sal", "1403"},
                                 {"prj_typ", "آسفالت"}, {"ostan", "قم"}});
        const qint64 b = add(f, {{"peymankar", "راه و ساختمان"}, {"reg_dat", "1403/02/10"}, {"sal", "1402"},
                                 {"prj_typ", "آسفالت"}});
        const qint64 c = add(f, {{"peymankar", "بتن"}, {"reg_dat", "1403/03/10"}, {"sal", "1403"}, {"prj_typ", "لكه گيري"}});
        f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, rosta) values (?,?,?,?)"),
                  {QStringLiteral("قم"), QStringLiteral("قم"), QStringLiteral("قم"), QStringLiteral("كهك")});
        Tghir_src *w = window(f);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));

        // The province neither filters nor restricts; it only fills the county list.
        click(f, "CheckBox8");
        auto *ostan = child<QComboBox>(w, QStringLiteral("ostan"));
        ostan->setEditText(QStringLiteral("قم"));
        QCOMPARE(child<QComboBox>(w, QStringLiteral("city"))->count(), 1);
        search(f);
        QCOMPARE(ids(f).size(), 3);

        // Contractor: part of the name; Enter in the box runs the search.
        click(f, "CheckBox1");
        auto *peymankar = child<QComboBox>(w, QStringLiteral("peymankar"));
        peymankar->setEditText(QStringLiteral("راه"));
        peymankar->setFocus();
        QTest::keyClick(peymankar, Qt::Key_Return);
        QCOMPARE(ids(f), QList<qint64>({b, a}));
        QCOMPARE(cnt(f), QStringLiteral("2"));
        click(f, "CheckBox1");

        // Registration date range, both ends inclusive.
        click(f, "CheckBox4");
        auto *d1 = child<TDateEdit>(w, QStringLiteral("reg_dat1"));
        auto *d2 = child<TDateEdit>(w, QStringLiteral("reg_dat2"));
        QVERIFY(d1->isEnabled() && d2->isEnabled());
        QCOMPARE(d2->palette().color(QPalette::Base), QColor(255, 255, 0));
        d1->setText(QStringLiteral("1403/01/10"));
        d2->setText(QStringLiteral("1403/02/10"));
        search(f);
        QCOMPARE(ids(f), QList<qint64>({b, a}));
        click(f, "CheckBox4");
        QVERIFY(!d1->isEnabled());

        // Year: an unfilled year selects nothing.
        click(f, "CheckBox5");
        auto *sal = child<QLineEdit>(w, QStringLiteral("sal"));
        search(f);
        QCOMPARE(ids(f), QList<qint64>());
        sal->setText(QStringLiteral("1403"));
        search(f);
        QCOMPARE(ids(f), QList<qint64>({c, a}));

        // Project type, together with the year.
        click(f, "CheckBox6");
        child<QComboBox>(w, QStringLiteral("prj_typ"))->setEditText(QStringLiteral("آسفالت"));
        search(f);
        QCOMPARE(ids(f), QList<qint64>({a}));
        QCOMPARE(cnt(f), QStringLiteral("1"));
        w->hide();
    }

    void enterInTheCountyBoxSearchesAndTheKafIsNormalised()
    {
        Fixture f(true);
        using ghir_rows::add;
        add(f, {{"city", "كرج"}});
        add(f, {{"city", "قم"}});
        Tghir_src *w = window(f);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        click(f, "CheckBox2");
        auto *city = child<QComboBox>(w, QStringLiteral("city"));
        QVERIFY(city->hasFocus());
        city->setEditText(QStringLiteral("کرج")); // typed with the Persian keheh
        child<QPushButton>(w, QStringLiteral("add_city"))->setFocus();
        QCOMPARE(city->currentText(), QStringLiteral("كرج"));
        click(f, "add_city");
        city->setFocus();
        QTest::keyClick(city, Qt::Key_Return);
        QCOMPARE(listed(f, QStringLiteral("city")), QStringList({"كرج"}));
        QVERIFY(w->isVisible()); // Enter does not close the window
        w->hide();
    }

    void countyRestrictionByLevel()
    {
        Fixture f(true);
        using ghir_rows::add;
        for (const char *c : {"اراك", "ساوه", "قم", "كاشان"})
            add(f, {{"city", c}});
        const qint64 ostan = f.addUser(QStringLiteral("2280000011"), QStringLiteral("p"), QStringLiteral("ostan"));
        f.addCounty(ostan, QStringLiteral("اراك"));
        f.addCounty(ostan, QStringLiteral("ساوه"));
        const qint64 city = f.addUser(QStringLiteral("2280000029"), QStringLiteral("p"), QStringLiteral("city"));
        f.addCounty(city, QStringLiteral("قم"));
        f.addCounty(city, QStringLiteral("قم آباد")); // no such allocation
        const qint64 odd = f.addUser(QStringLiteral("2280000037"), QStringLiteral("p"), QStringLiteral("Admin"));
        auto sortedCities = [&] {
            QStringList l = listed(f, QStringLiteral("city"));
            l.sort();
            return l;
        };

        search(f); // the fixture's admin
        QCOMPARE(listed(f, QStringLiteral("city")).size(), 4);
        QCOMPARE(cnt(f), QStringLiteral("4"));
        f.signInAs(ostan, QStringLiteral("2280000011"), QStringLiteral("ostan"));
        search(f);
        QCOMPARE(sortedCities(), QStringList({"اراك", "ساوه"}));
        QCOMPARE(cnt(f), QStringLiteral("2"));
        f.signInAs(city, QStringLiteral("2280000029"), QStringLiteral("city"));
        search(f);
        QCOMPARE(sortedCities(), QStringList({"قم"}));
        QCOMPARE(cnt(f), QStringLiteral("1"));
        // The comparison is exact: "Admin" is not the administrator.
        f.signInAs(odd, QStringLiteral("2280000037"), QStringLiteral("Admin"));
        search(f);
        QCOMPARE(sortedCities(), QStringList());
        QCOMPARE(cnt(f), QStringLiteral("0"));
        // The restriction and a county filter combine.
        f.signInAs(ostan, QStringLiteral("2280000011"), QStringLiteral("ostan"));
        click(f, "CheckBox2");
        addItem(f, "city", "add_city", QStringLiteral("ار")); // in اراك only
        addItem(f, "city", "add_city", QStringLiteral("قم")); // not one of the user's counties
        search(f);
        QCOMPARE(sortedCities(), QStringList({"اراك"}));
        QCOMPARE(cnt(f), QStringLiteral("1"));
    }

    void openerAppliesRightsAndPrepares()
    {
        Fixture f(true);
        using ghir_rows::add;
        add(f, {{"city", "اراك"}});
        add(f, {{"city", "قم"}});
        const qint64 u = f.addUser(QStringLiteral("2280000011"), QStringLiteral("p"), QStringLiteral("ostan"));
        f.addCounty(u, QStringLiteral("قم"));
        f.signInAs(u, QStringLiteral("2280000011"), QStringLiteral("ostan"));
        Tmain *main = f.form<Tmain>();
        Tghir_src *w = window(f);
        QCOMPARE(main->findChild<QAction *>(QStringLiteral("N13"))->text(), Tghir_src::kMenuCaption);

        // No row for the page, or no right to open: refused, not shown.
        QVERIFY(main->trigger(QStringLiteral("N13")));
        QCOMPARE(f.ui.lastMessage(), kNoAccessMessage);
        QVERIFY(!f.ui.shownWindows.contains(QStringLiteral("Tghir_src")));
        f.grant(u, QStringLiteral("ghir"), true, true, true, false);
        main->trigger(QStringLiteral("N13"));
        QCOMPARE(f.ui.messages.size(), 2);
        QVERIFY(!f.ui.shownWindows.contains(QStringLiteral("Tghir_src")));

        // Insert only.
        f.dm.exec(QStringLiteral("update dastrasi set darj=?, virayesh=?, hazf=?, namayesh=? where prs_id=?"),
                  {true, false, false, true, u});
        // What the opener clears, and what it keeps.
        click(f, "CheckBox1");
        click(f, "CheckBox8");
        for (const char *box : {"ostan", "city", "rosta", "peymankar"})
            child<QComboBox>(w, QLatin1String(box))->setEditText(QStringLiteral("x"));
        child<QListWidget>(w, QStringLiteral("list_rosta"))->addItem(QStringLiteral("kept"));
        click(f, "CheckBox1"); // contractor filter off again, ostan stays ticked
        struct Seen { bool n1, n2, n3, n13, n22; QString texts; int rows; QSize size; QString d1, d2; };
        Seen seen{};
        f.ui.onShow[QStringLiteral("Tghir_src")] = [&](QDialog *) {
            seen = {action(f, "N1")->isEnabled(), action(f, "N2")->isEnabled(), action(f, "N3")->isEnabled(),
                    action(f, "N13")->isEnabled(), action(f, "N22")->isEnabled(), QString(),
                    f.dm.ADOQ_ghir->recordCount(), w->size(),
                    child<TDateEdit>(w, QStringLiteral("reg_dat1"))->text(),
                    child<TDateEdit>(w, QStringLiteral("reg_dat2"))->text()};
            for (const char *box : {"ostan", "city", "rosta", "peymankar"})
                seen.texts += child<QComboBox>(w, QLatin1String(box))->currentText();
        };
        main->resize(1000, 700);
        main->trigger(QStringLiteral("N13"));
        QCOMPARE(f.ui.shownWindows, QStringList({"Tghir_src"}));
        QVERIFY(seen.n1 && seen.n13 && seen.n22);
        QVERIFY(!seen.n2 && !seen.n3);
        QCOMPARE(seen.texts, QString());
        QCOMPARE(seen.rows, 1); // searched, with the user's counties
        QCOMPARE(cnt(f), QStringLiteral("1"));
        QCOMPARE(seen.size, QSize(970, 650));
        QCOMPARE(seen.d1, QStringLiteral("1405/09/15"));
        QCOMPARE(seen.d2, QStringLiteral("1405/09/15"));
        QVERIFY(child<QCheckBox>(w, QStringLiteral("CheckBox8"))->isChecked());
        QCOMPARE(child<QListWidget>(w, QStringLiteral("list_rosta"))->count(), 1);

        // Edit and delete only.
        f.dm.exec(QStringLiteral("update dastrasi set darj=?, virayesh=?, hazf=? where prs_id=?"), {false, true, true, u});
        main->trigger(QStringLiteral("N13"));
        QVERIFY(!seen.n1 && !seen.n13 && !seen.n22);
        QVERIFY(seen.n2 && seen.n3);
    }

    void hiddenItemsByLevel()
    {
        Fixture f(true);
        Tghir_src *w = window(f);
        QMenu *n40 = child<QMenu>(w, QStringLiteral("N40"));
        QVERIFY(!n40->menuAction()->isVisible());
        QVERIFY(!action(f, "N25")->isVisible());
        const PageRights all{true, true, true, true};
        const struct { const char *level; bool offered; } cases[] = {
            {"city", false}, {"ostan", true}, {"keshvar", false}, {"admin", true}, {"Admin", false}};
        for (const auto &c : cases) {
            f.ctx.CurrentUser.level = QLatin1String(c.level);
            w->openFromMain(all);
            QCOMPARE(n40->menuAction()->isVisible(), c.offered);
            QCOMPARE(action(f, "N25")->isVisible(), c.offered);
        }
    }

    void menusAreComplete()
    {
        Fixture f(true);
        Tghir_src *w = window(f);
        QCOMPARE(w->windowTitle(), QStringLiteral("اطلاعات پروژه هاي قير"));
        QCOMPARE(w->layoutDirection(), Qt::RightToLeft);
        const char *const items[] = {"N1", "N2", "N13", "N3", "N14", "N4", "N35", "N8", "A51", "N9", "N10", "N44",
                                     "N45", "N7", "N50", "N11", "N23", "N51", "N25", "N49", "N36", "N33", "N110",
                                     "N210", "N41", "N12", "N16", "N31", "N32", "N18", "N37", "N27", "N19", "N20",
                                     "N21", "N34", "N46", "N38", "N39", "N40", "N26", "N28", "N29", "N30", "N6",
                                     "N17", "N24", "N15", "N42", "N5", "N22", "N43", "N47", "N48"};
        for (const char *name : items) {
            QAction *a = action(f, name);
            QVERIFY2(!a->text().isEmpty(), name);
            QVERIFY2(!a->text().contains(QLatin1Char('&')), name);
        }
        // Main menu order.
        QStringList top;
        for (QAction *a : child<QWidget>(w, QStringLiteral("MainMenu1"))->actions())
            top << a->objectName();
        QCOMPARE(top, QStringList({"N1", "N2", "N13", "N3", "N14", "N4", "N18", "N15", "N42", "N5"}));
        QCOMPARE(action(f, "N3")->text(), QStringLiteral("حذف"));
        QCOMPARE(action(f, "N43")->text(), QStringLiteral("انتساب يک ضميمه به تمام موارد اين ليست"));
        // N5 closes the window.
        w->show();
        action(f, "N5")->trigger();
        QVERIFY(!w->isVisible());
    }

    void provinceSubmenuChecks()
    {
        Fixture f(true);
        Tghir_src *w = window(f);
        const qint64 u = f.addUser(QStringLiteral("2280000011"), QStringLiteral("p"), QStringLiteral("ostan"));
        f.signInAs(u, QStringLiteral("2280000011"), QStringLiteral("ostan"));
        QMenu *n35 = child<QMenu>(w, QStringLiteral("N35"));
        QMenu *n37 = child<QMenu>(w, QStringLiteral("N37"));
        auto open = [](QMenu *m) {
            m->popup(QPoint(10, 10));
            m->hide();
        };
        // No row: refused each time, the submenu stays usable.
        open(n35);
        open(n35);
        QCOMPARE(f.ui.messages, QStringList({kNoAccessMessage, kNoAccessMessage}));
        QVERIFY(n35->menuAction()->isEnabled());
        // The right to open, whatever the other flags.
        f.grant(u, QStringLiteral("g_frm"), false, false, false, true);
        open(n35);
        QCOMPARE(f.ui.messages.size(), 2);
        QVERIFY(n35->menuAction()->isEnabled());
        // No right to open: refused once and disabled from then on.
        f.grant(u, QStringLiteral("g_rep"), true, true, true, false);
        open(n37);
        QCOMPARE(f.ui.messages.size(), 3);
        QVERIFY(!n37->menuAction()->isEnabled());
        QVERIFY(n35->menuAction()->isEnabled());
        // The page of one submenu does not open the other.
        f.dm.exec(QStringLiteral("delete from dastrasi where page_name=?"), {QStringLiteral("g_frm")});
        f.grant(u, QStringLiteral("g_frm"), true, true, true, false);
        open(n35);
        QVERIFY(!n35->menuAction()->isEnabled());
        QCOMPARE(f.ui.messages.size(), 4);
    }

    void deleteBehindQuestionAndPassword()
    {
        Fixture f(true);
        using ghir_rows::add;
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"),
                  {kDeletePasswordPrompt, QStringLiteral("123")}); // the password list shares the prompt's name
        const qint64 a = add(f, {{"peymankar", "بهار"}, {"rosta", "نوبران"}});
        const qint64 b = add(f, {{"peymankar", "پارس'ی"}, {"rosta", "نوده"}});
        f.dm.exec(QStringLiteral("insert into ghir_history (ghir_key, cmt, dat, karbar) values (?,?,?,?)"),
                  {b, QStringLiteral("h"), QStringLiteral("1403/01/01"), QStringLiteral("admin")});
        f.dm.exec(QStringLiteral("insert into ghir_pic (ghir_id, ext, cmt) values (?,?,?)"),
                  {b, QStringLiteral(".jpg"), QStringLiteral("p")});
        search(f);
        DataSet *ds = f.dm.ADOQ_ghir;
        QVERIFY(ds->locate(QStringLiteral("id"), b));
        const QString question =
            Tghir_src::kDeleteWarning + QStringLiteral("'پارس''ی' * 'نوده'");

        // No, Cancel: nothing asked further, nothing written.
        f.ui.answers << Ui::No;
        action(f, "N3")->trigger();
        f.ui.answers << Ui::Cancel;
        action(f, "N3")->trigger();
        QCOMPARE(f.ui.questions, QStringList({question, question}));
        QVERIFY(f.ui.prompts.isEmpty());
        // Yes with a wrong password, and with the default answer of a cancelled box.
        f.ui.answers << Ui::Yes << Ui::Yes;
        f.ui.inputs << QStringLiteral("1234");
        action(f, "N3")->trigger();
        action(f, "N3")->trigger();
        QCOMPARE(f.ui.prompts, QStringList({"Password|کلمه عبور|?", "Password|کلمه عبور|?"}));
        QCOMPARE(f.ui.messages, QStringList({kPasswordMismatch, kPasswordMismatch}));
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(2));
        QCOMPARE(f.count(QStringLiteral("log")), qint64(0));

        // Yes and the password: the row goes, its history and documents stay.
        f.ui.clear();
        f.ui.answers << Ui::Yes;
        f.ui.inputs << QStringLiteral("123");
        action(f, "N3")->trigger();
        QCOMPARE(f.ui.messages, QStringList({Tghir_src::kDeleted}));
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(1));
        QCOMPARE(f.scalar(QStringLiteral("select id from ghir")).toLongLong(), a);
        QCOMPARE(f.count(QStringLiteral("ghir_history")), qint64(1));
        QCOMPARE(f.count(QStringLiteral("ghir_pic")), qint64(1));
        // The list is refreshed, the count is not; the log names the deleted allocation.
        QCOMPARE(ids(f), QList<qint64>({a}));
        QCOMPARE(ds->currentRow(), 0);
        QCOMPARE(cnt(f), QStringLiteral("2"));
        QCOMPARE(f.count(QStringLiteral("log")), qint64(1));
        QCOMPARE(f.scalar(QStringLiteral("select cmt from log")).toString(),
                 Tghir_src::kDeleteLog + QStringLiteral("'پارس''ی' * 'نوده' admin"));
        QCOMPARE(f.scalar(QStringLiteral("select karbar from log")).toString(), QStringLiteral("admin"));
        QVERIFY(!f.scalar(QStringLiteral("select saat_sys from log")).isNull());

        // Deleting the last row leaves an empty list and the old count; then there is nothing to delete.
        f.ui.answers << Ui::Yes;
        f.ui.inputs << QStringLiteral("123");
        action(f, "N3")->trigger();
        QCOMPARE(ids(f), QList<qint64>());
        QCOMPARE(cnt(f), QStringLiteral("2"));
        f.ui.clear();
        action(f, "N3")->trigger();
        QCOMPARE(f.ui.messages, QStringList({Tghir_src::kEmptyList}));
        QVERIFY(f.ui.questions.isEmpty());
        QCOMPARE(f.count(QStringLiteral("log")), qint64(2));
    }

    void deleteWithoutPasswordListOrFailingStopsCleanly()
    {
        Fixture f(true);
        using ghir_rows::add;
        add(f, {{"peymankar", "بهار"}});
        search(f);
        // No delete password stored: nothing matches, not even the default answer.
        f.ui.answers << Ui::Yes;
        action(f, "N3")->trigger();
        QCOMPARE(f.ui.messages, QStringList({kPasswordMismatch}));
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(1));

        // The database refuses the delete: its message, then nothing else.
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"),
                  {kDeletePasswordPrompt, QStringLiteral("123")});
        QSqlQuery(f.dm.ADOConnection1()).exec(QStringLiteral("drop table ghir"));
        f.ui.clear();
        f.ui.answers << Ui::Yes;
        f.ui.inputs << QStringLiteral("123");
        action(f, "N3")->trigger();
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first() != Tghir_src::kDeleted);
        QCOMPARE(f.count(QStringLiteral("log")), qint64(0));
        QCOMPARE(f.dm.ADOQ_ghir->recordCount(), 1); // the list stays as it was
    }

    void commandsOnAnEmptyList()
    {
        Fixture f(true);
        search(f);
        QVERIFY(f.dm.ADOQ_ghir->isEmpty());
        for (const char *name : {"N2", "N13", "N22", "N3"}) {
            f.ui.clear();
            action(f, name)->trigger();
            QCOMPARE(f.ui.messages, QStringList({Tghir_src::kEmptyList}));
            QVERIFY(f.ui.shownWindows.isEmpty());
        }
    }
};

VARNOSET_DB_TEST_MAIN(GhirSrcTest)
#include "db_ghir_src.moc"
