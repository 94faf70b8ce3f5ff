#pragma once
// Complementary data of a bitumen allocation: consumption, exchange and contributions.
#include <QDialog>

class AppContext;

class Tghir_ins2 : public QDialog {
    Q_OBJECT
public:
    explicit Tghir_ins2(AppContext &ctx, QWidget *parent = nullptr);

    // Sets / reads the box named after a ghir column, as the opener fills them.
    void setBoxText(const QString &column, const QString &text);
    QString boxText(const QString &column) const;

private:
    AppContext &m_ctx;
};
