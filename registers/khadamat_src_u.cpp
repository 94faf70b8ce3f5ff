#include "registers/khadamat_src_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "registers/khadamat_ins_u.h"
#include "registers/khadamat_pic_src_u.h"
#include "registers/khadamat_pic_u.h"
#include "report/form_frame.h"
#include "shared/combo_items.h"
#include "core/dates.h"
#include "shared/delete_command.h"
#include "shared/exports.h"
#include "shared/grid.h"
#include "shared/guard.h"
#include "shared/numwords.h"
#include "shared/place_combo.h"
#include "shared/search_bar.h"
#include "shared/ui.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("خدمات فني وتخلفات ساختماني");
const QString kEmptyList = QStringLiteral("هيچ گزارشي در ليست نيست");
// "ارسال نشده ها" when no county is left to name (our wording: true also for a county user
// whose name no county holds).
const QString kAllReported = QStringLiteral("هيچ شهرستاني بدون گزارش يافت نشد");
const QString kDeleteQuestion = QStringLiteral("از حذف اطمينان داريد؟");
const QString kDeleteLog = QStringLiteral("  حذف خدمات فني   ");
const QString kNoteAttach = QStringLiteral(
    "*توجه: ورود تصوير گزارش امضاء شده طبق فرمت با شماره دبيرخانه در بخش ضمائم براي ثبت نهايي ضروري است");
const QString kNoteColours = QStringLiteral(
    "*رنگ قرمز به معناي عدم وجود ضميمه و رنگ سبز به معناي وجود ضميمه گزارش مي باشد");

const MenuItem kMenus[] = {
    {"", "N1", "ثبت"},
    {"", "N2", "ويرايش"},
    {"", "N3", "حذف"},
    {"", "N7", "ضمائم"},
    {"", "N5", "چاپ"},
    {"", "N9", "گزارشات", MenuItem::Submenu},
    {"N9", "N4", "اکسل"},
    {"N9", "N10", "ارسال نشده ها"},
    {"N9", "N11", "ضمائم"},
    {"", "N6", "خروج"},
};
const RightRule kRights[] = {
    {"N1", RightRule::Darj}, {"N2", RightRule::Virayesh}, {"N3", RightRule::Hazf},
};

const FilterDef kFilters[] = {
    {.check = "CheckBox8", .caption = "استان", .box = "ostan", .flags = FilterDef::Sorted},
    {.check = "CheckBox1", .caption = "شهرستان", .box = "city", .column = "city", .match = FilterMatch::Like,
     .flags = FilterDef::Sorted},
    {.check = "CheckBox2", .caption = "سال", .box = "sal", .kind = FilterKind::Year, .column = "sal",
     .match = FilterMatch::Like},
    {.check = "CheckBox3", .caption = "ماه", .box = "mah", .kind = FilterKind::ComboList, .column = "mah",
     .match = FilterMatch::AnyEquals,
     .list = {"add_mah", "show_list_mah", "list_mah", "PopupMenu1", "N8", "حذف ماه"}},
};

const GridColumn kColumns[] = {
    {"id"},
    {"city", "شهرستان", 100},
    {"sal", "سال", 50},
    {"mah", "ماه", 70},
    {"dehyariha", "آمار دهياريها جهت صدور پروانه", 0, 0, GridColumn::Number},
    {"fani", "آمار ساير خدمات فني", 0, 0, GridColumn::Number},
    {"mablagh", "مبلغ دريافتي", 100, 0, GridColumn::Money},
    {"khalaf_par", "ساخت برخلاف پروانه", 0, 0, GridColumn::Number},
    {"bi_par", "ساخت بدون پروانه", 0, 0, GridColumn::Number},
    {"bi_est", "صدور پروانه فاقد استعلام", 0, 0, GridColumn::Number},
    {"khalaf_bon", "صدور پروانه خلاف نظر Varnoset", 0, 0, GridColumn::Number},
    {"dakhel_m", "داخل محدوده", 0, 0, GridColumn::Number},
    {"kharej_m", "خارج محدوده", 0, 0, GridColumn::Number},
    {"farmandari", "ارسالي به فرمانداري", 0, 0, GridColumn::Number},
    {"ostandari", "ارسالي به استانداري", 0, 0, GridColumn::Number},
    {"ehdasi", "تعداد واحد احداثي", 0, 0, GridColumn::Number},
    {"pic_count", "تعداد ضمائم", 60, 0, GridColumn::Number},
};

// The workbook's titles: the grid's, and the key's own.
QList<ExportColumn> exportColumns()
{
    return QList<ExportColumn>{{"id", "شناسه"}} + GridExportColumns(kColumns);
}

const SumColumn kSums[] = {
    {"c", "count(*)", "cnt"},
    {"d", "sum(dehyariha)"},
    {"f", "sum(fani)"},
    {"m", "sum(mablagh)"},
};

