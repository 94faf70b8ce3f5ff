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
#include <algorithm>

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

void RegisterWindow::buildMenus(std::span<const MenuItem> items)
{
    const bool barred = std::any_of(items.begin(), items.end(), [](const MenuItem &m) {
        return m.kind != MenuItem::Popup && (!m.parent || !*m.parent);
    });
    if (barred && !m_bar) {
        m_bar = new QMenuBar(this);
        m_bar->setObjectName(QStringLiteral("MainMenu1"));
        m_bar->setLayoutDirection(Qt::RightToLeft);
        m_body->setMenuBar(m_bar);
    }
    m_menus = new Menus(m_ctx, this, items, m_bar);
}

void RegisterWindow::applyRights(std::span<const RightRule> rules, const PageRights &rights)
{
    ApplyRights(this, rules, rights);
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
