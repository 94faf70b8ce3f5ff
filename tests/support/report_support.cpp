#include "support/report_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace testing_support {

namespace {
QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

QTemporaryDir &tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString unescapeXml(QString s)
{
    return s.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'")
        .replace("&amp;", "&");
}

const QRegularExpression bidiMarks(QStringLiteral("[\u200e\u200f\u202a-\u202e\u2066-\u2069]"));
} // namespace

QString normalizedText(const QString &s)
{
    QString n = s.normalized(QString::NormalizationForm_KC), out;
    for (const QChar c : n.remove(bidiMarks)) {
        const ushort u = c.unicode();
        // Persian and Arabic-Indic digits (a printer's PDF names the latter) -> Latin.
        if ((u >= 0x06F0 && u <= 0x06F9) || (u >= 0x0660 && u <= 0x0669))
            out += QChar(u'0' + (u & 0xF));
        else // Persian yeh, keheh and the decimal sign -> Arabic yeh, Arabic kaf, "."
            out += u == 0x06CC ? QChar(0x064A) : u == 0x06A9 ? QChar(0x0643) : u == 0x066B ? QChar(u'.') : c;
    }
    static const QRegularExpression space(QStringLiteral("\\s+"));
    out.replace(space, QStringLiteral(" "));
    return out.trimmed();
}

bool containsText(const QString &printed, const QString &text)
{
    return normalizedText(printed).remove(QLatin1Char(' ')).contains(normalizedText(text).remove(QLatin1Char(' ')));
}

QString pdfText(const QString &pdfPath, int page)
{
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << pdfPath << QStringLiteral("-");
    return normalizedText(run(QStringLiteral("pdftotext"), args));
}

