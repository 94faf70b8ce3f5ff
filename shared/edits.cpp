#include "shared/edits.h"
#include "core/text_rules.h"

#include "core/money.h"
#include "db/refusal.h"
#include "shared/numwords.h"

#include <QPainter>
#include <QStyleOptionFrame>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QComboBox>
#include <QFocusEvent>
#include <QRegularExpression>
#include <QTimer>

namespace {

// Latin digit of a Latin, Persian or Arabic-Indic digit; 0 when not a digit.
char16_t latinDigit(QChar c)
{
    return textrule::latinDigit(c).unicode();
}

// A minus sign as typed: the hyphen-minus or the minus sign.
bool isMinus(QChar c)
{
    return c == QLatin1Char('-') || c == QChar(0x2212);
}

} // namespace

// ---- TMonEdit ---------------------------------------------------------------

TMonEdit::TMonEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // The line edit tells a user's edit (typing, pasting) before the change of text itself.
    connect(this, &QLineEdit::textEdited, this, [this] { m_userEdit = true; });
    connect(this, &QLineEdit::textChanged, this, &TMonEdit::regroup);
}

void TMonEdit::regroup()
{
    if (m_busy)
        return;
    m_touched = true;
    // Every digit stays, however many: an amount too large for its column is refused when it
    // is written, naming what was typed, never cut here. A decimal sign can only arrive with a
    // text set or pasted whole. A fraction of zeros ("1250000.0000") is dropped; any other
    // pasted fraction stays, to be refused as not a whole amount; a text the program sets (a
    // stored amount, a quantity copied in) shows its integer part.
    const bool pasted = m_userEdit;
    m_userEdit = false;
    const QString t = text();
    QString digits, fraction;
    bool afterSign = false, minus = false;
    for (QChar c : t) {
        if (c == QLatin1Char('.') || c == QChar(0x066B))
            afterSign = true;
        else if (isMinus(c))
            minus = true; // kept in sight as the sign, to be refused with the amount
        else if (const char16_t d = latinDigit(c))
            (afterSign ? fraction : digits) += QChar(d);
    }
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!pasted)
        fraction.clear();
    QString shown = (minus ? QStringLiteral("-") : QString()) + GroupDigits(digits);
    if (!fraction.isEmpty())
        shown += QLatin1Char('.') + fraction;
    m_busy = true;
    if (shown != t)
        setText(shown);
    setCursorPosition(shown.size());
    m_busy = false;
}

qint64 TMonEdit::Value() const
{
    QString digits;
    const QString t = text();
    if (t.contains(QLatin1Char('.')))
        throw db::Refusal(db::Refusal::NotWhole, objectName(), t);
    bool minus = false;
    for (QChar c : t) {
        if (const char16_t d = latinDigit(c))
            digits += QChar(d);
        minus = minus || isMinus(c);
    }
    if (digits.isEmpty()) {
        if (minus)
            throw db::Refusal(db::Refusal::NotANumber, objectName(), t);
        return 0;
    }
    qint64 v = 0;
    if (!money::read(digits, &v) || !money::withinLimit(v))
        throw db::Refusal(db::Refusal::OverLimit, objectName(), t);
    return (minus ? -v : v) / money::kScale;
}

void TMonEdit::setValue(qint64 v)
{
    setText(QString::number(v));
}

void TMonEdit::setStoredText(const QString &stored, bool keepFraction)
{
    // "1250000.0000" is 1,250,000.
    qint64 amount = 0;
    const QString t = stored.trimmed();
    setText(t);
    m_storedFraction = keepFraction && money::read(t, &amount) && amount % money::kScale != 0 ? t : QString();
    m_touched = false;
}

void TMonEdit::keyPressEvent(QKeyEvent *e)
{
    // A typed decimal sign is not a digit: it is dropped here, so that what follows it still
    // counts as the whole amount's digits.
    const QString t = e->text();
    if (t == QLatin1String(".") || t == QString(QChar(0x066B)))
        return;
    QLineEdit::keyPressEvent(e);
}

