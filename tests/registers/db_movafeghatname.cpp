// The agreements register: the insert and its duplicate test, the search with a county user's
// restriction, the take-out delete that leaves the attachments, and the attachments stored,
// saved, opened and deleted.
#include "support/drive.h"
#include "support/texts.h"

#include "core/dataset.h"
#include "core/main_u.h"
#include "registers/movafeghatname_src_u.h"
#include "shared/attachment_list.h"
#include "shared/combo_items.h"
#include "shared/dates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

const QString kArak = QStringLiteral("اراک");
const QString kSaveh = QStringLiteral("ساوه");
const QString kKind = QStringLiteral("موافقت نامه عمراني");

qint64 addAgreement(Fixture &f, const QString &city, const QString &num)
{
    f.dm.exec("insert into movafeghatname (city, sal, typ, num) values (?,?,?,?)", {city, "1403", kKind, num});
    return f.scalar("select max(id) from movafeghatname").toLongLong();
}

QString text(QWidget *w, const QString &name)
{
    if (auto *c = w->findChild<QComboBox *>(name))
        return c->currentText();
    return child<QLineEdit>(w, name)->text();
}

void clickRow(QWidget *w, const QString &grid, int row)
{
    auto *g = child<QTableView>(w, grid);
    int column = 0;
    while (g->isColumnHidden(column))
        ++column;
    const QPoint p = g->visualRect(g->model()->index(row, column)).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, p);
}

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
    Tmovafeghatname_src *window() { return f->form<Tmovafeghatname_src>(); }
    QString scan(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath("scan.jpg");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void init() { f = std::make_unique<Fixture>(true); }
    void cleanup() { f.reset(); }

    // The same county, year, kind and number twice is refused; another number is taken. The
    // filters narrow the list and the count; a county user sees only the counties holding the
    // user's name, and none when no county does.
    void insertAndSearch()
    {
        signIn("u", "ostan");
        InitToday();
        const QString year = SolarDateText().left(4);
        open([&](QDialog *w) {
            QCOMPARE(text(w, "sal2"), year);
            QCOMPARE(text(w, "sal"), year);
            QCOMPARE(label(w), QString("0"));
            fillBoxes(w, {{"city2", kArak}, {"typ2", kKind}, {"num2", "12/345"}});
            f->ui.clear();
            click(w, "ins_btn");
            click(w, "ins_btn");
            fillBoxes(w, {{"num2", "12/346"}});
            click(w, "ins_btn");
            QCOMPARE(f->ui.messages, (QStringList{texts::kInserted, texts::kRegisterDuplicate, texts::kInserted}));
            QCOMPARE(window()->list()->recordCount(), 2);
            // Refused, nothing written: a number longer than its column.
            fillBoxes(w, {{"num2", QString(36, '1')}});
            click(w, "ins_btn");
            QCOMPARE(f->count("movafeghatname"), 2);

            child<QCheckBox>(w, "CheckBox4")->click();
            fillBoxes(w, {{"num", "346"}});
            click(w, "src_btn");
            QCOMPARE(window()->list()->recordCount(), 1);
            QCOMPARE(label(w), QString("1"));
        });
        QCOMPARE(f->scalar("select city from movafeghatname where num=?", {"12/346"}).toString(), kArak);
        QCOMPARE(f->scalar("select sal from movafeghatname where num=?", {"12/346"}).toString(), year);

        addAgreement(*f, kSaveh, "7");
        signIn(QStringLiteral("ساوه"), "city");
        // The number filter stays ticked, emptied by the opener.
        open([&](QDialog *w) { QCOMPARE(ColumnTexts(window()->list(), "city"), QStringList{kSaveh}); QCOMPARE(label(w), QString("1")); });
        signIn(QStringLiteral("مرکزي"), "city");
        open([&](QDialog *w) {
            QCOMPARE(window()->list()->recordCount(), 0);
            QCOMPARE(label(w), QString("0"));
        });
    }

    // The delete puts the agreement into the entry boxes and leaves its attachments; entered
    // again it gets a new id without them. A cancelled description stores the default.
    void deleteKeepsAttachments()
    {
        signIn("u", "ostan");
        const qint64 id = addAgreement(*f, kArak, "9");
        open([&](QDialog *w) {
            f->ui.openFiles << scan("jpeg");
            f->ui.inputs << ScriptedUi::kCancel;
            click(w, "N1");
            QCOMPARE(f->ui.prompts.last(), "Title|" + texts::kAgreementAttachmentPrompt + "|"
                                               + texts::kAgreementAttachmentDefault);
            QCOMPARE(window()->attachments()->rows()->recordCount(), 1);

            f->ui.clear();
            click(w, "N3");
            QCOMPARE(f->ui.messages, QStringList{texts::kDeleted});
            QCOMPARE(text(w, "city2") + text(w, "sal2") + text(w, "typ2") + text(w, "num2"), kArak + "1403" + kKind + "9");
            QCOMPARE(window()->list()->recordCount(), 0);
            QCOMPARE(window()->attachments()->rows()->recordCount(), 0);
            f->ui.clear();
            click(w, "N1"); // nothing on an empty list, no dialog
            QVERIFY(f->ui.prompts.isEmpty() && f->ui.messages.isEmpty());

            click(w, "ins_btn");
            QCOMPARE(window()->list()->recordCount(), 1);
            QVERIFY(window()->list()->value("id").toLongLong() != id);
            QCOMPARE(window()->attachments()->rows()->recordCount(), 0);
        });
        QCOMPARE(f->scalar("select movafeghatname_id from movafeghatname_pic where cmt=?",
                           {texts::kAgreementAttachmentDefault}).toLongLong(), id);
    }

    // A click on an attachment saves it under the chosen name plus its type, and opens it only
    // while "open after saving" is ticked; the attachment's delete asks nothing.
    void attachmentsSavedAndOpened()
    {
        signIn("u", "ostan");
        const qint64 id = addAgreement(*f, kArak, "9");
        AttachmentList list(f->ctx, window()->attachments()->table(), "l");
        list.store({id}, QStringLiteral("صفحه اول"), StoredFile{"JPEGDATA", ".jpg"});
        open([&](QDialog *w) {
            f->ui.saveFiles << m_dir.filePath("copy1");
            clickRow(w, "DBGrid2", 0);
            QCOMPARE(f->ui.saveProposals, QStringList{QStringLiteral("صفحه اول")});
            QCOMPARE(f->ui.openedFiles, QStringList{m_dir.filePath("copy1.jpg")});
            child<QCheckBox>(w, "CheckBox5")->click();
            f->ui.saveFiles << m_dir.filePath("copy2");
            clickRow(w, "DBGrid2", 0);
            QFile saved(m_dir.filePath("copy2.jpg"));
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QCOMPARE(saved.readAll(), QByteArray("JPEGDATA"));
            QCOMPARE(f->ui.openedFiles.size(), 1);

            f->ui.clear();
            click(w, "N2");
            QVERIFY(f->ui.messages.isEmpty() && f->ui.questions.isEmpty());
            QCOMPARE(f->count("movafeghatname_pic"), 0);
        });
    }

private:
    QString label(QWidget *w) { return child<QLabel>(w, "cnt")->text(); }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbMovafeghatname)
#include "db_movafeghatname.moc"
