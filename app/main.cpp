#include "app/forms.h"
#include "app/startup.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "app/login_u.h"
#include "app/set_password.h"
#include "shared/edits.h"
#include "ui/qtui.h"

#include <QApplication>
#include <QFont>

int main(int argc, char **argv)
{
    // The settings' place, for the windows and for the command alike.
    QCoreApplication::setOrganizationName(QStringLiteral("varnoset"));
    QCoreApplication::setApplicationName(QStringLiteral("varnoset"));
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--set-password") == 0) {
            // No window: the password of one user, on the configured database.
            QCoreApplication app(argc, argv);
            return setPasswordCommand(i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString());
        }
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setQuitOnLastWindowClosed(false);
    QFont f(QStringLiteral("Nazli"), 10);
    QApplication::setFont(f);
    installQtTranslations();
    ShowTextsFromTheirStart(&app);

    QtUi ui;
    Tdm dm;
    AppContext ctx;
    ctx.dm = &dm;
    ctx.ui = &ui;

    if (!prepareDatabases(ctx, parseStartOptions(app.arguments())))
        return 1;
    createForms(ctx);
    ctx.form<Tlogin>()->show();
    const int rc = app.exec();
    for (QWidget *w : ctx.forms())
        delete w;
    return rc;
}
