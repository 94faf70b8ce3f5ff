#include "bitumen/ghir_src_u.h"

#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/peymankar_ins_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/main_u.h"
#include "shared/combo_items.h"
#include "shared/dates.h"
#include "shared/delete_password.h"
#include "shared/edits.h"
#include "shared/gridsort.h"
#include "shared/guard.h"
#include "shared/log.h"
#include "shared/persian.h"
#include "shared/rights.h"
#include "shared/settings_list.h"
#include "shared/ui.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct GridColumn {
    const char *field;
    QString title;
    QColor titleColor;
};

const GridColumn kGridColumns[] = {
    {"id", QString(), QColor()},
    {"city", QStringLiteral("شهرستان"), QColor()},
    {"rosta", QStringLiteral("روستا"), QColor(0, 255, 0)},
    {"prj_typ", QStringLiteral("نوع پروژه"), QColor()},
    {"prot_no", QStringLiteral("شماره قرارداد"), QColor()},
    {"prot_dat", QStringLiteral("تاريخ قرارداد"), QColor()},
    {"peymankar", QStringLiteral("پيمانکار"), QColor(255, 255, 0)},
    {"prot_mablagh", QStringLiteral("مبلغ قرارداد"), QColor()},
    {"ghir_tahatori", QStringLiteral("ميزان قير حواله"), QColor(0, 255, 255)},
    {"ghir_tagh_tah", QStringLiteral("ميزان تقريبي قير تهاتري"), QColor(0, 255, 255)},
    {"moarefi_no", QStringLiteral("شماره معرفي نامه"), QColor(166, 202, 240)},
    {"city_paper_no", QStringLiteral("ش نامه شهرستان"), QColor()},
    {"city_paper_dat", QStringLiteral("تاريخ نامه شهرستان"), QColor()},
    {"tafahomname_dat", QStringLiteral("تاريخ تفاهمنامه"), QColor()},
    {"prj_area", QStringLiteral("مساحت تقريبي پروژه"), QColor()},
    {"tonaj", QStringLiteral("تنار تقريبي کار"), QColor()},
    {"zekhamat", QStringLiteral("ضخامت تقريبي"), QColor()},
    {"bors_price", QStringLiteral("قيمت بورس"), QColor()},
    {"ghir_masrafi", QStringLiteral("قير مصرفي تقريبي"), QColor()},
    {"tozi_dat", QStringLiteral("تاريخ کميته توزيع"), QColor()},
    {"z_no", QStringLiteral("شماره ضمانتنامه"), QColor()},
    {"z_dat", QStringLiteral("تاريخ ضمانتنامه"), QColor()},
    {"z_bank", QStringLiteral("بانک ضمانتنامه"), QColor()},
    {"z_typ", QStringLiteral("نوع ضمانتنامه"), QColor()},
    {"z_mablagh", QStringLiteral("مبلغ ضمانتنامه"), QColor()},
    {"taahod_dat", QStringLiteral("تاريخ تعهدنامه"), QColor()},
    {"moarefi_dat", QStringLiteral("تاريخ معرفي نامه"), QColor()},
    {"sorat_no", QStringLiteral("شماره صورتحساب"), QColor()},
    {"sorat_dat", QStringLiteral("تاريخ صورتحساب"), QColor()},
    {"ghir_daryafti", QStringLiteral("ميزان قير دريافتي"), QColor()},
    {"az_name", QStringLiteral("آزمايشگاه"), QColor()},
    {"rep_no", QStringLiteral("شماره گزارش"), QColor()},
    {"rep_dat", QStringLiteral("تاريخ گزارش"), QColor()},
    {"sorat_area", QStringLiteral("سطح طبق صورتجلسه"), QColor()},
    {"zekhamat_m", QStringLiteral("ميانگين ضخامت"), QColor()},
    {"vazn", QStringLiteral("ميانگين وزن"), QColor()},
    {"ghir_masrafi_m", QStringLiteral("ميانگين قير مصرفي"), QColor()},
    {"ghir_prim", QStringLiteral("ميانگين قير پريمکت"), QColor()},
    {"bors_m", QStringLiteral("قيمت بورس زمان تحويل"), QColor()},
    {"asfalt_price", QStringLiteral("مبلغ آسفالت"), QColor()},
    {"ghir_tahvili", QStringLiteral("قير تحويلي"), QColor()},
    {"ghir60", QStringLiteral("قير مصرفي 60-70"), QColor()},
    {"ghir_m_p", QStringLiteral("قير مصرفي پريمکت"), QColor()},
    {"ghir_jam", QStringLiteral("جمع کل قير"), QColor()},
    {"ghir_t", QStringLiteral("قير تهاتري"), QColor()},
    {"reg_dat", QStringLiteral("تاريخ ثبت"), QColor()},
    {"tehran_paper_no", QStringLiteral("شماره نامه تهران"), QColor()},
    {"jalase_no", QStringLiteral("شماره جلسه"), QColor()},
    {"jalase_dat", QStringLiteral("تاريخ جلسه"), QColor()},
    {"prot_no_ejra", QStringLiteral("شماره قرارداد اجرا"), QColor()},
    {"prot_dat_ejra", QStringLiteral("تاريخ قرارداد اجرا"), QColor()},
    {"prot_mablagh_ejra", QStringLiteral("مبلغ قرارداد اجرا"), QColor()},
    {"pishraft", QStringLiteral("پيشرفت فيزيکي"), QColor()},
    {"sal", QStringLiteral("سال تخصيص قير"), QColor()},
    {"status", QStringLiteral("وضعيت"), QColor()},
    {"cmt", QStringLiteral("توضيحات"), QColor()},
    {"comp_naft_name", QStringLiteral("نام شرکت نفت"), QColor()},
    {"palayeshgah_name", QStringLiteral("نام پالايشگاه"), QColor()},
    {"mosharekat", QStringLiteral("مشارکت مردمي و دهياري"), QColor()},
    {"khodyari", QStringLiteral("ميزان خودياري نقدي"), QColor()},
    {"dehyari", QStringLiteral("معادل ريالي عمليات اجرايي دهياري و مردم"), QColor()},
    {"tolemasir", QStringLiteral("طول مسير"), QColor()},
    {"mokhtasat", QStringLiteral("مختصات معابر"), QColor()},
    {"XS", QStringLiteral("X Start"), QColor()},
    {"XE", QStringLiteral("X End"), QColor()},
    {"YS", QStringLiteral("Y Start"), QColor()},
    {"YE", QStringLiteral("Y End"), QColor()},
    {"sorat_area_f", QStringLiteral("سطح فرعي طبق صورتجلسه - متر مربع"), QColor()},
    {"zekhamat_m_f", QStringLiteral("ميانگين ضخامت فرعي- سانتيمتر"), QColor()},
    {"tarakom", QStringLiteral("درصد تراکم آسفالت"), QColor()},
};
const QString kCaption = QStringLiteral("اطلاعات پروژه هاي قير");
const QString kDeleteWarningText = QStringLiteral("هشدار! اگر پروژه را حذف نماييد تمام صورت وضعيت هاي آن نيز حذف خواهند شد. آيا مي خواهيد ادامه دهيد؟");
const QString kDeletedText = QStringLiteral("حذف شد");
const QString kEmptyDate = QStringLiteral("    /  /  ");
const QString kLogDelete = QStringLiteral("  حذف قير   ");
const QString kMainCaption = QStringLiteral("قير");
const QString kSrcBtn = QStringLiteral("جستجو");
const QString kTa = QStringLiteral("تا");
const QString k_A51 = QStringLiteral("معرفي ضمانتنامه (A5)");
const QString k_CheckBox1 = QStringLiteral("پيمانکار");
const QString k_CheckBox2 = QStringLiteral("شهرستان");
const QString k_CheckBox3 = QStringLiteral("روستا");
const QString k_CheckBox4 = QStringLiteral("تاريخ ثبت");
const QString k_CheckBox5 = QStringLiteral("سال تخصيص قير");
const QString k_CheckBox6 = QStringLiteral("نوع پروژه");
const QString k_CheckBox8 = QStringLiteral("استان");
const QString k_N1 = QStringLiteral("ثبت اطلاعات اوليه");
const QString k_N10 = QStringLiteral("معرفي نامه شرکت نفت");
const QString k_N11 = QStringLiteral("صورتجلسه مصرف قير");
const QString k_N110 = QStringLiteral("تفاهمنامه-صفحه1");
const QString k_N12 = QStringLiteral("محاسبات تهاتر قير");
const QString k_N13 = QStringLiteral("محاسبات مصرف قير");
const QString k_N14 = QStringLiteral("مستندات تصويري");
const QString k_N15 = QStringLiteral("پيمانکاران");
const QString k_N16 = QStringLiteral("صورتجلسه تهاتر قير");
const QString k_N17 = QStringLiteral("سوابق");
const QString k_N18 = QStringLiteral("گزارشات");
const QString k_N19 = QStringLiteral("وب");
const QString k_N2 = QStringLiteral("ويرايش اطلاعات اوليه");
const QString k_N20 = QStringLiteral("پيشرفت فيزيکي");
const QString k_N21 = QStringLiteral("صورتجلسه مصرف قير");
const QString k_N210 = QStringLiteral("تفاهمنامه-صفحه2");
const QString k_N22 = QStringLiteral("ثبت مجدد");
const QString k_N23 = QStringLiteral("محاسبات مصرف قير");
const QString k_N24 = QStringLiteral("وضعيت");
const QString k_N25 = QStringLiteral("استرداد تضمين - قديم");
const QString k_N26 = QStringLiteral("اکسل کلي");
const QString k_N27 = QStringLiteral("اکسل");
const QString k_N28 = QStringLiteral("گزارش تهران");
const QString k_N29 = QStringLiteral("چاپ");
const QString k_N3 = QStringLiteral("حذف");
const QString k_N30 = QStringLiteral("اکسل");
const QString k_N31 = QStringLiteral("صورتجلسه عمراني");
const QString k_N32 = QStringLiteral("محاسبات مصرف قير عمراني");
const QString k_N33 = QStringLiteral("تفاهمنامه تامين قير (قديمي)");
const QString k_N34 = QStringLiteral("اکسل ويژه نظارت");
const QString k_N35 = QStringLiteral("استان");
const QString k_N36 = QStringLiteral("شهرستان");
const QString k_N37 = QStringLiteral("استان");
const QString k_N38 = QStringLiteral("شهرستان");
const QString k_N39 = QStringLiteral("اکسل");
const QString k_N4 = QStringLiteral("فرم ها");
const QString k_N40 = QStringLiteral("ويژه");
const QString k_N41 = QStringLiteral("ويژه");
const QString k_N42 = QStringLiteral("ضمائم");
const QString k_N43 = QStringLiteral("انتساب يک ضميمه به تمام موارد اين ليست");
const QString k_N44 = QStringLiteral("پيش نمايش");
const QString k_N45 = QStringLiteral("چاپ سه برگي");
const QString k_N46 = QStringLiteral("اکسل تمام");
const QString k_N47 = QStringLiteral("حذف روستا");
const QString k_N48 = QStringLiteral("حذف شهرستان");
const QString k_N49 = QStringLiteral("فرم کنترل");
const QString k_N5 = QStringLiteral("خروج");
const QString k_N50 = QStringLiteral("صورتجلسه کميته توزيع قير-تهاتر");
const QString k_N51 = QStringLiteral("استرداد تضمين");
const QString k_N6 = QStringLiteral("وب کلي");
const QString k_N7 = QStringLiteral("صورتجلسه کميته توزيع قير-مصرفي");
const QString k_N8 = QStringLiteral("تعهدنامه پيمانکار");
const QString k_N9 = QStringLiteral("معرفي ضمانتنامه (A4)");
const QString k_add_city = QStringLiteral("+");
const QString kPrjTypList = QStringLiteral("نوع پروژه");

