#pragma once
// SQL pieces that differ between the two databases, and the comparison form of names.
//
//   const bool pg = ctx.dm->isPostgres();
//   sql += " and " + db::foldedSql("peymankar") + "=?";  binds << db::foldedText(name);
#include <QString>

namespace db {

// A text column read as a number: digits with at most one point after an optional sign,
// blanks around allowed; an empty text or any other text counts as 0. Same result on both
// databases.
QString numberSql(const QString &column, bool postgres);

// The comparison form of a text column for duplicate tests: outer blanks trimmed and the
// Persian yeh "ی" and keheh "ک" read as the Arabic "ي" and "ك". Compare it with foldedText()
// of the typed value. Stored texts are never changed by it.
QString foldedSql(const QString &column);
QString foldedText(const QString &text);

} // namespace db
