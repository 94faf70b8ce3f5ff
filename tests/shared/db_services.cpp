// The shared services that touch the database: county restriction, value lists, delete
// password, place lists, the log, attachments, exports and grid sorting.
#include "support/drive.h"
#include "support/exports_read.h"

#include "core/errors.h"
#include "shared/attachments.h"
#include "shared/combo_items.h"
#include "shared/delete_password.h"
#include "shared/exports.h"
#include "shared/gridsort.h"
#include "shared/log.h"
#include "shared/place_combo.h"
#include "shared/plain_boxes.h"
#include "shared/settings_list.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTableView>

namespace {

const QString kCountyA = QString::fromUtf8("\u0633\u0645\u0646\u0627\u0646");           // سمنان
const QString kCountyB = QString::fromUtf8("\u0634\u0627\u0647\u0631\u0648\u062F");     // شاهرود
const QString kCountyC = QString::fromUtf8("\u06AF\u0631\u0645\u0633\u0627\u0631");     // گرمسار
const QString kPersianYeh = QString::fromUtf8("\u0639\u0644\u06CC");                    // علی, Persian yeh
const QString kRowNumber = QString::fromUtf8("\u0631\u062F\u064A\u0641");                // رديف

void addPlace(Fixture &f, const QString &ostan, const QString &county, const QString &city, const QString &village)
{
    f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, rosta, cod) values (?,?,?,?,?)"),
              {ostan, county, city, village, "1"});
}

} // namespace

class ServicesTest : public QObject {
    Q_OBJECT
private slots:
    void countyRestriction()
    {
        Fixture f;
        for (const QString &c : {kCountyA, kCountyB, kCountyC})
            addPlace(f, "p", c, c, "v");
        const qint64 ostan = f.addUser("1000000001", "pw", "ostan"), city = f.addUser("1000000002", "pw", "city"),
                     odd = f.addUser("1000000003", "pw", "Admin");
        for (const auto &[user, county] : {std::pair{ostan, kCountyA}, {ostan, kCountyB}, {city, kCountyC}})
            f.addCounty(user, county);
        // The counties a clause lets through, sorted.
        auto seen = [&](const QString &clause, const QVariantList &binds) {
            f.dm.ADOQuery1->open("select city from abadiha where 1=1" + clause, binds);
            QStringList l = ColumnTexts(f.dm.ADOQuery1, "city");
            l.sort();
            return l.join(' ');
        };
        auto run = [&](qint64 id, const QString &level) {
            f.signInAs(id, "u", level);
            QVariantList binds;
            return seen(CountyFilterClause(f.ctx, binds), binds);
        };
        // "admin" sees everything; the others only their counties.
        const QString all = kCountyA + ' ' + kCountyB + ' ' + kCountyC;
        QCOMPARE(run(f.ctx.CurrentUser.prs_id.toLongLong(), "admin"), all);
        QCOMPARE(run(ostan, "ostan"), kCountyA + ' ' + kCountyB);
        QCOMPARE(run(city, "city"), kCountyC);
        // An unknown level (case differs) is restricted like any level but "admin".
        QCOMPARE(run(odd, "Admin"), QString());
        f.addCounty(odd, kCountyB);
        QCOMPARE(run(odd, "Admin"), kCountyB);
        // The clause carries a bound value, not the id pasted into the text.
        {
            QVariantList binds;
            f.signInAs(ostan, "u", "ostan");
            const QString clause = CountyFilterClause(f.ctx, binds, "ghir.city");
            QVERIFY2(clause.contains("ghir.city in") && clause.endsWith("user_id=?)"), qPrintable(clause));
            QCOMPARE(binds, QVariantList{ostan});
        }
        // The second rule: the level exactly "city" sees the counties whose name holds the
        // user's name; every other level is not narrowed by it.
        f.ctx.CurrentUser.karbar = kCountyB.left(3);
        for (const auto &[level, expected] : {std::pair{"city", kCountyB}, {"City", all}, {"ostan", all}}) {
            f.ctx.CurrentUser.level = level;
            QVariantList binds;
            QCOMPARE(seen(CountyNameClause(f.ctx, binds, "city"), binds), expected);
        }
    }

