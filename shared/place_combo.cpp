#include "shared/place_combo.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/combo_items.h"

void FillPlaceCombo(AppContext &ctx, QComboBox *combo, const QString &sql, const QVariantList &binds)
{
    DataSet *q = ctx.dm->ADOQ_abadiha;
    q->open(sql, binds);
    QStringList items;
    if (!q->fieldNames().isEmpty()) {
        const QString field = q->fieldNames().first();
        items.reserve(q->recordCount());
        for (int r = 0; r < q->recordCount(); ++r)
            items << q->text(field, r);
    }
    ReplaceComboItems(combo, items);
}
