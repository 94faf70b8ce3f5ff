#include "support/drive.h"

#include "bitumen/ghir_src_u.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

namespace testing_support {

bool enter(QWidget *box)
{
    QWidget *win = box->window();
    if (QApplication::activeWindow() != win) {
        win->activateWindow();
        QApplication::setActiveWindow(win);
    }
    if (box->hasFocus())
        box->clearFocus();
    box->setFocus(Qt::TabFocusReason);
    return box->hasFocus();
}

QString entered(QWidget *window, const QString &box)
{
    auto *e = child<QLineEdit>(window, box);
    return enter(e) ? e->text() : QStringLiteral("<no focus>");
}

void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text)
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &key);
        }
}

void click(QObject *window, const QString &name)
{
    QObject *o = window->findChild<QObject *>(name);
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        b->click();
    else if (auto *a = qobject_cast<QAction *>(o))
        a->trigger();
    else
        qFatal("nothing to click named %s in %s", qPrintable(name), qPrintable(window->objectName()));
}

int drive(Fixture &f, QDialog *w, const Steps &steps)
{
    f.ui.onShow[w->objectName()] = steps;
    const int result = f.ui.showModal(w);
    f.ui.onShow.remove(w->objectName());
    return result;
}

void driveNextModal(bool *seen, const std::function<void(QWidget *)> &steps)
{
    *seen = false;
    QTimer::singleShot(0, [=] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            *seen = true;
            steps(w);
        }
    });
}

void through(Fixture &f, QObject *from, const QString &item, const QString &window, const Steps &steps)
{
    bool shown = false;
    f.ui.onShow[window] = [&](QDialog *d) {
        shown = true;
        steps(d);
    };
    click(from, item);
    f.ui.onShow.remove(window);
    QVERIFY2(shown, qPrintable(item + QStringLiteral(" did not show ") + window));
}

qint64 addGhir(Fixture &f, const QVariantMap &values)
{
    // The complementary columns at the values the initial entry stores.
    QVariantMap row{{"ostan", "مرکزي"}, {"city", "اراك"}, {"rosta", "روستا"}, {"prj_typ", "آسفالت"},
                    {"peymankar", "پيمانكار"}, {"prot_mablagh", 0}, {"bors_price", 0}, {"ghir_tahatori", 0},
                    {"prot_mablagh_ejra", 0}, {"peymankar_id", -1}, {"reg_dat", "1403/05/06"}, {"sal", "1403"},
                    {"az_name", QString()}, {"rep_dat", QString()}, {"sorat_area", 0}, {"bors_m", 0},
                    {"asfalt_price", 0}, {"ghir_jam", QString()}, {"ghir_t", QString()}, {"jalase_no", 0},
                    {"jalase_dat", "    /  /  "}, {"zarib", "0"}, {"asfalt_ejra", QString()}, {"ghir_moadel", 0},
                    {"status", QString()}, {"sorat_area_f", 0}, {"tarakom", 0}};
    row.insert(values);
    const QString marks = QStringLiteral("?,").repeated(row.size()).chopped(1);
    f.dm.exec(QStringLiteral("insert into ghir (%1) values (%2)").arg(row.keys().join(QLatin1Char(',')), marks),
              row.values());
    return f.scalar(QStringLiteral("select max(id) from ghir")).toLongLong();
}

QStringList ghirRow(Fixture &f, qint64 id)
{
    DataSet *q = f.dm.ADOQuery2;
    q->open(QStringLiteral("select * from ghir where id=?"), {id});
    QStringList out;
    for (const QString &field : q->fieldNames())
        out << field + QLatin1Char('=') + q->text(field);
    return out;
}

QString ghirCell(Fixture &f, qint64 id, const QString &column)
{
    return DataSet::valueText(f.scalar(QStringLiteral("select %1 from ghir where id=?").arg(column), {id}));
}

void makeCurrent(Fixture &f, qint64 id)
{
    f.form<Tghir_src>()->search();
    QVERIFY(f.dm.ADOQ_ghir->locate(QStringLiteral("id"), id));
}

QString captioned(QWidget *window, const QString &box)
{
    return QStringLiteral("«%1»").arg(child<QLabel>(window, box + QStringLiteral("_lbl"))->text());
}

QStringList pressed(Fixture &f, QObject *window, const QString &name)
{
    f.ui.clear();
    click(window, name);
    return f.ui.messages;
}

void fillBoxes(QWidget *window, const QVariantMap &values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        setBox(window, it.key(), it.value().toString());
}

DataSet *gridData(QWidget *window, const QString &grid)
{
    return qobject_cast<DataSet *>(child<QTableView>(window, grid)->model());
}

QStringList gridColumn(QWidget *window, const QString &grid, const QString &field)
{
    DataSet *ds = gridData(window, grid);
    QStringList out;
    for (int r = 0; r < ds->recordCount(); ++r)
        out << ds->text(field, r);
    return out;
}

const report::FilledReport &chooseForm(Fixture &f, const char *item, const QStringList &answers)
{
    f.ui.inputs << answers;
    f.ui.reports.clear();
    click(f.form<Tghir_src>(), QLatin1String(item));
    if (f.ui.reports.isEmpty())
        qFatal("%s showed no report: %s", item, qPrintable(f.ui.messages.join(QLatin1Char('|'))));
    return *f.ui.reports.last().report;
}

QStringList rows(Fixture &f, const QString &sql, const QVariantList &binds)
{
    DataSet *q = f.dm.ADOQuery2;
    q->open(sql, binds);
    QStringList out;
    for (int r = 0; r < q->recordCount(); ++r) {
        QStringList cells;
        for (const QString &field : q->fieldNames())
            cells << q->text(field, r);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QStringList reportColumn(const report::FilledReport &r, const QString &name)
{
    QStringList out;
    for (int row = 0; row < r.rowCount(); ++row)
        out << r.cell(row, name);
    return out;
}

void setBox(QWidget *window, const QString &name, const QString &text)
{
    auto *c = qobject_cast<QComboBox *>(child<QWidget>(window, name));
    if (c && c->isEditable())
        c->setEditText(text);
    else if (c)
        c->setCurrentIndex(c->findText(text));
    else
        child<QLineEdit>(window, name)->setText(text);
}

QStringList comboItems(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

qint64 signInWithCounty(Fixture &f, const QString &level, const QString &name, const QString &county)
{
    const qint64 u = f.addUser(name, "p", level);
    f.addCounty(u, county);
    f.signInAs(u, name, level);
    return u;
}

void addSettings(Fixture &f, const QList<std::pair<QString, QString>> &rows)
{
    for (const auto &[list, value] : rows)
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"), {list, value});
}

} // namespace testing_support