    void valueLists()
    {
        Fixture f;
        const QString list = QString::fromUtf8("\u0628\u0627\u0646\u06A9");
        const QStringList values = {"zeta", "alpha", "  mid  "};
        addSettings(f, {{list, values[0]}, {list, values[1]}, {list, values[2]}, {"other", "x"}});
        // In the order returned, texts untouched; the typed text or the chosen item stays, and
        // an editable box is not told its text changed.
        QComboBox editable;
        editable.setEditable(true);
        editable.addItems({"old1", "old2"});
        editable.setEditText("typed");
        int changes = 0;
        connect(&editable, &QComboBox::currentTextChanged, this, [&] { ++changes; });
        LoadSettingList(f.ctx, list, &editable);
        QCOMPARE(comboItems(&editable), values);
        QCOMPARE(editable.currentText() + QString::number(changes), "typed0");
        QComboBox fixed;
        fixed.addItems({"alpha", "q"});
        LoadSettingList(f.ctx, list, &fixed);
        QCOMPARE(comboItems(&fixed), values);
        QCOMPARE(fixed.currentText(), "alpha");
        LoadSettingList(f.ctx, "none", &editable);
        QCOMPARE(editable.currentText() + QString::number(editable.count()), "typed0");
        QCOMPARE(SettingValue(f.ctx, list) + "|" + SettingValue(f.ctx, "none"), "zeta|");
    }

