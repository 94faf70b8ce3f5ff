#pragma once
// Initial entry of a bitumen allocation (insert and edit modes).
#include <QDialog>

class AppContext;

class Tghir_ins : public QDialog {
    Q_OBJECT
public:
    explicit Tghir_ins(AppContext &ctx, QWidget *parent = nullptr);

    // Sets / reads the box named after a ghir column as the openers and the pick do:
    // the text as stored (a money box shows its integer part grouped; a date box its text).
    void setBoxText(const QString &column, const QString &text);
    QString boxText(const QString &column) const;
    // Insert mode: ins_btn visible, edit_btn hidden; edit mode the reverse.
    void setInsertMode(bool insert);
    // Rights applied by the bitumen window's opener (insert / edit allowed).

private:
    AppContext &m_ctx;
};
