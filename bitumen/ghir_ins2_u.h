#pragma once
// Complementary data of a bitumen allocation: consumption, exchange and contributions.
#include <QDialog>
#include <QHash>

class AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;
class TBalloonTip;

class Tghir_ins2 : public QDialog {
    Q_OBJECT
public:
    explicit Tghir_ins2(AppContext &ctx, QWidget *parent = nullptr);

    // Sets / reads the box named after a ghir column, as the opener fills them
    // (a money box shows the stored amount's integer part, grouped).
    // Column names compare case-insensitively.
    void setBoxText(const QString &column, const QString &text);
    QString boxText(const QString &column) const;

    // The 30 ghir columns this window writes, in the order of its update.
    static const QStringList &columns();
    TBalloonTip *balloonTip() const { return m_tip; }

    static const QString kSaved;
    static const QString kRowGone;

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void buildBoxes();
    QWidget *box(const QString &column) const;
    QLineEdit *edit(const QString &column) const;
    void enterBox(QLineEdit *box);
    QVariantList values() const;
    void save();

    AppContext &m_ctx;
    QHash<QString, QWidget *> m_boxes; // lower-case column -> box
    QPushButton *m_saveBtn = nullptr;
    TBalloonTip *m_tip = nullptr;
};
