// The attachment list over the five attachment tables: add for one or many owners, the
// refusals that store nothing, open, save, save-all and delete (the window shape is driven by
// the bitumen documents and templates windows; the question and password orders of a delete
// are the delete command's own test).
#include "support/drive.h"
#include "support/texts.h"

#include "core/dataset.h"
#include "core/errors.h"
#include "shared/attachment_list.h"

namespace {

const QString kQuestion = QStringLiteral("آيا ضميمه حذف شد؟");

struct Case {
    AttachmentTable table;
    int descriptionWidth, extWidth;
};

const Case kCases[] = {
    {{"ghir_pic", "pk", "ghir_id", "ext", "cmt", "pic", {}, {}}, 50, 5},
    {{"zamaem_ghir", "id", {}, "pictype", "cmt", "pic", {"ramz"}, {}}, 150, 5},
    {{"az_pic", "pk", "cod", "ext", "cmt", "pic", {}, {}}, 50, 5},
    {{"khadamat_pic", "id", "khadamat_id", "pictyp", "cmt", "pic", {}, "cmt"}, 100, 10},
    {{"movafeghatname_pic", "id", "movafeghatname_id", "pictyp", "cmt", "pic", {}, {}}, 100, 10},
};

class DbAttachmentList : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString &name, const QByteArray &bytes) { return writeFile(m_dir.filePath(name), bytes); }
    static bool owned(const Case &c) { return !c.table.owner.isEmpty(); }

