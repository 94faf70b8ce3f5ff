#pragma once
// What a clerk sees of a grid at the window's opening size, in the program's face.
#include <QApplication>
#include <QHeaderView>
#include <QScopeGuard>
#include <QTableView>

namespace testing_support {

// The program's face (as main() sets it) for the windows until the guard ends.
inline auto programFont()
{
    auto restore = qScopeGuard([before = QApplication::font()] { QApplication::setFont(before); });
    QApplication::setFont(QFont(QStringLiteral("Nazli"), 10));
    return restore;
}

// The titles of the grid's shown columns (counted in `shown`) not wholly within its viewport,
// once the columns have widened to the listing (when the events next run).
inline QStringList columnsOutOfSight(QTableView *grid, int *shown)
{
    QApplication::processEvents();
    const QHeaderView *h = grid->horizontalHeader();
    *shown = h->count() - h->hiddenSectionCount();
    QStringList out;
    for (int i = 0; i < h->count(); ++i)
        if (!h->isSectionHidden(i) && (h->sectionViewportPosition(i) < 0
                                       || h->sectionViewportPosition(i) + h->sectionSize(i) > grid->viewport()->width()))
            out << grid->model()->headerData(i, Qt::Horizontal).toString();
    return out;
}

} // namespace testing_support
