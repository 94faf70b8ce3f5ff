#include "bitumen/ghir_entry.h"

#include "bitumen/ghir_formula.h"
#include "core/errors.h"
#include "db/schema.h"
#include "db/values.h"

#include "shared/edits.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>

namespace ghirentry {

QWidget *makeBox(Kind kind, const QString &objectName, QWidget *parent)
{
    QWidget *w = nullptr;
    switch (kind) {
    case Kind::Combo: {
        auto *c = new QComboBox(parent);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        w = c;
        break;
    }
    case Kind::Date:
    case Kind::TodayDate:
        w = new TDateEdit(parent);
        break;
    case Kind::Money:
        w = new TMonEdit(parent);
        break;
    case Kind::Edit:
    case Kind::Computed:
    case Kind::Coord:
        w = new QLineEdit(parent);
        break;
    case Kind::Year: {
        auto *e = new QLineEdit(parent);
        // Four digits; an unfilled place reads as a blank, as in "13  ".
        e->setInputMask(QStringLiteral("0000;_"));
        w = e;
        break;
    }
    case Kind::Hidden: {
        auto *l = new QLabel(parent);
        l->hide();
        w = l;
        break;
    }
    }
    w->setObjectName(objectName);
    const Qt::Alignment right = Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter;
    if (auto *le = qobject_cast<QLineEdit *>(w))
        le->setAlignment(right);
    else if (auto *cb = qobject_cast<QComboBox *>(w))
        cb->lineEdit()->setAlignment(right);
    return w;
}

void setBoxText(QWidget *w, const QString &text)
{
    if (auto *m = qobject_cast<TMonEdit *>(w))
        m->setStoredText(text);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w))
        c->setEditText(text);
    else if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(text);
}

QString boxText(const QWidget *w)
{
    if (auto *e = qobject_cast<const QLineEdit *>(w)) {
        if (!e->inputMask().isEmpty())
            // A masked box reads with its unfilled places as blanks ("13  ").
            return e->displayText().replace(QLatin1Char('_'), QLatin1Char(' '));
        return e->text();
    }
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    return {};
}

TClickLabel::TClickLabel(const QString &caption, QWidget *parent, std::function<void()> onClick)
    : QLabel(caption, parent)
    , m_onClick(std::move(onClick))
{
    setCursor(Qt::PointingHandCursor);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && m_onClick)
        m_onClick();
}

QVariant columnValue(const QString &column, const QString &text)
{
    const db::ColumnDef *c = db::findColumn(QStringLiteral("ghir"), column);
    if (c && c->type != db::ColType::Text && !ghirformula::separatorsInPlace(text))
        throw InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 عدد نيست").arg(text, column));
    QVariant v = db::columnValue(QStringLiteral("ghir"), column, text);
    if (v.typeId() == QMetaType::QString && v.toString().isNull())
        return QVariant(QString(QLatin1String("")));
    return v;
}

QVariant numberTextValue(const QString &column, const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QVariant(QString(QLatin1String("")));
    double d = 0;
    if (!db::parseNumber(t, &d) || !ghirformula::separatorsInPlace(t))
        throw InputError(QStringLiteral("خطا! مقدار «%1» براي ستون %2 عدد نيست").arg(text, column));
    bool plain = true;
    for (QChar c : t)
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-'))
            plain = false;
    return columnValue(column, plain ? t : db::numberText(d));
}

QGroupBox *section(const QString &objectName, const QString &caption, QWidget *parent, QGridLayout **grid)
{
    auto *g = new QGroupBox(caption, parent);
    g->setObjectName(objectName);
    QFont f = g->font();
    f.setBold(true);
    g->setFont(f);
    *grid = new QGridLayout(g);
    (*grid)->setHorizontalSpacing(8);
    (*grid)->setVerticalSpacing(4);
    return g;
}

void plainChildren(QGroupBox *box)
{
    QFont f = box->font();
    f.setBold(false);
    for (QWidget *w : box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        w->setFont(f);
}

void setEntryWindow(QWidget *w, const QString &objectName, const QString &caption)
{
    w->setObjectName(objectName);
    w->setWindowTitle(caption);
    w->setLayoutDirection(Qt::RightToLeft);
    w->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint);
    w->setWindowModality(Qt::ApplicationModal);
}

} // namespace ghirentry
