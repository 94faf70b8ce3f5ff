// The statistics register (the type layouts, the duplicate test across types, the count and
// grouped sum, the contractor filter, the take-out delete and the county user's refusal, the
// window's size across the types with every column in sight) and
// the agreements register (the duplicate test, the search with a county user's restriction,
// the take-out delete that leaves the attachments, the attachments stored and opened); what the
// registers' entry boxes refuse.
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/in_sight.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "registers/amar_u.h"
#include "registers/azmayeshgah_ins_u.h"
#include "registers/etb_takhsis_u.h"
#include "registers/etebar_ins_u.h"
#include "registers/khadamat_ins_u.h"
#include "registers/movafeghatname_src_u.h"
#include "registers/prj_amaliyat_u.h"
#include "registers/prj_pish_u.h"
#include "shared/attachment_list.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

namespace {

const QString kArak = QStringLiteral("اراک");
const QString kSaveh = QStringLiteral("ساوه");
const QString kCanal = QStringLiteral("کانال بتني-متر");
const QString kOps = texts::kAmarOperations;
const QString kKind = QStringLiteral("موافقت نامه عمراني");
// The statistics window's amount caption per type, its unit caption for credits and the titles
// of its workbook, copied from the system's description.
const QString kAmarAmount = QStringLiteral("مبلغ");
const QString kAmarQuantity = QStringLiteral("مقدار");
const QString kAmarUnit = QStringLiteral("(مليون ريال)");
const QStringList kAmarWorkbookTitles = {QStringLiteral("شناسه"), QStringLiteral("شهرستان"), QStringLiteral("روستا"),
                                         QStringLiteral("نوع"), QStringLiteral("محل تامين اعتبار"), QStringLiteral("عنوان"),
                                         QStringLiteral("سال تامين"), QStringLiteral("مبلغ"), QStringLiteral("پيمانکار")};

void addRow(Fixture &f, const QString &city, const QString &typ, qint64 mablagh, const QString &peymankar = {})
{
    f.dm.exec("insert into amar (city, rosta, typ, tamin_loc, cmt, tamin_sal, mablagh, peymankar) "
              "values (?,?,?,?,?,?,?,?)",
              {city, "خنداب", typ, "ملي", typ == kOps ? kCanal : "", "1402", mablagh, peymankar});
}

// Every row, "city|typ|tamin_loc|cmt|tamin_sal|mablagh|peymankar", in the order written.
QStringList amarRows(Fixture &f)
{
    return rows(f, "select city, typ, tamin_loc, cmt, tamin_sal, mablagh, peymankar from amar order by id");
}

QRadioButton *type(QWidget *w, int index) { return child<QWidget>(w, "typ")->findChildren<QRadioButton *>()[index]; }
QString label(QWidget *w, const QString &name) { return child<QLabel>(w, name)->text(); }
bool shown(QWidget *w, const char *name) { return child<QWidget>(w, name)->isVisible(); }

class DbSmallRegisters : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    QTemporaryDir m_dir;

    void signIn(const QString &page, const QString &name, const QString &level, bool darj = true)
    {
        const qint64 id = f->addUser(name, "p", level);
        f->grant(id, page, darj, false, true);
        f->signInAs(id, name, level);
    }
    void openAmar(const Steps &steps) { through(*f, f->form<Tmain>(), "N24", "Tamar", steps); }
    int amarCount() { return f->form<Tamar>()->list()->recordCount(); }
    void openAgreements(const Steps &steps) { through(*f, f->form<Tmain>(), "N21", "Tmovafeghatname_src", steps); }
    DataSet *agreements() { return f->form<Tmovafeghatname_src>()->list(); }
    DataSet *attached() { return f->form<Tmovafeghatname_src>()->attachments()->rows(); }

private slots:
    void init() { f = std::make_unique<Fixture>(true); }
    void cleanup() { f.reset(); }