// Boxes of the entry forms that the commands fill, named after the ghir columns.
const char *const kNewEmpty[] = {
    "ostan", "city", "rosta", "prj_typ", "prot_no", "prot_dat", "peymankar", "city_paper_no",
    "city_paper_dat", "tafahomname_dat", "prj_area", "tonaj", "zekhamat", "ghir_masrafi",
    "ghir_tahatori", "tozi_dat", "z_no", "z_dat", "z_bank", "z_typ", "z_mablagh", "taahod_dat",
    "moarefi_dat", "moarefi_no", "sorat_no", "sorat_dat", "tehran_paper_no", "prot_no_ejra",
    "prot_dat_ejra", "comp_naft_name", "palayeshgah_name", "ghir_tagh_tah",
};
const char *const kNewZero[] = {
    "prot_mablagh", "bors_price", "ghir_daryafti", "prot_mablagh_ejra", "pishraft", "khodyari",
    "dehyari", "tolemasir",
};
const char *const kEditBoxes[] = {
    "ostan", "reg_dat", "city", "rosta", "prj_typ", "prot_no", "prot_dat", "peymankar",
    "prot_mablagh", "city_paper_no", "city_paper_dat", "tafahomname_dat", "prj_area", "tonaj",
    "zekhamat", "bors_price", "ghir_masrafi", "ghir_tahatori", "tozi_dat", "z_no", "z_dat",
    "z_bank", "z_typ", "z_mablagh", "taahod_dat", "moarefi_dat", "moarefi_no", "sorat_no",
    "sorat_dat", "ghir_daryafti", "peymankar_id", "tehran_paper_no", "prot_no_ejra",
    "prot_dat_ejra", "prot_mablagh_ejra", "pishraft", "sal", "comp_naft_name", "palayeshgah_name",
    "ghir_tagh_tah", "khodyari", "dehyari", "tolemasir",
};
const char *const kComplementBoxes[] = {
    "jalase_no", "jalase_dat", "az_name", "rep_no", "rep_dat", "sorat_area",
    "zekhamat_m", "sorat_area_f", "zekhamat_m_f", "tarakom", "vazn", "ghir_masrafi_m", "ghir_prim",
    "bors_m", "asfalt_price", "ghir_tahvili", "ghir60", "ghir_m_p", "ghir_jam", "ghir_t", "zarib",
    "ghir_moadel", "asfalt_ejra", "status", "cmt", "mokhtasat", "XS", "XE", "YS", "YE",
};
const char *const kCopyBoxes[] = {
    "city", "rosta", "prj_typ", "prot_no", "prot_dat", "peymankar", "prot_mablagh", "city_paper_no",
    "city_paper_dat", "tafahomname_dat", "prj_area", "tonaj", "zekhamat", "bors_price",
    "ghir_masrafi", "ghir_tahatori", "tozi_dat", "z_no", "z_dat", "z_bank", "z_typ", "z_mablagh",
    "taahod_dat", "moarefi_dat", "moarefi_no", "sorat_no", "sorat_dat", "ghir_daryafti",
    "peymankar_id", "tehran_paper_no", "prot_no_ejra", "prot_dat_ejra", "prot_mablagh_ejra",
    "pishraft", "sal",
};

