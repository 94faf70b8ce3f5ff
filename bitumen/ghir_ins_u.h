#pragma once
// Initial entry of a bitumen allocation (insert and edit modes).
#include "shared/entry_form.h"

class PlaceCascade;
struct PickedContractor;

class Tghir_ins : public EntryForm {
    Q_OBJECT
public:
    explicit Tghir_ins(AppContext &ctx, QWidget *parent = nullptr);

    // Puts a picked contractor into the contractor boxes.
    void setContractor(const PickedContractor &c);

    // The 43 ghir columns this window writes, in the order of its update.
    static const QStringList &columns();

    static const QString kPlaceError;
    static const QString kDuplicateError;
    static const QString kRowGone;

protected:
    void showEvent(QShowEvent *e) override;
    QStringList refusals(bool inserting) override;

private:
    void fillContractorNames();
    void pickContractor();
    void enterComputedBox(QLineEdit *box);
    // A number of the current allocation (dm.ADOQ_ghir) as stored (0 when empty); throws
    // FormulaError when there is no current allocation.
    long double stored(const char *column) const;

    PlaceCascade *m_places;
};
