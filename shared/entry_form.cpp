#include "shared/entry_form.h"
#include "core/text_rules.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/schema.h"
#include "db/values.h"
#include "shared/balloon.h"
#include "shared/combo_items.h"
#include "core/dates.h"
#include "shared/edits.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/persian.h"
#include "shared/settings_list.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A caption that runs an action when clicked (fills today's date, rounds its box ...).
class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    void setAction(std::function<void()> fn)
    {
        m_fn = std::move(fn);
        setCursor(m_fn ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && m_fn)
            m_fn();
    }

private:
    std::function<void()> m_fn;
};

QString utf8(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

// A year box's text as written: four digits (Latin), or the empty box's four blanks.
QString yearText(const QString &column, const QString &text)
{
    const QString digits = textrule::latinDigits(text);
    if (digits.trimmed().isEmpty())
        return text;
    static const QRegularExpression year(QStringLiteral("^[0-9]{4}$"));
    if (!year.match(digits).hasMatch())
        throw db::Refusal(db::Refusal::NotAYear, column, text);
    return digits;
}

// An amount box (money, decimal, rials) below zero and a percentage outside 0-100 are refused,
// naming what was typed; a text that is not a number is the column's to refuse.
void refuseOutOfRange(const BoxDef &d, const QString &column, const QString &text)
{
    const bool amount = d.kind == BoxKind::Money || d.kind == BoxKind::Real || (d.flags & BoxDef::Rials);
    const bool percent = d.flags & BoxDef::Percent;
    double n = 0;
    if (!(amount || percent) || !textrule::parseNumber(text, &n))
        return;
    if (percent && (n < 0 || n > 100))
        throw db::Refusal(db::Refusal::OutOfRange, column, text, 100);
    if (amount && n < 0)
        throw db::Refusal(db::Refusal::Negative, column, text);
}

// Runs a write; *unknown tells whether its outcome could not be learned.
WriteResult noting(bool *unknown, const std::function<WriteResult()> &write)
{
    try {
        return write();
    } catch (const OutcomeUnknown &) {
        *unknown = true;
        throw;
    }
}

} // namespace

