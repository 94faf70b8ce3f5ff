#pragma once
// What a clerk sees of a window at its opening size: the program's face (as main() sets it, so
// that texts measure as they do on a workstation) and the columns of a grid that are not
// wholly in sight.
#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QStringList>
#include <QTableView>

namespace testing_support {

// The program's face for the windows a test makes while it lives; the test's face after.
class ProgramFont {
public:
    ProgramFont() { QApplication::setFont(QFont(QStringLiteral("Nazli"), 10)); }
    ~ProgramFont() { QApplication::setFont(m_before); }

private:
    QFont m_before = QApplication::font();
};

// The titles of the shown columns of a grid that reach past its viewport, or stand before its
// start; the count of shown columns in `shown`. The columns widen to a listing when the event
// loop next turns: the events are run first.
inline QStringList columnsOutOfSight(QTableView *grid, int *shown = nullptr)
{
    QApplication::processEvents();
    const QHeaderView *h = grid->horizontalHeader();
    QStringList out;
    int count = 0;
    for (int i = 0; i < h->count(); ++i) {
        if (h->isSectionHidden(i))
            continue;
        ++count;
        const int start = h->sectionViewportPosition(i);
        if (start < 0 || start + h->sectionSize(i) > grid->viewport()->width())
            out << grid->model()->headerData(i, Qt::Horizontal).toString();
    }
    if (shown)
        *shown = count;
    return out;
}

} // namespace testing_support
