#include "registers/movafeghatname_src_u.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/dm_u.h"
#include "shared/attachment_list.h"
#include "shared/combo_items.h"
#include "core/dates.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/settings_list.h"
#include "shared/search_bar.h"
#include "shared/ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kKinds = QStringLiteral("انواع موافقت نامه");

// An agreement is a county's, of a year, by its number: none of them may be empty (its kind may,
// when the list of kinds has none yet).
const BoxDef kBoxes[] = {
    {.name = "city2", .kind = BoxKind::Combo, .caption = "نام شهرستان", .column = "city", .initial = "",
     .flags = BoxDef::Required, .width = 140},
    {.name = "sal2", .kind = BoxKind::Year, .caption = "سال", .column = "sal", .initial = "@year",
     .flags = BoxDef::Required, .width = 50},
    {.name = "typ2", .kind = BoxKind::Combo, .caption = "نوع", .column = "typ", .initial = "", .valueList = "انواع موافقت نامه",
     .width = 140},
    {.name = "num2", .caption = "شماره", .column = "num", .initial = "", .flags = BoxDef::Required, .width = 120},
};
const char *const kKey[] = {"city", "sal", "typ", "num"};

const EntryDef kDef = {
    .objectName = "Tmovafeghatname_src",
    .caption = "موافقت نامه ها",
    .table = "movafeghatname",
    .boxes = kBoxes,
    .insertButton = {"ins_btn", ""},
    .editButton = {},
    .duplicateKey = kKey,
    .duplicateMessage = QStringLiteral("تکراريست"),
    .insertedMessage = msg::kInserted,
    .pairsPerRow = 4,
};

const FilterDef kFilters[] = {
    {.check = "CheckBox1", .caption = "شهرستان", .box = "city", .column = "city", .match = FilterMatch::Like,
     .width = 140},
    {.check = "CheckBox2", .caption = "سال", .box = "sal", .kind = FilterKind::Year, .column = "sal",
     .match = FilterMatch::Like},
    {.check = "CheckBox3", .caption = "نوع", .box = "typ", .column = "typ", .match = FilterMatch::Like, .width = 140},
    {.check = "CheckBox4", .caption = "شماره", .box = "num", .kind = FilterKind::Line, .column = "num",
     .match = FilterMatch::Like, .width = 120},
};

// The kind and the description wider than their first widths: the kinds are long texts.
const GridColumn kColumns[] = {
    {"city", "شهرستان", 100},
    {"sal", "سال", 50},
    {"typ", "نوع", 150},
    {"num", "شماره", 120},
    {"id"},
};
const GridColumn kAttachmentColumns[] = {
    {"cmt", "شرح", 150},
    {"pictyp", "فرمت", 50},
};

const SumColumn kCount[] = {{"c", "count(*)", "cnt"}};
const SearchBarDef kBar = {.filters = kFilters, .figures = kCount};

const MenuItem kMenus[] = {
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N1", "ثبت موافقت نامه"},
    {"PopupMenu1", "N3", "حذف"},
    {"", "PopupMenu2", "", MenuItem::Popup},
    {"PopupMenu2", "N2", "حذف"},
};
const RightRule kRights[] = {
    {"ins_btn", RightRule::Darj}, {"N1", RightRule::Darj}, {"N3", RightRule::Hazf}, {"N2", RightRule::Hazf},
};

const char *const kTakenOut[] = {"city", "sal", "typ", "num"};

} // namespace