EntryForm::EntryForm(AppContext &ctx, const EntryDef &decl, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_def(decl)
{
    setObjectName(QLatin1String(decl.objectName));
    setWindowTitle(utf8(decl.caption));
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    m_row = new DataSet(QStringLiteral("row"), this);
    buildBoxes();
}

void EntryForm::buildBoxes()
{
    const Qt::Alignment right = Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter;
    for (const BoxDef &d : m_def.boxes) {
        const QString name = QLatin1String(d.name);
        QWidget *w = nullptr;
        switch (d.kind) {
        case BoxKind::Line:
        case BoxKind::Digits:
        case BoxKind::Computed: {
            auto *e = new QLineEdit(this);
            if (d.mask)
                e->setInputMask(QLatin1String(d.mask));
            // A paste or a drop into a digits box is taken only when it is all digits.
            if (d.kind == BoxKind::Digits)
                e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
            if (d.flags & BoxDef::Rials)
                ShowGroupedRials(e);
            w = e;
            break;
        }
        case BoxKind::Money:
            w = new TMonEdit(this);
            break;
        case BoxKind::Real:
            w = new TRealEdit(this);
            break;
        case BoxKind::Date:
            w = new TDateEdit(this);
            break;
        case BoxKind::Year: {
            auto *e = new QLineEdit(this);
            // Four digits; an unfilled place reads as a blank, as in "13  ".
            e->setInputMask(QStringLiteral("0000;_"));
            w = e;
            break;
        }
        case BoxKind::Combo:
        case BoxKind::List: {
            auto *c = new QComboBox(this);
            c->setEditable(d.kind == BoxKind::Combo);
            c->setInsertPolicy(QComboBox::NoInsert);
            if (d.items) {
                c->addItems(utf8(d.items).split(QLatin1Char('|')));
                if (c->isEditable())
                    c->setEditText(QString());
                else
                    c->setCurrentIndex(-1);
            }
            w = c;
            break;
        }
        case BoxKind::Radio: {
            w = new QWidget(this);
            auto *row = new QHBoxLayout(w);
            row->setContentsMargins(0, 0, 0, 0);
            for (const QString &item : utf8(d.items).split(QLatin1Char('|'), Qt::SkipEmptyParts))
                row->addWidget(new QRadioButton(item, w));
            row->addStretch(1);
            break;
        }
        case BoxKind::Memo:
            w = new QPlainTextEdit(this);
            break;
        case BoxKind::Fixed:
            continue;
        }
        w->setObjectName(name);
        if (auto *le = qobject_cast<QLineEdit *>(w))
            le->setAlignment(right);
        else if (auto *cb = qobject_cast<QComboBox *>(w); cb && cb->lineEdit())
            cb->lineEdit()->setAlignment(right);
        m_boxes.insert(name.toLower(), w);
        w->setMinimumWidth(d.width);

        auto *label = new ClickLabel(utf8(d.caption), this);
        label->setObjectName(name + QStringLiteral("_lbl"));
        label->setBuddy(w);
        if (d.flags & BoxDef::TodayOnClick) {
            auto *e = qobject_cast<QLineEdit *>(w);
            label->setAction([e] { e->setText(SolarDateText()); });
        }
        m_captions.insert(name.toLower(), label);
        if (d.button) {
            auto *b = new QToolButton(this);
            b->setObjectName(QLatin1String(d.button));
            b->setText(utf8(d.buttonCaption));
            m_buttons.insert(name.toLower(), b);
        }
        // Before the balloon tip's own filter, which hides the tip on a click first.
        w->installEventFilter(this);
    }

    auto button = [this](const EntryButton &b) -> QPushButton * {
        if (!b.name)
            return nullptr;
        auto *p = new QPushButton(utf8(b.caption), this);
        p->setObjectName(QLatin1String(b.name));
        // Enter in a box does nothing here.
        p->setAutoDefault(false);
        p->setDefault(false);
        p->setMinimumWidth(110);
        QFont f = p->font();
        f.setBold(true);
        p->setFont(f);
        return p;
    };
    m_insBtn = button(m_def.insertButton);
    m_editBtn = button(m_def.editButton);
    if (m_insBtn)
        connect(m_insBtn, &QPushButton::clicked, this, [this] { insertRow(); });
    if (m_editBtn)
        connect(m_editBtn, &QPushButton::clicked, this, [this] { updateRow(); });

    auto *outer = new QVBoxLayout(this);
    m_boxArea = new QVBoxLayout;
    outer->addLayout(m_boxArea);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_insBtn, m_editBtn})
        if (b)
            buttons->addWidget(b);
    buttons->addStretch(1);
    outer->addLayout(buttons);
    m_outer = outer;
    m_buttonRow = buttons;

    m_tip = CreateBalloonTip(this);
    for (const BoxDef &d : m_def.boxes)
        if (d.tipTitle || d.tipText)
            AddBalloonTip(m_tip, box(QLatin1String(d.name)), 1, utf8(d.tipTitle), utf8(d.tipText));

    QWidget *previous = nullptr;
    for (const BoxDef &d : m_def.boxes) {
        if (d.kind == BoxKind::Fixed)
            continue;
        QWidget *w = box(QLatin1String(d.name));
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
    for (QPushButton *b : {m_insBtn, m_editBtn}) {
        if (b && previous)
            QWidget::setTabOrder(previous, b);
        if (b)
            previous = b;
    }
    setInsertMode(true);
}

bool EntryForm::event(QEvent *e)
{
    if (e->type() == QEvent::Polish && !m_laidOut) {
        m_laidOut = true;
        layoutBoxes(m_boxArea);
    }
    return QDialog::event(e);
}

