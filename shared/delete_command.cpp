#include "shared/delete_command.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/delete_password.h"
#include "shared/guard.h"
#include "shared/log.h"
#include "shared/messages.h"

namespace {

bool passwordGiven(AppContext &ctx, QWidget *parent, DeleteDef::Password p)
{
    if (p == DeleteDef::NoPassword)
        return true;
    const bool plain = p == DeleteDef::AskPassword;
    if (ConfirmDeletePassword(ctx, plain ? kPasswordCaption : kDeletePasswordCaption,
                              plain ? kPasswordPrompt : kDeletePasswordPrompt))
        return true;
    ctx.ui->message(plain ? kPasswordMismatch : kDeletePasswordMismatch, parent);
    return false;
}

bool answeredYes(AppContext &ctx, QWidget *parent, const DeleteDef &decl)
{
    return decl.question.isEmpty() || ctx.ui->question(decl.question, decl.questionWithCancel, parent) == Ui::Yes;
}

} // namespace

QString QuotedName(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

bool RunDelete(AppContext &ctx, QWidget *parent, const DeleteDef &decl, const QVariant &key, bool *goneOut)
{
    if (!decl.levels.isEmpty() && !decl.levels.contains(ctx.CurrentUser.level)) {
        ctx.ui->message(decl.levelRefusal, parent);
        return false;
    }
    bool removed = false, gone = false;
    const bool done = guarded(ctx, [&] {
        if (decl.passwordFirst) {
            if (!passwordGiven(ctx, parent, decl.password) || !answeredYes(ctx, parent, decl))
                return;
        } else if (!answeredYes(ctx, parent, decl) || !passwordGiven(ctx, parent, decl.password)) {
            return;
        }
        ctx.dm->transaction([&] {
            const int n = ctx.dm->exec(QStringLiteral("delete from %1 where %2=?").arg(decl.table, decl.keyColumn), {key});
            if (n == 0) {
                // Another user deleted it first: nothing more to do, no log row.
                gone = true;
                return;
            }
            for (const DeleteChild &c : decl.children)
                ctx.dm->exec(QStringLiteral("delete from %1 where %2=?")
                                 .arg(QLatin1String(c.table), QLatin1String(c.ownerColumn)),
                             {key});
            if (!decl.logText.isEmpty())
                WriteLog(ctx, decl.logText);
            removed = true;
        });
    });
    if (goneOut)
        *goneOut = gone;
    if (!done)
        return false;
    if (gone)
        ctx.ui->message(decl.goneMessage.isEmpty() ? msg::kAlreadyDeleted : decl.goneMessage, parent);
    else if (removed && !decl.doneMessage.isEmpty())
        ctx.ui->message(decl.doneMessage, parent);
    return removed;
}
