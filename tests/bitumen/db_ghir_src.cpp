// The bitumen projects window: listing with its computed columns, colouring and sort,
// the filters and the county restriction, the opener's rights, the submenu checks and
// the delete.
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_src_u.h"
#include "app/main_u.h"
#include "shared/delete_password.h"
#include "shared/edits.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSqlQuery>
#include <QTableView>

namespace {

const QColor kSkyBlue(166, 202, 240);

QStringList listed(Fixture &f, const QString &field)
{
    QStringList out;
    for (int r = 0; r < f.dm.ADOQ_ghir->recordCount(); ++r)
        out << f.dm.ADOQ_ghir->text(field, r);
    return out;
}

// Row ids of the listing, in order.
QList<qint64> ids(Fixture &f)
{
    QList<qint64> out;
    for (const QString &s : listed(f, "id"))
        out << s.toLongLong();
    return out;
}

QString cnt(Fixture &f) { return child<QLabel>(f.form<Tghir_src>(), "cnt")->text(); }

// Clicks the search button; returns the ids listed.
QList<qint64> search(Fixture &f)
{
    click(f.form<Tghir_src>(), "src_btn");
    return ids(f);
}

// Adds an item to the county or village list as the user does: type, then "+".
void addItem(Fixture &f, const char *box, const QString &text)
{
    child<QComboBox>(f.form<Tghir_src>(), box)->setEditText(text);
    click(f.form<Tghir_src>(), QStringLiteral("add_") + QLatin1String(box));
}

QAction *action(Fixture &f, const char *name) { return child<QAction>(f.form<Tghir_src>(), name); }

} // namespace

