#include "registers/etebarat_src_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "registers/etb_takhsis_u.h"
#include "registers/etebar_ins_u.h"
#include "registers/prj_amaliyat_u.h"
#include "registers/prj_ins_u.h"
#include "registers/prj_pish_u.h"
#include "report/fonts.h"
#include "shared/delete_command.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/search_bar.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("موافقت نامه-پروژه-اعتبار-شرح عمليات-پيشرفت فيزيکي-تخصيص");
const QString kDeleteQuestion = QStringLiteral("هشدار! اگر پروژه را حذف نماييد تمام اعتبارات،شرح عمليات،تخصيص آن حذف ميشود؟");
const QString kDeleteLog = QStringLiteral("  حذف مشخصات اعتبار پروژه  ");
// A credit command on an empty credit list, and a row command on an empty list.
const QString kNoCredit = QStringLiteral("هيچ اعتباري در ليست نيست");
const QString kNoRow = QStringLiteral("هيچ رديفي در ليست نيست");

const MenuItem kMenus[] = {
    {"", "N2", "مشخصات پروژه"},
    {"", "N8", "ويرايش پروژه"},
    {"", "N7", "حذف پروژه"},
    {"", "N1", "مشخصات اعتبار"},
    {"", "N3", "شرح عمليات پروژه"},
    {"", "N6", "پيشرفت فيزيکي پروژه"},
    {"", "N5", "تخصيص"},
    {"", "N4", "بستن"},
    // The popups of the credits, operations, progress items and allocations.
    {"", "PopupMenu1", "", MenuItem::Popup}, {"PopupMenu1", "N14", "ويرايش"}, {"PopupMenu1", "N13", "حذف"},
    {"", "PopupMenu3", "", MenuItem::Popup}, {"PopupMenu3", "N15", "ويرايش"}, {"PopupMenu3", "N10", "حذف"},
    {"", "PopupMenu4", "", MenuItem::Popup}, {"PopupMenu4", "N16", "ويرايش"}, {"PopupMenu4", "N11", "حذف"},
    {"", "PopupMenu5", "", MenuItem::Popup}, {"PopupMenu5", "N17", "ويرايش"}, {"PopupMenu5", "N12", "حذف"},
};

const RightRule kRights[] = {
    {"N2", RightRule::Darj},      {"N1", RightRule::Darj},      {"N3", RightRule::Darj},
    {"N6", RightRule::Darj},      {"N5", RightRule::Darj},      {"N8", RightRule::Virayesh},
    {"N14", RightRule::Virayesh}, {"N15", RightRule::Virayesh}, {"N16", RightRule::Virayesh},
    {"N17", RightRule::Virayesh}, {"N7", RightRule::Hazf},      {"N13", RightRule::Hazf},
    {"N10", RightRule::Hazf},     {"N11", RightRule::Hazf},     {"N12", RightRule::Hazf},
};

const FilterDef kProjectFilters[] = {
    {.check = "CheckBox4", .caption = "شهرستان", .box = "city", .kind = FilterKind::Line, .column = "city",
     .match = FilterMatch::Like, .width = 120},
    {.check = "CheckBox5", .caption = "روستا", .box = "rosta", .kind = FilterKind::Line, .column = "rosta",
     .match = FilterMatch::Like, .width = 120},
};
const FilterDef kCreditFilters[] = {
    {.check = "CheckBox1", .caption = "محل تامين", .box = "tamin_loc", .kind = FilterKind::Combo,
     .column = "tamin_loc", .match = FilterMatch::Like, .width = 130},
    {.check = "CheckBox2", .caption = "منبع تامين", .box = "tamin_manba", .kind = FilterKind::Combo,
     .column = "tamin_manba", .match = FilterMatch::Like, .width = 130},
    {.check = "CheckBox3", .caption = "سال", .box = "sal", .kind = FilterKind::Year, .column = "sal",
     .match = FilterMatch::Like, .width = 50},
};
const QStringList kTaminLoc = {QStringLiteral("ملي"), QStringLiteral("ماده11"), QStringLiteral("استاني متوازن"),
                               QStringLiteral("استاني پيوست قانون"), QStringLiteral("موافقتنامه"),
                               QStringLiteral("استاني نفت")};
