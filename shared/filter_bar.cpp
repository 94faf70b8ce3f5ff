#include "shared/filter_bar.h"

#include "core/errors.h"
#include "shared/combo_items.h"
#include "shared/edits.h"
#include "shared/persian.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

const QColor FilterBar::kTickedColor = QColor(255, 255, 0);

struct FilterBar::Entry {
    const FilterDef *def = nullptr;
    QCheckBox *check = nullptr;
    QWidget *box = nullptr;          // the combo, edit box or first date box
    TDateEdit *date2 = nullptr;      // DateRange: the second date box
    QPushButton *plus = nullptr;     // ComboList
    QCheckBox *show = nullptr;
    QListWidget *list = nullptr;
    QString name() const { return QString::fromLatin1(def->box); }
};

namespace {

QString boxText(const QWidget *w)
{
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    if (auto *e = qobject_cast<const QLineEdit *>(w)) {
        if (!e->inputMask().isEmpty())
            return e->displayText().replace(QLatin1Char('_'), QLatin1Char(' '));
        return e->text();
    }
    return {};
}

// A ticked filter's box is enabled, yellow and focused; unticked it is disabled and plain.
void paintTicked(QWidget *w, bool ticked)
{
    w->setEnabled(ticked);
    if (ticked) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, FilterBar::kTickedColor);
        w->setPalette(p);
        w->setFocus();
    } else {
        w->setPalette(QPalette());
    }
}

} // namespace

FilterBar::FilterBar(QWidget *parent, std::span<const FilterDef> defs, int perRow)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("filters"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    int slot = 0;
    for (const FilterDef &d : defs) {
        auto e = std::make_unique<Entry>();
        Entry *en = e.get();
        en->def = &d;
        en->check = new QCheckBox(QString::fromUtf8(d.caption), this);
        en->check->setObjectName(QLatin1String(d.check));

        auto *cell = new QWidget(this);
        auto *v = new QVBoxLayout(cell);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(1);
        auto *row = new QHBoxLayout;
        row->setSpacing(3);
        v->addLayout(row);

        const QString name = QLatin1String(d.box);
        switch (d.kind) {
        case FilterKind::Combo:
        case FilterKind::ComboList: {
            auto *c = new QComboBox(this);
            c->setEditable(true);
            c->setInsertPolicy(QComboBox::NoInsert);
            c->setMinimumWidth(120);
            en->box = c;
            break;
        }
        case FilterKind::Line:
            en->box = new QLineEdit(this);
            break;
        case FilterKind::Year: {
            auto *e = new QLineEdit(this);
            e->setInputMask(QStringLiteral("0000;_"));
            e->setFixedWidth(50);
            en->box = e;
            break;
        }
        case FilterKind::DateRange: {
            auto *d1 = new TDateEdit(this);
            d1->setObjectName(name + QStringLiteral("1"));
            auto *d2 = new TDateEdit(this);
            d2->setObjectName(name + QStringLiteral("2"));
            d1->setFixedWidth(90);
            d2->setFixedWidth(90);
            d2->setEnabled(false);
            en->box = d1;
            en->date2 = d2;
            break;
        }
        }
        if (d.kind != FilterKind::DateRange)
            en->box->setObjectName(name);
        en->box->setEnabled(false);
        if (d.width > 0)
            en->box->setFixedWidth(d.width);
        row->addWidget(en->box);
        if (en->date2) {
            auto *ta = new QLabel(QStringLiteral("تا"), this);
            ta->setObjectName(name + QStringLiteral("_ta"));
            row->addWidget(ta);
            row->addWidget(en->date2);
        }
        if (d.kind == FilterKind::ComboList) {
            const FilterListNames &n = d.list;
            en->plus = new QPushButton(QStringLiteral("+"), this);
            en->plus->setObjectName(QLatin1String(n.plus));
            en->plus->setAutoDefault(false);
            en->plus->setFixedWidth(24);
            en->plus->setEnabled(false);
            en->show = new QCheckBox(this);
            en->show->setObjectName(QLatin1String(n.show));
            en->show->setEnabled(false);
            en->list = new QListWidget(this);
            en->list->setObjectName(QLatin1String(n.list));
            en->list->setFrameShape(QFrame::NoFrame);
            en->list->setFixedSize(100, 56);
            en->list->setContextMenuPolicy(Qt::CustomContextMenu);
            en->list->hide();
            row->addWidget(en->plus);
            row->addWidget(en->show);
            v->addWidget(en->list);

            auto *popup = new QMenu(this);
            popup->setObjectName(QLatin1String(n.popup));
            QAction *remove = popup->addAction(QString::fromUtf8(n.removeCaption));
            remove->setObjectName(QLatin1String(n.remove));
            QListWidget *list = en->list;
            connect(remove, &QAction::triggered, this, [list] {
                const QList<QListWidgetItem *> sel = list->selectedItems();
                if (!sel.isEmpty())
                    delete list->takeItem(list->row(sel.first()));
            });
            connect(list, &QWidget::customContextMenuRequested, this,
                    [list, popup](const QPoint &p) { popup->popup(list->viewport()->mapToGlobal(p)); });
            connect(en->plus, &QPushButton::clicked, this, [this, en] { en->list->addItem(boxText(en->box)); });
            connect(en->show, &QCheckBox::clicked, this, [list](bool on) { list->setVisible(on); });
        }
        row->addStretch();
        connect(en->check, &QCheckBox::clicked, this, [this, en](bool on) { ticked(*en, on); });
        if (d.flags & (FilterDef::EnterRuns | FilterDef::KafOnLeave))
            en->box->installEventFilter(this);

        grid->addWidget(en->check, slot / perRow, (slot % perRow) * 2, Qt::AlignTop);
        grid->addWidget(cell, slot / perRow, (slot % perRow) * 2 + 1, Qt::AlignTop);
        ++slot;
        m_entries.push_back(std::move(e));
    }
    grid->setColumnStretch(perRow * 2, 1);
}