const QColor kFilterColor(255, 255, 0);        // a ticked filter's box
const QColor kMeetingRowColor(166, 202, 240);  // rows with a consumption meeting date

// Quoted as the messages show names: in single quotes, embedded quotes doubled.
QString quoted(const QString &s)
{
    QString t = s;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// Text of a masked box as its mask shows it, blanks as spaces ("14  " for two typed digits).
QString maskedText(const QLineEdit *e)
{
    QString t = e->displayText();
    t.replace(QLatin1Char('_'), QLatin1Char(' '));
    return t;
}

// Replaces a combo box's list by `items`, in Persian order when the box is sorted; its text stays.
void setComboItems(QComboBox *box, QStringList items, bool sorted)
{
    if (sorted)
        std::stable_sort(items.begin(), items.end(),
                         [](const QString &a, const QString &b) { return persianCompare(a, b) < 0; });
    ReplaceComboItems(box, items);
}

QStringList columnTexts(DataSet *ds, const QString &field)
{
    QStringList out;
    for (int r = 0; r < ds->recordCount(); ++r)
        out << ds->text(field, r);
    return out;
}

// Column titles with their background colours.
class GhirHeader : public QHeaderView {
public:
    GhirHeader(DataSet *ds, QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent), m_ds(ds)
    {
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        if (logicalIndex < 0 || logicalIndex >= m_ds->fieldNames().size())
            return;
        const QString f = m_ds->fieldNames().at(logicalIndex);
        for (const GridColumn &g : kGridColumns) {
            if (g.titleColor.isValid() && f.compare(QLatin1String(g.field), Qt::CaseInsensitive) == 0) {
                option->palette.setColor(QPalette::Button, g.titleColor);
                option->palette.setColor(QPalette::Window, g.titleColor);
                return;
            }
        }
    }

private:
    DataSet *m_ds;
};

// Every cell of a coloured row keeps its colour, the selected one included.
class RowColorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt(option);
        if (index.data(Qt::BackgroundRole).isValid())
            opt.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, opt, index);
    }
};

