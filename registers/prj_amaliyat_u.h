#pragma once
// Under the current credit and project: the operations the credit pays for, with quantity, share, cost and duration.
#include "shared/entry_form.h"

class Tprj_amaliyat : public EntryForm {
    Q_OBJECT
public:
    explicit Tprj_amaliyat(AppContext &ctx, QWidget *parent = nullptr);
};
