#include "registers/amar_u.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/dm_u.h"
#include "shared/combo_items.h"
#include "shared/delete_command.h"
#include "shared/exports.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/search_bar.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kTypes[] = {QStringLiteral("اعتبارات"), QStringLiteral("عمليات اجرايي")};
const QString kAmountCaption = QStringLiteral("مبلغ");
const QString kQuantityCaption = QStringLiteral("مقدار");
const QString kDuplicate = QStringLiteral("تکراريست");
const QString kCountyDelete = QStringLiteral("حذف فقط توسط استان");

const BoxDef kBoxes[] = {
    {.name = "city", .kind = BoxKind::Combo, .caption = "شهرستان", .width = 120},
    {.name = "rosta", .kind = BoxKind::Combo, .caption = "روستا", .initial = "", .width = 120},
    {.name = "typ", .kind = BoxKind::Radio, .caption = "نوع", .initial = "اعتبارات", .items = "اعتبارات|عمليات اجرايي"},
    {.name = "tamin_loc", .kind = BoxKind::Combo, .caption = "محل تامين اعتبار", .initial = "",
     .items = "استاني|ملي|ماده180|بند الف ماده11", .width = 120},
    {.name = "cmt", .kind = BoxKind::Combo, .caption = "عنوان", .initial = "",
     .items = "جدول کانيو سنگي-متر|جدول کانيو بتني-متر|جدول تک سنگي-متر|جدول تک بتني-متر|کانال سنگي-متر|کانال بتني-متر|پياده روسازي سنگي-متر مربع|پياده روسازي بتني-متر مربع|زيرسازي زيراساس-متر مربع|زيرسازي اساس-متر مربع|زيرسازي تونان-متر مربع|آسفالت-متر مربع|جداره سازي-متر مربع|تخريب و اواربرداري-متر مکعب|جابجايي شبکه برق|جابجايي شبکه آب|ساير-تايپ شود",
     .width = 180},
    {.name = "tamin_sal", .kind = BoxKind::Year, .caption = "سال تامين اعتبار", .initial = "", .width = 50},
    {.name = "peymankar", .caption = "پيمانکار", .initial = "", .width = 250},
    {.name = "mablagh", .kind = BoxKind::Money, .caption = "مبلغ", .initial = "", .width = 110},
};
// A second row with the same county, village, source, title and year is refused, whatever its type.
const char *const kKey[] = {"city", "rosta", "tamin_loc", "cmt", "tamin_sal"};

const EntryDef kDef = {
    .objectName = "Tamar",
    .caption = "آمار و اطلاعات",
    .table = "amar",
    .boxes = kBoxes,
    .insertButton = {"ins_btn", "ثبت"},
    .editButton = {},
    .duplicateKey = kKey,
    .duplicateMessage = kDuplicate,
    .insertedMessage = QString(),
};

// What the delete takes back into the boxes (the type is set with its layout).
const char *const kTakenOut[] = {"peymankar", "city", "rosta", "tamin_loc", "cmt", "tamin_sal", "mablagh"};

const FilterDef kFilters[] = {
    {.check = "CheckBox1", .caption = "شهرستان", .box = "city2", .column = "city", .match = FilterMatch::Like,
     .flags = FilterDef::Sorted, .width = 120},
    {.check = "CheckBox2", .caption = "روستا", .box = "rosta2", .column = "rosta", .match = FilterMatch::Like,
     .flags = FilterDef::Sorted, .width = 120},
    {.check = "CheckBox3", .caption = "نوع", .box = "typ2", .column = "typ", .match = FilterMatch::Equals,
     .width = 120},
    {.check = "CheckBox4", .caption = "پيمانکار", .box = "peymankar2", .kind = FilterKind::Line, .column = "peymankar",
     .match = FilterMatch::Like, .width = 120},
    {.check = "CheckBox5", .caption = "سال تامين", .box = "tamin_sal2", .kind = FilterKind::Line, .column = "tamin_sal",
     .match = FilterMatch::Like, .width = 120},
    {.check = "CheckBox6", .caption = "محل تامين", .box = "tamin_loc2", .column = "tamin_loc", .match = FilterMatch::Like,
     .width = 120},
};

// Each column widens to its title and to the texts listed, so that the eight fit the window.
const GridColumn kColumns[] = {
    {"id"},
    {"city", "شهرستان", 80},
    {"rosta", "روستا", 90},
    {"typ", "نوع", 70},
    {"tamin_loc", "محل تامين اعتبار", 85},
    {"cmt", "عنوان", 80},
    {"tamin_sal", "سال تامين اعتبار", 50},
    {"mablagh", "مقدار", 70, 0, GridColumn::Money},
    {"peymankar", "پيمانکار", 100},
};

