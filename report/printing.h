#pragma once
// Printing and PDF: the one step that reaches the printer sits behind PrintJob, so that the
// after-print logic (notification once per completed job, a message when printing fails,
// nothing on cancel) is the program's own and tests can replace the printer.
#include "shared/ui.h"

#include <QString>

class QPrinter;
class QPagedPaintDevice;

namespace report {

class FilledReport;

// Shown when a print job could not be carried out.
extern const QString kPrintFailedMessage;
// Shown when the PDF file could not be written.
extern const QString kPdfFailedMessage;

class PrintJob {
public:
    virtual ~PrintJob() = default;
    // Asks the user for the printer (the printer dialog) once and prints every page, `copies`
    // times over in one job. Printed when the job completed, PrintCancelled when the dialog was
    // cancelled, PrintFailed when the printer could not be used. Shows no message itself.
    virtual Ui::PrintResult print(const FilledReport &r, QWidget *parent, int copies = 1) = 0;
};

// The program's printer: QPrintDialog, then the report painted on the QPrinter.
class QtPrintJob : public PrintJob {
public:
    Ui::PrintResult print(const FilledReport &r, QWidget *parent, int copies = 1) override;
};

// Sets the printer's page (size, orientation, full page) from the report's layout.
void setupPrinter(QPrinter &printer, const FilledReport &r);
// Paints every page on the printer, `copies` times over: Printed, or PrintFailed when its
// painter cannot begin.
Ui::PrintResult printOn(QPrinter &printer, const FilledReport &r, int copies = 1);
// Paints every page on any paged device (a QPdfWriter ...); false when its painter cannot begin.
bool paintOn(QPagedPaintDevice &device, const FilledReport &r);

// One print through a job, as the preview and the direct print do it: a failure shows
// kPrintFailedMessage through the Ui, a completed job runs afterPrint once for each copy.
Ui::PrintResult runPrint(Ui &ui, PrintJob &job, const FilledReport &r, const Ui::AfterPrint &afterPrint,
                         QWidget *parent = nullptr, int copies = 1);

// Writes the report as a PDF file; false (and the file removed) when it cannot be written.
bool writePdf(const FilledReport &r, const QString &path);

} // namespace report
