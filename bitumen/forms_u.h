#pragma once
// The bitumen forms: the frame every form handler of the projects window shares (the current
// allocation, input boxes, contractor row, signatories, history rows, the level gate, preview
// and print) and the province forms built on it: the contractor's undertaking (N8), the
// guarantee introduction on A5 (A51) and A4 (N9) and the oil company introduction letter
// (N44 preview, N45 straight print).
#include "report/filled_report.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class AppContext;
class DataSet;
class QWidget;
class Tghir_src;

// What every form handler does with the current allocation (the current row of dm.ADOQ_ghir).
class TghirFormFrame {
public:
    TghirFormFrame(AppContext &ctx, QWidget *window);

    static const QString kRefused;      // the level gate's refusal
    static const QString kOstan;        // the province level

    // False, after a short message, when the list has no current allocation: the form then
    // asks nothing, records nothing and shows nothing.
    bool hasCurrent() const;
    QVariant currentId() const;
    // Text of a column of the current allocation.
    QString current(const QString &column) const;

    // An input box; Cancel gives the default.
    QString ask(const QString &caption, const QString &prompt, const QString &def) const;

    // Reads the current allocation's contractor into dm.ADOQ_peymankar; without a register row
    // the contractor's columns read empty.
    void readContractor() const;
    QString contractor(const QString &column) const;

    // A signatory's name: the first value of the list, empty when it has none.
    QString signatory(const QString &listName) const;

    // Adds a ghir_history row for the allocation, today and the signed-in user.
    void writeHistory(const QVariant &ghirKey, const QString &text) const;

    // The level gate: true when the signed-in user's level is one of `levels` (compared
    // exactly); otherwise shows the refusal and returns false.
    bool passes(const QStringList &levels) const;

    // The report's preview. With a print text, each completed print writes a history row with
    // that text (asked when the print completes) for the allocation current at that moment.
    void preview(const report::FilledReport &r, std::function<QString()> printText = {}) const;
    // Straight to the printer `copies` times in a row, each completed print writing its row;
    // stops at the first print that did not complete. Returns the completed prints.
    int print(const report::FilledReport &r, int copies, std::function<QString()> printText = {}) const;

    // The labels' " * "-joined list: for each row in order, " * " and the row's value.
    static QString starJoined(const DataSet &ds, const QString &field);
    // Today's Solar date text.
    static QString today();

private:
    std::function<void()> afterPrint(std::function<QString()> printText) const;

    AppContext &m_ctx;
    QWidget *m_window;
};

// The province forms of the projects window's forms menu. Created once with the window, whose
// menu items N8, A51, N9, N44 and N45 it serves.
class Tghir_forms : public QObject {
    Q_OBJECT
public:
    Tghir_forms(AppContext &ctx, Tghir_src *window);

    // Connects the menu items of the window to a new instance owned by the window.
    static Tghir_forms *attach(AppContext &ctx, Tghir_src *window);

    // Font size of the undertaking's village list: the typed whole number from 4 to 72,
    // anything else 10.
    static int fontSizeAnswer(const QString &answer);
    // The letter's tonnage in words: words and "تن" for a whole number caption, else empty.
    static QString tonnageWords(const QString &caption);

    void N8Click();
    void A51Click();
    void N9Click();
    void N44Click();
    void N45Click();

private:
    // The guarantee introduction on either page: fills `r` and writes the request row; false
    // when there is no current allocation.
    bool fillGuarantee(report::FilledReport &r, bool a4);
    // The oil company letter filled for the current allocation; false when there is none.
    bool fillNaft(report::FilledReport &r);

    AppContext &m_ctx;
    Tghir_src *m_window;
    TghirFormFrame m_frame;
};