    // Each type shows its own boxes; the same county, village, source, title and year is
    // refused whatever the type; an insert says nothing and lists the county's rows of its type.
    void amarInsertAcrossTypes()
    {
        signIn("amar", "u", "ostan");
        addRow(*f, kSaveh, texts::kAmarCredits, 5);
        openAmar([&](QDialog *w) {
            QVERIFY(type(w, 0)->isChecked() && shown(w, "tamin_loc") && !shown(w, "cmt") && !shown(w, "peymankar"));
            QVERIFY(label(w, "Label6") == kAmarAmount && shown(w, "Label8") && label(w, "Label8") == kAmarUnit);
            fillBoxes(w, {{"city", kArak}, {"rosta", "خنداب"}, {"tamin_loc", "ملي"}, {"tamin_sal", "1402"},
                          {"mablagh", "2,500"}});
            click(w, "ins_btn");
            type(w, 1)->click();
            QVERIFY(!shown(w, "tamin_loc") && shown(w, "cmt") && shown(w, "peymankar") && !shown(w, "Label8"));
            QCOMPARE(label(w, "Label6"), kAmarQuantity);
            click(w, "ins_btn"); // the hidden source still holds its text: the credit row's key
            QCOMPARE(f->ui.messages, QStringList{texts::kRegisterDuplicate});
            fillBoxes(w, {{"cmt", kCanal}, {"peymankar", "آبادگران"}, {"mablagh", "120"}});
            click(w, "ins_btn");
            QVERIFY(f->ui.messages.size() == 1 && amarCount() == 1);
        });
        QCOMPARE(amarRows(*f), (QStringList{kSaveh + "|" + texts::kAmarCredits + "|ملي||1402|5|",
                                        kArak + "|" + texts::kAmarCredits + "|ملي||1402|2500|",
                                        kArak + "|" + kOps + "|ملي|" + kCanal + "|1402|120|آبادگران"}));
    }

    // Amounts and quantities are summed together without a type filter, each type alone with
    // it; the contractor filter narrows the list and the sum while it is ticked.
    void amarCountSumContractor()
    {
        signIn("amar", "u", "ostan");
        addRow(*f, kArak, texts::kAmarCredits, 1500000);
        addRow(*f, kSaveh, texts::kAmarCredits, 1000000);
        addRow(*f, kArak, kOps, 300, "راه سازان");
        addRow(*f, kSaveh, kOps, 200, "آبادگران");
        openAmar([&](QDialog *w) {
            auto search = [&] {
                click(w, "src_btn");
                return label(w, "cnt") + " " + label(w, "mablagh_sum");
            };
            QCOMPARE(search(), QString("4 2,500,500"));
            child<QCheckBox>(w, "CheckBox3")->click();
            fillBoxes(w, {{"typ2", texts::kAmarCredits}});
            QCOMPARE(search(), QString("2 2,500,000"));
            fillBoxes(w, {{"typ2", kOps}, {"peymankar2", "آباد"}});
            QCOMPARE(search(), QString("2 500"));
            child<QCheckBox>(w, "CheckBox4")->click();
            fillBoxes(w, {{"peymankar2", "آباد"}});
            QCOMPARE(search(), QString("1 200"));
        });
    }

    // Maximised on 1280 by 1024, thirty rows with amounts in billions and a long contractor
    // name: the window opens 900 wide with its eight columns in sight, and keeps its size and
    // its columns whichever type is chosen.
    void amarKeepsItsSizeAcrossTypes()
    {
        const auto face = testing_support::programFont();
        signIn("amar", "u", "ostan");
        for (int i = 0; i < 30; ++i)
            addRow(*f, i % 2 ? kArak : kSaveh, i % 3 ? kOps : texts::kAmarCredits, qint64(2450000000) + i * 1000,
                   i % 3 ? "شركت راه و ساختمان پيشگامان توسعه البرز" : "");
        f->form<Tmain>()->resize(1280, 1024);
        openAmar([&](QDialog *w) {
            QCOMPARE(w->size(), QSize(900, 974));
            for (int index : {0, 1, 0, 1}) {
                type(w, index)->click();
                int shown = 0;
                QCOMPARE(testing_support::columnsOutOfSight(child<QTableView>(w, "DBGrid1"), &shown), QStringList());
                QVERIFY(shown == 8 && w->width() == 900);
            }
        });
    }

