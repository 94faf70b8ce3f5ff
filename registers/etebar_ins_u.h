#pragma once
// A credit of a project: where it is provided from, its source, year, kind, amount and debts.
#include "shared/entry_form.h"

class Tetebar_ins : public EntryForm {
    Q_OBJECT
public:
    explicit Tetebar_ins(AppContext &ctx, QWidget *parent = nullptr);
};
