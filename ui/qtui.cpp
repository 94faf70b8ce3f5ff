#include "ui/qtui.h"

#include "report/filled_report.h"
#include "report/preview.h"
#include "report/printing.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <limits>

namespace {
QWidget *owner(QWidget *parent)
{
    if (parent)
        return parent;
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}
} // namespace

void QtUi::message(const QString &text, QWidget *parent)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, owner(parent));
    box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}

Ui::Answer QtUi::question(const QString &text, bool withCancel, QWidget *parent)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QString(), text, buttons, owner(parent));
    box.setLayoutDirection(Qt::RightToLeft);
    const int r = box.exec();
    if (r == QMessageBox::Yes)
        return Yes;
    if (r == QMessageBox::No)
        return No;
    return withCancel ? Cancel : No;
}

QString QtUi::inputBox(const QString &caption, const QString &prompt, const QString &def, QWidget *parent, bool *ok)
{
    QInputDialog d(owner(parent));
    d.setLayoutDirection(Qt::RightToLeft);
    d.setWindowTitle(caption);
    d.setLabelText(prompt);
    d.setTextValue(def);
    // Wide enough for a typical default text (up to about two thirds of the screen); once shown,
    // the text is selected with the caret at its start, so that its beginning is in sight.
    if (auto *box = d.findChild<QLineEdit *>()) {
        const int room = d.screen() ? d.screen()->availableGeometry().width() * 2 / 3 : 800;
        box->setMinimumWidth(qMin(box->fontMetrics().horizontalAdvance(def) + 24, room));
        QTimer::singleShot(0, box, [box] { box->setSelection(int(box->text().size()), -int(box->text().size())); });
    }
    const bool accepted = d.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? d.textValue() : def;
}

QString QtUi::passwordBox(const QString &caption, const QString &prompt, bool *ok, QWidget *parent)
{
    QInputDialog d(owner(parent));
    d.setLayoutDirection(Qt::RightToLeft);
    d.setWindowTitle(caption);
    d.setLabelText(prompt);
    d.setTextEchoMode(QLineEdit::Password);
    const bool accepted = d.exec() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? d.textValue() : QString();
}

QString QtUi::openFileName(const QString &caption, const QString &filter, QWidget *parent)
{
    return QFileDialog::getOpenFileName(owner(parent), caption, QString(), filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QString QtUi::saveFileName(const QString &caption, const QString &proposed, const QString &filter, QWidget *parent)
{
    return QFileDialog::getSaveFileName(owner(parent), caption, proposed, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

int QtUi::showModal(QDialog *window)
{
    return window->exec();
}

void QtUi::openFile(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtUi::beep()
{
    QApplication::beep();
}

namespace {

// Qt's progress dialog: shown when the run lasts more than a moment, modal, with its Cancel button.
class DialogProgress : public Ui::Progress {
public:
    DialogProgress(const QString &text, qint64 total, QWidget *parent)
        : m_dialog(parent)
    {
        // The default Cancel button, in the language of Qt's loaded translations.
        m_dialog.setLabelText(text);
        m_dialog.setRange(0, int(qBound<qint64>(qint64(0), total, qint64(std::numeric_limits<int>::max()))));
        m_dialog.setLayoutDirection(Qt::RightToLeft);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(700);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.setValue(0);
    }
    bool step(qint64 done) override
    {
        m_dialog.setValue(int(qMin<qint64>(done, m_dialog.maximum())));
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

std::unique_ptr<Ui::Progress> QtUi::startProgress(const QString &text, qint64 total, QWidget *parent)
{
    return std::make_unique<DialogProgress>(text, total, owner(parent));
}

// ---- reports ----------------------------------------------------------------------------

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

Ui::PrintResult QtUi::printReport(const report::FilledReport &r, const AfterPrint &afterPrint, int copies)
{
    return report::runPrint(*this, *m_printJob, r, afterPrint, QApplication::activeModalWidget(), copies);
}
