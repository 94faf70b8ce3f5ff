// The bitumen projects window's own rules: its computed columns, colouring and order, its
// filters with the county restriction, the opener's rights and menus by level, the province
// submenus' pages, the delete, the commands with nothing listed, and what the entry commands put
// into the forms (the list following what they stored).
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_reports.h"
#include "bitumen/ghir_src_u.h"
#include "core/dates.h"
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

QStringList listed(Fixture &f, const QString &field) { return gridColumn(f.form<Tghir_src>(), "DBGrid1", field); }

QList<qint64> ids(Fixture &f)
{
    QList<qint64> out;
    for (const QString &s : listed(f, "id"))
        out << s.toLongLong();
    return out;
}

// The input box that asks the delete password: caption, prompt and default answer.
const QString kPasswordBox = "Password|کلمه عبور|?";

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

// Runs `steps` while the command `item` of the bitumen window shows `window`.
void command(Fixture &f, const char *item, const QString &window, const Steps &steps)
{
    through(f, f.form<Tghir_src>(), item, window, steps);
}

// The boxes of an entry form as it was shown, by lower-case column (the contractor's id, which
// has no box, as the value the form holds).
template <class Form> QHash<QString, QString> boxes(Form *form)
{
    QHash<QString, QString> out;
    for (const QString &c : Form::columns())
        out.insert(c.toLower(), c == QLatin1String("peymankar_id") ? form->fixedValue(c).toString() : form->boxText(c));
    return out;
}

QVariantMap fullRow()
{
    return {{"ostan", "مرکزي"}, {"city", "اراك"}, {"rosta", "نوبران"}, {"prj_typ", "آسفالت"}, {"prot_no", "101"},
            {"prot_dat", "1403/01/05"}, {"peymankar", "بهار"}, {"prot_mablagh", 1250000}, {"city_paper_no", "55"},
            {"city_paper_dat", "1403/01/02"}, {"tafahomname_dat", "1403/01/03"}, {"prj_area", 100}, {"tonaj", 11.65},
            {"zekhamat", "5"}, {"bors_price", 2000000}, {"ghir_masrafi", "0.699"}, {"ghir_tahatori", 10},
            {"tozi_dat", "1403/01/04"}, {"z_no", "Z1"}, {"z_dat", "1403/01/06"}, {"z_bank", "ملي"},
            {"z_typ", "بانكي"}, {"z_mablagh", 5000000}, {"taahod_dat", "1403/01/07"}, {"moarefi_dat", "1403/01/08"},
            {"moarefi_no", "M1"}, {"sorat_no", "S1"}, {"sorat_dat", "1403/01/09"}, {"ghir_daryafti", "900"},
            {"peymankar_id", 7}, {"reg_dat", "1403/01/01"}, {"tehran_paper_no", "T1"}, {"prot_no_ejra", "E1"},
            {"prot_dat_ejra", "1403/01/10"}, {"prot_mablagh_ejra", 300000}, {"pishraft", 40}, {"sal", "1403"},
            {"comp_naft_name", "پاسارگاد"}, {"palayeshgah_name", "نفت تهران"}, {"ghir_tagh_tah", 6},
            {"khodyari", 0}, {"dehyari", 0}, {"tolemasir", 0}, {"jalase_no", 3}, {"jalase_dat", "1403/06/01"},
            {"az_name", "آزمايشگاه فني"}, {"rep_no", "R1"}, {"rep_dat", "1403/05/30"}, {"sorat_area", 1000},
            {"zekhamat_m", "5"}, {"vazn", "2.3"}, {"ghir_masrafi_m", "5"}, {"ghir_prim", "0.8"}, {"bors_m", 2100000},
            {"asfalt_price", 150000000}, {"ghir_tahvili", "9"}, {"ghir60", "5.75"}, {"ghir_m_p", "0.8"},
            {"ghir_jam", "6.55"}, {"ghir_t", "1"}, {"zarib", "1"}, {"asfalt_ejra", "115"}, {"ghir_moadel", 900},
            {"status", ""}, {"cmt", "ملاحظه"}, {"mokhtasat", "معبر اصلي"}, {"xs", "1"}, {"xe", "2"}, {"ys", "3"},
            {"ye", "4"}, {"sorat_area_f", 0}, {"zekhamat_m_f", ""}, {"tarakom", 100}};
}

