// The shared services that touch the database: rights and county restriction, value lists,
// delete password, place lists, the log, attachments, exports and grid sorting.
#include "support/fixture.h"

#include "core/errors.h"
#include "shared/attachments.h"
#include "shared/dates.h"
#include "shared/delete_password.h"
#include "shared/exports.h"
#include "shared/gridsort.h"
#include "shared/log.h"
#include "shared/place_combo.h"
#include "shared/settings_list.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QRandomGenerator>
#include <QTableView>
#include <QXmlStreamReader>

namespace {

const QString kCountyA = QString::fromUtf8("\u0633\u0645\u0646\u0627\u0646");           // سمنان
const QString kCountyB = QString::fromUtf8("\u0634\u0627\u0647\u0631\u0648\u062F");     // شاهرود
const QString kCountyC = QString::fromUtf8("\u06AF\u0631\u0645\u0633\u0627\u0631");     // گرمسار
const QString kPersianYeh = QString::fromUtf8("\u0639\u0644\u06CC");                    // علی, Persian yeh
const QString kRowNumber = QString::fromUtf8("\u0631\u062F\u064A\u0641");                // رديف

void addPlace(Fixture &f, const QString &ostan, const QString &county, const QString &city, const QString &village)
{
    f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, rosta, cod) values (?,?,?,?,?)"),
              {ostan, county, city, village, QStringLiteral("1")});
}

QStringList comboItems(const QComboBox &c)
{
    QStringList l;
    for (int i = 0; i < c.count(); ++i)
        l << c.itemText(i);
    return l;
}

QStringList cities(Fixture &f, const QString &clause, const QVariantList &binds)
{
    DataSet *q = f.dm.ADOQuery1;
    q->open(QStringLiteral("select city from abadiha where 1=1") + clause + QStringLiteral(" order by city"), binds);
    QStringList l;
    for (int r = 0; r < q->recordCount(); ++r)
        l << q->text(QStringLiteral("city"), r);
    return l;
}

QByteArray unzipMember(const QString &zip, const QString &member)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qFatal("unzip %s %s failed", qPrintable(zip), qPrintable(member));
    return p.readAllStandardOutput();
}

// What a workbook's first sheet holds, read back from its XML parts.
struct SheetCell {
    QString text;
    bool number = false;
    bool bold = false;
    QString border; // style of the left border ("" when none)
};

struct Sheet {
    QString name;
    QHash<QString, SheetCell> cells; // "A1" -> cell
    QList<QPair<int, int>> widthCols; // min, max of the <col> ranges
    QList<double> widths;
};

Sheet readXlsx(const QString &path)
{
    Sheet s;
    {
        QXmlStreamReader x(unzipMember(path, QStringLiteral("xl/workbook.xml")));
        while (x.readNextStartElement() || !x.atEnd()) {
            if (x.isStartElement() && x.name() == QLatin1String("sheet") && s.name.isEmpty())
                s.name = x.attributes().value(QLatin1String("name")).toString();
            if (!x.isStartElement())
                x.readNext();
        }
    }
    // Styles: fonts (bold), borders (left style), cellXfs (font and border ids).
    QList<bool> fontBold;
    QStringList borderLeft;
    QList<QPair<int, int>> xfs;
    {
        QXmlStreamReader x(unzipMember(path, QStringLiteral("xl/styles.xml")));
        QString section;
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement())
                continue;
            const auto n = x.name();
            if (n == QLatin1String("fonts") || n == QLatin1String("borders") || n == QLatin1String("cellXfs")
                || n == QLatin1String("cellStyleXfs"))
                section = n.toString();
            else if (n == QLatin1String("font") && section == QLatin1String("fonts"))
                fontBold << false;
            else if (n == QLatin1String("b") && section == QLatin1String("fonts"))
                fontBold.last() = true;
            else if (n == QLatin1String("border") && section == QLatin1String("borders"))
                borderLeft << QString();
            else if (n == QLatin1String("left") && section == QLatin1String("borders"))
                borderLeft.last() = x.attributes().value(QLatin1String("style")).toString();
            else if (n == QLatin1String("xf") && section == QLatin1String("cellXfs"))
                xfs << qMakePair(x.attributes().value(QLatin1String("fontId")).toInt(),
                                 x.attributes().value(QLatin1String("borderId")).toInt());
        }
    }
    QXmlStreamReader x(unzipMember(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    SheetCell cell;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            const auto n = x.name();
            if (n == QLatin1String("col")) {
                s.widthCols << qMakePair(x.attributes().value(QLatin1String("min")).toInt(),
                                         x.attributes().value(QLatin1String("max")).toInt());
                s.widths << x.attributes().value(QLatin1String("width")).toDouble();
            } else if (n == QLatin1String("c")) {
                ref = x.attributes().value(QLatin1String("r")).toString();
                cell = SheetCell();
                const int style = x.attributes().value(QLatin1String("s")).toInt();
                if (style >= 0 && style < xfs.size()) {
                    cell.bold = fontBold.value(xfs[style].first);
                    cell.border = borderLeft.value(xfs[style].second);
                }
                const QString t = x.attributes().value(QLatin1String("t")).toString();
                cell.number = t.isEmpty() || t == QLatin1String("n");
            } else if (n == QLatin1String("v") || n == QLatin1String("t")) {
                cell.text += x.readElementText();
            }
        } else if (x.isEndElement() && x.name() == QLatin1String("c")) {
            if (cell.text.isEmpty())
                cell.number = false;
            s.cells.insert(ref, cell);
        }
    }
    if (x.hasError())
        qFatal("sheet xml: %s", qPrintable(x.errorString()));
    return s;
}