const QStringList kTaminManba = {QStringLiteral("درآمد عمومي"), QStringLiteral("ساير منابع داخلي"),
                                 QStringLiteral("ساير منابع وام"), QStringLiteral("ديون")};

const SumColumn kProjectCount[] = {{"c", "count(*)", "cnt2"}};
const SumColumn kCreditSums[] = {
    {"c", "count(*)", "cnt", SumColumn::Plain, "تعداد"},
    {"m", "sum(mablagh)", "mablagh_sum", SumColumn::Plain, "جمع مبلغ"},
    {"d", "sum(dion)", "dion_sum", SumColumn::Plain, "جمع ديون"},
};
const SearchBarDef kProjectBar = {.filters = kProjectFilters, .perRow = 2, .figures = kProjectCount,
                                  .button = "src_btn2", .caption = "جستجو پروژه", .band = true};
const SearchBarDef kCreditBar = {.filters = kCreditFilters, .perRow = 3, .figures = kCreditSums,
                                 .button = "src_btn", .caption = "جستجو اعتبار", .band = true};

// The project's title and code stand beside its place, in sight when the window opens.
const GridColumn kProjectColumns[] = {
    {"id"}, {"etb_id"},
    {"ostan", "استان"}, {"city", "شهرستان"}, {"bakhsh", "بخش"}, {"dehestan", "دهستان"}, {"rosta", "روستا"},
    {"prj_title", "عنوان پروژه"}, {"prj_cod", "کد پروژه"},
    {"cod", "کد نقطه"}, {"ejra_typ", "نوع محل اجرا"}, {"prg", "برنامه"}, {"prg_sal1", "سال شروع برنامه"},
    {"prg_sal2", "سال خاتمه برنامه"}, {"tarh_title", "عنوان طرح"}, {"tarh_cod", "کد طرح"},
    {"nahve", "نحوه اجرا"}, {"prj_typ", "نوع پروژه"},
    {"prj_sal1", "سال شروع پروژه"}, {"prj_sal2", "پيش بيني سال خاتمه"}, {"hadaf", "هدف"}, {"meghdar", "مقدار"},
    {"vahed", "واحد"},
};
// Short columns narrow (they widen to their texts), so the amounts are in sight.
const GridColumn kCreditColumns[] = {
    {"id"}, {"prj_id"},
    {"tamin_loc", "محل تامين"}, {"tamin_manba", "منبع تامين"}, {"sal_typ", "نوع سال", 50}, {"sal", "سال", 40},
    {"typ", "نوع", 50}, {"mablagh", "مبلغ", 110, 0, GridColumn::Money}, {"cmt", "توضيحات"},
    {"dion", "ديون", 110, 0, GridColumn::Money},
};
const GridColumn kOperationColumns[] = {
    {"id"}, {"etb_id"}, {"prj_id"},
    {"item_title", "نام آيتم"}, {"meghdar", "مقدار", 50, 0, GridColumn::Number},
    {"darsad", "درصد", 40, 0, GridColumn::Number}, {"mablagh", "هزينه", 110, 0, GridColumn::Money},
    {"vahed", "واحد", 50}, {"modat", "مدت", 40}, {"cmt", "توضيحات"}, {"taahod", "تعهد", 40, 0, GridColumn::Number},
    {"sal", "سال", 40},
};
const GridColumn kProgressColumns[] = {
    {"id"}, {"etb_id"}, {"prj_id"},
    {"item_title", "نام آيتم"}, {"darsad", "درصد", 40, 0, GridColumn::Number}, {"sal", "سال", 40},
};
const GridColumn kAllocationColumns[] = {
    {"id"}, {"etb_id"}, {"prj_id"},
    {"zaman", "زمان"}, {"mablagh", "مبلغ", 110, 0, GridColumn::Money},
};

