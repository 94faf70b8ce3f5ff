#pragma once
#include "shared/ui.h"

#include <memory>

namespace report { class PrintJob; }

// The program's Ui: Qt's own message boxes, input dialogs and file dialogs.
class QtUi : public Ui {
public:
    QtUi();
    ~QtUi() override;
    // How reports reach the printer: the printer dialog, then the QPrinter (report::QtPrintJob).
    // Tests put a fake in its place.
    void setPrintJob(std::shared_ptr<report::PrintJob> job);
    report::PrintJob &printJob() const { return *m_printJob; }

    void message(const QString &text, QWidget *parent = nullptr) override;
    Answer question(const QString &text, bool withCancel = false, QWidget *parent = nullptr) override;
    QString inputBox(const QString &caption, const QString &prompt, const QString &def,
                     QWidget *parent = nullptr, bool *ok = nullptr) override;
    QString passwordBox(const QString &caption, const QString &prompt, bool *ok, QWidget *parent = nullptr) override;
    QString openFileName(const QString &caption, const QString &filter, QWidget *parent = nullptr) override;
    QString saveFileName(const QString &caption, const QString &proposed, const QString &filter,
                         QWidget *parent = nullptr) override;
    int showModal(QDialog *window) override;
    void openFile(const QString &path) override;
    void beep() override;
    void previewReport(const report::FilledReport &r, const AfterPrint &afterPrint = {}) override;
    PrintResult printReport(const report::FilledReport &r, const AfterPrint &afterPrint = {},
                            int copies = 1) override;
    std::unique_ptr<Progress> startProgress(const QString &text, qint64 total, QWidget *parent = nullptr) override;

private:
    std::shared_ptr<report::PrintJob> m_printJob;
};
