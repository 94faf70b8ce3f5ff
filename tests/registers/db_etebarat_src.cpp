// The credits window and its entry forms: the opener's rights, the project and credit
// searches with their count and sums, the lists that follow the current project, the title sort, the project
// delete with its children, every command on an empty list, the place cascade, the duplicate
// refusals, credit amounts beyond 32 bits and the log rows; the lower lists' columns in sight.
#include "support/drive.h"
#include "support/in_sight.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "core/dm_u.h"
#include "db/values.h"
#include "registers/etebarat_src_u.h"
#include "registers/prj_amaliyat_u.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>

namespace {

const QString kDeleteQuestion = QStringLiteral("هشدار! اگر پروژه را حذف نماييد تمام اعتبارات،شرح عمليات،تخصيص آن حذف ميشود؟");
const QString kDeleteLog = QStringLiteral("  حذف مشخصات اعتبار پروژه  ");
const QString kProjectDuplicate = QStringLiteral("خطا! استان،شهرستان و بخش تکراريست");
const QString kChildDuplicate = QStringLiteral("خطا! محل و منبع و سال تکراريست");
const QString kInsertLog = QStringLiteral("  ثبت اعتبار پروژه  ");
const QString kEditLog = QStringLiteral("  ويرايش اعتبار پروژه  ");

// Inserts `values` into `table`; the new id.
qint64 add(Fixture &f, const QString &table, const QVariantMap &values)
{
    const QString marks = QStringLiteral("?,").repeated(values.size()).chopped(1);
    f.dm.exec(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, values.keys().join(','), marks), values.values());
    return f.scalar("select max(id) from " + table).toLongLong();
}

qint64 addPrj(Fixture &f, const QString &city, const QString &rosta, const QVariantMap &more = {})
{
    QVariantMap v{{"etb_id", -1}, {"ostan", "مرکزي"}, {"city", city}, {"bakhsh", "مرکزي"}, {"dehestan", "دهستان"},
                  {"rosta", rosta}, {"prj_cod", "P-" + rosta}, {"prg_sal1", "1402"}};
    v.insert(more);
    return add(f, "prj", v);
}

qint64 addEtb(Fixture &f, qint64 prj, const QString &loc, const QString &manba, const QString &sal,
              const QVariant &mablagh, const QVariant &dion)
{
    return add(f, "etebarat", {{"prj_id", prj}, {"tamin_loc", loc}, {"tamin_manba", manba}, {"sal_typ", "جاري"},
                               {"sal", sal}, {"typ", "مصوب"}, {"mablagh", mablagh}, {"cmt", ""}, {"dion", dion}});
}

// An operation, progress item or allocation under a credit and a project.
qint64 addChild(Fixture &f, const QString &table, qint64 etb, qint64 prj, QVariantMap more)
{
    more.insert({{"etb_id", etb}, {"prj_id", prj}});
    return add(f, table, more);
}

// One column of a table's rows, ordered by id (the log's, which has none, as written).
QStringList column(Fixture &f, const QString &table, const QString &col, const QString &where = {})
{
    return rows(f, QStringLiteral("select %1 from %2 %3").arg(col, table, where) + (table == "log" ? "" : " order by id"));
}

template <class... Id> QStringList ids(Id... id) { return {QString::number(id)...}; }

// A dataset's column, in its row order.
QStringList listed(DataSet *ds, const QString &field)
{
    QStringList out;
    for (int r = 0; r < ds->recordCount(); ++r)
        out << ds->text(field, r);
    return out;
}

Tetebarat_src *window(Fixture &f) { return f.form<Tetebarat_src>(); }
QString label(Fixture &f, const char *name) { return child<QLabel>(window(f), name)->text(); }
DataSet *list(Fixture &f, const char *name) { return child<DataSet>(window(f), name); }

// Ticks (or unticks) a filter and types its text.
void filter(Fixture &f, const char *check, const char *box, const QString &text, bool on = true)
{
    auto *c = child<QCheckBox>(window(f), check);
    if (c->isChecked() != on)
        c->click();
    setBox(window(f), box, text);
}