void EntryForm::layoutBoxes(QVBoxLayout *outer)
{
    // Sections (bold captions, the boxes in the normal font) of `pairsPerRow` caption/box
    // pairs a row; a section whose first box has NewColumn opens a new column of sections.
    auto *columnsRow = new QHBoxLayout;
    outer->addLayout(columnsRow);
    QVBoxLayout *column = nullptr;
    QGridLayout *grid = nullptr;
    QGroupBox *group = nullptr;
    QString section;
    int slot = 0, groups = 0;
    const int perRow = std::max(1, m_def.pairsPerRow);
    auto finishGroup = [&] {
        if (!group)
            return;
        QFont f = group->font();
        f.setBold(false);
        for (QWidget *w : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            w->setFont(f);
    };
    for (const BoxDef &d : m_def.boxes) {
        if (d.kind == BoxKind::Fixed)
            continue;
        const QString name = QLatin1String(d.name);
        const QString s = utf8(d.section);
        if (!column || (d.flags & BoxDef::NewColumn)) {
            column = new QVBoxLayout;
            columnsRow->addLayout(column, 1);
        }
        if (!grid || s != section || (d.flags & BoxDef::NewColumn)) {
            finishGroup();
            section = s;
            slot = 0;
            QWidget *holder = nullptr;
            if (s.isEmpty()) {
                group = nullptr;
                holder = new QWidget(this);
            } else {
                group = new QGroupBox(s, this);
                group->setObjectName(QStringLiteral("GroupBox%1").arg(++groups));
                QFont f = group->font();
                f.setBold(true);
                group->setFont(f);
                holder = group;
            }
            grid = new QGridLayout(holder);
            grid->setHorizontalSpacing(8);
            grid->setVerticalSpacing(4);
            column->addWidget(holder);
        }
        QWidget *w = box(name);
        QLabel *label = captionLabel(name);
        QWidget *parentWidget = group ? static_cast<QWidget *>(group) : grid->parentWidget();
        w->setParent(parentWidget);
        label->setParent(parentWidget);
        QLayoutItem *field = nullptr;
        QWidget *b = m_buttons.value(name.toLower());
        if (b) {
            b->setParent(parentWidget);
            auto *h = new QHBoxLayout;
            h->setSpacing(2);
            h->addWidget(w, 1);
            h->addWidget(b);
            field = h;
        }
        if ((d.flags & BoxDef::Wide) && slot % perRow)
            slot += perRow - slot % perRow;
        const int row = slot / perRow, col = (slot % perRow) * 2;
        grid->addWidget(label, row, col);
        const int span = (d.flags & BoxDef::Wide) ? perRow * 2 - 1 : 1;
        if (field)
            grid->addLayout(static_cast<QLayout *>(field), row, col + 1, 1, span);
        else
            grid->addWidget(w, row, col + 1, 1, span);
        slot += (d.flags & BoxDef::Wide) ? perRow : 1;
        for (int c = 0; c < perRow; ++c)
            grid->setColumnStretch(c * 2 + 1, 1);
    }
    finishGroup();
    for (int i = 0; i < columnsRow->count(); ++i)
        if (auto *c = qobject_cast<QVBoxLayout *>(columnsRow->itemAt(i)->layout()))
            c->addStretch(1);
}

// ---- boxes -------------------------------------------------------------------------------

const BoxDef *EntryForm::def(const QString &name) const
{
    for (const BoxDef &d : m_def.boxes)
        if (name.compare(QLatin1String(d.name), Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

QWidget *EntryForm::box(const QString &name) const
{
    QWidget *w = m_boxes.value(name.toLower());
    if (!w)
        throw AppError(QStringLiteral("%1: no box %2").arg(objectName(), name));
    return w;
}

QLineEdit *EntryForm::edit(const QString &name) const
{
    return qobject_cast<QLineEdit *>(box(name));
}

QComboBox *EntryForm::combo(const QString &name) const
{
    return qobject_cast<QComboBox *>(box(name));
}

QLabel *EntryForm::captionLabel(const QString &name) const
{
    return m_captions.value(name.toLower());
}

QWidget *EntryForm::boxButton(const QString &name) const
{
    return m_buttons.value(name.toLower());
}

QString EntryForm::boxText(const QString &name) const
{
    const QWidget *w = box(name);
    if (auto *e = qobject_cast<const QLineEdit *>(w)) {
        if (!e->inputMask().isEmpty())
            return e->displayText().replace(QLatin1Char('_'), QLatin1Char(' '));
        return e->text();
    }
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    if (auto *m = qobject_cast<const QPlainTextEdit *>(w))
        return m->toPlainText();
    for (const QRadioButton *r : w->findChildren<QRadioButton *>())
        if (r->isChecked())
            return r->text();
    return {};
}

void EntryForm::loadBox(const QString &name, const QString &stored)
{
    if (auto *m = qobject_cast<TMonEdit *>(box(name)))
        m->setStoredText(stored, true);
    else
        setBoxText(name, stored);
}

void EntryForm::setBoxText(const QString &name, const QString &text)
{
    QWidget *w = box(name);
    if (auto *m = qobject_cast<TMonEdit *>(w))
        m->setStoredText(text);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w)) {
        if (c->isEditable())
            c->setEditText(text);
        else
            c->setCurrentIndex(c->findText(text));
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        p->setPlainText(text);
    else
        for (QRadioButton *r : w->findChildren<QRadioButton *>()) {
            // Unchecking needs the group's exclusiveness off for a moment.
            r->setAutoExclusive(false);
            r->setChecked(r->text() == text);
            r->setAutoExclusive(true);
        }
}

void EntryForm::onEnter(const QString &name, std::function<void(QLineEdit *)> fn)
{
    box(name);
    m_enter.insert(name.toLower(), std::move(fn));
}

void EntryForm::onCaptionClick(const QString &name, std::function<void()> fn)
{
    auto *label = static_cast<ClickLabel *>(captionLabel(name));
    if (!label)
        throw AppError(QStringLiteral("%1: no caption of %2").arg(objectName(), name));
    label->setAction([this, fn = std::move(fn)] { guarded(m_ctx, fn); });
}

bool EntryForm::eventFilter(QObject *watched, QEvent *e)
{
    auto *w = qobject_cast<QWidget *>(watched);
    const BoxDef *d = w ? def(w->objectName()) : nullptr;
    if (!d || m_boxes.value(w->objectName().toLower()) != w)
        return QDialog::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent *>(e)->reason();
        // Entering a box, not the window coming back to the front.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        const auto fn = m_enter.value(w->objectName().toLower());
        if (auto *le = qobject_cast<QLineEdit *>(w); le && fn) {
            guarded(m_ctx, [&] { fn(le); });
            if (d->tipTitle || d->tipText)
                ShowBalloonTip(m_tip, w);
        }
        break;
    }
    case QEvent::FocusOut:
        if (d->flags & BoxDef::KafOnLeave) {
            if (auto *c = qobject_cast<QComboBox *>(w)) {
                const QString normal = NormalizeKaf(c->currentText());
                if (normal != c->currentText())
                    c->setEditText(normal);
            } else if (auto *le = qobject_cast<QLineEdit *>(w)) {
                const QString normal = NormalizeKaf(le->text());
                if (normal != le->text())
                    le->setText(normal);
            }
        }
        break;
    case QEvent::MouseButtonPress:
        if (d->flags & BoxDef::TipOnClick)
            ShowBalloonTip(m_tip, w);
        break;
    case QEvent::KeyPress:
        if (d->kind == BoxKind::Digits) {
            // Only the digits, backspace and Enter get through; keys without a character
            // (arrows, Tab, Delete) keep their work.
            const QString t = static_cast<QKeyEvent *>(e)->text();
            if (!t.isEmpty() && t.at(0).isPrint() && !(t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9')))
                return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, e);
}

void EntryForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    guarded(m_ctx, [this] {
        for (const BoxDef &d : m_def.boxes) {
            auto *c = qobject_cast<QComboBox *>(m_boxes.value(QString::fromLatin1(d.name).toLower()));
            if (!c)
                continue;
            if (d.valueList)
                LoadSettingList(m_ctx, utf8(d.valueList), c);
            if (d.itemsSql && c->count() == 0)
                FillComboFromQuery(m_ctx.dm->ADOQ_abadiha, c, QLatin1String(d.itemsSql), {},
                                   d.flags & BoxDef::Sorted);
        }
    });
}

// ---- modes ---------------------------------------------------------------------------------

void EntryForm::setInsertMode(bool insert)
{
    m_insert = insert;
    // A mode's button is shown unless the rights hide it.
    if (m_insBtn)
        m_insBtn->setVisible(insert && !m_hiddenByRights.contains(m_insBtn->objectName()));
    if (m_editBtn)
        m_editBtn->setVisible((!insert || !m_insBtn) && !m_hiddenByRights.contains(m_editBtn->objectName()));
    if (insert)
        m_key = QVariant();
}

void EntryForm::startInsert(const QVariantMap &fixed)
{
    InitToday();
    const QString today = SolarDateText();
    m_fixed.clear();
    for (const BoxDef &d : m_def.boxes) {
        if (d.kind == BoxKind::Fixed) {
            if (d.initial)
                m_fixed.insert(QString::fromLatin1(d.name).toLower(), utf8(d.initial));
            continue;
        }
        if (!d.initial)
            continue;
        const QString init = QLatin1String(d.initial);
        QString text = utf8(d.initial);
        if (init == QLatin1String("@today"))
            text = today;
        else if (init == QLatin1String("@year"))
            text = today.left(4);
        else if (init == QLatin1String("@century"))
            text = today.left(2) + QStringLiteral("  ");
        setBoxText(QLatin1String(d.name), text);
    }
    for (auto f = fixed.begin(); f != fixed.end(); ++f)
        m_fixed.insert(f.key().toLower(), f.value());
    m_loaded.clear();
    setInsertMode(true);
}

bool EntryForm::readRow(const QVariant &key)
{
    m_row->setDatabase(m_ctx.dm->ADOConnection1());
    m_row->open(QStringLiteral("select * from %1 where %2=?").arg(QLatin1String(m_def.table), QLatin1String(m_def.key)),
                {key});
    if (m_row->isEmpty()) {
        m_ctx.ui->message(m_def.rowGoneMessage.isEmpty() ? msg::kRowGone : m_def.rowGoneMessage, this);
        return false;
    }
    m_loaded.clear();
    for (const QString &f : m_row->fieldNames())
        m_loaded.insert(f.toLower(), m_row->text(f, 0));
    return true;
}

QString EntryForm::boxOfColumn(const QString &column) const
{
    for (const BoxDef &d : m_def.boxes) {
        const QString c = d.column ? QLatin1String(d.column) : QLatin1String(d.name);
        if (c.compare(column, Qt::CaseInsensitive) == 0)
            return QLatin1String(d.name);
    }
    return {};
}

bool EntryForm::startEdit(const QVariant &key, const QVariantMap &fixed)
{
    if (!readRow(key))
        return false;
    m_fixed.clear();
    for (const BoxDef &d : m_def.boxes) {
        const QString c = d.column ? QLatin1String(d.column) : QLatin1String(d.name);
        if (c == QLatin1String("-") || !m_loaded.contains(c.toLower()))
            continue;
        if (d.kind == BoxKind::Fixed)
            m_fixed.insert(c.toLower(), m_row->value(c, 0));
        else
            loadBox(QLatin1String(d.name), m_loaded.value(c.toLower()));
    }
    for (auto f = fixed.begin(); f != fixed.end(); ++f)
        m_fixed.insert(f.key().toLower(), f.value());
    setInsertMode(false);
    m_key = key;
    return true;
}

bool EntryForm::startCopy(const QVariant &key, std::span<const char *const> columns)
{
    if (!readRow(key))
        return false;
    for (const char *c : columns) {
        const QString name = boxOfColumn(QLatin1String(c));
        if (name.isEmpty())
            continue;
        if (def(name)->kind == BoxKind::Fixed)
            m_fixed.insert(QString::fromLatin1(c).toLower(), m_row->value(QLatin1String(c), 0));
        else
            loadBox(name, m_loaded.value(QString::fromLatin1(c).toLower()));
    }
    setInsertMode(true);
    return true;
}

QString EntryForm::loadedText(const QString &column) const
{
    return m_loaded.value(column.toLower());
}

QVariant EntryForm::fixedValue(const QString &column) const
{
    return m_fixed.value(column.toLower());
}

void EntryForm::setFixed(const QString &column, const QVariant &value)
{
    m_fixed.insert(column.toLower(), value);
}

// ---- values ----------------------------------------------------------------------------------

QStringList EntryForm::writtenColumns() const
{
    QStringList out;
    for (const BoxDef &d : m_def.boxes) {
        const QString c = d.column ? QLatin1String(d.column) : QLatin1String(d.name);
        if (c != QLatin1String("-"))
            out << c;
    }
    return out;
}

QStringList ColumnList(std::span<const char *const> columns)
{
    QStringList out;
    for (const char *c : columns)
        out << QLatin1String(c);
    return out;
}

QStringList EntryForm::updateColumns() const
{
    return m_def.updateColumns.empty() ? writtenColumns() : ColumnList(m_def.updateColumns);
}

QStringList EntryForm::insertColumns() const
{
    QStringList boxes = writtenColumns();
    for (const auto &f : m_def.insertFixed)
        boxes << QLatin1String(f.first);
    const db::TableDef *t = db::findTable(QLatin1String(m_def.table));
    if (!t)
        return boxes;
    // In the table's order.
    QStringList out;
    for (const db::ColumnDef &c : t->columns) {
        if (c.type == db::ColType::Identity)
            continue;
        const QString name = QLatin1String(c.name);
        if (m_def.insertEveryColumn || boxes.contains(name, Qt::CaseInsensitive))
            out << name;
    }
    return out;
}

QVariant EntryForm::value(const QString &column) const
{
    const QString table = QLatin1String(m_def.table);
    const QString name = boxOfColumn(column);
    if (name.isEmpty()) {
        for (const auto &f : m_def.insertFixed)
            if (column.compare(QLatin1String(f.first), Qt::CaseInsensitive) == 0)
                return db::columnValue(table, column, utf8(f.second));
        return db::columnValue(table, column, QString(QLatin1String("")));
    }
    const BoxDef *d = def(name);
    try {
        return boxValue(*d, column);
    } catch (const db::Refusal &r) {
        throw r.named(utf8(d->caption));
    }
}

QVariant EntryForm::boxValue(const BoxDef &d, const QString &column) const
{
    const QString table = QLatin1String(m_def.table);
    const QString name = QLatin1String(d.name);
    if (d.kind == BoxKind::Fixed) {
        // A value given as text (an initial text) is read as the column's; others are values.
        const QVariant v = m_fixed.value(column.toLower());
        return v.typeId() == QMetaType::QString ? db::columnValue(table, column, v.toString()) : v;
    }
    const QString text = boxText(name);
    if ((d.flags & BoxDef::Required) && text.trimmed().isEmpty())
        throw db::Refusal(db::Refusal::Empty, column, text);
    const QVariant v = typedValue(d, column, text);
    refuseOutOfRange(d, column, text);
    return v;
}

QVariant EntryForm::typedValue(const BoxDef &d, const QString &column, const QString &text) const
{
    const QString table = QLatin1String(m_def.table);
    const QString name = QLatin1String(d.name);
    if (d.kind == BoxKind::Money) {
        const auto *money = static_cast<TMonEdit *>(box(name));
        const QString kept = money->unchangedStored();
        return db::columnValue(table, column, kept.isEmpty() ? QString::number(money->Value()) : kept);
    }
    if (d.kind == BoxKind::Year)
        return db::columnValue(table, column, yearText(column, text));
    // A date box writes a real Solar date or the empty date, whatever its column.
    if (d.kind == BoxKind::Date && !isSolarDateOrEmpty(text))
        throw db::Refusal(db::Refusal::NotADate, column, text);
    if (d.flags & BoxDef::NumberText) {
        // A number kept as text: empty, or a number; plain Latin digits stay as typed.
        const QString t = text.trimmed();
        if (t.isEmpty())
            return QString(QLatin1String(""));
        double n = 0;
        if (!textrule::parseNumber(t, &n))
            throw db::Refusal(db::Refusal::NotANumber, column, text);
        bool plain = true;
        for (QChar c : t)
            if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-'))
                plain = false;
        return db::columnValue(table, column, plain ? t : textrule::numberText(n));
    }
    QVariant v = db::columnValue(table, column, text);
    // A text column gets the empty text, never NULL.
    if (v.typeId() == QMetaType::QString && v.toString().isNull())
        return QString(QLatin1String(""));
    return v;
}

// ---- writing ---------------------------------------------------------------------------------

void EntryForm::showRefusals(const QStringList &refusals)
{
    for (const QString &r : refusals)
        m_ctx.ui->message(r, this);
}

RowWrite EntryForm::rowWrite(const QStringList &columns) const
{
    RowWrite row{.table = QLatin1String(m_def.table), .key = QLatin1String(m_def.key), .columns = columns,
                 .parents = QList<ParentDef>(m_def.parents.begin(), m_def.parents.end())};
    for (const QString &c : columns)
        row.values << value(c);
    return row;
}

bool EntryForm::insertRow()
{
    bool written = false, unknown = false;
    guarded(m_ctx, [&] {
        RowWrite row = rowWrite(insertColumns());
        row.duplicateKey = ColumnList(m_def.duplicateKey);
        row.duplicateMessage = m_def.duplicateMessage;
        row.refusals = [this] { return refusals(true); };
        row.after = [this](const QVariant &key) {
            m_written = key;
            afterWrite(true);
        };
        row.logText = [this] { return logText(true); };
        const WriteResult r = noting(&unknown, [&] { return InsertRow(m_ctx, row); });
        showRefusals(r.refusals);
        written = r.written();
    });
    if (unknown)
        emit listStale();
    if (!written)
        return false;
    if (!m_def.insertedMessage.isEmpty())
        m_ctx.ui->message(m_def.insertedMessage, this);
    emit saved(true);
    if (m_def.closeAfterInsert)
        accept();
    return true;
}

bool EntryForm::updateRow()
{
    WriteResult::Outcome outcome = WriteResult::Refused;
    bool unknown = false;
    guarded(m_ctx, [&] {
        // No row loaded: nothing to write.
        if (m_key.isNull())
            return;
        RowWrite row = rowWrite(updateColumns());
        row.refusals = [this] { return refusals(false); };
        row.after = [this](const QVariant &key) {
            m_written = key;
            afterWrite(false);
        };
        row.logText = [this] { return logText(false); };
        const WriteResult r = noting(&unknown, [&] { return UpdateRow(m_ctx, row, m_key, m_loaded); });
        showRefusals(r.refusals);
        outcome = r.outcome;
        // The next save in this opening compares with what this one wrote.
        for (auto c = r.stored.begin(); c != r.stored.end(); ++c)
            m_loaded.insert(c.key(), c.value());
    });
    if (unknown)
        emit listStale();
    if (outcome == WriteResult::Gone) {
        m_ctx.ui->message(m_def.rowGoneMessage.isEmpty() ? msg::kRowGone : m_def.rowGoneMessage, this);
        rowGone();
    } else if (outcome == WriteResult::Changed) {
        m_ctx.ui->message(msg::kChangedByOther, this);
    }
    if (outcome != WriteResult::Written)
        return false;
    if (!m_def.editedMessage.isEmpty())
        m_ctx.ui->message(m_def.editedMessage, this);
    emit saved(false);
    if (m_def.closeAfterEdit)
        accept();
    return true;
}

// ---- the list under the form ---------------------------------------------------------------

QVBoxLayout *EntryForm::listArea()
{
    if (!m_listArea) {
        m_listArea = new QVBoxLayout;
        m_outer->addLayout(m_listArea, 1);
    }
    return m_listArea;
}

void EntryForm::addButton(QWidget *button)
{
    m_buttonRow->insertWidget(m_buttonRow->count() - 1, button);
}

void EntryForm::buildMenus(std::span<const MenuItem> items)
{
    m_menus = new Menus(m_ctx, this, items);
}

QAction *EntryForm::action(const QString &name) const
{
    return m_menus->action(name);
}

QMenu *EntryForm::menu(const QString &name) const
{
    return m_menus->menu(name);
}

void EntryForm::onMenu(const QString &name, std::function<void()> handler)
{
    m_menus->onMenu(name, std::move(handler));
}

void EntryForm::applyRights(std::span<const RightRule> rules, const PageRights &rights)
{
    ApplyRights(this, rules, rights);
    // The mode buttons keep what the rights hide through the changes of mode.
    m_hiddenByRights.clear();
    for (const RightRule &r : rules)
        if (r.effect != RightRule::Enable && !r.granted(rights))
            m_hiddenByRights.insert(QLatin1String(r.control));
    setInsertMode(m_insert);
}
