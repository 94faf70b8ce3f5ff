#pragma once
// Rows of the credit register as its forms store them, for the credit tests.
#include "support/drive.h"

#include <QVariantMap>

namespace credit_rows {

// Inserts `values` into `table` and returns the new id.
inline qint64 add(Fixture &f, const QString &table, const QVariantMap &values)
{
    const QString marks = QStringLiteral("?,").repeated(values.size()).chopped(1);
    f.dm.exec(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, values.keys().join(QLatin1Char(',')), marks),
              values.values());
    return f.scalar(QStringLiteral("select max(id) from ") + table).toLongLong();
}

inline qint64 addPrj(Fixture &f, const QString &city, const QString &rosta, const QVariantMap &more = {})
{
    QVariantMap v{{"etb_id", -1}, {"ostan", "مرکزي"}, {"city", city}, {"bakhsh", "مرکزي"}, {"dehestan", "دهستان"},
                  {"rosta", rosta}, {"prj_cod", "P-" + rosta}, {"prg_sal1", "1402"}};
    v.insert(more);
    return add(f, QStringLiteral("prj"), v);
}

inline qint64 addEtb(Fixture &f, qint64 prj, const QString &loc, const QString &manba, const QString &sal,
                     const QVariant &mablagh, const QVariant &dion)
{
    return add(f, QStringLiteral("etebarat"), {{"prj_id", prj}, {"tamin_loc", loc}, {"tamin_manba", manba},
                                               {"sal_typ", "جاري"}, {"sal", sal}, {"typ", "مصوب"},
                                               {"mablagh", mablagh}, {"cmt", ""}, {"dion", dion}});
}

// An operation, progress item or allocation under a credit and a project.
inline qint64 addChild(Fixture &f, const QString &table, qint64 etb, qint64 prj, const QVariantMap &more)
{
    QVariantMap v{{"etb_id", etb}, {"prj_id", prj}};
    v.insert(more);
    return add(f, table, v);
}

// One column of every row of a table, ordered by id (the log, which has none, as stored).
inline QStringList column(Fixture &f, const QString &table, const QString &col, const QString &where = QString())
{
    DataSet *q = f.dm.ADOQuery2;
    const QString order = table == QLatin1String("log") ? QString() : QStringLiteral(" order by id");
    q->open(QStringLiteral("select %1 from %2 %3").arg(col, table, where) + order);
    QStringList out;
    for (int r = 0; r < q->recordCount(); ++r)
        out << q->text(col, r);
    return out;
}

// Row ids as the lists show them.
inline QStringList ids(std::initializer_list<qint64> list)
{
    QStringList out;
    for (qint64 id : list)
        out << QString::number(id);
    return out;
}

// A dataset's column, in its row order.
inline QStringList listed(DataSet *ds, const QString &field)
{
    QStringList out;
    for (int r = 0; r < ds->recordCount(); ++r)
        out << ds->text(field, r);
    return out;
}

} // namespace credit_rows

using namespace credit_rows;
