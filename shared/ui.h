#pragma once
// The one door to the person. The program uses QtUi; tests use ScriptedUi,
// which answers from queues and records everything it was asked to show.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;
class QDialog;

namespace report { class FilledReport; }

class Ui {
public:
    enum Answer { Yes, No, Cancel };
    // Outcome of sending a report to the printer.
    enum PrintResult { Printed, PrintCancelled, PrintFailed };
    using AfterPrint = std::function<void()>;

    virtual ~Ui() = default;

    virtual void message(const QString &text, QWidget *parent = nullptr) = 0;
    // Yes/No, or Yes/No/Cancel when withCancel.
    virtual Answer question(const QString &text, bool withCancel = false, QWidget *parent = nullptr) = 0;
    // Input box: Latin caption, Persian prompt, default. Cancel gives the default, and
    // *ok (when given) tells OK from Cancel.
    virtual QString inputBox(const QString &caption, const QString &prompt, const QString &def,
                             QWidget *parent = nullptr, bool *ok = nullptr) = 0;
    // Like inputBox with the typed characters hidden; Cancel gives an empty text and ok=false.
    virtual QString passwordBox(const QString &caption, const QString &prompt, bool *ok,
                                QWidget *parent = nullptr) = 0;
    // File dialogs: an empty result means cancelled.
    virtual QString openFileName(const QString &caption, const QString &filter, QWidget *parent = nullptr) = 0;
    virtual QString saveFileName(const QString &caption, const QString &proposed, const QString &filter,
                                 QWidget *parent = nullptr) = 0;
    // Shows a window modally and returns its result code when it closes.
    virtual int showModal(QDialog *window) = 0;
    // Opens a file with the desktop's default program.
    virtual void openFile(const QString &path) = 0;
    virtual void beep() = 0;

    // Report preview: a modal window from which the user may print (afterPrint
    // then runs once for each completed print job) or save a PDF (afterPrint does not run).
    virtual void previewReport(const report::FilledReport &r, const AfterPrint &afterPrint = {}) = 0;
    // Straight to the printer without preview: one printer dialog at most, then `copies` copies
    // in one job; when the job completed, afterPrint runs once for each copy.
    virtual PrintResult printReport(const report::FilledReport &r, const AfterPrint &afterPrint = {},
                                    int copies = 1) = 0;

    // A long run over many rows: step(done) moves the bar and answers false once the person
    // has pressed Cancel. A short run shows nothing.
    class Progress {
    public:
        virtual ~Progress() = default;
        virtual bool step(qint64 done) = 0;
    };
    // Progress of a run over `total` rows. The default never shows anything and never cancels.
    virtual std::unique_ptr<Progress> startProgress(const QString &text, qint64 total, QWidget *parent = nullptr);
};
