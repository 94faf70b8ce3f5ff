#include "bitumen/zamaem_ghir_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/guard.h"
#include "shared/rights.h"
#include "shared/ui.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const GridColumn kColumns[] = {
    {"id"},
    {"ramz", "رمز", 80},
    {"cmt", "شرح مدرک", 300},
    {"pictype", "فرمت تصوير"},
};

// The one description that may repeat.
const QString kLoanSignature = QStringLiteral("تصوير امضاء وام");
const QString kRepeated = QStringLiteral("شرح ضميمه تكراري است");
const QString kEmpty = QStringLiteral("خطا، ابتدا شرح ضميمه را وارد نماييد");
// Descriptions whose file is checked by its extension (exact case).
const QString kSignaturePictures = QStringLiteral("تصوير امضاء وام بازسازي");
const QString kSignatureRefused = QStringLiteral("خطا! پسوند تصاوير نمونه امضا مي بايست با فرمت مقابل باشد JPEG ");
const QString kBarcodeReport = QStringLiteral("فايل گزارش باركد وام بازسازي");
const QString kBarcodeRefused = QStringLiteral("خطا! پسوند فايل گزارش مي بايست با فرمت مقابل باشد .rav ");

AttachmentsWindowShape shape()
{
    AttachmentsWindowShape s;
    s.caption = QStringLiteral("ضمائم قير");
    s.descriptionCaption = QStringLiteral("شرح ضميمه");
    s.descriptionBox = QStringLiteral("Combo_type");
    s.descriptionItems = {QStringLiteral("آرم")};
    s.sortedItems = true;
    s.boxes = {{QStringLiteral("ramz"), QStringLiteral("رمز ضميمه جهت دسترسي")}};
    s.addCaption = QStringLiteral("انتخاب و ثبت ضميمه (Browse)");
    s.columns = kColumns;
    s.notes = {QStringLiteral("*جهت حذف هر مورد بر روي آن کليک راست نماييد."),
               QStringLiteral("*جهت ذخيره هر تصوير بر روي آن كليك نماييد")};
    s.click = AttachmentsWindowShape::SaveAndOpen;
    return s;
}

} // namespace

const AttachmentTable Tzamaem_ghir::kTable{QStringLiteral("zamaem_ghir"), QStringLiteral("id"), QString(),
                                           QStringLiteral("pictype"), QStringLiteral("cmt"), QStringLiteral("pic"),
                                           {QStringLiteral("ramz")}, {}};

Tzamaem_ghir::Tzamaem_ghir(AppContext &ctx, QWidget *parent)
    : AttachmentsWindow(ctx, kTable, shape(), parent)
{
    setObjectName(QStringLiteral("Tzamaem_ghir"));
}

void Tzamaem_ghir::openTemplates(const PageRights &rights)
{
    addButton()->setVisible(rights.darj);
    deleteAction()->setEnabled(rights.hazf);
    box(QStringLiteral("ramz"))->clear();
    description()->setCurrentText(QString());
    list()->listAll();
    m_ctx.ui->showModal(this);
}

void Tzamaem_ghir::templatesCommand()
{
    if (const auto rights = CheckPageAccess(m_ctx, QStringLiteral("zamaem_ghir")))
        openTemplates(*rights);
}

QString Tzamaem_ghir::extensionRefusal(const QString &description, const QString &ext)
{
    if (description == kSignaturePictures && ext != QStringLiteral(".jpg") && ext != QStringLiteral(".JPG"))
        return kSignatureRefused;
    if (description == kBarcodeReport && ext != QStringLiteral(".rav"))
        return kBarcodeRefused;
    return {};
}

void Tzamaem_ghir::addFile()
{
    AttachmentList::Add add;
    add.description = descriptionText();
    add.extra = {{QStringLiteral("ramz"), box(QStringLiteral("ramz"))->text()}};
    // Both checks speak before the open dialog, which is shown all the same.
    qint64 repeated = 0;
    if (!guarded(m_ctx, [&] {
            repeated = m_ctx.dm->scalar(QStringLiteral("select count(*) from zamaem_ghir where cmt=?"), {add.description})
                           .toLongLong();
        }))
        return;
    if (repeated > 0 && add.description != kLoanSignature) {
        m_ctx.ui->message(kRepeated, this);
        add.refused = true;
    }
    if (add.description.isEmpty()) {
        m_ctx.ui->message(kEmpty, this);
        add.refused = true;
    }
    const QString description = add.description;
    add.check = [description](const StoredFile &f) { return extensionRefusal(description, f.ext); };
    list()->add(add);
}

