// The bitumen projects window's own rules: its computed columns, colouring and order, its
// filters with the county restriction, the opener's rights and menus by level, the province
// submenus' pages, the delete and the commands with nothing listed.
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
#include <QTableView>

namespace {

QStringList listed(Fixture &f, const QString &field)
{
    QStringList out;
    for (int r = 0; r < f.dm.ADOQ_ghir->recordCount(); ++r)
        out << f.dm.ADOQ_ghir->text(field, r);
    return out;
}

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

// Ticks a filter and sets its box (a list filter adds the text as an item); a null text unticks it.
void filter(Fixture &f, const char *check, const char *box, const QString &text = {})
{
    Tghir_src *w = f.form<Tghir_src>();
    if (child<QCheckBox>(w, check)->isChecked() == text.isNull())
        click(w, check);
    if (text.isNull())
        return;
    setBox(w, box, text);
    if (w->findChild<QListWidget *>(QStringLiteral("list_") + QLatin1String(box)))
        click(w, QStringLiteral("add_") + QLatin1String(box));
}

} // namespace

class GhirSrcTest : public QObject {
    Q_OBJECT
private slots:
    // The listing's computed columns and its colour, row by row: mande = ghir_jam + ghir_t -
    // ghir_tahatori; mosharekat = (prot_mablagh + prot_mablagh_ejra) * asfalt_ejra - bors_price *
    // ghir_jam, a text that is not wholly a number counting as 0. Rows with a meeting date are
    // sky blue: only the exact empty mask is no date, an empty or a null date is coloured too.
    void computedColumnsAndColour()
    {
        const QVariant null(QMetaType(QMetaType::QString));
        const struct {
            QVariantMap row;
            const char *mande, *mosharekat;
        } cases[] = {
            {{{"ghir_jam", "12.5"}, {"ghir_t", "3"}, {"ghir_tahatori", 10}, {"prot_mablagh", 1000000},
              {"prot_mablagh_ejra", 500000}, {"asfalt_ejra", "115"}, {"bors_price", 2000000}, {"zarib", "0.9"},
              {"jalase_dat", "1403/05/06"}},
             "5.5", "147500000"}, // 115e6 + 57.5e6 - 25e6; zarib does not enter
            {{{"ghir_tahatori", 10}, {"bors_price", 2000000}, {"jalase_dat", ""}}, "-10", "0"},
            {{{"ghir_jam", " 4 "}, {"ghir_t", "-1.5"}, {"ghir_tahatori", 2}, {"jalase_dat", null}}, "0.5", "0"},
            {{{"ghir_jam", "abc"}, {"ghir_t", "1.2.3"}, {"asfalt_ejra", "x"}, {"bors_price", 3000000}, {"prot_mablagh", 7}},
             "0", "0"},
            {{{"ghir_jam", "12abc"}, {"ghir_t", ".5"}, {"asfalt_ejra", "10"}, {"prot_mablagh", 1000}, {"bors_price", 100}},
             "0.5", "10000"},
            {{{"ghir_jam", "5."}, {"ghir_t", "+2"}, {"ghir_tahatori", 1}, {"asfalt_ejra", "2"}, {"prot_mablagh", 100},
              {"prot_mablagh_ejra", 50}, {"bors_price", 10}},
             "6", "250"}, // 100*2 + 50*2 - 10*5
            {{{"ghir_jam", null}, {"ghir_t", "."}, {"ghir_tahatori", 1}, {"asfalt_ejra", "1,234"}, {"prot_mablagh", 5},
              {"bors_price", 2}},
             "-1", "0"},
        };
        Fixture f(true);
        QList<qint64> added;
        for (const auto &c : cases)
            added << addGhir(f, c.row);
        search(f);
        auto *grid = child<QTableView>(f.form<Tghir_src>(), "DBGrid1");
        for (int i = 0; i < added.size(); ++i) {
            QVERIFY(f.dm.ADOQ_ghir->locate("id", added.at(i)));
            QCOMPARE(f.dm.ADOQ_ghir->text("mande"), cases[i].mande);
            QCOMPARE(f.dm.ADOQ_ghir->text("mosharekat"), cases[i].mosharekat);
            const QModelIndex cell = grid->model()->index(f.dm.ADOQ_ghir->currentRow(), f.dm.ADOQ_ghir->fieldIndex("city"));
            QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), i < 3 ? QColor(166, 202, 240) : QColor());
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
        search(f);
        QCOMPARE(listed(f, "rosta"), QStringList({"پ", "ج", "الف", "ب", "د"}));
    }

    // Every filter ticked: of eight allocations each but the first left out by one filter, only
    // the first is listed and counted (county and village items as substrings and alternatives,
    // the contractor as a substring, the dates inclusive, year and type exact); the province
    // fills the county list and filters nothing. A double click adds a row's village to its list.
    void filtersNarrowTheList()
    {
        Fixture f(true);
        const QVariantMap hit{{"city", "ساوه"}, {"rosta", "نوبران"}, {"peymankar", "راه آهن"}, {"reg_dat", "1403/02/10"}};
        const qint64 first = addGhir(f, hit);
        for (const QVariantMap &miss : {QVariantMap{{"city", "قم"}}, {{"rosta", "ده"}}, {{"peymankar", "بتن"}},
                                        {{"reg_dat", "1403/02/09"}}, {{"reg_dat", "1403/02/11"}}, {{"sal", "1402"}},
                                        {{"prj_typ", "آسفالت معابر"}}}) {
            QVariantMap row = hit;
            row.insert(miss);
            addGhir(f, row);
        }
        f.dm.exec("insert into abadiha (ostan, shahrestan, city, rosta) values (?,?,?,?)", {"قم", "قم", "قم", "كهك"});
        Tghir_src *w = f.form<Tghir_src>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        filter(f, "CheckBox8", "ostan", "قم");
        QCOMPARE(child<QComboBox>(w, "city")->count(), 1);
        filter(f, "CheckBox2", "city", "هيچ");
        filter(f, "CheckBox2", "city", "او");
        filter(f, "CheckBox3", "rosta", "نوب");
        filter(f, "CheckBox4", "reg_dat1", "1403/02/10");
        setBox(w, "reg_dat2", "1403/02/10");
        filter(f, "CheckBox5", "sal", "1403");
        filter(f, "CheckBox6", "prj_typ", "آسفالت");
        // Enter in the contractor's box searches and keeps the window open.
        filter(f, "CheckBox1", "peymankar", "آهن");
        child<QComboBox>(w, "peymankar")->setFocus();
        QTest::keyClick(child<QComboBox>(w, "peymankar"), Qt::Key_Return);
        QCOMPARE(ids(f), QList<qint64>({first}));
        QCOMPARE(cnt(f), "1");
        QVERIFY(w->isVisible());
        auto *grid = child<QTableView>(w, "DBGrid1");
        emit grid->doubleClicked(grid->model()->index(0, 1));
        QCOMPARE(child<QListWidget>(w, "list_rosta")->count(), 2);
        QCOMPARE(child<QListWidget>(w, "list_rosta")->item(1)->text(), "نوبران");
        setBox(w, "sal", ""); // an unfilled year selects nothing
        QCOMPARE(search(f), QList<qint64>());
        w->hide();
    }

    // The county restriction (the shared clause's own test covers the levels) applies to the
    // listing and the count, and combines with the county filter.
    void countyRestrictionWithTheFilter()
    {
        Fixture f(true);
        for (const char *c : {"اراك", "ساوه", "قم"})
            addGhir(f, {{"city", c}});
        f.addCounty(signInWithCounty(f, "ostan"), "ساوه");
        search(f);
        QCOMPARE(listed(f, "city") << cnt(f), QStringList({"اراك", "ساوه", "2"}));
        filter(f, "CheckBox2", "city", "ار"); // in اراك only
        filter(f, "CheckBox2", "city", "قم"); // not one of the user's counties
        search(f);
        QCOMPARE(listed(f, "city") << cnt(f), QStringList({"اراك", "1"}));
    }

    void openerAppliesRightsAndPrepares()
    {
        Fixture f(true);
        addGhir(f, {{"city", "اراك"}});
        addGhir(f, {{"city", "قم"}});
        const qint64 u = signInWithCounty(f, "ostan", "2280000011", "قم");
        f.grant(u, "ghir", true, false, false);
        Tghir_src *w = f.form<Tghir_src>();
        // Left from the last use: texts in the boxes, a tick and a village list.
        click(w, "CheckBox8");
        for (const char *box : {"ostan", "city", "rosta", "peymankar"})
            child<QComboBox>(w, box)->setEditText("x");
        child<QListWidget>(w, "list_rosta")->addItem("kept");
        QString enabled, shown;
        f.ui.onShow["Tghir_src"] = [&](QDialog *) {
            enabled.clear();
            for (const char *item : {"N1", "N2", "N3", "N13", "N22"})
                enabled += w->action(item)->isEnabled() ? item : "-";
            shown.clear();
            for (const char *box : {"ostan", "city", "rosta", "peymankar"})
                shown += child<QComboBox>(w, box)->currentText();
            shown += listed(f, "city").join(',') + cnt(f) + child<TDateEdit>(w, "reg_dat1")->text()
                     + child<TDateEdit>(w, "reg_dat2")->text();
        };
        // Insert only; the boxes emptied, searched with the user's counties, the dates today.
        QVERIFY(f.form<Tmain>()->trigger("N13"));
        QCOMPARE(enabled, "N1--N13N22");
        QCOMPARE(shown, "قم11405/09/151405/09/15");
        QVERIFY(child<QCheckBox>(w, "CheckBox8")->isChecked());
        QCOMPARE(child<QListWidget>(w, "list_rosta")->count(), 1);
        // Edit and delete only.
        f.dm.exec("update dastrasi set darj=?, virayesh=?, hazf=? where prs_id=?", {false, true, true, u});
        f.form<Tmain>()->trigger("N13");
        QCOMPARE(enabled, "-N2N3--");
    }

    // The special reports and the old refund are offered to the province and the administrator
    // (by the exact level); the province forms' submenu asks for the page "g_frm", the reports'
    // for "g_rep".
    void menusByLevelAndPage()
    {
        Fixture f(true);
        Tghir_src *w = f.form<Tghir_src>();
        const struct { const char *level; bool offered; } cases[] = {
            {"city", false}, {"ostan", true}, {"keshvar", false}, {"admin", true}, {"Admin", false}};
        for (const auto &c : cases) {
            f.ctx.CurrentUser.level = c.level;
            w->openFromMain(PageRights{true, true, true, true});
            QCOMPARE(w->menu("N40")->menuAction()->isVisible(), c.offered);
            QCOMPARE(w->action("N25")->isVisible(), c.offered);
        }
        const qint64 u = f.addUser("2280000011", "p", "ostan");
        f.signInAs(u, "2280000011", "ostan");
        for (bool forms : {true, false}) {
            f.dm.exec("delete from dastrasi");
            f.grant(u, "g_frm", true, true, true, forms);
            f.grant(u, "g_rep", true, true, true, !forms);
            for (const char *m : {"N35", "N37"}) {
                w->menu(m)->menuAction()->setEnabled(true);
                emit w->menu(m)->aboutToShow();
            }
            QCOMPARE(w->menu("N35")->menuAction()->isEnabled(), forms);
            QCOMPARE(w->menu("N37")->menuAction()->isEnabled(), !forms);
        }
    }

    void deleteTakesTheAllocationOnly()
    {
        Fixture f(true);
        addSettings(f, {{kDeletePasswordPrompt, "123"}}); // the password list shares the prompt's name
        const qint64 a = addGhir(f, {{"peymankar", "بهار"}});
        const qint64 b = addGhir(f, {{"peymankar", "پارس'ی"}, {"rosta", "نوده"}});
        f.dm.exec("insert into ghir_history (ghir_key, cmt, dat, karbar) values (?,?,?,?)", {b, "h", "1403/01/01", "admin"});
        f.dm.exec("insert into ghir_pic (ghir_id, ext, cmt) values (?,?,?)", {b, ".jpg", "p"});
        makeCurrent(f, b);
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(f.form<Tghir_src>(), "N3");
        // The question and the log name it quoted; its history and documents stay.
        QCOMPARE(f.ui.questions, QStringList({texts::kGhirDeleteWarning + "'پارس''ی' * 'نوده'"}));
        QCOMPARE(f.ui.messages, QStringList({texts::kDeleted}));
        QCOMPARE(f.scalar("select cmt from log").toString(), texts::kGhirDeleteLog + "'پارس''ی' * 'نوده' admin");
        QCOMPARE(f.scalar("select id from ghir").toLongLong(), a);
        QCOMPARE(f.count("ghir_history") + f.count("ghir_pic"), qint64(2));
        // The last search again, the count as it found.
        QCOMPARE(ids(f), QList<qint64>({a}));
        QCOMPARE(cnt(f), "2");
    }

    // The commands on the current allocation, the province forms' included, with nothing listed.
    void commandsOnAnEmptyList()
    {
        Fixture f(true);
        search(f);
        for (const char *name : {"N2", "N13", "N22", "N3", "N8", "N44", "N51", "N33"}) {
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
