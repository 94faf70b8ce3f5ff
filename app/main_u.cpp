#include "app/main_u.h"

#include "core/context.h"
#include "app/login_u.h"
#include "core/errors.h"
#include "shared/menus.h"
#include "shared/ui.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>

const QString Tmain::kExitQuestion = QStringLiteral("آيا مي خواهيد از برنامه خارج شويد");

namespace {

// The openers of the registers: the bitumen window and the registers that enter data; the
// statistics; the base lists.
const MenuItem kMenus[] = {
    {"", "registers_menu", "ثبت اطلاعات", MenuItem::Submenu},
    {"registers_menu", "N13", "قير"},
    {"registers_menu", "N13_sep", "", MenuItem::Separator},
    {"registers_menu", "N25", "اطلاعات پروژه"},
    {"registers_menu", "N21", "موافقت نامه ها"},
    {"registers_menu", "N1", "ثبت آزمايشگاهي"},
    {"registers_menu", "N19", "خدمات فني"},
    {"", "amar_menu", "آمار و اطلاعات", MenuItem::Submenu},
    {"amar_menu", "N11", "پيشرفت فيزيكي"},
    {"amar_menu", "N24", "اعتبارات و عمليات اجرايي"},
    {"", "base_menu", "اطلاعات پايه", MenuItem::Submenu},
    {"base_menu", "N12", "آيتم هاي پيشرفت"},
};

// The page each opener checks.
const std::pair<const char *, const char *> kPages[] = {
    {"N13", "ghir"}, {"N1", "az"},     {"N11", "pishraft"},       {"N12", "items"},
    {"N19", "khadamat"}, {"N24", "amar"}, {"N21", "movafeghatname"}, {"N25", "prj"},
};

} // namespace

Tmain::Tmain(AppContext &ctx, QWidget *parent)
    : QMainWindow(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("وارنوست"));
    setLayoutDirection(Qt::RightToLeft);
    m_menus = new Menus(ctx, this, kMenus, menuBar());
    auto *bg = new QLabel(this);
    bg->setObjectName(QStringLiteral("background"));
    bg->setAlignment(Qt::AlignCenter);
    bg->setScaledContents(true);
    bg->setPixmap(QPixmap(QStringLiteral(":/app/images/background.jpg")));
    setCentralWidget(bg);
    resize(1024, 700);
}

void Tmain::bindOpener(const QString &objectName, Opener open)
{
    QString page;
    for (const auto &[item, p] : kPages)
        if (objectName == QLatin1String(item))
            page = QLatin1String(p);
    if (page.isEmpty())
        throw AppError(QStringLiteral("main: no page for %1").arg(objectName));
    m_menus->onMenu(objectName, [this, page, open = std::move(open)] {
        if (const auto rights = CheckPageAccess(m_ctx, page))
            open(*rights);
    });
}

bool Tmain::trigger(const QString &objectName)
{
    return m_menus->trigger(objectName);
}

void Tmain::closeEvent(QCloseEvent *e)
{
    if (m_ctx.ui->question(kExitQuestion, true, this) != Ui::Yes) {
        e->ignore();
        return;
    }
    e->accept();
    if (auto *login = m_ctx.form<Tlogin>())
        login->close();
}
