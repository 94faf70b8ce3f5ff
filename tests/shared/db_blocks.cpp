// The shared blocks of the registers, each once over data rows: numbers and the comparison
// form of names, the grid, the filter bar with the count and sums, the register window's
// menus and rights, the entry form's insert and edit, and the delete command.
#include "core/text_rules.h"
#include "support/fixture.h"
#include "support/texts.h"

#include "core/errors.h"
#include "db/dialect.h"
#include "db/values.h"
#include "shared/delete_command.h"
#include "shared/entry_form.h"
#include "shared/search_bar.h"
#include "shared/grid.h"
#include "shared/register_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>

namespace {

const QString kYehArabic = QString::fromUtf8("\u0642\u0632\u0648\u064A\u0646");  // قزوين
const QString kYehPersian = QString::fromUtf8("\u0642\u0632\u0648\u06CC\u0646"); // قزوین
const QString kKafArabic = QString::fromUtf8("\u0643\u0631\u062C");               // كرج
const QString kKafPersian = QString::fromUtf8("\u06A9\u0631\u062C");              // کرج
const QString kMehr = QString::fromUtf8("\u0645\u0647\u0631");                    // مهر
const QString kAban = QString::fromUtf8("\u0622\u0628\u0627\u0646");              // آبان
// The count's caption in every search window that names none of its own.
const QString kCountCaption = QStringLiteral("تعداد:");
// A ticked filter's box.
const QColor kYellow(255, 255, 0);

qint64 addReport(Fixture &f, const QString &city, const QString &sal, const QString &mah, int dehyariha, int mablagh)
{
    f.dm.exec(QStringLiteral("insert into khadamat (city, sal, mah, dehyariha, fani, mablagh, khalaf_par, bi_par,"
                             " bi_est, khalaf_bon, dakhel_m, kharej_m, farmandari, ostandari, ehdasi)"
                             " values (?,?,?,?,0,?,0,0,0,0,0,0,0,0,0)"),
              {city, sal, mah, dehyariha, mablagh});
    return f.scalar(QStringLiteral("select max(id) from khadamat")).toLongLong();
}

const GridColumn kGrid[] = {{"id"}, {"mah", "ماه", 70}, {"city", "شهرستان", 100, qRgb(0, 255, 0)},
                            {"mablagh", "مبلغ دريافتي", 0, 0, GridColumn::Money}};

const FilterDef kFilters[] = {
    {.check = "CheckBox1", .caption = "شهرستان", .box = "city", .kind = FilterKind::Combo, .column = "city",
     .match = FilterMatch::Like, .flags = FilterDef::EnterRuns | FilterDef::KafOnLeave},
    {.check = "CheckBox2", .caption = "سال", .box = "sal", .kind = FilterKind::Year, .column = "sal",
     .match = FilterMatch::Equals},
    {.check = "CheckBox3", .caption = "ماه", .box = "mah", .kind = FilterKind::ComboList, .column = "mah",
     .match = FilterMatch::AnyEquals, .list = {"add_mah", "show_list_mah", "list_mah", "PopupMenu2", "N8", "حذف ماه"}},
};

const SumColumn kSums[] = {
    {"c", "count(*)", "cnt"}, {"d", "sum(dehyariha)"}, {"m", "sum(mablagh)", "mablagh_sum", SumColumn::Grouped, "جمع مبلغ"}};
const SearchBarDef kBar = {.filters = kFilters, .figures = kSums};

const MenuItem kMenus[] = {
    {"", "N1", "ثبت"},
    {"", "N9", "گزارشات", MenuItem::Submenu},
    {"N9", "N4", "اکسل"},
    {"N9", "N10", "ويژه", MenuItem::Item, true},
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N22", "ثبت مجدد"},
};

const RightRule kRights[] = {
    {"N1", RightRule::Darj}, {"N22", RightRule::Darj, RightRule::Show}, {"N4", RightRule::Hazf, RightRule::EnableAndShow}};

const BoxDef kBoxes[] = {
    {.name = "city", .kind = BoxKind::Combo, .caption = "نام شهرستان", .initial = "", .flags = BoxDef::KafOnLeave},
    {.name = "sal", .kind = BoxKind::Year, .caption = "سال", .initial = "@year"},
    {.name = "mah", .kind = BoxKind::Combo, .caption = "ماه", .initial = ""},
    {.name = "dehyariha", .kind = BoxKind::Digits, .caption = "دهياري ها", .initial = ""},
    {.name = "mablagh", .kind = BoxKind::Money, .caption = "مبلغ", .initial = ""},
    {.name = "ostan", .kind = BoxKind::Combo, .caption = "استان", .column = "-"},
};
const char *const kKey[] = {"city", "sal", "mah"};
const EntryDef kDef = {.objectName = "Tkhadamat_test", .caption = "ثبت/ويرايش", .table = "khadamat",
                         .boxes = kBoxes, .insertEveryColumn = true, .duplicateKey = kKey,
                         .duplicateMessage = QStringLiteral("تکراريست"), .editedMessage = QStringLiteral("ويرايش شد")};

class TestForm : public EntryForm {
public:
    explicit TestForm(AppContext &ctx) : EntryForm(ctx, kDef) {}
    QString logText(bool inserted) const override { return inserted ? QStringLiteral("ins ") + boxText("city") : QString(); }
};

const MenuItem kPopups[] = {
    {"", "PopupMenu1", "", MenuItem::Popup}, {"PopupMenu1", "N22", "ثبت مجدد"}, {"PopupMenu1", "N4", "حذف"}};
const RightRule kPopupRights[] = {
    {"N22", RightRule::Darj, RightRule::Show}, {"N4", RightRule::Hazf}, {"ins_btn", RightRule::Darj, RightRule::Show}};
const BoxDef kRadioBoxes[] = {{.name = "typ", .kind = BoxKind::Radio, .caption = "نوع", .items = "الف|ب"}};
const EntryDef kRadioDef = {.objectName = "Tradio", .caption = "", .table = "amar", .boxes = kRadioBoxes};

} // namespace

