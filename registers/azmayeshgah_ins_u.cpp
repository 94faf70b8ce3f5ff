#include "registers/azmayeshgah_ins_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/attachment_list.h"
#include "shared/combo_items.h"
#include "shared/delete_command.h"
#include "shared/exports.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/plain_boxes.h"
#include "shared/search_box.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const BoxDef kBoxes[] = {
    {.name = "moshaver", .kind = BoxKind::Combo, .caption = "نام شركت مشاور", .initial = "", .valueList = "شركت هاي مشاور"},
    {.name = "kar_no", .caption = "شماره كار", .initial = ""},
    {.name = "serial", .caption = "سريال", .initial = ""},
    // A record without its county is seen by no county user.
    {.name = "loc", .kind = BoxKind::Combo, .caption = "نام شهرستان", .initial = "",
     .flags = BoxDef::KafOnLeave | BoxDef::Required},
    {.name = "rosta", .kind = BoxKind::Combo, .caption = "روستا", .initial = ""},
    // A plain box: the amount is written as typed once it reads as a number, shown grouped.
    {.name = "mablagh", .caption = "مبلغ صورت حساب", .initial = "0", .flags = BoxDef::Rials},
    {.name = "pardakht_loc", .kind = BoxKind::Combo, .caption = "محل پرداخت", .initial = "", .valueList = "محل پرداخت"},
    {.name = "az_type", .kind = BoxKind::Combo, .caption = "نوع آزمايش", .initial = "", .valueList = "نوع آزمايش"},
    // A contractor's name (up to 50 characters) on a row of its own.
    {.name = "peymankar", .kind = BoxKind::Combo, .caption = "پيمانكار", .initial = "", .valueList = "پيمانكار",
     .flags = BoxDef::Wide},
    {.name = "rep_dat", .kind = BoxKind::Date, .caption = "تاريخ نمونه گيري", .initial = ""},
    {.name = "result", .kind = BoxKind::Combo, .caption = "نتيجه كلي گزارش", .initial = "", .valueList = "نتيجه آزمايش"},
    {.name = "paper_dat", .kind = BoxKind::Date, .caption = "تاريخ نامه", .initial = ""},
    {.name = "paper_no", .caption = "شماره نامه", .initial = ""},
    {.name = "cmt", .caption = "توضيحات", .initial = "", .flags = BoxDef::Wide},
};
const char *const kKey[] = {"moshaver", "kar_no", "serial", "az_type", "loc"};

const EntryDef kDef = {
    .objectName = "Tazmayeshgah_ins",
    .caption = "ثبت آزمايشگاهي",
    .table = "azmayeshat",
    .boxes = kBoxes,
    .key = "cod",
    .duplicateKey = kKey,
    .duplicateMessage = QStringLiteral("نام مشاور،نوع آزمايش،شماره كار و سريال تكراري است"),
    .editedMessage = QStringLiteral("ويرايش انجام شد"),
    .pairsPerRow = 3,
};

const GridColumn kColumns[] = {
    {"az_type", "نوع آزمايش", 120},
    {"paper_no", "شماره نامه", 80},
    {"moshaver", "مشاور", 190},
    {"kar_no", "شماره كار", 70},
    {"serial", "سريال", 60},
    {"loc", "محل اجرا", 75},
    {"rosta", "روستا", 90},
    {"mablagh", "مبلغ", 95, 0, GridColumn::Money},
    {"pardakht_loc", "محل پرداخت", 90},
    {"peymankar", "پيمانكار", 160},
    {"rep_dat", "تاريخ", 85},
    {"result", "نتيجه", 80},
    {"cod"},
    {"paper_dat", "تاريخ نامه", 85},
    {"cmt", "توضيحات", 160},
};

const GridColumn kPictureColumns[] = {
    {"pk"},
    {"cod"},
    {"cmt", "شرح پيوست", 130},
    {"ext", "پسوند", 50},
};