private slots:
    // Refusals store nothing: no owner, an empty description, a cancelled dialog, an over-long
    // description or extension, a refused file check. Then one file for two owners in one add,
    // listed per owner, opened through the temp file, saved under a chosen name, saved all under
    // a stem, deleted and listed again.
    void addRefuseOpenSaveDelete()
    {
        for (const Case &c : kCases) {
            Fixture f;
            AttachmentList list(f.ctx, c.table, "list");
            QVERIFY(!list.deleteCurrent({}) && f.ui.messages.isEmpty()); // an empty list: nothing to delete
            const QString ok = file("a.pdf", "x");
            AttachmentList::Add add;
            add.owners = {1};
            add.description = "d";
            if (owned(c)) {
                // Without an owner id nothing is asked and nothing stored.
                for (const QVariantList &owners : {QVariantList{}, QVariantList{1, QVariant()}}) {
                    AttachmentList::Add none = add;
                    none.owners = owners;
                    f.ui.openFiles << ok;
                    QVERIFY(list.add(none) == 0 && f.ui.openFiles.size() == 1);
                    f.ui.openFiles.clear();
                }
                QVERIFY_THROWS_EXCEPTION(AppError, list.store({QVariant()}, "d", StoredFile{"x", ".a"}));
            }
            AttachmentList::Add empty = add;
            empty.description.clear();
            empty.emptyDescription = "empty!";
            f.ui.openFiles << ok;
            QVERIFY(list.add(empty) == 0 && f.ui.openFiles.size() == 1); // no dialog
            QCOMPARE(f.ui.messages, QStringList{"empty!"});
            f.ui.openFiles.clear();
            f.ui.clear();
            QVERIFY(list.add(add) == 0 && f.ui.messages.isEmpty()); // cancelled: no message
            // Too long: named by the column (no caption given here) with its limit.
            AttachmentList::Add longDesc = add;
            longDesc.description = QString(c.descriptionWidth + 1, QChar(0x06CC));
            f.ui.openFiles << ok;
            QCOMPARE(list.add(longDesc), 0);
            const QString ext = QStringLiteral(".") + QString(c.extWidth, 'x');
            f.ui.openFiles << file(QStringLiteral("b") + ext, "y");
            QCOMPARE(list.add(add), 0);
            QCOMPARE(f.ui.messages,
                     (QStringList{texts::tooLong(longDesc.description, texts::columnName(c.table.description), c.descriptionWidth),
                                  texts::tooLong(ext, texts::columnName(c.table.ext), c.extWidth)}));
            AttachmentList::Add checked = add;
            checked.check = [](const StoredFile &sf) { return sf.ext == ".pdf" ? QString("no pdf") : QString(); };
            f.ui.openFiles << ok;
            QVERIFY(list.add(checked) == 0 && f.ui.lastMessage() == "no pdf");
            // Asked after the file; Cancel keeps the default; the longest description fits.
            AttachmentList::Add asked = add;
            asked.ask = DescriptionBox{"Title", QStringLiteral("شرح ضميمه"), QString(c.descriptionWidth, QChar(0x06A9))};
            f.ui.openFiles << ok;
            QVERIFY(list.add(asked) == 1 && f.count(c.table.table) == 1);
            QCOMPARE(f.ui.prompts.last(), "Title|" + asked.ask->prompt + "|" + asked.ask->def);
            QCOMPARE(f.scalar("select " + c.table.description + " from " + c.table.table).toString(), asked.ask->def);

            f.dm.exec("delete from " + c.table.table);
            f.ui.clear();
            const QByteArray bytes("\x00\x01scan\xff", 7);
            f.ui.openFiles << file("scan.jpg", bytes);
            add.owners = {7, 9};
            add.description = QStringLiteral("صورتجلسه");
            add.extra = {{"ramz", "r1"}};
            QVERIFY(list.add(add) == (owned(c) ? 2 : 1) && f.count(c.table.table) == (owned(c) ? 2 : 1));
            QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
            owned(c) ? list.listOwner(9) : list.listAll();
            const DataSet *rows = list.rows();
            QCOMPARE(QStringList({QString::number(rows->recordCount()), rows->text(c.table.description), rows->text(c.table.ext),
                                  owned(c) ? "r1" : rows->text("ramz")}),
                     QStringList({"1", "صورتجلسه", ".jpg", "r1"}));
            const QString temp = list.openTemp();
            QVERIFY(temp.endsWith("/Tobrenhal.jpg") && readFile(temp) == bytes);
            QCOMPARE(f.ui.openedFiles, QStringList{temp});
            f.ui.saveFiles << m_dir.filePath("copy");
            QCOMPARE(list.saveAs(false), m_dir.filePath("copy.jpg"));
            QCOMPARE(f.ui.saveProposals, QStringList{QStringLiteral("صورتجلسه")});
            QVERIFY(readFile(m_dir.filePath("copy.jpg")) == bytes && f.ui.openedFiles.size() == 1); // saved, not opened
            // A file without an extension is stored without one and saved under the name alone.
            f.ui.openFiles << file("plain", "p");
            add.owners = {9};
            QVERIFY(list.add(add) == 1 && list.rows()->recordCount() == 2);
            QCOMPARE(list.saveAll(m_dir.filePath("all")), 2);
            QVERIFY(readFile(m_dir.filePath("all1.jpg")) == bytes && readFile(m_dir.filePath("all2")) == "p");
            const qint64 stored = f.count(c.table.table);
            // A wrong password keeps the row; the right one and Yes remove it and list again.
            f.dm.exec("insert into setting (component, cmt) values (?,?)", {QStringLiteral("رمز حذف"), "123"});
            DeleteDef confirm;
            confirm.question = kQuestion;
            confirm.password = DeleteDef::AskPassword;
            confirm.passwordFirst = true;
            f.ui.inputs << "999";
            QVERIFY(!list.deleteCurrent(confirm));
            QCOMPARE(f.ui.lastMessage(), texts::kPasswordMismatch);
            QVERIFY(f.count(c.table.table) == stored && list.rows()->recordCount() == 2);
            f.ui.answers << Ui::Yes;
            f.ui.inputs << "123";
            QVERIFY(list.deleteCurrent(confirm));
            QCOMPARE(f.ui.questions + QStringList{f.ui.lastMessage()}, (QStringList{kQuestion, texts::kDeleted}));
            QVERIFY(f.count(c.table.table) == stored - 1 && list.rows()->recordCount() == 1);
        }
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbAttachmentList)
#include "db_attachment_list.moc"