QString unescapeHtml(QString s)
{
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

// The cells of each <tr> of an exported table, unescaped (header cells included).
QList<QStringList> htmlRows(const QString &html)
{
    QList<QStringList> rows;
    const QStringList lines = html.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("<tr")))
            rows << QStringList();
        for (const char *tag : {"td", "th"}) {
            const QString open = QStringLiteral("<%1>").arg(QLatin1String(tag));
            const QString close = QStringLiteral("</%1>").arg(QLatin1String(tag));
            if (line.startsWith(open) && line.endsWith(close) && !rows.isEmpty())
                rows.last() << unescapeHtml(line.mid(open.size(), line.size() - open.size() - close.size()));
        }
    }
    return rows;
}

} // namespace

class ServicesTest : public QObject {
    Q_OBJECT
private slots:
    void pageRights()
    {
        Fixture f;
        const qint64 u = f.addUser(QStringLiteral("1234567890"), QStringLiteral("pw"), QStringLiteral("ostan"));
        f.grant(u, QStringLiteral("ghir"), true, false, true);
        f.grant(u, QStringLiteral("az"), true, true, true, false);
        f.signInAs(u, QStringLiteral("1234567890"), QStringLiteral("ostan"));

        const auto r = CheckPageAccess(f.ctx, QStringLiteral("ghir"));
        QVERIFY(r.has_value());
        QVERIFY(r->darj && !r->virayesh && r->hazf && r->namayesh);
        QVERIFY(f.ui.messages.isEmpty());
        // No row, and a row without the right to open: the refusal.
        QVERIFY(!CheckPageAccess(f.ctx, QStringLiteral("g_rep")).has_value());
        QCOMPARE(f.ui.lastMessage(), kNoAccessMessage);
        QVERIFY(!CheckPageAccess(f.ctx, QStringLiteral("az")).has_value());
        QCOMPARE(f.ui.messages.size(), 2);
        // Another user's row gives nothing.
        const qint64 other = f.addUser(QStringLiteral("1111111111"), QStringLiteral("pw"), QStringLiteral("ostan"));
        f.signInAs(other, QStringLiteral("1111111111"), QStringLiteral("ostan"));
        QVERIFY(!CheckPageAccess(f.ctx, QStringLiteral("ghir")).has_value());
    }

