#include "app/login_u.h"

#include "core/auth.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "app/main_u.h"
#include "shared/guard.h"
#include "shared/log.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

const QString Tlogin::kWrongPassword = QStringLiteral("خطا! نام كاربري يا كلمه عبور اشتباه است");
const QString Tlogin::kInactiveUser = QStringLiteral("خطا! اين كاربر غير فعال است");

Tlogin::Tlogin(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Tlogin"));
    setWindowTitle(QStringLiteral("ورود به سيستم"));
    setLayoutDirection(Qt::RightToLeft);

    user_name = new QLineEdit(this);
    user_name->setObjectName(QStringLiteral("user_name"));
    password = new QLineEdit(this);
    password->setObjectName(QStringLiteral("password"));
    password->setEchoMode(QLineEdit::Password);
    password->setMaxLength(kPasswordMaxLength);
    enter_btn = new QPushButton(QStringLiteral("ورود"), this);
    enter_btn->setObjectName(QStringLiteral("enter_btn"));
    enter_btn->setDefault(true);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("نام كاربري"), user_name);
    form->addRow(QStringLiteral("كلمه عبور"), password);
    auto *lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addWidget(enter_btn);
    setMinimumWidth(320);

    QSettings s;
    user_name->setText(s.value(QStringLiteral("login/last_user")).toString());
    if (!user_name->text().isEmpty())
        password->setFocus();

    // Enter moves to the next box; on the password box it signs in.
    connect(user_name, &QLineEdit::returnPressed, password, qOverload<>(&QWidget::setFocus));
    connect(password, &QLineEdit::returnPressed, this, &Tlogin::enter);
    connect(enter_btn, &QPushButton::clicked, this, &Tlogin::enter);
}

bool Tlogin::enter()
{
    bool ok = false;
    guarded(m_ctx, [&] {
        DataSet *q = m_ctx.dm->ADOQuery1;
        q->open(QStringLiteral("select id, karbar, pass, level, active from karbaran where karbar=?"),
                {user_name->text()});
        if (q->isEmpty() || !verifyPassword(password->text(), q->text(QStringLiteral("pass")))) {
            m_ctx.ui->message(kWrongPassword, this);
            return;
        }
        if (!q->value(QStringLiteral("active")).toBool()) {
            m_ctx.ui->message(kInactiveUser, this);
            return;
        }
        m_ctx.CurrentUser.prs_id = q->text(QStringLiteral("id"));
        m_ctx.CurrentUser.level = q->text(QStringLiteral("level"));
        m_ctx.CurrentUser.karbar = q->text(QStringLiteral("karbar"));
        QSettings s;
        s.setValue(QStringLiteral("login/last_user"), m_ctx.CurrentUser.karbar);
        WriteLog(m_ctx, QStringLiteral("ورود به سيستم"));
        ok = true;
    });
    if (!ok)
        return false;
    password->clear();
    if (auto *m = m_ctx.form<Tmain>())
        m->showMaximized();
    hide();
    return true;
}

void Tlogin::closeEvent(QCloseEvent *e)
{
    QDialog::closeEvent(e);
    qApp->quit();
}

void Tlogin::reject()
{
    // Escape or the close box: the program ends with the login window.
    hide();
    qApp->quit();
}