class GhirSrcTest : public QObject {
    Q_OBJECT
private slots:
    void computedColumnsTreatTextsAsNumbers()
    {
        Fixture f(true);
        // mande = ghir_jam + ghir_t - ghir_tahatori;
        // mosharekat = prot_mablagh*asfalt_ejra + prot_mablagh_ejra*asfalt_ejra - bors_price*ghir_jam.
        const qint64 a = addGhir(f, {{"peymankar", "الف"}, {"ghir_jam", "12.5"}, {"ghir_t", "3"}, {"ghir_tahatori", 10},
                                     {"prot_mablagh", 1000000}, {"prot_mablagh_ejra", 500000}, {"asfalt_ejra", "115"},
                                     {"bors_price", 2000000}, {"zarib", "0.9"}});
        const qint64 b = addGhir(f, {{"peymankar", "ب"}, {"ghir_tahatori", 10}, {"bors_price", 2000000}});
        const qint64 c = addGhir(f, {{"peymankar", "ت"}, {"ghir_jam", " 4 "}, {"ghir_t", "-1.5"}, {"ghir_tahatori", 2}});
        // Texts that are not numbers count as 0, a number-like prefix included.
        const qint64 d = addGhir(f, {{"peymankar", "ث"}, {"ghir_jam", "abc"}, {"ghir_t", "1.2.3"}, {"asfalt_ejra", "x"},
                                     {"bors_price", 3000000}, {"prot_mablagh", 7}});
        const qint64 e = addGhir(f, {{"peymankar", "ج"}, {"ghir_jam", "12abc"}, {"ghir_t", ".5"}, {"asfalt_ejra", "10"},
                                     {"prot_mablagh", 1000}, {"bors_price", 100}, {"zarib", "0.5"}});
        const qint64 g = addGhir(f, {{"peymankar", "چ"}, {"ghir_jam", "5."}, {"ghir_t", "+2"}, {"ghir_tahatori", 1},
                                     {"asfalt_ejra", "2"}, {"prot_mablagh", 100}, {"prot_mablagh_ejra", 50},
                                     {"bors_price", 10}});
        const qint64 k = addGhir(f, {{"peymankar", "ح"}, {"ghir_jam", QVariant(QMetaType(QMetaType::QString))},
                                     {"ghir_t", "."}, {"ghir_tahatori", 1}, {"asfalt_ejra", "1,234"},
                                     {"prot_mablagh", 5}, {"bors_price", 2}});
        QCOMPARE(search(f).size(), 7);
        QCOMPARE(cnt(f), "7");
        DataSet *ds = f.dm.ADOQ_ghir;
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
            QVERIFY(ds->locate("id", x.id));
            QCOMPARE(ds->text("mande"), x.mande);
            QCOMPARE(ds->text("mosharekat"), x.mosharekat);
        }
    }

    void rowsWithAMeetingDateAreSkyBlue()
    {
        Fixture f(true);
        const qint64 dated = addGhir(f, {{"peymankar", "1"}, {"jalase_dat", "1403/05/06"}});
        const qint64 empty = addGhir(f, {{"peymankar", "2"}, {"jalase_dat", ""}});
        const qint64 null = addGhir(f, {{"peymankar", "3"}, {"jalase_dat", QVariant(QMetaType(QMetaType::QString))}});
        const qint64 mask = addGhir(f, {{"peymankar", "4"}, {"jalase_dat", "    /  /  "}});
        const QList<qint64> rows = search(f);
        auto *grid = child<QTableView>(f.form<Tghir_src>(), "DBGrid1");
        DataSet *ds = f.dm.ADOQ_ghir;
        QVERIFY(ds->isNull("jalase_dat", rows.indexOf(null)));
        auto colour = [&](qint64 id, const char *field) {
            return grid->model()->index(rows.indexOf(id), ds->fieldIndex(field)).data(Qt::BackgroundRole).value<QColor>();
        };
        for (const char *field : {"city", "peymankar", "tarakom"}) {
            for (qint64 blue : {dated, empty, null})
                QCOMPARE(colour(blue, field), kSkyBlue);
            QVERIFY(!colour(mask, field).isValid());
        }
    }

    void listOrder()
    {
        Fixture f(true);
        // Persian alphabetical order of contractors, then registration date.
        addGhir(f, {{"peymankar", "ياس"}, {"rosta", "د"}, {"reg_dat", "1403/01/01"}});
        addGhir(f, {{"peymankar", "گلستان"}, {"rosta", "ب"}, {"reg_dat", "1403/01/01"}});
        addGhir(f, {{"peymankar", "پارس"}, {"rosta", "الف"}, {"reg_dat", "1403/02/01"}});
        addGhir(f, {{"peymankar", "پارس"}, {"rosta", "ج"}, {"reg_dat", "1403/01/15"}});
        addGhir(f, {{"peymankar", "بهار"}, {"rosta", "پ"}, {"reg_dat", "1403/01/01"}});
        Tghir_src *w = f.form<Tghir_src>();
        w->show();
        search(f);
        QCOMPARE(listed(f, "peymankar"), QStringList({"بهار", "پارس", "پارس", "گلستان", "ياس"}));
        QCOMPARE(listed(f, "rosta"), QStringList({"پ", "ج", "الف", "ب", "د"}));

        // N5 closes the window.
        click(w, "N5");
        QVERIFY(!w->isVisible());
    }

    void countyAndVillageLists()
    {
        Fixture f(true);
        const qint64 saveh = addGhir(f, {{"city", "ساوه"}, {"rosta", "نوبران"}, {"peymankar", "1"}});
        const qint64 savoj = addGhir(f, {{"city", "ساوجبلاغ"}, {"rosta", "نوده"}, {"peymankar", "2"}});
        const qint64 arak = addGhir(f, {{"city", "اراك"}, {"rosta", "نوبران"}, {"peymankar", "3"}});
        const qint64 qom = addGhir(f, {{"city", "قم"}, {"rosta", "كهك"}, {"peymankar", "4"}});
        Tghir_src *w = f.form<Tghir_src>();
        auto *list_city = child<QListWidget>(w, "list_city");
        auto *list_rosta = child<QListWidget>(w, "list_rosta");
        auto *city = child<QComboBox>(w, "city");

        // (An empty ticked list, adding, removing and the kaf are the filter bar's own test.)
        // Items match as substrings; several items are alternatives.
        click(w, "CheckBox2");
        addItem(f, "city", "ساو");
        QCOMPARE(search(f), QList<qint64>({saveh, savoj}));
        QCOMPARE(cnt(f), "2");
        addItem(f, "city", "اراك");
        addItem(f, "city", "اراك");
        addItem(f, "city", QString());
        QCOMPARE(list_city->count(), 4); // duplicates and empty texts stay
        // An empty item matches every county ("%%").
        QCOMPARE(search(f).size(), 4);
        list_city->setCurrentRow(3);
        click(w, "N48");
        QCOMPARE(list_city->count(), 3);
        QCOMPARE(search(f), QList<qint64>({saveh, savoj, arak}));

        // The village filter combines with the county filter.
        click(w, "CheckBox3");
        addItem(f, "rosta", "نوبران");
        QCOMPARE(search(f), QList<qint64>({saveh, arak}));

        // A click on the county check box, either way, empties its list.
        click(w, "CheckBox2");
        QCOMPARE(list_city->count(), 0);
        QVERIFY(!city->isEnabled());
        QCOMPARE(search(f), QList<qint64>({saveh, arak}));
        list_city->addItem("ساوه");
        click(w, "CheckBox2");
        QCOMPARE(list_city->count(), 0);
        QVERIFY(city->isEnabled());
        click(w, "CheckBox2");

        // A double click adds the row's village.
        click(w, "CheckBox3");
        QCOMPARE(list_rosta->count(), 0);
        QCOMPARE(search(f).size(), 4);
        auto *grid = child<QTableView>(w, "DBGrid1");
        const QModelIndex cell = grid->model()->index(ids(f).indexOf(qom), f.dm.ADOQ_ghir->fieldIndex("city"));
        emit grid->doubleClicked(cell);
        emit grid->doubleClicked(cell);
        QCOMPARE(list_rosta->count(), 2);
        QCOMPARE(list_rosta->item(1)->text(), "كهك");
        QVERIFY(!child<QComboBox>(w, "rosta")->isEnabled());
    }

    void otherFilters()
    {
        Fixture f(true);
        const qint64 a = addGhir(f, {{"peymankar", "شركت راه سازان"}, {"reg_dat", "1403/01/10"}, {"sal", "1403"},
                                     {"prj_typ", "آسفالت"}, {"ostan", "قم"}});
        const qint64 b = addGhir(f, {{"peymankar", "راه و ساختمان"}, {"reg_dat", "1403/02/10"}, {"sal", "1402"},
                                     {"prj_typ", "آسفالت"}});
        const qint64 c = addGhir(f, {{"peymankar", "بتن"}, {"reg_dat", "1403/03/10"}, {"sal", "1403"},
                                     {"prj_typ", "لكه گيري"}});
        f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, rosta) values (?,?,?,?)"),
                  {"قم", "قم", "قم", "كهك"});
        Tghir_src *w = f.form<Tghir_src>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));

        // The province neither filters nor restricts; it only fills the county list.
        click(w, "CheckBox8");
        child<QComboBox>(w, "ostan")->setEditText("قم");
        QCOMPARE(child<QComboBox>(w, "city")->count(), 1);
        QCOMPARE(search(f).size(), 3);

        // Contractor: part of the name; Enter in the box runs the search.
        click(w, "CheckBox1");
        auto *peymankar = child<QComboBox>(w, "peymankar");
        peymankar->setEditText("راه");
        peymankar->setFocus();
        QTest::keyClick(peymankar, Qt::Key_Return);
        QCOMPARE(ids(f), QList<qint64>({b, a}));
        QVERIFY(w->isVisible()); // Enter does not close the window
        QCOMPARE(cnt(f), "2");
        click(w, "CheckBox1");

        // Registration date range, both ends inclusive.
        click(w, "CheckBox4");
        child<TDateEdit>(w, "reg_dat1")->setText("1403/01/10");
        child<TDateEdit>(w, "reg_dat2")->setText("1403/02/10");
        QCOMPARE(search(f), QList<qint64>({b, a}));
        click(w, "CheckBox4");

        // Year: an unfilled year selects nothing.
        click(w, "CheckBox5");
        QCOMPARE(search(f), QList<qint64>());
        child<QLineEdit>(w, "sal")->setText("1403");
        QCOMPARE(search(f), QList<qint64>({c, a}));

        // Project type, together with the year.
        click(w, "CheckBox6");
        child<QComboBox>(w, "prj_typ")->setEditText("آسفالت");
        QCOMPARE(search(f), QList<qint64>({a}));
        QCOMPARE(cnt(f), "1");
        w->hide();
    }

    void countyRestrictionByLevel()
    {
        Fixture f(true);
        for (const char *c : {"اراك", "ساوه", "قم", "كاشان"})
            addGhir(f, {{"city", c}});
        const qint64 ostan = f.addUser("2280000011", "p", "ostan");
        f.addCounty(ostan, "اراك");
        f.addCounty(ostan, "ساوه");
        const qint64 city = f.addUser("2280000029", "p", "city");
        f.addCounty(city, "قم");
        f.addCounty(city, "قم آباد"); // no such allocation
        const qint64 odd = f.addUser("2280000037", "p", "Admin");
        auto citiesOf = [&](qint64 user, const QString &level) {
            if (user)
                f.signInAs(user, "u", level);
            search(f);
            QStringList l = listed(f, "city");
            l.sort();
            return std::make_pair(l, cnt(f));
        };
        // The fixture's admin sees everything; the comparison is exact: "Admin" is not the administrator.
        QCOMPARE(citiesOf(0, {}), std::make_pair(QStringList({"اراك", "ساوه", "قم", "كاشان"}), QString("4")));
        QCOMPARE(citiesOf(ostan, "ostan"), std::make_pair(QStringList({"اراك", "ساوه"}), QString("2")));
        QCOMPARE(citiesOf(city, "city"), std::make_pair(QStringList({"قم"}), QString("1")));
        QCOMPARE(citiesOf(odd, "Admin"), std::make_pair(QStringList(), QString("0")));
        // The restriction and a county filter combine.
        f.signInAs(ostan, "2280000011", "ostan");
        click(f.form<Tghir_src>(), "CheckBox2");
        addItem(f, "city", "ار"); // in اراك only
        addItem(f, "city", "قم"); // not one of the user's counties
        QCOMPARE(citiesOf(0, {}), std::make_pair(QStringList({"اراك"}), QString("1")));
    }

    void openerAppliesRightsAndPrepares()
    {
        Fixture f(true);
        addGhir(f, {{"city", "اراك"}});
        addGhir(f, {{"city", "قم"}});
        const qint64 u = signInWithCounty(f, "ostan", "2280000011", "قم");
        Tmain *main = f.form<Tmain>();
        Tghir_src *w = f.form<Tghir_src>();

        // No row for the page, or no right to open: refused, not shown.
        QVERIFY(main->trigger("N13"));
        f.grant(u, "ghir", true, true, true, false);
        main->trigger("N13");
        QCOMPARE(f.ui.messages, QStringList(2, kNoAccessMessage));
        QVERIFY(f.ui.shownWindows.isEmpty());

        // Insert only.
        f.dm.exec(QStringLiteral("update dastrasi set darj=?, virayesh=?, hazf=?, namayesh=? where prs_id=?"),
                  {true, false, false, true, u});
        // What the opener clears, and what it keeps.
        click(w, "CheckBox1");
        click(w, "CheckBox8");
        for (const char *box : {"ostan", "city", "rosta", "peymankar"})
            child<QComboBox>(w, box)->setEditText("x");
        child<QListWidget>(w, "list_rosta")->addItem("kept");
        click(w, "CheckBox1"); // contractor filter off again, ostan stays ticked
        QString enabled, texts;
        int rows = -1;
        f.ui.onShow["Tghir_src"] = [&](QDialog *) {
            enabled.clear();
            for (const char *item : {"N1", "N2", "N3", "N13", "N22"})
                enabled += action(f, item)->isEnabled() ? item : "-";
            rows = f.dm.ADOQ_ghir->recordCount();
            texts.clear();
            for (const char *box : {"ostan", "city", "rosta", "peymankar"})
                texts += child<QComboBox>(w, box)->currentText();
            for (const char *box : {"reg_dat1", "reg_dat2"})
                QCOMPARE(child<TDateEdit>(w, box)->text(), "1405/09/15");
        };
        main->trigger("N13");
        QCOMPARE(f.ui.shownWindows, QStringList({"Tghir_src"}));
        QCOMPARE(enabled, "N1--N13N22");
        QCOMPARE(texts, QString());
        QCOMPARE(rows, 1); // searched, with the user's counties
        QCOMPARE(cnt(f), "1");
        QVERIFY(child<QCheckBox>(w, "CheckBox8")->isChecked());
        QCOMPARE(child<QListWidget>(w, "list_rosta")->count(), 1);

        // Edit and delete only.
        f.dm.exec(QStringLiteral("update dastrasi set darj=?, virayesh=?, hazf=? where prs_id=?"), {false, true, true, u});
        main->trigger("N13");
        QCOMPARE(enabled, "-N2N3--");
    }

    void hiddenItemsByLevel()
    {
        Fixture f(true);
        Tghir_src *w = f.form<Tghir_src>();
        QMenu *n40 = child<QMenu>(w, "N40");
        QVERIFY(!n40->menuAction()->isVisible());
        QVERIFY(!action(f, "N25")->isVisible());
        const struct { const char *level; bool offered; } cases[] = {
            {"city", false}, {"ostan", true}, {"keshvar", false}, {"admin", true}, {"Admin", false}};
        for (const auto &c : cases) {
            f.ctx.CurrentUser.level = c.level;
            w->openFromMain(PageRights{true, true, true, true});
            QCOMPARE(n40->menuAction()->isVisible(), c.offered);
            QCOMPARE(action(f, "N25")->isVisible(), c.offered);
        }
    }

    void provinceSubmenuChecks()
    {
        Fixture f(true);
        Tghir_src *w = f.form<Tghir_src>();
        const qint64 u = f.addUser("2280000011", "p", "ostan");
        f.signInAs(u, "2280000011", "ostan");
        QMenu *n35 = child<QMenu>(w, "N35");
        QMenu *n37 = child<QMenu>(w, "N37");
        auto open = [](QMenu *m) {
            m->popup(QPoint(10, 10));
            m->hide();
        };
        // No row: refused each time, the submenu stays usable.
        open(n35);
        open(n35);
        QCOMPARE(f.ui.messages, QStringList(2, kNoAccessMessage));
        QVERIFY(n35->menuAction()->isEnabled());
        // The right to open, whatever the other flags.
        f.grant(u, "g_frm", false, false, false, true);
        open(n35);
        QCOMPARE(f.ui.messages.size(), 2);
        QVERIFY(n35->menuAction()->isEnabled());
        // No right to open: refused once and disabled from then on.
        f.grant(u, "g_rep", true, true, true, false);
        open(n37);
        QCOMPARE(f.ui.messages.size(), 3);
        QVERIFY(!n37->menuAction()->isEnabled());
        QVERIFY(n35->menuAction()->isEnabled());
        // The page of one submenu does not open the other.
        f.dm.exec(QStringLiteral("delete from dastrasi where page_name=?"), {"g_frm"});
        f.grant(u, "g_frm", true, true, true, false);
        open(n35);
        QVERIFY(!n35->menuAction()->isEnabled());
        QCOMPARE(f.ui.messages.size(), 4);
    }

    void deleteBehindQuestionAndPassword()
    {
        Fixture f(true);
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"),
                  {kDeletePasswordPrompt, "123"}); // the password list shares the prompt's name
        const qint64 a = addGhir(f, {{"peymankar", "بهار"}, {"rosta", "نوبران"}});
        const qint64 b = addGhir(f, {{"peymankar", "پارس'ی"}, {"rosta", "نوده"}});
        f.dm.exec(QStringLiteral("insert into ghir_history (ghir_key, cmt, dat, karbar) values (?,?,?,?)"),
                  {b, "h", "1403/01/01", "admin"});
        f.dm.exec(QStringLiteral("insert into ghir_pic (ghir_id, ext, cmt) values (?,?,?)"), {b, ".jpg", "p"});
        makeCurrent(f, b);
        auto *w = f.form<Tghir_src>();
        const QString question = texts::kGhirDeleteWarning + "'پارس''ی' * 'نوده'";

        // (No, Cancel and a wrong password are the delete command's own test.)
        // Yes and the password: the row goes, its history and documents stay.
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(w, "N3");
        QCOMPARE(f.ui.questions, QStringList({question}));
        QCOMPARE(f.ui.prompts, QStringList({"Password|کلمه عبور|?"}));
        QCOMPARE(f.ui.messages, QStringList({texts::kDeleted}));
        QCOMPARE(f.scalar("select id from ghir").toLongLong(), a);
        QCOMPARE(f.count("ghir"), qint64(1));
        QCOMPARE(f.count("ghir_history"), qint64(1));
        QCOMPARE(f.count("ghir_pic"), qint64(1));
        // The list is refreshed, the count is not; the log names the deleted allocation.
        QCOMPARE(ids(f), QList<qint64>({a}));
        QCOMPARE(f.dm.ADOQ_ghir->currentRow(), 0);
        QCOMPARE(cnt(f), "2");
        QCOMPARE(f.count("log"), qint64(1));
        QCOMPARE(f.scalar("select cmt from log").toString(), texts::kGhirDeleteLog + "'پارس''ی' * 'نوده' admin");
        QCOMPARE(f.scalar("select karbar from log").toString(), "admin");
        QVERIFY(!f.scalar("select saat_sys from log").isNull());

        // Deleting the last row leaves an empty list and the old count; then there is nothing to delete.
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(w, "N3");
        QCOMPARE(ids(f), QList<qint64>());
        QCOMPARE(cnt(f), "2");
        QCOMPARE(f.count("log"), qint64(2));
    }

    void failingDeleteStopsCleanly()
    {
        Fixture f(true);
        addGhir(f, {{"peymankar", "بهار"}});
        search(f);
        // The database refuses the delete: its message, then nothing else.
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"), {kDeletePasswordPrompt, "123"});
        QSqlQuery(f.dm.ADOConnection1()).exec(QStringLiteral("drop table ghir"));
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(f.form<Tghir_src>(), "N3");
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first() != texts::kDeleted);
        QCOMPARE(f.count("log"), qint64(0));
        QCOMPARE(f.dm.ADOQ_ghir->recordCount(), 1); // the list stays as it was
    }

    // The commands on the current allocation, the province forms' included, with nothing listed.
    void commandsOnAnEmptyList()
    {
        Fixture f(true);
        search(f);
        for (const char *name : {"N2", "N13", "N22", "N3", "N8", "A51", "N9", "N44", "N45"}) {
            f.ui.clear();
            click(f.form<Tghir_src>(), name);
            QCOMPARE(f.ui.messages, QStringList({texts::kEmptyList}));
            QVERIFY(f.ui.shownWindows.isEmpty() && f.ui.prompts.isEmpty() && f.ui.questions.isEmpty());
            QVERIFY(f.ui.reports.isEmpty());
        }
        QCOMPARE(f.count("ghir_history"), qint64(0));
    }
};

VARNOSET_DB_TEST_MAIN(GhirSrcTest)
#include "db_ghir_src.moc"
