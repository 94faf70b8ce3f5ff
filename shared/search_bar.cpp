#include "shared/search_bar.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

SearchBar::SearchBar(AppContext &ctx, QWidget *parent, const SearchBarDef &def)
    : QWidget(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("search_bar"));
    m_filters = new FilterBar(this, def.filters, def.perRow);
    m_figures = new SumLabels(this, def.figures);
    auto *button = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                   def.caption ? QString::fromUtf8(def.caption) : QString(), this);
    button->setObjectName(QLatin1String(def.button));
    button->setAutoDefault(false);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setMinimumWidth(button->sizeHint().width() + 16);
    button->setStyleSheet(QStringLiteral("QPushButton { padding: 3px 10px; }"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_filters, def.band ? 0 : 1);
    m_side = def.band ? static_cast<QBoxLayout *>(new QHBoxLayout) : new QVBoxLayout;
    m_side->setSpacing(def.band ? 12 : 2);
    m_side->addWidget(button);
    m_figures->addTo(m_side);
    m_side->addStretch(1);
    row->addLayout(m_side, def.band ? 1 : 0);

    connect(button, &QPushButton::clicked, this, &SearchBar::searchRequested);
    connect(m_filters, &FilterBar::enterPressed, this, &SearchBar::searchRequested);
}

void SearchBar::showFigures(const QString &fromWhere, const QVariantList &binds, const DataSet *listing)
{
    m_figures->run(m_ctx, fromWhere, binds, listing);
}
