#include "core/dataset.h"
#include "core/busy.h"

#include "core/connection.h"
#include "core/errors.h"
#include "core/collation.h"
#include "core/fetch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>

DataSet::DataSet(const QString &name, QObject *parent)
    : QAbstractTableModel(parent)
{
    setObjectName(name);
}

void DataSet::open(const QString &sql, const QVariantList &binds)
{
    m_sql = sql;
    m_binds = binds;
    runSelect();
}

void DataSet::reopen(const QString &keyField)
{
    QVariant key;
    const int old = m_current;
    if (!keyField.isEmpty() && !eof() && fieldIndex(keyField) >= 0)
        key = value(keyField);
    runSelect();
    if (key.isValid()) {
        if (!locate(keyField, key))
            setCurrentRow(isEmpty() ? -1 : std::min(old, recordCount() - 1));
    } else if (old >= 0 && old < recordCount()) {
        setCurrentRow(old);
    }
    emit reopened();
}

void DataSet::clearRows()
{
    // The previous listing goes at once: its chunks are freed, not its values one by one.
    m_store.clear();
    std::vector<int>().swap(m_order);
    m_published = 0;
}

void DataSet::runSelect()
{
    const BusyCursor busy;
    QElapsedTimer clock;
    clock.start();
    qint64 shownAt = -1;
    bool fieldsKnown = false;

    dbfetch::Listener listener;
    listener.fields = [&](const QStringList &fields) {
        fieldsKnown = true;
        m_current = -1;
        QStringList all = fields;
        for (const auto &calc : m_calculated)
            all << calc.first;
        if (m_open && all == m_fields) {
            // The same columns: the rows leave and the new ones arrive; the columns, their
            // order and widths in the grids stay as they are.
            if (m_published > 0) {
                beginRemoveRows({}, 0, m_published - 1);
                clearRows();
                endRemoveRows();
            } else {
                clearRows();
            }
            return;
        }
        beginResetModel();
        clearRows();
        m_boldColumn = -1;
        m_fields = all;
        m_storedColumns = fields.size();
        m_index.clear();
        for (int i = 0; i < m_fields.size(); ++i) {
            // Of two columns with one name (a join's "select *"), the name finds the first.
            const QString key = m_fields.at(i).toLower();
            if (!m_index.contains(key))
                m_index.insert(key, i);
        }
        endResetModel();
    };
    listener.progress = [&](int rows) {
        // A long listing shows its first rows while the rest arrive (an unsorted one only).
        if (!m_sort.trimmed().isEmpty() || clock.elapsed() < kShowAfterMs
            || (shownAt >= 0 && clock.elapsed() - shownAt < kShowEveryMs))
            return true;
        publish(rows);
        shownAt = clock.elapsed();
        // Only the pending layouts and paints run here: no timer, input or other event.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        return true;
    };
    try {
        dbconn::read(m_db, m_binds, [&] { dbfetch::select(m_db, m_sql, m_binds, m_store, listener); });
    } catch (...) {
        if (fieldsKnown) {
            beginResetModel();
            clearRows();
            m_open = false;
            endResetModel();
            emit currentRowChanged(-1);
        }
        throw;
    }
    m_open = true;
    if (!m_sort.trimmed().isEmpty()) {
        beginResetModel();
        applySort();
        m_published = recordCount();
        endResetModel();
    } else {
        publish(recordCount());
    }
    m_current = isEmpty() ? -1 : 0;
    emit currentRowChanged(m_current);
}

void DataSet::publish(int rows)
{
    if (rows <= m_published)
        return;
    beginInsertRows({}, m_published, rows - 1);
    m_published = rows;
    endInsertRows();
}

int DataSet::exec(const QString &sql, const QVariantList &binds)
{
    close();
    m_sql = sql;
    m_binds = binds;
    return dbconn::execute(m_db, sql, binds).numRowsAffected();
}

void DataSet::close()
{
    if (!m_open && isEmpty())
        return;
    beginResetModel();
    clearRows();
    m_fields.clear();
    m_index.clear();
    m_storedColumns = 0;
    m_open = false;
    m_sort.clear();
    endResetModel();
    m_current = -1;
    emit currentRowChanged(-1);
}

