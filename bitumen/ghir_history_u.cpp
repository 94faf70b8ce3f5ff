#include "bitumen/ghir_history_u.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/dm_u.h"
#include "core/busy.h"
#include "core/dates.h"
#include "shared/edits.h"
#include "shared/exports.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/menus.h"
#include "shared/search_bar.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const FilterDef kFilters[] = {
    {.check = "CheckBox1", .caption = "نام پيمانکار", .box = "peymankar", .column = "ghir.peymankar",
     .match = FilterMatch::Like},
    {.check = "CheckBox2", .caption = "روستا", .box = "rosta", .column = "ghir.rosta", .match = FilterMatch::Like},
    {.check = "CheckBox3", .caption = "شرح سابقه", .box = "cmt", .column = "ghir_history.cmt",
     .match = FilterMatch::Like},
    // Only ghir has reg_dat: the range is the allocation's registration date.
    {.check = "CheckBox4", .caption = "تاريخ ثبت", .box = "reg_dat", .kind = FilterKind::DateRange,
     .column = "reg_dat", .match = FilterMatch::Range},
};

// The form titles the history texts carry.
const char *const kFormTitles[] = {
    "فرم تعهدنامه پيمانکار",        "فرم معرفي ضمانتنامه",  "فرم معرفي نامه شرکت نفت", "فرم صورتجلسه کميته توزيع قير",
    "فرم محاسبات مصرف قير",         "فرم صورتجلسه مصرف قير", "فرم صورتجلسه تهاتر قير",
};

const MenuItem kMenus[] = {
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N1", "اکسل"},
};

const SumColumn kCount[] = {{"c", "count(*)", "cnt"}};
const SearchBarDef kBar = {.filters = kFilters, .perRow = 2, .figures = kCount, .button = "BitBtn1"};

const GridColumn kColumns[] = {
    {"id"},
    {"rosta", "روستا", 120},
    {"peymankar", "پيمانکار", 150},
    {"cmt", "شرح سابقه", 400},
    {"dat", "تاريخ سابقه", 80},
    {"karbar", "کاربر", 80},
    {"ghir_key"},
    {"pk"},
};

// The export's headers by column name; the keys are all "شناسه".
const QList<ExportColumn> kExport = {
    {"id", "شناسه"},        {"ghir_key", "شناسه"}, {"pk", "شناسه"},          {"rosta", "روستا"},
    {"peymankar", "پيمانکار"}, {"cmt", "شرح سابقه"}, {"dat", "تاريخ سابقه"}, {"karbar", "کاربر"},
};
const QString kExportTitle = QStringLiteral("گزارش پروژه هاي قير");

// Rows whose allocation was deleted have a null ghir.id and are neither counted nor listed.
const QString kFrom = QStringLiteral(
    "from ghir_history left join ghir on ghir.id=ghir_history.ghir_key where ghir.id<>-1 ");
const QString kListing = QStringLiteral("select ghir.id,ghir.rosta,ghir.peymankar,ghir_history.* ");
const QString kOrder = QStringLiteral(" order by ghir_history.dat desc,ghir.peymankar collate fa,ghir.rosta collate fa ");

} // namespace

Tghir_history::Tghir_history(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_rows(new DataSet(QStringLiteral("ADOQ_history"), this))
{
    setObjectName(QStringLiteral("Tghir_history"));
    setWindowTitle(QStringLiteral("مشاهده سوابق قير"));
    setLayoutDirection(Qt::RightToLeft);
    resize(831, 472);
    m_rows->setDatabase(ctx.dm->ADOConnection1());

    m_bar = new SearchBar(ctx, this, kBar);
    m_filters = m_bar->filters();
    for (const char *t : kFormTitles)
        m_filters->combo(QStringLiteral("cmt"))->addItem(QString::fromUtf8(t));
    connect(m_bar, &SearchBar::searchRequested, this, [this] { guarded(m_ctx, [&] { search(); }); });

    auto *menus = new Menus(ctx, this, kMenus);
    menus->onMenu(QStringLiteral("N1"), [this] { exportList(); });
    DBGrid1 = MakeGrid(this, m_rows, {.columns = kColumns, .popup = menus->menu(QStringLiteral("PopupMenu1"))});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(DBGrid1, 1);
    // The columns widen to the listing's texts (a long contractor's name).
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { showEveryColumn(); });
}

void Tghir_history::showEveryColumn()
{
    const QHeaderView *h = DBGrid1->horizontalHeader();
    int columns = 0;
    for (int i = 0; i < h->count(); ++i)
        if (!h->isSectionHidden(i))
            columns += h->sectionSize(i);
    const QMargins m = layout()->contentsMargins();
    const int wanted = columns + 2 * DBGrid1->frameWidth() + DBGrid1->verticalScrollBar()->sizeHint().width() + m.left()
                       + m.right();
    const int room = screen() ? screen()->availableGeometry().width() : wanted;
    const int w = std::min(wanted, room);
    if (w <= width())
        return;
    // Shown: it grows on both sides, keeping its middle.
    const int grown = w - width();
    resize(w, height());
    if (isVisible())
        move(std::max(0, x() - grown / 2), y());
}

QString Tghir_history::pieces(QVariantList &binds) const
{
    // In the order the count and the listing have always taken them.
    QString sql;
    for (const char *box : {"peymankar", "cmt", "rosta", "reg_dat"})
        sql += m_filters->piece(QLatin1String(box), binds);
    return sql;
}

void Tghir_history::search()
{
    BusyCursor busy;
    QVariantList binds;
    const QString where = kFrom + pieces(binds);
    m_rows->open(kListing + where + kOrder, binds);
    m_bar->showFigures(where, binds, m_rows);
}

void Tghir_history::openHistory()
{
    for (const char *box : {"peymankar", "rosta", "cmt"})
        m_filters->combo(QLatin1String(box))->setCurrentText(QString());
    InitToday();
    for (const char *box : {"reg_dat1", "reg_dat2"})
        m_filters->date(QLatin1String(box))->setText(SolarDateText());
    if (guarded(m_ctx, [&] { search(); }))
        m_ctx.ui->showModal(this);
}

void Tghir_history::exportList()
{
    ExportHtmlDataSet(m_ctx, TempExportPath(QStringLiteral("Tobrenhal.xls")), kExportTitle, m_rows, kExport);
}
