#pragma once
// Complementary data of a bitumen allocation: consumption, exchange and contributions.
#include "shared/entry_form.h"

class Tghir_ins2 : public EntryForm {
    Q_OBJECT
public:
    explicit Tghir_ins2(AppContext &ctx, QWidget *parent = nullptr);

    // The 30 ghir columns this window writes, in the order of its update.
    static const QStringList &columns();

    static const QString kSaved;
    static const QString kRowGone;
    // Added to a computed box's balloon when an input it needs is empty (our own wording).
    static const QString kMissing;
    // The caption of the window's one section, which is also the caption of the command that
    // opens it; the caption of the box of a column (empty for a column it has no box of).
    static const QString kSection;
    static QString caption(const QString &column);

protected:
    void layoutBoxes(QVBoxLayout *outer) override;

private:
    void enterBox(QLineEdit *box);
    // A stored amount of the current allocation (dm.ADOQ_ghir), exactly (0 when empty);
    // throws FormulaError when there is no current allocation.
    long double storedAmount(const char *column) const;
};
