// The item catalogue and the physical-progress register: duplicates, the refused orphans,
// the lists that follow their current rows and the progress join per project.
#include "support/drive.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "core/dates.h"
#include "shared/edits.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

// The system's texts, copied from its description.
const QString kDuplicate = QStringLiteral("تكراري است");
const QString kNotDeleted = QStringLiteral("بي خيال");

// Catalogue and projects as a province office keeps them.
const QString kBase = QStringLiteral("زيرسازي");
const QString kAsphalt = QStringLiteral("آسفالت");
const QString kDig = QStringLiteral("خاكبرداري");
const QString kFill = QStringLiteral("زيراساس");
const QString kBinder = QStringLiteral("بيندر");

// Boxes by name; a combo box's text as picked from its list.
void setText(QDialog *w, const QString &name, const QString &text)
{
    fillBoxes(w, {{name, text}});
    if (auto *c = w->findChild<QComboBox *>(name))
        emit c->textActivated(text);
}

void addCatalogue(Fixture &f)
{
    f.dm.exec("insert into litems (name, darsad) values (?,?)", {kBase, 40});
    f.dm.exec("insert into litems (name, darsad) values (?,?)", {kAsphalt, 60});
    const QVariant base = f.scalar("select lcod from litems where name=?", {kBase});
    const QVariant asphalt = f.scalar("select lcod from litems where name=?", {kAsphalt});
    f.dm.exec("insert into sitems (lcod, name, unit, darsad) values (?,?,?,?)", {base, kDig, "متر مكعب", 15});
    f.dm.exec("insert into sitems (lcod, name, unit, darsad) values (?,?,?,?)", {base, kFill, "متر مربع", 25});
    f.dm.exec("insert into sitems (lcod, name, unit, darsad) values (?,?,?,?)", {asphalt, kBinder, "متر مربع", 60});
}

} // namespace

class PishraftTest : public QObject {
    Q_OBJECT
private slots:
    void catalogue()
    {
        Fixture f(true);
        through(f, f.form<Tmain>(), "N12", "Tpish_items", [&](QDialog *w) {
            // The same name again (with the Persian yeh) is refused; the list keeps both, by name.
            for (const auto &[name, weight, said] : {std::tuple{kBase, "40", texts::kInserted}, {kAsphalt, "", texts::kInserted},
                                                     {QStringLiteral("زیرسازی"), "", kDuplicate}}) {
                setText(w, "master_item", name);
                setText(w, "ldarsad", weight);
                QCOMPARE(pressed(f, w, "ins_btn1"), QStringList{said});
            }
            QCOMPARE(gridColumn(w, "DBGrid1", "name") + gridColumn(w, "DBGrid1", "darsad"),
                     (QStringList{kAsphalt, kBase, "0", "40"}));
            // The new master item is current (a weight below zero is taken): the sub-items go under it.
            QCOMPARE(gridData(w, "DBGrid1")->text("name"), kAsphalt);
            setText(w, "master_item", QStringLiteral("ابنيه"));
            setText(w, "ldarsad", "-5");
            QCOMPARE(pressed(f, w, "ins_btn1"), QStringList{texts::kInserted});
            QCOMPARE(gridData(w, "DBGrid1")->text("name") + ' ' + gridData(w, "DBGrid1")->text("darsad"),
                     QStringLiteral("ابنيه -5"));
            gridData(w, "DBGrid1")->locate("name", kBase);
            for (const QString &name : {kFill, kDig}) {
                setText(w, "slave_item", name);
                setText(w, "vahed", "متر مكعب");
                setText(w, "sdarsad", "20");
                QCOMPARE(pressed(f, w, "ins_btn2"), QStringList{texts::kInserted});
            }
            QCOMPARE(pressed(f, w, "ins_btn2"), QStringList{kDuplicate});
            // The same sub-item name under another master item is another sub-item.
            gridData(w, "DBGrid1")->locate("name", kAsphalt);
            QCOMPARE(gridColumn(w, "DBGrid2", "slave_item"), QStringList());
            QCOMPARE(pressed(f, w, "ins_btn2"), QStringList{texts::kInserted});
            gridData(w, "DBGrid1")->locate("name", kBase);
            QCOMPARE(gridColumn(w, "DBGrid2", "slave_item") + gridColumn(w, "DBGrid2", "sdarsad"),
                     (QStringList{kDig, kFill, "20", "20"}));

            // A sub-item is corrected in its cell; a name of its master item's other sub-item and a
            // weight that is not a number are refused.
            auto *g = child<QTableView>(w, "DBGrid2");
            auto type = [&](int row, const QString &field, const QString &text) {
                const QModelIndex idx = g->model()->index(row, gridData(w, "DBGrid2")->fieldIndex(field));
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the last editor
                g->setCurrentIndex(idx);
                g->edit(idx);
                auto *editor = g->viewport()->findChild<QLineEdit *>();
                editor->setText(text);
                f.ui.clear();
                QTest::keyClick(editor, Qt::Key_Return);
                QCoreApplication::processEvents(); // the grid commits the cell after the key
                return f.ui.messages;
            };
            QCOMPARE(type(0, "slave_item", QStringLiteral("خاكبرداري و تسطيح")), QStringList());
            QCOMPARE(type(1, "slave_item", QStringLiteral("خاكبرداري و تسطيح")), QStringList{kDuplicate});
            QCOMPARE(type(1, "sdarsad", QStringLiteral("بيست")).size(), 1);
            QCOMPARE(type(1, "sdarsad", "12.5"), QStringList());
            QCOMPARE(gridColumn(w, "DBGrid2", "sdarsad"), (QStringList{"20", "12.5"}));
            QCOMPARE(f.scalar("select count(*) from sitems where name=? or darsad=12.5", {QStringLiteral("خاكبرداري و تسطيح")}).toInt(), 2);

            // The delete only says so, even with the delete right.
            QCOMPARE(pressed(f, w, "N1"), QStringList{kNotDeleted});
            QCOMPARE(f.count("litems") + f.count("sitems"), qint64(6));
        });
    }

