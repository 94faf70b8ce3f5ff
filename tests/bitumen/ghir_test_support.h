#pragma once
// Helpers of the bitumen entry form tests.
#include "support/fixture.h"

#include "core/dm_u.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QtTest>
#include <functional>

namespace ghirtest {

// Gives a box the focus as tabbing into it does.
inline bool enter(QWidget *box)
{
    QWidget *win = box->window();
    if (QApplication::activeWindow() != win) {
        win->activateWindow();
        QApplication::setActiveWindow(win);
    }
    // Leaving it first when it already has the focus, as tabbing out and back in does.
    if (box->hasFocus())
        box->clearFocus();
    box->setFocus(Qt::TabFocusReason);
    return box->hasFocus();
}

// Types text as key events carrying it (the test keyboard has no Persian keys).
inline void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// Shows a window modally through the Ui as the bitumen window does and drives it.
inline int drive(Fixture &f, QDialog *w, const std::function<void(QDialog *)> &steps)
{
    f.ui.onShow[w->objectName()] = steps;
    const int result = f.ui.showModal(w);
    f.ui.onShow.remove(w->objectName());
    return result;
}

// Adds a ghir row with the given columns and returns its id.
inline qint64 addAllocation(Fixture &f, const QVariantHash &values)
{
    QStringList cols, marks;
    QVariantList binds;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        cols << it.key();
        marks << QStringLiteral("?");
        binds << it.value();
    }
    f.dm.exec(QStringLiteral("insert into ghir (%1) values (%2)").arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
              binds);
    return f.scalar(QStringLiteral("select max(id) from ghir")).toLongLong();
}

// Makes the allocation the current row of the bitumen listing.
inline void makeCurrent(Fixture &f, qint64 id)
{
    f.dm.ADOQ_ghir->open(QStringLiteral("select * from ghir order by id"));
    QVERIFY(f.dm.ADOQ_ghir->locate(QStringLiteral("id"), id));
}

// Every column of a ghir row as text, for comparing a row before and after a refusal.
inline QStringList rowTexts(Fixture &f, qint64 id)
{
    DataSet *q = f.dm.ADOQuery2;
    q->open(QStringLiteral("select * from ghir where id=?"), {id});
    QStringList out;
    for (const QString &field : q->fieldNames())
        out << field + QLatin1Char('=') + q->text(field);
    return out;
}

inline QString cell(Fixture &f, qint64 id, const QString &column)
{
    return DataSet::valueText(f.scalar(QStringLiteral("select %1 from ghir where id=?").arg(column), {id}));
}

} // namespace ghirtest
