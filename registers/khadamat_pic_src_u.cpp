#include "registers/khadamat_pic_src_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "registers/khadamat_pic_u.h"
#include "shared/attachment_list.h"
#include "shared/combo_items.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/plain_boxes.h"
#include "shared/search_bar.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("جستجو در ضمائم خدمات فني");
const QString kReportScan = QStringLiteral("تصوير گزارش");

const FilterDef kFilters[] = {
    {.check = "CheckBox1", .caption = "شرح مستند", .box = "cmt", .column = "khadamat_pic.cmt",
     .match = FilterMatch::Like, .flags = FilterDef::Sorted},
    {.check = "CheckBox2", .caption = "شهرستان", .box = "city", .column = "khadamat.city", .match = FilterMatch::Like},
};

const GridColumn kColumns[] = {
    {"Radif", "رديف", 40, 0, GridColumn::Number},
    {"id"},
    {"city", "شهرستان", 70},
    {"cmt", "شرح مدرک", 250},
    {"pictyp", "فرمت تصوير"},
};

const SumColumn kSums[] = {{"c", "count(*)", "cnt"}};
// The search button is a picture alone.
const SearchBarDef kBar = {.filters = kFilters, .figures = kSums, .button = "BitBtn1", .caption = nullptr};

const QString kFrom = QStringLiteral(
    "from khadamat_pic left join khadamat on khadamat_pic.khadamat_id=khadamat.id where khadamat_pic.id<>-1 ");

} // namespace

Tkhadamat_pic_src::Tkhadamat_pic_src(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_list(new AttachmentList(ctx, Tkhadamat_pic::kTable, QStringLiteral("ADOQ_khadamat_pic"), this))
{
    setObjectName(QStringLiteral("Tkhadamat_pic_src"));
    setWindowTitle(kCaption);
    setLayoutDirection(Qt::RightToLeft);
    auto *outer = new QVBoxLayout(this);
    m_bar = new SearchBar(ctx, this, kBar);
    m_filters = m_bar->filters();
    m_filters->combo(QStringLiteral("cmt"))->addItem(kReportScan);
    auto *save = MakeButton(this, "BitBtn2", QStringLiteral("ذخيره"));
    m_bar->side()->insertWidget(m_bar->side()->count() - 1, save);
    outer->addWidget(m_bar);
    DBGrid1 = MakeGrid(this, m_list->rows(), {.columns = kColumns, .rowColor = {}, .popup = nullptr});
    outer->addWidget(DBGrid1, 1);
    resize(640, 420);

    connect(m_bar, &SearchBar::searchRequested, this, [this] { search(); });
    connect(save, &QPushButton::clicked, this, [this] { saveListed(); });
}

QString Tkhadamat_pic_src::conditions(QVariantList &binds) const
{
    return m_filters->sql(binds);
}

void Tkhadamat_pic_src::search()
{
    guarded(m_ctx, [&] {
        QVariantList binds;
        const QString where = kFrom + conditions(binds);
        m_list->listQuery(QStringLiteral("select ROW_NUMBER() over (order by khadamat_pic.cmt,khadamat_pic.id)as Radif,"
                                         "khadamat_pic.id,khadamat_pic.khadamat_id,khadamat.city,khadamat_pic.cmt,"
                                         "khadamat_pic.pictyp ")
                              + where + QStringLiteral(" order by khadamat_pic.cmt,khadamat_pic.id"),
                          binds);
        m_bar->showFigures(where, binds, m_list->rows());
    });
}

void Tkhadamat_pic_src::saveListed()
{
    const QString stem = m_ctx.ui->saveFileName(QString(), QString(), QString(), this);
    if (stem.isEmpty())
        return;
    m_list->saveAll(stem);
}

void Tkhadamat_pic_src::openFromReports()
{
    m_filters->combo(QStringLiteral("city"))->setEditText(QString());
    m_filters->combo(QStringLiteral("cmt"))->setEditText(QString());
    m_bar->figures()->clearLabels();
    m_ctx.ui->showModal(this);
}

void Tkhadamat_pic_src::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        guarded(m_ctx, [&] {
            FillComboFromQuery(m_ctx.dm->ADOQuery1, m_filters->combo(QStringLiteral("city")),
                               QStringLiteral("select distinct city from abadiha "), {}, true);
            FillComboFromQuery(m_ctx.dm->ADOQuery1, m_filters->combo(QStringLiteral("cmt")),
                               QStringLiteral("select distinct cmt from khadamat_pic "), {}, true);
        });
}