// ---- TRealEdit --------------------------------------------------------------

TRealEdit::TRealEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TRealEdit::clean);
}

void TRealEdit::clean()
{
    if (m_busy)
        return;
    QString kept;
    bool dot = false, minus = false;
    const QString t = text();
    for (QChar c : t) {
        if (isMinus(c)) {
            minus = true; // kept in sight as the sign, to be refused with the amount
        } else if (const char16_t d = latinDigit(c)) {
            kept += QChar(d);
        } else if ((c == QLatin1Char('.') || c == QChar(0x066B)) && !dot) {
            kept += QLatin1Char('.');
            dot = true;
        }
    }
    // The whole part grouped by thousands, as a money box shows it.
    const qsizetype point = kept.indexOf(QLatin1Char('.'));
    const QString shown = (minus ? QStringLiteral("-") : QString())
                          + (point < 0 ? GroupDigits(kept) : GroupDigits(kept.left(point)) + kept.mid(point));
    m_busy = true;
    if (shown != t)
        setText(shown);
    setCursorPosition(shown.size());
    m_busy = false;
}

double TRealEdit::Value() const
{
    bool ok = false;
    const double v = text().remove(QLatin1Char(',')).toDouble(&ok); // C locale: "." is the decimal sign
    return ok ? v : 0.0;
}

// ---- rials in other boxes -----------------------------------------------------

namespace {

bool isGroupSeparator(QChar c)
{
    return c == QLatin1Char(',') || c == QChar(0x066C);
}

// The number of `text` with its whole part grouped by thousands, its sign, digits and fraction
// as typed; `text` itself when it is not a number. A fraction of zeros goes unless `typing`.
QString groupedNumber(const QString &text, bool typing)
{
    QString plain = text.trimmed();
    plain.removeIf(isGroupSeparator);
    static const QRegularExpression number(QStringLiteral("^([-+]?)([0-9\\x{06F0}-\\x{06F9}\\x{0660}-\\x{0669}]+)"
                                                          "(?:([.\\x{066B}])([0-9\\x{06F0}-\\x{06F9}\\x{0660}-\\x{0669}]*))?$"));
    const QRegularExpressionMatch m = number.match(plain);
    if (!m.hasMatch())
        return text;
    QString fraction = m.captured(3) + m.captured(4);
    bool zeros = true;
    for (QChar c : m.captured(4))
        zeros = zeros && latinDigit(c) == u'0';
    if (!typing && zeros)
        fraction.clear();
    return m.captured(1) + GroupDigits(m.captured(2)) + fraction;
}

} // namespace

void ShowGroupedRials(QLineEdit *box)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString &t) {
        const QString shown = groupedNumber(t, box->hasFocus());
        if (shown == t)
            return;
        // The caret stays before the same characters, separators not counted.
        int after = 0;
        for (qsizetype i = box->cursorPosition(); i < t.size(); ++i)
            after += !isGroupSeparator(t.at(i));
        box->setText(shown);
        qsizetype caret = shown.size();
        for (int seen = 0; caret > 0 && seen < after; --caret)
            seen += !isGroupSeparator(shown.at(caret - 1));
        box->setCursorPosition(int(caret));
    });
}

// ---- long texts from their start ------------------------------------------------

namespace {

class TextStartKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Polish) {
            if (auto *box = qobject_cast<QLineEdit *>(watched); box && !box->property(kWatched).toBool()) {
                box->setProperty(kWatched, true);
                // After the box's own handlers (a money box's regrouping puts its caret at the end).
                connect(box, &QLineEdit::textChanged, this, [box] {
                    if (!box->hasFocus())
                        box->setCursorPosition(0);
                });
                if (!box->hasFocus())
                    box->setCursorPosition(0);
            }
        } else if (e->type() == QEvent::FocusOut) {
            // Leaving the box, not opening its list nor another window coming to the front.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                QLineEdit *box = qobject_cast<QLineEdit *>(watched);
                if (auto *combo = qobject_cast<QComboBox *>(watched))
                    box = combo->lineEdit();
                if (box)
                    QTimer::singleShot(0, box, [box] {
                        if (!box->hasFocus())
                            box->setCursorPosition(0);
                    });
            }
        }
        return false;
    }

