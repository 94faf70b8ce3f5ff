#include "bitumen/peymankar_ins_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/delete_command.h"
#include "shared/exports.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/plain_boxes.h"
#include "shared/sum_labels.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

const QStringList Tpeymankar_ins::kColumns = {QStringLiteral("peymankar"), QStringLiteral("name"), QStringLiteral("father"), QStringLiteral("nation"), QStringLiteral("sh_no"), QStringLiteral("sodor"), QStringLiteral("sabt"), QStringLiteral("eghtesadi"), QStringLiteral("shenase"), QStringLiteral("haml_name"), QStringLiteral("haml_cod"), QStringLiteral("phone"), QStringLiteral("mobile"), QStringLiteral("fax"), QStringLiteral("adr"), QStringLiteral("takhliye"), QStringLiteral("zipcode")};

const QString Tpeymankar_ins::kCaption = QStringLiteral("اطلاعات پيمانکار");
const QString Tpeymankar_ins::kDuplicate = QStringLiteral("خطا! نام پيمانکار تکراري است");
const QString Tpeymankar_ins::kUpdated = QStringLiteral("ويرايش انجام شد");
const QString Tpeymankar_ins::kRowGone = QStringLiteral("خطا! اين پيمانکار حذف شده است");
const QString Tpeymankar_ins::kExportTitle = QStringLiteral("گزارش پروژه هاي قير");
const QString Tpeymankar_ins::kEmptyName = QStringLiteral("خطا! نام پيمانکار را وارد نماييد");

namespace {

// The entry boxes: three caption/box pairs a line; the two addresses take a whole line each.
const BoxDef kBoxes[] = {
    {.name = "peymankar", .caption = "نام پيمانکار", .initial = ""},
    {.name = "name", .caption = "نام نماينده", .initial = ""},
    {.name = "father", .caption = "نام پدر نماينده", .initial = ""},
    {.name = "nation", .caption = "کد ملي نماينده", .initial = ""},
    {.name = "sh_no", .caption = "ش شناسنامه نماينده", .initial = ""},
    {.name = "sodor", .caption = "محل صدور نماينده", .initial = ""},
    {.name = "sabt", .caption = "شماره ثبت", .initial = ""},
    {.name = "eghtesadi", .caption = "کد اقتصادي", .initial = ""},
    {.name = "shenase", .caption = "شناسه ملي", .initial = ""},
    {.name = "haml_name", .caption = "پيمانکار حمل", .initial = ""},
    {.name = "haml_cod", .caption = "کد پيمانکار حمل", .initial = ""},
    {.name = "phone", .caption = "تلفن ثابت", .initial = ""},
    {.name = "mobile", .caption = "تلفن همراه", .initial = ""},
    {.name = "fax", .caption = "شماره فکس", .initial = ""},
    {.name = "adr", .caption = "آدرس", .initial = "", .flags = BoxDef::Wide},
    {.name = "takhliye", .caption = "آدرس محل تخليه", .initial = "", .flags = BoxDef::Wide},
    {.name = "zipcode", .caption = "کد پستي", .initial = ""},
};

const char *const kKey[] = {"peymankar"};

const EntryDef kDef = {
    .objectName = "Tpeymankar_ins",
    .caption = "اطلاعات پيمانکار", // kCaption
    .table = "peymankaran",
    .boxes = kBoxes,
    .duplicateKey = kKey,
    .duplicateMessage = Tpeymankar_ins::kDuplicate,
    .editedMessage = Tpeymankar_ins::kUpdated,
    .rowGoneMessage = Tpeymankar_ins::kRowGone,
    .pairsPerRow = 3,
};

// The listing: `id` hidden, the name and the addresses wider than the rest.
const GridColumn kGrid[] = {
    {"id"},
    {"peymankar", "پيمانکار", 190},
    {"name", "نام نماينده", 130},
    {"father", "نام پدر نماينده", 0},
    {"nation", "کد ملي نماينده", 0},
    {"sh_no", "ش شناسنامه نماينده", 0},
    {"sodor", "محل صدور نماينده", 0},
    {"sabt", "شماره ثبت", 0},
    {"eghtesadi", "کد اقتصادي", 0},
    {"shenase", "شناسه ملي", 0},
    {"haml_name", "پيمانکار حمل", 130},
    {"haml_cod", "کد پيمانکار حمل", 0},
    {"phone", "تلفن ثابت", 0},
    {"mobile", "تلفن همراه", 0},
    {"fax", "شماره فکس", 0},
    {"adr", "آدرس", 260},
    {"takhliye", "محل تخليه", 220},
    {"zipcode", "کد پستي", 0},
};

// Header texts of the HTML export by field name (a field without one shows its own name).
const QList<ExportColumn> kExport = {
    {"id", "شناسه"},
    {"peymankar", "پيمانکار"},
    {"name", "نام نماينده"},
    {"father", "نام پدر نماينده"},
    {"nation", "کد ملي نماينده"},
    {"sh_no", "ش شناسنامه نماينده"},
    {"sodor", "محل صدور نماينده"},
    {"sabt", "شماره ثبت"},
    {"eghtesadi", "کد اقتصادي"},
    {"shenase", "شناسه ملي"},
    {"haml_name", "نام پيمانکار حمل"},
    {"haml_cod", "کد پيمانکار حمل"},
    {"phone", "تلفن ثابت"},
    {"mobile", "تلفن همراه"},
    {"fax", "ماره فکس"},
    {"adr", "آدرس"},
    {"takhliye", "آدرس تخليه"},
    {"zipcode", "کد پستي"},
};

const SumColumn kCount[] = {{"c", "count(*)", "cnt"}};

const MenuItem kMenus[] = {
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N3", "اکسل"},
    {"PopupMenu1", "N2", "ويرايش"},
    {"PopupMenu1", "N1", "حذف"},
};
// The rights of page "g_pey".
const RightRule kRights[] = {
    {"ins_btn", RightRule::Darj, RightRule::EnableAndShow},
    {"refresh_btn", RightRule::Darj, RightRule::EnableAndShow},
    {"N2", RightRule::Virayesh},
    {"N1", RightRule::Hazf},
};

QString likePattern(const QString &text)
{
    return QStringLiteral("%") + text + QStringLiteral("%");
}

} // namespace

