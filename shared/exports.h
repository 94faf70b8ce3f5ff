#pragma once
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

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
// The same table from rows of texts (one text per header, in order).
bool ExportHtmlRows(AppContext &ctx, const QString &fileName, const QString &title, const QStringList &headers,
                    const QList<QStringList> &rows, const QString &totalsRow = QString());
// "&", "<" and ">" as HTML entities: every text written into an export goes through it.
QString HtmlEscape(const QString &text);
// The message when an export file cannot be written: %1 the file, %2 the reason.
extern const QString kExportWriteError;
extern const QString kExportTooManyRows;

// The fixed export names in the temp folder: "Tobrenhal.htm", "Tobrenhal.xls", "Tobrenhal" + ext.
QString TempExportPath(const QString &fileName);
