#pragma once
// A project of the credit register: its place (province down to village and place code),
// plan and programme.
#include "shared/entry_form.h"

class Tprj_ins : public EntryForm {
    Q_OBJECT
public:
    explicit Tprj_ins(AppContext &ctx, QWidget *parent = nullptr);

    // The credit of an edited project is the credit current in the credits window (null when
    // its list is empty); a new project has none (-1).
    QVariant value(const QString &column) const override;

protected:
    QString logText(bool inserted) const override;
    void showEvent(QShowEvent *e) override;
};
