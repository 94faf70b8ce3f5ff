#pragma once
// Under the current credit and project: the allocation of the credit by period.
#include "shared/entry_form.h"

class Tetb_takhsis : public EntryForm {
    Q_OBJECT
public:
    explicit Tetb_takhsis(AppContext &ctx, QWidget *parent = nullptr);
};
