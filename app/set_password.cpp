#include "app/set_password.h"

#include "app/login_u.h"
#include "app/startup.h"
#include "core/auth.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/setup.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

const QString kPrompt = QStringLiteral("كلمه عبور جديد كاربر %1: ");
const QString kRepeatPrompt = QStringLiteral("تكرار كلمه عبور: ");
const QString kStored = QStringLiteral("كلمه عبور كاربر %1 ثبت شد");
const QString kWhere = QStringLiteral("بانك اطلاعاتي: %1");
const QString kUnknownUser = QStringLiteral("خطا! كاربر %1 در بانك اطلاعاتي نيست؛ چيزي ثبت نشد");
const QString kMismatch = QStringLiteral("خطا! كلمه عبور خالي است يا با تكرار آن يكسان نيست؛ چيزي ثبت نشد");
const QString kTooLong = QStringLiteral("خطا! كلمه عبور بيش از %1 حرف است و در پنجره ورود جا نمي گيرد؛ چيزي ثبت نشد");
const QString kUsage = QStringLiteral("استفاده: varnoset --set-password USER");

void say(std::FILE *to, const QString &text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fflush(to);
}

// The terminal's settings while echo is off, put back on Ctrl+C as well.
termios g_saved;
bool g_echoOff = false;

void restoreTerminal()
{
    if (g_echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &g_saved);
    g_echoOff = false;
}

extern "C" void onInterrupt(int sig)
{
    if (g_echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &g_saved);
    _exit(128 + sig);
}

// One line of standard input; on a terminal the prompt is shown and the typing is not.
QString readLine(const QString &prompt, bool terminal)
{
    if (terminal) {
        termios quiet;
        tcgetattr(STDIN_FILENO, &g_saved);
        quiet = g_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        g_echoOff = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        say(stderr, prompt);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        restoreTerminal();
        say(stderr, QStringLiteral("\n"));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}

QString describe(const DbProfile &p)
{
    if (!p.isPostgres())
        return p.path;
    return QStringLiteral("%1@%2:%3").arg(p.database, p.host).arg(p.port)
           + (p.schema.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(p.schema));
}

} // namespace

int setPasswordCommand(const QString &user)
{
    if (user.trimmed().isEmpty()) {
        say(stderr, kUsage + QLatin1Char('\n'));
        return 2;
    }
    const DbProfile profile = configuredMainProfile();
    try {
        Tdm dm;
        dm.connectMain(profile);
        db::setupSchema(dm);
        if (!dm.scalar(QStringLiteral("select id from karbaran where karbar=?"), {user}).isValid()) {
            say(stderr, kUnknownUser.arg(user) + QLatin1Char('\n'));
            return 1;
        }
        const bool terminal = isatty(STDIN_FILENO);
        if (terminal)
            std::signal(SIGINT, onInterrupt);
        const QString first = readLine(kPrompt.arg(user), terminal);
        const QString second = readLine(kRepeatPrompt, terminal);
        if (first.isEmpty() || first != second) {
            say(stderr, kMismatch + QLatin1Char('\n'));
            return 1;
        }
        if (first.size() > Tlogin::kPasswordMaxLength) {
            // The sign-in box could never hold it: that user could not sign in.
            say(stderr, kTooLong.arg(Tlogin::kPasswordMaxLength) + QLatin1Char('\n'));
            return 1;
        }
        dm.exec(QStringLiteral("update karbaran set pass=? where karbar=?"), {hashPassword(first), user});
        say(stdout, kStored.arg(user) + QLatin1Char('\n') + kWhere.arg(describe(profile)) + QLatin1Char('\n'));
        return 0;
    } catch (const AppError &e) {
        restoreTerminal();
        say(stderr, e.message() + QLatin1Char('\n'));
        return 1;
    }
}
