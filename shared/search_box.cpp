#include "shared/search_box.h"

#include "shared/persian.h"
#include "shared/sum_labels.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

SearchBox::SearchBox(QWidget *parent, std::span<const SearchChoice> choices, int initial)
    : QWidget(parent)
    , m_choices(choices)
{
    setObjectName(QStringLiteral("search_box"));
    m_group = new QGroupBox(QStringLiteral("جستجو"), this);
    m_group->setObjectName(QStringLiteral("RadioGroup1"));
    m_buttons = new QButtonGroup(this);
    auto *radios = new QHBoxLayout(m_group);
    radios->setContentsMargins(6, 2, 6, 2);
    for (int i = 0; i < int(choices.size()); ++i) {
        auto *b = new QRadioButton(QString::fromUtf8(choices[i].caption), m_group);
        b->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        m_buttons->addButton(b, i);
        radios->addWidget(b);
    }
    setChoice(initial);

    m_src = new QLineEdit(this);
    m_src->setObjectName(QStringLiteral("src"));
    m_src->setMinimumWidth(180);
    static const SumColumn kCount[] = {{"c", "count(*)", "cnt"}};
    auto *count = new SumLabels(this, kCount);
    m_cnt = count->label(QStringLiteral("cnt"));
    m_cnt->setText(QStringLiteral("0"));
    QFont bold = m_cnt->font();
    bold.setBold(true);
    m_cnt->setFont(bold);
    QPalette red = m_cnt->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_cnt->setPalette(red);
    m_cnt->setMinimumWidth(40);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_group);
    row->addWidget(m_src);
    count->addTo(row);
    row->addStretch(1);

    connect(m_src, &QLineEdit::textChanged, this, [this](const QString &text) {
        const QString normal = NormalizeKaf(text);
        if (normal != text) {
            const int caret = m_src->cursorPosition();
            m_src->setText(normal);
            m_src->setCursorPosition(caret);
            return;
        }
        emit searchRequested();
    });
}

QString SearchBox::column() const
{
    const int i = choice();
    return i < 0 ? QString() : QString::fromLatin1(m_choices[i].column);
}

int SearchBox::choice() const { return m_buttons->checkedId(); }

void SearchBox::setChoice(int index)
{
    if (QAbstractButton *b = m_buttons->button(index))
        b->setChecked(true);
}

QString SearchBox::piece(QVariantList &binds) const
{
    if (choice() < 0)
        return {};
    binds << QLatin1Char('%') + m_src->text() + QLatin1Char('%');
    return QStringLiteral(" and  %1 like ?").arg(column());
}

void SearchBox::clear()
{
    m_src->clear();
}
