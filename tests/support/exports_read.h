#pragma once
// Reading back what an export wrote: a workbook's first sheet and an HTML table's rows.
#include <QHash>
#include <QStringList>

namespace testing_support {

// What a workbook's first sheet holds, read back from its XML parts.
struct SheetCell {
    QString text;
    bool number = false;
    bool bold = false;
    QString border; // style of the left border ("" when none)
};
struct Sheet {
    QString name;
    QHash<QString, SheetCell> cells; // "A1" -> cell
    // The texts of a row (1-based), from column A to the last column that holds something.
    QStringList row(int r) const;
};
Sheet readXlsx(const QString &path);

// The cells of each <tr> of an exported table, unescaped (header cells included); an empty
// cell written as "<td>" and "</td>" on two lines reads as an empty text.
QList<QStringList> htmlRows(const QString &html);
// The rows of an HTML file.
QList<QStringList> htmlFileRows(const QString &path);

} // namespace testing_support
