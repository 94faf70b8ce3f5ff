#pragma once
// Reading what a report printed: render it to PDF offscreen and read the PDF back with
// poppler's pdftotext/pdfinfo. The texts returned are NFKC-normalised, bidi marks removed, both
// forms of the yeh and the kaf folded into the Arabic letter and Persian digits and decimal sign
// into Latin, as the values are stored (a test of the letters or digits themselves reads
// pdftotext's own output). pdftotext guesses the blanks next to numbers inside right-to-left
// lines; compare with containsText, which ignores blanks.
#include "report/filled_report.h"
#include "report/printing.h"
#include "ui/qtui.h"

#include <QRectF>

namespace testing_support {

// The folding above, runs of white space made one blank.
QString normalizedText(const QString &s);
// Whether printed text holds a text, compared after normalisation and without blanks.
bool containsText(const QString &printed, const QString &text);

// Text of a PDF (page 1-based; 0 = every page), normalised.
QString pdfText(const QString &pdfPath, int page = 0);
// The lines pdftotext gives, as it gives them (its letters and digits unfolded), bidi marks
// removed and blanks made single.
QStringList pdfLines(const QString &pdfPath);
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
// fails the test when it cannot be written. A copy is kept in VARNOSET_FORMS_PDF_DIR (when set)
// as <layout>-<rows>.pdf, to look at.
QString renderPdf(const report::FilledReport &r);
inline QString keptPdf(const report::FilledReport &r) { return renderPdf(r); }
// Fails unless each text stands in the printed text, in this order (blanks, brackets, colons, commas and
// hyphens aside: pdftotext guesses the blanks around numbers, gives the mirrored bracket glyphs
// of right-to-left text and puts the neutral signs next to a number on either side of it).
void expectInOrder(const QString &printed, const QStringList &texts);
// The layout's fixed texts (text elements and the fixed runs of paragraphs) whose letters the
// printed text lacks (digits and signs aside, which pdftotext moves about in right-to-left
// lines): a text cut off by its box is missing.
QStringList missingFixedTexts(const report::FilledReport &r, const QString &printed);

// A printer that answers from a queue (Printed when it is empty) and keeps a copy of each
// report it printed, once per copy.
class FakePrintJob : public report::PrintJob {
public:
    QList<Ui::PrintResult> results;
    QList<report::FilledReport> printed;
    Ui::PrintResult print(const report::FilledReport &r, QWidget *, int copies) override
    {
        const Ui::PrintResult res = results.isEmpty() ? Ui::Printed : results.takeFirst();
        for (int i = 0; res == Ui::Printed && i < copies; ++i)
            printed << r;
        return res;
    }
};

// The program's Ui with its messages recorded and its save dialogs answered from a list (Cancel
// when it is empty).
class RecordingQtUi : public QtUi {
public:
    QStringList messages;
    QStringList saveAnswers;
    void message(const QString &text, QWidget *) override { messages << text; }
    QString saveFileName(const QString &, const QString &, const QString &, QWidget *) override
    {
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};

// A fixed text of a printed paper, as the paper gives it: empty when the report's layout holds it
// as written (blanks made single) and the printed text holds its letters (a heading of the
// table, which wraps in its cell, word by word); else what is wrong.
QString paperTextFault(const report::FilledReport &r, const QString &printed, const QString &text);

} // namespace testing_support
