#include "bitumen/ghir_src_u.h"

#include "bitumen/ghir_history_u.h"
#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_pic_u.h"
#include "bitumen/peymankar_ins_u.h"
#include "bitumen/zamaem_ghir_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "db/dialect.h"
#include "core/dates.h"
#include "shared/delete_command.h"
#include "shared/edits.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/place_combo.h"
#include "shared/settings_list.h"
#include "shared/search_bar.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const MenuItem kMenus[] = {
    {"", "N1", "ثبت اطلاعات اوليه"},
    {"", "N2", "ويرايش اطلاعات اوليه"},
    {"", "N13", "محاسبات مصرف قير"},
    {"", "N3", "حذف"},
    {"", "N14", "مستندات تصويري"},
    {"", "N4", "فرم ها", MenuItem::Submenu},
    {"N4", "N35", "استان", MenuItem::Submenu},
    {"N35", "N8", "تعهدنامه پيمانکار"},
    {"N35", "A51", "معرفي ضمانتنامه (A5)"},
    {"N35", "N9", "معرفي ضمانتنامه (A4)"},
    {"N35", "N10", "معرفي نامه شرکت نفت", MenuItem::Submenu},
    {"N10", "N44", "پيش نمايش"},
    {"N10", "N45", "چاپ سه برگي"},
    {"N35", "N7", "صورتجلسه کميته توزيع قير-مصرفي"},
    {"N35", "N50", "صورتجلسه کميته توزيع قير-تهاتر"},
    {"N35", "N11", "صورتجلسه مصرف قير"},
    {"N35", "N23", "محاسبات مصرف قير"},
    {"N35", "N51", "استرداد تضمين"},
    {"N35", "N25", "استرداد تضمين - قديم", MenuItem::Item, true},
    {"N35", "N49", "فرم کنترل"},
    {"N4", "N36", "شهرستان", MenuItem::Submenu},
    {"N36", "N33", "تفاهمنامه تامين قير (قديمي)"},
    {"N36", "N110", "تفاهمنامه-صفحه1"},
    {"N36", "N210", "تفاهمنامه-صفحه2"},
    {"N4", "N41", "ويژه", MenuItem::Submenu},
    {"N41", "N12", "محاسبات تهاتر قير"},
    {"N41", "N16", "صورتجلسه تهاتر قير"},
    {"N41", "N31", "صورتجلسه عمراني"},
    {"N41", "N32", "محاسبات مصرف قير عمراني"},
    {"", "N18", "گزارشات", MenuItem::Submenu},
    {"N18", "N37", "استان", MenuItem::Submenu},
    {"N37", "N27", "اکسل"},
    {"N37", "N19", "وب"},
    {"N37", "N20", "پيشرفت فيزيکي"},
    {"N37", "N21", "صورتجلسه مصرف قير"},
    {"N37", "N34", "اکسل ويژه نظارت"},
    {"N37", "N46", "اکسل تمام"},
    {"N18", "N38", "شهرستان", MenuItem::Submenu},
    {"N38", "N39", "اکسل"},
    {"N18", "N40", "ويژه", MenuItem::Submenu, true},
    {"N40", "N26", "اکسل کلي"},
    {"N40", "N28", "گزارش تهران", MenuItem::Submenu},
    {"N28", "N29", "چاپ"},
    {"N28", "N30", "اکسل"},
    {"N40", "N6", "وب کلي"},
    {"N40", "N17", "سوابق"},
    {"N40", "N24", "وضعيت"},
    {"", "N15", "پيمانکاران"},
    {"", "N42", "ضمائم"},
    {"", "N5", "خروج"},
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N22", "ثبت مجدد"},
    {"PopupMenu1", "N43", "انتساب يک ضميمه به تمام موارد اين ليست"},
};

const RightRule kRights[] = {
    {"N1", RightRule::Darj}, {"N13", RightRule::Darj}, {"N22", RightRule::Darj},
    {"N2", RightRule::Virayesh}, {"N3", RightRule::Hazf},
};