    void countyRestriction()
    {
        Fixture f;
        for (const QString &c : {kCountyA, kCountyB, kCountyC})
            addPlace(f, QStringLiteral("p"), c, c, QStringLiteral("v"));
        const qint64 ostan = f.addUser(QStringLiteral("1000000001"), QStringLiteral("pw"), QStringLiteral("ostan"));
        const qint64 city = f.addUser(QStringLiteral("1000000002"), QStringLiteral("pw"), QStringLiteral("city"));
        const qint64 odd = f.addUser(QStringLiteral("1000000003"), QStringLiteral("pw"), QStringLiteral("Admin"));
        f.addCounty(ostan, kCountyA);
        f.addCounty(ostan, kCountyB);
        f.addCounty(city, kCountyC);

        QStringList all = {kCountyA, kCountyB, kCountyC};
        std::sort(all.begin(), all.end(), [](const QString &a, const QString &b) { return a < b; });
        auto run = [&](qint64 id, const QString &level) {
            f.signInAs(id, QStringLiteral("u"), level);
            QVariantList binds;
            const QString clause = CountyFilterClause(f.ctx, binds);
            QStringList got = cities(f, clause, binds);
            std::sort(got.begin(), got.end(), [](const QString &a, const QString &b) { return a < b; });
            return got;
        };
        // "admin" sees everything; the others only their counties.
        const qint64 admin = f.ctx.CurrentUser.prs_id.toLongLong();
        QCOMPARE(run(admin, QStringLiteral("admin")), all);
        QStringList ab = {kCountyA, kCountyB};
        std::sort(ab.begin(), ab.end(), [](const QString &a, const QString &b) { return a < b; });
        QCOMPARE(run(ostan, QStringLiteral("ostan")), ab);
        QCOMPARE(run(city, QStringLiteral("city")), QStringList{kCountyC});
        // An unknown level (case differs) is restricted like any level but "admin".
        QCOMPARE(run(odd, QStringLiteral("Admin")), QStringList());
        f.addCounty(odd, kCountyB);
        QCOMPARE(run(odd, QStringLiteral("Admin")), QStringList{kCountyB});
        // The clause carries a bound value, not the id pasted into the text.
        QVariantList binds;
        f.signInAs(ostan, QStringLiteral("u"), QStringLiteral("ostan"));
        const QString clause = CountyFilterClause(f.ctx, binds, QStringLiteral("ghir.city"));
        QVERIFY(clause.contains(QLatin1String("ghir.city in")));
        QVERIFY(clause.endsWith(QLatin1String("user_id=?)")));
        QCOMPARE(binds, QVariantList{ostan});
    }

    void valueLists()
    {
        Fixture f;
        const QString list = QString::fromUtf8("\u0628\u0627\u0646\u06A9");
        const QStringList values = {QStringLiteral("zeta"), QStringLiteral("alpha"), QStringLiteral("  mid  ")};
        for (const QString &v : values)
            f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"), {list, v});
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"),
                  {QStringLiteral("other"), QStringLiteral("x")});

        QComboBox editable;
        editable.setEditable(true);
        editable.addItems({QStringLiteral("old1"), QStringLiteral("old2")});
        editable.setEditText(QStringLiteral("typed"));
        int changes = 0;
        connect(&editable, &QComboBox::currentTextChanged, this, [&] { ++changes; });
        LoadSettingList(f.ctx, list, &editable);
        QCOMPARE(comboItems(editable), values); // in the order returned, texts untouched
        QCOMPARE(editable.currentText(), QStringLiteral("typed"));
        QCOMPARE(changes, 0);

        QComboBox fixed;
        fixed.addItems({QStringLiteral("alpha"), QStringLiteral("q")});
        fixed.setCurrentIndex(0);
        LoadSettingList(f.ctx, list, &fixed);
        QCOMPARE(comboItems(fixed), values);
        QCOMPARE(fixed.currentText(), QStringLiteral("alpha"));

        LoadSettingList(f.ctx, QStringLiteral("none"), &editable);
        QCOMPARE(editable.count(), 0);
        QCOMPARE(editable.currentText(), QStringLiteral("typed"));

