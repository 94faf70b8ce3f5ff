#include "registers/pishraft_ins_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/combo_items.h"
#include "core/dates.h"
#include "shared/edits.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/persian.h"
#include "shared/plain_boxes.h"
#include "shared/row_writer.h"
#include "shared/search_box.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const RightRule kRights[] = {{"ins_btn", RightRule::Darj, RightRule::Show}};

const SearchChoice kChoices[] = {{"كد پروژه", "prj_cod"}, {"شهرستان", "city"}, {"روستا", "rosta"}};

const GridColumn kProjectColumns[] = {
    {"pcod"},
    {"prj_cod", "كد پروژه", 100},
    {"title", "عنوان پروژه", 260},
    {"city", "شهرستان", 110},
    {"rosta", "روستا", 120},
    {"nahve", "نحوه اجرا", 120},
};
const GridColumn kItemColumns[] = {
    {"icod"},
    {"master_item", "آيتم كلي", 170},
    {"slave_item", "آيتم جزئي", 170},
    {"unit", "واحد", 70},
    {"hajm", "حجم", 80, 0, GridColumn::Number},
};
const GridColumn kReportColumns[] = {
    {"rcod"},
    {"icod"},
    {"dat", "تاريخ", 90},
    {"meghdar", "مقدار", 90, 0, GridColumn::Number},
};

const QString kItems = QStringLiteral(
    "select sitems.unit,pish_items.icod,Litems.name as master_item,Sitems.name as slave_item,pish_items.hajm "
    "from Litems  join Sitems On Litems.lcod=Sitems.lcod join pish_items On  Sitems.scod=pish_items.scod "
    "where pcod=? order by pish_items.icod");

const QString kNoProject = QStringLiteral("خطا! هيچ پروژه اي انتخاب نشده است");
const QString kNoItem = QStringLiteral("خطا! هيچ آيتمي انتخاب نشده است");
const QString kNotInCatalogue = QStringLiteral("خطا! آيتم كلي و آيتم جزئي بايد از فهرست آيتم ها انتخاب شوند");

} // namespace

