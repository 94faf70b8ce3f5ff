// The credits window: the opener's rights, the project and credit searches with their
// count and sums, the lists that follow the current project, the project delete with its
// children and every command on an empty list.
#include "registers/credit_rows.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "registers/etebarat_src_u.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>

namespace {

const QString kDeleteQuestion = QStringLiteral("هشدار! اگر پروژه را حذف نماييد تمام اعتبارات،شرح عمليات،تخصيص آن حذف ميشود؟");
const QString kDeleteLog = QStringLiteral("  حذف مشخصات اعتبار پروژه  ");

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
    QStringList out;
    out << listed(f.dm.ADOQ_etb, "id").join(',');
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

// Opens the window through the main menu as the signed-in user; `steps` drive it.
void open(Fixture &f, const Steps &steps)
{
    through(f, f.form<Tmain>(), "N25", "Tetebarat_src", steps);
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
        f.grant(user, "prj", false, true, false);
        // A county filter ticked at the last use: the opener empties its text before the
        // first listing, so the listing and its count match the empty box shown.
        filter(f, "CheckBox4", "city", "ساوه");
        QString enabled;
        open(f, [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "city")->text(), QString());
            QVERIFY(child<QCheckBox>(d, "CheckBox4")->isChecked());
            QCOMPARE(listed(f.dm.ADOQ_proj, "id") << label(f, "cnt2"), ids({r.p1, r.p2, r.p3}) << "3");
            // The first project's lists.
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
        QCOMPARE(listed(f.dm.ADOQ_proj, "id") << label(f, "cnt2"), ids({r.p1, r.p3}) << "2");
        filter(f, "CheckBox5", "rosta", "كره");
        click(w, "src_btn2");
        QCOMPARE(listed(f.dm.ADOQ_proj, "id") << label(f, "cnt2"), ids({r.p3}) << "1");
        QCOMPARE(childIds(f), QStringList({"", "", "", ""})); // p3 has no rows
        filter(f, "CheckBox5", "rosta", "هيچ");
        click(w, "src_btn2");
        QCOMPARE(label(f, "cnt2"), "0");
        QCOMPARE(childIds(f), QStringList({"", "", "", ""}));

        // Credits of every project, with count and sums as the database gives them:
        // 3,000,000,000 + 1,500,000 + 2,500,000 and 250,000.5 + 0 + 100.
        click(w, "src_btn");
        QCOMPARE(QStringList({label(f, "cnt"), label(f, "mablagh_sum"), label(f, "dion_sum")}),
                 QStringList({"3", "3004000000", "250100.5"}));
        filter(f, "CheckBox1", "tamin_loc", "ملي");
        click(w, "src_btn");
        QCOMPARE(listed(f.dm.ADOQ_etb, "id") << label(f, "mablagh_sum"), ids({r.e1, r.e3}) << "3002500000");
        filter(f, "CheckBox1", "tamin_loc", "", false);
        filter(f, "CheckBox3", "sal", "1403");
        filter(f, "CheckBox2", "tamin_manba", "منابع");
        click(w, "src_btn");
        QCOMPARE(listed(f.dm.ADOQ_etb, "id") << label(f, "cnt") << label(f, "dion_sum"), ids({r.e3}) << "1" << "100");
        filter(f, "CheckBox3", "sal", "1399");
        click(w, "src_btn");
        QCOMPARE(QStringList({label(f, "cnt"), label(f, "mablagh_sum"), label(f, "dion_sum")}), QStringList({"0", "", ""}));
    }

    void currentProjectDrivesItsLists()
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
        QCOMPARE(childIds(f), QStringList({"", "", "", ""}));
        // A credit search lists the credits of every project and leaves the other lists.
        proj->setCurrentRow(1);
        click(w, "src_btn");
        QCOMPARE(f.dm.ADOQ_etb->recordCount(), 3);
        QCOMPARE(listed(list(f, "ADOQ_amaliyat"), "id"), ids({r.a2}));
        // A title sort that makes another project current: its lists follow.
        proj->setCurrentRow(0);
        emit grid->horizontalHeader()->sectionClicked(proj->fieldIndex("prg_sal1"));
        QCOMPARE(listed(proj, "id"), ids({r.p2, r.p1, r.p3}));
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
        // A statement that fails halfway (the progress table is gone) leaves everything in place.
        auto rename = [&](const char *sql) { QVERIFY(QSqlQuery(f.dm.ADOConnection1()).exec(sql)); };
        rename("alter table pish rename to pish_away");
        f.ui.answers << Ui::Yes;
        click(w, "N7");
        rename("alter table pish_away rename to pish");
        QCOMPARE(f.ui.messages.size(), 1);
        QVERIFY(f.ui.lastMessage() != texts::kDeleted);
        QCOMPARE(rows(), before);

        // Yes: the project, its credits, operations, progress items and allocations, and a log row.
        f.ui.clear();
        f.ui.answers << Ui::Yes;
        click(w, "N7");
        QCOMPARE(f.ui.questions, QStringList({kDeleteQuestion}));
        QCOMPARE(f.ui.messages, QStringList({texts::kDeleted}));
        QCOMPARE(rows(), "2 1 1 0 0 1");
        QCOMPARE(column(f, "prj", "id"), ids({r.p2, r.p3}));
        QCOMPARE(column(f, "log", "cmt"), QStringList({kDeleteLog + "اراك نوبران P-نوبران admin"}));
        // The listing and the lists show what is left: p2 is current.
        QCOMPARE(childIds(f), QStringList({QString::number(r.e3), QString::number(r.a2), "", ""}));

        // A credit delete leaves its children; an operation delete takes one row.
        click(w, "N13");
        QCOMPARE(column(f, "etebarat", "id") << column(f, "amaliyat", "id"), ids({r.a2}));
        click(w, "N10");
        QCOMPARE(f.count("amaliyat"), 0);
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
};

VARNOSET_DB_TEST_MAIN(EtebaratSrcTest)
#include "db_etebarat_src.moc"
