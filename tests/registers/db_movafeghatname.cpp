// The agreements register: the duplicate test, the search with a county user's restriction,
// the take-out delete that leaves the attachments, and the attachments stored and opened.
#include "support/drive.h"
#include "support/texts.h"

#include "core/dataset.h"
#include "app/main_u.h"
#include "registers/movafeghatname_src_u.h"
#include "shared/attachment_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

const QString kArak = QStringLiteral("اراک");
const QString kKind = QStringLiteral("موافقت نامه عمراني");

class DbMovafeghatname : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    QTemporaryDir m_dir;

    void signIn(const QString &name, const QString &level)
    {
        const qint64 id = f->addUser(name, "p", level);
        f->grant(id, "movafeghatname", true, false, true);
        f->signInAs(id, name, level);
    }
    void open(const Steps &steps) { through(*f, f->form<Tmain>(), "N21", "Tmovafeghatname_src", steps); }
    DataSet *listed() { return f->form<Tmovafeghatname_src>()->list(); }
    DataSet *attached() { return f->form<Tmovafeghatname_src>()->attachments()->rows(); }

private slots:
    void init() { f = std::make_unique<Fixture>(true); }
    void cleanup() { f.reset(); }

    // The same county, year, kind and number twice is refused, another number taken; the
    // number filter narrows list and count; a county user sees only the counties holding the
    // user's name, and none when no county does.
    void insertAndSearch()
    {
        signIn("u", "ostan");
        open([&](QDialog *w) {
            fillBoxes(w, {{"city2", kArak}, {"sal2", "1403"}, {"typ2", kKind}, {"num2", "12/345"}});
            click(w, "ins_btn");
            click(w, "ins_btn");
            fillBoxes(w, {{"city2", QStringLiteral("ساوه")}, {"num2", "12/346"}});
            click(w, "ins_btn");
            QCOMPARE(f->ui.messages, (QStringList{texts::kInserted, texts::kRegisterDuplicate, texts::kInserted}));
            QCOMPARE(listed()->recordCount(), 2);
            child<QCheckBox>(w, "CheckBox4")->click();
            fillBoxes(w, {{"num", "346"}});
            click(w, "src_btn");
            QCOMPARE(listed()->recordCount(), 1);
            QCOMPARE(child<QLabel>(w, "cnt")->text(), QString("1"));
        });
        signIn(QStringLiteral("ساوه"), "city");
        open([&](QDialog *) { QCOMPARE(listed()->text("num"), QString("12/346")); });
        signIn(QStringLiteral("مرکزي"), "city");
        open([&](QDialog *w) {
            QCOMPARE(listed()->recordCount(), 0);
            QCOMPARE(child<QLabel>(w, "cnt")->text(), QString("0"));
        });
    }

    // An attachment takes the default description when its box is cancelled; a click on it saves
    // it under the chosen name plus its type and opens it while "open after saving" is ticked.
    // The delete puts the agreement into the entry boxes and leaves the attachment; entered
    // again it gets a new id without it.
    void attachmentsAndDelete()
    {
        signIn("u", "ostan");
        f->dm.exec("insert into movafeghatname (city, sal, typ, num) values (?,?,?,?)", {kArak, "1403", kKind, "9"});
        open([&](QDialog *w) {
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
            click(w, "ins_btn");
            QCOMPARE(listed()->value("id").toInt(), 2);
            QCOMPARE(attached()->recordCount(), 0);
        });
        QCOMPARE(f->scalar("select movafeghatname_id from movafeghatname_pic").toInt(), 1);
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbMovafeghatname)
#include "db_movafeghatname.moc"
