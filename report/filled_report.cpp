#include "report/filled_report.h"

#include "core/dataset.h"
#include "core/errors.h"
#include "report/fonts.h"

#include <QFile>

namespace report {

FilledReport::FilledReport(const QString &layoutName) : m_layout(Layout::load(layoutName)) {}

FilledReport::FilledReport(std::shared_ptr<const Layout> layout) : m_layout(std::move(layout)) {}

QString FilledReport::title() const
{
    if (!m_layout || m_layout->title.isEmpty())
        return layoutName();
    QString title = m_layout->title;
    for (const QString &label : m_layout->titleLabels())
        title.replace(QLatin1Char('{') + label + QLatin1Char('}'), text(label));
    return persianFigures(title.simplified());
}

QString FilledReport::fileName() const
{
    QString name = title();
    for (QChar &c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('-');
    return name;
}

void FilledReport::set(const QString &label, const QString &text)
{
    if (!m_layout || !m_layout->labelNames().contains(label))
        throw AppError(QStringLiteral("Report layout %1 has no label %2").arg(layoutName(), label));
    m_labels.insert(label, text);
}

QString FilledReport::text(const QString &label) const
{
    auto it = m_labels.constFind(label);
    if (it != m_labels.constEnd())
        return *it;
    if (m_layout)
        for (const Band &b : m_layout->bands)
            for (const Element &e : b.elements)
                if (e.kind == ElementKind::Label && e.name == label && e.hasDefault)
                    return e.text;
    return {};
}

void FilledReport::setFontSize(const QString &label, double points)
{
    if (!m_layout || !m_layout->labelNames().contains(label))
        throw AppError(QStringLiteral("Report layout %1 has no label %2").arg(layoutName(), label));
    if (points < 1 || points > 200)
        throw AppError(QStringLiteral("Font size %1 of label %2 is out of range").arg(points).arg(label));
    m_fontSizes.insert(label, points);
}

void FilledReport::setRows(const DataSet &ds)
{
    QVector<QStringList> rows;
    rows.reserve(ds.recordCount());
    const QStringList &fields = ds.fieldNames();
    for (int r = 0; r < ds.recordCount(); ++r) {
        QStringList row;
        row.reserve(fields.size());
        for (const QString &f : fields)
            row << ds.text(f, r);
        rows << row;
    }
    setRows(fields, rows);
}

void FilledReport::setRows(const QStringList &columns, const QVector<QStringList> &rows)
{
    m_columns = columns;
    m_columnIndex.clear();
    for (int i = 0; i < columns.size(); ++i) {
        const QString key = columns.at(i).toLower();
        if (!m_columnIndex.contains(key)) // the first of equal names, as a query's field lookup
            m_columnIndex.insert(key, i);
    }
    m_rows = rows;
    m_rowsSet = true;
}

int FilledReport::columnIndex(const QString &column) const
{
    return m_columnIndex.value(column.toLower(), -1);
}

QString FilledReport::cell(int row, int columnIndex) const
{
    if (row < 0 || row >= m_rows.size() || columnIndex < 0)
        return {};
    const QStringList &r = m_rows.at(row);
    return columnIndex < r.size() ? r.at(columnIndex) : QString();
}

QString FilledReport::cell(int row, const QString &column) const
{
    return cell(row, columnIndex(column));
}

QStringList FilledReport::check() const
{
    QStringList problems;
    if (!m_layout)
        return {QStringLiteral("no layout")};
    for (const QString &l : m_layout->requiredLabels())
        if (!m_labels.contains(l))
            problems << QStringLiteral("label %1 is not filled").arg(l);
    if (m_layout->hasRows()) {
        if (!m_rowsSet)
            problems << QStringLiteral("the detail rows were not given");
        else
            for (const QString &f : m_layout->fieldNames())
                if (columnIndex(f) < 0)
                    problems << QStringLiteral("the rows have no column %1").arg(f);
    } else if (m_rowsSet) {
        problems << QStringLiteral("rows given to a layout without detail rows");
    }
    for (const QString &p : m_layout->pictures())
        if (!QFile::exists(p))
            problems << QStringLiteral("picture %1 is missing").arg(p);
    return problems;
}

} // namespace report
