#include "db/refusal.h"

namespace db {

Refusal::Refusal(Kind kind, const QString &column, const QString &typed, int limit)
    : Refusal(kind, column, typed, limit, QString())
{
}

Refusal::Refusal(Kind kind, const QString &sentence)
    : InputError(sentence)
    , m_kind(kind)
{
}

Refusal::Refusal(Kind kind, const QString &column, const QString &typed, int limit, const QString &caption)
    : InputError(text(kind,
                      !caption.isEmpty()  ? QStringLiteral("«%1»").arg(caption)
                      : !column.isEmpty() ? QStringLiteral("ستون ") + column
                                          : QString(),
                      typed, limit))
    , m_kind(kind)
    , m_column(column)
    , m_typed(typed)
    , m_limit(limit)
{
}

Refusal Refusal::named(const QString &caption) const
{
    if (caption.isEmpty() || m_kind == Duplicate || m_kind == ParentGone)
        return *this;
    return Refusal(m_kind, m_column, m_typed, m_limit, caption);
}

QString Refusal::text(Kind kind, const QString &name, const QString &typed, int limit)
{
    if (kind == ControlCharacter)
        return QStringLiteral("خطا! مقدار %1 نويسه کنترلي (مانند NUL) دارد و ثبت نمي شود").arg(name);
    if (kind == Empty)
        return QStringLiteral("خطا! %1 خالي است؛ آن را پر نماييد").arg(name);
    QString fault;
    switch (kind) {
    case NotANumber:
        fault = QStringLiteral("عدد نيست");
        break;
    case NotWhole:
        fault = QStringLiteral("بايد عدد صحيح و بدون اعشار باشد");
        break;
    case NotAYear:
        fault = QStringLiteral("سال چهار رقمي نيست");
        break;
    case Negative:
        fault = QStringLiteral("منفي است و ثبت نمي شود");
        break;
    case OutOfRange:
        fault = QStringLiteral("بايد از 0 تا %1 باشد").arg(limit);
        break;
    case TooLong:
        fault = QStringLiteral("بيش از %1 حرف است").arg(limit);
        break;
    case NotADate:
        fault = QStringLiteral("تاريخ معتبر نيست");
        break;
    default:
        fault = QStringLiteral("بزرگتر از حد مجاز است");
        break;
    }
    // "خطا! مقدار «typed» براي <name> <fault>"; a value of no column: "خطا! مقدار «typed» <fault>".
    return name.isEmpty() ? QStringLiteral("خطا! مقدار «%1» %2").arg(typed, fault)
                          : QStringLiteral("خطا! مقدار «%1» براي %2 %3").arg(typed, name, fault);
}

} // namespace db