Tpeymankar_ins::Tpeymankar_ins(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::NonModal);
    auto *refresh = MakeButton(this, "refresh_btn", QStringLiteral("بروز رساني نام پيمانکار"));
    refresh->hide();
    addButton(refresh);

    // Search panel.
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("src_panel"));
    auto *srcLbl = new QLabel(QStringLiteral("نام پيمانکار:"), panel);
    srcLbl->setObjectName(QStringLiteral("src_lbl"));
    src = new QLineEdit(panel);
    src->setObjectName(QStringLiteral("src"));
    QPalette pal = src->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 0));
    pal.setColor(QPalette::Text, Qt::black);
    src->setPalette(pal);
    src->setMinimumWidth(220);
    srcLbl->setBuddy(src);
    m_count = new SumLabels(panel, kCount);
    auto *panelLay = new QHBoxLayout(panel);
    panelLay->setContentsMargins(4, 4, 4, 4);
    panelLay->addWidget(srcLbl);
    panelLay->addWidget(src);
    panelLay->addSpacing(6);
    // The count stands right beside the box whose matches it counts.
    m_count->addTo(panelLay);
    panelLay->addStretch(1);
    panel->setAutoFillBackground(true);

    buildMenus(kMenus);
    onMenu(QStringLiteral("N2"), [this] { loadForEdit(); });
    onMenu(QStringLiteral("N1"), [this] { deleteContractor(); });
    onMenu(QStringLiteral("N3"), [this] { exportHtml(); });

    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    DBGrid1 = MakeGrid(this, ds, {.columns = kGrid, .defaultWidth = 110, .sortable = false,
                                  .popup = menu(QStringLiteral("PopupMenu1"))});
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 8);

    auto *hint = new QLabel(QStringLiteral("روي پيمانکار مورد نظر دوبار کليک نماييد"), this);
    hint->setObjectName(QStringLiteral("hint_lbl"));
    QFont hf = hint->font();
    hf.setBold(true);
    hint->setFont(hf);

    QVBoxLayout *lay = listArea();
    lay->addWidget(panel);
    lay->addWidget(DBGrid1, 1);
    lay->addWidget(hint);
    resize(1100, 680);

    connect(src, &QLineEdit::textChanged, this, [this] { guarded(m_ctx, [&] { search(); }); });
    connect(refresh, &QPushButton::clicked, this, [this] { guarded(m_ctx, [&] { refreshNames(); }); });
    connect(DBGrid1, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { guarded(m_ctx, [&] { pick(index.row()); }); });
    // After a write the listing shows what was stored, with the same contractor current.
    connect(this, &EntryForm::listStale, this, [this] { quietly([this] { m_ctx.dm->ADOQ_peymankar->reopen(QStringLiteral("id")); }); });
    connect(this, &EntryForm::saved, this, [this](bool inserted) {
        guarded(m_ctx, [&] {
            m_ctx.dm->ADOQ_peymankar->reopen(QStringLiteral("id"));
            if (!inserted)
                setInsertMode(true);
        });
    });
}

