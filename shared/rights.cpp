#include "shared/rights.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/ui.h"

const QString kNoAccessMessage = QStringLiteral("شما دسترسي به اين صفحه را نداريد");

PageRights ReadPageRights(AppContext &ctx, const QString &pageName)
{
    return FindPageRights(ctx, pageName).value_or(PageRights());
}

std::optional<PageRights> FindPageRights(AppContext &ctx, const QString &pageName)
{
    DataSet *q = ctx.dm->ADOQ_dastrasi;
    q->open(QStringLiteral("select * from dastrasi where prs_id=? and page_name=?"),
            {ctx.CurrentUser.prs_id.toLongLong(), pageName});
    PageRights r;
    if (q->isEmpty())
        return std::nullopt;
    q->first();
    r.darj = q->value(QStringLiteral("darj")).toBool();
    r.virayesh = q->value(QStringLiteral("virayesh")).toBool();
    r.hazf = q->value(QStringLiteral("hazf")).toBool();
    r.namayesh = q->value(QStringLiteral("namayesh")).toBool();
    return r;
}

std::optional<PageRights> CheckPageAccess(AppContext &ctx, const QString &pageName)
{
    const PageRights r = ReadPageRights(ctx, pageName);
    if (!r.namayesh) {
        ctx.ui->message(kNoAccessMessage);
        return std::nullopt;
    }
    return r;
}

QString CountyNameClause(const AppContext &ctx, QVariantList &binds, const QString &column)
{
    if (ctx.CurrentUser.level != QLatin1String("city"))
        return {};
    binds << QLatin1Char('%') + ctx.CurrentUser.karbar + QLatin1Char('%');
    return QStringLiteral(" and %1 like ?").arg(column);
}

QString CountyFilterClause(const AppContext &ctx, QVariantList &binds, const QString &column)
{
    if (ctx.CurrentUser.level == QLatin1String("admin"))
        return {};
    binds << ctx.CurrentUser.prs_id.toLongLong();
    return QStringLiteral(" and %1 in ( select cmt from dastrasi2 where user_id=?)").arg(column);
}