        QCOMPARE(SettingValue(f.ctx, list), QStringLiteral("zeta"));
        QCOMPARE(SettingValue(f.ctx, QStringLiteral("none")), QString());
    }

    void deletePassword()
    {
        Fixture f;
        // No stored password: nothing matches, not an empty answer nor the default.
        f.ui.inputs << QString();
        QVERIFY(!ConfirmDeletePassword(f.ctx, kPasswordCaption, kPasswordPrompt));
        QVERIFY(!ConfirmDeletePassword(f.ctx, kPasswordCaption, kPasswordPrompt)); // cancelled: "?"
        QCOMPARE(f.ui.prompts.first(), kPasswordCaption + QLatin1Char('|') + kPasswordPrompt + QStringLiteral("|?"));

        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"),
                  {kDeletePasswordPrompt, QStringLiteral("s3cret")});
        f.ui.inputs << QStringLiteral("s3cret") << QStringLiteral("S3cret") << QStringLiteral("s3cret ");
        QVERIFY(ConfirmDeletePassword(f.ctx, kPasswordCaption, kPasswordPrompt));
        QVERIFY(!ConfirmDeletePassword(f.ctx, kPasswordCaption, kPasswordPrompt));
        QVERIFY(!ConfirmDeletePassword(f.ctx, kPasswordCaption, kPasswordPrompt));
        QVERIFY(!ConfirmDeletePassword(f.ctx, kDeletePasswordCaption, kDeletePasswordPrompt)); // Cancel
        QCOMPARE(f.ui.prompts.last(),
                 kDeletePasswordCaption + QLatin1Char('|') + kDeletePasswordPrompt + QStringLiteral("|?"));
        f.ui.inputs << QStringLiteral("s3cret");
        QVERIFY(ConfirmDeletePassword(f.ctx, kDeletePasswordCaption, kDeletePasswordPrompt));

        // Cancel's "?" is compared like any answer.
        f.dm.exec(QStringLiteral("update setting set cmt=? where component=?"), {QStringLiteral("?"), kDeletePasswordPrompt});
        QVERIFY(ConfirmDeletePassword(f.ctx, kPasswordCaption, kPasswordPrompt));

        // The texts of both variants.
        QCOMPARE(kPasswordCaption, QStringLiteral("Password"));
        QCOMPARE(kDeletePasswordCaption, QStringLiteral("Delete Password"));
        QVERIFY(kPasswordMismatch != kDeletePasswordMismatch);
    }

    void placeCascade()
    {
        Fixture f;
        addPlace(f, QStringLiteral("P1"), kCountyB, QStringLiteral("c1"), QStringLiteral("v1"));
        addPlace(f, QStringLiteral("P1"), kCountyA, QStringLiteral("c2"), QStringLiteral("v2"));
        addPlace(f, QStringLiteral("P1"), kCountyA, QStringLiteral("c2"), QStringLiteral("v3"));
        addPlace(f, QStringLiteral("P2"), kCountyC, QStringLiteral("c3"), QStringLiteral("v4"));
        QComboBox county;
        county.setEditable(true);
        county.setEditText(QStringLiteral("keep"));
        FillPlaceCombo(f.ctx, &county,
                       QStringLiteral("select distinct shahrestan from abadiha where ostan=? order by shahrestan"),
                       {QStringLiteral("P1")});
        QCOMPARE(comboItems(county), (QStringList{kCountyA, kCountyB}));
        QCOMPARE(county.currentText(), QStringLiteral("keep"));
        QComboBox village;
        village.setEditable(true);
        FillPlaceCombo(f.ctx, &village,
                       QStringLiteral("select distinct rosta from abadiha where ostan=? and shahrestan=? order by rosta"),
                       {QStringLiteral("P1"), kCountyA});
        QCOMPARE(comboItems(village), (QStringList{QStringLiteral("v2"), QStringLiteral("v3")}));
        QCOMPARE(village.currentText(), QString());
    }

    void logRow()
    {
        Fixture f;
        const qint64 u = f.addUser(QStringLiteral("2222222222"), QStringLiteral("pw"), QStringLiteral("city"));
        f.signInAs(u, QStringLiteral("2222222222"), QStringLiteral("city"));
        InitToday(QDate(2026, 12, 6));
        const QString description = QStringLiteral("desc <'x'> ") + kPersianYeh;
        WriteLog(f.ctx, description);
        DataSet *q = f.dm.ADOQuery2;
        q->open(QStringLiteral("select * from log"));
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->fieldNames().size(), 7);
        QCOMPARE(q->text(QStringLiteral("karbar")), QStringLiteral("2222222222"));
        const QString ip = LocalIP();
        QCOMPARE(q->text(QStringLiteral("ip")), ip);
        QCOMPARE(q->text(QStringLiteral("pc_name")), IPAddrToName(ip));
        QVERIFY(!q->text(QStringLiteral("saat")).isEmpty());
        QCOMPARE(q->text(QStringLiteral("tarikh")), QStringLiteral("1405/09/15"));
        QCOMPARE(q->text(QStringLiteral("cmt")), description);
        QVERIFY(!q->isNull(QStringLiteral("saat_sys")));
        // An address with no name gives an empty name; a text that is no address too.
        QCOMPARE(IPAddrToName(QStringLiteral("not an address")), QString());
        QCOMPARE(IPAddrToName(QString()), QString());
    }

    void attachmentRoundTrip()
    {
        Fixture f;
        QTemporaryDir dir;
        const QString src = dir.filePath(QStringLiteral("scan.pdf"));
        QByteArray bytes(20 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator gen(42);
        gen.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        bytes[0] = '\0';
        bytes[bytes.size() - 1] = '\\';
        {
            QFile out(src);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QCOMPARE(out.write(bytes), qint64(bytes.size()));
        }
        StoredFile file;
        QString chosen;
        QVERIFY(!ChooseAttachment(f.ctx, &file)); // the dialog cancelled
        f.ui.openFiles << src;
        QVERIFY(ChooseAttachment(f.ctx, &file, &chosen));
        QCOMPARE(chosen, src);
        QCOMPARE(file.ext, QStringLiteral(".pdf"));
        QCOMPARE(file.bytes.size(), bytes.size());

        f.dm.exec(QStringLiteral("insert into ghir_pic (ghir_id, ext, pic, cmt) values (?,?,?,?)"),
                  {7, file.ext, file.bytes, QStringLiteral("scan")});
        DataSet *q = f.dm.ADOQ_ghir_pic;
        q->open(QStringLiteral("select * from ghir_pic where ghir_id=?"), {7});
        QCOMPARE(q->recordCount(), 1);
        const StoredFile back = StoredFileOf(q, QStringLiteral("pic"), QStringLiteral("ext"));
        QCOMPARE(back.ext, QStringLiteral(".pdf"));
        QVERIFY(back.bytes == bytes);

        // Opened through the temp folder's fixed name.
        const QString opened = OpenAttachment(f.ctx, back);
        QCOMPARE(opened, TempExportPath(QStringLiteral("Tobrenhal.pdf")));
        QCOMPARE(f.ui.openedFiles, QStringList{opened});
        {
            QFile in(opened);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QVERIFY(in.readAll() == bytes);
        }
        // Saved under a chosen name: the extension is added once.
        f.ui.saveFiles << dir.filePath(QStringLiteral("copy")) << dir.filePath(QStringLiteral("copy2.PDF"));
        QCOMPARE(OpenAttachment(f.ctx, back, true), dir.filePath(QStringLiteral("copy.pdf")));
        QCOMPARE(OpenAttachment(f.ctx, back, true), dir.filePath(QStringLiteral("copy2.PDF")));
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("copy.pdf"))).size(), qint64(bytes.size()));
        QCOMPARE(OpenAttachment(f.ctx, back, true), QString()); // cancelled
        QCOMPARE(f.ui.openedFiles.size(), 3);
        // A folder that does not exist: told, nothing opened.
        f.ui.saveFiles << dir.filePath(QStringLiteral("missing/x"));
        QCOMPARE(OpenAttachment(f.ctx, back, true), QString());
        QCOMPARE(f.ui.openedFiles.size(), 3);
        QVERIFY(f.ui.lastMessage().contains(dir.filePath(QStringLiteral("missing/x.pdf"))));

        // A file without an extension, and an empty one.
        const QString bare = dir.filePath(QStringLiteral("README"));
        {
            QFile out(bare);
            QVERIFY(out.open(QIODevice::WriteOnly));
        }
        const StoredFile empty = ReadAttachmentFile(bare);
        QCOMPARE(empty.ext, QString());
        QVERIFY(empty.bytes.isEmpty());
        f.dm.exec(QStringLiteral("insert into ghir_pic (ghir_id, ext, pic, cmt) values (?,?,?,?)"),
                  {8, empty.ext, empty.bytes, QStringLiteral("e")});
        q->open(QStringLiteral("select * from ghir_pic where ghir_id=?"), {8});
        QCOMPARE(OpenAttachment(f.ctx, StoredFileOf(q, QStringLiteral("pic"), QStringLiteral("ext"))),
                 TempExportPath(QStringLiteral("Tobrenhal")));
        // A file larger than a blob may carry is refused before it is read.
        const QString huge = dir.filePath(QStringLiteral("huge.bin"));
        {
            QFile out(huge);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QVERIFY(out.resize(kMaxAttachmentBytes + 1)); // sparse
        }
        f.ui.openFiles << huge;
        QVERIFY(!ChooseAttachment(f.ctx, &file));
        QVERIFY(f.ui.lastMessage().contains(QStringLiteral("huge.bin")));
        // An unreadable file is refused with its name.
        f.ui.openFiles << dir.filePath(QStringLiteral("nope.jpg"));
        QVERIFY(!ChooseAttachment(f.ctx, &file));
        QVERIFY(f.ui.lastMessage().contains(QStringLiteral("nope.jpg")));
    }

    void excelExport()
    {
        Fixture f;
        addPlace(f, QStringLiteral("  P1  "), QStringLiteral("<b>&co"), kPersianYeh, QStringLiteral("v1"));
        addPlace(f, QStringLiteral("P2"), kCountyA, QString(), QStringLiteral("v2"));
        f.dm.exec(QStringLiteral("update abadiha set jamiyat=? where rosta=?"), {1250, QStringLiteral("v1")});
        DataSet *q = f.dm.ADOQuery1;
        q->open(QStringLiteral("select ostan, shahrestan, city, jamiyat, zarib from abadiha order by rosta"));
        const QHash<QString, QString> titles = {{QStringLiteral("ostan"), QStringLiteral("استان")},
                                                {QStringLiteral("city"), QStringLiteral("شهر")}};
        const QString path = ExportToExcel(f.ctx, q, titles);
        QVERIFY(!path.isEmpty());
        QVERIFY(path.startsWith(QDir::tempPath()));
        QVERIFY(path.endsWith(QLatin1String(".xlsx")));
        QCOMPARE(f.ui.openedFiles, QStringList{path});
        QCOMPARE(q->currentRow(), 0);

        const Sheet s = readXlsx(path);
        QCOMPARE(s.name, QStringLiteral("Sheet1"));
        // Titles in the dataset's order; a field without a title takes its name.
        QCOMPARE(s.cells.value(QStringLiteral("A1")).text, QStringLiteral("استان"));
        QCOMPARE(s.cells.value(QStringLiteral("B1")).text, QStringLiteral("shahrestan"));
        QCOMPARE(s.cells.value(QStringLiteral("C1")).text, QStringLiteral("شهر"));
        QCOMPARE(s.cells.value(QStringLiteral("D1")).text, QStringLiteral("jamiyat"));
        QCOMPARE(s.cells.value(QStringLiteral("E1")).text, QStringLiteral("zarib"));
        // Each cell's trimmed text, from row 2.
        QCOMPARE(s.cells.value(QStringLiteral("A2")).text, QStringLiteral("P1"));
        QCOMPARE(s.cells.value(QStringLiteral("B2")).text, QStringLiteral("<b>&co"));
        QCOMPARE(s.cells.value(QStringLiteral("C2")).text, kPersianYeh);
        QCOMPARE(s.cells.value(QStringLiteral("D2")).text, QStringLiteral("1250"));
        QVERIFY(s.cells.value(QStringLiteral("D2")).number);
        QCOMPARE(s.cells.value(QStringLiteral("A3")).text, QStringLiteral("P2"));
        QCOMPARE(s.cells.value(QStringLiteral("C3")).text, QString());
        QCOMPARE(s.cells.value(QStringLiteral("D3")).text, QString()); // null
        QVERIFY(!s.cells.contains(QStringLiteral("A4")));
        // "A1:AA1" bold, "A1:M1" slanted dash-dot borders, "A2:M3" thin borders.
        for (const char *c : {"A1", "E1", "M1", "N1", "AA1"})
            QVERIFY2(s.cells.value(QLatin1String(c)).bold, c);
        QVERIFY(!s.cells.contains(QStringLiteral("AB1")));
        for (const char *c : {"A1", "E1", "M1"})
            QCOMPARE(s.cells.value(QLatin1String(c)).border, QStringLiteral("slantDashDot"));
        QCOMPARE(s.cells.value(QStringLiteral("N1")).border, QString());
        for (const char *c : {"A2", "E2", "M2", "A3", "M3"}) {
            QCOMPARE(s.cells.value(QLatin1String(c)).border, QStringLiteral("thin"));
            QVERIFY(!s.cells.value(QLatin1String(c)).bold);
        }
        QVERIFY(!s.cells.contains(QStringLiteral("N2")));
        // Every used column 10 wide.
        QCOMPARE(s.widthCols.size(), 1);
        QCOMPARE(s.widthCols.first(), qMakePair(1, 5));
        QVERIFY(s.widths.first() >= 10 && s.widths.first() < 11);

        // No record: the titles only, no bordered data row.
        q->open(QStringLiteral("select ostan, city from abadiha where 1=0"));
        const Sheet e = readXlsx(ExportToExcel(f.ctx, q, titles));
        QCOMPARE(e.cells.value(QStringLiteral("B1")).text, QStringLiteral("شهر"));
        QVERIFY(!e.cells.contains(QStringLiteral("A2")));
        QCOMPARE(f.ui.openedFiles.size(), 2);

        // A temp folder that cannot be written (a plain file in its place): told, nothing opened.
        const QByteArray tmp = qgetenv("TMPDIR");
        const QString blocker = QDir(QString::fromLocal8Bit(tmp)).filePath(QStringLiteral("blocker"));
        {
            QFile b(blocker);
            QVERIFY(b.open(QIODevice::WriteOnly));
        }
        qputenv("TMPDIR", blocker.toLocal8Bit());
        const int messages = f.ui.messages.size();
        QCOMPARE(ExportToExcel(f.ctx, q, titles), QString());
        qputenv("TMPDIR", tmp);
        QCOMPARE(f.ui.messages.size(), messages + 1);
        QCOMPARE(f.ui.openedFiles.size(), 2);
    }

    void htmlExport()
    {
        Fixture f;
        addPlace(f, QStringLiteral("P1"), QStringLiteral("<b>&co"), kPersianYeh, QStringLiteral("v1"));
        addPlace(f, QStringLiteral("P2"), kCountyA, QString(), QStringLiteral("v2"));
        f.dm.exec(QStringLiteral("update abadiha set jamiyat=?, zarib=? where rosta=?"), {1250000, 30.3, QStringLiteral("v1")});
        DataSet *q = f.dm.ADOQuery1;
        q->open(QStringLiteral("select * from abadiha order by rosta"));
        const QString file = TempExportPath(QStringLiteral("Tobrenhal.htm"));
        const QString totals = QStringLiteral("<tr><td></td><td>sum</td><td></td><td>1250000</td></tr>");
        QVERIFY(ExportHtmlTable(f.ctx, file, QStringLiteral("T & <x>"), q,
                                {{QStringLiteral("shahrestan"), QStringLiteral("county <a>")},
                                 {QStringLiteral("city"), QStringLiteral("شهر")},
                                 {QStringLiteral("jamiyat"), QStringLiteral("n")},
                                 {QStringLiteral("zarib"), QStringLiteral("z")}},
                                totals));
        QCOMPARE(f.ui.openedFiles, QStringList{file});
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray raw = in.readAll();
        QVERIFY(raw.startsWith("\xEF\xBB\xBF<html>\r\n")); // UTF-8 with its mark
        const QString html = QString::fromUtf8(raw.mid(3));
        const QStringList lines = html.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.at(0), QStringLiteral("<html>"));
        QVERIFY(lines.at(1).contains(QLatin1String("<meta charset=\"utf-8\">")));
        QVERIFY(lines.at(1).contains(QLatin1String("<title>T &amp; &lt;x&gt;</title>")));
        QCOMPARE(lines.at(2), QStringLiteral("<body>"));
        QVERIFY(lines.at(3).startsWith(QLatin1String("<table")) && lines.at(3).contains(QLatin1String("dir=\"rtl\""))
                && lines.at(3).contains(QLatin1String("width=\"95%\"")));
        QVERIFY(lines.at(5).contains(QLatin1String("#22ddff")));
        QCOMPARE(lines.at(6), QStringLiteral("<th>") + kRowNumber + QStringLiteral("</th>"));
        QVERIFY(html.contains(totals + QStringLiteral("\r\n</tbody>")));
        QVERIFY(html.endsWith(QLatin1String("</html>\r\n")));

        const QList<QStringList> rows = htmlRows(html);
        QCOMPARE(rows.size(), 4); // header, two records and the caller's totals row
        QCOMPARE(rows.at(0), (QStringList{kRowNumber, QStringLiteral("county <a>"), QStringLiteral("شهر"),
                                          QStringLiteral("n"), QStringLiteral("z")}));
        QCOMPARE(rows.at(1), (QStringList{QStringLiteral("1"), QStringLiteral("<b>&co"), kPersianYeh,
                                          QStringLiteral("1250000"), QStringLiteral("30.3")}));
        QCOMPARE(rows.at(2), (QStringList{QStringLiteral("2"), kCountyA, QString(), QString(), QString()}));
        QVERIFY(!html.contains(QLatin1String("<b>&co"))); // escaped in the file

        // From rows of texts.
        QVERIFY(ExportHtmlRows(f.ctx, file, QStringLiteral("t"), {QStringLiteral("a")},
                               {{QStringLiteral("x<y")}, {QStringLiteral("2")}}));
        QFile in2(file);
        QVERIFY(in2.open(QIODevice::ReadOnly));
        const QList<QStringList> rows2 = htmlRows(QString::fromUtf8(in2.readAll()));
        QCOMPARE(rows2.at(1), (QStringList{QStringLiteral("1"), QStringLiteral("x<y")}));

        // A file that cannot be written: told, nothing opened.
        const QString bad = TempExportPath(QStringLiteral("no/such/dir/rep.htm"));
        QVERIFY(!ExportHtmlTable(f.ctx, bad, QStringLiteral("t"), q, {{QStringLiteral("city"), QStringLiteral("c")}}));
        QVERIFY(f.ui.lastMessage().contains(bad));
        QCOMPARE(f.ui.openedFiles.size(), 2);
        // An unknown field ends the command before the file is touched.
        QFile::remove(file);
        bool threw = false;
        try {
            ExportHtmlTable(f.ctx, file, QStringLiteral("t"), q, {{QStringLiteral("nofield"), QStringLiteral("c")}});
        } catch (const AppError &) {
            threw = true;
        }
        QVERIFY(threw);
        QVERIFY(!QFile::exists(file));
    }

    void gridSort()
    {
        Fixture f;
        addPlace(f, QStringLiteral("P"), QStringLiteral("b"), kCountyB, QStringLiteral("v3"));
        addPlace(f, QStringLiteral("P"), QStringLiteral("c"), kCountyC, QStringLiteral("v1"));
        addPlace(f, QStringLiteral("P"), QStringLiteral("a"), kCountyA, QStringLiteral("v2"));
        DataSet *q = f.dm.ADOQuery1;
        q->open(QStringLiteral("select rosta, city from abadiha order by id"));
        QTableView grid;
        grid.setObjectName(QStringLiteral("DBGrid1"));
        grid.resize(400, 300);
        BindGrid(&grid, q);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QHeaderView *header = grid.horizontalHeader();
        auto clickTitle = [&](int section) {
            const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        };
        auto column = [&](int c) {
            QStringList l;
            for (int r = 0; r < q->rowCount(); ++r)
                l << q->data(q->index(r, c)).toString();
            return l;
        };
        auto bold = [&](int c) { return q->headerData(c, Qt::Horizontal, Qt::FontRole).value<QFont>().bold(); };

        clickTitle(0);
        QCOMPARE(q->sort(), QStringLiteral("rosta ASC"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("v1"), QStringLiteral("v2"), QStringLiteral("v3")}));
        QVERIFY(bold(0) && !bold(1));
        clickTitle(0);
        QCOMPARE(q->sort(), QStringLiteral("rosta DESC"));
        QCOMPARE(column(0), (QStringList{QStringLiteral("v3"), QStringLiteral("v2"), QStringLiteral("v1")}));
        clickTitle(0);
        QCOMPARE(q->sort(), QStringLiteral("rosta ASC"));
        // Another title: ascending first; the previous title is plain again. Persian order.
        clickTitle(1);
        QCOMPARE(q->sort(), QStringLiteral("city ASC"));
        QVERIFY(!bold(0) && bold(1));
        QCOMPARE(column(1), (QStringList{kCountyA, kCountyB, kCountyC}));

        // The grid's current row is the dataset's and the other way round.
        const QRect cell = grid.visualRect(q->index(2, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(q->currentRow(), 2);
        QCOMPARE(q->text(QStringLiteral("city")), kCountyC);
        q->setCurrentRow(1);
        QCOMPARE(grid.currentIndex().row(), 1);
        QVERIFY(grid.selectionModel()->isRowSelected(1, {}));
        q->reopen(QStringLiteral("rosta"));
        QCOMPARE(grid.currentIndex().row(), q->currentRow());
        QCOMPARE(q->text(QStringLiteral("city")), kCountyB);
    }
};

VARNOSET_DB_TEST_MAIN(ServicesTest)
#include "db_services.moc"
