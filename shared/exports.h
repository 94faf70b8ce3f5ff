#pragma once
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

#include "core/rowstore.h"

class AppContext;
class DataSet;

// One column of a listing as the grid, the HTML export and the workbook show it: the dataset
// field and its title. A window keeps one table of them:
//
//   const QList<ExportColumn> kExport = {{"id", "شناسه"}, {"city", "شهرستان"}, ...};
//   ExportToExcel(m_ctx, ds, kExport);
struct ExportColumn {
    QString field;
    QString title;
    ExportColumn() = default;
    ExportColumn(const QString &f, const QString &t) : field(f), title(t) {}
    ExportColumn(const char *f, const char *t) : field(QString::fromUtf8(f)), title(QString::fromUtf8(t)) {}
};
// The one title lookup: the title of `field` (exact name first, then ignoring case, as
// PostgreSQL returns names in lower case); a field without one is titled with its own name.
QString ColumnTitle(const QList<ExportColumn> &columns, const QString &field);
// The titles as a field -> title table.
QHash<QString, QString> ColumnTitles(const QList<ExportColumn> &columns);
// Every field of the dataset in its order, each with its title from `titles`.
QList<ExportColumn> DataSetColumns(const DataSet *ds, const QList<ExportColumn> &titles);

// Excel export: an .xlsx in the temp folder opened with the default program. Titles
// are keyed by exact field name; a field without a title takes its own name.
// Returns the file written, or empty when writing failed (the user was told).
QString ExportToExcel(AppContext &ctx, DataSet *ds, const QHash<QString, QString> &titles);
QString ExportToExcel(AppContext &ctx, DataSet *ds, const QList<ExportColumn> &titles);

// One column of an HTML table: the dataset field and its header text.
using HtmlColumn = QPair<QString, QString>;
// The HTML table of the dataset's fields in its order, titled from `titles` (ColumnTitle).
bool ExportHtmlDataSet(AppContext &ctx, const QString &fileName, const QString &title, DataSet *ds,
                       const QList<ExportColumn> &titles, const QString &totalsRow = QString());
// HTML table export: written as UTF-8 to `fileName` and opened with the default program.
// `totalsRow` is inserted verbatim after the rows (the caller's own "<tr>...</tr>").
// Returns false when the file could not be written (the user was told).
bool ExportHtmlTable(AppContext &ctx, const QString &fileName, const QString &title, DataSet *ds,
                     const QList<HtmlColumn> &columns, const QString &totalsRow = QString());
// "&", "<" and ">" as HTML entities, the rule of every text an HTML export writes (title,
// headings, cells, totals; the row writer applies the same rule as it encodes a cell).
QString HtmlEscape(const QString &text);
// The message when an export file cannot be written: %1 the file, %2 the reason.
extern const QString kExportWriteError;
extern const QString kExportTooManyRows;
// The progress bar's text while a long export or report is written.
extern const QString kExportProgress;

// The fixed export names in the temp folder: "Tobrenhal.htm", "Tobrenhal.xls", "Tobrenhal" + ext.
// A file so named stays when the program ends (a browser or a viewer may still show it); the
// next export of the same name overwrites it.
QString TempExportPath(const QString &fileName);
// Removes the workbooks the program wrote to the temp folder (the last one of each kind). Runs
// when the program ends; a workbook still open elsewhere may stay.
void RemoveTempFiles();

// ---- Written row by row ----------------------------------------------------------------------
// For lists too long to hold and for reports whose rows come from a fill: the same files as the
// exports above, built one row at a time.

// An HTML table as ExportHtmlTable writes it. The file appears whole at finish(); a writer
// destroyed before that leaves no file.
class HtmlTableWriter {
public:
    HtmlTableWriter(const QString &fileName, const QString &title, const QStringList &headers);
    ~HtmlTableWriter();
    bool open(); // false: errorString()
    // One body row: its number (the "رديف" cell) and one text per header, escaped here.
    void row(qint64 number, const QStringList &cells);
    // The same row cell by cell: beginRow(), one cell per header, endRow().
    void beginRow(qint64 number);
    void cell(QStringView text);
    void utf8Cell(QByteArrayView text);  // UTF-8 bytes, escaped here
    void numberCell(double value);       // as DataSet::valueText writes a number
    void endRow();
    // The totals row after the body: the caller's own lines, written as given.
    void totals(const QString &rowHtml);
    bool finish(); // false: errorString()
    QString errorString() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// A totals row: one cell per text (an empty text gives "<td>" and "</td>" on two lines),
// in the header row's colour when `coloured`.
QString HtmlTotalsRow(const QStringList &cells, bool coloured);

// A workbook as ExportToExcel writes it, under a name of its own in the temp folder. The titles
// go to row 1 at open(); each row() adds the next row. A writer destroyed before finish(), or a
// failed finish(), removes the file. A finished workbook stays (the user opens it) until the
// next workbook of the same kind (the same titles) replaces it or the program ends.
class SheetWriter {
public:
    explicit SheetWriter(const QStringList &titles);
    ~SheetWriter();
    bool open();                           // false: errorString()
    bool row(const QVariantList &values);  // numbers as numbers, the rest as their text as stored
    bool row(const QVariant *values, int count);
    // A row of a listing as it is held: its stored cells, then the values of its calculated fields.
    bool row(const RowStore::Cell *cells, int count, const QVariantList &more = {});
    bool finish();                         // false: errorString()
    QString path() const;
    QString errorString() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