    void projectsItemsAndReports()
    {
        Fixture f(true);
        addCatalogue(f);
        InitToday();
        through(f, f.form<Tmain>(), "N11", "Tpishraft_ins", [&](QDialog *w) {
            // The report date starts at today.
            QCOMPARE(child<TDateEdit>(w, "dat")->text(), SolarDateText());
            auto project = [&](const QString &code, const QString &title, const QString &city, const QString &rosta) {
                setText(w, "prj_cod", code);
                setText(w, "title", title);
                setText(w, "city", city);
                setText(w, "rosta", rosta);
                setText(w, "nahve", "امانی");
                return pressed(f, w, "ins_btn");
            };
            QCOMPARE(project("P-1", "آسفالت معابر سهرين", "زنجان", "سهرين"), QStringList{texts::kInserted});
            QCOMPARE(project("P-2", "آسفالت معابر حصار", "ابهر", "حصار"), QStringList{texts::kInserted});
            // Same county, title and village under another code: refused; same code, other title: a project.
            QCOMPARE(project("P-9", "آسفالت معابر سهرين", "زنجان", "سهرين"), QStringList{kDuplicate});
            QCOMPARE(project("P-1", "جدول گذاري سهرين", "زنجان", "سهرين"), QStringList{texts::kInserted});
            // After an insert: every project by county, the new one current, the count with them.
            QCOMPARE(gridColumn(w, "DBGrid1", "city") << gridData(w, "DBGrid1")->text("title") << child<QLabel>(w, "cnt")->text(),
                     (QStringList{"ابهر", "زنجان", "زنجان", "جدول گذاري سهرين", "3"}));
            // The search on the village (chosen at opening); the county box's keheh is written as kaf.
            typeText(child<QLineEdit>(w, "src"), "حص");
            QCOMPARE(gridColumn(w, "DBGrid1", "prj_cod") << child<QLabel>(w, "cnt")->text(), (QStringList{"P-2", "1"}));

            // Items of the Abhar project: the unit shows with the sub-item.
            setText(w, "master_item", kBase);
            QCOMPARE(child<QComboBox>(w, "slave_item")->count(), 2);
            setText(w, "slave_item", kDig);
            QCOMPARE(child<QLabel>(w, "vahed")->text(), "متر مكعب");
            setText(w, "hajm_kol", "1,250.5");
            QCOMPARE(pressed(f, w, "BitBtn2"), QStringList{texts::kInserted});
            QCOMPARE(pressed(f, w, "BitBtn2"), QStringList{kDuplicate});
            setText(w, "master_item", kAsphalt);
            setText(w, "slave_item", kBinder);
            setText(w, "hajm_kol", "");
            QCOMPARE(pressed(f, w, "BitBtn2"), QStringList{texts::kInserted});
            QCOMPARE(gridColumn(w, "DBGrid2", "slave_item") + gridColumn(w, "DBGrid2", "hajm") + gridColumn(w, "DBGrid2", "unit"),
                     (QStringList{kDig, kBinder, "1250.5", "0", "متر مكعب", "متر مربع"}));
            QCOMPARE(gridData(w, "DBGrid2")->text("slave_item"), kBinder); // the new item is current

            // Reports of the binder item: one a date, dates accumulate, the empty date is a date.
            auto report = [&](const QString &date, const QString &volume) {
                child<TDateEdit>(w, "dat")->setText(date);
                setText(w, "hajm_anjami", volume);
                return pressed(f, w, "BitBtn3");
            };
            for (const auto &[date, volume, said] : {std::tuple{"1404/02/10", "120", texts::kInserted}, {"1404/02/10", "80", kDuplicate},
                                                     {"1404/01/25", "95.5", texts::kInserted}, {"", "10", texts::kInserted},
                                                     {"", "11", kDuplicate}})
                QCOMPARE(report(date, volume), QStringList{said});
            QCOMPARE(gridColumn(w, "DBGrid3", "dat") + gridColumn(w, "DBGrid3", "meghdar"),
                     (QStringList{"    /  /  ", "1404/01/25", "1404/02/10", "10", "95.5", "120"}));
            // The report list follows the current item, the item list the current project; the same
            // date under another item is another report.
            gridData(w, "DBGrid2")->locate("slave_item", kDig);
            QCOMPARE(gridColumn(w, "DBGrid3", "dat"), QStringList());
            QCOMPARE(report("1404/02/10", "7"), QStringList{texts::kInserted});
            child<QLineEdit>(w, "src")->clear();
            gridData(w, "DBGrid1")->locate("prj_cod", "P-1");
            QCOMPARE(gridColumn(w, "DBGrid2", "icod") + gridColumn(w, "DBGrid3", "icod"), QStringList());
            // The same sub-item under another project is another item.
            setText(w, "master_item", kBase);
            setText(w, "slave_item", kDig);
            QCOMPARE(pressed(f, w, "BitBtn2"), QStringList{texts::kInserted});
        });
        QCOMPARE(QList<qint64>({f.count("pish_prj"), f.count("pish_items"), f.count("pish_rep")}), QList<qint64>({3, 3, 4}));
    }