private:
    static constexpr const char *kWatched = "textStartShown";
};

} // namespace

void ShowTextsFromTheirStart(QCoreApplication *app)
{
    static QPointer<TextStartKeeper> keeper;
    if (keeper)
        return;
    keeper = new TextStartKeeper(app);
    app->installEventFilter(keeper);
}

// ---- TDateEdit --------------------------------------------------------------
// The box always holds the ten characters "yyyy/mm/dd" with a blank for every digit not
// typed, so text() of an empty box is "    /  /  " wherever it is read from. Typing fills
// the position at the caret (over the separators), deleting blanks it again.

const QString TDateEdit::kEmpty = QStringLiteral("    /  /  ");

namespace {
constexpr int kDateLength = 10;
bool isSeparatorPos(int p) { return p == 4 || p == 7; }
} // namespace

TDateEdit::TDateEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setLayoutDirection(Qt::LeftToRight);
    setAcceptDrops(false);
    QLineEdit::setText(kEmpty);
    connect(this, &QLineEdit::textChanged, this, &TDateEdit::keepForm);
}


QString TDateEdit::normalized(const QString &text)
{
    if (text.size() == kDateLength && text.at(4) == QLatin1Char('/') && text.at(7) == QLatin1Char('/')) {
        bool ok = true;
        for (int i = 0; i < kDateLength && ok; ++i)
            ok = isSeparatorPos(i) || text.at(i) == QLatin1Char(' ') || (text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'));
        if (ok)
            return text;
    }
    QString out = kEmpty;
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() >= 2) {
        // "1403/5/6": each part into its field; a one-digit month or day gets its zero.
        const int starts[] = {0, 5, 8};
        const int widths[] = {4, 2, 2};
        for (int p = 0; p < 3 && p < parts.size(); ++p) {
            QString d;
            for (QChar c : parts.at(p))
                if (const char16_t l = latinDigit(c))
                    d += QChar(l);
            if (p > 0 && d.size() == 1)
                d.prepend(QLatin1Char('0'));
            d.truncate(widths[p]);
            for (int i = 0; i < d.size(); ++i)
                out[starts[p] + i] = d.at(i);
        }
        return out;
    }
    // Bare digits ("14030506") fill the positions in order.
    int pos = 0;
    for (QChar c : text) {
        const char16_t l = latinDigit(c);
        if (!l)
            continue;
        if (isSeparatorPos(pos))
            ++pos;
        if (pos >= kDateLength)
            break;
        out[pos++] = QChar(l);
    }
    return out;
}

void TDateEdit::keepForm()
{
    if (m_busy)
        return;
    const QString t = text();
    const QString n = normalized(t);
    if (n == t)
        return;
    m_busy = true;
    const int cursor = cursorPosition();
    QLineEdit::setText(n);
    setCursorPosition(qMin(cursor, kDateLength));
    m_busy = false;
}

void TDateEdit::replaceRange(int start, const QString &chars, int caret)
{
    // Through the line edit's own editing, so undo and textEdited work as usual.
    m_busy = true;
    setSelection(start, chars.size());
    insert(chars);
    m_busy = false;
    setCursorPosition(qBound(0, caret, kDateLength));
    keepForm();
}

void TDateEdit::blankSelection()
{
    const int start = selectionStart();
    const int len = selectedText().size();
    if (start < 0 || len <= 0)
        return;
    QString blanks = kEmpty.mid(start, len);
    replaceRange(start, blanks, start);
}

void TDateEdit::typeDigits(const QString &digits)
{
    if (hasSelectedText()) {
        const int start = selectionStart();
        blankSelection();
        setCursorPosition(start);
    }
    int pos = cursorPosition();
    for (QChar c : digits) {
        const char16_t d = latinDigit(c);
        if (!d)
            continue;
        if (isSeparatorPos(pos))
            ++pos;
        if (pos >= kDateLength)
            break;
        replaceRange(pos, QString(QChar(d)), pos + 1);
        ++pos;
    }
    if (isSeparatorPos(pos))
        ++pos;
    setCursorPosition(qMin(pos, kDateLength));
}