template <class Parent> QMenu *addSubmenu(Parent *parent, const char *name, const QString &caption)
{
    auto *m = new QMenu(caption, parent);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    parent->addMenu(m);
    return m;
}

template <class Parent> QAction *addItem(Parent *parent, const char *name, const QString &caption)
{
    QAction *a = parent->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

} // namespace

const QString Tghir_src::kMenuCaption = kMainCaption;
const QString Tghir_src::kEmptyList = QStringLiteral("هيچ پروژه اي در ليست نيست");
const QString Tghir_src::kDeleteWarning = kDeleteWarningText;
const QString Tghir_src::kDeleted = kDeletedText;
const QString Tghir_src::kDeleteLog = kLogDelete;

Tghir_src::Tghir_src(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Tghir_src"));
    setWindowTitle(kCaption);
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(4);
    buildMenus();
    layout->setMenuBar(MainMenu1);
    buildFilters();
    buildGrid();
    resize(796, 508);
}

void Tghir_src::buildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setLayoutDirection(Qt::RightToLeft);

    m_N1 = addItem(MainMenu1, "N1", k_N1);
    m_N2 = addItem(MainMenu1, "N2", k_N2);
    m_N13 = addItem(MainMenu1, "N13", k_N13);
    m_N3 = addItem(MainMenu1, "N3", k_N3);
    addItem(MainMenu1, "N14", k_N14);

    QMenu *N4 = addSubmenu(MainMenu1, "N4", k_N4);
    m_N35 = addSubmenu(N4, "N35", k_N35);
    addItem(m_N35, "N8", k_N8);
    addItem(m_N35, "A51", k_A51);
    addItem(m_N35, "N9", k_N9);
    QMenu *N10 = addSubmenu(m_N35, "N10", k_N10);
    addItem(N10, "N44", k_N44);
    addItem(N10, "N45", k_N45);
    addItem(m_N35, "N7", k_N7);
    addItem(m_N35, "N50", k_N50);
    addItem(m_N35, "N11", k_N11);
    addItem(m_N35, "N23", k_N23);
    addItem(m_N35, "N51", k_N51);
    m_N25 = addItem(m_N35, "N25", k_N25);
    m_N25->setVisible(false);
    addItem(m_N35, "N49", k_N49);
    QMenu *N36 = addSubmenu(N4, "N36", k_N36);
    addItem(N36, "N33", k_N33);
    addItem(N36, "N110", k_N110);
    addItem(N36, "N210", k_N210);
    QMenu *N41 = addSubmenu(N4, "N41", k_N41);
    addItem(N41, "N12", k_N12);
    addItem(N41, "N16", k_N16);
    addItem(N41, "N31", k_N31);
    addItem(N41, "N32", k_N32);

    QMenu *N18 = addSubmenu(MainMenu1, "N18", k_N18);
    m_N37 = addSubmenu(N18, "N37", k_N37);
    addItem(m_N37, "N27", k_N27);
    addItem(m_N37, "N19", k_N19);
    addItem(m_N37, "N20", k_N20);
    addItem(m_N37, "N21", k_N21);
    addItem(m_N37, "N34", k_N34);
    addItem(m_N37, "N46", k_N46);
    QMenu *N38 = addSubmenu(N18, "N38", k_N38);
    addItem(N38, "N39", k_N39);
    m_N40 = addSubmenu(N18, "N40", k_N40);
    m_N40->menuAction()->setVisible(false);
    addItem(m_N40, "N26", k_N26);
    QMenu *N28 = addSubmenu(m_N40, "N28", k_N28);
    addItem(N28, "N29", k_N29);
    addItem(N28, "N30", k_N30);
    addItem(m_N40, "N6", k_N6);
    addItem(m_N40, "N17", k_N17);
    addItem(m_N40, "N24", k_N24);

    QAction *N15 = addItem(MainMenu1, "N15", k_N15);
    addItem(MainMenu1, "N42", k_N42);
    QAction *N5 = addItem(MainMenu1, "N5", k_N5);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_N22 = addItem(PopupMenu1, "N22", k_N22);
    addItem(PopupMenu1, "N43", k_N43);

    connect(m_N1, &QAction::triggered, this, [this] { newAllocation(); });
    connect(m_N2, &QAction::triggered, this, [this] { editAllocation(); });
    connect(m_N13, &QAction::triggered, this, [this] { complementaryData(); });
    connect(m_N3, &QAction::triggered, this, [this] { deleteAllocation(); });
    connect(m_N22, &QAction::triggered, this, [this] { registerAgain(); });
    connect(N15, &QAction::triggered, this, [this] { openContractors(); });
    connect(N5, &QAction::triggered, this, [this] { close(); });
    // The province forms and reports are checked for their page each time their submenu opens.
    connect(m_N35, &QMenu::aboutToShow, this, [this] { checkSubmenu(m_N35, QStringLiteral("g_frm")); });
    connect(m_N37, &QMenu::aboutToShow, this, [this] { checkSubmenu(m_N37, QStringLiteral("g_rep")); });
}

