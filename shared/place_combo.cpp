#include "shared/place_combo.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/combo_items.h"
#include "shared/guard.h"

#include <QComboBox>
#include <QLineEdit>

PlaceCascade::PlaceCascade(AppContext &ctx, QObject *owner, std::span<const PlaceLevel> levels, Trigger trigger,
                           unsigned flags)
    : QObject(owner)
    , m_ctx(ctx)
    , m_levels(levels.begin(), levels.end())
    , m_flags(flags)
{
    for (int level = 0; level + 1 < int(m_levels.size()); ++level) {
        QComboBox *box = m_levels[level].box;
        const auto fill = [this, level] { guarded(m_ctx, [&] { fillAfter(level); }); };
        if (trigger != Changed)
            connect(box, &QComboBox::activated, this, fill);
        if (trigger == ByUser && box->lineEdit())
            connect(box->lineEdit(), &QLineEdit::textEdited, this, fill);
        else if (trigger == Changed && box->isEditable())
            connect(box, &QComboBox::editTextChanged, this, fill);
        else if (trigger == Changed)
            connect(box, &QComboBox::currentTextChanged, this, fill);
    }
}

void PlaceCascade::fillAfter(int level)
{
    const PlaceLevel &next = m_levels.at(level + 1);
    QString sql = QStringLiteral("select distinct %1 from abadiha where ").arg(QLatin1String(next.column));
    QStringList conditions;
    QVariantList binds;
    for (int i = (m_flags & EveryAbove) ? 0 : level; i <= level; ++i) {
        conditions << QLatin1String(m_levels[i].column) + QStringLiteral("=?");
        binds << m_levels[i].box->currentText();
    }
    FillComboFromQuery(m_ctx.dm->ADOQ_abadiha, next.box, sql + conditions.join(QStringLiteral(" and ")), binds,
                       m_flags & Sorted);
    emit filled(next.box);
}