// The export's headings by field; the export follows the listing's field order.
const QList<ExportColumn> kExport = {
    {"moshaver", "مشاور"},           {"kar_no", "شماره كار"},   {"serial", "سريال"},
    {"loc", "محل"},                  {"rosta", "روستا"},         {"mablagh", "مبلغ"},
    {"pardakht_loc", "محل پرداخت"},  {"az_type", "نوع آزمايش"}, {"peymankar", "پيمانكار"},
    {"rep_dat", "تاريخ نمونه گيري"}, {"result", "نتيجه آزمايش"}, {"cod", "كد انحصاري"},
    {"paper_dat", "تاريخ نامه"},     {"paper_no", "شماره نامه"}, {"cmt", "توضيحات"},
};

const MenuItem kMenus[] = {
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N2", "ثبت ضميمه"},
    {"PopupMenu1", "N3", "ويرايش"},
    {"PopupMenu1", "N4", "حذف"},
    {"", "PopupMenu2", "", MenuItem::Popup},
    {"PopupMenu2", "N5", "حذف"},
};
const RightRule kRights[] = {
    {"N2", RightRule::Darj},       {"N3", RightRule::Virayesh}, {"N4", RightRule::Hazf}, {"N5", RightRule::Hazf},
    {"del_btn", RightRule::Hazf, RightRule::Show}, {"ins_btn", RightRule::Darj, RightRule::Show},
};

const SearchChoice kChoices[] = {
    {"مشاور", "moshaver"}, {"شماره كار", "kar_no"}, {"پيمانكار", "peymankar"}, {"شهرستان", "loc"}, {"روستا", "rosta"},
};

const QString kLogInsert = QStringLiteral("  ثبت آزمايشگاه  ");
const QString kLogEdit = QStringLiteral("  ويرايش آزمايشگاه  ");
const QString kDeleteQuestion = QStringLiteral(" آيا از حذف اين آيتم اطمينان داريد؟ *");
const QString kPictureQuestion = QStringLiteral("آيا ضميمه حذف شد؟");
const DescriptionBox kPictureDescription{QStringLiteral("شرح پيوست"), QStringLiteral("شرح مورد نظر را وارد نماييد"),
                                         QStringLiteral("تصوير آزمايش")};
const QString kExportTitle = QStringLiteral("گزارش لاگ");

QToolButton *pictureButton(QWidget *parent, const char *name, QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setAutoRaise(true);
    return b;
}

} // namespace