void Tghir_src::buildFilters()
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("filters"));
    auto *g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(3);

    auto check = [this](const char *name, const QString &caption) {
        auto *c = new QCheckBox(caption, this);
        c->setObjectName(QLatin1String(name));
        return c;
    };
    auto combo = [this](const char *name) {
        auto *c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setEnabled(false);
        c->setMinimumWidth(120);
        return c;
    };
    auto plus = [this](const char *name) {
        auto *b = new QPushButton(k_add_city, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setFixedWidth(24);
        b->setEnabled(false);
        return b;
    };
    auto list = [this](const char *name) {
        auto *l = new QListWidget(this);
        l->setObjectName(QLatin1String(name));
        l->setFrameShape(QFrame::NoFrame);
        l->setFixedSize(100, 12);
        l->setContextMenuPolicy(Qt::CustomContextMenu);
        l->hide();
        return l;
    };

    CheckBox8 = check("CheckBox8", k_CheckBox8);
    ostan = combo("ostan");
    CheckBox2 = check("CheckBox2", k_CheckBox2);
    city = combo("city");
    add_city = plus("add_city");
    show_list_city = check("show_list_city", QString());
    show_list_city->setEnabled(false);
    list_city = list("list_city");
    CheckBox3 = check("CheckBox3", k_CheckBox3);
    rosta = combo("rosta");
    add_rosta = plus("add_rosta");
    show_list_rosta = check("show_list_rosta", QString());
    show_list_rosta->setEnabled(false);
    list_rosta = list("list_rosta");
    CheckBox1 = check("CheckBox1", k_CheckBox1);
    peymankar = combo("peymankar");
    peymankar->setMinimumWidth(160);
    CheckBox4 = check("CheckBox4", k_CheckBox4);
    reg_dat1 = new TDateEdit(this);
    reg_dat1->setObjectName(QStringLiteral("reg_dat1"));
    reg_dat2 = new TDateEdit(this);
    reg_dat2->setObjectName(QStringLiteral("reg_dat2"));
    for (TDateEdit *d : {reg_dat1, reg_dat2}) {
        d->setEnabled(false);
        d->setFixedWidth(90);
    }
    auto *ta = new QLabel(kTa, this);
    ta->setObjectName(QStringLiteral("Label_ta"));
    CheckBox5 = check("CheckBox5", k_CheckBox5);
    sal = new QLineEdit(this);
    sal->setObjectName(QStringLiteral("sal"));
    sal->setInputMask(QStringLiteral("0000;_"));
    sal->setFixedWidth(50);
    sal->setEnabled(false);
    CheckBox6 = check("CheckBox6", k_CheckBox6);
    prj_typ = combo("prj_typ");

    src_btn = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), kSrcBtn, this);
    src_btn->setObjectName(QStringLiteral("src_btn"));
    src_btn->setAutoDefault(false);
    QFont bold = src_btn->font();
    bold.setBold(true);
    src_btn->setFont(bold);
    src_btn->setMinimumWidth(96);
    cnt = new QLabel(this);
    cnt->setObjectName(QStringLiteral("cnt"));
    cnt->setMinimumWidth(60);

    auto pair = [this](std::initializer_list<QWidget *> ws) {
        auto *w = new QWidget(this);
        auto *h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(3);
        for (QWidget *x : ws)
            h->addWidget(x);
        h->addStretch();
        return w;
    };
    // First row: place and contractor; second row: date, year, type and the search.
    g->addWidget(CheckBox8, 0, 0);
    g->addWidget(ostan, 0, 1);
    g->addWidget(CheckBox2, 0, 2);
    g->addWidget(pair({city, add_city, show_list_city}), 0, 3);
    g->addWidget(CheckBox3, 0, 4);
    g->addWidget(pair({rosta, add_rosta, show_list_rosta}), 0, 5);
    g->addWidget(CheckBox1, 0, 6);
    g->addWidget(peymankar, 0, 7);
    g->addWidget(list_city, 1, 3, Qt::AlignTop);
    g->addWidget(list_rosta, 1, 5, Qt::AlignTop);
    g->addWidget(CheckBox4, 2, 0);
    g->addWidget(pair({reg_dat1, ta, reg_dat2}), 2, 1, 1, 2);
    g->addWidget(CheckBox5, 2, 3, Qt::AlignRight);
    g->addWidget(pair({sal, CheckBox6, prj_typ}), 2, 4, 1, 2);
    g->addWidget(pair({src_btn, cnt}), 2, 6, 1, 2);
    g->setColumnStretch(8, 1);
    static_cast<QVBoxLayout *>(layout())->addWidget(box);

    PopupMenu4 = new QMenu(this);
    PopupMenu4->setObjectName(QStringLiteral("PopupMenu4"));
    QAction *N48 = addItem(PopupMenu4, "N48", k_N48);
    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    QAction *N47 = addItem(PopupMenu3, "N47", k_N47);

    // A ticked filter's box is enabled, yellow and focused; unticked it is disabled and plain.
    auto rule = [](QWidget *w, bool ticked) {
        w->setEnabled(ticked);
        if (ticked) {
            QPalette p = w->palette();
            p.setColor(QPalette::Base, kFilterColor);
            w->setPalette(p);
            w->setFocus();
        } else {
            w->setPalette(QPalette());
        }
    };
    connect(CheckBox1, &QCheckBox::clicked, this, [=, this] { rule(peymankar, CheckBox1->isChecked()); });
    connect(CheckBox5, &QCheckBox::clicked, this, [=, this] { rule(sal, CheckBox5->isChecked()); });
    connect(CheckBox6, &QCheckBox::clicked, this, [=, this] { rule(prj_typ, CheckBox6->isChecked()); });
    connect(CheckBox8, &QCheckBox::clicked, this, [=, this] { rule(ostan, CheckBox8->isChecked()); });
    connect(CheckBox2, &QCheckBox::clicked, this, [=, this] {
        const bool on = CheckBox2->isChecked();
        add_city->setEnabled(on);
        show_list_city->setEnabled(on);
        list_city->hide();
        list_city->clear();
        rule(city, on);
    });
    connect(CheckBox3, &QCheckBox::clicked, this, [=, this] {
        const bool on = CheckBox3->isChecked();
        add_rosta->setEnabled(on);
        show_list_rosta->setEnabled(on);
        list_rosta->hide();
        list_rosta->clear();
        rule(rosta, on);
    });
    connect(CheckBox4, &QCheckBox::clicked, this, [=, this] {
        const bool on = CheckBox4->isChecked();
        rule(reg_dat2, on);
        rule(reg_dat1, on);
    });
    connect(add_city, &QPushButton::clicked, this, [this] { list_city->addItem(city->currentText()); });
    connect(add_rosta, &QPushButton::clicked, this, [this] { list_rosta->addItem(rosta->currentText()); });
    auto showList = [](QListWidget *l, bool on) {
        l->setFixedHeight(56);
        l->setVisible(on);
    };
    connect(show_list_city, &QCheckBox::clicked, this, [=, this](bool on) { showList(list_city, on); });
    connect(show_list_rosta, &QCheckBox::clicked, this, [=, this](bool on) { showList(list_rosta, on); });
    auto removeSelected = [](QListWidget *l) {
        const QList<QListWidgetItem *> sel = l->selectedItems();
        if (!sel.isEmpty())
            delete l->takeItem(l->row(sel.first()));
    };
    connect(N48, &QAction::triggered, this, [=, this] { removeSelected(list_city); });
    connect(N47, &QAction::triggered, this, [=, this] { removeSelected(list_rosta); });
    connect(list_city, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopupMenu4->popup(list_city->viewport()->mapToGlobal(p)); });
    connect(list_rosta, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopupMenu3->popup(list_rosta->viewport()->mapToGlobal(p)); });

    connect(ostan, &QComboBox::editTextChanged, this, [this] { guarded(m_ctx, [&] { fillCities(); }); });
    connect(src_btn, &QPushButton::clicked, this, [this] { search(); });
    // Enter in the county, village and contractor boxes runs the search; leaving the county
    // box writes its kaf the way the database keeps it.
    for (QComboBox *c : {city, rosta, peymankar})
        c->installEventFilter(this);
}