const FilterDef kFilters[] = {
    {.check = "CheckBox8", .caption = "استان", .box = "ostan", .flags = FilterDef::Sorted},
    {.check = "CheckBox2", .caption = "شهرستان", .box = "city", .kind = FilterKind::ComboList, .column = "city",
     .match = FilterMatch::AnyLike, .flags = FilterDef::EnterRuns | FilterDef::KafOnLeave | FilterDef::Sorted,
     .list = {"add_city", "show_list_city", "list_city", "PopupMenu4", "N48", "حذف شهرستان"}},
    {.check = "CheckBox3", .caption = "روستا", .box = "rosta", .kind = FilterKind::ComboList, .column = "rosta",
     .match = FilterMatch::AnyLike, .flags = FilterDef::EnterRuns,
     .list = {"add_rosta", "show_list_rosta", "list_rosta", "PopupMenu3", "N47", "حذف روستا"}},
    {.check = "CheckBox1", .caption = "پيمانکار", .box = "peymankar", .column = "peymankar", .match = FilterMatch::Like,
     .flags = FilterDef::EnterRuns | FilterDef::Sorted, .width = 160},
    {.check = "CheckBox4", .caption = "تاريخ ثبت", .box = "reg_dat", .kind = FilterKind::DateRange, .column = "reg_dat",
     .match = FilterMatch::Range},
    {.check = "CheckBox5", .caption = "سال تخصيص قير", .box = "sal", .kind = FilterKind::Year, .column = "sal",
     .match = FilterMatch::Equals},
    {.check = "CheckBox6", .caption = "نوع پروژه", .box = "prj_typ", .column = "prj_typ", .match = FilterMatch::Equals},
};

const SumColumn kCount[] = {{"c", "count(*)", "cnt"}};
const SearchBarDef kBar = {.filters = kFilters, .figures = kCount};
const QString kFrom = QStringLiteral("from ghir where id<>-1 ");

const GridColumn kGridColumns[] = {
    {"id"},
    {"city", "شهرستان"},
    {"rosta", "روستا", 0, qRgb(0, 255, 0)},
    {"prj_typ", "نوع پروژه"},
    {"prot_no", "شماره قرارداد"},
    {"prot_dat", "تاريخ قرارداد"},
    {"peymankar", "پيمانکار", 0, qRgb(255, 255, 0)},
    {"prot_mablagh", "مبلغ قرارداد", 0, 0, GridColumn::Money},
    {"ghir_tahatori", "ميزان قير حواله", 0, qRgb(0, 255, 255), GridColumn::Number},
    {"ghir_tagh_tah", "ميزان تقريبي قير تهاتري", 0, qRgb(0, 255, 255), GridColumn::Number},
    {"moarefi_no", "شماره معرفي نامه", 0, qRgb(166, 202, 240)},
    {"city_paper_no", "ش نامه شهرستان"},
    {"city_paper_dat", "تاريخ نامه شهرستان"},
    {"tafahomname_dat", "تاريخ تفاهمنامه"},
    {"prj_area", "مساحت تقريبي پروژه", 0, 0, GridColumn::Number},
    {"tonaj", "تنار تقريبي کار", 0, 0, GridColumn::Number},
    {"zekhamat", "ضخامت تقريبي"},
    {"bors_price", "قيمت بورس", 0, 0, GridColumn::Money},
    {"ghir_masrafi", "قير مصرفي تقريبي"},
    {"tozi_dat", "تاريخ کميته توزيع"},
    {"z_no", "شماره ضمانتنامه"},
    {"z_dat", "تاريخ ضمانتنامه"},
    {"z_bank", "بانک ضمانتنامه"},
    {"z_typ", "نوع ضمانتنامه"},
    {"z_mablagh", "مبلغ ضمانتنامه", 0, 0, GridColumn::Money},
    {"taahod_dat", "تاريخ تعهدنامه"},
    {"moarefi_dat", "تاريخ معرفي نامه"},
    {"sorat_no", "شماره صورتحساب"},
    {"sorat_dat", "تاريخ صورتحساب"},
    {"ghir_daryafti", "ميزان قير دريافتي"},
    {"az_name", "آزمايشگاه"},
    {"rep_no", "شماره گزارش"},
    {"rep_dat", "تاريخ گزارش"},
    {"sorat_area", "سطح طبق صورتجلسه", 0, 0, GridColumn::Number},
    {"zekhamat_m", "ميانگين ضخامت"},
    {"vazn", "ميانگين وزن"},
    {"ghir_masrafi_m", "ميانگين قير مصرفي"},
    {"ghir_prim", "ميانگين قير پريمکت"},
    {"bors_m", "قيمت بورس زمان تحويل", 0, 0, GridColumn::Money},
    {"asfalt_price", "مبلغ آسفالت", 0, 0, GridColumn::Money},
    {"ghir_tahvili", "قير تحويلي"},
    {"ghir60", "قير مصرفي 60-70"},
    {"ghir_m_p", "قير مصرفي پريمکت"},
    {"ghir_jam", "جمع کل قير"},
    {"ghir_t", "قير تهاتري"},
    {"reg_dat", "تاريخ ثبت"},
    {"tehran_paper_no", "شماره نامه تهران"},
    {"jalase_no", "شماره جلسه", 0, 0, GridColumn::Number},
    {"jalase_dat", "تاريخ جلسه"},
    {"prot_no_ejra", "شماره قرارداد اجرا"},
    {"prot_dat_ejra", "تاريخ قرارداد اجرا"},
    {"prot_mablagh_ejra", "مبلغ قرارداد اجرا", 0, 0, GridColumn::Money},
    {"pishraft", "پيشرفت فيزيکي", 0, 0, GridColumn::Number},
    {"sal", "سال تخصيص قير"},
    {"status", "وضعيت"},
    {"cmt", "توضيحات"},
    {"comp_naft_name", "نام شرکت نفت"},
    {"palayeshgah_name", "نام پالايشگاه"},
    {"mosharekat", "مشارکت مردمي و دهياري", 0, 0, GridColumn::Money},
    {"khodyari", "ميزان خودياري نقدي", 0, 0, GridColumn::Money},
    {"dehyari", "معادل ريالي عمليات اجرايي دهياري و مردم", 0, 0, GridColumn::Money},
    {"tolemasir", "طول مسير", 0, 0, GridColumn::Number},
    {"mokhtasat", "مختصات معابر"},
    {"XS", "X Start"},
    {"XE", "X End"},
    {"YS", "Y Start"},
    {"YE", "Y End"},
    {"sorat_area_f", "سطح فرعي طبق صورتجلسه - متر مربع", 0, 0, GridColumn::Number},
    {"zekhamat_m_f", "ميانگين ضخامت فرعي- سانتيمتر"},
    {"tarakom", "درصد تراکم آسفالت", 0, 0, GridColumn::Number},
};

