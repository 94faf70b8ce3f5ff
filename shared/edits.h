#pragma once
#include <QLineEdit>

class QCoreApplication;

// Money box: digits only, regrouped with "," on every change, caret at the end. No typed or
// pasted digit is ever dropped, nor a minus sign: it stays in sight before the digits ("-1,500"),
// for the form to refuse.
class TMonEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMonEdit(QWidget *parent = nullptr);
    // The digits as a whole number of rials (negative with a minus sign), 0 when empty. Throws
    // db::Refusal naming the text and the box (its objectName is its column) above
    // money::kLimit, with a fraction, or a sign without digits.
    qint64 Value() const;
    void setValue(qint64 v);
    // Shows a stored amount grouped ("1250000.0000" reads "1,250,000"). `keepFraction`: the
    // amount was read from its row, and a fraction the box cannot show is kept for the save.
    void setStoredText(const QString &stored, bool keepFraction = false);
    // The amount read from its row when it holds a fraction the box cannot show (an amount
    // written elsewhere), while the box is untouched since; empty otherwise. Saved back as it
    // was, such an amount is never cut to its whole rials.
    QString unchangedStored() const { return m_touched ? QString() : m_storedFraction; }

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void regroup();
    bool m_busy = false;
    bool m_userEdit = false;
    bool m_touched = true;
    QString m_storedFraction;
};

// Decimal box: digits and one ".", the whole part grouped by thousands as in a money box
// ("1234567.5" shows "1,234,567.5"), caret at the end; a minus sign stays in sight before the
// digits. Its value is the plain number.
class TRealEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRealEdit(QWidget *parent = nullptr);
    double Value() const; // 0 when empty

private:
    void clean();
    bool m_busy = false;
};

// A box holding rials that is not a money box (a computed amount, an amount with a fraction,
// an amount box that takes any text): on every change its number shows grouped by thousands as
// a money box's ("-12345678901.5" shows "-12,345,678,901.5"; a fraction of zeros goes while the
// person is not typing in the box), the caret staying among the same digits. A text that is not
// a number stays as typed. What the box holds is read as the plain number (parseNumber).
void ShowGroupedRials(QLineEdit *box);

// Long texts show their beginning: a line edit or an editable combo box that the program fills
// while the person is not typing in it shows the start of its text (the caret at the start),
// and so does a box the person leaves. Installed once on the application, it watches every box.
void ShowTextsFromTheirStart(QCoreApplication *app);

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