void Tghir_src::buildGrid()
{
    DataSet *ds = m_ctx.dm->ADOQ_ghir;
    QHash<QString, QString> titles;
    for (const GridColumn &g : kGridColumns)
        if (!g.title.isEmpty())
            titles.insert(QLatin1String(g.field), g.title);
    ds->setTitles(titles);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setHorizontalHeader(new GhirHeader(ds, DBGrid1));
    DBGrid1->setLayoutDirection(Qt::RightToLeft);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setShowGrid(true);
    DBGrid1->setWordWrap(false);
    DBGrid1->setItemDelegate(new RowColorDelegate(DBGrid1));
    DBGrid1->horizontalHeader()->setDefaultSectionSize(80);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    // Rows with a consumption meeting date are sky blue; only the exact empty mask counts as
    // no date, so an empty or null date is coloured too.
    ds->setRowColor([ds](int row) {
        if (ds->fieldIndex(QStringLiteral("jalase_dat")) < 0
            || ds->text(QStringLiteral("jalase_dat"), row) == kEmptyDate)
            return QColor();
        return kMeetingRowColor;
    });
    BindGrid(DBGrid1, ds);
    static_cast<QVBoxLayout *>(layout())->addWidget(DBGrid1, 1);

    // The grid's columns in their order; the other fields of the listing stay hidden.
    auto arrange = [this, ds] {
        QHeaderView *h = DBGrid1->horizontalHeader();
        const QStringList &fields = ds->fieldNames();
        for (int i = 0; i < fields.size(); ++i)
            h->setSectionHidden(i, true);
        int visual = 0;
        for (const GridColumn &g : kGridColumns) {
            const int logical = ds->fieldIndex(QLatin1String(g.field));
            if (logical < 0 || g.title.isEmpty())
                continue;
            h->setSectionHidden(logical, false);
            h->moveSection(h->visualIndex(logical), visual++);
        }
    };
    connect(ds, &QAbstractItemModel::modelReset, this, arrange);

    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(p)); });
    // A double click adds the row's village to the village list.
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this, ds](const QModelIndex &i) {
        if (i.isValid() && i.row() < ds->recordCount())
            list_rosta->addItem(ds->text(QStringLiteral("rosta"), i.row()));
    });
}

// A text column as a number: digits with at most one point, after an optional sign, blanks
// around allowed; an empty text and any other text count as 0. Empty texts and plain
// numbers take the cheap first branches; the full test runs only for the rest.
QString Tghir_src::numberSql(const QString &column, bool postgres)
{
    const QString t = QStringLiteral("trim(%1)").arg(column);
    if (postgres)
        return QStringLiteral("(case when %1 = '' then 0"
                              " when %1 <> '.' and translate(%1, '0123456789', '') in ('', '.')"
                              " then cast(%1 as double precision)"
                              " when %2 ~ '^[+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)$' then cast(%2 as double precision)"
                              " else 0 end)")
            .arg(column, t);
    const QString s = QStringLiteral("(case when substr(%1,1,1) in ('+','-') then substr(%1,2) else %1 end)").arg(t);
    return QStringLiteral("(case when %1 = '' then 0"
                          " when %1 glob '*[0-9]*' and %1 not glob '*[^0-9.]*' and %1 not glob '*.*.*' then cast(%1 as real)"
                          " when %2 glob '*[0-9]*' and %2 not glob '*[^0-9.]*' and %2 not glob '*.*.*' then cast(%3 as real)"
                          " else 0 end)")
        .arg(column, s, t);
}