const char *const kCopyBoxes[] = {
    "city", "rosta", "prj_typ", "prot_no", "prot_dat", "peymankar", "prot_mablagh", "city_paper_no",
    "city_paper_dat", "tafahomname_dat", "prj_area", "tonaj", "zekhamat", "bors_price",
    "ghir_masrafi", "ghir_tahatori", "tozi_dat", "z_no", "z_dat", "z_bank", "z_typ", "z_mablagh",
    "taahod_dat", "moarefi_dat", "moarefi_no", "sorat_no", "sorat_dat", "ghir_daryafti",
    "peymankar_id", "tehran_paper_no", "prot_no_ejra", "prot_dat_ejra", "prot_mablagh_ejra",
    "pishraft", "sal",
};

const QString kCaption = QStringLiteral("اطلاعات پروژه هاي قير");
const QString kEmptyDate = QStringLiteral("    /  /  ");
const QColor kMeetingRowColor(166, 202, 240); // rows with a consumption meeting date

} // namespace

const QString Tghir_src::kDeleteWarning = QStringLiteral("هشدار! اگر پروژه را حذف نماييد تمام صورت وضعيت هاي آن نيز حذف خواهند شد. آيا مي خواهيد ادامه دهيد؟");
const QString Tghir_src::kDeleteLog = QStringLiteral("  حذف قير   ");