Tpishraft_ins::Tpishraft_ins(AppContext &context, QWidget *parent)
    : RegisterWindow(context, QStringLiteral("Tpishraft_ins"), QStringLiteral("پيشرفت فيزيكي"), parent)
    , m_projects(new DataSet(QStringLiteral("ADOQ_pish_prj"), this))
    , ADOQ_pish_items(new DataSet(QStringLiteral("ADOQ_pish_items"), this))
    , ADOQ_pish_rep(new DataSet(QStringLiteral("ADOQ_pish_rep"), this))
{
    for (DataSet *ds : {m_projects, ADOQ_pish_items, ADOQ_pish_rep})
        ds->setDatabase(context.dm->ADOConnection1());

    // Project entry.
    auto *project = new QGroupBox(QStringLiteral("مشخصات پروژه"), this);
    project->setObjectName(QStringLiteral("project_box"));
    title = MakeLineBox(project, "title");
    title->setMinimumWidth(440); // a typical title of up to 80 characters
    prj_cod = MakeLineBox(project, "prj_cod");
    city = MakeFreeCombo(project, "city");
    rosta = MakeFreeCombo(project, "rosta");
    nahve = MakeFreeCombo(project, "nahve");
    auto *ins_btn = MakeButton(project, "ins_btn", QStringLiteral("ثبت پروژه"));
    auto *projectGrid = CaptionedPairs(project, {{"عنوان پروژه", title}, {"كد پروژه", prj_cod}, {"شهرستان", city},
                                        {"روستا", rosta}, {"نحوه اجرا", nahve}}, 3);
    projectGrid->addWidget(ins_btn, 1, 5);
    project->setLayout(projectGrid);

    m_search = new SearchBox(this, kChoices, 2);
    DBGrid1 = MakeGrid(this, m_projects, {.columns = kProjectColumns, .objectName = "DBGrid1"});

    // Items of the current project.
    auto *items = new QWidget(this);
    master_item = MakeFreeCombo(items, "master_item");
    slave_item = MakeFreeCombo(items, "slave_item");
    vahed = new QLabel(QStringLiteral("---"), items);
    vahed->setObjectName(QStringLiteral("vahed"));
    hajm_kol = MakeLineBox(items, "hajm_kol");
    auto *BitBtn2 = MakeButton(items, "BitBtn2", QStringLiteral("ثبت آيتم"));
    auto *itemGrid = CaptionedPairs(items, {{"آيتم كلي", master_item}, {"آيتم جزئي", slave_item}}, 2);
    auto *hajmRow = new QHBoxLayout;
    hajmRow->addWidget(vahed);
    auto *hajmLbl = new QLabel(QStringLiteral("حجم كل كار اين آيتم"), items);
    hajmLbl->setObjectName(QStringLiteral("hajm_kol_lbl"));
    hajmRow->addWidget(hajmLbl);
    hajmRow->addWidget(hajm_kol);
    hajmRow->addWidget(BitBtn2);
    hajmRow->addStretch(1);
    DBGrid2 = MakeGrid(items, ADOQ_pish_items, {.columns = kItemColumns, .objectName = "DBGrid2"});
    auto *itemsLay = new QVBoxLayout(items);
    itemsLay->setContentsMargins(0, 0, 0, 0);
    itemsLay->addLayout(itemGrid);
    itemsLay->addLayout(hajmRow);
    itemsLay->addWidget(DBGrid2, 1);

    // Reports of the current item.
    auto *reports = new QWidget(this);
    dat = new TDateEdit(reports);
    dat->setObjectName(QStringLiteral("dat"));
    hajm_anjami = MakeLineBox(reports, "hajm_anjami");
    auto *BitBtn3 = MakeButton(reports, "BitBtn3", QStringLiteral("ثبت گزارش"));
    auto *reportGrid = CaptionedPairs(reports, {{"تاريخ گزارش", dat}, {"حجم انجام شده", hajm_anjami}}, 1);
    reportGrid->addWidget(BitBtn3, 2, 1);
    DBGrid3 = MakeGrid(reports, ADOQ_pish_rep, {.columns = kReportColumns, .objectName = "DBGrid3"});
    auto *reportsLay = new QVBoxLayout(reports);
    reportsLay->setContentsMargins(0, 0, 0, 0);
    reportsLay->addLayout(reportGrid);
    reportsLay->addWidget(DBGrid3, 1);

    auto *lower = new QHBoxLayout;
    lower->addWidget(items, 3);
    lower->addWidget(reports, 2);
    QVBoxLayout *lay = body();
    lay->addWidget(project);
    lay->addWidget(m_search);
    lay->addWidget(DBGrid1, 1);
    lay->addLayout(lower, 1);
    resize(900, 640);

    connect(m_search, &SearchBox::searchRequested, this, [this] { guarded(ctx(), [&] { searchProjects(); }); });
    connect(ins_btn, &QPushButton::clicked, this, [this] { guarded(ctx(), [&] { insertProject(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { guarded(ctx(), [&] { insertItem(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { guarded(ctx(), [&] { insertReport(); }); });
    // The item list is always the current project's, the report list the current item's.
    connect(m_projects, &DataSet::currentRowChanged, this, [this] { guarded(ctx(), [&] { listItems(); }); });
    connect(ADOQ_pish_items, &DataSet::currentRowChanged, this, [this] { guarded(ctx(), [&] { listReports(); }); });
    OnUserChange(master_item, this, [this] { guarded(ctx(), [&] { fillSubItems(); }); });
    OnUserChange(slave_item, this, [this] { guarded(ctx(), [&] { showUnit(); }); });
    city->installEventFilter(this);
}

bool Tpishraft_ins::eventFilter(QObject *watched, QEvent *e)
{
    // Leaving the county box writes its keheh as the Arabic kaf.
    if (watched == city && e->type() == QEvent::FocusOut) {
        const QString normal = NormalizeKaf(city->currentText());
        if (normal != city->currentText())
            city->setEditText(normal);
    }
    return RegisterWindow::eventFilter(watched, e);
}

void Tpishraft_ins::openFromMain(const PageRights &rights)
{
    const bool ready = guarded(ctx(), [&] {
        applyRights(kRights, rights);
        for (QLineEdit *e : {prj_cod, title, hajm_kol, hajm_anjami})
            e->clear();
        for (QComboBox *c : {city, nahve, rosta, master_item, slave_item})
            c->setEditText(QString());
        InitToday();
        dat->setText(SolarDateText());
        if (auto *main = ctx().mainWindow)
            resize(width(), main->height() - 50);
        FillComboFromQuery(ctx().dm->ADOQuery1, master_item, QStringLiteral("select name from Litems order by name collate fa"));
        // The list is the window's own: it is listed afresh on every opening.
        const QSignalBlocker quiet(m_search->src());
        m_search->clear();
        searchProjects();
    });
    if (ready)
        showModal();
}

void Tpishraft_ins::searchProjects()
{
    QVariantList binds;
    const QString where = QStringLiteral(" where pcod<>-1") + m_search->piece(binds);
    m_projects->open(QStringLiteral("select * from pish_prj") + where + QStringLiteral(" order by pcod"), binds);
    // The count is the listing's row count, as after an insert.
    m_search->cnt()->setText(QString::number(m_projects->recordCount()));
}

void Tpishraft_ins::insertProject()
{
    const QString t = QStringLiteral("pish_prj");
    const WriteResult r = InsertRow(
        ctx(), {.table = t, .key = QStringLiteral("pcod"),
                .columns = {QStringLiteral("prj_cod"), QStringLiteral("title"), QStringLiteral("city"),
                            QStringLiteral("nahve"), QStringLiteral("rosta")},
                .values = {BoxValue(t, QStringLiteral("prj_cod"), prj_cod->text(), QStringLiteral("كد پروژه")),
                           BoxValue(t, QStringLiteral("title"), title->text(), QStringLiteral("عنوان پروژه")),
                           BoxValue(t, QStringLiteral("city"), city->currentText(), QStringLiteral("شهرستان")),
                           BoxValue(t, QStringLiteral("nahve"), nahve->currentText(), QStringLiteral("نحوه اجرا")),
                           BoxValue(t, QStringLiteral("rosta"), rosta->currentText(), QStringLiteral("روستا"))},
                .duplicateKey = {QStringLiteral("city"), QStringLiteral("title"), QStringLiteral("rosta")},
                .duplicateMessage = msg::kDuplicate});
    TellWrite(ctx(), this, r, msg::kInserted);
    const QVariant pcod = r.key;
    // Every project by county, the new one current; the count follows the list.
    m_projects->open(QStringLiteral("select * from pish_prj order by city collate fa,pcod"));
    m_search->cnt()->setText(QString::number(m_projects->recordCount()));
    if (!pcod.isNull())
        m_projects->locate(QStringLiteral("pcod"), pcod);
}

void Tpishraft_ins::listItems()
{
    const QVariant pcod = m_projects->eof() ? QVariant(-1) : m_projects->value(QStringLiteral("pcod"));
    ADOQ_pish_items->open(kItems, {pcod});
}

void Tpishraft_ins::listReports()
{
    const QVariant icod = ADOQ_pish_items->eof() ? QVariant(-1) : ADOQ_pish_items->value(QStringLiteral("icod"));
    ADOQ_pish_rep->open(QStringLiteral("select * from pish_rep  where icod=? order by dat,rcod"), {icod});
}

void Tpishraft_ins::fillSubItems()
{
    FillComboFromQuery(ctx().dm->ADOQuery1, slave_item,
                       QStringLiteral("select sitems.name from Litems left join Sitems on litems.lcod=sitems.lcod "
                                      "where litems.name=? order by sitems.name collate fa"),
                       {master_item->currentText()});
}

void Tpishraft_ins::showUnit()
{
    const QVariant lcod = ctx().dm->scalar(QStringLiteral("select lcod from Litems where name=?"), {master_item->currentText()});
    const QVariant unit = ctx().dm->scalar(QStringLiteral("select unit from Sitems where lcod=? and name=?"),
                                           {lcod.isNull() ? QVariant(-1) : lcod, slave_item->currentText()});
    vahed->setText(DataSet::valueText(unit));
}

void Tpishraft_ins::insertItem()
{
    if (m_projects->eof()) {
        ctx().ui->message(kNoProject, this);
        return;
    }
    const QString t = QStringLiteral("pish_items");
    const QVariant pcod = m_projects->value(QStringLiteral("pcod"));
    const QVariant hajm = BoxValue(t, QStringLiteral("hajm"), hajm_kol->text(), QStringLiteral("حجم كل كار اين آيتم"));
    Tdm *dm = ctx().dm;
    // The sub-item is found by its master item's name and its own; both must be in the catalogue.
    const QVariant lcod = dm->scalar(QStringLiteral("select lcod from Litems where name=?"), {master_item->currentText()});
    const QVariant scod = lcod.isNull() ? QVariant()
                                        : dm->scalar(QStringLiteral("select scod from Sitems where lcod=? and name=?"),
                                                     {lcod, slave_item->currentText()});
    if (scod.isNull()) {
        ctx().ui->message(kNotInCatalogue, this);
        return;
    }
    // Under a project and a sub-item still there.
    const WriteResult r = InsertRow(
        ctx(), {.table = t, .key = QStringLiteral("icod"),
                .columns = {QStringLiteral("pcod"), QStringLiteral("scod"), QStringLiteral("hajm")},
                .values = {pcod, scod, hajm},
                .duplicateKey = {QStringLiteral("pcod"), QStringLiteral("scod")},
                .duplicateMessage = msg::kDuplicate,
                .parents = {{QStringLiteral("pcod"), QStringLiteral("pish_prj"), QStringLiteral("pcod"), msg::kProjectGone},
                            {QStringLiteral("scod"), QStringLiteral("sitems"), QStringLiteral("scod"), kNotInCatalogue}}});
    TellWrite(ctx(), this, r, msg::kInserted);
    const QVariant icod = r.key;
    listItems();
    if (!icod.isNull())
        ADOQ_pish_items->locate(QStringLiteral("icod"), icod);
}

void Tpishraft_ins::insertReport()
{
    if (ADOQ_pish_items->eof()) {
        ctx().ui->message(kNoItem, this);
        return;
    }
    const QString t = QStringLiteral("pish_rep");
    const QVariant icod = ADOQ_pish_items->value(QStringLiteral("icod"));
    const WriteResult r = InsertRow(
        ctx(), {.table = t, .key = QStringLiteral("rcod"),
                .columns = {QStringLiteral("icod"), QStringLiteral("dat"), QStringLiteral("meghdar")},
                .values = {icod, BoxValue(t, QStringLiteral("dat"), dat->text(), QStringLiteral("تاريخ گزارش")),
                           BoxValue(t, QStringLiteral("meghdar"), hajm_anjami->text(), QStringLiteral("حجم انجام شده"))},
                .duplicateKey = {QStringLiteral("icod"), QStringLiteral("dat")},
                .duplicateMessage = msg::kDuplicate,
                .parents = {{QStringLiteral("icod"), QStringLiteral("pish_items"), QStringLiteral("icod"),
                             msg::kProgressItemGone}}});
    TellWrite(ctx(), this, r, msg::kInserted);
    const QVariant rcod = r.key;
    listReports();
    if (!rcod.isNull())
        ADOQ_pish_rep->locate(QStringLiteral("rcod"), rcod);
}
