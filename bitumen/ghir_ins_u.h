#pragma once
// Initial entry of a bitumen allocation (insert and edit modes).
#include <QDialog>
#include <QHash>

class AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;
class TBalloonTip;

class Tghir_ins : public QDialog {
    Q_OBJECT
public:
    explicit Tghir_ins(AppContext &ctx, QWidget *parent = nullptr);

    // Sets / reads the box named after a ghir column as the openers and the pick do:
    // the text as stored (a money box shows its integer part grouped; a date box its text).
    // Column names compare case-insensitively.
    void setBoxText(const QString &column, const QString &text);
    QString boxText(const QString &column) const;
    // Insert mode: ins_btn visible, edit_btn hidden; edit mode the reverse.
    void setInsertMode(bool insert);
    bool isInsertMode() const;

    // The 43 ghir columns this window writes, in the order of its update.
    static const QStringList &columns();
    // The balloon tips of the computed boxes.
    TBalloonTip *balloonTip() const { return m_tip; }

    static const QString kPlaceError;
    static const QString kDuplicateError;
    static const QString kInserted;
    static const QString kRowGone;

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void buildBoxes();
    QWidget *box(const QString &column) const;
    QLineEdit *edit(const QString &column) const;
    QComboBox *combo(const QString &column) const;

    void provinceChanged();
    void countyChanged();
    void pickContractor();
    void enterComputedBox(QLineEdit *box);
    // Values of the 43 columns in the update's order; throws InputError, so a refused
    // value stops the command before any statement runs.
    QVariantList ownValues() const;
    bool placeExists() const;
    bool isDuplicate(const QVariantList &own) const;
    void insertRecord();
    void updateRecord();

    AppContext &m_ctx;
    QHash<QString, QWidget *> m_boxes; // lower-case column -> box
    QPushButton *m_insBtn = nullptr;
    QPushButton *m_editBtn = nullptr;
    TBalloonTip *m_tip = nullptr;
};