QString Tghir_src::mandeSql(bool postgres)
{
    return QStringLiteral("%1+%2-ghir_tahatori")
        .arg(numberSql(QStringLiteral("ghir_jam"), postgres), numberSql(QStringLiteral("ghir_t"), postgres));
}

QString Tghir_src::mosharekatSql(bool postgres)
{
    const QString asfalt = numberSql(QStringLiteral("asfalt_ejra"), postgres);
    return QStringLiteral("(((prot_mablagh * %1) + (prot_mablagh_ejra * %1))-(bors_price * %2))")
        .arg(asfalt, numberSql(QStringLiteral("ghir_jam"), postgres));
}

// The pieces after "where id<>-1": the county restriction, then each enabled filter. A box
// takes part exactly while it is enabled. County and village items match as substrings; the
// comparison with "???" heads each group and matches no real place.
QString Tghir_src::filterPieces(QVariantList &binds) const
{
    QString s;
    s += CountyFilterClause(m_ctx, binds, QStringLiteral("city"));
    auto group = [&](const char *column, const QListWidget *list) {
        s += QStringLiteral("\n and  ( %1=?").arg(QLatin1String(column));
        binds << QStringLiteral("???");
        for (int i = 0; i < list->count(); ++i) {
            s += QStringLiteral(" or %1 like ?").arg(QLatin1String(column));
            binds << QLatin1Char('%') + list->item(i)->text() + QLatin1Char('%');
        }
        s += QStringLiteral(" ) ");
    };
    if (city->isEnabledTo(this))
        group("city", list_city);
    if (rosta->isEnabledTo(this))
        group("rosta", list_rosta);
    if (peymankar->isEnabledTo(this)) {
        s += QStringLiteral("\n and peymankar like ?");
        binds << QLatin1Char('%') + peymankar->currentText() + QLatin1Char('%');
    }
    if (reg_dat1->isEnabledTo(this)) {
        s += QStringLiteral("\n and reg_dat>=? and reg_dat<=?");
        binds << reg_dat1->text() << reg_dat2->text();
    }
    if (sal->isEnabledTo(this)) {
        s += QStringLiteral("\n and sal=?");
        binds << maskedText(sal);
    }
    if (prj_typ->isEnabledTo(this)) {
        s += QStringLiteral("\n and prj_typ=?");
        binds << prj_typ->currentText();
    }
    return s;
}

QString Tghir_src::listingSql(QVariantList &binds) const
{
    const bool pg = m_ctx.dm->isPostgres();
    return QStringLiteral("select %1 as mande,*,%2 As mosharekat from ghir where id<>-1 ")
               .arg(mandeSql(pg), mosharekatSql(pg))
        + filterPieces(binds)
        + QStringLiteral("\n order by peymankar collate fa,reg_dat,city collate fa,rosta collate fa ");
}

QString Tghir_src::countSql(QVariantList &binds) const
{
    return QStringLiteral("select count(*) as c from ghir where id<>-1 ") + filterPieces(binds);
}

void Tghir_src::search()
{
    guarded(m_ctx, [&] {
        DataSet *ds = m_ctx.dm->ADOQ_ghir;
        QVariantList binds;
        const QString sql = listingSql(binds);
        // A new search lists in the statement's order; a title click sorts again afterwards.
        ds->setSort(QString());
        ds->open(sql, binds);
        QVariantList countBinds;
        const QString count = countSql(countBinds);
        m_ctx.dm->ADOQuery1->open(count, countBinds);
        cnt->setText(m_ctx.dm->ADOQuery1->text(QStringLiteral("c")));
    });
}

void Tghir_src::fillLists()
{
    DataSet *q = m_ctx.dm->ADOQuery1;
    q->open(QStringLiteral("select distinct ostan from abadiha "));
    setComboItems(ostan, columnTexts(q, QStringLiteral("ostan")), true);
    LoadSettingList(m_ctx, kPrjTypList, prj_typ);
    q->open(QStringLiteral("select distinct peymankar from peymankaran "));
    setComboItems(peymankar, columnTexts(q, QStringLiteral("peymankar")), true);
}

void Tghir_src::fillCities()
{
    DataSet *q = m_ctx.dm->ADOQ_abadiha;
    q->open(QStringLiteral("select distinct shahrestan from abadiha where ostan=?"), {ostan->currentText()});
    setComboItems(city, columnTexts(q, QStringLiteral("shahrestan")), true);
}

void Tghir_src::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        guarded(m_ctx, [&] { fillLists(); });
}

void Tghir_src::keyPressEvent(QKeyEvent *e)
{
    // Enter does not close the window nor press a button; only the search boxes act on it.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool Tghir_src::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            search();
            return true;
        }
    } else if (e->type() == QEvent::FocusOut && watched == city) {
        const QString normal = NormalizeKaf(city->currentText());
        if (normal != city->currentText())
            city->setEditText(normal);
    }
    return QDialog::eventFilter(watched, e);
}

void Tghir_src::applyRights(const PageRights &rights)
{
    m_N1->setEnabled(rights.darj);
    m_N13->setEnabled(rights.darj);
    m_N22->setEnabled(rights.darj);
    m_N2->setEnabled(rights.virayesh);
    m_N3->setEnabled(rights.hazf);
}

// The special reports and the old guarantee refund are offered to the province and the
// administrator only.
void Tghir_src::applyLevel()
{
    const QString &level = m_ctx.CurrentUser.level;
    const bool offer = level == QLatin1String("ostan") || level == QLatin1String("admin");
    m_N40->menuAction()->setVisible(offer);
    m_N25->setVisible(offer);
}