// The current project's four lists: the ids of each.
QStringList childIds(Fixture &f)
{
    QStringList out{listed(f.dm.ADOQ_etb, "id").join(',')};
    for (const char *name : {"ADOQ_amaliyat", "ADOQ_pish", "ADOQ_takhsis"})
        out << listed(list(f, name), "id").join(',');
    return out;
}

// Two projects in Arak and one in Saveh, credits of two of them, and a child of each kind.
struct Register {
    qint64 p1, p2, p3, e1, e2, e3, a1, a2, s1, t1;
    explicit Register(Fixture &f)
    {
        p1 = addPrj(f, "اراك", "نوبران");
        p2 = addPrj(f, "ساوه", "آوه", {{"prg", "ششم"}, {"prg_sal1", "1401"}});
        p3 = addPrj(f, "اراك", "كرهرود", {{"prg", "پنجم"}, {"prg_sal1", "1403"}});
        e1 = addEtb(f, p1, "ملي", "درآمد عمومي", "1402", qint64(3000000000), 250000.5);
        e2 = addEtb(f, p1, "استاني متوازن", "ديون", "1403", 1500000, 0);
        e3 = addEtb(f, p2, "ملي", "ساير منابع داخلي", "1403", 2500000, 100);
        a1 = addChild(f, "amaliyat", e1, p1, {{"item_title", "زيرسازي"}, {"mablagh", 1000}});
        a2 = addChild(f, "amaliyat", e3, p2, {{"item_title", "مطالعه"}, {"mablagh", 2000}});
        s1 = addChild(f, "pish", e2, p1, {{"item_title", "زيرسازي"}, {"darsad", 40}, {"sal", "1403"}});
        t1 = addChild(f, "takhsis", e1, p1, {{"zaman", "3 ماهه"}, {"mablagh", 500000}});
    }
};

QStringList items(QDialog *d, const char *box)
{
    QStringList out = comboItems(child<QComboBox>(d, box));
    out.sort();
    return out;
}

// Lists the projects and makes `project` and `credit` (when given) current.
void current(Fixture &f, qint64 project, qint64 credit = 0)
{
    click(window(f), "src_btn2");
    QVERIFY(f.dm.ADOQ_proj->locate("id", project));
    if (credit)
        QVERIFY(f.dm.ADOQ_etb->locate("id", credit));
}

} // namespace

class EtebaratSrcTest : public QObject {
    Q_OBJECT
private slots:
    void openerRightsAndFirstListing()
    {
        Fixture f(true);
        Register r(f);
        const qint64 user = f.addUser("ostan1", "x", "ostan");
        f.signInAs(user, "ostan1", "ostan");
        // No rights row, or no right to open: refused, nothing shown.
        f.form<Tmain>()->trigger("N25");
        f.grant(user, "prj", true, true, true, false);
        f.form<Tmain>()->trigger("N25");
        QCOMPARE(f.ui.messages, QStringList({texts::kNoAccess, texts::kNoAccess}));
        QVERIFY(f.ui.shownWindows.isEmpty());
        f.dm.exec("update dastrasi set darj=?, virayesh=?, hazf=?, namayesh=? where prs_id=?", {false, true, false, true, user});
        // A county filter ticked at the last use: the opener empties its text before the
        // first listing, so the listing and its count match the empty box shown.
        filter(f, "CheckBox4", "city", "ساوه");
        QString enabled;
        through(f, f.form<Tmain>(), "N25", "Tetebarat_src", [&](QDialog *d) {
            QVERIFY(child<QLineEdit>(d, "city")->text().isEmpty() && child<QCheckBox>(d, "CheckBox4")->isChecked());
            QCOMPARE(listed(f.dm.ADOQ_proj, "id") << label(f, "cnt2"), ids(r.p1, r.p2, r.p3) << "3");
            QCOMPARE(childIds(f), QStringList({QStringLiteral("%1,%2").arg(r.e1).arg(r.e2), QString::number(r.a1),
                                               QString::number(r.s1), QString::number(r.t1)}));
            for (const char *a : {"N2", "N1", "N3", "N6", "N5", "N8", "N14", "N15", "N16", "N17", "N7", "N13", "N10",
                                  "N11", "N12", "N4"})
                enabled += child<QAction>(d, a)->isEnabled() ? a : "-";
        });
        // darj governs the five new commands, virayesh the edits, hazf the deletes; N4 always.
        QCOMPARE(enabled, "-----N8N14N15N16N17-----N4");
    }