const SearchBarDef kBar = {.filters = kFilters, .figures = kSums, .button = "src"};

const QColor kNoAttachment(255, 0, 0);
const QColor kAttached(0, 255, 0);
} // namespace

Tkhadamat_src::Tkhadamat_src(AppContext &ctx, QWidget *parent)
    : RegisterWindow(ctx, QStringLiteral("Tkhadamat_src"), kCaption, parent)
{
    buildMenus(kMenus);
    onMenu(QStringLiteral("N1"), [this] { newReport(); });
    onMenu(QStringLiteral("N2"), [this] { editReport(); });
    onMenu(QStringLiteral("N3"), [this] { deleteReport(); });
    onMenu(QStringLiteral("N7"), [this] { openAttachments(); });
    onMenu(QStringLiteral("N5"), [this] { printMonthly(); });
    onMenu(QStringLiteral("N4"), [this] { exportExcel(); });
    onMenu(QStringLiteral("N10"), [this] { listUnreported(); });
    onMenu(QStringLiteral("N11"), [this] { openAttachmentSearch(); });
    onMenu(QStringLiteral("N6"), [this] { close(); });

    QVBoxLayout *outer = body();
    m_bar = new SearchBar(ctx, this, kBar);
    m_filters = m_bar->filters();
    m_filters->combo(QStringLiteral("mah"))->addItems(Tkhadamat_ins::months());
    outer->addWidget(m_bar);

    DataSet *ds = ctx.dm->ADOQ_khadamat;
    DBGrid1 = MakeGrid(this, ds, {.columns = kColumns, .rowColor = [](const DataSet &d, int row) {
                                      return d.toInt64(QStringLiteral("pic_count"), row) == 0 ? kNoAttachment
                                                                                               : kAttached;
                                  }});
    outer->addWidget(DBGrid1, 1);
    for (const QString &note : {kNoteAttach, kNoteColours}) {
        auto *l = new QLabel(note, this);
        outer->addWidget(l);
    }

    connect(m_bar, &SearchBar::searchRequested, this, [this] { search(); });
    // Choosing a province lists its counties; the province itself never filters.
    const PlaceLevel places[] = {{m_filters->combo(QStringLiteral("ostan")), "ostan"},
                                 {m_filters->combo(QStringLiteral("city")), "shahrestan"}};
    new PlaceCascade(ctx, this, places, PlaceCascade::Chosen, PlaceCascade::Sorted);
}

QString Tkhadamat_src::conditions(QVariantList &binds) const
{
    // One piece after the other: their binds follow in the same order.
    QString s = CountyFilterClause(ctx(), binds, QStringLiteral("city"));
    s += m_filters->sql(binds);
    return s;
}

QString Tkhadamat_src::listingSql(const QString &conditions) const
{
    return QStringLiteral("select khadamat.*,B.pic_count FROM khadamat LEFT JOIN (select khadamat_id,COUNT(*)as pic_count"
                          " from khadamat_pic group by khadamat_id) B \n"
                          " ON khadamat.ID =  B.khadamat_id \n"
                          " where khadamat.ID<>-1 ")
        + conditions + QStringLiteral("\n order by khadamat.id");
}

// The counties of the gazetteer less those with a report the year and month filters choose.
// A "city" user's name and the county box narrow the counties named, not the reports counted.
QString Tkhadamat_src::unreportedSql(QVariantList &binds) const
{
    QString sql = QStringLiteral("select shahrestan from abadiha where shahrestan not in ("
                                 "select distinct city from khadamat where id<>-1 and city is not null");
    sql += m_filters->piece(QStringLiteral("sal"), binds);
    sql += m_filters->piece(QStringLiteral("mah"), binds);
    sql += QStringLiteral(" ) ");
    sql += CountyNameClause(ctx(), binds, QStringLiteral("shahrestan"));
    sql += m_filters->piece(QStringLiteral("city"), binds, QStringLiteral("shahrestan"));
    return sql + QStringLiteral(" group by shahrestan order by shahrestan collate fa");
}

QString Tkhadamat_src::kept(const QString &alias) const
{
    return m_bar->figures()->value(alias);
}

void Tkhadamat_src::search()
{
    guarded(ctx(), [&] {
        // The conditions once: the listing and the sums share them and their binds.
        QVariantList binds;
        const QString pieces = conditions(binds);
        ctx().dm->ADOQ_khadamat->setSort(QString());
        ctx().dm->ADOQ_khadamat->open(listingSql(pieces), binds);
        m_bar->showFigures(QStringLiteral("from khadamat where id<>-1 ") + pieces, binds);
    });
}

