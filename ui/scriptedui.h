#pragma once
#include "shared/ui.h"

#include <QHash>
#include <QList>
#include <QQueue>
#include <memory>

// The tests' Ui: answers come from queues, everything shown is recorded.
// An empty answer queue gives the default answer (No / the default text / cancel).
class ScriptedUi : public Ui {
public:
    ScriptedUi();
    ~ScriptedUi() override;

    // What the program showed or asked, in order.
    QStringList messages;
    QStringList questions;
    QStringList prompts;          // "caption|prompt|default" of each input box
    QStringList openedFiles;
    QStringList openFilters;      // the filter of each open-file dialog
    QStringList saveProposals;    // the name each save dialog proposed
    QStringList shownWindows;     // objectName of each window shown modally
    int beeps = 0;

    struct ReportCall {
        enum Kind { Preview, Print } kind;
        std::shared_ptr<report::FilledReport> report; // a copy of what was shown or printed
        int printed = 0;                              // after-print notifications: copies of completed jobs
        QList<PrintResult> outcomes;                  // every print tried, in order
        QStringList problems;                         // report->check(): labels not filled, columns missing
    };
    QList<ReportCall> reports;

    // Scripted answers.
    QQueue<Answer> answers;
    QQueue<QString> inputs;       // for inputBox and passwordBox; kCancel answers Cancel
    static const QString kCancel;
    QQueue<QString> openFiles;    // for openFileName
    QQueue<QString> saveFiles;    // for saveFileName
    // For previewReport: how the user uses each preview, in order: each entry is a list of
    // print outcomes (e.g. {Printed, Printed} = printed twice; {} = only looked at).
    QQueue<QList<PrintResult>> previewPrints;
    // For printReport: outcome of each direct print, its copies in one job (default Printed).
    // A failed print (from either) shows report::kPrintFailedMessage, as the program does.
    QQueue<PrintResult> directPrints;

    // Called with the window when it is shown modally; the handler drives it and
    // the modal call returns the window's result afterwards. Keyed by objectName.
    QHash<QString, std::function<void(QDialog *)>> onShow;

    // Progress of long runs: the text of each run shown; the run is cancelled once `done`
    // reaches cancelProgressAt (-1: never); onProgress sees every step.
    QStringList progressTexts;
    qint64 cancelProgressAt = -1;
    std::function<void(qint64 done)> onProgress;

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

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last(); }
    void clear();
};