void addPlace(Fixture &f)
{
    f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, rosta) values (?,?,?,?)"),
              {"مرکزي", "اراك", "اراك", "روستا"});
}

void compare(const QHash<QString, QString> &seen, const QList<QPair<QString, QString>> &expected)
{
    for (const auto &[column, value] : expected)
        QCOMPARE(seen.value(column), value);
}

} // namespace

class GhirSrcTest : public QObject {
    Q_OBJECT
private slots:
    // The listing's computed columns and its colour, row by row: mande = ghir_jam + ghir_t -
    // ghir_tahatori; mosharekat = (prot_mablagh + prot_mablagh_ejra) * asfalt_ejra - bors_price *
    // ghir_jam, a text that is not wholly a number counting as 0. Rows with a meeting date are
    // sky blue, every cell of them: only the exact empty mask is no date, an empty or a null
    // date is coloured too.
    // Listed in the Persian order of the contractors, then by registration date.
    void computedColumnsColourAndOrder()
    {
        const QVariant null(QMetaType(QMetaType::QString));
        const struct {
            QVariantMap row;
            const char *mande, *mosharekat;
        } cases[] = {
            {{{"ghir_jam", "12.5"}, {"ghir_t", "3"}, {"ghir_tahatori", 10}, {"prot_mablagh", 1000000},
              {"prot_mablagh_ejra", 500000}, {"asfalt_ejra", "115"}, {"bors_price", 2000000}, {"zarib", "0.9"},
              {"jalase_dat", "1403/05/06"}, {"peymankar", "ياس"}, {"reg_dat", "1403/01/01"}},
             "5.5", "147500000"}, // 115e6 + 57.5e6 - 25e6; zarib does not enter
            {{{"ghir_tahatori", 10}, {"bors_price", 2000000}, {"jalase_dat", ""}, {"peymankar", "گلستان"}}, "-10", "0"},
            {{{"ghir_jam", " 4 "}, {"ghir_t", "-1.5"}, {"ghir_tahatori", 2}, {"jalase_dat", null}, {"peymankar", "پارس"},
              {"reg_dat", "1403/02/01"}},
             "0.5", "0"},
            {{{"ghir_jam", "abc"}, {"ghir_t", "1.2.3"}, {"asfalt_ejra", "x"}, {"bors_price", 3000000}, {"prot_mablagh", 7},
              {"peymankar", "پارس"}, {"reg_dat", "1403/01/15"}},
             "0", "0"},
            {{{"ghir_jam", "12abc"}, {"ghir_t", ".5"}, {"asfalt_ejra", "10"}, {"prot_mablagh", 1000}, {"bors_price", 100},
              {"peymankar", "بهار"}},
             "0.5", "10000"},
            {{{"ghir_jam", "5."}, {"ghir_t", "+2"}, {"ghir_tahatori", 1}, {"asfalt_ejra", "2"}, {"prot_mablagh", 100},
              {"prot_mablagh_ejra", 50}, {"bors_price", 10}},
             "6", "250"}, // 100*2 + 50*2 - 10*5
            {{{"ghir_jam", null}, {"ghir_t", "."}, {"ghir_tahatori", 1}, {"asfalt_ejra", "1,234"}, {"prot_mablagh", 5},
              {"bors_price", 2}, {"reg_dat", "1403/05/07"}},
             "-1", "0"},
        };
        Fixture f(true);
        QList<qint64> added;
        for (const auto &c : cases)
            added << addGhir(f, c.row);
        QCOMPARE(search(f), QList<qint64>({added[4], added[3], added[2], added[5], added[6], added[1], added[0]}));
        auto *grid = child<QTableView>(f.form<Tghir_src>(), "DBGrid1");
        for (int i = 0; i < added.size(); ++i) {
            QVERIFY(f.dm.ADOQ_ghir->locate("id", added.at(i)));
            QCOMPARE(f.dm.ADOQ_ghir->text("mande"), cases[i].mande);
            QCOMPARE(f.dm.ADOQ_ghir->text("mosharekat"), cases[i].mosharekat);
            for (const char *field : {"city", "peymankar", "tarakom"}) {
                const QModelIndex cell = grid->model()->index(f.dm.ADOQ_ghir->currentRow(), f.dm.ADOQ_ghir->fieldIndex(field));
                QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), i < 3 ? QColor(166, 202, 240) : QColor());
            }
        }
    }

    // Every filter ticked: of eight allocations each but the first left out by one filter, only
    // the first is listed and counted (county and village items as substrings and alternatives,
    // the contractor as a substring, the dates inclusive, year and type exact); the province
    // fills the county list and filters nothing. The reports take the ticked boxes' texts (a
    // quote only a value, a year box with its blanks). A double click adds a row's village.
    void filtersNarrowTheList()
    {
        Fixture f(true);
        const QVariantMap hit{{"city", "ساوه"}, {"rosta", "نوبران"}, {"peymankar", "راه آهن it's"}, {"reg_dat", "1403/02/10"}};
        const qint64 first = addGhir(f, hit);
        for (const QVariantMap &miss : {QVariantMap{{"city", "قم"}}, {{"rosta", "ده"}}, {{"peymankar", "راه آهن its"}},
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
        filter(f, "CheckBox1", "peymankar", "it's");
        child<QComboBox>(w, "peymankar")->setFocus();
        QTest::keyClick(child<QComboBox>(w, "peymankar"), Qt::Key_Return);
        QCOMPARE(ids(f), QList<qint64>({first}));
        QCOMPARE(cnt(f), "1");
        QVERIFY(w->isVisible());
        setBox(w, "city", "او");
        setBox(w, "rosta", "نوب");
        auto passing = [&] {
            QVariantList binds;
            const QString where = "from ghir where id<>-1 " + ReportFilterClause(w, binds);
            return std::make_pair(f.scalar("select count(*) " + where, binds).toLongLong(),
                                  f.scalar("select min(id) " + where, binds).toLongLong());
        };
        QCOMPARE(passing(), std::make_pair(qint64(1), first));
        auto *grid = child<QTableView>(w, "DBGrid1");
        emit grid->doubleClicked(grid->model()->index(0, 1));
        QCOMPARE(child<QListWidget>(w, "list_rosta")->count(), 2);
        QCOMPARE(child<QListWidget>(w, "list_rosta")->item(1)->text(), "نوبران");
        setBox(w, "sal", ""); // an unfilled year selects nothing
        QCOMPARE(search(f), QList<qint64>());
        // The reports: unticked boxes take no part; the year box sends its blanks.
        for (const char *box : {"CheckBox2", "CheckBox3", "CheckBox1", "CheckBox6"})
            click(w, box);
        QVariantMap shortYear = hit;
        shortYear["sal"] = "14  ";
        const qint64 blanks = addGhir(f, shortYear);
        setBox(w, "sal", "14");
        QCOMPARE(passing(), std::make_pair(qint64(1), blanks));
        click(w, "CheckBox5");
        QCOMPARE(passing().first, 7);
        w->hide();
    }

    // The county list keeps what is added, duplicates and an empty text included; an empty item
    // matches every county; N48 removes the selected item; a click on the check box, either way,
    // empties the list. A double click adds a village without enabling its box.
    void countyListKeepsWhatIsAdded()
    {
        Fixture f(true);
        const qint64 saveh = addGhir(f, {{"city", "ساوه"}, {"peymankar", "1"}});
        const qint64 savoj = addGhir(f, {{"city", "ساوجبلاغ"}, {"peymankar", "2"}});
        const qint64 arak = addGhir(f, {{"city", "اراك"}, {"peymankar", "3"}});
        addGhir(f, {{"city", "قم"}, {"peymankar", "4"}});
        Tghir_src *w = f.form<Tghir_src>();
        auto *list = child<QListWidget>(w, "list_city");
        filter(f, "CheckBox2", "city", "ساو");
        filter(f, "CheckBox2", "city", "اراك");
        filter(f, "CheckBox2", "city", "اراك");
        setBox(w, "city", QString());
        click(w, "add_city");
        QCOMPARE(list->count(), 4);
        QCOMPARE(search(f).size(), 4);
        list->setCurrentRow(3);
        click(w, "N48");
        QCOMPARE(list->count(), 3);
        QCOMPARE(search(f), QList<qint64>({saveh, savoj, arak}));
        click(w, "CheckBox2");
        QVERIFY(list->count() == 0 && !child<QComboBox>(w, "city")->isEnabled());
        list->addItem("ساوه");
        click(w, "CheckBox2");
        QVERIFY(list->count() == 0 && child<QComboBox>(w, "city")->isEnabled());
        click(w, "CheckBox2");
        auto *grid = child<QTableView>(w, "DBGrid1");
        search(f);
        emit grid->doubleClicked(grid->model()->index(0, 1));
        QCOMPARE(child<QListWidget>(w, "list_rosta")->count(), 1);
        QVERIFY(!child<QComboBox>(w, "rosta")->isEnabled());
    }

    // The opener applies the rights table, empties the boxes and searches with the user's
    // counties (the shared clause's own test covers the levels), which the county filter narrows.
    void openerAppliesRightsAndPrepares()
    {
        Fixture f(true);
        for (const char *c : {"اراك", "ساوه", "قم"})
            addGhir(f, {{"city", c}});
        const qint64 u = signInWithCounty(f, "ostan", "2280000011", "قم");
        f.addCounty(u, "ساوه");
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
        QCOMPARE(shown, "ساوه,قم21405/09/151405/09/15");
        QVERIFY(child<QCheckBox>(w, "CheckBox8")->isChecked());
        QCOMPARE(child<QListWidget>(w, "list_rosta")->count(), 1);
        f.dm.exec("update dastrasi set darj=?, virayesh=?, hazf=? where prs_id=?", {false, true, true, u});
        f.form<Tmain>()->trigger("N13");
        QCOMPARE(enabled, "-N2N3--");
        filter(f, "CheckBox2", "city", "سا");
        filter(f, "CheckBox2", "city", "ار"); // not one of the user's counties
        search(f);
        QCOMPARE(listed(f, "city") << cnt(f), QStringList({"ساوه", "1"}));
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
        f.grant(u, "g_frm", true, true, true, true);
        f.grant(u, "g_rep", true, true, true, false);
        for (const char *m : {"N35", "N37"})
            emit w->menu(m)->aboutToShow();
        QVERIFY(w->menu("N35")->menuAction()->isEnabled() && !w->menu("N37")->menuAction()->isEnabled());
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
        QCOMPARE(f.ui.prompts, QStringList{kPasswordBox});
        QCOMPARE(f.ui.messages, QStringList({texts::kDeleted}));
        QCOMPARE(f.scalar("select cmt from log").toString(), texts::kGhirDeleteLog + "'پارس''ی' * 'نوده' admin");
        QCOMPARE(f.scalar("select id from ghir").toLongLong(), a);
        QCOMPARE(f.count("ghir_history") + f.count("ghir_pic"), qint64(2));
        // The last search again, the count as it found.
        QCOMPARE(ids(f), QList<qint64>({a}));
        QCOMPARE(cnt(f), "2");
    }

    // The database refuses the delete: its message, then nothing else; no log row, the list as it was.
    void failingDeleteStopsCleanly()
    {
        Fixture f(true);
        addGhir(f, {{"peymankar", "بهار"}});
        search(f);
        addSettings(f, {{kDeletePasswordPrompt, "123"}});
        QVERIFY(QSqlQuery(f.dm.ADOConnection1()).exec("drop table ghir"));
        f.ui.answers << Ui::Yes;
        f.ui.inputs << "123";
        click(f.form<Tghir_src>(), "N3");
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.messages.first() != texts::kDeleted);
        QCOMPARE(f.count("log"), qint64(0));
        QCOMPARE(f.dm.ADOQ_ghir->recordCount(), 1);
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

    void newAllocationPreparesAnEmptyForm()
    {
        Fixture f(true);
        auto *form = f.form<Tghir_ins>();
        for (const QString &c : Tghir_ins::columns())
            c == QLatin1String("peymankar_id") ? form->setFixed(c, 12) : form->setBoxText(c, "12");
        form->setInsertMode(false);
        QHash<QString, QString> seen;
        command(f, "N1", "Tghir_ins", [&](QDialog *) {
            seen = boxes(form);
            QVERIFY(form->isInsertMode());
        });
        const QString today = SolarDateText(), none = "    /  /  ";
        compare(seen, {{"reg_dat", today}, {"sal", today.left(2) + "  "}, {"peymankar_id", "-1"}, {"prot_mablagh", "0"},
                       {"bors_price", "0"}, {"ghir_daryafti", "0"}, {"prot_mablagh_ejra", "0"}, {"pishraft", "0"},
                       {"khodyari", "0"}, {"dehyari", "0"}, {"tolemasir", "0"}, {"ostan", ""}, {"city", ""},
                       {"rosta", ""}, {"prot_no", ""}, {"peymankar", ""}, {"z_no", ""}, {"ghir_tagh_tah", ""},
                       {"prot_dat", none}, {"tozi_dat", none}, {"sorat_dat", none}});
    }

    // The edit and the complementary data load the current allocation; the list follows what each
    // form stored, the edited allocation current. Registering again copies the current
    // allocation's columns, the others staying as the form showed them last.
    void editAndComplementaryDataKeepEachOther()
    {
        Fixture f(true);
        addPlace(f);
        QVariantMap other = fullRow();
        other.insert({{"peymankar", "آرش"}, {"rosta", "ديگر"}, {"ostan", "قم"}, {"comp_naft_name", "جي"}, {"khodyari", 77}});
        const qint64 first = addGhir(f, other);
        const qint64 id = addGhir(f, fullRow());
        makeCurrent(f, id);
        DataSet *ds = f.dm.ADOQ_ghir;
        QCOMPARE(ds->currentRow(), 1);
        auto *form = f.form<Tghir_ins>();
        QHash<QString, QString> loaded;
        command(f, "N2", "Tghir_ins", [&](QDialog *d) {
            loaded = boxes(form);
            QVERIFY(!form->isInsertMode());
            child<QLineEdit>(d, "prot_no")->setText("P-1");
            form->setBoxText("peymankar", "آ");
            click(d, "edit_btn");
        });
        compare(loaded, {{"ostan", "مرکزي"}, {"prot_no", "101"}, {"prot_dat", "1403/01/05"}, {"prot_mablagh", "1,250,000"},
                         {"tonaj", "11.65"}, {"peymankar_id", "7"}, {"pishraft", "40"}, {"sal", "1403"},
                         {"palayeshgah_name", "نفت تهران"}});
        // At the head of the list, current; mande = 6.55 + 1 - 10.
        QCOMPARE(QStringList({ds->text("id"), QString::number(ds->currentRow()), ds->text("mande")}),
                 QStringList({QString::number(id), "0", "-2.45"}));
        auto *form2 = f.form<Tghir_ins2>();
        command(f, "N13", "Tghir_ins2", [&](QDialog *d) {
            loaded = boxes(form2);
            child<QLineEdit>(d, "ghir_jam")->setText("12.5");
            child<QLineEdit>(d, "ghir_t")->setText("3");
            click(d, "BitBtn1");
            d->reject();
        });
        compare(loaded, {{"jalase_dat", "1403/06/01"}, {"bors_m", "2,100,000"}, {"asfalt_ejra", "115"}, {"ye", "4"}});
        // The list shows what was stored: mande = 12.5 + 3 - 10.
        QCOMPARE(ds->text("mande") + ds->text("prot_no") + ds->text("id"), "5.5P-1" + QString::number(id));
        // A second edit and a second complementary opening start from what was stored and keep it.
        command(f, "N2", "Tghir_ins", [&](QDialog *d) {
            QCOMPARE(form->boxText("prot_no"), "P-1");
            child<QLineEdit>(d, "z_no")->setText("Z-2");
            click(d, "edit_btn");
        });
        command(f, "N13", "Tghir_ins2", [&](QDialog *d) {
            QCOMPARE(form2->boxText("ghir_jam"), "12.5");
            d->reject();
        });
        for (const auto &[column, value] : QList<QPair<QString, QString>>{
                 {"prot_no", "P-1"}, {"z_no", "Z-2"}, {"peymankar", "آ"}, {"ghir_jam", "12.5"}})
            QCOMPARE(ghirCell(f, id, column), value);
        QCOMPARE(ghirCell(f, first, "prot_no") + ghirCell(f, first, "z_no"), "101Z1");
        QVERIFY(ds->locate("id", first));
        command(f, "N22", "Tghir_ins", [&](QDialog *d) {
            loaded = boxes(form);
            QVERIFY(form->isInsertMode());
            d->reject();
        });
        compare(loaded, {{"reg_dat", SolarDateText()}, {"city", "اراك"}, {"peymankar", "آرش"}, {"prot_no", "101"},
                         {"peymankar_id", "7"}, {"sal", "1403"}, {"ostan", "مرکزي"}, {"comp_naft_name", "پاسارگاد"},
                         {"khodyari", "0"}});
        QCOMPARE(f.count("ghir"), qint64(2));
    }
};

VARNOSET_DB_TEST_MAIN(GhirSrcTest)
#include "db_ghir_src.moc"
