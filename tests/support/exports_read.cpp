#include "support/exports_read.h"

#include "support/drive.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtGlobal>
#include <functional>

namespace testing_support {

namespace {
QString attr(const QXmlStreamReader &x, const char *name) { return x.attributes().value(QLatin1String(name)).toString(); }

// Calls `visit` with each start element of a part of a zip file.
void forEachElement(const QString &zip, const QString &member, const std::function<void(QXmlStreamReader &)> &visit)
{
    QProcess p;
    p.start("unzip", {"-p", zip, member});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qFatal("unzip %s %s failed", qPrintable(zip), qPrintable(member));
    QXmlStreamReader x(p.readAllStandardOutput());
    while (!x.atEnd())
        if (x.readNext() == QXmlStreamReader::StartElement)
            visit(x);
    if (x.hasError())
        qFatal("%s: %s", qPrintable(member), qPrintable(x.errorString()));
}
} // namespace

Sheet readXlsx(const QString &path)
{
    Sheet s;
    forEachElement(path, "xl/workbook.xml", [&](QXmlStreamReader &x) {
        if (x.name() == u"sheet" && s.name.isEmpty())
            s.name = attr(x, "name");
    });
    // Styles: fonts (bold), borders (left style), cellXfs (font and border ids).
    QList<bool> fontBold;
    QStringList borderLeft;
    QList<QPair<int, int>> xfs;
    QString section;
    forEachElement(path, "xl/styles.xml", [&](QXmlStreamReader &x) {
        const auto n = x.name();
        if (n == u"fonts" || n == u"borders" || n == u"cellXfs" || n == u"cellStyleXfs")
            section = n.toString();
        else if (section == u"fonts" && n == u"font")
            fontBold << false;
        else if (section == u"fonts" && n == u"b")
            fontBold.last() = true;
        else if (section == u"borders" && n == u"border")
            borderLeft << QString();
        else if (section == u"borders" && n == u"left")
            borderLeft.last() = attr(x, "style");
        else if (section == u"cellXfs" && n == u"xf")
            xfs << qMakePair(attr(x, "fontId").toInt(), attr(x, "borderId").toInt());
    });
    QString ref;
    forEachElement(path, "xl/worksheets/sheet1.xml", [&](QXmlStreamReader &x) {
        if (x.name() == u"c") {
            ref = attr(x, "r");
            SheetCell &cell = s.cells[ref];
            const int style = attr(x, "s").toInt();
            cell.bold = fontBold.value(xfs.value(style).first);
            cell.border = borderLeft.value(xfs.value(style).second);
            cell.number = attr(x, "t").isEmpty() || attr(x, "t") == u"n";
        } else if (x.name() == u"v" || x.name() == u"t") {
            s.cells[ref].text += x.readElementText();
        }
    });
    for (SheetCell &c : s.cells)
        c.number = c.number && !c.text.isEmpty();
    return s;
}

QList<QStringList> htmlRows(const QString &html)
{
    QList<QStringList> rows;
    static const QRegularExpression cell("^<t[dh]>(.*)</t[dh]>$");
    bool open = false; // "<td>" alone on its line: an empty cell closed on the next
    for (const QString &line : html.split("\r\n")) {
        if (line.startsWith("<tr"))
            rows << QStringList();
        if (open && line == "</td>" && !rows.isEmpty())
            rows.last() << QString();
        open = line == "<td>";
        const auto m = cell.match(line);
        if (m.hasMatch() && !rows.isEmpty())
            rows.last() << m.captured(1).replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
    }
    return rows;
}

QStringList Sheet::row(int r) const
{
    QStringList out;
    int last = -1;
    for (int c = 0; c < 120; ++c) {
        QString ref;
        for (int n = c + 1; n > 0; n = (n - 1) / 26)
            ref.prepend(QChar('A' + (n - 1) % 26));
        const auto it = cells.constFind(ref + QString::number(r));
        out << (it == cells.constEnd() ? QString() : it->text);
        if (it != cells.constEnd() && !it->text.isEmpty())
            last = c;
    }
    return out.mid(0, last + 1);
}

QList<QStringList> htmlFileRows(const QString &path)
{
    return htmlRows(QString::fromUtf8(readFile(path)));
}

} // namespace testing_support
