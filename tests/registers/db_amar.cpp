// The statistics register: the type layouts, the insert with its duplicate test across types,
// the search with its count and grouped sum, the contractor filter, the take-out delete and the
// county user's refusal, the opener's rights.
#include "support/drive.h"
#include "support/texts.h"

#include "core/dataset.h"
#include "core/main_u.h"
#include "registers/amar_u.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

namespace {

// Counties as users type them: the Persian keheh in one, the Arabic kaf in the other.
const QString kArak = QStringLiteral("اراک");
const QString kSaveh = QStringLiteral("ساوه");
const QString kVillage = QStringLiteral("خنداب");
const QString kSource = QStringLiteral("استاني");
const QString kCanal = QStringLiteral("کانال بتني-متر");

qint64 addRow(Fixture &f, const QString &city, const QString &typ, const QString &cmt, qint64 mablagh,
              const QString &peymankar = QString())
{
    f.dm.exec("insert into amar (city, rosta, typ, tamin_loc, cmt, tamin_sal, mablagh, peymankar) "
              "values (?,?,?,?,?,?,?,?)",
              {city, kVillage, typ, typ == texts::kAmarCredits ? kSource : QString(), cmt, "1402", mablagh, peymankar});
    return f.scalar("select max(id) from amar").toLongLong();
}

// Every row as "city|rosta|typ|tamin_loc|cmt|tamin_sal|mablagh|peymankar", in the order written.
QStringList rows(Fixture &f)
{
    DataSet *q = f.dm.ADOQuery2;
    q->open("select * from amar order by id");
    QStringList out;
    for (int r = 0; r < q->recordCount(); ++r) {
        QStringList cells;
        for (const char *c : {"city", "rosta", "typ", "tamin_loc", "cmt", "tamin_sal", "mablagh", "peymankar"})
            cells << q->text(c, r);
        out << cells.join('|');
    }
    return out;
}

void chooseType(QWidget *w, const QString &type)
{
    for (QRadioButton *r : child<QWidget>(w, "typ")->findChildren<QRadioButton *>())
        if (r->text() == type)
            r->click();
}

QString shownType(QWidget *w)
{
    for (QRadioButton *r : child<QWidget>(w, "typ")->findChildren<QRadioButton *>())
        if (r->isChecked())
            return r->text();
    return {};
}

QString label(QWidget *w, const QString &name) { return child<QLabel>(w, name)->text(); }
bool visible(QWidget *w, const QString &name) { return child<QWidget>(w, name)->isVisible(); }

class DbAmar : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

    void signIn(const QString &level, bool darj = true, bool hazf = true)
    {
        const qint64 id = f->addUser("u_" + level, "p", level);
        f->grant(id, "amar", darj, false, hazf);
        f->signInAs(id, "u_" + level, level);
    }
    void open(const Steps &steps) { through(*f, f->form<Tmain>(), "N24", "Tamar", steps); }

private slots:
    void init() { f = std::make_unique<Fixture>(true); }
    void cleanup() { f.reset(); }

    // The type shows its own boxes; a second row with the same county, village, source, title
    // and year is refused whatever its type; nothing is said after an insert, and the list
    // shows the county's rows of the type entered.
    void insertAcrossTypes()
    {
        signIn("ostan");
        addRow(*f, kSaveh, texts::kAmarCredits, "", 5);
        open([&](QDialog *w) {
            QCOMPARE(shownType(w), texts::kAmarCredits);
            QVERIFY(visible(w, "tamin_loc") && !visible(w, "cmt") && !visible(w, "peymankar"));
            QCOMPARE(label(w, "Label6"), texts::kAmarAmount);
            QVERIFY(visible(w, "Label8"));

            fillBoxes(w, {{"city", kArak}, {"rosta", kVillage}, {"tamin_loc", kSource}, {"tamin_sal", "1402"},
                     {"mablagh", "2500"}});
            f->ui.clear();
            click(w, "ins_btn");
            QVERIFY(f->ui.messages.isEmpty());
            QCOMPARE(gridRows(w), 1);

            chooseType(w, texts::kAmarOperations);
            QVERIFY(!visible(w, "tamin_loc") && visible(w, "cmt") && visible(w, "peymankar"));
            QCOMPARE(label(w, "Label6"), texts::kAmarQuantity);
            QVERIFY(!visible(w, "Label8"));
            // The source box, hidden, still holds its text: the same key as the credit row.
            click(w, "ins_btn");
            QCOMPARE(f->ui.messages, QStringList{texts::kRegisterDuplicate});
            fillBoxes(w, {{"cmt", kCanal}, {"peymankar", QStringLiteral("شرکت آبادگران")}, {"mablagh", "120"}});
            f->ui.clear();
            click(w, "ins_btn");
            QVERIFY(f->ui.messages.isEmpty());
            QCOMPARE(gridRows(w), 1); // the county's operations only

            // Refused before anything is written: an over-long contractor, an amount too large.
            fillBoxes(w, {{"cmt", "x"}, {"peymankar", QString(51, QChar(0x06CC))}});
            click(w, "ins_btn");
            fillBoxes(w, {{"peymankar", "y"}, {"mablagh", "1234567890123456"}});
            click(w, "ins_btn");
            QCOMPARE(f->ui.messages.size(), 2);
        });
        QCOMPARE(rows(*f), (QStringList{
            kSaveh + "|" + kVillage + "|" + texts::kAmarCredits + "|" + kSource + "||1402|5|",
            kArak + "|" + kVillage + "|" + texts::kAmarCredits + "|" + kSource + "||1402|2500|",
            kArak + "|" + kVillage + "|" + texts::kAmarOperations + "|" + kSource + "|" + kCanal + "|1402|120|"
                + QStringLiteral("شرکت آبادگران"),
        }));
    }