    void refusedOrphansAndRights()
    {
        Fixture f(true);
        addCatalogue(f);
        const QString noProject = QStringLiteral("خطا! هيچ پروژه اي انتخاب نشده است");
        const QString notInCatalogue = QStringLiteral("خطا! آيتم كلي و آيتم جزئي بايد از فهرست آيتم ها انتخاب شوند");
        const QString noItem = QStringLiteral("خطا! هيچ آيتمي انتخاب نشده است");
        through(f, f.form<Tmain>(), "N11", "Tpishraft_ins", [&](QDialog *w) {
            // No project listed: neither an item nor a report is stored.
            setText(w, "master_item", kBase);
            setText(w, "slave_item", kDig);
            QCOMPARE(pressed(f, w, "BitBtn2"), QStringList{noProject});
            QCOMPARE(pressed(f, w, "BitBtn3"), QStringList{noItem});
            setText(w, "title", "بهسازي معابر كهلا");
            setText(w, "city", "خدابنده");
            QCOMPARE(pressed(f, w, "ins_btn"), QStringList{texts::kInserted});
            // A sub-item typed by hand, or under the wrong master item, is not in the catalogue.
            setText(w, "slave_item", "لوله گذاري");
            QCOMPARE(pressed(f, w, "BitBtn2"), QStringList{notInCatalogue});
            setText(w, "master_item", kAsphalt);
            setText(w, "slave_item", kDig);
            QCOMPARE(pressed(f, w, "BitBtn2"), QStringList{notInCatalogue});
            // A volume that is not a number.
            setText(w, "master_item", kBase);
            setText(w, "hajm_kol", "12a");
            const QStringList refused = pressed(f, w, "BitBtn2");
            QVERIFY(refused.size() == 1 && refused.first().contains("«حجم كل كار اين آيتم»"));
            QCOMPARE(f.count("pish_items") + f.count("pish_rep"), qint64(0));
            QVERIFY(child<QWidget>(w, "ins_btn")->isVisible());
        });

        // Without the insert right the project button is hidden (the administrator's shows above);
        // the catalogue goes by its own page: without the right to open it, refused.
        const qint64 user = f.addUser("abhar", "p", "city");
        f.grant(user, "pishraft", false, true, true);
        f.grant(user, "items", false, false, true, false);
        f.signInAs(user, "abhar", "city");
        through(f, f.form<Tmain>(), "N11", "Tpishraft_ins", [&](QDialog *w) { QVERIFY(!child<QWidget>(w, "ins_btn")->isVisible()); });
        f.ui.clear();
        f.form<Tmain>()->trigger("N12");
        QCOMPARE(f.ui.messages, QStringList{texts::kNoAccess});
        QVERIFY(f.ui.shownWindows.isEmpty());
    }
};

VARNOSET_DB_TEST_MAIN(PishraftTest)
#include "db_pishraft.moc"