const DeleteChild kProjectChildren[] = {
    {"etebarat", "prj_id"}, {"amaliyat", "prj_id"}, {"pish", "prj_id"}, {"takhsis", "prj_id"},
};

QLabel *heading(const QString &text, const char *name, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f(report::installedFamily(QStringLiteral("Titr")), 12);
    f.setBold(true);
    l->setFont(f);
    // The face's metrics leave out its deep descenders: room below the line keeps them whole.
    l->setContentsMargins(0, 2, 0, 8);
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return l;
}

} // namespace

Tetebarat_src::Tetebarat_src(AppContext &context, QWidget *parent)
    : RegisterWindow(context, QStringLiteral("Tetebarat_src"), kCaption, parent)
    , ADOQ_amaliyat(new DataSet(QStringLiteral("ADOQ_amaliyat"), this))
    , ADOQ_pish(new DataSet(QStringLiteral("ADOQ_pish"), this))
    , ADOQ_takhsis(new DataSet(QStringLiteral("ADOQ_takhsis"), this))
{
    for (DataSet *ds : {ADOQ_amaliyat, ADOQ_pish, ADOQ_takhsis})
        ds->setDatabase(context.dm->ADOConnection1());
    buildMenus(kMenus);
    onMenu(QStringLiteral("N2"), [this] { showForm(ctx().form<Tprj_ins>()); });
    onMenu(QStringLiteral("N8"), [this] { editProject(); });
    onMenu(QStringLiteral("N7"), [this] { deleteProject(); });
    onMenu(QStringLiteral("N1"), [this] { newCredit(); });
    onMenu(QStringLiteral("N3"), [this] { openChild(ctx().form<Tprj_amaliyat>()); });
    onMenu(QStringLiteral("N6"), [this] { openChild(ctx().form<Tprj_pish>()); });
    onMenu(QStringLiteral("N5"), [this] { openChild(ctx().form<Tetb_takhsis>()); });
    onMenu(QStringLiteral("N4"), [this] { close(); });
    onMenu(QStringLiteral("N14"), [this] { editCredit(); });
    onMenu(QStringLiteral("N13"), [this] { deleteRow("etebarat", ctx().dm->ADOQ_etb, kNoCredit); });
    onMenu(QStringLiteral("N15"), [this] { openChild(ctx().form<Tprj_amaliyat>(), ADOQ_amaliyat); });
    onMenu(QStringLiteral("N10"), [this] { deleteRow("amaliyat", ADOQ_amaliyat, kNoRow); });
    onMenu(QStringLiteral("N16"), [this] { openChild(ctx().form<Tprj_pish>(), ADOQ_pish); });
    onMenu(QStringLiteral("N11"), [this] { deleteRow("pish", ADOQ_pish, kNoRow); });
    onMenu(QStringLiteral("N17"), [this] { openChild(ctx().form<Tetb_takhsis>(), ADOQ_takhsis); });
    onMenu(QStringLiteral("N12"), [this] { deleteRow("takhsis", ADOQ_takhsis, kNoRow); });

    buildFilters();
    buildGrids();
    connectForms();
    resize(746, 528);

    // Whenever the current project changes, its lists follow.
    connect(ctx().dm->ADOQ_proj, &DataSet::currentRowChanged, this, [this] {
        if (!m_keepLists)
            guarded(ctx(), [this] { loadProjectLists(); });
    });
}

void Tetebarat_src::buildFilters()
{
    m_projectBar = new SearchBar(ctx(), this, kProjectBar);
    m_projectBar->setObjectName(QStringLiteral("project_bar"));
    m_projectFilters = m_projectBar->filters();
    m_creditBar = new SearchBar(ctx(), this, kCreditBar);
    m_creditBar->setObjectName(QStringLiteral("credit_bar"));
    m_creditFilters = m_creditBar->filters();
    m_creditFilters->combo(QStringLiteral("tamin_loc"))->addItems(kTaminLoc);
    m_creditFilters->combo(QStringLiteral("tamin_manba"))->addItems(kTaminManba);
    connect(m_projectBar, &SearchBar::searchRequested, this, [this] { guarded(ctx(), [&] { searchProjects(); }); });
    connect(m_creditBar, &SearchBar::searchRequested, this, [this] { guarded(ctx(), [&] { searchCredits(); }); });
}

