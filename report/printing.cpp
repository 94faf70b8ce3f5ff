#include "report/printing.h"
#include "core/busy.h"

#include "report/filled_report.h"
#include "report/pdf_text.h"
#include "report/renderer.h"

#include <QFile>
#include <QLineEdit>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

namespace report {

const QString kPrintFailedMessage = QStringLiteral("چاپ گزارش انجام نشد");
const QString kPdfFailedMessage = QStringLiteral("فايل PDF نوشته نشد");

namespace {

QPageLayout pageLayout(const FilledReport &r)
{
    const Layout &l = r.layout();
    return QPageLayout(QPageSize(l.pageSize), l.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// Paints every page on a device whose painter has begun; the painter works in millimetres
// from the paper's corner.
// Pages from..to are 1-based, 0 = all; copies are painted here for a printer that cannot make them.
bool paintPages(QPainter &p, QPagedPaintDevice &device, const Renderer &renderer, int from = 0, int to = 0,
                int copies = 1)
{
    const BusyCursor busy;
    const double sx = device.logicalDpiX() / 25.4;
    const double sy = device.logicalDpiY() / 25.4;
    const int first = from > 0 ? std::min(from, renderer.pageCount()) - 1 : 0;
    const int last = to > 0 ? std::min(to, renderer.pageCount()) - 1 : renderer.pageCount() - 1;
    bool started = false;
    for (int c = 0; c < std::max(1, copies); ++c) {
        for (int i = first; i <= last; ++i) {
            if (started && !device.newPage())
                return false;
            started = true;
            p.save();
            p.scale(sx, sy);
            renderer.paintPage(p, i);
            p.restore();
        }
    }
    return true;
}

// The output file's box of Qt's printer dialog: a path reads left to right whatever the
// program's direction, and the box is wide enough for the whole of it (up to two thirds of the
// screen), also when the dialog puts another path in it.
void showWholePath(QPrintDialog &dialog)
{
    auto *path = dialog.findChild<QLineEdit *>(QStringLiteral("filename"));
    if (!path)
        return;
    path->setLayoutDirection(Qt::LeftToRight);
    auto fit = [path] {
        const int room = path->screen() ? path->screen()->availableGeometry().width() * 2 / 3 : 800;
        const int needed = path->fontMetrics().horizontalAdvance(path->text()) + 24; // with the frame and margins
        if (needed > path->minimumWidth())
            path->setMinimumWidth(std::min(needed, room));
    };
    fit();
    QObject::connect(path, &QLineEdit::textChanged, path, fit);
}

} // namespace

void setupPrinter(QPrinter &printer, const FilledReport &r)
{
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(r));
    printer.setDocName(r.fileName());
}

Ui::PrintResult printOn(QPrinter &printer, const FilledReport &r, int copies)
{
    const Renderer renderer(r);
    QPainter p;
    if (!p.begin(&printer))
        return Ui::PrintFailed;
    const bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
    // The copies chosen in the printer dialog are the printer's to make where it can.
    const int perCopy = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    const bool ok = paintPages(p, printer, renderer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0,
                               std::max(1, copies) * perCopy);
    if (!ok)
        printer.abort();
    const bool ended = p.end();
    return ok && ended && printer.printerState() != QPrinter::Error ? Ui::Printed : Ui::PrintFailed;
}

bool paintOn(QPagedPaintDevice &device, const FilledReport &r)
{
    const Renderer renderer(r);
    device.setPageLayout(pageLayout(r));
    QPainter p;
    if (!p.begin(&device))
        return false;
    const bool ok = paintPages(p, device, renderer);
    return p.end() && ok;
}

Ui::PrintResult QtPrintJob::print(const FilledReport &r, QWidget *parent, int copies)
{
    QPrinter printer(QPrinter::HighResolution);
    setupPrinter(printer, r);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("QPrintDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, std::max(1, Renderer(r).pageCount()));
    showWholePath(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return Ui::PrintCancelled;
    // The layout decides the page; the dialog chooses the printer and the copies.
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(r));
    return printOn(printer, r, copies);
}

Ui::PrintResult runPrint(Ui &ui, PrintJob &job, const FilledReport &r, const Ui::AfterPrint &afterPrint,
                         QWidget *parent, int copies)
{
    const Ui::PrintResult result = job.print(r, parent, copies);
    if (result == Ui::Printed) {
        for (int i = 0; i < copies && afterPrint; ++i)
            afterPrint();
    } else if (result == Ui::PrintFailed) {
        ui.message(kPrintFailedMessage, parent);
    }
    return result;
}

bool writePdf(const FilledReport &r, const QString &path)
{
    bool ok = false;
    {
        QPdfWriter writer(path);
        writer.setResolution(1200);
        writer.setTitle(r.title());
        writer.setCreator(QStringLiteral("Varnoset"));
        ok = paintOn(writer, r);
    }
    if (ok) {
        QFile f(path);
        ok = f.exists() && f.size() > 0;
    }
    // The text a user searches for, in place of the letter shapes Qt names (report/pdf_text.h).
    // A file this step cannot read stays as written: its pages are whole either way.
    if (ok)
        plainTextLayer(path);
    if (!ok)
        QFile::remove(path);
    return ok;
}

} // namespace report
