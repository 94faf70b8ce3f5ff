#include "app/main_u.h"

#include "core/context.h"
#include "app/login_u.h"
#include "shared/guard.h"
#include "shared/rights.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>

const QString Tmain::kExitQuestion = QStringLiteral("آيا مي خواهيد از برنامه خارج شويد");

Tmain::Tmain(AppContext &ctx, QWidget *parent)
    : QMainWindow(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("وارنوست"));
    setLayoutDirection(Qt::RightToLeft);
    m_registers = menuBar()->addMenu(QStringLiteral("ثبت اطلاعات"));
    m_registers->setObjectName(QStringLiteral("registers_menu"));
    auto *bg = new QLabel(this);
    bg->setObjectName(QStringLiteral("background"));
    bg->setAlignment(Qt::AlignCenter);
    bg->setScaledContents(true);
    bg->setPixmap(QPixmap(QStringLiteral(":/app/images/background.jpg")));
    setCentralWidget(bg);
    resize(1024, 700);
}

QAction *Tmain::addOpener(const QString &objectName, const QString &caption, const QString &page, Opener open)
{
    QAction *a = m_registers->addAction(caption);
    a->setObjectName(objectName);
    connect(a, &QAction::triggered, this, [this, page, open = std::move(open)] {
        guarded(m_ctx, [&] {
            if (const auto rights = CheckPageAccess(m_ctx, page))
                open(*rights);
        });
    });
    return a;
}

bool Tmain::trigger(const QString &objectName)
{
    if (auto *a = findChild<QAction *>(objectName)) {
        a->trigger();
        return true;
    }
    return false;
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