FilterBar::~FilterBar() = default;

void FilterBar::ticked(const Entry &e, bool on)
{
    if (e.list) {
        e.plus->setEnabled(on);
        e.show->setEnabled(on);
        e.list->hide();
        e.list->clear();
    }
    if (e.date2)
        paintTicked(e.date2, on);
    paintTicked(e.box, on);
}

void FilterBar::setTicked(const QString &box, bool on)
{
    const Entry *e = entry(box);
    e->check->setChecked(on);
    ticked(*e, on);
}

const FilterBar::Entry *FilterBar::entry(const QString &box) const
{
    for (const auto &e : m_entries)
        if (e->name() == box)
            return e.get();
    throw AppError(QStringLiteral("FilterBar: no filter %1").arg(box));
}

bool FilterBar::isOn(const QString &box) const
{
    return entry(box)->box->isEnabledTo(this);
}

QString FilterBar::text(const QString &box) const
{
    return boxText(entry(box)->box);
}

QStringList FilterBar::listItems(const QString &box) const
{
    QStringList out;
    if (const QListWidget *l = entry(box)->list)
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
    return out;
}

void FilterBar::addListItem(const QString &box, const QString &text)
{
    if (QListWidget *l = entry(box)->list)
        l->addItem(text);
}

void FilterBar::fill(const QString &box, DataSet *query, const QString &sql, const QVariantList &binds)
{
    const Entry *e = entry(box);
    FillComboFromQuery(query, qobject_cast<QComboBox *>(e->box), sql, binds, e->def->flags & FilterDef::Sorted);
}

QString FilterBar::piece(const QString &box, QVariantList &binds, const QString &columnOverride,
                         std::optional<FilterMatch> matchOverride) const
{
    const Entry *e = entry(box);
    const FilterMatch match = matchOverride.value_or(e->def->match);
    if (!e->box->isEnabledTo(this) || match == FilterMatch::None)
        return {};
    const QString column = columnOverride.isEmpty() ? QLatin1String(e->def->column) : columnOverride;
    const QString t = boxText(e->box);
    switch (match) {
    case FilterMatch::None:
        return {};
    case FilterMatch::Equals:
        binds << t;
        return QStringLiteral(" and %1=?").arg(column);
    case FilterMatch::Like:
        binds << QLatin1Char('%') + t + QLatin1Char('%');
        return QStringLiteral(" and %1 like ?").arg(column);
    case FilterMatch::Range:
        binds << t << (e->date2 ? e->date2->text() : t);
        return QStringLiteral(" and %1>=? and %1<=?").arg(column);
    case FilterMatch::AnyLike:
    case FilterMatch::AnyEquals: {
        // "???" heads the group and matches no real row: an empty list finds nothing.
        const bool like = match == FilterMatch::AnyLike;
        QString s = QStringLiteral(" and  ( %1=?").arg(column);
        binds << QStringLiteral("???");
        for (const QString &item : listItems(box)) {
            s += like ? QStringLiteral(" or %1 like ?").arg(column) : QStringLiteral(" or %1=?").arg(column);
            binds << (like ? QLatin1Char('%') + item + QLatin1Char('%') : item);
        }
        return s + QStringLiteral(" ) ");
    }
    }
    return {};
}

QString FilterBar::sql(QVariantList &binds) const
{
    QString s;
    for (const auto &e : m_entries)
        s += piece(e->name(), binds);
    return s;
}

QWidget *FilterBar::box(const QString &name) const
{
    return findChild<QWidget *>(name);
}

QComboBox *FilterBar::combo(const QString &name) const
{
    return findChild<QComboBox *>(name);
}

QLineEdit *FilterBar::line(const QString &name) const
{
    return findChild<QLineEdit *>(name);
}

TDateEdit *FilterBar::date(const QString &name) const
{
    return findChild<TDateEdit *>(name);
}

QCheckBox *FilterBar::check(const QString &name) const
{
    return findChild<QCheckBox *>(name);
}

QListWidget *FilterBar::list(const QString &name) const
{
    return findChild<QListWidget *>(name);
}

bool FilterBar::eventFilter(QObject *watched, QEvent *ev)
{
    for (const auto &e : m_entries) {
        if (e->box != watched)
            continue;
        if (ev->type() == QEvent::KeyPress && (e->def->flags & FilterDef::EnterRuns)) {
            const int key = static_cast<QKeyEvent *>(ev)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit enterPressed();
                return true;
            }
        } else if (ev->type() == QEvent::FocusOut && (e->def->flags & FilterDef::KafOnLeave)) {
            if (auto *c = qobject_cast<QComboBox *>(e->box)) {
                const QString normal = NormalizeKaf(c->currentText());
                if (normal != c->currentText())
                    c->setEditText(normal);
            }
        }
    }
    return QWidget::eventFilter(watched, ev);
}
