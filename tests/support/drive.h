#pragma once
// Driving the windows as a user does, through their controls' object names, and the
// allocations (ghir rows) the bitumen tests start from.
#include "support/fixture.h"

#include "report/filled_report.h"

#include <QDialog>
#include <QVariantMap>
#include <functional>

class QComboBox;

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

// Register windows: a click that returns what it said; how a refusal names a box (its caption
// label's text, `box` + "_lbl", in «»); boxes set by name as a user sets them (an editable combo
// box takes the text, a fixed one picks the item); a grid's dataset and one column of its rows.
QStringList pressed(Fixture &f, QObject *window, const QString &name);
QString captioned(QWidget *window, const QString &box);
void setBox(QWidget *window, const QString &name, const QString &text);
void fillBoxes(QWidget *window, const QVariantMap &values);
DataSet *gridData(QWidget *window, const QString &grid);
QStringList gridColumn(QWidget *window, const QString &grid, const QString &field);
QStringList comboItems(const QComboBox *box);
// The bitumen forms: chooses a menu item of the bitumen window, its input boxes answered in
// order; the report it showed or printed last (a fatal failure when it showed none). The cells
// of one column of a report's rows.
const report::FilledReport &chooseForm(Fixture &f, const char *item, const QStringList &answers = {});
QStringList reportColumn(const report::FilledReport &r, const QString &name);
// Each row a query gives, its columns' texts joined by "|"; the ghir_history texts in the order
// written.
QStringList rows(Fixture &f, const QString &sql, const QVariantList &binds = {});
inline QStringList historyTexts(Fixture &f)
{
    return rows(f, QStringLiteral("select cmt from ghir_history order by pk"));
}
// A file written for a dialog to pick (a fatal failure when it cannot be), and a file's bytes
// ("<missing>" when it cannot be read).
QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// A user of `level` with one county of their own, signed in (its id). Rows of the value lists
// ("setting": the list's name, then the value), as the signatories of the printed forms.
qint64 signInWithCounty(Fixture &f, const QString &level, const QString &name = QStringLiteral("2280000011"),
                        const QString &county = QStringLiteral("اراك"));
void addSettings(Fixture &f, const QList<std::pair<QString, QString>> &rows);

} // namespace testing_support

using namespace testing_support;
