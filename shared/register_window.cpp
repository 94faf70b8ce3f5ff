#include "shared/register_window.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/errors.h"
#include "shared/guard.h"
#include "shared/messages.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

RegisterWindow::RegisterWindow(AppContext &ctx, const QString &objectName, const QString &caption, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    m_body = new QVBoxLayout(this);
    m_body->setContentsMargins(4, 2, 4, 4);
    m_body->setSpacing(4);
}

QHash<QString, QHash<QString, RegisterWindow::Handler>> &RegisterWindow::registry()
{
    static QHash<QString, QHash<QString, Handler>> handlers;
    return handlers;
}

bool RegisterWindow::registerHandler(const char *className, const char *name, Handler fn)
{
    registry()[QLatin1String(className)].insert(QLatin1String(name), std::move(fn));
    return true;
}

void RegisterWindow::buildMenus(std::span<const MenuItem> items)
{
    for (const MenuItem &m : items) {
        const QString name = QLatin1String(m.name);
        const QString caption = QString::fromUtf8(m.caption);
        const QString parentName = m.parent ? QLatin1String(m.parent) : QString();
        if (m.kind == MenuItem::Popup) {
            auto *popup = new QMenu(this);
            popup->setObjectName(name);
            m_menus.insert(name, popup);
            continue;
        }
        QMenu *parentMenu = nullptr;
        if (!parentName.isEmpty()) {
            parentMenu = m_menus.value(parentName);
            if (!parentMenu)
                throw AppError(QStringLiteral("%1: menu %2 before its parent %3").arg(objectName(), name, parentName));
        } else if (!m_bar) {
            m_bar = new QMenuBar(this);
            m_bar->setObjectName(QStringLiteral("MainMenu1"));
            m_bar->setLayoutDirection(Qt::RightToLeft);
            m_body->setMenuBar(m_bar);
        }
        QAction *a = nullptr;
        switch (m.kind) {
        case MenuItem::Submenu: {
            auto *sub = new QMenu(caption, this);
            sub->setObjectName(name);
            a = sub->menuAction();
            a->setObjectName(name);
            if (parentMenu)
                parentMenu->addMenu(sub);
            else
                m_bar->addMenu(sub);
            m_menus.insert(name, sub);
            connect(sub, &QMenu::aboutToShow, this, [this, name] {
                if (m_handlers.contains(name))
                    dispatch(name);
            });
            break;
        }
        case MenuItem::Separator:
            a = parentMenu ? parentMenu->addSeparator() : m_bar->addSeparator();
            a->setObjectName(name);
            break;
        case MenuItem::Item:
            a = parentMenu ? parentMenu->addAction(caption) : m_bar->addAction(caption);
            a->setObjectName(name);
            connect(a, &QAction::triggered, this, [this, name] { dispatch(name); });
            break;
        case MenuItem::Popup:
            break;
        }
        if (m.hidden)
            a->setVisible(false);
        m_actions.insert(name, a);
    }
}

QAction *RegisterWindow::action(const QString &name) const
{
    if (QAction *a = m_actions.value(name))
        return a;
    throw AppError(QStringLiteral("%1: no menu item %2").arg(objectName(), name));
}

QMenu *RegisterWindow::menu(const QString &name) const
{
    if (QMenu *m = m_menus.value(name))
        return m;
    throw AppError(QStringLiteral("%1: no menu %2").arg(objectName(), name));
}

void RegisterWindow::onMenu(const QString &name, std::function<void()> handler)
{
    m_handlers.insert(name, std::move(handler));
}

void RegisterWindow::dispatch(const QString &name)
{
    if (const auto own = m_handlers.constFind(name); own != m_handlers.constEnd()) {
        const auto fn = *own;
        guarded(m_ctx, fn);
        return;
    }
    const auto &byClass = registry().value(QLatin1String(metaObject()->className()));
    if (const auto it = byClass.constFind(name); it != byClass.constEnd()) {
        const Handler fn = *it;
        guarded(m_ctx, [&] { fn(*this); });
    }
}

bool RegisterWindow::trigger(const QString &name)
{
    QAction *a = m_actions.value(name);
    if (!a)
        return false;
    a->trigger();
    return true;
}

void RegisterWindow::applyRights(std::span<const RightRule> rules, const PageRights &rights)
{
    m_rights = rights;
    ApplyRights(this, rules, rights);
}

void ApplyRights(QWidget *window, std::span<const RightRule> rules, const PageRights &rights)
{
    for (const RightRule &r : rules) {
        const QString name = QLatin1String(r.control);
        const bool on = r.right == RightRule::Darj       ? rights.darj
                      : r.right == RightRule::Virayesh ? rights.virayesh
                      : r.right == RightRule::Hazf     ? rights.hazf
                                                       : rights.namayesh;
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

void BuildPopupMenus(AppContext &ctx, QWidget *window, std::span<const MenuItem> items,
                     const QHash<QString, std::function<void()>> &handlers)
{
    QHash<QString, QMenu *> popups;
    for (const MenuItem &m : items) {
        const QString name = QLatin1String(m.name);
        if (m.kind == MenuItem::Popup) {
            auto *popup = new QMenu(window);
            popup->setObjectName(name);
            popups.insert(name, popup);
            continue;
        }
        QMenu *parent = popups.value(m.parent ? QLatin1String(m.parent) : QString());
        if (!parent || m.kind == MenuItem::Submenu)
            throw AppError(QStringLiteral("%1: popup item %2 outside a popup").arg(window->objectName(), name));
        QAction *a = m.kind == MenuItem::Separator ? parent->addSeparator() : parent->addAction(QString::fromUtf8(m.caption));
        a->setObjectName(name);
        a->setVisible(!m.hidden);
        if (const auto fn = handlers.value(name))
            QObject::connect(a, &QAction::triggered, window, [&ctx, fn] { guarded(ctx, fn); });
    }
}

std::optional<PageRights> RegisterWindow::checkPage(const QString &page)
{
    return CheckPageAccess(m_ctx, page);
}

void RegisterWindow::checkSubmenuOnShow(const QString &submenu, const QString &page)
{
    QMenu *m = menu(submenu);
    onMenu(submenu, [this, m, page] {
        const std::optional<PageRights> r = FindPageRights(m_ctx, page);
        if (r && r->namayesh) {
            m->menuAction()->setEnabled(true);
            return;
        }
        // Without a rights row the submenu opens as it is; without the right to open it is
        // disabled. Both are refused.
        if (r)
            m->menuAction()->setEnabled(false);
        m_ctx.ui->message(msg::kNoAccess, this);
    });
}

bool RegisterWindow::requireCurrent(DataSet *ds, const QString &message)
{
    if (!ds->eof())
        return true;
    m_ctx.ui->message(message.isEmpty() ? msg::kEmptyList : message, this);
    return false;
}

bool RegisterWindow::levelIs(std::initializer_list<const char *> levels) const
{
    for (const char *l : levels)
        if (m_ctx.CurrentUser.level == QLatin1String(l))
            return true;
    return false;
}

void RegisterWindow::sizeAfterMain()
{
    if (auto *main = m_ctx.mainWindow)
        resize(main->width() - 30, main->height() - 50);
}

int RegisterWindow::showModal()
{
    return m_ctx.ui->showModal(this);
}

void RegisterWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
