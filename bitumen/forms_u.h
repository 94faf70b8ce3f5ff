#pragma once
// The bitumen forms: the allocation's half of the form frame (the current allocation, its
// contractor, the ghir_history rows) and the province forms as rows on it: the contractor's
// undertaking (N8), the guarantee introduction on A5 (A51) and A4 (N9) and the oil company
// introduction letter (N44 preview, N45 straight print).
#include "report/form_frame.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>

class AppContext;
class QWidget;
class Tghir_src;

// The form frame over the current allocation (the current row of dm.ADOQ_ghir). Its label
// sources are "ghir" (the allocation's columns) and "peymankar" (its contractor's register
// row, read when a form names it); the request and print rows go to ghir_history.
class TghirFormFrame : public report::FormFrame {
public:
    TghirFormFrame(AppContext &ctx, QWidget *window);

    static const QString kOstan; // the province level
    static const QString kGhir;  // the allocation source
    static const QString kPeymankar; // the contractor source

    // Runs a form for the current allocation; with none, says so and does nothing else.
    bool run(const report::FormRow &row) override;

    // False, after a short message, when the list has no current allocation.
    bool hasCurrent() const;
    QVariant currentId() const;
    QString current(const QString &column) const;

    // Reads the current allocation's contractor into dm.ADOQ_peymankar; without a register row
    // the contractor's columns read empty.
    void readContractor() const;
    QString contractor(const QString &column) const;

    // Adds a ghir_history row for the allocation, today and the signed-in user.
    void writeHistoryFor(const QVariant &ghirKey, const QString &text) const;

protected:
    // A completed print writes its row for the allocation current at that moment (or, with
    // none, the one the form was requested for).
    std::function<void()> afterPrint(std::function<QString()> printText) const override;
};

// The province forms of the projects window's forms menu. Created once with the window, whose
// menu items N8, A51, N9, N44 and N45 it serves.
class Tghir_forms : public QObject {
    Q_OBJECT
public:
    Tghir_forms(AppContext &ctx, Tghir_src *window);

    // Connects the menu items of the window to a new instance owned by the window.
    static Tghir_forms *attach(AppContext &ctx, Tghir_src *window);

    // The letter's tonnage in words: words and "تن" for a whole number caption, else empty.
    static QString tonnageWords(const QString &caption);

    // The forms by menu item.
    static const QList<QPair<QString, report::FormRow>> &rows();

private:
    TghirFormFrame m_frame;
};
