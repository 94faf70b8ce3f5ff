// The statistics register: the type layouts, the duplicate test across types, the count and
// grouped sum, the contractor filter, the take-out delete and the county user's refusal.
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/texts.h"
#include "support/readback.h"

#include "app/main_u.h"
#include "registers/amar_u.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString kArak = QStringLiteral("اراک");
const QString kSaveh = QStringLiteral("ساوه");
const QString kCanal = QStringLiteral("کانال بتني-متر");
const QString kOps = texts::kAmarOperations;

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

class DbAmar : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

    void signIn(const QString &level, bool darj = true)
    {
        const qint64 id = f->addUser("u_" + level, "p", level);
        f->grant(id, "amar", darj, false, true);
        f->signInAs(id, "u_" + level, level);
    }
    void open(const Steps &steps) { through(*f, f->form<Tmain>(), "N24", "Tamar", steps); }
    int listed() { return f->form<Tamar>()->list()->recordCount(); }

private slots:
    void init() { f = std::make_unique<Fixture>(true); }
    void cleanup() { f.reset(); }

    // Each type shows its own boxes; the same county, village, source, title and year is
    // refused whatever the type; an insert says nothing and lists the county's rows of its type.
    void insertAcrossTypes()
    {
        signIn("ostan");
        addRow(*f, kSaveh, texts::kAmarCredits, 5);
        open([&](QDialog *w) {
            QVERIFY(type(w, 0)->isChecked() && shown(w, "tamin_loc") && !shown(w, "cmt") && !shown(w, "peymankar"));
            fillBoxes(w, {{"city", kArak}, {"rosta", "خنداب"}, {"tamin_loc", "ملي"}, {"tamin_sal", "1402"},
                          {"mablagh", "2,500"}});
            click(w, "ins_btn");
            type(w, 1)->click();
            QVERIFY(!shown(w, "tamin_loc") && shown(w, "cmt") && shown(w, "peymankar"));
            click(w, "ins_btn"); // the hidden source still holds its text: the credit row's key
            QCOMPARE(f->ui.messages, QStringList{texts::kRegisterDuplicate});
            fillBoxes(w, {{"cmt", kCanal}, {"peymankar", "آبادگران"}, {"mablagh", "120"}});
            click(w, "ins_btn");
            QCOMPARE(f->ui.messages.size(), 1);
            QCOMPARE(listed(), 1);
        });
        QCOMPARE(amarRows(*f), (QStringList{kSaveh + "|" + texts::kAmarCredits + "|ملي||1402|5|",
                                        kArak + "|" + texts::kAmarCredits + "|ملي||1402|2500|",
                                        kArak + "|" + kOps + "|ملي|" + kCanal + "|1402|120|آبادگران"}));
    }

    // Amounts and quantities are summed together without a type filter, each type alone with
    // it; the contractor filter narrows the list and the sum while it is ticked.
    void countSumContractor()
    {
        signIn("ostan");
        addRow(*f, kArak, texts::kAmarCredits, 1500000);
        addRow(*f, kSaveh, texts::kAmarCredits, 1000000);
        addRow(*f, kArak, kOps, 300, "راه سازان");
        addRow(*f, kSaveh, kOps, 200, "آبادگران");
        open([&](QDialog *w) {
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

    // The delete takes the row into the boxes; a county user is refused there, the row stays
    // and a missing insert right stays hidden; a province user deletes silently and the insert
    // puts the row back under a new id. On an empty list it does nothing, and the export
    // writes the workbook with its title row.
    void takeOut()
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
        signIn("city", false);
        open([&](QDialog *w) {
            takeOut(w);
            QCOMPARE(f->ui.messages, QStringList{texts::kAmarCountyDelete});
        });
        QCOMPARE(amarRows(*f), before);
        signIn("ostan");
        open([&](QDialog *w) {
            takeOut(w);
            QCOMPARE(listed(), 0);
            click(w, "N1");
            QVERIFY(f->ui.messages.isEmpty());
            click(w, "N2");
            QCOMPARE(readXlsx(f->ui.openedFiles.value(0)).row(1).value(1), QStringLiteral("شهرستان"));
            click(w, "ins_btn");
        });
        QCOMPARE(amarRows(*f), before);
        QCOMPARE(f->scalar("select min(id) from amar").toLongLong(), 2);
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbAmar)
#include "db_amar.moc"