QStringList pdfLines(const QString &pdfPath)
{
    QStringList out;
    for (QString line : run(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")}).split(QLatin1Char('\n')))
        if (!(line = line.remove(bidiMarks).simplified()).isEmpty())
            out << line;
    return out;
}

QString pdfInfo(const QString &pdfPath)
{
    return run(QStringLiteral("pdfinfo"), {pdfPath});
}

int pdfPageCount(const QString &pdfPath)
{
    static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = re.match(pdfInfo(pdfPath));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QList<PdfWord> pdfWords(const QString &pdfPath)
{
    // pdftotext -bbox lists right-to-left text glyph by glyph, left to right: glyphs that touch
    // on one line are joined into a word, and a word with Arabic letters is read right to left.
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    static const QRegularExpression re(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> glyphs;
    int page = 0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const double x1 = m.captured(1).toDouble(), y1 = m.captured(2).toDouble();
        glyphs << PdfWord{page, QRectF(x1, y1, m.captured(3).toDouble() - x1, m.captured(4).toDouble() - y1),
                        unescapeXml(m.captured(5))};
    }
    QList<PdfWord> words;
    QList<PdfWord> current;
    auto flush = [&]() {
        if (current.isEmpty())
            return;
        PdfWord w;
        w.page = current.first().page;
        QString text;
        bool rtl = false;
        for (const PdfWord &g : current) {
            w.box = w.box.isNull() ? g.box : w.box.united(g.box);
            text += g.text;
            rtl = rtl || g.text.isRightToLeft();
        }
        if (rtl) // a glyph's letters (a ligature's) stand left to right across it as well
            std::reverse(text.begin(), text.end());
        w.text = normalizedText(text);
        if (!w.text.isEmpty())
            words << w;
        current.clear();
    };
    for (const PdfWord &g : glyphs) {
        if (!current.isEmpty()) {
            const PdfWord &last = current.last();
            const bool sameLine = last.page == g.page && qAbs(last.box.top() - g.box.top()) < 0.5
                                  && qAbs(last.box.bottom() - g.box.bottom()) < 0.5;
            const double gap = g.box.left() - last.box.right();
            if (!sameLine || gap > std::max(0.5, 0.05 * g.box.height()) || gap < -0.5 * g.box.height())
                flush();
        }
        current << g;
    }
    flush();
    return words;
}

QString renderPdf(const report::FilledReport &r)
{
    static int n = 0;
    const QString path = tempDir().filePath(QStringLiteral("%1-%2.pdf").arg(r.layoutName()).arg(++n));
    if (!report::writePdf(r, path))
        qFatal("could not write %s", qPrintable(path));
    if (const QString keep = qEnvironmentVariable("VARNOSET_FORMS_PDF_DIR"); !keep.isEmpty()) {
        const QString target = QDir(keep).filePath(QStringLiteral("%1-%2.pdf").arg(r.layoutName()).arg(r.rowCount()));
        QFile::remove(target);
        QFile::copy(path, target);
    }
    return path;
}

QStringList missingFixedTexts(const report::FilledReport &r, const QString &printed)
{
    // Letters only: pdftotext moves digits and signs about within right-to-left lines.
    auto letters = [](const QString &s) {
        QString out;
        for (const QChar c : normalizedText(s))
            if (c.isLetter() && c != QChar(0x0640))
                out += c;
        return out;
    };
    const QString all = letters(printed);
    QStringList missing;
    for (const report::Band &b : r.layout().bands)
        for (const report::Element &e : b.elements) {
            QStringList texts;
            if (e.kind == report::ElementKind::Text)
                texts << e.text;
            for (const report::Run &run : e.runs)
                if (!run.isLabel)
                    texts << run.text;
            for (const QString &t : texts)
                if (!all.contains(letters(t)))
                    missing << t;
        }
    return missing;
}

void expectInOrder(const QString &printed, const QStringList &texts)
{
    static const QRegularExpression ignored(QStringLiteral("[ ():،-]"));
    QString rest = normalizedText(printed);
    rest.remove(ignored);
    for (const QString &t : texts) {
        QString n = normalizedText(t);
        n.remove(ignored);
        const int at = rest.indexOf(n);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("%1 missing or out of order in: %2").arg(t, printed)));
        rest = rest.mid(at + n.size());
    }
}

QString paperTextFault(const report::FilledReport &r, const QString &printed, const QString &text)
{
    const report::Layout &l = r.layout();
    // The layout's fixed texts: its title, its table's headings and fixed cells, its texts and
    // design texts, and the fixed words of a sentence run together up to its next label.
    QStringList fixed{l.title};
    bool heading = false;
    const QString t = text.simplified();
    if (l.table)
        for (const report::Column &c : l.table->columns) {
            fixed << c.title << c.group << c.text;
            heading = heading || c.title.simplified() == t || c.group.simplified() == t;
        }
    for (const report::Band &b : l.bands)
        for (const report::Element &e : b.elements) {
            if (e.kind == report::ElementKind::Text || e.kind == report::ElementKind::Label)
                fixed << e.text;
            QStringList words;
            for (const report::Run &run : e.runs) {
                if (run.isLabel) {
                    fixed << words.join(QLatin1Char(' '));
                    words.clear();
                } else {
                    words << run.text;
                }
            }
            fixed << words.join(QLatin1Char(' '));
        }
    if (!std::any_of(fixed.begin(), fixed.end(), [&](const QString &f) { return f.simplified().contains(t); }))
        return QStringLiteral("not in the layout: ") + t;
    // Letters only: pdftotext moves digits and signs about in right-to-left lines.
    auto letters = [](const QString &s) {
        QString out;
        for (const QChar c : normalizedText(s))
            if (c.isLetter() && c != QChar(0x0640))
                out += c;
        return out;
    };
    const QString all = letters(printed);
    for (const QString &w : heading ? t.split(QLatin1Char(' ')) : QStringList{t})
        if (!all.contains(letters(w)))
            return QStringLiteral("not printed: ") + t;
    return {};
}

} // namespace testing_support