void Tkhadamat_src::showEvent(QShowEvent *e)
{
    RegisterWindow::showEvent(e);
    if (!e->spontaneous())
        guarded(ctx(), [&] {
            FillComboFromQuery(ctx().dm->ADOQuery1, m_filters->combo(QStringLiteral("ostan")),
                               QStringLiteral("select distinct ostan from abadiha "), {}, true);
        });
}

void Tkhadamat_src::openFromMain(const PageRights &rights)
{
    applyRights(kRights, rights);
    for (const char *box : {"ostan", "city", "mah"})
        m_filters->combo(QLatin1String(box))->setEditText(QString());
    InitToday();
    m_filters->line(QStringLiteral("sal"))->setText(SolarDateText().left(4));
    sizeAfterMain();
    search();
    showModal();
}

void Tkhadamat_src::showEntry(bool inserting)
{
    auto *form = ctx().form<Tkhadamat_ins>();
    if (inserting) {
        form->startInsert();
    } else {
        if (!requireCurrent(ctx().dm->ADOQ_khadamat, kEmptyList))
            return;
        if (!form->startEdit(ctx().dm->ADOQ_khadamat->value(QStringLiteral("id"))))
            return;
    }
    // Every save lists again, while the form stays open.
    const auto c = connect(form, &EntryForm::saved, this, [this] { search(); });
    const auto stale = connect(form, &EntryForm::listStale, this, [this] { quietly([this] { ctx().dm->ADOQ_khadamat->reopen(QStringLiteral("id")); }); });
    ctx().ui->showModal(form);
    disconnect(c);
    disconnect(stale);
}

void Tkhadamat_src::newReport()
{
    showEntry(true);
}

void Tkhadamat_src::editReport()
{
    showEntry(false);
}

void Tkhadamat_src::deleteReport()
{
    DataSet *ds = ctx().dm->ADOQ_khadamat;
    if (!requireCurrent(ds, kEmptyList))
        return;
    const QString county = QLatin1Char('\'') + ds->text(QStringLiteral("city")) + QLatin1Char('\'');
    DeleteDef decl;
    decl.table = QStringLiteral("khadamat");
    decl.question = county + kDeleteQuestion;
    decl.password = DeleteDef::AskPassword;
    decl.logText = kDeleteLog + county + QLatin1Char(' ') + ctx().CurrentUser.karbar;
    // The report's attachments stay. The list, its count and its sums follow the delete, so
    // the print never totals a report that is gone.
    if (RunDelete(ctx(), this, decl, ds->value(QStringLiteral("id"))))
        search();
}

void Tkhadamat_src::printMonthly()
{
    DataSet *ds = ctx().dm->ADOQ_khadamat;
    report::FormFrame frame(ctx(), this);
    report::FormRow row;
    row.layout = QStringLiteral("TKHADAMAT_CHAP");
    row.compute = [this, ds](report::FormFill &f) {
        // The header's year and month are the current row's, while their filters take part.
        const bool current = !ds->eof();
        f.report.set(QStringLiteral("sal"),
                     current && m_filters->isOn(QStringLiteral("sal")) ? ds->text(QStringLiteral("sal")) : QString());
        f.report.set(QStringLiteral("mah"),
                     current && m_filters->isOn(QStringLiteral("mah")) ? ds->text(QStringLiteral("mah")) : QString());
        f.report.set(QStringLiteral("dehyariha_sum"), kept(QStringLiteral("d")));
        f.report.set(QStringLiteral("fani_sum"), kept(QStringLiteral("f")));
        // The fees, in millions of rials, grouped as every printed amount is.
        f.report.set(QStringLiteral("mablagh_sum"), GroupDigits(kept(QStringLiteral("m"))));
        report::FormFrame::setGroupedRows(f.report, *ds, {QStringLiteral("mablagh")});
    };
    frame.run(row);
}

void Tkhadamat_src::exportExcel()
{
    ExportToExcel(ctx(), ctx().dm->ADOQ_khadamat, exportColumns());
}

void Tkhadamat_src::listUnreported()
{
    DataSet *q = ctx().dm->ADOQuery1;
    QVariantList binds;
    const QString sql = unreportedSql(binds);
    q->open(sql, binds);
    QString text;
    for (int row = 0; row < q->recordCount(); ++row)
        text += QLatin1Char('*') + q->text(QStringLiteral("shahrestan"), row);
    ctx().ui->message(text.isEmpty() ? kAllReported : text, this);
}

void Tkhadamat_src::openAttachments()
{
    DataSet *ds = ctx().dm->ADOQ_khadamat;
    if (!requireCurrent(ds, kEmptyList))
        return;
    if (const auto rights = checkPage(QStringLiteral("khadamat")))
        ctx().form<Tkhadamat_pic>()->openForReport(*rights, ds->value(QStringLiteral("id")));
}

void Tkhadamat_src::openAttachmentSearch()
{
    ctx().form<Tkhadamat_pic_src>()->openFromReports();
}
