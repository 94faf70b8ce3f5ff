#pragma once
#include <QString>
#include <QVariantList>
#include <optional>

class AppContext;

// The four flags of a user's row for one page.
struct PageRights {
    bool darj = false;     // may insert
    bool virayesh = false; // may edit
    bool hazf = false;     // may delete
    bool namayesh = false; // may open
};

// The refusal shown when a page may not be opened.
extern const QString kNoAccessMessage; // "شما دسترسي به اين صفحه را نداريد"

// Reads the signed-in user's row for the page. With no row, or without the right to
// open, shows the refusal and returns nothing; otherwise the flags to apply.
std::optional<PageRights> CheckPageAccess(AppContext &ctx, const QString &pageName);
// The row's flags without showing anything (no row: every flag false).
PageRights ReadPageRights(AppContext &ctx, const QString &pageName);
// The row's flags, or nothing when the user has no row for the page.
std::optional<PageRights> FindPageRights(AppContext &ctx, const QString &pageName);

// County restriction of the searches: for every level but exactly "admin", the rows whose
// `column` is one of the user's counties. Appends the bound user id to binds.
QString CountyFilterClause(const AppContext &ctx, QVariantList &binds, const QString &column = QStringLiteral("city"));
// The county offices' second restriction: for the level exactly "city", the rows whose `column`
// holds the user's name (" and column like ?" with "%" + name + "%"); nothing for other levels.
QString CountyNameClause(const AppContext &ctx, QVariantList &binds, const QString &column);
