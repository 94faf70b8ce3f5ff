// The attachments' refusals, each storing nothing: an empty file, a full disk under the database
// or under the file written to open one; and a leading dot, which is no extension.
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_pic_u.h"
#include "core/dates.h"
#include "db/setup.h"
#include "registers/azmayeshgah_ins_u.h"
#include "registers/khadamat_pic_u.h"
#include "registers/movafeghatname_src_u.h"
#include "shared/attachment_list.h"

#include <QComboBox>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

// The database's disk full for the next insert into `table`, or free again: SQLite at a page
// count it may not pass ("database or disk is full"); the server, whose disk a test cannot fill,
// answers with its disk-full error (SQLSTATE 53100) from a trigger, in a server's other language.
void fullDisk(Fixture &f, const QString &table, bool full)
{
    if (!testing_support::usePostgres())
        db::schemaStatement(f.dm, "pragma max_page_count = " + (full ? f.scalar("pragma page_count").toString() : "1073741823"));
    else if (full)
        db::schemaStatement(f.dm, "create function full_disk() returns trigger language plpgsql as $$ begin raise exception "
                                  "'konnte Datei nicht erweitern: Auf dem Gerät ist kein Speicherplatz mehr verfügbar' "
                                  "using errcode = 'disk_full'; end $$; create trigger full_disk before insert on "
                                      + table + " for each row execute function full_disk()");
    else
        db::schemaStatement(f.dm, "drop function full_disk() cascade");
}

class DbAttachmentRefusals : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Each attachment window: an empty file is refused naming it, a full disk is named (the
    // engine's text below), storing nothing; then ".hidden" is stored without an extension
    // (not refused as one longer than its column).
    void fourWindows()
    {
        const PageRights all{true, true, true, true};
        const bool pg = testing_support::usePostgres();
        const QString empty = writeFile(m_dir.filePath("empty.jpg"), "");
        const QString scan = writeFile(m_dir.filePath("scan.jpg"), QByteArray(256 * 1024, 'x'));
        const QString hidden = writeFile(m_dir.filePath(".hidden"), "x");
        const std::tuple<const char *, const char *, const char *, const char *, std::function<void(Fixture &)>> cases[] = {
            {"ghir_pic", "ext", "Tghir_pic", "ins_btn", [&](Fixture &f) {
                 makeCurrent(f, addGhir(f));
                 f.form<Tghir_pic>()->openForCurrent(all);
             }},
            {"az_pic", "ext", "Tazmayeshgah_ins", "N2", [&](Fixture &f) {
                 f.dm.exec("insert into azmayeshat (moshaver) values ('m')");
                 f.form<Tazmayeshgah_ins>()->openFromMain(all);
             }},
            {"khadamat_pic", "pictyp", "Tkhadamat_pic", "ins_btn", [&](Fixture &f) {
                 f.dm.exec("insert into khadamat (city) values ('c')");
                 f.form<Tkhadamat_pic>()->openForReport(all, f.scalar("select id from khadamat"));
             }},
            {"movafeghatname_pic", "pictyp", "Tmovafeghatname_src", "N1", [&](Fixture &f) {
                 f.dm.exec("insert into movafeghatname (sal) values (?)", {SolarDateText().left(4)});
                 f.form<Tmovafeghatname_src>()->openFromMain(all);
             }},
        };
        for (const auto &[table, ext, window, button, open] : cases) {
            Fixture f(true);
            QStringList stored;
            f.ui.onShow[window] = [&](QDialog *d) {
                if (auto *cmt = d->findChild<QComboBox *>("cmt"))
                    cmt->setEditText("scan");
                f.ui.openFiles << empty << scan << hidden;
                click(d, button);
                fullDisk(f, table, true);
                click(d, button);
                fullDisk(f, table, false);
                stored << QString::number(f.count(table));
                click(d, button);
            };
            open(f);
            const QString full = f.ui.messages.value(1), engine = pg ? "kein Speicherplatz" : "database or disk is full";
            QCOMPARE(QStringList({window, f.ui.messages.value(0), full.section('\n', 0, 0), QString::number(full.section('\n', 1).contains(engine)),
                                  f.ui.messages.value(2), QString::number(f.ui.messages.size())})
                         << stored << rows(f, QString("select count(*) as n, count(nullif(%1, '')) as e from %2").arg(ext, table)),
                     QStringList({window, texts::attachmentEmpty(empty), texts::kAttachmentDiskFull, "1", texts::kInserted, "3", "0", "1|0"}));
        }
    }

    // Opening or saving a file on a full disk names the full disk and the file, the system's text
    // below; nothing is opened or left there. (A small filesystem stands for the full disk: it
    // needs the right to mount one.)
    void fullDiskWhenOpening()
    {
        QTemporaryDir disk;
        if (::mount("tmpfs", qPrintable(disk.path()), "tmpfs", 0, "size=64k") != 0)
            QSKIP("no filesystem can be mounted here (root only)");
        Fixture f;
        f.dm.exec("insert into ghir_pic (ghir_id, ext, pic, cmt) values (1, '.pdf', ?, 'scan')", {QByteArray(256 * 1024, 'x')});
        AttachmentList list(f.ctx, {"ghir_pic", "pk", "ghir_id", "ext", "cmt", "pic", {}, {}}, "list");
        list.listOwner(1);
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", disk.path().toLocal8Bit());
        f.ui.saveFiles << disk.path() + "/copy";
        QString written = list.openTemp();
        written += list.saveAs(true);
        qputenv("TMPDIR", tmp);
        const QStringList left = QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        ::umount(qPrintable(disk.path()));
        const QString system = '\n' + QString::fromLocal8Bit(std::strerror(ENOSPC));
        QCOMPARE(f.ui.messages, (QStringList{texts::fileDiskFull(disk.path() + "/Tobrenhal.pdf") + system,
                                             texts::fileDiskFull(disk.path() + "/copy.pdf") + system}));
        QVERIFY(written.isEmpty() && left.isEmpty() && f.ui.openedFiles.isEmpty());
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbAttachmentRefusals)
#include "db_attachment_refusals.moc"
