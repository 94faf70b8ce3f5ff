#pragma once
// Entry and correction of a county's monthly technical-services report (table khadamat).
#include "shared/entry_form.h"

class Tkhadamat_ins : public EntryForm {
    Q_OBJECT
public:
    explicit Tkhadamat_ins(AppContext &ctx, QWidget *parent = nullptr);

    // The twelve month names in calendar order, as the month boxes list them.
    static QStringList months();
};