    void projectAndCreditSearches()
    {
        Fixture f(true);
        Register r(f);
        Tetebarat_src *w = window(f);
        // Projects: county and village as substrings; the current project's lists follow.
        filter(f, "CheckBox4", "city", "ارا");
        click(w, "src_btn2");
        QCOMPARE(listed(f.dm.ADOQ_proj, "id") << label(f, "cnt2"), ids(r.p1, r.p3) << "2");
        filter(f, "CheckBox5", "rosta", "كره");
        click(w, "src_btn2");
        QCOMPARE(listed(f.dm.ADOQ_proj, "id") << label(f, "cnt2"), ids(r.p3) << "1");
        QCOMPARE(childIds(f), QStringList({"", "", "", ""})); // p3 has no rows
        filter(f, "CheckBox5", "rosta", "هيچ");
        click(w, "src_btn2");
        QCOMPARE(listed(f.dm.ADOQ_proj, "id") << label(f, "cnt2"), QStringList({"0"}));
        QCOMPARE(childIds(f), QStringList({"", "", "", ""}));

        // Credits of every project, with count and sums as the database gives them:
        // 3,000,000,000 + 1,500,000 + 2,500,000 and 250,000.5 + 0 + 100.
        click(w, "src_btn");
        QCOMPARE(QStringList({label(f, "cnt"), label(f, "mablagh_sum"), label(f, "dion_sum")}),
                 QStringList({"3", "3004000000", "250100.5"}));
        filter(f, "CheckBox1", "tamin_loc", "ملي");
        click(w, "src_btn");
        QCOMPARE(listed(f.dm.ADOQ_etb, "id") << label(f, "mablagh_sum"), ids(r.e1, r.e3) << "3002500000");
        filter(f, "CheckBox1", "tamin_loc", "", false);
        filter(f, "CheckBox3", "sal", "1403");
        filter(f, "CheckBox2", "tamin_manba", "منابع");
        click(w, "src_btn");
        QCOMPARE(listed(f.dm.ADOQ_etb, "id") << label(f, "cnt") << label(f, "dion_sum"), ids(r.e3) << "1" << "100");
        filter(f, "CheckBox3", "sal", "1399");
        click(w, "src_btn");
        QCOMPARE(QStringList({label(f, "cnt"), label(f, "mablagh_sum"), label(f, "dion_sum")}), QStringList({"0", "", ""}));
    }