    // Count and sum of the listed rows: amounts and quantities together without a type filter,
    // each type alone with it; the contractor filter narrows both while it is ticked.
    void searchCountSumContractor()
    {
        signIn("ostan");
        addRow(*f, kArak, texts::kAmarCredits, "", 1500000);
        addRow(*f, kSaveh, texts::kAmarCredits, "", 1000000);
        addRow(*f, kArak, texts::kAmarOperations, kCanal, 300, QStringLiteral("راه سازان"));
        addRow(*f, kSaveh, texts::kAmarOperations, kCanal, 200, QStringLiteral("آبادگران"));
        open([&](QDialog *w) {
            auto figures = [&] { return label(w, "cnt") + " " + label(w, "mablagh_sum"); };
            QCOMPARE(figures(), QString("4 2,500,500"));
            child<QCheckBox>(w, "CheckBox3")->click();
            fillBoxes(w, {{"typ2", texts::kAmarCredits}});
            click(w, "src_btn");
            QCOMPARE(figures(), QString("2 2,500,000"));
            fillBoxes(w, {{"typ2", texts::kAmarOperations}});
            click(w, "src_btn");
            QCOMPARE(figures(), QString("2 500"));

            // A typed contractor changes nothing until its filter is ticked.
            fillBoxes(w, {{"peymankar2", QStringLiteral("آباد")}});
            click(w, "src_btn");
            QCOMPARE(figures(), QString("2 500"));
            child<QCheckBox>(w, "CheckBox4")->click();
            fillBoxes(w, {{"peymankar2", QStringLiteral("آباد")}});
            click(w, "src_btn");
            QCOMPARE(figures(), QString("1 200"));
            QCOMPARE(f->form<Tamar>()->list()->text("city"), kSaveh);

            child<QCheckBox>(w, "CheckBox3")->click();
            child<QCheckBox>(w, "CheckBox4")->click();
            child<QCheckBox>(w, "CheckBox1")->click();
            fillBoxes(w, {{"city2", kArak}});
            click(w, "src_btn");
            QCOMPARE(figures(), QString("2 1,500,300"));

            // The workbook of the list; on an empty list nothing.
            click(w, "N2");
            QCOMPARE(f->ui.openedFiles.size(), 1);
            fillBoxes(w, {{"city2", "none"}});
            click(w, "src_btn");
            click(w, "N2");
            QCOMPARE(f->ui.openedFiles.size(), 1);
        });
    }

    // The delete copies the row into the boxes; a county user is refused there and the row
    // stays; a province user deletes it silently, and the insert puts it back.
    void takeOutAndCountyRefusal()
    {
        addRow(*f, kArak, texts::kAmarOperations, kCanal, 1234, QStringLiteral("راه سازان"));
        const QStringList before = rows(*f);
        auto takeOut = [&](QDialog *w) {
            f->ui.clear();
            click(w, "N1");
            QCOMPARE(child<QComboBox>(w, "city")->currentText(), kArak);
            QCOMPARE(child<QComboBox>(w, "cmt")->currentText(), kCanal);
            QCOMPARE(child<QLineEdit>(w, "mablagh")->text(), QString("1,234"));
            QCOMPARE(child<QLineEdit>(w, "peymankar")->text(), QStringLiteral("راه سازان"));
            QCOMPARE(shownType(w), texts::kAmarOperations);
            QVERIFY(visible(w, "cmt"));
        };
        signIn("city");
        open([&](QDialog *w) {
            takeOut(w);
            QCOMPARE(f->ui.messages, QStringList{texts::kAmarCountyDelete});
            QCOMPARE(gridRows(w), 1);
        });
        QCOMPARE(rows(*f), before);

        signIn("ostan");
        open([&](QDialog *w) {
            takeOut(w);
            QVERIFY(f->ui.messages.isEmpty());
            QCOMPARE(gridRows(w), 0);
            click(w, "N1"); // nothing on an empty list
            QVERIFY(f->ui.messages.isEmpty());
            click(w, "ins_btn");
        });
        QCOMPARE(rows(*f), before);
        QVERIFY(f->scalar("select min(id) from amar").toLongLong() > 1);
    }

    // Without a rights row the window does not open; without the insert and delete rights the
    // insert is hidden and the popup items disabled, also after a row is taken out.
    void rights()
    {
        const qint64 id = f->addUser("u", "p", "ostan");
        f->signInAs(id, "u", "ostan");
        click(f->form<Tmain>(), "N24");
        QCOMPARE(f->ui.messages, QStringList{texts::kNoAccess});
        QVERIFY(f->ui.shownWindows.isEmpty());
        f->grant(id, "amar", false, true, false);
        open([&](QDialog *w) {
            QVERIFY(!visible(w, "ins_btn"));
            QVERIFY(!child<QAction>(w, "N1")->isEnabled() && !child<QAction>(w, "N2")->isEnabled());
        });
    }

private:
    static int gridRows(QWidget *w) { return child<QAbstractItemView>(w, "DBGrid1")->model()->rowCount(); }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbAmar)
#include "db_amar.moc"