class BlocksTest : public QObject {
    Q_OBJECT
private slots:
    void numbersAndNames()
    {
        const std::tuple<const char *, bool, double> cases[] = {
            {"1,250,000", true, 1250000}, {"12,345.5", true, 12345.5}, {"-1,000", true, -1000},
            {"2,3", false, 0},            {"1,23", false, 0},          {",123", false, 0},
            {"1234,567", false, 0},       {"1,2345", false, 0},        {"1.2,3", false, 0},
            {"\u06F1\u066C\u06F2\u06F5\u06F0", true, 1250}, {"", false, 0}, {"12a", false, 0},
        };
        for (const auto &[text, ok, value] : cases) {
            double v = 0;
            QCOMPARE(textrule::parseNumber(QString::fromUtf8(text), &v), ok);
            QCOMPARE(v, ok ? value : v);
        }
        // Every caller: a money column refuses "2,3" rather than storing 23.
        QVERIFY_THROWS_EXCEPTION(InputError, db::columnValue("etebarat", "mablagh", "2,3"));
        QCOMPARE(textrule::latinDigits(QString::fromUtf8("\u06F1\u06F4\u0660\u06F3/05")), QStringLiteral("1403/05"));
        // The comparison form: yeh and kaf variants and outer blanks, on both databases.
        Fixture f;
        f.dm.exec(QStringLiteral("insert into peymankaran (peymankar) values (?)"), {kYehArabic + " " + kKafArabic});
        const QString typed = "  " + kYehPersian + " " + kKafPersian + " ";
        QCOMPARE(db::foldedText(typed), kYehArabic + " " + kKafArabic);
        QCOMPARE(f.scalar("select count(*) from peymankaran where " + db::foldedSql("peymankar") + "=?",
                          {db::foldedText(typed)}).toInt(), 1);
        // The stored text is untouched.
        QCOMPARE(f.scalar("select peymankar from peymankaran").toString(), kYehArabic + " " + kKafArabic);
    }

