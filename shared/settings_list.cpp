#include "shared/settings_list.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/combo_items.h"

void LoadSettingList(AppContext &ctx, const QString &listName, QComboBox *combo)
{
    DataSet *q = ctx.dm->adoq_set;
    q->open(QStringLiteral("select * from setting where component=?"), {listName});
    QStringList items;
    items.reserve(q->recordCount());
    for (int r = 0; r < q->recordCount(); ++r)
        items << q->text(QStringLiteral("cmt"), r);
    ReplaceComboItems(combo, items);
}

QString SettingValue(AppContext &ctx, const QString &listName)
{
    // A plain scalar read: the scratch queries may hold a form's rows at this point.
    const QVariant v = ctx.dm->scalar(QStringLiteral("select cmt from setting where component=?"), {listName});
    return DataSet::valueText(v);
}
