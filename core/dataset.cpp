#include "core/dataset.h"
#include "core/busy.h"

#include "core/errors.h"
#include "core/collation.h"

#include <QFont>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kPgNumericOid = 1700;

QVariant normaliseNumeric(const QVariant &v)
{
    // PostgreSQL hands NUMERIC back as text ("1250000.0000"): whole values become integers.
    if (v.isNull())
        return v;
    const QString s = v.toString();
    bool ok = false;
    const int dot = s.indexOf(QLatin1Char('.'));
    QString intPart = dot < 0 ? s : s.left(dot);
    QString frac = dot < 0 ? QString() : s.mid(dot + 1);
    while (frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    if (frac.isEmpty()) {
        const qlonglong n = intPart.toLongLong(&ok);
        if (ok)
            return n;
    }
    const double d = s.toDouble(&ok);
    return ok ? QVariant(d) : v;
}

void bindAll(QSqlQuery &q, const QVariantList &binds)
{
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
}

} // namespace

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
            setCurrentRow(m_rows.isEmpty() ? -1 : std::min(old, int(m_rows.size()) - 1));
    } else if (old >= 0 && old < m_rows.size()) {
        setCurrentRow(old);
    }
    emit reopened();
}

void DataSet::runSelect()
{
    const BusyCursor busy;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.prepare(m_sql))
        throw DbError(q.lastError().text());
    bindAll(q, m_binds);
    if (!q.exec())
        throw DbError(q.lastError().text());

    beginResetModel();
    m_rows.clear();
    m_fields.clear();
    m_index.clear();
    m_boldColumn = -1;
    const QSqlRecord rec = q.record();
    QVector<bool> numeric(rec.count());
    for (int i = 0; i < rec.count(); ++i) {
        m_fields << rec.fieldName(i);
        // Of two columns with one name (a join's "select *"), the name finds the first.
        const QString key = rec.fieldName(i).toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
        numeric[i] = rec.field(i).typeID() == kPgNumericOid;
    }
    const int n = rec.count();
    while (q.next()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i) {
            QVariant v = q.value(i);
            row[i] = numeric[i] ? normaliseNumeric(v) : v;
        }
        m_rows.push_back(std::move(row));
    }
    if (!m_calculated.isEmpty()) {
        const int first = m_fields.size();
        for (const auto &calc : m_calculated) {
            const QString key = calc.first.toLower();
            if (!m_index.contains(key))
                m_index.insert(key, m_fields.size());
            m_fields << calc.first;
        }
        for (auto &row : m_rows)
            row.resize(m_fields.size());
        for (int r = 0; r < m_rows.size(); ++r)
            for (int c = 0; c < m_calculated.size(); ++c)
                m_rows[r][first + c] = m_calculated.at(c).second(*this, r);
    }
    m_open = true;
    applySort();
    endResetModel();
    m_current = m_rows.isEmpty() ? -1 : 0;
    emit currentRowChanged(m_current);
}

int DataSet::exec(const QString &sql, const QVariantList &binds)
{
    close();
    m_sql = sql;
    m_binds = binds;
    QSqlQuery q(m_db);
    if (!q.prepare(sql))
        throw DbError(q.lastError().text());
    bindAll(q, binds);
    if (!q.exec())
        throw DbError(q.lastError().text());
    return q.numRowsAffected();
}

void DataSet::close()
{
    if (!m_open && m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    m_fields.clear();
    m_index.clear();
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
    if (row < -1 || row >= m_rows.size())
        row = m_rows.isEmpty() ? -1 : m_rows.size() - 1;
    if (row == m_current)
        return;
    m_current = row;
    emit currentRowChanged(row);
}

bool DataSet::next()
{
    if (m_current < 0)
        return false;
    if (m_current + 1 >= m_rows.size()) {
        m_current = m_rows.size(); // past the end: eof
        return false;
    }
    setCurrentRow(m_current + 1);
    return true;
}

bool DataSet::locate(const QString &field, const QVariant &value)
{
    const int c = checkedIndex(field);
    const QString wanted = valueText(value);
    for (int r = 0; r < m_rows.size(); ++r) {
        if (valueText(m_rows[r][c]) == wanted) {
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
    if (r < 0 || r >= m_rows.size())
        return {};
    return m_rows[r][c];
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
    return valueText(value(field, row));
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
    beginResetModel();
    m_sort = sort;
    applySort();
    endResetModel();
    if (!m_rows.isEmpty())
        m_current = 0;
    emit currentRowChanged(m_current);
}

void DataSet::applySort()
{
    if (m_sort.trimmed().isEmpty())
        return;
    const QStringList parts = m_sort.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int c = fieldIndex(parts.value(0));
    if (c < 0)
        return;
    const bool desc = parts.size() > 1 && parts.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    std::stable_sort(m_rows.begin(), m_rows.end(), [c, desc](const QVector<QVariant> &a, const QVector<QVariant> &b) {
        const QVariant &x = a[c];
        const QVariant &y = b[c];
        int cmp;
        if (x.isNull() || y.isNull())
            cmp = int(!x.isNull()) - int(!y.isNull());
        else if (x.typeId() == QMetaType::QString || y.typeId() == QMetaType::QString)
            cmp = persianCompare(x.toString(), y.toString());
        else {
            const double dx = x.toDouble(), dy = y.toDouble();
            cmp = dx < dy ? -1 : (dx > dy ? 1 : 0);
        }
        return desc ? cmp > 0 : cmp < 0;
    });
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
    return parent.isValid() ? 0 : m_rows.size();
}

int DataSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_fields.size();
}

QVariant DataSet::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return valueText(m_rows[index.row()][index.column()]);
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
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || index.row() >= m_rows.size())
        return false;
    if (valueText(m_rows[index.row()][index.column()]) == value.toString())
        return false;
    const std::optional<QVariant> stored = m_writer(index.row(), m_fields.at(index.column()), value.toString());
    if (!stored)
        return false;
    m_rows[index.row()][index.column()] = *stored;
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