// Top row: the project filters, their search and count. Below, in a split the user can move:
// the projects under their heading; the credit filters with their search, the count and the
// sums, over the credits beside their allocations; the operations beside the progress items.
// Each wide list (eight and nine columns) shares its row with a narrow one (two and three), so
// that every column is in sight at the opening size.
void Tetebarat_src::buildGrids()
{
    QVBoxLayout *outer = body();
    outer->addWidget(m_projectBar);

    auto *split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("splitter"));
    split->setChildrenCollapsible(false);
    outer->addWidget(split, 1);
    auto pane = [split] {
        auto *w = new QWidget(split);
        auto *l = new QVBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        split->addWidget(w);
        return l;
    };

    QVBoxLayout *projects = pane();
    projects->addWidget(heading(QStringLiteral("مشخصات پروژه"), "Label4", this));
    DBGrid2 = MakeGrid(this, ctx().dm->ADOQ_proj, {.columns = kProjectColumns, .objectName = "DBGrid2"});
    projects->addWidget(DBGrid2, 1);
    // A click on a cell runs the project-row action even on the current row.
    connect(DBGrid2, &QAbstractItemView::clicked, this, [this] { guarded(ctx(), [this] { loadProjectLists(); }); });

    // The figures stand beside their captions, in boxes that keep their place while empty.
    for (const char *name : {"cnt", "mablagh_sum", "dion_sum"}) {
        QLabel *figure = m_creditBar->figures()->label(QLatin1String(name));
        figure->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        figure->setMinimumWidth(figure->fontMetrics().horizontalAdvance(QStringLiteral("0")) * (name[0] == 'c' ? 6 : 16));
    }

    struct Lower {
        const char *title;
        const char *heading;
        DataSet *ds;
        std::span<const GridColumn> columns;
        const char *grid;
        const char *popup;
        QTableView **view;
    };
    // Two rows, each from the right: the wide list first, the narrow one beside it.
    const Lower rows[2][2] = {
        {{"مشخصات اعتبار", "Label1", ctx().dm->ADOQ_etb, kCreditColumns, "DBGrid1", "PopupMenu1", &DBGrid1},
         {"تخصيص", "Label5", ADOQ_takhsis, kAllocationColumns, "DBGrid5", "PopupMenu5", &DBGrid5}},
        {{"شرح عمليات پروژه", "Label2", ADOQ_amaliyat, kOperationColumns, "DBGrid3", "PopupMenu3", &DBGrid3},
         {"پيشرفت فيزيکي پروژه", "Label3", ADOQ_pish, kProgressColumns, "DBGrid4", "PopupMenu4", &DBGrid4}},
    };
    QVBoxLayout *credits = pane();
    credits->addWidget(m_creditBar);
    for (const auto &pair : rows) {
        auto *row = new QSplitter(Qt::Horizontal, this);
        row->setChildrenCollapsible(false);
        (&pair == &rows[0] ? credits : pane())->addWidget(row, 1);
        for (const Lower &l : pair) {
            auto *column = new QWidget(row);
            auto *c = new QVBoxLayout(column);
            c->setContentsMargins(0, 0, 0, 0);
            c->addWidget(heading(QString::fromUtf8(l.title), l.heading, column));
            *l.view = MakeGrid(column, l.ds, {.columns = l.columns, .objectName = l.grid, .sortable = false,
                                              .popup = menu(QLatin1String(l.popup))});
            c->addWidget(*l.view, 1);
            row->addWidget(column);
        }
        // The wide list takes the larger part of its row.
        row->setStretchFactor(0, 3);
        row->setStretchFactor(1, 1);
    }
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 6);
    split->setStretchFactor(2, 3);
}