// ---- opening ---------------------------------------------------------------------------

void Tpeymankar_ins::prepare()
{
    // The search runs even when the box was empty already: the bitumen forms reuse the
    // listing's query to read one contractor.
    {
        const QSignalBlocker block(src);
        src->clear();
    }
    search();
    startInsert();
}

void Tpeymankar_ins::openFromBitumen(const PageRights &rights)
{
    const bool ready = guarded(m_ctx, [&] {
        applyRights(kRights, rights);
        prepare();
        m_ctx.dm->ADOQ_peymankar->open(
            QStringLiteral("select * from peymankaran order by peymankar collate fa "));
    });
    m_picked.reset();
    if (ready)
        m_ctx.ui->showModal(this);
}

std::optional<PickedContractor> Tpeymankar_ins::openAsPicker()
{
    const bool ready = guarded(m_ctx, [&] {
        applyRights(kRights, ReadPageRights(m_ctx, QStringLiteral("g_pey")));
        prepare();
    });
    m_picked.reset();
    if (ready)
        m_ctx.ui->showModal(this);
    return std::exchange(m_picked, std::nullopt);
}

// ---- search -----------------------------------------------------------------------------

void Tpeymankar_ins::search()
{
    // Each keystroke searches: the count is the listing's row count, not a second statement.
    const QString from = QStringLiteral("from peymankaran where peymankar like ?");
    const QVariantList binds{likePattern(src->text())};
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    ds->open(QStringLiteral("select * ") + from + QStringLiteral(" order by peymankar collate fa"), binds);
    m_count->run(m_ctx, from, binds, ds);
}

// ---- insert, edit, delete -----------------------------------------------------------------

QStringList Tpeymankar_ins::refusals(bool)
{
    if (boxText(QStringLiteral("peymankar")).trimmed().isEmpty())
        return {kEmptyName};
    return {};
}

void Tpeymankar_ins::loadForEdit()
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    if (ds->eof())
        return;
    // The update writes this contractor, whichever row is current when it runs.
    startEdit(ds->value(QStringLiteral("id")));
}

void Tpeymankar_ins::afterWrite(bool inserted)
{
    if (!inserted)
        pushNames();
}

void Tpeymankar_ins::rowGone()
{
    setInsertMode(true);
    m_ctx.dm->ADOQ_peymankar->reopen(QStringLiteral("id"));
}

void Tpeymankar_ins::pushNames()
{
    // One pass over the allocations: each one whose contractor id names a register row takes
    // that row's name; rows that already carry it are left alone.
    m_ctx.dm->ADOQuery1->exec(QStringLiteral(
        "update ghir set peymankar=(select peymankaran.peymankar from peymankaran where peymankaran.id=ghir.peymankar_id)"
        " where peymankar_id in (select id from peymankaran)"
        " and (peymankar is null or peymankar<>"
        "(select peymankaran.peymankar from peymankaran where peymankaran.id=ghir.peymankar_id))"));
}

void Tpeymankar_ins::refreshNames()
{
    m_ctx.dm->transaction([&] { pushNames(); });
}

void Tpeymankar_ins::deleteContractor()
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    if (ds->eof())
        return;
    // The boxes show the deleted contractor, all but its postcode.
    for (const QString &col : kColumns)
        if (col != QLatin1String("zipcode"))
            setBoxText(col, ds->text(col));
    DeleteDef decl;
    decl.table = QStringLiteral("peymankaran");
    bool gone = false;
    if (RunDelete(m_ctx, this, decl, ds->value(QStringLiteral("id")), &gone) || gone)
        ds->reopen(QStringLiteral("id"));
}

// ---- pick and export ----------------------------------------------------------------------

void Tpeymankar_ins::pick(int row)
{
    DataSet *ds = m_ctx.dm->ADOQ_peymankar;
    if (row < 0 || row >= ds->recordCount())
        return;
    m_picked = PickedContractor{ds->value(QStringLiteral("id"), row), ds->text(QStringLiteral("peymankar"), row)};
    emit picked(*m_picked);
    accept();
}

void Tpeymankar_ins::exportHtml()
{
    ExportHtmlDataSet(m_ctx, TempExportPath(QStringLiteral("Tobrenhal.xls")), kExportTitle, m_ctx.dm->ADOQ_peymankar,
                      kExport);
}
