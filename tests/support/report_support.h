#pragma once
// Reading what a report printed: render it to PDF offscreen and read the PDF back with
// poppler's pdftotext/pdfinfo. pdftotext gives Arabic presentation forms and bidi marks;
// the texts returned here are NFKC-normalised with the marks removed, so they compare with
// the program's own strings. The Persian fonts draw the Arabic and the Persian yeh (and kaf)
// with one glyph wherever their shapes agree, and the PDF names one letter for that glyph: the
// texts fold both forms into the Arabic letter. pdftotext also guesses the blanks next to
// numbers inside right-to-left lines; compare with containsText, which ignores blanks.
#include <QList>
#include <QRectF>
#include <QString>

namespace report { class FilledReport; }

namespace testing_support {

// NFKC, bidi controls removed, yeh and kaf folded, runs of white space made one blank.
QString normalizedText(const QString &s);
// Whether printed text holds a text, compared after normalisation and without blanks.
bool containsText(const QString &printed, const QString &text);

// Text of a PDF (page 1-based; 0 = every page), normalised.
QString pdfText(const QString &pdfPath, int page = 0);
// pdfinfo's output ("Pages:", "Page size:" ...).
QString pdfInfo(const QString &pdfPath);
int pdfPageCount(const QString &pdfPath);

struct PdfWord {
    int page = 0;     // 1-based
    QRectF box;       // points from the page's top-left corner
    QString text;     // normalised
};
// Every word with its box (pdftotext -bbox).
QList<PdfWord> pdfWords(const QString &pdfPath);

// Writes the report to a temporary PDF (kept until the test program ends) and returns its path;
// fails the test when it cannot be written.
QString renderPdf(const report::FilledReport &r);
// The whole printed text of a report, normalised.
QString printedText(const report::FilledReport &r);

} // namespace testing_support