    void gridFiltersAndSums()
    {
        Fixture f;
        addReport(f, kKafArabic, "1402", kMehr, 3, 1500000);
        addReport(f, kYehArabic, "1402", kAban, 4, 20);
        addReport(f, kKafArabic, "1403", kAban, 5, 7);
        QWidget host;
        auto *bar = new SearchBar(f.ctx, &host, kBar);
        FilterBar *filters = bar->filters();
        SumLabels *sums = bar->figures();
        DataSet list(QStringLiteral("list"));
        list.setDatabase(f.dm.ADOConnection1());
        QTableView *grid = MakeGrid(&host, &list, {.columns = kGrid, .rowColor = [](const DataSet &d, int row) {
                                                        return d.toInt64("mablagh", row) > 100 ? QColor(Qt::red) : QColor();
                                                    }});
        auto search = [&] {
            QVariantList binds;
            const QString where = " from khadamat where id<>-1 " + filters->sql(binds);
            list.open("select *" + where + " order by id", binds);
            bar->showFigures(where, binds);
        };
        auto found = [&] {
            search();
            return sums->value("c").toInt();
        };
        int requests = 0;
        connect(bar, &SearchBar::searchRequested, this, [&] { ++requests; search(); });
        child<QPushButton>(&host, "src_btn")->click();
        // Grid: the table's columns in its order, titled, the rest hidden.
        QHeaderView *h = grid->horizontalHeader();
        QStringList shown;
        for (int v = 0; v < h->count(); ++v)
            if (!h->isSectionHidden(h->logicalIndex(v)))
                shown << list.headerData(h->logicalIndex(v), Qt::Horizontal).toString();
        QCOMPARE(shown, QStringList({"ماه", "شهرستان", "مبلغ دريافتي"}));
        // The row colour on every cell of its row; cells as a clerk reads them: whole rials
        // grouped, numbers without needless decimals, no empty date mask.
        QCOMPARE(list.data(list.index(0, list.fieldIndex("mablagh")), Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!list.data(list.index(1, 0), Qt::BackgroundRole).isValid());
        for (const auto &[kind, stored, shown] : {std::tuple{GridColumn::Money, "50845204765.056", "50,845,204,765"},
                                                  {GridColumn::Money, "1250000.0000", "1,250,000"},
                                                  {GridColumn::Money, "-1500.6", "-1,501"},
                                                  {GridColumn::Number, "15.5000", "15.5"}, {GridColumn::Number, "12.0", "12"},
                                                  {GridColumn::Text, "    /  /  ", ""}, {GridColumn::Text, "1403/05/06", "1403/05/06"}})
            QCOMPARE(GridCellText(kind, stored), QString(shown));
        // The current row is marked over its colour; left, it has its colour again.
        grid->resize(600, 200);
        auto colourAt = [&](int row) {
            const QRect cell = grid->visualRect(list.index(row, list.fieldIndex("mah")));
            return QColor(grid->viewport()->grab().toImage().pixel(cell.left() + 2, cell.center().y()));
        };
        list.setCurrentRow(0);
        QVERIFY(colourAt(0) != QColor(Qt::red));
        list.setCurrentRow(1);
        QCOMPARE(colourAt(0), QColor(Qt::red));
        // Bound for the title sort (the sort and the current row are the grid binding's own test).
        emit grid->horizontalHeader()->sectionClicked(list.fieldIndex("dehyariha"));
        QCOMPARE(list.sort(), QStringLiteral("dehyariha ASC"));
        // Sums over every row: the count and the grouped sum shown after their captions, the
        // other kept.
        QCOMPARE(sums->label("cnt")->text() + " " + sums->label("mablagh_sum")->text() + " " + sums->value("d"),
                 QStringLiteral("3 1,500,027 12"));
        QCOMPARE(child<QLabel>(&host, "cnt_lbl")->text() + child<QLabel>(&host, "mablagh_sum_lbl")->text(),
                 kCountCaption + QStringLiteral("جمع مبلغ"));
        // A tick enables its box, yellow; the box's text only counts while it is enabled.
        QLineEdit *sal = filters->line("sal");
        sal->setText("1402");
        QCOMPARE(found(), 3);
        filters->check("CheckBox2")->click();
        QVERIFY(sal->isEnabledTo(&host));
        QCOMPARE(sal->palette().color(QPalette::Base), kYellow);
        QVERIFY(found() == 2 && list.recordCount() == 2);
        // Month list: ticked with an empty list finds nothing ("???"); two months find either.
        // Unticked, a box has the window's colour again.
        filters->check("CheckBox2")->click();
        QVERIFY(!sal->isEnabledTo(&host));
        QVERIFY(sal->palette().color(QPalette::Base) != kYellow);
        filters->check("CheckBox3")->click();
        QCOMPARE(found(), 0);
        filters->combo("mah")->setEditText(kMehr);
        child<QPushButton>(&host, "add_mah")->click();
        QCOMPARE(found(), 1);
        filters->addListItem("mah", kAban);
        QCOMPARE(found(), 3);
        filters->list("list_mah")->setCurrentRow(0);
        child<QAction>(&host, "N8")->trigger();
        QCOMPARE(filters->listItems("mah"), QStringList{kAban});
        // A shown list lies over the grid: the bar keeps its height.
        host.resize(800, 400);
        const int barHeight = filters->sizeHint().height();
        QVERIFY(!filters->list("list_mah")->isVisibleTo(&host));
        child<QCheckBox>(&host, "show_list_mah")->click();
        QVERIFY(filters->list("list_mah")->isVisibleTo(&host));
        QCOMPARE(filters->sizeHint().height(), barHeight);
        // Unticking hides and empties the list and clears its tick.
        filters->check("CheckBox3")->click();
        QVERIFY(filters->listItems("mah").isEmpty());
        QVERIFY(!filters->list("list_mah")->isVisibleTo(&host));
        QVERIFY(!child<QCheckBox>(&host, "show_list_mah")->isChecked());
        // County: "%x%" with its bind; leaving the box writes the keheh as the Arabic kaf.
        filters->setTicked("city", true);
        filters->combo("city")->setEditText(kKafPersian);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(filters->combo("city"), &out);
        QCOMPARE(filters->text("city"), kKafArabic);
        QVariantList binds;
        const QString where = filters->sql(binds);
        QCOMPARE(where + binds.value(0).toString(), " and city like ?%" + kKafArabic + "%");
        // Enter in the county box asks for the search, as the button does.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(filters->combo("city"), &enter);
        QCOMPARE(requests, 2);
    }

    void registerWindow()
    {
        Fixture f;
        const qint64 u = f.addUser("u", "p", "ostan");
        f.signInAs(u, "u", "ostan");
        RegisterWindow w(f.ctx, QStringLiteral("TestWindow"), QStringLiteral("t"));
        w.buildMenus(kMenus);
        // Menus from the table, by objectName, in their places, with their texts; rights from the
        // table.
        QCOMPARE(w.menuBar()->objectName(), QStringLiteral("MainMenu1"));
        QCOMPARE(w.action("N1")->text(), QStringLiteral("ثبت"));
        QVERIFY(w.menu("N9")->actions().contains(w.action("N4")) && !w.action("N10")->isVisible());
        QCOMPARE(w.menu("PopupMenu1")->actions().first()->objectName(), QStringLiteral("N22"));
        w.applyRights(kRights, PageRights{.darj = false, .virayesh = true, .hazf = true, .namayesh = true});
        QVERIFY(!w.action("N1")->isEnabled() && !w.action("N22")->isVisible());
        QVERIFY(w.action("N4")->isEnabled() && w.action("N4")->isVisible());
        // Handlers by objectName: the declared items still unbound are reported (the start-up
        // check); an undeclared name is refused.
        QCOMPARE(UnboundMenuItems({&w}), QStringList({"TestWindow.N1", "TestWindow.N4", "TestWindow.N10", "TestWindow.N22"}));
        int own = 0;
        w.onMenu("N1", [&] { ++own; });
        w.action("N1")->setEnabled(true);
        QVERIFY(w.trigger("N1") && own == 1);
        QVERIFY_THROWS_EXCEPTION(AppError, w.onMenu("N99", [] {}));
        // A failing handler ends with its message.
        w.onMenu("N22", [] { throw AppError("boom"); });
        w.trigger("N22");
        QCOMPARE(f.ui.lastMessage(), QStringLiteral("boom"));
        // Nothing current: the command does nothing but say why.
        DataSet empty(QStringLiteral("empty"));
        QVERIFY(!w.requireCurrent(&empty));
        QCOMPARE(f.ui.lastMessage(), texts::kEmptyList);
        // A further page: no row refused and left enabled; a row without namayesh disables.
        w.checkSubmenuOnShow("N9", "g_rep");
        emit w.menu("N9")->aboutToShow();
        QCOMPARE(f.ui.lastMessage(), texts::kNoAccess);
        QVERIFY(w.menu("N9")->menuAction()->isEnabled());
        f.grant(u, "g_rep", true, true, true, false);
        emit w.menu("N9")->aboutToShow();
        QVERIFY(!w.menu("N9")->menuAction()->isEnabled());
        f.dm.exec("update dastrasi set namayesh=? where page_name='g_rep'", {true});
        f.ui.messages.clear();
        emit w.menu("N9")->aboutToShow();
        QVERIFY(w.menu("N9")->menuAction()->isEnabled() && f.ui.messages.isEmpty());
        QVERIFY(w.levelIs({"admin", "ostan"}) && !w.levelIs({"city"}));
    }

    // An entry form over its own list: popups and rights from the tables, and a mode button
    // the rights hide stays hidden through the changes of mode; a radio box.
    void entryFormListAndRadio()
    {
        Fixture f;
        EntryForm form(f.ctx, kRadioDef);
        form.buildMenus(kPopups);
        form.applyRights(kPopupRights, PageRights{.darj = false, .hazf = true});
        QVERIFY(!form.action("N22")->isVisible() && form.action("N4")->isEnabled());
        auto *ins = child<QPushButton>(&form, "ins_btn");
        form.setInsertMode(false);
        form.setInsertMode(true);
        QVERIFY(!ins->isVisibleTo(&form));
        form.applyRights(kPopupRights, PageRights{.darj = true});
        QVERIFY(ins->isVisibleTo(&form));

        form.setBoxText("typ", "ب");
        QVERIFY(form.insertRow());
        QCOMPARE(f.scalar("select typ from amar").toString(), QStringLiteral("ب"));
        form.setBoxText("typ", "x"); // no such item: none checked
        QCOMPARE(form.boxText("typ"), QString());
    }

    void entryForm()
    {
        Fixture f;
        TestForm form(f.ctx);
        auto fill = [&](const QString &city, const QString &mah, const QString &money) {
            form.setBoxText("city", city);
            form.setBoxText("mah", mah);
            form.setBoxText("mablagh", money);
        };
        // Insert: defaults, typed values, the log row with it.
        form.startInsert();
        QCOMPARE(form.boxText("sal"), QStringLiteral("1405"));
        QVERIFY(form.isInsertMode() && child<QPushButton>(&form, "ins_btn")->isVisibleTo(&form));
        fill(kYehArabic, kMehr, "1,500");
        QVERIFY(form.insertRow());
        QCOMPARE(f.ui.lastMessage(), texts::kInserted);
        QVERIFY(f.scalar("select mablagh from khadamat").toInt() == 1500
                && f.scalar("select count(*) from log where cmt=?", {"ins " + kYehArabic}).toInt() == 1);
        // An empty figure box is written as 0.
        QCOMPARE(f.scalar("select dehyariha from khadamat").toInt(), 0);
        // The same key with the Persian yeh and a trailing blank is a duplicate; nothing
        // written, no log row.
        fill(kYehPersian + " ", kMehr, "9");
        QVERIFY(!form.insertRow());
        QCOMPARE(f.ui.lastMessage(), texts::kRegisterDuplicate);
        QCOMPARE(f.count("khadamat") + f.count("log"), 2);
        // A value that is not a number (a group separator out of place) names its box by its
        // caption; nothing written.
        fill(kKafArabic, kMehr, "");
        form.edit("dehyariha")->setText("2,3");
        QVERIFY(!form.insertRow() && f.count("khadamat") == 1);
        QCOMPARE(f.ui.lastMessage(), texts::notANumber("2,3", texts::boxName(QStringLiteral("دهياري ها"))));
        // A digits box takes a paste only when it is all digits.
        QApplication::clipboard()->setText("4x5");
        form.edit("dehyariha")->clear();
        form.edit("dehyariha")->paste();
        QCOMPARE(form.boxText("dehyariha"), QString());
        // Edit: the form reads its own row.
        const qint64 id = f.scalar("select id from khadamat").toLongLong();
        QVERIFY(form.startEdit(id));
        QVERIFY(!form.isInsertMode() && child<QPushButton>(&form, "edit_btn")->isVisibleTo(&form));
        QCOMPARE(form.boxText("city") + form.boxText("mablagh"), kYehArabic + "1,500");
        form.setBoxText("mah", kAban);
        QVERIFY(form.updateRow());
        QCOMPARE(f.ui.lastMessage(), texts::kEdited);
        QCOMPARE(f.scalar("select mah from khadamat").toString(), kAban);
        // A second save in the same opening compares with what the first one wrote.
        form.setBoxText("mablagh", "2,000");
        QVERIFY(form.updateRow());
        QCOMPARE(f.scalar("select mablagh from khadamat").toInt(), 2000);
        // Another user changes the row: the save writes nothing, says so, keeps the form.
        f.dm.exec("update khadamat set mablagh=77 where id=?", {id});
        form.setBoxText("mah", kMehr);
        QVERIFY(!form.updateRow());
        QCOMPARE(f.ui.lastMessage(), texts::kChangedByOther);
        QCOMPARE(f.scalar("select mah from khadamat").toString() + form.boxText("mah"), kAban + kMehr);
        QCOMPARE(f.scalar("select mablagh from khadamat").toInt(), 77);
        // After reloading it saves; a change of a column it does not write does not stop it.
        QVERIFY(form.startEdit(id));
        f.dm.exec("update khadamat set fani=5 where id=?", {id});
        form.setBoxText("mah", kMehr);
        QVERIFY(form.updateRow());
        QCOMPARE(f.scalar("select mah from khadamat").toString(), kMehr);
        // The row deleted meanwhile: said, nothing written.
        f.dm.exec("delete from khadamat");
        QVERIFY(!form.updateRow() && f.count("khadamat") == 0);
        QCOMPARE(f.ui.lastMessage(), texts::kRowGone);
        // Copy: the listed columns from the row, insert mode.
        const qint64 other = addReport(f, kKafArabic, "1401", kAban, 1, 2);
        form.setBoxText("mah", "x");
        const char *const copied[] = {"city", "sal"};
        QVERIFY(form.startCopy(other, copied) && form.isInsertMode());
        QCOMPARE(form.boxText("city") + form.boxText("sal") + form.boxText("mah"), kKafArabic + "1401x");
    }

    void deleteCommand()
    {
        Fixture f;
        f.dm.exec("insert into prj (etb_id, city) values (-1, 'a')");
        const qint64 p = f.scalar("select id from prj").toLongLong();
        f.dm.exec("insert into etebarat (prj_id, mablagh, dion) values (?, 1, 0)", {p});
        f.dm.exec("insert into etebarat (prj_id, mablagh, dion) values (?, 1, 0)", {p + 1});
        f.dm.exec("insert into setting (component, cmt) values (?, ?)", {QStringLiteral("رمز حذف"), "pw"});
        const DeleteChild children[] = {{"etebarat", "prj_id"}};
        DeleteDef decl;
        decl.table = "prj";
        decl.children = children;
        decl.question = "q?";
        decl.password = DeleteDef::AskPassword;
        decl.logText = "del a";
        auto run = [&] { return RunDelete(f.ctx, nullptr, decl, p); };
        // No, Cancel, a wrong password, a cancelled password: nothing deleted, nothing logged.
        f.ui.answers << Ui::No << Ui::Cancel;
        QVERIFY(!run() && !run());
        f.ui.answers << Ui::Yes << Ui::Yes;
        f.ui.inputs << "PW" << ScriptedUi::kCancel;
        QVERIFY(!run());
        QCOMPARE(f.ui.lastMessage(), texts::kPasswordMismatch);
        QVERIFY(!run());
        // The password first: a wrong one asks no question.
        decl.passwordFirst = true;
        f.ui.questions.clear();
        f.ui.inputs << "x";
        QVERIFY(!run() && f.ui.questions.isEmpty());
        // A level gate refuses before anything is asked.
        decl.levels = QStringList{"ostan"};
        decl.levelRefusal = texts::kFormRefused;
        QVERIFY(!run() && f.ui.questions.isEmpty());
        QCOMPARE(f.ui.lastMessage(), texts::kFormRefused);
        QCOMPARE(f.count("prj") + f.count("etebarat") + f.count("log"), 3);
        decl.levels.clear();
        // Yes and the password: the row, its children (only its own) and one log row; the
        // message after the commit.
        f.ui.inputs << "pw";
        f.ui.answers << Ui::Yes;
        QVERIFY(run());
        QCOMPARE(f.ui.lastMessage(), texts::kDeleted);
        QCOMPARE(QList<qint64>({f.count("prj"), f.count("etebarat"), f.count("log")}), QList<qint64>({0, 1, 1}));
        // The same delete again: already deleted, no second log row.
        f.ui.inputs << "pw";
        f.ui.answers << Ui::Yes;
        QVERIFY(!run() && f.count("log") == 1);
        QCOMPARE(f.ui.lastMessage(), texts::kAlreadyDeleted);
    }
};

VARNOSET_DB_TEST_MAIN(BlocksTest)
#include "db_blocks.moc"