// What the lists show after a form has written: an edited project at once (its lists stay),
// after a new credit the credit search, after an edited credit the project's lists, an
// edited child row at once. The forms are created before the window.
void Tetebarat_src::connectForms()
{
    connect(ctx().form<Tprj_ins>(), &EntryForm::saved, this, [this](bool inserted) {
        if (!inserted)
            reopenProjectsKeepingLists();
    });
    connect(ctx().form<Tetebar_ins>(), &EntryForm::saved, this, [this](bool inserted) {
        guarded(ctx(), [&] { inserted ? searchCredits() : loadProjectLists(); });
    });
    const std::pair<EntryForm *, DataSet *> children[] = {
        {ctx().form<Tprj_amaliyat>(), ADOQ_amaliyat},
        {ctx().form<Tprj_pish>(), ADOQ_pish},
        {ctx().form<Tetb_takhsis>(), ADOQ_takhsis},
    };
    for (const auto &[form, list] : children) {
        connect(form, &EntryForm::saved, this, [this, list](bool inserted) {
            if (!inserted)
                guarded(ctx(), [&] { list->reopen(QStringLiteral("id")); });
        });
        connect(form, &EntryForm::listStale, this, [list] { quietly([list] { list->reopen(QStringLiteral("id")); }); });
    }
    // A save whose outcome was not learned: the lists read again, as they stand on the server.
    connect(ctx().form<Tprj_ins>(), &EntryForm::listStale, this, [this] { quietly([this] { reopenProjectsKeepingLists(); }); });
    connect(ctx().form<Tetebar_ins>(), &EntryForm::listStale, this, [this] { quietly([this] { ctx().dm->ADOQ_etb->reopen(QStringLiteral("id")); }); });
}

QString Tetebarat_src::projectWhere(QVariantList &binds) const
{
    return QStringLiteral("from prj where id<>-1 ") + m_projectFilters->sql(binds);
}

QString Tetebarat_src::creditWhere(QVariantList &binds) const
{
    return QStringLiteral("from etebarat where id<>-1 ") + m_creditFilters->sql(binds);
}

void Tetebarat_src::searchProjects()
{
    QVariantList binds;
    const QString where = projectWhere(binds);
    DataSet *proj = ctx().dm->ADOQ_proj;
    // A new search lists in the statement's order; a title click sorts again afterwards.
    if (!proj->sort().isEmpty()) {
        const QScopedValueRollback keep(m_keepLists, true);
        proj->setSort(QString());
    }
    proj->open(QStringLiteral("select * ") + where, binds);
    m_projectBar->showFigures(where, binds, proj);
}

void Tetebarat_src::searchCredits()
{
    QVariantList binds;
    const QString where = creditWhere(binds);
    m_creditBar->showFigures(where, binds);
    ctx().dm->ADOQ_etb->open(QStringLiteral("select * ") + where, binds);
}

void Tetebarat_src::loadProjectLists()
{
    DataSet *proj = ctx().dm->ADOQ_proj;
    const std::pair<DataSet *, const char *> lists[] = {
        {ctx().dm->ADOQ_etb, "select * from etebarat where prj_id=?"},
        {ADOQ_amaliyat, "select * from amaliyat where prj_id=?"},
        {ADOQ_pish, "select * from pish where prj_id=?"},
        {ADOQ_takhsis, "select * from takhsis where prj_id=?"},
    };
    // No current project: the lists are empty, not the rows of a project no longer shown.
    const QVariant id = proj->eof() ? QVariant(qlonglong(-1)) : proj->value(QStringLiteral("id"));
    for (const auto &[ds, sql] : lists)
        ds->open(QLatin1String(sql), {id});
}

void Tetebarat_src::openFromMain(const PageRights &rights)
{
    applyRights(kRights, rights);
    // The filter texts are emptied before the first listing, so that the listing and its
    // count match the boxes shown; the ticks keep their state.
    for (const char *box : {"city", "rosta"})
        m_projectFilters->line(QLatin1String(box))->clear();
    for (const char *box : {"tamin_loc", "tamin_manba"})
        m_creditFilters->combo(QLatin1String(box))->setEditText(QString());
    m_creditFilters->line(QStringLiteral("sal"))->clear();
    m_creditBar->figures()->clearLabels();
    searchProjects();
    sizeAfterMain();
    showModal();
}

