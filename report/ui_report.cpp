// The report side of the Ui seam: the program's preview and print, and the tests' recording.
#include "report/filled_report.h"
#include "report/preview.h"
#include "report/printing.h"
#include "shared/qtui.h"
#include "shared/scriptedui.h"

#include <QApplication>

QtUi::QtUi() : m_printJob(std::make_shared<report::QtPrintJob>()) {}
QtUi::~QtUi() = default;

void QtUi::setPrintJob(std::shared_ptr<report::PrintJob> job)
{
    m_printJob = job ? std::move(job) : std::make_shared<report::QtPrintJob>();
}

void QtUi::previewReport(const report::FilledReport &r, const AfterPrint &afterPrint)
{
    report::ReportPreview preview(r, *this, m_printJob, afterPrint, QApplication::activeModalWidget());
    showModal(&preview);
}

Ui::PrintResult QtUi::printReport(const report::FilledReport &r, const AfterPrint &afterPrint)
{
    return report::runPrint(*this, *m_printJob, r, afterPrint, QApplication::activeModalWidget());
}

namespace {
ScriptedUi::ReportCall recordCall(ScriptedUi::ReportCall::Kind kind, const report::FilledReport &r)
{
    ScriptedUi::ReportCall call{kind, std::make_shared<report::FilledReport>(r), 0, {}, r.check()};
    for (const QString &p : call.problems)
        qWarning("report %s: %s", qPrintable(r.layoutName()), qPrintable(p));
    return call;
}
} // namespace

void ScriptedUi::previewReport(const report::FilledReport &r, const AfterPrint &afterPrint)
{
    ReportCall call = recordCall(ReportCall::Preview, r);
    const QList<PrintResult> prints = previewPrints.isEmpty() ? QList<PrintResult>() : previewPrints.dequeue();
    for (PrintResult p : prints) {
        call.outcomes << p;
        if (p == Printed) {
            ++call.printed;
            if (afterPrint)
                afterPrint();
        } else if (p == PrintFailed) {
            message(report::kPrintFailedMessage);
        }
    }
    reports << call;
}

Ui::PrintResult ScriptedUi::printReport(const report::FilledReport &r, const AfterPrint &afterPrint)
{
    const PrintResult p = directPrints.isEmpty() ? Printed : directPrints.dequeue();
    ReportCall call = recordCall(ReportCall::Print, r);
    call.outcomes << p;
    call.printed = p == Printed ? 1 : 0;
    reports << call;
    if (p == Printed && afterPrint)
        afterPrint();
    else if (p == PrintFailed)
        message(report::kPrintFailedMessage);
    return p;
}