int DataSet::fieldIndex(const QString &field) const
{
    return m_index.value(field.toLower(), -1);
}

int DataSet::checkedIndex(const QString &field) const
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw AppError(QStringLiteral("Field '%1' not found in %2").arg(field, objectName()));
    return i;
}

void DataSet::setCurrentRow(int row)
{
    if (row < -1 || row >= recordCount())
        row = isEmpty() ? -1 : recordCount() - 1;
    if (row == m_current)
        return;
    m_current = row;
    emit currentRowChanged(row);
}

bool DataSet::next()
{
    if (m_current < 0)
        return false;
    if (m_current + 1 >= recordCount()) {
        m_current = recordCount(); // past the end: eof
        return false;
    }
    setCurrentRow(m_current + 1);
    return true;
}

bool DataSet::locate(const QString &field, const QVariant &value)
{
    const int c = checkedIndex(field);
    const QString wanted = valueText(value);
    for (int r = 0; r < recordCount(); ++r) {
        if (cellText(r, c) == wanted) {
            setCurrentRow(r);
            return true;
        }
    }
    return false;
}

QVariant DataSet::value(const QString &field, int row) const
{
    const int c = checkedIndex(field);
    const int r = rowOf(row);
    if (r < 0 || r >= recordCount())
        return {};
    if (c >= m_storedColumns)
        return m_calculated.at(c - m_storedColumns).second(*this, r);
    return m_store.value(stored(r), c);
}

QVariant DataSet::valueAt(int row, int column) const
{
    if (column >= m_storedColumns)
        return m_calculated.at(column - m_storedColumns).second(*this, row);
    return m_store.value(stored(row), column);
}

QString DataSet::cellText(int row, int column) const
{
    if (column >= m_storedColumns)
        return valueText(m_calculated.at(column - m_storedColumns).second(*this, row));
    return storedText(m_store.cell(stored(row), column));
}

QString DataSet::storedText(const RowStore::Cell &cell)
{
    if (cell.tag == RowStore::Null || cell.tag == RowStore::Int || cell.tag == RowStore::Text
        || cell.tag == RowStore::Decimal)
        return RowStore::text(cell);
    return valueText(RowStore::toVariant(cell));
}

void DataSet::rowTexts(int row, QStringList &out) const
{
    m_cells.resize(size_t(m_storedColumns));
    m_store.cells(stored(row), m_cells.data(), m_storedColumns);
    out.resize(m_fields.size());
    for (int c = 0; c < m_storedColumns; ++c)
        out[c] = storedText(m_cells[size_t(c)]);
    for (int c = m_storedColumns; c < m_fields.size(); ++c)
        out[c] = valueText(m_calculated.at(c - m_storedColumns).second(*this, row));
}

void DataSet::addCalculatedField(const QString &name, Calculation fn)
{
    m_calculated.append({name, std::move(fn)});
}

QString DataSet::valueText(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        return QString::number(d, 'g', 15);
    }
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QByteArray:
        return QString::fromUtf8(v.toByteArray());
    default:
        return v.toString();
    }
}

QString DataSet::text(const QString &field, int row) const
{
    const int c = checkedIndex(field);
    const int r = rowOf(row);
    if (r < 0 || r >= recordCount())
        return {};
    // From the cell itself: an amount keeps its exact text.
    return cellText(r, c);
}

bool DataSet::isNull(const QString &field, int row) const
{
    return value(field, row).isNull();
}

double DataSet::toDouble(const QString &field, int row) const
{
    bool ok = false;
    const double d = value(field, row).toDouble(&ok);
    return ok ? d : 0.0;
}

qint64 DataSet::toInt64(const QString &field, int row) const
{
    const QVariant v = value(field, row);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok)
        return n;
    return qint64(std::trunc(v.toDouble()));
}

void DataSet::setSort(const QString &sort)
{
    if (sort == m_sort)
        return; // nothing to order again
    beginResetModel();
    m_sort = sort;
    applySort();
    m_published = recordCount();
    endResetModel();
    if (!isEmpty())
        m_current = 0;
    emit currentRowChanged(m_current);
}