void Tghir_src::openFromMain(const PageRights &rights)
{
    applyRights(rights);
    applyLevel();
    for (QComboBox *c : {ostan, city, rosta, peymankar})
        c->setEditText(QString());
    if (auto *main = m_ctx.form<Tmain>())
        resize(main->width() - 30, main->height() - 50);
    search();
    reg_dat1->setText(SolarDateText());
    reg_dat2->setText(SolarDateText());
    m_ctx.ui->showModal(this);
}

void Tghir_src::checkSubmenu(QMenu *menu, const QString &page)
{
    guarded(m_ctx, [&] {
        DataSet *q = m_ctx.dm->ADOQ_dastrasi;
        q->open(QStringLiteral("select * from dastrasi where prs_id=? and page_name=?"),
                {m_ctx.CurrentUser.prs_id.toLongLong(), page});
        if (q->isEmpty()) {
            // No row at all: refused, but the submenu opens as it is.
            m_ctx.ui->message(kNoAccessMessage, this);
            return;
        }
        if (q->value(QStringLiteral("namayesh")).toBool()) {
            menu->menuAction()->setEnabled(true);
        } else {
            menu->menuAction()->setEnabled(false);
            m_ctx.ui->message(kNoAccessMessage, this);
        }
    });
}

bool Tghir_src::hasCurrent()
{
    if (m_ctx.dm->ADOQ_ghir->eof()) {
        m_ctx.ui->message(kEmptyList, this);
        return false;
    }
    return true;
}

// After an entry form has written the current allocation, the list shows what was stored
// and the same allocation stays current, so the next edit starts from the stored values.
void Tghir_src::reopenKeepingCurrent()
{
    m_ctx.dm->ADOQ_ghir->reopen(QStringLiteral("id"));
}

void Tghir_src::newAllocation()
{
    guarded(m_ctx, [&] {
        auto *form = m_ctx.form<Tghir_ins>();
        InitToday();
        const QString today = SolarDateText();
        form->setBoxText(QStringLiteral("reg_dat"), today);
        for (const char *c : kNewEmpty)
            form->setBoxText(QLatin1String(c), QString());
        for (const char *c : kNewZero)
            form->setBoxText(QLatin1String(c), QStringLiteral("0"));
        form->setBoxText(QStringLiteral("peymankar_id"), QStringLiteral("-1"));
        // The century digits of this year; the user types the rest.
        form->setBoxText(QStringLiteral("sal"), today.left(2) + QStringLiteral("  "));
        form->setInsertMode(true);
        m_ctx.ui->showModal(form);
    });
}

void Tghir_src::editAllocation()
{
    guarded(m_ctx, [&] {
        if (!hasCurrent())
            return;
        DataSet *ds = m_ctx.dm->ADOQ_ghir;
        auto *form = m_ctx.form<Tghir_ins>();
        for (const char *c : kEditBoxes)
            form->setBoxText(QLatin1String(c), ds->text(QLatin1String(c)));
        form->setInsertMode(false);
        m_ctx.ui->showModal(form);
        reopenKeepingCurrent();
    });
}

void Tghir_src::complementaryData()
{
    guarded(m_ctx, [&] {
        if (!hasCurrent())
            return;
        InitToday();
        DataSet *ds = m_ctx.dm->ADOQ_ghir;
        auto *form = m_ctx.form<Tghir_ins2>();
        for (const char *c : kComplementBoxes)
            form->setBoxText(QLatin1String(c), ds->text(QLatin1String(c)));
        m_ctx.ui->showModal(form);
        reopenKeepingCurrent();
    });
}

void Tghir_src::registerAgain()
{
    guarded(m_ctx, [&] {
        if (!hasCurrent())
            return;
        DataSet *ds = m_ctx.dm->ADOQ_ghir;
        auto *form = m_ctx.form<Tghir_ins>();
        InitToday();
        form->setBoxText(QStringLiteral("reg_dat"), SolarDateText());
        // The province, oil company, refinery and the computed boxes keep what the form last showed.
        for (const char *c : kCopyBoxes)
            form->setBoxText(QLatin1String(c), ds->text(QLatin1String(c)));
        form->setInsertMode(true);
        m_ctx.ui->showModal(form);
    });
}

void Tghir_src::deleteAllocation()
{
    guarded(m_ctx, [&] {
        if (!hasCurrent())
            return;
        DataSet *ds = m_ctx.dm->ADOQ_ghir;
        const QString text = kDeleteWarning + quoted(ds->text(QStringLiteral("peymankar"))) + QStringLiteral(" * ")
                             + quoted(ds->text(QStringLiteral("rosta")));
        if (m_ctx.ui->question(text, true, this) != Ui::Yes)
            return;
        if (!ConfirmDeletePassword(m_ctx, kPasswordCaption, kPasswordPrompt)) {
            m_ctx.ui->message(kPasswordMismatch, this);
            return;
        }
        const QVariant id = ds->value(QStringLiteral("id"));
        const QString name = ds->text(QStringLiteral("peymankar"));
        const QString village = ds->text(QStringLiteral("rosta"));
        // Only the allocation's row goes: its documents and form history stay.
        m_ctx.dm->ADOQuery1->exec(QStringLiteral("Delete From ghir where id=?"), {id});
        m_ctx.ui->message(kDeleted, this);
        // The last search again; the count keeps what that search found.
        ds->reopen();
        ds->first();
        WriteLog(m_ctx, kLogDelete + quoted(name) + QStringLiteral(" * ") + quoted(village) + QLatin1Char(' ')
                            + m_ctx.CurrentUser.karbar);
    });
}

void Tghir_src::openContractors()
{
    guarded(m_ctx, [&] {
        if (const auto rights = CheckPageAccess(m_ctx, QStringLiteral("g_pey")))
            m_ctx.form<Tpeymankar_ins>()->openFromBitumen(*rights);
    });
}
