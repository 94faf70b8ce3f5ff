#include "bitumen/ghir_pic_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/messages.h"
#include "shared/rights.h"
#include "shared/ui.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

const GridColumn kColumns[] = {
    {"pk"},
    {"ghir_id"},
    {"cmt", "شرح مدرک", 250},
    {"ext", "فرمت تصوير"},
};

const QString kEmptyDescription = QStringLiteral("خطا! شرح سند را وارد نماييد");

AttachmentsWindowShape shape()
{
    AttachmentsWindowShape s;
    s.caption = QStringLiteral("مستندات پروژه هاي قير");
    s.nameLabel = true;
    s.descriptionCaption = QStringLiteral("شرح سند");
    s.descriptionItems = {QStringLiteral("صورتجلسه")};
    s.addCaption = QStringLiteral("ثبت");
    s.columns = kColumns;
    s.click = AttachmentsWindowShape::SaveAs;
    return s;
}

} // namespace

const AttachmentTable Tghir_pic::kTable{QStringLiteral("ghir_pic"), QStringLiteral("pk"), QStringLiteral("ghir_id"),
                                        QStringLiteral("ext"), QStringLiteral("cmt"), QStringLiteral("pic"), {}, {},
                                        {QStringLiteral("ghir_id"), QStringLiteral("ghir"), QStringLiteral("id"),
                                         msg::kAllocationGone}};

Tghir_pic::Tghir_pic(AppContext &ctx, QWidget *parent)
    : AttachmentsWindow(ctx, kTable, shape(), parent)
{
    setObjectName(QStringLiteral("Tghir_pic"));
}

void Tghir_pic::open(bool forList, const QString &name)
{
    list()->listOwner(m_ctx.dm->ADOQ_ghir->value(QStringLiteral("id")));
    nameLabel()->setText(name);
    description()->setCurrentText(QString());
    m_forList = forList;
    m_ctx.ui->showModal(this);
}

void Tghir_pic::openForCurrent(const PageRights &rights)
{
    addButton()->setVisible(rights.darj);
    deleteAction()->setEnabled(rights.hazf);
    DataSet *ghir = m_ctx.dm->ADOQ_ghir;
    const QString star = QStringLiteral(" * ");
    open(false, ghir->text(QStringLiteral("city")) + star + ghir->text(QStringLiteral("rosta")) + star
                    + ghir->text(QStringLiteral("peymankar")));
}

void Tghir_pic::openForList(const PageRights &rights)
{
    addButton()->setEnabled(rights.darj);
    deleteAction()->setEnabled(rights.hazf);
    open(true, QString());
}

void Tghir_pic::documentsCommand()
{
    if (m_ctx.dm->ADOQ_ghir->eof()) {
        m_ctx.ui->message(msg::kEmptyList);
        return;
    }
    if (const auto rights = CheckPageAccess(m_ctx, QStringLiteral("g_mostanadat")))
        openForCurrent(*rights);
}

void Tghir_pic::attachToListCommand()
{
    if (m_ctx.dm->ADOQ_ghir->eof()) {
        m_ctx.ui->message(msg::kEmptyList);
        return;
    }
    // The right to open is not asked here.
    if (const auto rights = FindPageRights(m_ctx, QStringLiteral("g_mostanadat")))
        openForList(*rights);
}

void Tghir_pic::addFile()
{
    DataSet *ghir = m_ctx.dm->ADOQ_ghir;
    AttachmentList::Add add;
    add.description = descriptionText();
    add.emptyDescription = kEmptyDescription;
    if (m_forList) {
        for (int row = 0; row < ghir->recordCount(); ++row)
            add.owners << ghir->value(QStringLiteral("id"), row);
        add.ownerGone = msg::kListedAllocationGone;
    } else if (!ghir->eof()) {
        add.owners << ghir->value(QStringLiteral("id"));
    }
    if (list()->add(add) > 0 && m_forList)
        ghir->setCurrentRow(ghir->recordCount() - 1);
}