void TDateEdit::pasteDate()
{
    const QString clip = QApplication::clipboard()->text().trimmed();
    if (clip.isEmpty())
        return;
    // A whole date replaces the box; loose digits are typed at the caret.
    if (clip.contains(QLatin1Char('/')) && (cursorPosition() == 0 || selectedText().size() == kDateLength)) {
        m_busy = true;
        selectAll();
        insert(normalized(clip));
        m_busy = false;
        keepForm();
        setCursorPosition(kDateLength);
        return;
    }
    typeDigits(clip);
}

void TDateEdit::keyPressEvent(QKeyEvent *e)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (e == QKeySequence::Paste) {
        pasteDate();
        return;
    }
    if (e == QKeySequence::Cut) {
        if (hasSelectedText()) {
            copy();
            blankSelection();
        }
        return;
    }
    if (e == QKeySequence::Undo || e == QKeySequence::Redo || e == QKeySequence::Copy
        || e == QKeySequence::SelectAll) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Backspace:
        if (hasSelectedText()) {
            blankSelection();
        } else {
            int p = cursorPosition() - 1;
            if (isSeparatorPos(p))
                --p;
            if (p >= 0)
                replaceRange(p, QStringLiteral(" "), p);
        }
        return;
    case Qt::Key_Delete:
        if (hasSelectedText()) {
            blankSelection();
        } else {
            int p = cursorPosition();
            if (isSeparatorPos(p))
                ++p;
            if (p < kDateLength)
                replaceRange(p, QStringLiteral(" "), p);
        }
        return;
    default:
        break;
    }
    const QString t = e->text();
    if (!t.isEmpty() && t.at(0).isPrint()) {
        if (latinDigit(t.at(0)))
            typeDigits(t);
        return; // anything else typed is not taken
    }
    QLineEdit::keyPressEvent(e); // caret movement, Tab, Enter ...
}

void TDateEdit::inputMethodEvent(QInputMethodEvent *e)
{
    if (!e->commitString().isEmpty() && !isReadOnly())
        typeDigits(e->commitString());
    e->accept();
}

void TDateEdit::contextMenuEvent(QContextMenuEvent *e)
{
    QPointer<QMenu> menu = createStandardContextMenu();
    for (QAction *a : menu->actions()) {
        const QString name = a->objectName();
        if (name == QLatin1String("edit-paste")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, &TDateEdit::pasteDate);
        } else if (name == QLatin1String("edit-cut")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, [this] {
                copy();
                blankSelection();
            });
        } else if (name == QLatin1String("edit-delete")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, &TDateEdit::blankSelection);
        }
    }
    menu->exec(e->globalPos());
    delete menu;
}

void TDateEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (isBlank())
        setCursorPosition(0);
}

void TDateEdit::mouseReleaseEvent(QMouseEvent *e)
{
    QLineEdit::mouseReleaseEvent(e);
    // An empty box is filled from its first position wherever it was clicked.
    if (isBlank() && !hasSelectedText())
        setCursorPosition(0);
}

void TDateEdit::paintEvent(QPaintEvent *e)
{
    QLineEdit::paintEvent(e);
    // While the box is being typed in, QLineEdit shows its text with the caret; otherwise the
    // date is shown with its guide: "____/__/__" for an empty one.
    const QString t = text();
    if (hasFocus() || t.size() != kDateLength || !t.contains(QLatin1Char(' ')))
        return;
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &opt, this).marginsRemoved(textMargins());
    QPainter p(this);
    p.fillRect(r, palette().brush(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base));
    QString shown = t;
    shown.replace(QLatin1Char(' '), QLatin1Char('_'));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p.drawText(r.adjusted(2, 0, -2, 0), int(QStyle::visualAlignment(Qt::LeftToRight, alignment())) | Qt::AlignVCenter,
               shown);
}