Tazmayeshgah_ins::Tazmayeshgah_ins(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
    , ADOQ_az(new DataSet(QStringLiteral("ADOQ_az"), this))
    , m_pictures(new AttachmentList(ctx, {QStringLiteral("az_pic"), QStringLiteral("pk"), QStringLiteral("cod"),
                                          QStringLiteral("ext"), QStringLiteral("cmt"), QStringLiteral("pic"), {}, {},
                                          {QStringLiteral("cod"), QStringLiteral("azmayeshat"), QStringLiteral("cod"),
                                           msg::kLabRecordGone}},
                                    QStringLiteral("ADOQ_az_pic"), this))
{
    ADOQ_az->setDatabase(ctx.dm->ADOConnection1());
    m_pictures->setCaptions(kPictureColumns);

    buildMenus(kMenus);
    onMenu(QStringLiteral("N2"), [this] { addPicture(); });
    onMenu(QStringLiteral("N3"), [this] { takeForEdit(); });
    onMenu(QStringLiteral("N4"), [this] { deleteRecord(); });
    onMenu(QStringLiteral("N5"), [this] { deletePicture(); });

    // The caption of the county box rewrites the county of every record with the Arabic kaf.
    captionLabel(QStringLiteral("loc"))->setObjectName(QStringLiteral("Label4"));
    onCaptionClick(QStringLiteral("loc"), [this] { normalizeCounties(); });

    // Under the boxes and their buttons: the search, the records with their pictures, the export.
    auto *del_btn = pictureButton(this, "del_btn", QStyle::SP_DialogResetButton);
    addButton(del_btn);
    QVBoxLayout *outer = listArea();
    m_search = new SearchBox(this, kChoices, 0);
    outer->addWidget(m_search);
    DBGrid1 = MakeGrid(this, ADOQ_az, {.columns = kColumns, .objectName = "DBGrid1", .popup = menu(QStringLiteral("PopupMenu1"))});
    DBGrid2 = MakeGrid(this, m_pictures->rows(), {.columns = kPictureColumns, .objectName = "DBGrid2", .sortable = false,
                                                  .popup = menu(QStringLiteral("PopupMenu2"))});
    auto *lists = new QHBoxLayout;
    lists->addWidget(DBGrid1, 4);
    lists->addWidget(DBGrid2, 1);
    outer->addLayout(lists, 1);
    auto *SpeedButton1 = pictureButton(this, "SpeedButton1", QStyle::SP_FileDialogDetailedView);
    outer->addWidget(SpeedButton1, 0, Qt::AlignAbsolute | Qt::AlignLeft);
    resize(1000, 640);

    connect(m_search, &SearchBox::searchRequested, this, [this] { guarded(m_ctx, [&] { search(); }); });
    connect(this, &EntryForm::saved, this, [this](bool inserted) { guarded(m_ctx, [&] { afterSave(inserted); }); });
    connect(this, &EntryForm::listStale, this, [this] { quietly([this] { ADOQ_az->reopen(QStringLiteral("cod")); }); });
    connect(DBGrid1, &QTableView::clicked, this, [this] { guarded(m_ctx, [&] { loadRecord(); }); });
    connect(DBGrid2, &QTableView::clicked, this, [this] { guarded(m_ctx, [&] { savePicture(); }); });
    connect(del_btn, &QToolButton::clicked, this, [this] { guarded(m_ctx, [&] { emptyBoxes(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { guarded(m_ctx, [&] { exportHtml(); }); });
    // The pictures are always the current record's.
    connect(ADOQ_az, &DataSet::currentRowChanged, this, [this] {
        guarded(m_ctx, [&] { m_pictures->listOwner(ADOQ_az->eof() ? QVariant() : ADOQ_az->value(QStringLiteral("cod"))); });
    });
    // The lists of county and village follow what was recorded for the contractor and county.
    OnUserChange(combo(QStringLiteral("peymankar")), this, [this] {
        guarded(m_ctx, [&] {
            FillComboFromQuery(m_ctx.dm->ADOQuery1, combo(QStringLiteral("loc")),
                               QStringLiteral("select distinct loc from azmayeshat where peymankar=?"),
                               {boxText(QStringLiteral("peymankar"))}, true);
        });
    });
    OnUserChange(combo(QStringLiteral("loc")), this, [this] {
        guarded(m_ctx, [&] {
            FillComboFromQuery(m_ctx.dm->ADOQuery1, combo(QStringLiteral("rosta")),
                               QStringLiteral("select distinct rosta from azmayeshat where loc=?"),
                               {boxText(QStringLiteral("loc"))}, true);
        });
    });
}

void Tazmayeshgah_ins::openFromMain(const PageRights &rights)
{
    const bool ready = guarded(m_ctx, [&] {
        applyRights(kRights, rights);
        startInsert();
        // The list is the window's own: every opening lists afresh what the user may see.
        const QSignalBlocker quiet(m_search->src());
        m_search->clear();
        search();
    });
    if (ready)
        m_ctx.ui->showModal(this);
}

void Tazmayeshgah_ins::showEvent(QShowEvent *e)
{
    EntryForm::showEvent(e);
    if (e->spontaneous())
        return;
    guarded(m_ctx, [&] {
        FillComboFromQuery(m_ctx.dm->ADOQuery1, combo(QStringLiteral("rosta")),
                           QStringLiteral("select distinct rosta from xls "), {}, true);
        FillComboFromQuery(m_ctx.dm->ADOQuery1, combo(QStringLiteral("loc")),
                           QStringLiteral("select distinct city from xls "), {}, true);
    });
}

void Tazmayeshgah_ins::search(bool filtered)
{
    QVariantList binds;
    // A county user sees the records whose county holds the user's name.
    QString where = QStringLiteral(" where cod<>-1") + CountyNameClause(m_ctx, binds, QStringLiteral("loc"));
    if (filtered)
        where += m_search->piece(binds);
    ADOQ_az->open(QStringLiteral("select * from azmayeshat") + where + QStringLiteral(" order by cod"), binds);
    m_search->cnt()->setText(QString::number(ADOQ_az->recordCount()));
}

QString Tazmayeshgah_ins::logText(bool inserted) const
{
    return (inserted ? kLogInsert : kLogEdit) + boxText(QStringLiteral("moshaver")) + QLatin1Char(' ')
           + boxText(QStringLiteral("kar_no")) + QLatin1Char(' ') + boxText(QStringLiteral("peymankar"))
           + QLatin1Char(' ') + m_ctx.CurrentUser.karbar;
}

void Tazmayeshgah_ins::afterSave(bool inserted)
{
    if (inserted) {
        // Every record the user may see, the new one current.
        search(false);
        ADOQ_az->locate(QStringLiteral("cod"), writtenKey());
        return;
    }
    const QVariant key = editKey();
    ADOQ_az->reopen();
    ADOQ_az->locate(QStringLiteral("cod"), key);
    setInsertMode(true);
}

void Tazmayeshgah_ins::copyFromList()
{
    for (const BoxDef &d : kBoxes)
        setBoxText(QLatin1String(d.name), ADOQ_az->text(QLatin1String(d.name)));
}

void Tazmayeshgah_ins::loadRecord()
{
    if (ADOQ_az->eof())
        return;
    // In edit mode the click retargets the edit; otherwise the record's texts fill the boxes.
    if (isInsertMode())
        copyFromList();
    else
        startEdit(ADOQ_az->value(QStringLiteral("cod")));
}

void Tazmayeshgah_ins::takeForEdit()
{
    if (!ADOQ_az->eof())
        startEdit(ADOQ_az->value(QStringLiteral("cod")));
}

void Tazmayeshgah_ins::deleteRecord()
{
    if (ADOQ_az->eof())
        return;
    DeleteDef decl;
    decl.table = QStringLiteral("azmayeshat");
    decl.keyColumn = QStringLiteral("cod");
    static const DeleteChild kPictures[] = {{"az_pic", "cod"}};
    decl.children = kPictures;
    decl.password = DeleteDef::AskPassword;
    decl.passwordFirst = true;
    decl.question = kDeleteQuestion + ADOQ_az->text(QStringLiteral("moshaver")) + QLatin1Char('*')
                    + ADOQ_az->text(QStringLiteral("kar_no"));
    decl.doneMessage = msg::kDeleted;
    if (!RunDelete(m_ctx, this, decl, ADOQ_az->value(QStringLiteral("cod"))))
        return;
    copyFromList();
    ADOQ_az->reopen();
    m_search->cnt()->setText(QString::number(ADOQ_az->recordCount()));
}

void Tazmayeshgah_ins::emptyBoxes()
{
    startInsert();
    m_search->clear();
}

void Tazmayeshgah_ins::addPicture()
{
    if (ADOQ_az->eof())
        return;
    AttachmentList::Add add;
    add.owners = {ADOQ_az->value(QStringLiteral("cod"))};
    add.ask = kPictureDescription;
    m_pictures->add(add);
}

void Tazmayeshgah_ins::deletePicture()
{
    DeleteDef confirm;
    confirm.question = kPictureQuestion;
    confirm.password = DeleteDef::AskPassword;
    confirm.passwordFirst = true;
    confirm.doneMessage = msg::kDeleted;
    m_pictures->deleteCurrent(confirm);
}

void Tazmayeshgah_ins::savePicture()
{
    if (!m_pictures->rows()->eof())
        m_pictures->saveAs(true);
}

void Tazmayeshgah_ins::exportHtml()
{
    ExportHtmlDataSet(m_ctx, TempExportPath(QStringLiteral("Tobrenhal.xls")), kExportTitle, ADOQ_az, kExport);
}

void Tazmayeshgah_ins::normalizeCounties()
{
    // One statement, so every county is rewritten or none: the Persian keheh becomes the
    // Arabic kaf, as NormalizeKaf writes it.
    const QString keheh(QChar(0x06A9)), kaf(QChar(0x0643));
    m_ctx.dm->exec(QStringLiteral("update azmayeshat set loc=replace(loc, ?, ?) where loc like ?"),
                   {keheh, kaf, QLatin1Char('%') + keheh + QLatin1Char('%')});
}