Tmovafeghatname_src::Tmovafeghatname_src(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
    , adoq_movafeghatname(new DataSet(QStringLiteral("adoq_movafeghatname"), this))
    , m_attachments(new AttachmentList(ctx, {QStringLiteral("movafeghatname_pic"), QStringLiteral("id"),
                                             QStringLiteral("movafeghatname_id"), QStringLiteral("pictyp"),
                                             QStringLiteral("cmt"), QStringLiteral("pic"), {}, {},
                                             {QStringLiteral("movafeghatname_id"), QStringLiteral("movafeghatname"),
                                              QStringLiteral("id"), msg::kAgreementGone}},
                                       QStringLiteral("adoq_movafeghatname_pic"), this))
{
    adoq_movafeghatname->setDatabase(ctx.dm->ADOConnection1());
    m_attachments->setCaptions(kAttachmentColumns);
    QPushButton *ins = insertButton();
    ins->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ins->setMinimumWidth(40);

    buildMenus(kMenus);
    onMenu(QStringLiteral("N1"), [this] { addAttachment(); });
    onMenu(QStringLiteral("N3"), [this] { takeOut(); });
    onMenu(QStringLiteral("N2"), [this] { deleteAttachment(); });

    QVBoxLayout *outer = listArea();
    m_bar = new SearchBar(ctx, this, kBar);
    m_filters = m_bar->filters();
    outer->addWidget(m_bar);
    auto *note = new QLabel(QStringLiteral("توجه: جهت مشاهده موافقت نامه بر روي هر مورد کليک نماييد"), this);
    note->setObjectName(QStringLiteral("Label5"));
    outer->addWidget(note);

    DBGrid1 = MakeGrid(this, adoq_movafeghatname,
                       {.columns = kColumns, .popup = menu(QStringLiteral("PopupMenu1"))});
    DBGrid1->viewport()->setCursor(Qt::PointingHandCursor);
    DBGrid2 = MakeGrid(this, m_attachments->rows(),
                       {.columns = kAttachmentColumns, .objectName = "DBGrid2", .sortable = false,
                        .popup = menu(QStringLiteral("PopupMenu2"))});
    CheckBox5 = new QCheckBox(QStringLiteral("پس از ذخيره باز شود"), this);
    CheckBox5->setObjectName(QStringLiteral("CheckBox5"));
    CheckBox5->setChecked(true);
    auto *lists = new QHBoxLayout;
    lists->addWidget(DBGrid1, 3);
    auto *attached = new QVBoxLayout;
    attached->addWidget(CheckBox5);
    attached->addWidget(DBGrid2, 1);
    lists->addLayout(attached, 1);
    outer->addLayout(lists, 1);
    resize(760, 600);

    connect(m_bar, &SearchBar::searchRequested, this, [this] { search(); });
    connect(this, &EntryForm::saved, this, [this] { guarded(m_ctx, [this] { adoq_movafeghatname->reopen(QStringLiteral("id")); }); });
    connect(this, &EntryForm::listStale, this, [this] { quietly([this] { adoq_movafeghatname->reopen(QStringLiteral("id")); }); });
    // The attachments listed are always the current agreement's.
    connect(adoq_movafeghatname, &DataSet::currentRowChanged, this, [this] {
        guarded(m_ctx, [this] {
            m_attachments->listOwner(adoq_movafeghatname->eof() ? QVariant()
                                                                : adoq_movafeghatname->value(QStringLiteral("id")));
        });
    });
    connect(DBGrid2, &QTableView::clicked, this, [this] { saveAttachment(); });
}

void Tmovafeghatname_src::showEvent(QShowEvent *e)
{
    EntryForm::showEvent(e);
    if (e->spontaneous())
        return;
    guarded(m_ctx, [&] {
        QComboBox *entry = combo(QStringLiteral("city2"));
        FillComboFromQuery(m_ctx.dm->ADOQuery1, entry, QStringLiteral("select distinct city from xls "), {}, true);
        QStringList counties;
        for (int i = 0; i < entry->count(); ++i)
            counties << entry->itemText(i);
        ReplaceComboItems(m_filters->combo(QStringLiteral("city")), counties);
        LoadSettingList(m_ctx, kKinds, m_filters->combo(QStringLiteral("typ")));
    });
}

void Tmovafeghatname_src::openFromMain(const PageRights &rights)
{
    const bool ready = guarded(m_ctx, [&] {
        applyRights(kRights, rights);
        startInsert();
        m_filters->combo(QStringLiteral("city"))->setEditText(QString());
        m_filters->combo(QStringLiteral("typ"))->setEditText(QString());
        m_filters->line(QStringLiteral("num"))->clear();
        m_filters->line(QStringLiteral("sal"))->setText(boxText(QStringLiteral("sal2")));
        if (auto *main = m_ctx.mainWindow)
            resize(width(), main->height() - 50);
        search();
    });
    if (ready)
        m_ctx.ui->showModal(this);
}

void Tmovafeghatname_src::search()
{
    guarded(m_ctx, [&] {
        QVariantList binds;
        // A county office sees the agreements of the counties whose name holds its user name.
        QString where = QStringLiteral("from movafeghatname where id<>-1 ") + CountyNameClause(m_ctx, binds, QStringLiteral("city"));
        where += m_filters->sql(binds);
        adoq_movafeghatname->open(QStringLiteral("select * ") + where + QStringLiteral(" order by id"), binds);
        m_bar->showFigures(where, binds, adoq_movafeghatname);
    });
}

void Tmovafeghatname_src::takeOut()
{
    if (adoq_movafeghatname->eof())
        return;
    const QVariant id = adoq_movafeghatname->value(QStringLiteral("id"));
    if (!startCopy(id, kTakenOut))
        return;
    // The agreement's attachments stay in their table.
    DeleteDef decl;
    decl.table = QStringLiteral("movafeghatname");
    if (RunDelete(m_ctx, this, decl, id))
        search();
}

void Tmovafeghatname_src::addAttachment()
{
    if (adoq_movafeghatname->eof())
        return;
    AttachmentList::Add add;
    add.owners = {adoq_movafeghatname->value(QStringLiteral("id"))};
    add.ask = DescriptionBox{QStringLiteral("Title"), QStringLiteral("شرح ضميمه"), QStringLiteral("تصوير موافقت نامه")};
    add.failure = QStringLiteral("خطايي در ثبت رخ داده است!");
    m_attachments->add(add);
}

void Tmovafeghatname_src::deleteAttachment()
{
    DeleteDef confirm;
    confirm.doneMessage = QString();
    m_attachments->deleteCurrent(confirm);
}

void Tmovafeghatname_src::saveAttachment()
{
    m_attachments->saveAs(CheckBox5->isChecked());
}
