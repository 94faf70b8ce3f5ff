#include "registers/khadamat_pic_u.h"

#include "core/dm_u.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/rights.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QAction>

namespace {
const QString kCaption = QStringLiteral("مستندات و ضمائم خدمات فني");
const QString kDescriptionCaption = QStringLiteral("شرح مستند");
const QString kReportScan = QStringLiteral("تصوير گزارش");
const QString kSignature = QStringLiteral("تصوير امضاء");
// The filter "Bitmap Files(*.bpm)|*.bmp" in the file dialog's own form: its caption, then the pattern.
const QString kBitmapFilter = QStringLiteral("Bitmap Files(*.bpm) (*.bmp)");
const QString kNote = QStringLiteral("*توجه: مستند شما مي بايست با نام و در پوشه اي با نام غير فارسي باشد");
const QString kEmptyDescription = QStringLiteral("خطا! ابتدا شرح ضميمه را مشخص نماييد");
const QString kStoreFailed = QStringLiteral("خطايي در ثبت رخ داده است!");

const GridColumn kColumns[] = {
    {"Radif", "رديف", 40, 0, GridColumn::Number},
    {"id"},
    {"cmt", "شرح مدرک", 250},
    {"pictyp", "فرمت تصوير"},
};

AttachmentsWindowShape shape()
{
    AttachmentsWindowShape s;
    s.caption = kCaption;
    s.descriptionCaption = kDescriptionCaption;
    s.descriptionItems = {kReportScan};
    s.sortedItems = true;
    s.columns = kColumns;
    s.notes = {kNote};
    s.click = AttachmentsWindowShape::OpenTemp;
    s.confirmDelete.password = DeleteDef::AskDeletePassword;
    return s;
}

} // namespace

const AttachmentTable Tkhadamat_pic::kTable{QStringLiteral("khadamat_pic"), QStringLiteral("id"),
                                            QStringLiteral("khadamat_id"), QStringLiteral("pictyp"),
                                            QStringLiteral("cmt"), QStringLiteral("pic"), {}, QStringLiteral("cmt"),
                                            {QStringLiteral("khadamat_id"), QStringLiteral("khadamat"), QStringLiteral("id"),
                                             msg::kServicesReportGone}};

Tkhadamat_pic::Tkhadamat_pic(AppContext &ctx, QWidget *parent)
    : AttachmentsWindow(ctx, kTable, shape(), parent)
{
    setObjectName(QStringLiteral("Tkhadamat_pic"));
}

QString Tkhadamat_pic::listingSql()
{
    return QStringLiteral("Select ROW_NUMBER() over (order by cmt,id)as Radif,id,khadamat_id,cmt,pictyp from khadamat_pic"
                          " where khadamat_id=? order by cmt,id");
}

void Tkhadamat_pic::openForReport(const PageRights &rights, const QVariant &reportId)
{
    addButton()->setEnabled(rights.darj);
    deleteAction()->setEnabled(rights.hazf);
    m_report = reportId;
    if (!guarded(m_ctx, [&] { list()->listQuery(listingSql(), {reportId}); }))
        return;
    description()->setEditText(QString());
    m_ctx.ui->showModal(this);
}

void Tkhadamat_pic::addFile()
{
    AttachmentList::Add a;
    a.owners = {m_report};
    a.description = descriptionText();
    a.emptyDescription = kEmptyDescription;
    a.filter = a.description == kSignature ? kBitmapFilter : QString();
    // A failed store says so in general words; an over-long description or type is refused
    // naming its box and limit rather than cut, and a report deleted meanwhile takes no file.
    a.failure = kStoreFailed;
    list()->add(a);
}
