#pragma once
#include <QLineEdit>

// Money box: digits only, regrouped with "," on every change, caret at the end. No typed or
// pasted digit is ever dropped.
class TMonEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMonEdit(QWidget *parent = nullptr);
    // The digits as a whole number of rials, 0 when empty. Throws db::Refusal naming the text
    // and the box (its objectName is its column) above money::kLimit or with a fraction.
    qint64 Value() const;
    void setValue(qint64 v);
    // Shows a stored amount grouped ("1250000.0000" reads "1,250,000").
    void setStoredText(const QString &stored);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void regroup();
    bool m_busy = false;
    bool m_userEdit = false;
};

// Decimal box: digits and one ".", caret at the end.
class TRealEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRealEdit(QWidget *parent = nullptr);
    double Value() const; // 0 when empty

private:
    void clean();
    bool m_busy = false;
};

// Solar date box edited like the mask "!9999/99/00;1;_": the separators stay in place,
// typed digits fill their positions and an empty box reads "    /  /  ".
class TDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDateEdit(QWidget *parent = nullptr);
    static const QString kEmpty; // "    /  /  "
    bool isBlank() const { return text() == kEmpty; }
    // Any text set or pasted is put into the box's form: "1403/5/6" reads "1403/05/06",
    // "" reads "    /  /  ".
    static QString normalized(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    // The mask's guide: outside typing, each unfilled place shows "_" (text() keeps its blank).
    void paintEvent(QPaintEvent *e) override;

private:
    void keepForm();
    void replaceRange(int start, const QString &chars, int caret);
    void blankSelection();
    void typeDigits(const QString &digits);
    void pasteDate();
    bool m_busy = false;
};