    void currentProjectDrivesItsListsAndTheTitleSort()
    {
        Fixture f(true);
        Register r(f);
        Tetebarat_src *w = window(f);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        click(w, "src_btn2");
        auto *grid = child<QTableView>(w, "DBGrid2");
        DataSet *proj = f.dm.ADOQ_proj;
        // A click on the second project's row, then a keyboard move to the third.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(proj->index(1, proj->fieldIndex("city"))).center());
        QCOMPARE(childIds(f), QStringList({QString::number(r.e3), QString::number(r.a2), "", ""}));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(proj->text("id"), QString::number(r.p3));
        QCOMPARE(childIds(f), QStringList({"", "", "", ""}));
        // A credit search lists the credits of every project and leaves the other lists.
        proj->setCurrentRow(1);
        click(w, "src_btn");
        QCOMPARE(listed(list(f, "ADOQ_amaliyat"), "id") << QString::number(f.dm.ADOQ_etb->recordCount()), ids(r.a2, 3));
        // Title sort by the exact column: prg after prg_sal1 starts ascending; a project
        // without a programme comes first ascending and last descending.
        proj->setCurrentRow(0);
        QHeaderView *h = grid->horizontalHeader();
        emit h->sectionClicked(proj->fieldIndex("prg_sal1"));
        QCOMPARE(listed(proj, "id") << proj->sort(), ids(r.p2, r.p1, r.p3) << "prg_sal1 ASC");
        emit h->sectionClicked(proj->fieldIndex("prg"));
        QCOMPARE(listed(proj, "id") << proj->sort(), ids(r.p1, r.p3, r.p2) << "prg ASC");
        emit h->sectionClicked(proj->fieldIndex("prg"));
        QCOMPARE(listed(proj, "id") << proj->sort(), ids(r.p2, r.p3, r.p1) << "prg DESC");
        QVERIFY(proj->headerData(proj->fieldIndex("prg"), Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!proj->headerData(proj->fieldIndex("prg_sal1"), Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        // The sort made p2 ("ششم" before "پنجم", no programme last) current: its lists follow.
        QCOMPARE(proj->text("id"), QString::number(r.p2));
        QCOMPARE(childIds(f), QStringList({QString::number(r.e3), QString::number(r.a2), "", ""}));
        // The other grids do not sort.
        emit child<QTableView>(w, "DBGrid1")->horizontalHeader()->sectionClicked(f.dm.ADOQ_etb->fieldIndex("mablagh"));
        QCOMPARE(f.dm.ADOQ_etb->sort(), QString());
    }

    void projectDeleteWithItsChildren()
    {
        Fixture f(true);
        Register r(f);
        Tetebarat_src *w = window(f);
        click(w, "src_btn2"); // p1 current
        auto rows = [&] {
            QStringList out;
            for (const char *t : {"prj", "etebarat", "amaliyat", "pish", "takhsis", "log"})
                out << QString::number(f.count(t));
            return out.join(' ');
        };
        const QString before = rows();
        QCOMPARE(before, "3 3 2 1 1 0");
        // No and Cancel change nothing.
        f.ui.answers << Ui::No << Ui::Cancel;
        click(w, "N7");
        click(w, "N7");
        QCOMPARE(f.ui.questions, QStringList({kDeleteQuestion, kDeleteQuestion}));
        QCOMPARE(rows(), before);
        QVERIFY(f.ui.messages.isEmpty());
        // A statement that fails halfway (the progress table is gone) leaves everything in place.
        auto rename = [&](const char *sql) { QVERIFY(QSqlQuery(f.dm.ADOConnection1()).exec(sql)); };
        rename("alter table pish rename to pish_away");
        f.ui.answers << Ui::Yes;
        click(w, "N7");
        rename("alter table pish_away rename to pish");
        QVERIFY(f.ui.messages.size() == 1 && f.ui.lastMessage() != texts::kDeleted);
        QCOMPARE(rows(), before);

        // Yes: the project, its credits, operations, progress items and allocations, and a log row.
        f.ui.clear();
        f.ui.answers << Ui::Yes;
        click(w, "N7");
        QCOMPARE(f.ui.questions + f.ui.messages, QStringList({kDeleteQuestion, texts::kDeleted}));
        QCOMPARE(rows(), "2 1 1 0 0 1");
        QCOMPARE(column(f, "prj", "id"), ids(r.p2, r.p3));
        QCOMPARE(column(f, "log", "cmt"), QStringList({kDeleteLog + "اراك نوبران P-نوبران admin"}));
        // The listing and the lists show what is left: p2 is current.
        QCOMPARE(listed(f.dm.ADOQ_proj, "id"), ids(r.p2, r.p3));
        QCOMPARE(childIds(f), QStringList({QString::number(r.e3), QString::number(r.a2), "", ""}));

        // A credit delete leaves its children; an operation delete takes one row. Neither asks,
        // says anything or writes a log row.
        click(w, "N13");
        QCOMPARE(column(f, "etebarat", "id") << column(f, "amaliyat", "id"), ids(r.a2));
        QVERIFY(f.dm.ADOQ_etb->isEmpty());
        click(w, "N10");
        QCOMPARE(f.count("amaliyat"), 0);
        QCOMPARE(f.ui.questions + f.ui.messages, QStringList({kDeleteQuestion, texts::kDeleted}));
        QCOMPARE(f.count("log"), 1);
    }

    // With no project every command but a new project says why and does nothing; with a
    // project without credits, a new credit is offered, a child row or an edit is not.
    void everyCommandOnAnEmptyListWritesNothing()
    {
        Fixture f(true);
        Tetebarat_src *w = window(f);
        const QList<const char *> needCredit{"N3", "N6", "N5", "N14", "N13", "N15", "N10"};
        for (const auto &items : {needCredit + QList<const char *>{"N8", "N7", "N1", "N16", "N11", "N17", "N12"}, needCredit}) {
            click(w, "src_btn2");
            for (const char *item : items) {
                f.ui.messages.clear();
                f.ui.answers << Ui::Yes;
                click(w, item);
                QVERIFY2(f.ui.messages.size() == 1 && f.ui.messages.first() != texts::kDeleted, item);
            }
            QVERIFY(f.ui.shownWindows.isEmpty());
            QCOMPARE(f.count("etebarat") + f.count("amaliyat") + f.count("pish") + f.count("takhsis") + f.count("log"), 0);
            if (!f.count("prj"))
                addPrj(f, "اراك", "نوبران");
        }
        QCOMPARE(f.count("prj"), 1);
    }
    void projectCascadeDuplicateAndLog()
    {
        Fixture f(true);
        for (const QStringList &p : {QStringList{"مرکزي", "اراك", "مرکزي", "امانيه", "نوبران", "1001"},
                                     {"مرکزي", "اراك", "مرکزي", "امانيه", "كرهرود", "1002"},
                                     {"مرکزي", "اراك", "خنداب", "جاورسيان", "جاورسيان", "1003"},
                                     {"مرکزي", "ساوه", "نوبران", "بوسين", "آوه", "1004"},
                                     {"تهران", "ري", "کهريزک", "قلعه نو", "قلعه نو", "1005"}})
            f.dm.exec("insert into abadiha (ostan, shahrestan, city, bakhsh, dehestan, rosta, cod) values (?,?,?,?,?,?,?)",
                      {p[0], p[1], p[1], p[2], p[3], p[4], p[5]});
        addPrj(f, "ساوه", "آوه", {{"tarh_cod", "T-7"}});
        through(f, window(f), "N2", "Tprj_ins", [&](QDialog *d) {
            QCOMPARE(items(d, "ostan"), QStringList({"تهران", "مرکزي"}));
            QCOMPARE(items(d, "tarh_cod"), QStringList({"T-7"}));
            // Each place lists the next one's places under every place above.
            setBox(d, "ostan", "مرکزي");
            QCOMPARE(items(d, "city"), QStringList({"اراك", "ساوه"}));
            setBox(d, "city", "اراك");
            QCOMPARE(items(d, "bakhsh"), QStringList({"خنداب", "مرکزي"}));
            setBox(d, "bakhsh", "مرکزي");
            QCOMPARE(items(d, "dehestan"), QStringList({"امانيه"}));
            setBox(d, "dehestan", "امانيه");
            QCOMPARE(items(d, "rosta"), QStringList({"كرهرود", "نوبران"}));
            setBox(d, "rosta", "نوبران");
            QCOMPARE(items(d, "cod"), QStringList({"1001"}));
            // A province the gazetteer does not hold empties the county list; the boxes below keep their texts.
            setBox(d, "ostan", "ناشناخته");
            QCOMPARE(items(d, "city"), QStringList());
            QCOMPARE(child<QComboBox>(d, "rosta")->currentText(), "نوبران");
            setBox(d, "ostan", "مرکزي");

            setBox(d, "prj_cod", "401");
            setBox(d, "prg_sal1", "1402");
            click(d, "ins_btn");
            // The form stays open: a second press, and a project that differs only in its rural
            // district, are refused.
            click(d, "ins_btn");
            setBox(d, "dehestan", "ديگر");
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kProjectDuplicate, kProjectDuplicate}));
        QCOMPARE(f.count("prj"), 2);
        // The year as typed; an empty year box stores four blanks; a new project has no credit.
        QCOMPARE(column(f, "prj", "prg_sal1, prj_sal2, etb_id", "where rosta='نوبران'"), QStringList({"1402|    |-1"}));
        QCOMPARE(column(f, "log", "cmt"), QStringList({kInsertLog + "اراك نوبران 401 admin"}));
    }

    void projectEditTakesTheCurrentCredit()
    {
        Fixture f(true);
        const qint64 p1 = addPrj(f, "اراك", "نوبران");
        const qint64 p2 = addPrj(f, "ساوه", "آوه");
        const qint64 e2 = addEtb(f, p2, "ملي", "درآمد عمومي", "1403", 10, 0);
        // After a credit search the credit of another project is current.
        current(f, p1);
        click(window(f), "src_btn");
        QVERIFY(f.dm.ADOQ_etb->locate("id", e2));
        through(f, window(f), "N8", "Tprj_ins", [&](QDialog *d) {
            QCOMPARE(child<QComboBox>(d, "rosta")->currentText(), "نوبران");
            setBox(d, "prj_title", "بهسازي");
            click(d, "edit_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kEdited}));
        QCOMPARE(column(f, "prj", "etb_id", QString("where id=%1").arg(p1)), ids(e2));
        // The grid shows the change at once; the credit list stays.
        QCOMPARE(f.dm.ADOQ_proj->text("prj_title") + f.dm.ADOQ_etb->text("id"), "بهسازي" + QString::number(e2));
        QCOMPARE(column(f, "log", "cmt"), QStringList({kEditLog + "اراك نوبران P-نوبران admin"}));
    }

    void creditAmountsBeyond32Bits()
    {
        Fixture f(true);
        const qint64 p1 = addPrj(f, "اراك", "نوبران");
        const qint64 p2 = addPrj(f, "ساوه", "آوه");
        addEtb(f, p2, "ملي", "درآمد عمومي", "1403", 10, 0);
        current(f, p1);
        through(f, window(f), "N1", "Tetebar_ins", [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "0"); // a new credit's amount
            setBox(d, "tamin_loc", "ملي");
            setBox(d, "tamin_manba", "درآمد عمومي");
            setBox(d, "sal", "1403");
            child<QLineEdit>(d, "mablagh")->clear();
            typeText(child<QLineEdit>(d, "mablagh"), "5000000000");
            QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "5,000,000,000");
            setBox(d, "dion", "12.34567");
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted}));
        const QString mine = QString("where prj_id=%1").arg(p1);
        // Debts to the nearest ten-thousandth.
        QCOMPARE(column(f, "etebarat", "mablagh, dion", mine), QStringList({"5000000000|12.3457"}));
        // The credit search ran: every project's credits with their sum, 5,000,000,000 + 10.
        QCOMPARE(QString::number(f.dm.ADOQ_etb->recordCount()) + ' ' + label(f, "mablagh_sum"), "2 5000000010");

        // An edit of the new credit; then the current project's credits only.
        QVERIFY(f.dm.ADOQ_etb->locate("prj_id", p1));
        through(f, window(f), "N14", "Tetebar_ins", [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "5,000,000,000");
            child<QLineEdit>(d, "mablagh")->clear();
            click(d, "edit_btn");
        });
        QCOMPARE(f.ui.lastMessage(), texts::kEdited);
        QCOMPARE(column(f, "etebarat", "mablagh", mine), QStringList({"0"}));
        QCOMPARE(listed(f.dm.ADOQ_etb, "prj_id"), ids(p1));

        // A quantity that is not a number is refused before anything is written.
        f.ui.clear();
        through(f, window(f), "N3", "Tprj_amaliyat", [&](QDialog *d) {
            setBox(d, "item_title", "زيرسازي");
            setBox(d, "meghdar", "دوازده");
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY2(f.ui.messages.first().contains(captioned(f.form<Tprj_amaliyat>(), "meghdar")), qPrintable(f.ui.messages.first()));
        QCOMPARE(f.count("amaliyat"), 0);
    }

    // Maximised on 1280 by 1024, amounts in billions and long texts: at the opening size each
    // of the four lower lists shows all its columns, the operations' nine too.
    void lowerListsShowEveryColumnAtTheOpeningSize()
    {
        const auto face = testing_support::programFont();
        Fixture f(true);
        const qint64 p = addPrj(f, "اراك", "نوبران");
        const qint64 e = addEtb(f, p, "استاني متوازن", "ساير منابع داخلي", "1403", qint64(18750000000), qint64(1250000000));
        for (int i = 0; i < 4; ++i)
            addChild(f, "amaliyat", e, p, {{"item_title", "زيرسازي و آسفالت معابر"}, {"meghdar", 12500 + i}, {"darsad", 35},
                                           {"mablagh", qint64(8375000000)}, {"vahed", "متر مربع"}, {"modat", "6 ماه"},
                                           {"cmt", "اجراي قشر اساس و آسفالت گرم"}, {"taahod", 1}, {"sal", "1403"}});
        addChild(f, "pish", e, p, {{"item_title", "زيرسازي و آسفالت معابر"}, {"darsad", 45}, {"sal", "1403"}});
        addChild(f, "takhsis", e, p, {{"zaman", "سه ماهه دوم"}, {"mablagh", qint64(6250000000)}});
        f.form<Tmain>()->resize(1280, 1024);
        through(f, f.form<Tmain>(), "N25", "Tetebarat_src", [&](QDialog *d) {
            for (const auto &[grid, columns] : {std::pair{"DBGrid1", 8}, {"DBGrid3", 9}, {"DBGrid4", 3}, {"DBGrid5", 2}}) {
                int shown = 0;
                QCOMPARE(testing_support::columnsOutOfSight(child<QTableView>(d, grid), &shown), QStringList());
                QCOMPARE(shown, columns);
            }
        });
    }

    // A debt with a fraction goes to the server as its decimal text, never as a double (which
    // stores 1,234,567,890,123.4567 as ...0123.4568), and comes back exact: stored, summed with
    // 0.0001 and shown in the edit form; the embedded file keeps 15 significant digits.
    void debtsExactToTheServer()
    {
        // The value bound: the decimal text, or a whole number (a QVariant compares a text with a
        // number by converting it, so the types are compared).
        auto bound = [](const char *typed) {
            const QVariant v = db::columnValue("etebarat", "dion", typed);
            return QString(v.metaType().name()) + ' ' + v.toString();
        };
        QCOMPARE(bound("1,234,567,890,123.4567"), "QString 1234567890123.4567");
        QCOMPARE(bound("1250000.0000"), "qlonglong 1250000");
        Fixture f(true);
        const bool pg = usePostgres();
        const qint64 p = addPrj(f, "اراك", "نوبران");
        addEtb(f, p, "ملي", "درآمد عمومي", "1402", 10, QString("0.0001"));
        current(f, p);
        through(f, window(f), "N1", "Tetebar_ins", [&](QDialog *d) {
            for (const auto &[box, text] : {std::pair{"tamin_loc", "ملي"}, {"tamin_manba", "درآمد عمومي"},
                                            {"sal_typ", "جاري"}, {"sal", "1403"}, {"typ", "مصوب"},
                                            {"dion", "1234567890123.4567"}})
                setBox(d, box, text);
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted}));
        const QString stored = pg ? "1234567890123.4567" : "1234567890123.46";
        auto storedDebt = [&] { return f.scalar("select cast(dion as varchar(40)) from etebarat where sal='1403'").toString(); };
        QCOMPARE(storedDebt(), stored);
        QCOMPARE(label(f, "dion_sum"), pg ? "1234567890123.4568" : "1234567890123.46");
        QVERIFY(f.dm.ADOQ_etb->locate("sal", "1403"));
        QCOMPARE(f.dm.ADOQ_etb->text("dion"), stored);
        // Saved again unchanged from the edit form, it stays as it was.
        through(f, window(f), "N14", "Tetebar_ins", [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "dion")->text(), pg ? "1,234,567,890,123.4567" : "1,234,567,890,123.46");
            click(d, "edit_btn");
        });
        QCOMPARE(f.ui.lastMessage(), texts::kEdited);
        QCOMPARE(storedDebt(), stored);
    }

