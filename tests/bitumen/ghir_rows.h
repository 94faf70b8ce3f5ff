#pragma once
// Allocations for the bitumen tests: a row as the initial entry stores it, with the
// columns a test cares about overridden.
#include "support/fixture.h"

#include <QVariantMap>

namespace ghir_rows {

// The values of a newly inserted allocation (the complementary columns at their initial values).
inline QVariantMap newRow()
{
    return {
        {QStringLiteral("ostan"), QStringLiteral("مرکزي")},
        {QStringLiteral("city"), QStringLiteral("اراك")},
        {QStringLiteral("rosta"), QStringLiteral("روستا")},
        {QStringLiteral("prj_typ"), QStringLiteral("آسفالت")},
        {QStringLiteral("peymankar"), QStringLiteral("پيمانكار")},
        {QStringLiteral("prot_mablagh"), 0},
        {QStringLiteral("bors_price"), 0},
        {QStringLiteral("ghir_tahatori"), 0},
        {QStringLiteral("prot_mablagh_ejra"), 0},
        {QStringLiteral("peymankar_id"), -1},
        {QStringLiteral("reg_dat"), QStringLiteral("1403/05/06")},
        {QStringLiteral("sal"), QStringLiteral("1403")},
        {QStringLiteral("az_name"), QString()},
        {QStringLiteral("rep_dat"), QString()},
        {QStringLiteral("sorat_area"), 0},
        {QStringLiteral("bors_m"), 0},
        {QStringLiteral("asfalt_price"), 0},
        {QStringLiteral("ghir_jam"), QString()},
        {QStringLiteral("ghir_t"), QString()},
        {QStringLiteral("jalase_no"), 0},
        {QStringLiteral("jalase_dat"), QStringLiteral("    /  /  ")},
        {QStringLiteral("zarib"), QStringLiteral("0")},
        {QStringLiteral("asfalt_ejra"), QString()},
        {QStringLiteral("ghir_moadel"), 0},
        {QStringLiteral("status"), QString()},
        {QStringLiteral("sorat_area_f"), 0},
        {QStringLiteral("tarakom"), 0},
    };
}

// Inserts an allocation; returns its id.
inline qint64 add(Fixture &f, const QVariantMap &values)
{
    QVariantMap row = newRow();
    for (auto i = values.constBegin(); i != values.constEnd(); ++i)
        row.insert(i.key(), i.value());
    QStringList marks;
    for (int i = 0; i < row.size(); ++i)
        marks << QStringLiteral("?");
    f.dm.exec(QStringLiteral("insert into ghir (%1) values (%2)").arg(row.keys().join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
              row.values());
    return f.scalar(QStringLiteral("select max(id) from ghir")).toLongLong();
}

} // namespace ghir_rows
