#pragma once
// Under the current credit and project: the physical progress of the work by item and year.
#include "shared/entry_form.h"

class Tprj_pish : public EntryForm {
    Q_OBJECT
public:
    explicit Tprj_pish(AppContext &ctx, QWidget *parent = nullptr);
};