const QList<ExportColumn> kExport = {
    {"id", "شناسه"},       {"city", "شهرستان"},      {"rosta", "روستا"},
    {"typ", "نوع"},      {"tamin_loc", "محل تامين اعتبار"}, {"cmt", "عنوان"},
    {"tamin_sal", "سال تامين"}, {"mablagh", "مبلغ"}, {"peymankar", "پيمانکار"},
};

// Credits and operations are summed together unless the type filter is on.
const SumColumn kSums[] = {
    {"c", "count(*)", "cnt"},
    {"m", "sum(mablagh)", "mablagh_sum", SumColumn::Grouped, "جمع:"},
};
const SearchBarDef kBar = {.filters = kFilters, .perRow = 3, .figures = kSums};

const MenuItem kMenus[] = {
    {"", "PopupMenu1", "", MenuItem::Popup},
    {"PopupMenu1", "N2", "خروجي اکسل"},
    {"PopupMenu1", "N1", "حذف"},
};
const RightRule kRights[] = {
    {"ins_btn", RightRule::Darj, RightRule::Show},
    {"N2", RightRule::Darj},
    {"N1", RightRule::Hazf},
};

const QString kOrder = QStringLiteral(" order by city collate fa,rosta collate fa");

} // namespace

Tamar::Tamar(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
    , ADOQ_amar(new DataSet(QStringLiteral("ADOQ_amar"), this))
{
    ADOQ_amar->setDatabase(ctx.dm->ADOConnection1());
    captionLabel(QStringLiteral("mablagh"))->setObjectName(QStringLiteral("Label6"));
    Label8 = new QLabel(QStringLiteral("(مليون ريال)"), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    onCaptionClick(QStringLiteral("tamin_sal"), [this] { setBoxText(QStringLiteral("tamin_sal"), QString()); });
    const auto types = box(QStringLiteral("typ"))->findChildren<QRadioButton *>();
    for (int i = 0; i < types.size(); ++i)
        connect(types[i], &QRadioButton::clicked, this, [this, i] { setType(i); });
    // Choosing a county lists its villages.
    connect(combo(QStringLiteral("city")), &QComboBox::textActivated, this, [this](const QString &county) {
        guarded(m_ctx, [&] {
            FillComboFromQuery(m_ctx.dm->ADOQuery1, combo(QStringLiteral("rosta")),
                               QStringLiteral("select distinct rosta from xls where city=?"), {county}, true);
        });
    });
    connect(this, &EntryForm::saved, this, [this] { guarded(m_ctx, [this] { listInserted(); }); });
    connect(this, &EntryForm::listStale, this, [this] { quietly([this] { ADOQ_amar->reopen(); }); });

    buildMenus(kMenus);
    onMenu(QStringLiteral("N1"), [this] { takeOut(); });
    onMenu(QStringLiteral("N2"), [this] { exportExcel(); });

    QVBoxLayout *outer = listArea();
    m_bar = new SearchBar(ctx, this, kBar);
    m_filters = m_bar->filters();
    m_filters->combo(QStringLiteral("typ2"))->addItems({kTypes[0], kTypes[1]});
    for (int i = 0; i < combo(QStringLiteral("tamin_loc"))->count(); ++i)
        m_filters->combo(QStringLiteral("tamin_loc2"))->addItem(combo(QStringLiteral("tamin_loc"))->itemText(i));
    outer->addWidget(m_bar);
    DBGrid1 = MakeGrid(this, ADOQ_amar, {.columns = kColumns, .popup = menu(QStringLiteral("PopupMenu1"))});
    outer->addWidget(DBGrid1, 1);
    connect(m_bar, &SearchBar::searchRequested, this, [this] { search(); });
    resize(900, 640);
}

void Tamar::layoutBoxes(QVBoxLayout *area)
{
    // Two rows of caption and box pairs, each row as wide as its own boxes: the source and the
    // title share a place, one of them shown by the type, and the amount has its unit after it.
    // Neither type needs more room than the window has, so a change of type never widens it.
    auto row = [&](std::initializer_list<const char *> names) {
        auto *h = new QHBoxLayout;
        area->addLayout(h);
        for (const char *name : names) {
            h->addWidget(captionLabel(QLatin1String(name)));
            h->addWidget(box(QLatin1String(name)));
        }
        return h;
    };
    row({"city", "rosta", "typ"})->addStretch(1);
    QHBoxLayout *second = row({"tamin_loc", "cmt", "tamin_sal", "peymankar", "mablagh"});
    second->addWidget(Label8);
    second->addStretch(1);
}

void Tamar::setType(int index)
{
    const bool credits = index == 0;
    setBoxText(QStringLiteral("typ"), kTypes[credits ? 0 : 1]);
    captionLabel(QStringLiteral("mablagh"))->setText(credits ? kAmountCaption : kQuantityCaption);
    const std::pair<QWidget *, bool> shown[] = {
        {box(QStringLiteral("tamin_loc")), credits},        {captionLabel(QStringLiteral("tamin_loc")), credits},
        {box(QStringLiteral("cmt")), !credits},             {captionLabel(QStringLiteral("cmt")), !credits},
        {box(QStringLiteral("peymankar")), !credits},       {captionLabel(QStringLiteral("peymankar")), !credits},
        {Label8, credits},
    };
    // The other type's boxes go before this type's come: the boxes of both in the row at once
    // would need more room than the window has, and the window would widen for them.
    for (const bool on : {false, true})
        for (const auto &[w, visible] : shown)
            if (visible == on)
                w->setVisible(on);
}

void Tamar::showEvent(QShowEvent *e)
{
    EntryForm::showEvent(e);
    if (e->spontaneous())
        return;
    guarded(m_ctx, [&] {
        for (const char *column : {"city", "rosta"}) {
            QComboBox *entry = combo(QLatin1String(column));
            FillComboFromQuery(m_ctx.dm->ADOQuery1, entry,
                               QStringLiteral("select distinct %1 from abadiha ").arg(QLatin1String(column)), {}, true);
            QStringList items;
            for (int i = 0; i < entry->count(); ++i)
                items << entry->itemText(i);
            ReplaceComboItems(m_filters->combo(QLatin1String(column) + QLatin1Char('2')), items);
        }
    });
}

void Tamar::openFromMain(const PageRights &rights)
{
    const bool ready = guarded(m_ctx, [&] {
        applyRights(kRights, rights);
        startInsert();
        setType(0);
        // The filters' texts are emptied before the opening search, so the list is what the
        // filters shown choose.
        for (const char *name : {"city2", "rosta2", "peymankar2", "typ2", "tamin_sal2", "tamin_loc2"}) {
            if (QComboBox *c = m_filters->combo(QLatin1String(name)))
                c->setEditText(QString());
            else
                m_filters->line(QLatin1String(name))->clear();
        }
        search();
        if (auto *main = m_ctx.mainWindow)
            resize(width(), main->height() - 50);
    });
    if (ready)
        m_ctx.ui->showModal(this);
}

void Tamar::search()
{
    guarded(m_ctx, [&] {
        QVariantList binds;
        const QString where = QStringLiteral("from amar where id<>-1 ") + m_filters->sql(binds);
        ADOQ_amar->setSort(QString());
        ADOQ_amar->open(QStringLiteral("select * ") + where + kOrder, binds);
        m_bar->showFigures(where, binds);
    });
}

void Tamar::listInserted()
{
    // Without the filters; the count and the sum stay those of the last search.
    ADOQ_amar->setSort(QString());
    ADOQ_amar->open(QStringLiteral("select * from amar where city like ? and typ like ?") + kOrder,
                    {QLatin1Char('%') + boxText(QStringLiteral("city")) + QLatin1Char('%'), boxText(QStringLiteral("typ"))});
}

void Tamar::takeOut()
{
    if (ADOQ_amar->eof())
        return;
    const QVariant id = ADOQ_amar->value(QStringLiteral("id"));
    if (!startCopy(id, kTakenOut))
        return;
    setType(loadedText(QStringLiteral("typ")) == kTypes[0] ? 0 : 1);
    // The county offices may take a row into the boxes but not delete it.
    if (m_ctx.CurrentUser.level == QLatin1String("city")) {
        m_ctx.ui->message(kCountyDelete, this);
        return;
    }
    DeleteDef decl;
    decl.table = QStringLiteral("amar");
    decl.doneMessage = QString();
    if (RunDelete(m_ctx, this, decl, id))
        search();
}

// An empty list gives the workbook with its title row, as the other registers' exports do.
void Tamar::exportExcel()
{
    ExportToExcel(m_ctx, ADOQ_amar, kExport);
}
