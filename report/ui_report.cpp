#include "report/filled_report.h"
#include "shared/qtui.h"
#include "shared/scriptedui.h"

void QtUi::previewReport(const report::FilledReport &, const AfterPrint &) {}
Ui::PrintResult QtUi::printReport(const report::FilledReport &, const AfterPrint &) { return PrintFailed; }

void ScriptedUi::previewReport(const report::FilledReport &r, const AfterPrint &afterPrint)
{
    ReportCall call{ReportCall::Preview, std::make_shared<report::FilledReport>(r), 0, {}, r.check()};
    const QList<PrintResult> prints = previewPrints.isEmpty() ? QList<PrintResult>() : previewPrints.dequeue();
    for (PrintResult p : prints) {
        if (p == Printed) {
            ++call.printed;
            if (afterPrint)
                afterPrint();
        }
    }
    reports << call;
}

Ui::PrintResult ScriptedUi::printReport(const report::FilledReport &r, const AfterPrint &afterPrint)
{
    const PrintResult p = directPrints.isEmpty() ? Printed : directPrints.dequeue();
    ReportCall call{ReportCall::Print, std::make_shared<report::FilledReport>(r), p == Printed ? 1 : 0, {p}, r.check()};
    reports << call;
    if (p == Printed && afterPrint)
        afterPrint();
    return p;
}
