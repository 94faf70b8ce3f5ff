#include "shared/gridsort.h"

#include "core/dataset.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

void SortGridByColumn(DataSet *ds, int column)
{
    if (!ds || column < 0 || column >= ds->fieldNames().size())
        return;
    const QString field = ds->fieldNames().at(column);
    // The current sort's field is compared whole: a field whose name merely begins the
    // sorted one's name starts with " ASC" too.
    const QString current = ds->sort().trimmed();
    const QString sortedField = current.section(QLatin1Char(' '), 0, 0);
    const bool sameField = sortedField.compare(field, Qt::CaseInsensitive) == 0;
    const bool descending = current.contains(QLatin1String(" DESC"), Qt::CaseInsensitive);
    ds->setSort(field + (sameField && !descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC")));
    ds->setBoldColumn(column);
}

namespace {

void selectRow(QTableView *grid, DataSet *ds, int row)
{
    QItemSelectionModel *sel = grid->selectionModel();
    if (!sel || grid->model() != ds)
        return;
    if (row < 0 || row >= ds->rowCount()) {
        sel->clearCurrentIndex();
        sel->clearSelection();
        return;
    }
    if (sel->currentIndex().row() == row && sel->isRowSelected(row, {}))
        return;
    int col = sel->currentIndex().column();
    if (col < 0 || grid->isColumnHidden(col)) {
        // The first column shown: a new listing starts at the grid's first column, unscrolled.
        const QHeaderView *h = grid->horizontalHeader();
        col = 0;
        for (int v = 0; v < h->count(); ++v) {
            if (!h->isSectionHidden(h->logicalIndex(v))) {
                col = h->logicalIndex(v);
                break;
            }
        }
    }
    const QModelIndex idx = ds->index(row, qMin(col, qMax(0, ds->columnCount() - 1)));
    sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid->scrollTo(idx);
}

} // namespace

void BindGrid(QTableView *grid, DataSet *ds, bool sortable)
{
    if (!grid || !ds)
        return;
    if (grid->model() != ds)
        grid->setModel(ds);
    QHeaderView *header = grid->horizontalHeader();
    header->setSectionsClickable(sortable);
    if (sortable)
        QObject::connect(header, &QHeaderView::sectionClicked, grid,
                         [ds](int section) { SortGridByColumn(ds, section); });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, ds,
                     [ds](const QModelIndex &current) {
                         if (current.isValid())
                             ds->setCurrentRow(current.row());
                     });
    QObject::connect(ds, &DataSet::currentRowChanged, grid, [grid, ds](int row) { selectRow(grid, ds, row); });
    QObject::connect(ds, &DataSet::reopened, grid, [grid, ds] { selectRow(grid, ds, ds->currentRow()); });
    QObject::connect(ds, &QAbstractItemModel::modelReset, grid, [grid, ds] { selectRow(grid, ds, ds->currentRow()); });
    selectRow(grid, ds, ds->currentRow());
}