    // The delete takes the row into the boxes; a county user is refused there, the row stays
    // and a missing insert right stays hidden; a province user deletes silently and the insert
    // puts the row back under a new id. On an empty list it does nothing, and the export writes
    // the workbook with its title row.
    void amarTakeOut()
    {
        addRow(*f, kArak, kOps, 1234, "راه سازان");
        const QStringList before = amarRows(*f);
        auto takeOut = [&](QDialog *w) {
            f->ui.clear();
            click(w, "N1");
            QVERIFY(type(w, 1)->isChecked() && shown(w, "cmt"));
            QCOMPARE(child<QLineEdit>(w, "mablagh")->text() + child<QLineEdit>(w, "peymankar")->text(),
                     QString("1,234راه سازان"));
        };
        signIn("amar", "c", "city", false);
        openAmar([&](QDialog *w) {
            takeOut(w);
            QCOMPARE(f->ui.messages, QStringList{texts::kAmarCountyDelete});
            QVERIFY(!shown(w, "ins_btn") && !child<QAction>(w, "N2")->isEnabled());
        });
        QCOMPARE(amarRows(*f), before);
        signIn("amar", "u", "ostan");
        openAmar([&](QDialog *w) {
            takeOut(w);
            QVERIFY(f->ui.messages.isEmpty());
            QCOMPARE(amarCount(), 0);
            click(w, "N1");
            QVERIFY(f->ui.messages.isEmpty());
            click(w, "N2");
            const Sheet empty = readXlsx(f->ui.openedFiles.value(0));
            QCOMPARE(empty.row(1), kAmarWorkbookTitles);
            QVERIFY(!empty.cells.contains("A2"));
            click(w, "ins_btn");
        });
        QCOMPARE(amarRows(*f), before);
        QCOMPARE(f->scalar("select min(id) from amar").toLongLong(), 2);
    }

    // The same county, year, kind and number twice is refused, another number taken; the
    // number filter narrows list and count; a county user sees only the counties holding the
    // user's name, and none when no county does.
    void agreementsInsertAndSearch()
    {
        signIn("movafeghatname", "u", "ostan");
        openAgreements([&](QDialog *w) {
            fillBoxes(w, {{"city2", kArak}, {"sal2", "1403"}, {"typ2", kKind}, {"num2", "12/345"}});
            click(w, "ins_btn");
            click(w, "ins_btn");
            fillBoxes(w, {{"city2", QStringLiteral("ساوه")}, {"num2", "12/346"}});
            click(w, "ins_btn");
            QCOMPARE(f->ui.messages, (QStringList{texts::kInserted, texts::kRegisterDuplicate, texts::kInserted}));
            QCOMPARE(agreements()->recordCount(), 2);
            child<QCheckBox>(w, "CheckBox4")->click();
            fillBoxes(w, {{"num", "346"}});
            click(w, "src_btn");
            QCOMPARE(agreements()->text("num") + child<QLabel>(w, "cnt")->text(), QString("12/3461"));
        });
        signIn("movafeghatname", QStringLiteral("ساوه"), "city");
        openAgreements([&](QDialog *) { QCOMPARE(agreements()->text("num"), QString("12/346")); });
        signIn("movafeghatname", QStringLiteral("مرکزي"), "city");
        openAgreements([&](QDialog *w) { QCOMPARE(child<QLabel>(w, "cnt")->text(), QString("0")); });
    }

    // An attachment takes the default description when its box is cancelled; a click on it saves
    // it under the chosen name plus its type and opens it while "open after saving" is ticked.
    // The delete puts the agreement into the entry boxes and leaves the attachment; entered
    // again it gets a new id without it.
    void agreementsAttachmentsAndDelete()
    {
        signIn("movafeghatname", "u", "ostan");
        f->dm.exec("insert into movafeghatname (city, sal, typ, num) values (?,?,?,?)", {kArak, "1403", kKind, "9"});
        openAgreements([&](QDialog *w) {
            f->ui.openFiles << writeFile(m_dir.filePath("scan.jpg"), "JPEG");
            f->ui.inputs << ScriptedUi::kCancel;
            click(w, "N1");
            QCOMPARE(attached()->text("cmt"), texts::kAgreementAttachmentDefault);
            auto *grid = child<QTableView>(w, "DBGrid2");
            const QPoint cell = grid->visualRect(grid->model()->index(0, attached()->fieldIndex("cmt"))).center();
            for (const char *name : {"copy1", "copy2"}) {
                f->ui.saveFiles << m_dir.filePath(name);
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
                child<QCheckBox>(w, "CheckBox5")->click();
            }
            QCOMPARE(f->ui.openedFiles, QStringList{m_dir.filePath("copy1.jpg")});
            QCOMPARE(readFile(m_dir.filePath("copy2.jpg")), QByteArray("JPEG"));

            f->ui.clear();
            click(w, "N3");
            QCOMPARE(f->ui.messages, QStringList{texts::kDeleted});
            QCOMPARE(child<QComboBox>(w, "city2")->currentText() + child<QLineEdit>(w, "num2")->text(), kArak + "9");
            click(w, "N1"); // nothing on an empty list, no dialog
            QVERIFY(f->ui.prompts.isEmpty());
            click(w, "ins_btn");
            QCOMPARE(agreements()->text("id") + ' ' + QString::number(attached()->recordCount()), "2 0");
        });
        QCOMPARE(f->scalar("select movafeghatname_id from movafeghatname_pic").toInt(), 1);
    }

