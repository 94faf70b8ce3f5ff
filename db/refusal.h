#pragma once
// The one refusal of a value or a row before anything is written: which column, what kind of
// fault, what was typed and the limit it broke. The window that shows it names the box by its
// caption (named()); a column without a box is named as "ستون x", a value of no column not at
// all. A refusal of the whole row (a duplicate key, a parent another user deleted) carries the
// window's own sentence.
//
//   throw db::Refusal(db::Refusal::TooLong, "cmt", typed, 50);     // ... براي ستون cmt بيش از 50 حرف است
//   catch (const db::Refusal &r) { ui->message(r.named("شرح سند").message()); }  // ... براي «شرح سند» ...
#include "core/errors.h"

namespace db {

class Refusal : public InputError {
public:
    enum Kind {
        NotANumber,       // "خطا! مقدار «typed» براي «caption» عدد نيست"
        NotWhole,         // "... بايد عدد صحيح و بدون اعشار باشد" (a fraction in a money or whole-number box)
        TooLong,          // "... بيش از limit حرف است"
        NotADate,         // "... تاريخ معتبر نيست"
        OverLimit,        // "... بزرگتر از حد مجاز است" (money limit, integer range)
        ControlCharacter, // "خطا! مقدار «caption» نويسه کنترلي (مانند NUL) دارد و ثبت نمي شود"
        NotAYear,         // "... سال چهار رقمي نيست" (a year box not filled with four digits)
        Empty,            // "خطا! «caption» خالي است؛ آن را پر نماييد" (a box the row needs)
        Negative,         // "... منفي است و ثبت نمي شود" (an amount below zero)
        OutOfRange,       // "... بايد از 0 تا limit باشد" (a percent outside 0-100)
        Duplicate,        // the window's sentence
        ParentGone,       // the window's sentence
    };
    Refusal(Kind kind, const QString &column, const QString &typed, int limit = 0);
    // A refusal of the row in the window's own words.
    Refusal(Kind kind, const QString &sentence);

    Kind kind() const { return m_kind; }
    const QString &column() const { return m_column; }
    const QString &typed() const { return m_typed; }
    int limit() const { return m_limit; }
    // The same refusal naming the box `caption` ("«caption»"); an empty caption keeps the column.
    Refusal named(const QString &caption) const;

private:
    Refusal(Kind kind, const QString &column, const QString &typed, int limit, const QString &caption);
    static QString text(Kind kind, const QString &name, const QString &typed, int limit);

    Kind m_kind;
    QString m_column;
    QString m_typed;
    int m_limit = 0;
};

} // namespace db
