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

protected:
    void layoutBoxes(QVBoxLayout *outer) override;

private:
    void enterBox(QLineEdit *box);
    // A stored amount of the current allocation (dm.ADOQ_ghir), exactly (0 when empty);
    // throws FormulaError when there is no current allocation.
    long double storedAmount(const char *column) const;
};
