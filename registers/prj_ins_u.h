#pragma once
// A project of the credit register: its place (province down to village and place code),
// plan and programme.
#include "shared/entry_form.h"

class Tprj_ins : public EntryForm {
    Q_OBJECT
public:
    explicit Tprj_ins(AppContext &ctx, QWidget *parent = nullptr);

protected:
    QString logText(bool inserted) const override;
    void showEvent(QShowEvent *e) override;
};