    // Typed as a user types: a year not of four digits, an empty box the row needs, a minus
    // sign in an amount, a percentage outside 0-100 are refused naming the box; nothing is
    // written, the box keeps what was typed. Taken (the text stored given): a credit's empty
    // year, a percentage of 100.
    void entryBoxesRefuseWhatTheyCannotHold()
    {
        f->dm.exec("insert into prj (etb_id, city) values (-1, ?)", {kArak});
        const QVariant p = f->scalar("select max(id) from prj");
        f->dm.exec("insert into etebarat (prj_id, tamin_manba, sal, mablagh, dion) values (?, '', '', 0, 0)", {p});
        const QVariantMap parents{{"prj_id", p}, {"etb_id", f->scalar("select max(id) from etebarat")}};
        const QList<std::tuple<EntryForm *, QString, QVariantMap>> forms{
            {f->form<Tetebar_ins>(), "etebarat", {{"tamin_manba", "ملي"}}}, {f->form<Tprj_amaliyat>(), "amaliyat", {{"item_title", "مطالعه"}}},
            {f->form<Tprj_pish>(), "pish", {{"item_title", "مطالعه"}}}, {f->form<Tetb_takhsis>(), "takhsis", {{"zaman", "3 ماهه"}}},
            {f->form<Tazmayeshgah_ins>(), "azmayeshat", {{"loc", kArak}}}, {f->form<Tmovafeghatname_src>(), "movafeghatname", {{"city2", kArak}, {"num2", "7"}}},
            {f->form<Tamar>(), "amar", {{"city", kArak}}}, {f->form<Tkhadamat_ins>(), "khadamat", {{"city", kArak}}}};
        using texts::boxName, texts::cannotHold, texts::emptyBox;
        const QString year = boxName("سال");
        const QList<std::tuple<int, QString, QString, QString>> cases{
            {0, "sal", "14ab", cannotHold("14  ", year, texts::kNotAYear)}, {0, "sal", "13/4", cannotHold("134 ", year, texts::kNotAYear)},
            {0, "sal", "", "    "}, {0, "tamin_manba", "", emptyBox(boxName("منبع تامين"))},
            {0, "mablagh", "-500", cannotHold("-500", boxName("مبلغ اعتبار"), texts::kNegative)},
            {0, "dion", "-12.5", cannotHold("-12.5", boxName("مبلغ ديون"), texts::kNegative)},
            {1, "darsad", "-5", cannotHold("-5", boxName("درصد از کل پروژه"), texts::kNotAPercent)},
            {1, "taahod", "250", cannotHold("250", boxName("درصد سال(تعهد)"), texts::kNotAPercent)},
            {1, "mablagh", "-1500.25", cannotHold("-1,500.25", boxName("هزينه"), texts::kNegative)}, {2, "darsad", "100", "100"},
            {3, "mablagh", "-900", cannotHold("-900", boxName("ميزان تخصيص"), texts::kNegative)},
            {4, "loc", "", emptyBox(boxName("نام شهرستان"))}, {4, "mablagh", "-500", cannotHold("-500", boxName("مبلغ صورت حساب"), texts::kNegative)},
            {5, "num2", "", emptyBox(boxName("شماره"))}, {5, "sal2", "14ab", cannotHold("14  ", year, texts::kNotAYear)},
            {6, "tamin_sal", "13/4", cannotHold("134 ", boxName("سال تامين اعتبار"), texts::kNotAYear)}, {7, "sal", "", emptyBox(year)}};
        for (const auto &[index, box, typed, said] : cases) {
            const auto &[form, table, taken] = forms.at(index);
            const QStringList before = rows(*f, "select * from " + table);
            const bool refused = said.startsWith("خطا!");
            drive(*f, form, [&](QDialog *) {
                form->startInsert(parents);
                fillBoxes(form, taken);
                form->edit(box) ? form->edit(box)->clear() : setBox(form, box, QString());
                typeText(form->box(box), typed);
                const QString shown = form->boxText(box);
                QCOMPARE(pressed(*f, form, "ins_btn"), QStringList{refused ? said : texts::kInserted});
                QCOMPARE(form->boxText(box), shown);
            });
            QCOMPARE(refused ? rows(*f, "select * from " + table) : rows(*f, "select " + box + " from " + table + " order by id desc").mid(0, 1),
                     refused ? before : QStringList{said});
        }
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbSmallRegisters)
#include "db_small_registers.moc"
