#include "bitumen/ghir_formula.h"
#include "core/text_rules.h"

#include "db/refusal.h"

#include <QLineEdit>
#include <charconv>
#include <cmath>

namespace ghirformula {

namespace {

// Largest magnitude a whole-number result may have (the range of a 64-bit integer).
constexpr long double kWholeLimit = 9.2e18L;

QByteArray plainDigits(const QString &text)
{
    QByteArray s;
    s.reserve(text.size());
    for (QChar c : textrule::latinDigits(text)) {
        const ushort u = c.unicode();
        if (u == ',' || u == 0x066C)
            continue;
        else if (u == 0x066B)
            s += '.';
        else if (u < 128)
            s += char(u);
        else
            s += '?';
    }
    return s.trimmed();
}

} // namespace

bool readNumber(const QString &text, long double *out)
{
    double check = 0;
    // The same numbers the writes accept, nothing else.
    if (!textrule::parseNumber(text, &check))
        return false;
    QByteArray s = plainDigits(text);
    if (s.startsWith('+'))
        s.remove(0, 1);
    long double v = 0;
    const char *end = s.constData() + s.size();
    const auto r = std::from_chars(s.constData(), end, v, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v))
        v = check;
    *out = v;
    return true;
}

long double number(const QString &text)
{
    long double v = 0;
    if (!readNumber(text, &v))
        throw FormulaError{};
    return v;
}

long double divide(long double a, long double b)
{
    if (b == 0 || !std::isfinite(a) || !std::isfinite(b))
        throw FormulaError{};
    const long double q = a / b;
    if (!std::isfinite(q))
        throw FormulaError{};
    return q;
}

long double Round(long double v)
{
    if (!std::isfinite(v) || std::fabs(v) > kWholeLimit)
        throw FormulaError{};
    // Default rounding mode: to nearest, ties to even.
    return std::nearbyint(v);
}

long double Floor(long double v)
{
    if (!std::isfinite(v) || std::fabs(v) > kWholeLimit)
        throw FormulaError{};
    return std::floor(v);
}

QString text(long double v)
{
    if (!std::isfinite(v))
        throw FormulaError{};
    // Round to 15 significant digits from the extended value itself, then let the
    // shared number format drop trailing zeros and the exponent.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    if (r.ec != std::errc())
        throw FormulaError{};
    double d = 0;
    const auto p = std::from_chars(buf, r.ptr, d, std::chars_format::scientific);
    if (p.ec != std::errc() || !std::isfinite(d))
        throw FormulaError{};
    return textrule::numberText(d);
}

long double roundTrip(long double v)
{
    return number(text(v));
}

bool computeInto(QLineEdit *box, const std::function<long double()> &formula)
{
    try {
        const QString result = text(formula());
        box->setText(result);
        return true;
    } catch (const FormulaError &) {
        return false;
    }
}

void roundBox(QLineEdit *box, const QString &caption)
{
    long double v = 0;
    if (!readNumber(box->text(), &v))
        throw db::Refusal(box->text().trimmed().isEmpty() ? db::Refusal::Empty : db::Refusal::NotANumber,
                          box->objectName(), box->text())
            .named(caption);
    try {
        box->setText(text(Round(v)));
    } catch (const FormulaError &) {
        throw db::Refusal(db::Refusal::OverLimit, box->objectName(), box->text()).named(caption);
    }
}

} // namespace ghirformula
