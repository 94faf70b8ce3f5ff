#include "shared/attachments_window.h"

#include "core/dataset.h"
#include "shared/menus.h"
#include "shared/persian.h"

#include <algorithm>

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const MenuItem kMenus[] = {
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N1", "حذف"},
};
}

AttachmentsWindow::AttachmentsWindow(AppContext &ctx, const AttachmentTable &table, const AttachmentsWindowShape &shape,
                                     QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_shape(shape)
    , m_list(new AttachmentList(ctx, table, QStringLiteral("ADOQ_") + table.table, this))
{
    setWindowTitle(shape.caption);
    setLayoutDirection(Qt::RightToLeft);
    auto *layout = new QVBoxLayout(this);

    if (shape.nameLabel) {
        m_name = new QLabel(this);
        m_name->setObjectName(QStringLiteral("name"));
        m_name->setAlignment(Qt::AlignCenter);
        QFont f = m_name->font();
        f.setBold(true);
        m_name->setFont(f);
        layout->addWidget(m_name);
    }

    auto *entry = new QHBoxLayout;
    auto *descLabel = new QLabel(shape.descriptionCaption, this);
    descLabel->setObjectName(shape.descriptionBox + QStringLiteral("_lbl"));
    m_description = new QComboBox(this);
    m_description->setObjectName(shape.descriptionBox);
    m_description->setEditable(true);
    m_description->setInsertPolicy(QComboBox::NoInsert);
    QStringList items = shape.descriptionItems;
    if (shape.sortedItems)
        std::sort(items.begin(), items.end(),
                  [](const QString &a, const QString &b) { return persianCompare(a, b) < 0; });
    m_description->addItems(items);
    m_description->setCurrentIndex(-1);
    m_description->setMinimumWidth(200);
    entry->addWidget(descLabel);
    entry->addWidget(m_description, 1);
    for (const auto &b : shape.boxes) {
        auto *label = new QLabel(b.caption, this);
        label->setObjectName(b.name + QStringLiteral("_lbl"));
        auto *edit = new QLineEdit(this);
        edit->setObjectName(b.name);
        entry->addWidget(label);
        entry->addWidget(edit);
        m_boxes << edit;
    }
    m_add = new QPushButton(shape.addCaption, this);
    m_add->setObjectName(QStringLiteral("ins_btn"));
    if (shape.addCaption.isEmpty())
        m_add->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    entry->addWidget(m_add);
    layout->addLayout(entry);

    auto *menus = new Menus(ctx, this, kMenus);
    menus->onMenu(QStringLiteral("N1"), [this] { deleteFile(); });
    m_delete = menus->action(QStringLiteral("N1"));
    GridDef grid;
    grid.columns = shape.columns;
    grid.objectName = shape.grid;
    grid.popup = menus->menu(QStringLiteral("PopupMenu1"));
    m_grid = MakeGrid(this, m_list->rows(), grid);
    layout->addWidget(m_grid, 1);
    connect(m_add, &QPushButton::clicked, this, [this] { addFile(); });
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex &i) {
        m_list->rows()->setCurrentRow(i.row());
        fileClicked();
    });

    for (const QString &note : shape.notes) {
        auto *l = new QLabel(note, this);
        l->setObjectName(QStringLiteral("note") + QString::number(layout->count()));
        layout->addWidget(l);
    }
    m_list->setCaptions(shape.columns);
    m_list->setCaption(table.description, shape.descriptionCaption);
    for (const auto &b : shape.boxes)
        m_list->setCaption(b.name, b.caption);
}

QString AttachmentsWindow::descriptionText() const
{
    return m_description->currentText();
}

QLineEdit *AttachmentsWindow::box(const QString &name) const
{
    for (QLineEdit *e : m_boxes)
        if (e->objectName() == name)
            return e;
    return nullptr;
}

void AttachmentsWindow::deleteFile()
{
    m_list->deleteCurrent(m_shape.confirmDelete);
}

void AttachmentsWindow::fileClicked()
{
    switch (m_shape.click) {
    case AttachmentsWindowShape::OpenTemp:
        m_list->openTemp();
        break;
    case AttachmentsWindowShape::SaveAs:
        m_list->saveAs(false);
        break;
    case AttachmentsWindowShape::SaveAndOpen:
        m_list->saveAs(true);
        break;
    case AttachmentsWindowShape::Nothing:
        break;
    }
}