void DataSet::applySort()
{
    std::vector<int>().swap(m_order);
    if (m_sort.trimmed().isEmpty())
        return;
    const QStringList parts = m_sort.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int c = fieldIndex(parts.value(0));
    if (c < 0)
        return;
    const bool desc = parts.size() > 1 && parts.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    const int n = recordCount();
    std::vector<int> order(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r)
        order[size_t(r)] = r;
    // Nulls first, texts in Persian order, numbers by value; a text beside a number compares
    // as texts.
    auto compareVariants = [](const QVariant &x, const QVariant &y) {
        if (x.isNull() || y.isNull())
            return int(!x.isNull()) - int(!y.isNull());
        if (x.typeId() == QMetaType::QString || y.typeId() == QMetaType::QString)
            return persianCompare(x.toString(), y.toString());
        const double dx = x.toDouble(), dy = y.toDouble();
        return dx < dy ? -1 : (dx > dy ? 1 : 0);
    };
    if (c >= m_storedColumns) {
        std::vector<QVariant> keys(static_cast<size_t>(n));
        for (int r = 0; r < n; ++r)
            keys[size_t(r)] = value(m_fields.at(c), r);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int cmp = compareVariants(keys[size_t(a)], keys[size_t(b)]);
            return desc ? cmp > 0 : cmp < 0;
        });
    } else {
        std::vector<RowStore::Cell> keys(static_cast<size_t>(n));
        for (int r = 0; r < n; ++r)
            keys[size_t(r)] = m_store.cell(r, c);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const RowStore::Cell &x = keys[size_t(a)], &y = keys[size_t(b)];
            int cmp;
            if (x.isNull() || y.isNull())
                cmp = int(!x.isNull()) - int(!y.isNull());
            else if (x.isText() && y.isText())
                cmp = persianCompareUtf8(x.data, x.size, y.data, y.size);
            else if (x.isNumber() && y.isNumber()) {
                const double dx = x.tag == RowStore::Int ? double(x.i) : x.d;
                const double dy = y.tag == RowStore::Int ? double(y.i) : y.d;
                cmp = dx < dy ? -1 : (dx > dy ? 1 : 0);
            } else
                cmp = compareVariants(RowStore::toVariant(x), RowStore::toVariant(y));
            return desc ? cmp > 0 : cmp < 0;
        });
    }
    m_order = std::move(order);
}

void DataSet::setTitles(const QHash<QString, QString> &titles)
{
    m_titles = titles;
    if (!m_fields.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, m_fields.size() - 1);
}

void DataSet::setBoldColumn(int column)
{
    m_boldColumn = column;
    if (!m_fields.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, m_fields.size() - 1);
}

int DataSet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_published;
}

int DataSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_fields.size();
}

QVariant DataSet::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_published)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cellText(index.row(), index.column());
    if (role == Qt::BackgroundRole && m_rowColor) {
        const QColor c = m_rowColor(index.row());
        if (c.isValid())
            return c;
    }
    return {};
}

void DataSet::setCellWriter(const QStringList &fields, CellWriter write)
{
    m_editable.clear();
    for (const QString &f : fields)
        m_editable << f.toLower();
    m_writer = std::move(write);
}

Qt::ItemFlags DataSet::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_writer && index.column() < m_fields.size()
        && m_editable.contains(m_fields.at(index.column()).toLower()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSet::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || index.row() >= m_published
        || index.column() >= m_storedColumns)
        return false;
    if (cellText(index.row(), index.column()) == value.toString())
        return false;
    const std::optional<QVariant> written = m_writer(index.row(), m_fields.at(index.column()), value.toString());
    if (!written)
        return false;
    m_store.setCell(stored(index.row()), index.column(), m_storedColumns, *written);
    emit dataChanged(index, index);
    return true;
}

QVariant DataSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_fields.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        // Titles are keyed by exact field name; PostgreSQL returns names in lower case.
        const QString f = m_fields.at(section);
        auto it = m_titles.constFind(f);
        if (it != m_titles.constEnd())
            return *it;
        for (auto i = m_titles.constBegin(); i != m_titles.constEnd(); ++i)
            if (i.key().compare(f, Qt::CaseInsensitive) == 0)
                return i.value();
        return f;
    }
    if (role == Qt::FontRole && section == m_boldColumn) {
        QFont f;
        f.setBold(true);
        return f;
    }
    return {};
}
