#pragma once
// A layout filled for one request: label texts by name, font sizes set at run time and a
// snapshot of the detail rows. Copying it is cheap and keeps the same rows, so a second print
// from one preview prints what the first did, whatever the data module's queries do meanwhile.
//
//     report::FilledReport r("TZEMANATNAME");          // loads ":/layouts/TZEMANATNAME.json"
//     r.set("peymankar", ...);                          // unknown label: AppError
//     r.setFontSize("rosta", 12);
//     r.setRows(*ctx.dm->ADOQuery1);                    // snapshot of every row and column
//     ctx.ui->previewReport(r, [&] { ...after each completed print... });
#include "report/layout.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class DataSet;

namespace report {

class FilledReport {
public:
    FilledReport() = default;
    // The layout of that name from the resources (Layout::load; AppError when missing or malformed).
    explicit FilledReport(const QString &layoutName);
    explicit FilledReport(std::shared_ptr<const Layout> layout);

    bool isNull() const { return !m_layout; }
    const Layout &layout() const { return *m_layout; }
    QString layoutName() const { return m_layout ? m_layout->name : QString(); }
    // The form's title: the preview's caption, the PDF's title and the name a saved PDF or a
    // print job is given: the layout's title with its labels' texts in it, its figures in
    // Persian digits as on the page, else the layout's name.
    QString title() const;
    // The title as a file name: the characters a file name cannot hold ("/" of "عمراني/دهياري",
    // "\\", ":" ...) made "-".
    QString fileName() const;

    // Fills a label. A name the layout does not show is a fault of the caller: AppError.
    void set(const QString &label, const QString &text);
    // The label's text: what was set, else the layout's design text, else empty.
    QString text(const QString &label) const;
    bool isSet(const QString &label) const { return m_labels.contains(label); }
    const QHash<QString, QString> &labels() const { return m_labels; }

    // Font size (points) of a label wherever it is shown, set at run time. AppError for an unknown label.
    void setFontSize(const QString &label, double points);
    // 0 when not set.
    double fontSize(const QString &label) const { return m_fontSizes.value(label, 0); }

    // Detail rows: a snapshot of every row of the data set (every field as its display text).
    void setRows(const DataSet &ds);
    void setRows(const QStringList &columns, const QVector<QStringList> &rows);
    const QStringList &columns() const { return m_columns; }
    int rowCount() const { return int(m_rows.size()); }
    // Text of a column of a row (case-insensitive column name); empty when absent.
    QString cell(int row, const QString &column) const;
    // Index of a column, -1 when absent; case-insensitive.
    int columnIndex(const QString &column) const;
    QString cell(int row, int columnIndex) const;

    // What does not match the layout: labels it needs that were not filled, columns the detail
    // reads that the rows lack, rows handed to a layout without a detail table, pictures missing
    // from the resources. Empty when the report is complete. Tests check it for every form.
    QStringList check() const;

private:
    std::shared_ptr<const Layout> m_layout;
    QHash<QString, QString> m_labels;
    QHash<QString, double> m_fontSizes;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex; // lower-case name -> index
    QVector<QStringList> m_rows;
    bool m_rowsSet = false;
};

} // namespace report
