#pragma once
// A read-only grid made from a column table and bound to a dataset: the grid's current row
// and the dataset's are kept in step both ways, a title click sorts (SortGridByColumn), the
// whole current row is marked, and the columns stand in the table's order with their titles,
// widths (at least) and title colours. Fields of the listing that the table does not name are
// hidden.
//
// A window declares its columns once:
//
//   const GridColumn kColumns[] = {
//       {"id"},                                         // no title: loaded, hidden
//       {"city", "شهرستان", 100},
//       {"rosta", "روستا", 0, qRgb(0, 255, 0)},         // green title
//       {"mablagh", "مبلغ", 0, 0, GridColumn::Money},    // grouped by thousands
//   };
//   DBGrid1 = MakeGrid(this, m_ctx.dm->ADOQ_khadamat,
//                      {.columns = kColumns, .rowColor = [](const DataSet &ds, int row) { ... }});
//
// and exports with the same titles: ExportToExcel(m_ctx, ds, GridExportColumns(kColumns)).
#include "shared/exports.h"

#include <QColor>
#include <QList>
#include <functional>
#include <span>

class DataSet;
class QMenu;
class QTableView;
class QWidget;

struct GridColumn {
    enum Display {
        Text,   // as the dataset gives it (an empty date as an empty cell)
        Money,  // whole rials grouped by thousands ("12,345"), right-aligned
        Number, // without needless decimals ("15.5", "12"), right-aligned
    };
    const char *field;
    const char *title = nullptr; // nullptr or "": the column is loaded but hidden
    int width = 0;               // 0: the grid's default width
    QRgb titleColor = 0;         // 0: the title's normal colour
    Display display = Text;
};

struct GridDef {
    std::span<const GridColumn> columns;
    const char *objectName = "DBGrid1";
    int defaultWidth = 80;
    // A title click sorts the rows already loaded; false leaves the titles inert.
    bool sortable = true;
    // Background of a row (every cell, the current one too); an invalid colour: plain.
    std::function<QColor(const DataSet &ds, int row)> rowColor = {};
    // Shown on a right click over the grid.
    QMenu *popup = nullptr;
};

// Makes the grid (objectName from the declaration, a child of parent, not yet in a layout). Every
// listing widens a column whose title or cells need more room than its width in the installed
// font; a number is never elided (one wider than its cell is drawn smaller). The current row is
// marked in every cell, over a row colour as well. A text without Persian letters (".jpg", a
// Latin code) reads left to right.
QTableView *MakeGrid(QWidget *parent, DataSet *ds, const GridDef &decl);

// What a cell of a column shows for the dataset's text.
QString GridCellText(GridColumn::Display display, const QString &text);

// The titled columns of a column table, for the HTML export and the workbook.
QList<ExportColumn> GridExportColumns(std::span<const GridColumn> columns);
