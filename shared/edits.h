#pragma once
#include <QLineEdit>

// Money box: digits only, regrouped with "," on every change, caret at the end.
class TMonEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMonEdit(QWidget *parent = nullptr);
    // The digits as a whole number of rials, 0 when empty.
    qint64 Value() const;
    void setValue(qint64 v);
    // Shows a stored amount: its integer part, grouped (a stored fraction is dropped).
    void setStoredText(const QString &stored);
};

// Decimal box: digits and one ".", caret at the end.
class TRealEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRealEdit(QWidget *parent = nullptr);
    double Value() const; // 0 when empty
};

// Solar date box with the edit mask "!9999/99/00;1;_": an empty box reads "    /  /  ".
class TDateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDateEdit(QWidget *parent = nullptr);
    static const QString kEmpty; // "    /  /  "
    bool isBlank() const { return text() == kEmpty; }
};
