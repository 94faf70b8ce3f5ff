#include "ui/scriptedui.h"

#include "report/filled_report.h"
#include "report/printing.h"

#include <QDialog>

ScriptedUi::ScriptedUi() = default;
ScriptedUi::~ScriptedUi() = default;

void ScriptedUi::message(const QString &text, QWidget *)
{
    messages << text;
}

Ui::Answer ScriptedUi::question(const QString &text, bool, QWidget *)
{
    questions << text;
    return answers.isEmpty() ? No : answers.dequeue();
}

const QString ScriptedUi::kCancel = QStringLiteral("\x01cancel");

QString ScriptedUi::inputBox(const QString &caption, const QString &prompt, const QString &def, QWidget *, bool *ok)
{
    prompts << caption + QLatin1Char('|') + prompt + QLatin1Char('|') + def;
    const QString answer = inputs.isEmpty() ? kCancel : inputs.dequeue();
    if (ok)
        *ok = answer != kCancel;
    return answer == kCancel ? def : answer;
}

QString ScriptedUi::passwordBox(const QString &caption, const QString &prompt, bool *ok, QWidget *)
{
    prompts << caption + QLatin1Char('|') + prompt + QLatin1Char('|');
    if (inputs.isEmpty()) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    return inputs.dequeue();
}

QString ScriptedUi::openFileName(const QString &, const QString &filter, QWidget *)
{
    openFilters << filter;
    return openFiles.isEmpty() ? QString() : openFiles.dequeue();
}

QString ScriptedUi::saveFileName(const QString &, const QString &proposed, const QString &, QWidget *)
{
    saveProposals << proposed;
    return saveFiles.isEmpty() ? QString() : saveFiles.dequeue();
}

int ScriptedUi::showModal(QDialog *window)
{
    shownWindows << window->objectName();
    window->setResult(QDialog::Rejected);
    window->show();
    auto it = onShow.constFind(window->objectName());
    if (it != onShow.constEnd())
        (*it)(window);
    const int result = window->result();
    window->hide();
    return result;
}

void ScriptedUi::openFile(const QString &path)
{
    openedFiles << path;
}

void ScriptedUi::beep()
{
    ++beeps;
}

void ScriptedUi::clear()
{
    messages.clear();
    questions.clear();
    prompts.clear();
    openedFiles.clear();
    saveProposals.clear();
    shownWindows.clear();
    reports.clear();
    beeps = 0;
}

namespace {
class ScriptedProgress : public Ui::Progress {
public:
    explicit ScriptedProgress(ScriptedUi &ui) : m_ui(ui) {}
    bool step(qint64 done) override
    {
        if (m_ui.onProgress)
            m_ui.onProgress(done);
        return m_ui.cancelProgressAt < 0 || done < m_ui.cancelProgressAt;
    }

private:
    ScriptedUi &m_ui;
};
} // namespace

std::unique_ptr<Ui::Progress> ScriptedUi::startProgress(const QString &text, qint64, QWidget *)
{
    progressTexts << text;
    return std::make_unique<ScriptedProgress>(*this);
}

// ---- reports ----------------------------------------------------------------------------

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

Ui::PrintResult ScriptedUi::printReport(const report::FilledReport &r, const AfterPrint &afterPrint, int copies)
{
    const PrintResult p = directPrints.isEmpty() ? Printed : directPrints.dequeue();
    ReportCall call = recordCall(ReportCall::Print, r);
    call.outcomes << p;
    call.printed = p == Printed ? copies : 0;
    reports << call;
    for (int i = 0; p == Printed && afterPrint && i < copies; ++i)
        afterPrint();
    if (p == PrintFailed)
        message(report::kPrintFailedMessage);
    return p;
}
