#pragma once
class QTableView;
class DataSet;

// Title click: sorts the dataset by the clicked column, first " ASC", then alternating with
// " DESC"; the sorted title is bold, the previous one plain.
void SortGridByColumn(DataSet *ds, int column);
// Connects a grid's title clicks to SortGridByColumn (unless not sortable) and its current
// row to the dataset's, both ways.
void BindGrid(QTableView *grid, DataSet *ds, bool sortable = true);