    // A credit amount stored with a fraction (written before, or by another program) shows its
    // whole rials in the money box; saving the credit with the box untouched keeps the fraction,
    // and a changed box writes what was typed.
    void aStoredFractionSurvivesAnEdit()
    {
        Fixture f(true);
        const qint64 p = addPrj(f, "اراك", "نوبران");
        const qint64 e = addEtb(f, p, "ملي", "درآمد عمومي", "1402", QString("2500.5"), 0);
        auto amount = [&] { return f.scalar("select mablagh from etebarat where id=?", {e}).toDouble(); };
        for (const auto &[typed, kept] : {std::pair{"", 2500.5}, {"7,000", 7000.0}}) {
            current(f, p, e);
            through(f, window(f), "N14", "Tetebar_ins", [&](QDialog *d) {
                QCOMPARE(child<QLineEdit>(d, "mablagh")->text(), "2,500");
                setBox(d, "cmt", "بازنگري");
                if (!QString(typed).isEmpty())
                    setBox(d, "mablagh", typed);
                click(d, "edit_btn");
            });
            QCOMPARE(f.ui.lastMessage(), texts::kEdited);
            QCOMPARE(amount(), kept);
            f.dm.exec("update etebarat set mablagh=2500.5 where id=?", {e});
        }
    }

