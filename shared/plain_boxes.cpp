#include "shared/plain_boxes.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

QLineEdit *MakeLineBox(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QComboBox *MakeFreeCombo(QWidget *parent, const char *name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(150);
    return c;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QGridLayout *CaptionedPairs(QWidget *parent, std::initializer_list<std::pair<const char *, QWidget *>> items, int perRow)
{
    auto *g = new QGridLayout;
    int i = 0;
    for (const auto &[caption, box] : items) {
        auto *l = new QLabel(QString::fromUtf8(caption), parent);
        l->setObjectName(box->objectName() + QStringLiteral("_lbl"));
        l->setBuddy(box);
        g->addWidget(l, i / perRow, (i % perRow) * 2);
        g->addWidget(box, i / perRow, (i % perRow) * 2 + 1);
        ++i;
    }
    return g;
}

void OnUserChange(QComboBox *combo, QObject *owner, const std::function<void()> &fn)
{
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, owner, fn);
    QObject::connect(combo, &QComboBox::textActivated, owner, fn);
}
