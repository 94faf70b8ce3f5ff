#pragma once
// Driving the windows as a user does, through their controls' object names, and the
// allocations (ghir rows) the bitumen tests start from.
#include "support/fixture.h"

#include <QDialog>
#include <QVariantMap>
#include <functional>

namespace testing_support {

using Steps = std::function<void(QDialog *)>;

// Gives a box the focus as tabbing into it does (leaving it first when it already has it).
bool enter(QWidget *box);
// Enters a box by name (a computed box computes) and returns its text.
QString entered(QWidget *window, const QString &box);
// Types text as key events carrying it (the test keyboard has no Persian keys).
void typeText(QWidget *w, const QString &text);
// Clicks a button or triggers a menu item, by name.
void click(QObject *window, const QString &name);
// Shows a window modally through the Ui, as the commands do; `steps` run while it is shown.
int drive(Fixture &f, QDialog *w, const Steps &steps);
// Drives the next modal window the program runs itself (exec()); `*seen` tells whether it came.
void driveNextModal(bool *seen, const std::function<void(QWidget *)> &steps);
// Clicks `item` of `from`; `steps` run while it shows the window of class `window`.
void through(Fixture &f, QObject *from, const QString &item, const QString &window, const Steps &steps);

// Adds an allocation as the initial entry stores it, `values` over the defaults; returns its id.
qint64 addGhir(Fixture &f, const QVariantMap &values = {});
// Every column of a ghir row as "name=text", to compare a row before and after a refusal.
QStringList ghirRow(Fixture &f, qint64 id);
QString ghirCell(Fixture &f, qint64 id, const QString &column);
// Lists the allocations as the bitumen window does and makes `id` the current one.
void makeCurrent(Fixture &f, qint64 id);

// Register windows: boxes filled by name (an editable combo box takes the text as typed).
void fillBoxes(QWidget *window, const QVariantMap &values);

} // namespace testing_support

using namespace testing_support;
