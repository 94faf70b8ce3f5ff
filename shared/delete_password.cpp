#include "shared/delete_password.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/ui.h"

const QString kPasswordCaption = QStringLiteral("Password");
const QString kPasswordPrompt = QStringLiteral("کلمه عبور");
const QString kPasswordMismatch = QStringLiteral("كلمه عبور را اشتباه وارد نموديد");
const QString kDeletePasswordCaption = QStringLiteral("Delete Password");
const QString kDeletePasswordPrompt = QStringLiteral("رمز حذف");
const QString kDeletePasswordMismatch = QStringLiteral("رمز حذف اشتباه بود");

namespace {
const QString kPasswordList = QStringLiteral("رمز حذف");
const QString kDefaultAnswer = QStringLiteral("?");
} // namespace

bool ConfirmDeletePassword(AppContext &ctx, const QString &caption, const QString &prompt)
{
    DataSet *q = ctx.dm->adoq_set;
    q->open(QStringLiteral("select * from setting where component=?"), {kPasswordList});
    bool ok = false;
    const QString answer = ctx.ui->inputBox(caption, prompt, kDefaultAnswer, nullptr, &ok);
    // Cancel never deletes, whatever the stored password is; without a stored password
    // nothing matches, not even an empty answer.
    if (!ok || q->isEmpty())
        return false;
    return answer == q->text(QStringLiteral("cmt"), 0);
}
