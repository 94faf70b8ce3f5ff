#include "support/report_support.h"

#include "report/filled_report.h"
#include "report/printing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}
} // namespace

QString normalizedText(const QString &s)
{
    QString n = s.normalized(QString::NormalizationForm_KC);
    QString out;
    out.reserve(n.size());
    for (const QChar c : n) {
        const ushort u = c.unicode();
        const bool mark = u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
        if (mark)
            continue;
        if (u == 0x06CC) // Persian yeh -> Arabic yeh
            out += QChar(0x064A);
        else if (u >= 0x06F0 && u <= 0x06F9) // Persian digits -> Latin digits
            out += QChar(u'0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669) // Arabic-Indic digits (a printer's PDF names them) -> Latin
            out += QChar(u'0' + (u - 0x0660));
        else if (u == 0x06A9) // keheh -> Arabic kaf
            out += QChar(0x0643);
        else if (u == 0x066B) // the Persian decimal sign of a printed figure -> "."
            out += QLatin1Char('.');
        else
            out += c;
    }
    static const QRegularExpression space(QStringLiteral("\\s+"));
    out.replace(space, QStringLiteral(" "));
    return out.trimmed();
}

bool containsText(const QString &printed, const QString &text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QString a = normalizedText(printed), b = normalizedText(text);
    a.remove(space);
    b.remove(space);
    return a.contains(b);
}

QString pdfText(const QString &pdfPath, int page)
{
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << pdfPath << QStringLiteral("-");
    return normalizedText(run(QStringLiteral("pdftotext"), args));
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
    struct Glyph {
        int page;
        QRectF box;
        QString text;
    };
    QList<Glyph> glyphs;
    int page = 0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const double x1 = m.captured(1).toDouble(), y1 = m.captured(2).toDouble();
        glyphs << Glyph{page, QRectF(x1, y1, m.captured(3).toDouble() - x1, m.captured(4).toDouble() - y1),
                        unescapeXml(m.captured(5))};
    }
    auto arabic = [](const QString &t) {
        for (const QChar c : t)
            if (c.direction() == QChar::DirAL || c.direction() == QChar::DirR)
                return true;
        return false;
    };
    QList<PdfWord> words;
    QList<Glyph> current;
    auto flush = [&]() {
        if (current.isEmpty())
            return;
        PdfWord w;
        w.page = current.first().page;
        QString text;
        bool rtl = false;
        for (const Glyph &g : current) {
            w.box = w.box.isNull() ? g.box : w.box.united(g.box);
            rtl = rtl || arabic(g.text);
        }
        if (rtl) // a glyph's letters (a ligature's) stand left to right across it as well
            for (auto it = current.crbegin(); it != current.crend(); ++it)
                for (auto c = it->text.crbegin(); c != it->text.crend(); ++c)
                    text += *c;
        else
            for (const Glyph &g : current)
                text += g.text;
        w.text = normalizedText(text);
        if (!w.text.isEmpty())
            words << w;
        current.clear();
    };
    for (const Glyph &g : glyphs) {
        if (!current.isEmpty()) {
            const Glyph &last = current.last();
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
    return path;
}

QString printedText(const report::FilledReport &r)
{
    return pdfText(renderPdf(r));
}

QString keptPdf(const report::FilledReport &r)
{
    const QString pdf = renderPdf(r);
    const QString keep = qEnvironmentVariable("VARNOSET_FORMS_PDF_DIR");
    if (!keep.isEmpty()) {
        const QString target = QDir(keep).filePath(QStringLiteral("%1-%2.pdf").arg(r.layoutName()).arg(r.rowCount()));
        QFile::remove(target);
        QFile::copy(pdf, target);
    }
    return pdf;
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

} // namespace testing_support