    // The delete password, asked in the plain or the delete box: no stored password matches
    // nothing, not an empty answer nor Cancel's default "?"; the answer as typed; Cancel never
    // confirms, even when the stored password is "?", which typed does.
    void deletePassword()
    {
        Fixture f;
        const QString plain = QStringLiteral("Password|کلمه عبور|?"), del = QStringLiteral("Delete Password|رمز حذف|?");
        auto asked = [&](const char *box) {
            const bool inDelete = QByteArray(box) == "delete";
            return ConfirmDeletePassword(f.ctx, inDelete ? kDeletePasswordCaption : kPasswordCaption,
                                         inDelete ? kDeletePasswordPrompt : kPasswordPrompt);
        };
        f.ui.inputs << QString();
        QVERIFY(!asked("plain") && !asked("plain"));
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {QStringLiteral("رمز حذف"), "s3cret"});
        f.ui.inputs << "s3cret" << "S3cret" << "s3cret ";
        QVERIFY(asked("plain") && !asked("plain") && !asked("plain"));
        QVERIFY(!asked("delete"));
        f.ui.inputs << "s3cret";
        QVERIFY(asked("delete"));
        QCOMPARE(f.ui.prompts.first() + f.ui.prompts.last(), plain + del);
        f.dm.exec("update setting set cmt='?'");
        QVERIFY(!asked("plain"));
        f.ui.inputs << "?";
        QVERIFY(asked("plain"));
    }

    // The place boxes: which change of a box fills the next list, in which order, narrowed by
    // the box above or by every box above; the next box's text and the lists below stay.
    void placeCascade()
    {
        Fixture f;
        const QString lar = QString::fromUtf8("\u0644\u0627\u0631"); // لار: after گ in Persian order only
        for (const auto &[ostan, county, village] : {std::tuple{"P1", kCountyA, "v2"}, {"P1", lar, "v1"},
                                                     {"P1", kCountyA, "v3"}, {"P1", kCountyC, "v4"}, {"P2", kCountyA, "v9"}})
            addPlace(f, ostan, county, "c", village);
        enum How { Set, Typed, Chosen };
        // How the province box changes under each trigger, and whether the county list fills.
        const std::tuple<PlaceCascade::Trigger, How, bool> triggers[] = {
            {PlaceCascade::Changed, Set, true},   {PlaceCascade::Changed, Typed, true}, {PlaceCascade::ByUser, Set, false},
            {PlaceCascade::ByUser, Typed, true},  {PlaceCascade::ByUser, Chosen, true}, {PlaceCascade::Chosen, Typed, false},
            {PlaceCascade::Chosen, Chosen, true}};
        QWidget host;
        auto cascade = [&](PlaceCascade::Trigger trigger, unsigned flags) {
            const std::array<QComboBox *, 3> b{MakeFreeCombo(&host, "p"), MakeFreeCombo(&host, "c"), MakeFreeCombo(&host, "v")};
            const PlaceLevel levels[] = {{b[0], "ostan"}, {b[1], "shahrestan"}, {b[2], "rosta"}};
            new PlaceCascade(f.ctx, &host, levels, trigger, flags);
            b[1]->setEditText("keep");
            return b;
        };
        for (const auto &[trigger, how, fills] : triggers) {
            QComboBox *province = cascade(trigger, 0)[0];
            if (how == Set) {
                province->setEditText("P1");
            } else if (how == Typed) {
                QTest::keyClicks(province->lineEdit(), "P1");
            } else {
                province->addItem("P1");
                emit province->activated(0);
            }
            QCOMPARE(host.findChildren<QComboBox *>("c").last()->count() > 0, fills);
        }
        const auto sorted = cascade(PlaceCascade::Changed, PlaceCascade::Sorted);
        const auto every = cascade(PlaceCascade::Changed, PlaceCascade::EveryAbove);
        for (const auto &b : {sorted, every})
            b[0]->setEditText("P1");
        QCOMPARE(comboItems(sorted[1]), (QStringList{kCountyA, kCountyC, lar}));
        QCOMPARE(sorted[1]->currentText() + QString::number(sorted[2]->count()), "keep0");
        for (const auto &b : {sorted, every})
            b[1]->setEditText(kCountyA);
        QCOMPARE(comboItems(sorted[2]), (QStringList{"v2", "v3", "v9"}));
        QStringList villages = comboItems(every[2]);
        villages.sort();
        QCOMPARE(villages, (QStringList{"v2", "v3"}));
    }

    void logRow()
    {
        Fixture f;
        const qint64 u = f.addUser("2222222222", "pw", "city");
        f.signInAs(u, "2222222222", "city");
        const QString description = "desc <'x'> " + kPersianYeh;
        WriteLog(f.ctx, description);
        QCOMPARE(rows(f, "select karbar, tarikh, cmt from log where saat<>'' and saat_sys is not null"),
                 QStringList{"2222222222|1405/09/15|" + description});
        // The workstation's address and its name: the address is the last IPv4 address of the
        // local host name, the name that of the address; a host always has one address.
        const QString ip = LocalIP();
        QVERIFY(!QHostAddress(ip).isNull());
        QCOMPARE(rows(f, "select ip, pc_name from log"), QStringList{ip + "|" + IPAddrToName(ip)});
        // An address with no name gives an empty name; a text that is no address too.
        QCOMPARE(IPAddrToName("not an address") + IPAddrToName(QString()), QString());
    }

    // 20 MB of every byte value (a NUL first, a backslash last) chosen, stored in a blob on
    // both databases and read back whole; saved under a name with its own extension; Cancel,
    // a missing folder, a file too large or unreadable: nothing stored, saved or opened.
    void attachmentRoundTrip()
    {
        Fixture f;
        QTemporaryDir dir;
        QByteArray bytes(20 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator(42).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        bytes[0] = '\0';
        bytes[bytes.size() - 1] = '\\';
        const QString src = writeFile(dir.filePath("scan.pdf"), bytes);
        StoredFile file;
        QString chosen;
        QVERIFY(!ChooseAttachment(f.ctx, &file)); // the dialog cancelled
        f.ui.openFiles << src;
        QVERIFY(ChooseAttachment(f.ctx, &file, &chosen));
        QCOMPARE(chosen + " " + file.ext, src + " .pdf");
        f.dm.exec("insert into ghir_pic (ghir_id, ext, pic, cmt) values (?,?,?,?)", {7, file.ext, file.bytes, "scan"});
        f.dm.ADOQuery2->open("select * from ghir_pic");
        const StoredFile back = StoredFileOf(f.dm.ADOQuery2, "pic", "ext");
        QVERIFY(back.bytes == bytes);

        f.ui.saveFiles << dir.filePath("copy.PDF");
        QCOMPARE(OpenAttachment(f.ctx, back, true), dir.filePath("copy.PDF"));
        QVERIFY(readFile(dir.filePath("copy.PDF")) == bytes);
        QCOMPARE(OpenAttachment(f.ctx, back, true), QString()); // cancelled
        f.ui.saveFiles << dir.filePath("missing/x");
        QCOMPARE(OpenAttachment(f.ctx, back, true), QString());
        QVERIFY(f.ui.lastMessage().contains(dir.filePath("missing/x.pdf")) && f.ui.openedFiles.size() == 1);
        QVERIFY(QFile::resize(writeFile(dir.filePath("huge.bin"), ""), kMaxAttachmentBytes + 1)); // sparse
        for (const char *name : {"huge.bin", "nope.jpg"}) {
            f.ui.openFiles << dir.filePath(name);
            QVERIFY(!ChooseAttachment(f.ctx, &file));
            QVERIFY(f.ui.lastMessage().contains(name));
        }
    }

    // One listing exported as an HTML table and as a workbook.
    void exports()
    {
        Fixture f;
        addPlace(f, "  P1  ", "<b>&co", kPersianYeh, "v1");
        addPlace(f, QString::fromUtf8("\u00A0P2"), kCountyA, QString(), "v2"); // a no-break space
        f.dm.exec(QStringLiteral("update abadiha set jamiyat=?, zarib=? where rosta=?"), {1250000, 30.3, "v1"});
        DataSet *q = f.dm.ADOQuery1;
        q->open(QStringLiteral("select ostan, shahrestan, city, jamiyat, zarib from abadiha order by rosta"));
        const QString file = TempExportPath("Tobrenhal.htm");
        const QString totals = "<tr><td></td><td>sum</td><td></td><td>1250000</td></tr>";
        QVERIFY(ExportHtmlTable(f.ctx, file, "T & <x>", q,
                                {{"shahrestan", "county <a>"}, {"city", "شهر"}, {"jamiyat", "n"}, {"zarib", "z"}}, totals));
        QCOMPARE(f.ui.openedFiles, QStringList{file});
        const QByteArray raw = readFile(file);
        QVERIFY(raw.startsWith("\xEF\xBB\xBF<html>\r\n")); // UTF-8 with its mark
        const QString html = QString::fromUtf8(raw.mid(3));
        QVERIFY(html.contains("<title>T &amp; &lt;x&gt;</title>") && html.contains(totals + "\r\n</tbody>"));
        QVERIFY(html.endsWith("</html>\r\n") && !html.contains("<b>&co")); // escaped in the file
        // Header, two records and the caller's totals row.
        const QList<QStringList> rows = htmlRows(html);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.at(0), (QStringList{kRowNumber, "county <a>", "شهر", "n", "z"}));
        QCOMPARE(rows.at(1), (QStringList{"1", "<b>&co", kPersianYeh, "1250000", "30.3"}));
        QCOMPARE(rows.at(2), (QStringList{"2", kCountyA, "", "", ""}));
        QVERIFY(html.contains("<th>county &lt;a&gt;</th>") && html.contains("<td>&lt;b&gt;&amp;co</td>"));
        // One rule for every text a writer takes: "<" alone, "&" alone and both in data cells,
        // in a heading, in the title and in a totals cell.
        {
            const QTemporaryDir dir;
            const QString probe = dir.filePath("probe.htm");
            HtmlTableWriter w(probe, "a<b", {"h<", "h&"});
            QVERIFY(w.open());
            w.row(1, {"5 < 6", "R&D"});
            w.row(2, {"<5% & كم", "x > y"});
            // Cell by cell: UTF-8 bytes escaped alike; numbers as a listing writes them.
            const double numbers[] = {20, -3, 12.5, 0.1 + 0.2, 4.08375, 1e-05, 0.00012, 1e15, 23569108716387.25, 1.0 / 3};
            QStringList expected;
            for (const double n : numbers) {
                w.beginRow(3);
                w.utf8Cell(QByteArrayView("a<b & \xD9\x8A"));
                w.numberCell(n);
                w.endRow();
                expected << "<tr>\r\n<td>3</td>\r\n<td>a&lt;b &amp; \u064A</td>\r\n<td>" + DataSet::valueText(n) + "</td>\r\n</tr>";
            }
            w.totals(HtmlTotalsRow({"", "<", "&"}, true));
            QVERIFY(w.finish());
            const QString t = QString::fromUtf8(readFile(probe));
            QVERIFY2(t.contains(expected.join("\r\n")), qPrintable(t));
            QCOMPARE(DataSet::valueText(23569108716387.25), "23569108716387.3");
            for (const char *line : {"<title>a&lt;b</title>", "<th>h&lt;</th>", "<th>h&amp;</th>", "<td>5 &lt; 6</td>",
                                     "<td>R&amp;D</td>", "<td>&lt;5% &amp; كم</td>", "<td>x &gt; y</td>",
                                     "<td>&lt;</td>\r\n<td>&amp;</td>\r\n</tr>"})
                QVERIFY2(t.contains(QString::fromUtf8(line)), line);
        }
        // A file that cannot be written: told, nothing opened.
        const QString bad = TempExportPath("no/such/dir/rep.htm");
        QVERIFY(!ExportHtmlTable(f.ctx, bad, "t", q, {{"city", "c"}}));
        QVERIFY(f.ui.lastMessage().contains(bad) && f.ui.openedFiles.size() == 1);
        // An unknown field ends the command before the file is touched.
        QFile::remove(file);
        QVERIFY_THROWS_EXCEPTION(AppError, ExportHtmlTable(f.ctx, file, "t", q, {{"nofield", "c"}}));
        QVERIFY(!QFile::exists(file));

        f.ui.clear();
        const QHash<QString, QString> titles = {{"ostan", "استان"}, {"city", "شهر"}};
        const QString path = ExportToExcel(f.ctx, q, titles);
        QVERIFY(path.startsWith(QDir::tempPath()) && path.endsWith(".xlsx") && q->currentRow() == 0);
        QCOMPARE(f.ui.openedFiles, QStringList{path});
        // Titles in the dataset's order (a field without a title takes its name), then each
        // cell's text as stored (its outer blanks, a no-break space too), a number as a number;
        // a null is empty. Titles bold over dash-dot borders, data rows plain with thin ones.
        const Sheet s = readXlsx(path);
        QCOMPARE(s.name, "Sheet1");
        QCOMPARE(s.row(1), QStringList({"استان", "shahrestan", "شهر", "jamiyat", "zarib"}));
        QCOMPARE(s.row(2), QStringList({"  P1  ", "<b>&co", kPersianYeh, "1250000", "30.3"}));
        QCOMPARE(s.row(3), QStringList({QString::fromUtf8("\u00A0P2"), kCountyA}));
        QVERIFY(s.cells.value("D2").number && !s.cells.contains("A4"));
        QVERIFY(s.cells.value("A1").bold && s.cells.value("A1").border == "slantDashDot");
        QVERIFY(!s.cells.value("M3").bold && s.cells.value("M3").border == "thin");
        // No record: the titles only, no bordered data row.
        q->open(QStringLiteral("select ostan, city from abadiha where 1=0"));
        const QString empty = ExportToExcel(f.ctx, q, titles);
        const Sheet e = readXlsx(empty);
        QCOMPARE(e.row(1) + e.row(2), QStringList({"استان", "شهر"}));
        QVERIFY(!e.cells.contains("A2") && f.ui.openedFiles.size() == 2);
        // The next workbook of the same kind (the same titles) replaces it, another kind's stays;
        // at the end the workbooks go, while the pages of the fixed names stay for the browser
        // that may still show them.
        const QString again = ExportToExcel(f.ctx, q, titles);
        QVERIFY(!QFile::exists(empty) && QFile::exists(again) && QFile::exists(path));
        const QString fixed = TempExportPath("Tobrenhal.xls");
        QFile(fixed).open(QIODevice::WriteOnly);
        RemoveTempFiles();
        QVERIFY(!QFile::exists(again) && !QFile::exists(path));
        QVERIFY(QFile::exists(fixed));
        QFile::remove(fixed);
        // A temp folder that cannot be written (a plain file in its place): told, nothing opened.
        const QByteArray tmp = qgetenv("TMPDIR");
        const QString blocker = QDir(QString::fromLocal8Bit(tmp)).filePath("blocker");
        QFile(blocker).open(QIODevice::WriteOnly);
        qputenv("TMPDIR", blocker.toLocal8Bit());
        const int messages = f.ui.messages.size();
        QCOMPARE(ExportToExcel(f.ctx, q, titles), QString());
        qputenv("TMPDIR", tmp);
        QVERIFY(f.ui.messages.size() == messages + 1 && f.ui.openedFiles.size() == 3);
    }

    void gridSort()
    {
        Fixture f;
        for (const auto &[city, village] : {std::pair{kCountyB, "v3"}, {kCountyC, "v1"}, {kCountyA, "v2"}})
            addPlace(f, "P", "c", city, village);
        DataSet *q = f.dm.ADOQuery1;
        q->open(QStringLiteral("select rosta, city from abadiha order by id"));
        QTableView grid;
        grid.resize(400, 300);
        BindGrid(&grid, q);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QHeaderView *header = grid.horizontalHeader();
        // Clicks a title; returns the sort, the column's texts and which title is bold.
        auto clickTitle = [&](int c) {
            const int x = header->sectionViewportPosition(c) + header->sectionSize(c) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
            QStringList l{q->sort()};
            for (int r = 0; r < q->rowCount(); ++r)
                l << q->data(q->index(r, c)).toString();
            for (int t = 0; t < 2; ++t)
                l << (q->headerData(t, Qt::Horizontal, Qt::FontRole).value<QFont>().bold() ? "bold" : "plain");
            return l;
        };
        QCOMPARE(clickTitle(0), (QStringList{"rosta ASC", "v1", "v2", "v3", "bold", "plain"}));
        // Another title: ascending first; the previous title is plain again. Again: descending.
        QCOMPARE(clickTitle(1), (QStringList{"city ASC", kCountyA, kCountyB, kCountyC, "plain", "bold"}));
        QCOMPARE(clickTitle(1), (QStringList{"city DESC", kCountyC, kCountyB, kCountyA, "plain", "bold"}));
        // The grid's current row is the dataset's and the other way round.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(q->index(2, 0)).center());
        QCOMPARE(q->text("city"), kCountyA);
        q->setCurrentRow(1);
        QVERIFY(grid.currentIndex().row() == 1 && grid.selectionModel()->isRowSelected(1, {}));
        q->reopen("rosta");
        QVERIFY(grid.currentIndex().row() == q->currentRow() && q->text("city") == kCountyB);
    }
};

VARNOSET_DB_TEST_MAIN(ServicesTest)
#include "db_services.moc"