// Opens the form on a new row (no list), or on the current row of `list`, with the fixed columns.
void Tetebarat_src::showForm(EntryForm *form, DataSet *list, const QVariantMap &fixed)
{
    if (!list)
        form->startInsert(fixed);
    else if (!form->startEdit(list->value(QStringLiteral("id")), fixed))
        return;
    ctx().ui->showModal(form);
}

void Tetebarat_src::editProject()
{
    DataSet *proj = ctx().dm->ADOQ_proj;
    if (!requireCurrent(proj))
        return;
    // The edit moves the project's credit to the credit current in the credit list (none: null).
    DataSet *etb = ctx().dm->ADOQ_etb;
    const QVariant credit = etb->eof() ? QVariant(QMetaType(QMetaType::LongLong)) : etb->value(QStringLiteral("id"));
    showForm(ctx().form<Tprj_ins>(), proj, {{QStringLiteral("etb_id"), credit}});
}

// The project grid shows an edited project at once; the lists below stay as they are.
void Tetebarat_src::reopenProjectsKeepingLists()
{
    DataSet *proj = ctx().dm->ADOQ_proj;
    const QString before = proj->eof() ? QString() : proj->text(QStringLiteral("id"));
    {
        const QScopedValueRollback keep(m_keepLists, true);
        proj->reopen(QStringLiteral("id"));
    }
    if ((proj->eof() ? QString() : proj->text(QStringLiteral("id"))) != before)
        loadProjectLists();
}

void Tetebarat_src::deleteProject()
{
    DataSet *proj = ctx().dm->ADOQ_proj;
    if (!requireCurrent(proj))
        return;
    DeleteDef decl;
    decl.table = QStringLiteral("prj");
    decl.children = kProjectChildren;
    decl.question = kDeleteQuestion;
    decl.logText = kDeleteLog + QStringList{proj->text(QStringLiteral("city")), proj->text(QStringLiteral("rosta")),
                                            proj->text(QStringLiteral("prj_cod")), ctx().CurrentUser.karbar}
                                   .join(QLatin1Char(' '));
    if (RunDelete(ctx(), this, decl, proj->value(QStringLiteral("id"))))
        proj->reopen();
}

void Tetebarat_src::newCredit()
{
    DataSet *proj = ctx().dm->ADOQ_proj;
    if (requireCurrent(proj))
        showForm(ctx().form<Tetebar_ins>(), nullptr, {{QStringLiteral("prj_id"), proj->value(QStringLiteral("id"))}});
}

void Tetebarat_src::editCredit()
{
    if (requireCurrent(ctx().dm->ADOQ_etb, kNoCredit))
        showForm(ctx().form<Tetebar_ins>(), ctx().dm->ADOQ_etb);
}

// A new child row (no list), or the current row of `list`, is written under the credit current
// in the credit list and the current project: an edit moves the row there.
void Tetebarat_src::openChild(EntryForm *form, DataSet *list)
{
    DataSet *proj = ctx().dm->ADOQ_proj, *etb = ctx().dm->ADOQ_etb;
    if ((list && !requireCurrent(list, kNoRow)) || !requireCurrent(proj) || !requireCurrent(etb, kNoCredit))
        return;
    showForm(form, list,
         {{QStringLiteral("etb_id"), etb->value(QStringLiteral("id"))}, {QStringLiteral("prj_id"), proj->value(QStringLiteral("id"))}});
}

// A credit, operation, progress item or allocation alone: no question, no message, no log row.
void Tetebarat_src::deleteRow(const char *table, DataSet *list, const QString &emptyMessage)
{
    if (!requireCurrent(list, emptyMessage))
        return;
    DeleteDef decl;
    decl.table = QLatin1String(table);
    decl.doneMessage.clear();
    if (RunDelete(ctx(), this, decl, list->value(QStringLiteral("id"))))
        list->reopen();
}
