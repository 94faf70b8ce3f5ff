// The attachments' refusals, each storing nothing: an empty file, a file that cannot be read, a
// full disk under the database or under the file written to open one; a leading dot is no
// extension. Through the attachment list over the five tables and in the four windows.
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_pic_u.h"
#include "core/dates.h"
#include "core/errors.h"
#include "db/setup.h"
#include "registers/azmayeshgah_ins_u.h"
#include "registers/khadamat_pic_u.h"
#include "registers/movafeghatname_src_u.h"
#include "shared/attachment_list.h"

#include <QComboBox>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

const AttachmentTable kTables[] = {
    {"ghir_pic", "pk", "ghir_id", "ext", "cmt", "pic", {}, {}},
    {"zamaem_ghir", "id", {}, "pictype", "cmt", "pic", {"ramz"}, {}},
    {"az_pic", "pk", "cod", "ext", "cmt", "pic", {}, {}},
    {"khadamat_pic", "id", "khadamat_id", "pictyp", "cmt", "pic", {}, {}},
    {"movafeghatname_pic", "id", "movafeghatname_id", "pictyp", "cmt", "pic", {}, {}},
};

// The database's disk full for the next insert into `table` (or free again), as the engine
// says it: SQLite at a page count it may not pass ("database or disk is full"); the server,
// whose disk a test cannot fill, answers the insert with its disk-full error (SQLSTATE 53100)
// from a trigger, in the words of a server set to another language.
void fullDisk(Fixture &f, const QString &table, bool full)
{
    if (!testing_support::usePostgres()) {
        const QString pages = full ? f.scalar("pragma page_count").toString() : QStringLiteral("1073741823");
        db::schemaStatement(f.dm, "pragma max_page_count = " + pages);
        return;
    }
    if (full) {
        db::schemaStatement(f.dm, "create function full_disk() returns trigger language plpgsql as $$ begin "
                                  "raise exception 'konnte Datei \"base/5/16384\" nicht erweitern: Auf dem Gerät ist kein Speicherplatz mehr verfügbar' "
                                  "using errcode = 'disk_full'; end $$");
        db::schemaStatement(f.dm, "create trigger full_disk before insert on " + table
                                      + " for each row execute function full_disk()");
    } else {
        db::schemaStatement(f.dm, "drop function full_disk() cascade");
    }
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

// A small filesystem mounted for the test's life (root only): writes past its size fail as on
// a full disk.
class SmallDisk {
public:
    explicit SmallDisk(const char *size) { m_mounted = ::mount("tmpfs", qPrintable(m_dir.path()), "tmpfs", 0, size) == 0; }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount(qPrintable(m_dir.path()));
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

class DbAttachmentRefusals : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString &name, const QByteArray &bytes) { return writeFile(m_dir.filePath(name), bytes); }

private slots:
    // An empty file, a folder and a missing file are refused before the description is asked,
    // naming the file (with the system's reason when it cannot be read); nothing is stored.
    void emptyOrUnreadableFileStoresNothing()
    {
        const QString empty = file("empty.pdf", "");
        QDir().mkpath(m_dir.filePath("folder.pdf"));
        const QStringList said{texts::attachmentEmpty(empty), texts::attachmentUnread(m_dir.filePath("folder.pdf")),
                               texts::attachmentUnread(m_dir.filePath("missing.pdf"))};
        for (const AttachmentTable &t : kTables) {
            Fixture f;
            AttachmentList list(f.ctx, t, "list");
            AttachmentList::Add add;
            add.owners = {1};
            add.ask = DescriptionBox{"Title", QStringLiteral("شرح ضميمه"), "d"};
            f.ui.openFiles << empty << m_dir.filePath("folder.pdf") << m_dir.filePath("missing.pdf");
            for (int i = 0; i < 3; ++i)
                QCOMPARE(list.add(add), 0);
            QCOMPARE(f.ui.messages.size(), 3);
            QCOMPARE(f.ui.messages.first(), said.first());
            for (int i = 1; i < 3; ++i) // the system's reason after the sentence
                QVERIFY2(f.ui.messages.at(i).startsWith(said.at(i)) && f.ui.messages.at(i).size() > said.at(i).size() + 2,
                         qPrintable(f.ui.messages.at(i)));
            QVERIFY(f.ui.prompts.isEmpty());
            QCOMPARE(f.count(t.table), qint64(0));
        }
    }

    // The extension is what follows the last dot of the name, not a leading one: ".hidden" has
    // none (not refused as an extension longer than its column), ".scan.pdf" has ".pdf".
    void leadingDotIsPartOfTheName()
    {
        const std::pair<const char *, const char *> names[] = {
            {".hidden", ""}, {"..hidden", ""}, {".scan.pdf", ".pdf"}, {"plain.", ""}, {"a.tar.gz", ".gz"}, {"SCAN.JPG", ".JPG"}};
        for (const AttachmentTable &t : kTables) {
            Fixture f;
            AttachmentList list(f.ctx, t, "list");
            AttachmentList::Add add;
            add.owners = {1};
            add.description = "d";
            QStringList expected;
            for (const auto &[name, ext] : names) {
                f.ui.openFiles << file(name, "bytes");
                QCOMPARE(list.add(add), 1);
                expected << ext;
            }
            QCOMPARE(f.ui.messages, QStringList(std::size(names), texts::kInserted));
            QCOMPARE(rows(f, QStringLiteral("select coalesce(%1, '') from %2 order by %3").arg(t.ext, t.table, t.key)), expected);
        }
    }

    // A store on a full disk names the full disk, the engine's text below, instead of the
    // window's general words; what was stored before stays; with room again the same file is
    // stored.
    void fullDatabaseDiskIsNamed()
    {
        const QString scan = file("scan.pdf", randomBytes(256 * 1024));
        const QString engineText = testing_support::usePostgres() ? "kein Speicherplatz" : "database or disk is full";
        for (const AttachmentTable &t : kTables) {
            Fixture f;
            AttachmentList list(f.ctx, t, "list");
            AttachmentList::Add add;
            add.owners = {1};
            add.description = "d";
            f.ui.openFiles << file("first.jpg", "first");
            QCOMPARE(list.add(add), 1);
            const QString listing = QStringLiteral("select %1, %2, %3 from %4 order by %1").arg(t.key, t.description, t.ext, t.table);
            const QStringList before = rows(f, listing);
            f.ui.clear();
            add.failure = "general words";
            fullDisk(f, t.table, true);
            f.ui.openFiles << scan;
            const int stored = list.add(add);
            fullDisk(f, t.table, false);
            QCOMPARE(stored, 0);
            QCOMPARE(f.ui.messages.size(), 1);
            const QStringList lines = f.ui.messages.first().split('\n');
            QCOMPARE(lines.first(), texts::kAttachmentDiskFull);
            QVERIFY2(lines.size() > 1 && lines.at(1).contains(engineText), qPrintable(f.ui.messages.first()));
            QCOMPARE(rows(f, listing), before);
            f.ui.openFiles << scan;
            QCOMPARE(list.add(add), 1);
        }
    }

    // Opening or saving a file on a full disk names the full disk and the file, the system's
    // text below; nothing is left there and nothing is opened. (A small filesystem stands for
    // the full disk: it needs the rights to mount one.)
    void fullDiskWhenOpening()
    {
        SmallDisk disk("size=64k");
        if (!disk.mounted())
            QSKIP("no filesystem can be mounted here (root only)");
        Fixture f;
        AttachmentList list(f.ctx, kTables[0], "list");
        f.dm.exec("insert into ghir_pic (ghir_id, ext, pic, cmt) values (?,?,?,?)", {1, ".pdf", randomBytes(256 * 1024), "scan"});
        list.listOwner(1);
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", disk.path().toLocal8Bit());
        const QString opened = list.openTemp();
        qputenv("TMPDIR", tmp);
        f.ui.saveFiles << disk.path() + "/copy";
        QCOMPARE(opened + list.saveAs(true), QString());
        const QString system = QString::fromLocal8Bit(std::strerror(ENOSPC));
        QCOMPARE(f.ui.messages, (QStringList{texts::fileDiskFull(disk.path() + "/Tobrenhal.pdf") + '\n' + system,
                                             texts::fileDiskFull(disk.path() + "/copy.pdf") + '\n' + system}));
        QVERIFY(f.ui.openedFiles.isEmpty());
        QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    // The four attachment windows, each on its own row: an empty file is refused naming it and
    // a full disk is named, each storing nothing.
    void fourWindows()
    {
        const PageRights all{true, true, true, true};
        const QString empty = file("empty.jpg", "");
        const QString scan = file("scan.jpg", randomBytes(256 * 1024));
        struct Case {
            const char *table, *window, *button;
            std::function<void(Fixture &)> open;
        };
        const Case cases[] = {
            {"ghir_pic", "Tghir_pic", "ins_btn",
             [&](Fixture &f) {
                 makeCurrent(f, addGhir(f));
                 f.form<Tghir_pic>()->openForCurrent(all);
             }},
            {"az_pic", "Tazmayeshgah_ins", "N2",
             [&](Fixture &f) {
                 f.dm.exec("insert into azmayeshat (moshaver) values ('m')");
                 f.form<Tazmayeshgah_ins>()->openFromMain(all);
             }},
            {"khadamat_pic", "Tkhadamat_pic", "ins_btn",
             [&](Fixture &f) {
                 f.dm.exec(QStringLiteral("insert into khadamat (city) values ('اراك')"));
                 f.form<Tkhadamat_pic>()->openForReport(all, f.scalar("select id from khadamat"));
             }},
            {"movafeghatname_pic", "Tmovafeghatname_src", "N1",
             [&](Fixture &f) {
                 f.dm.exec("insert into movafeghatname (sal) values (?)", {SolarDateText().left(4)});
                 f.form<Tmovafeghatname_src>()->openFromMain(all);
             }},
        };
        for (const Case &c : cases) {
            Fixture f(true);
            QStringList lines;
            f.ui.onShow[c.window] = [&](QDialog *d) {
                if (auto *cmt = d->findChild<QComboBox *>("cmt"))
                    cmt->setEditText("scan");
                f.ui.openFiles << empty;
                click(d, c.button);
                fullDisk(f, c.table, true);
                f.ui.openFiles << scan;
                click(d, c.button);
                fullDisk(f, c.table, false);
                lines = f.ui.messages.value(1).split('\n');
            };
            c.open(f);
            QCOMPARE(QString(c.window) + ": " + f.ui.messages.value(0), QString(c.window) + ": " + texts::attachmentEmpty(empty));
            QCOMPARE(QString(c.window) + ": " + lines.first(), QString(c.window) + ": " + texts::kAttachmentDiskFull);
            QVERIFY(f.ui.messages.size() == 2 && lines.size() > 1);
            QCOMPARE(f.count(c.table), qint64(0));
        }
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbAttachmentRefusals)
#include "db_attachment_refusals.moc"
