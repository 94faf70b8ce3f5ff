#include "shared/menus.h"

#include "core/errors.h"
#include "shared/guard.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

Menus::Menus(AppContext &ctx, QWidget *window, std::span<const MenuItem> items, QMenuBar *bar)
    : QObject(window)
    , m_ctx(ctx)
    , m_items(items)
{
    setObjectName(QStringLiteral("menus"));
    auto refuse = [window](const QString &what) {
        throw AppError(QStringLiteral("%1: %2").arg(window->objectName(), what));
    };
    for (const MenuItem &m : items) {
        const QString name = QLatin1String(m.name);
        const QString caption = QString::fromUtf8(m.caption);
        if (m.kind == MenuItem::Popup) {
            auto *popup = new QMenu(window);
            popup->setObjectName(name);
            m_menus.insert(name, popup);
            continue;
        }
        const QString parentName = m.parent ? QLatin1String(m.parent) : QString();
        QMenu *parent = parentName.isEmpty() ? nullptr : m_menus.value(parentName);
        if (!parentName.isEmpty() && !parent)
            refuse(QStringLiteral("menu %1 before its parent %2").arg(name, parentName));
        if (!parent && !bar)
            refuse(QStringLiteral("menu %1 without a menu bar").arg(name));
        QAction *a = nullptr;
        switch (m.kind) {
        case MenuItem::Submenu: {
            auto *sub = new QMenu(caption, window);
            sub->setObjectName(name);
            a = parent ? parent->addMenu(sub) : bar->addMenu(sub);
            m_menus.insert(name, sub);
            connect(sub, &QMenu::aboutToShow, this, [this, name] { dispatch(name); });
            break;
        }
        case MenuItem::Separator:
            a = parent ? parent->addSeparator() : bar->addSeparator();
            break;
        default:
            a = parent ? parent->addAction(caption) : bar->addAction(caption);
            connect(a, &QAction::triggered, this, [this, name] { dispatch(name); });
            break;
        }
        a->setObjectName(name);
        if (m.hidden)
            a->setVisible(false);
        m_actions.insert(name, a);
    }
}

QAction *Menus::action(const QString &name) const
{
    if (QAction *a = m_actions.value(name))
        return a;
    throw AppError(QStringLiteral("%1: no menu item %2").arg(parent()->objectName(), name));
}

QMenu *Menus::menu(const QString &name) const
{
    if (QMenu *m = m_menus.value(name))
        return m;
    throw AppError(QStringLiteral("%1: no menu %2").arg(parent()->objectName(), name));
}

void Menus::onMenu(const QString &name, std::function<void()> handler)
{
    if (!m_actions.contains(name))
        action(name); // throws: the table has no such item
    m_handlers.insert(name, std::move(handler));
}

void Menus::dispatch(const QString &name)
{
    if (const auto it = m_handlers.constFind(name); it != m_handlers.constEnd()) {
        const auto fn = *it; // a handler may rebind itself
        guarded(m_ctx, fn);
    }
}

bool Menus::trigger(const QString &name)
{
    QAction *a = m_actions.value(name);
    if (!a)
        return false;
    a->trigger();
    return true;
}

QStringList Menus::unbound() const
{
    QStringList out;
    for (const MenuItem &m : m_items)
        if (m.kind == MenuItem::Item && !m_handlers.contains(QLatin1String(m.name)))
            out << parent()->objectName() + QLatin1Char('.') + QLatin1String(m.name);
    return out;
}

QStringList UnboundMenuItems(const QList<QWidget *> &windows)
{
    QStringList out;
    for (const QWidget *w : windows)
        for (const Menus *m : w->findChildren<Menus *>(Qt::FindDirectChildrenOnly))
            out << m->unbound();
    return out;
}

void ApplyRights(QWidget *window, std::span<const RightRule> rules, const PageRights &rights)
{
    for (const RightRule &r : rules) {
        const QString name = QLatin1String(r.control);
        const bool on = r.granted(rights);
        QAction *a = window->findChild<QAction *>(name);
        QWidget *w = a ? nullptr : window->findChild<QWidget *>(name);
        if (!a && !w)
            throw AppError(QStringLiteral("%1: no control %2").arg(window->objectName(), name));
        if (r.effect != RightRule::Show)
            a ? a->setEnabled(on) : w->setEnabled(on);
        if (r.effect != RightRule::Enable)
            a ? a->setVisible(on) : w->setVisible(on);
    }
}