    void childFormsRefuseATitleTwicePerCredit()
    {
        Fixture f(true);
        const qint64 p = addPrj(f, "اراك", "نوبران");
        const qint64 e1 = addEtb(f, p, "ملي", "درآمد عمومي", "1402", 100, 0);
        const qint64 e2 = addEtb(f, p, "ملي", "درآمد عمومي", "1403", 200, 0);
        current(f, p, e1);
        auto operation = [&](const QString &title, const QString &cost) {
            through(f, window(f), "N3", "Tprj_amaliyat", [&](QDialog *d) {
                setBox(d, "item_title", title);
                setBox(d, "mablagh", cost);
                setBox(d, "darsad", "12.5");
                click(d, "ins_btn");
            });
        };
        operation("زيرسازي", "1500.25");
        operation("زيرسازي", "99");
        f.dm.ADOQ_etb->locate("id", e2);
        operation("زيرسازي", "7");
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kChildDuplicate, texts::kInserted}));
        QCOMPARE(column(f, "amaliyat", "etb_id, mablagh, darsad"),
                 QStringList({QString::number(e1) + "|1500.25|12.5", QString::number(e2) + "|7|12.5"}));

        // An allocation period once per credit; an empty amount stores 0.
        f.ui.messages.clear();
        for (const char *amount : {"", "900"}) {
            through(f, window(f), "N5", "Tetb_takhsis", [&](QDialog *d) {
                setBox(d, "zaman", "3 ماهه");
                setBox(d, "mablagh", amount);
                click(d, "ins_btn");
            });
        }
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, kChildDuplicate}));
        QCOMPARE(column(f, "takhsis", "mablagh"), QStringList({"0"}));

        // A progress item entered under e2, edited while e1 is current: it moves under e1
        // with its item, percentage and year.
        f.ui.messages.clear();
        through(f, window(f), "N6", "Tprj_pish", [&](QDialog *d) {
            setBox(d, "item_title", "مطالعه");
            setBox(d, "darsad", "30");
            setBox(d, "sal", "1403");
            click(d, "ins_btn");
        });
        click(window(f), "src_btn2"); // the project's lists again
        DataSet *pish = window(f)->pish();
        QCOMPARE(pish->recordCount(), 1);
        f.dm.ADOQ_etb->locate("id", e1);
        through(f, window(f), "N16", "Tprj_pish", [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "darsad")->text(), "30");
            setBox(d, "item_title", "زيرسازي");
            setBox(d, "darsad", "45");
            setBox(d, "sal", "1404");
            click(d, "edit_btn");
        });
        QCOMPARE(f.ui.messages, QStringList({texts::kInserted, texts::kEdited}));
        QCOMPARE(column(f, "pish", "etb_id") << pish->text("item_title") + pish->text("darsad") + pish->text("sal"),
                 ids(e1) << "زيرسازي451404");
    }
};

VARNOSET_DB_TEST_MAIN(EtebaratSrcTest)
#include "db_etebarat_src.moc"