Tghir_src::Tghir_src(AppContext &context, QWidget *parent)
    : RegisterWindow(context, QStringLiteral("Tghir_src"), kCaption, parent)
{
    buildMenus(kMenus);
    m_bar = new SearchBar(ctx(), this, kBar);
    m_filters = m_bar->filters();
    body()->addWidget(m_bar);

    DataSet *ds = ctx().dm->ADOQ_ghir;
    // Rows with a consumption meeting date are sky blue; only the exact empty mask counts as
    // no date, so an empty or null date is coloured too.
    DBGrid1 = MakeGrid(this, ds, {.columns = kGridColumns, .rowColor = [](const DataSet &d, int r) {
                                      if (d.fieldIndex(QStringLiteral("jalase_dat")) < 0
                                          || d.text(QStringLiteral("jalase_dat"), r) == kEmptyDate)
                                          return QColor();
                                      return kMeetingRowColor;
                                  },
                                  .popup = menu(QStringLiteral("PopupMenu1"))});
    body()->addWidget(DBGrid1, 1);
    // A double click adds the row's village to the village list.
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this, ds](const QModelIndex &i) {
        if (i.isValid() && i.row() < ds->recordCount())
            m_filters->addListItem(QStringLiteral("rosta"), ds->text(QStringLiteral("rosta"), i.row()));
    });

    connect(m_bar, &SearchBar::searchRequested, this, [this] { search(); });
    // Every change of the province lists its counties.
    const PlaceLevel places[] = {{m_filters->combo(QStringLiteral("ostan")), "ostan"},
                                 {m_filters->combo(QStringLiteral("city")), "shahrestan"}};
    new PlaceCascade(ctx(), this, places, PlaceCascade::Changed, PlaceCascade::Sorted);

    onMenu(QStringLiteral("N1"), [this] { newAllocation(); });
    onMenu(QStringLiteral("N2"), [this] { editAllocation(); });
    onMenu(QStringLiteral("N13"), [this] { complementaryData(); });
    onMenu(QStringLiteral("N3"), [this] { deleteAllocation(); });
    onMenu(QStringLiteral("N22"), [this] { registerAgain(); });
    onMenu(QStringLiteral("N15"), [this] { openContractors(); });
    onMenu(QStringLiteral("N5"), [this] { close(); });
    onMenu(QStringLiteral("N14"), [this] { ctx().form<Tghir_pic>()->documentsCommand(); });
    onMenu(QStringLiteral("N43"), [this] { ctx().form<Tghir_pic>()->attachToListCommand(); });
    onMenu(QStringLiteral("N42"), [this] { ctx().form<Tzamaem_ghir>()->templatesCommand(); });
    onMenu(QStringLiteral("N17"), [this] { ctx().form<Tghir_history>()->openHistory(); }); // no page check
    // The province forms and reports are checked for their page each time their submenu opens.
    checkSubmenuOnShow(QStringLiteral("N35"), QStringLiteral("g_frm"));
    checkSubmenuOnShow(QStringLiteral("N37"), QStringLiteral("g_rep"));
    resize(796, 508);
}

QString Tghir_src::mandeSql(bool postgres)
{
    return QStringLiteral("%1+%2-ghir_tahatori")
        .arg(db::numberSql(QStringLiteral("ghir_jam"), postgres), db::numberSql(QStringLiteral("ghir_t"), postgres));
}

QString Tghir_src::mosharekatSql(bool postgres)
{
    const QString asfalt = db::numberSql(QStringLiteral("asfalt_ejra"), postgres);
    return QStringLiteral("(((prot_mablagh * %1) + (prot_mablagh_ejra * %1))-(bors_price * %2))")
        .arg(asfalt, db::numberSql(QStringLiteral("ghir_jam"), postgres));
}

// The pieces after "where id<>-1": the county restriction, then each enabled filter. County
// and village items match as substrings.
QString Tghir_src::filterPieces(QVariantList &binds) const
{
    const QString county = CountyFilterClause(ctx(), binds, QStringLiteral("city"));
    return county + m_filters->sql(binds);
}

QString Tghir_src::listing(const QString &fromWhere) const
{
    const bool pg = ctx().dm->isPostgres();
    return QStringLiteral("select %1 as mande,*,%2 As mosharekat ").arg(mandeSql(pg), mosharekatSql(pg)) + fromWhere
        + QStringLiteral("\n order by peymankar collate fa,reg_dat,city collate fa,rosta collate fa ");
}

QString Tghir_src::listingSql(QVariantList &binds) const
{
    return listing(kFrom + filterPieces(binds));
}

void Tghir_src::search()
{
    guarded(ctx(), [&] {
        DataSet *ds = ctx().dm->ADOQ_ghir;
        // The pieces once: the listing and the count share them and their binds.
        QVariantList binds;
        const QString where = kFrom + filterPieces(binds);
        // A new search lists in the statement's order; a title click sorts again afterwards.
        ds->setSort(QString());
        ds->open(listing(where), binds);
        m_bar->showFigures(where, binds, ds);
    });
}

void Tghir_src::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    guarded(ctx(), [&] {
        DataSet *q = ctx().dm->ADOQuery1;
        m_filters->fill(QStringLiteral("ostan"), q, QStringLiteral("select distinct ostan from abadiha "));
        LoadSettingList(ctx(), QStringLiteral("نوع پروژه"), m_filters->combo(QStringLiteral("prj_typ")));
        m_filters->fill(QStringLiteral("peymankar"), q, QStringLiteral("select distinct peymankar from peymankaran "));
    });
}

void Tghir_src::openFromMain(const PageRights &rights)
{
    applyRights(kRights, rights);
    // The special reports and the old guarantee refund are offered to the province and the
    // administrator only.
    const bool offer = levelIs({"ostan", "admin"});
    menu(QStringLiteral("N40"))->menuAction()->setVisible(offer);
    action(QStringLiteral("N25"))->setVisible(offer);
    for (const char *box : {"ostan", "city", "rosta", "peymankar"})
        m_filters->combo(QLatin1String(box))->setEditText(QString());
    sizeAfterMain();
    search();
    m_filters->date(QStringLiteral("reg_dat1"))->setText(SolarDateText());
    m_filters->date(QStringLiteral("reg_dat2"))->setText(SolarDateText());
    showModal();
}

// ---- commands ------------------------------------------------------------------------------
// After an entry form has written the current allocation, the list shows what was stored and
// the same allocation stays current, so the next edit starts from the stored values.

void Tghir_src::newAllocation()
{
    auto *form = ctx().form<Tghir_ins>();
    form->startInsert();
    ctx().ui->showModal(form);
}

void Tghir_src::editAllocation()
{
    DataSet *ds = ctx().dm->ADOQ_ghir;
    if (!requireCurrent(ds))
        return;
    auto *form = ctx().form<Tghir_ins>();
    if (form->startEdit(ds->value(QStringLiteral("id"))))
        ctx().ui->showModal(form);
    ds->reopen(QStringLiteral("id"));
}

void Tghir_src::complementaryData()
{
    DataSet *ds = ctx().dm->ADOQ_ghir;
    if (!requireCurrent(ds))
        return;
    InitToday();
    auto *form = ctx().form<Tghir_ins2>();
    if (form->startEdit(ds->value(QStringLiteral("id"))))
        ctx().ui->showModal(form);
    ds->reopen(QStringLiteral("id"));
}

void Tghir_src::registerAgain()
{
    DataSet *ds = ctx().dm->ADOQ_ghir;
    if (!requireCurrent(ds))
        return;
    auto *form = ctx().form<Tghir_ins>();
    InitToday();
    // The province, oil company, refinery and the computed boxes keep what the form last showed.
    if (!form->startCopy(ds->value(QStringLiteral("id")), kCopyBoxes))
        return;
    form->setBoxText(QStringLiteral("reg_dat"), SolarDateText());
    ctx().ui->showModal(form);
}

void Tghir_src::deleteAllocation()
{
    DataSet *ds = ctx().dm->ADOQ_ghir;
    if (!requireCurrent(ds))
        return;
    const QString names = QuotedName(ds->text(QStringLiteral("peymankar"))) + QStringLiteral(" * ")
                        + QuotedName(ds->text(QStringLiteral("rosta")));
    DeleteDef decl;
    decl.table = QStringLiteral("ghir");
    decl.question = kDeleteWarning + names;
    decl.password = DeleteDef::AskPassword;
    // Only the allocation's row goes: its documents and form history stay.
    decl.logText = kDeleteLog + names + QLatin1Char(' ') + ctx().CurrentUser.karbar;
    bool gone = false;
    if (RunDelete(ctx(), this, decl, ds->value(QStringLiteral("id")), &gone) || gone) {
        // The last search again; the count keeps what that search found.
        ds->reopen();
        ds->first();
    }
}

void Tghir_src::openContractors()
{
    if (const auto rights = checkPage(QStringLiteral("g_pey")))
        ctx().form<Tpeymankar_ins>()->openFromBitumen(*rights);
}
