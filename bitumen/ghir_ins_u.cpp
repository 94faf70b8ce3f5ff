#include "bitumen/ghir_ins_u.h"

#include "bitumen/ghir_entry.h"
#include "bitumen/ghir_formula.h"
#include "bitumen/peymankar_ins_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "db/schema.h"
#include "shared/balloon.h"
#include "shared/combo_items.h"
#include "shared/dates.h"
#include "shared/edits.h"
#include "shared/guard.h"
#include "shared/persian.h"
#include "shared/place_combo.h"
#include "shared/settings_list.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace ghirentry;
namespace gf = ghirformula;

const QString Tghir_ins::kPlaceError = QStringLiteral("خطا! نام استان و شهرستان اشتباه است. از تايپ پرهيز نماييد و فقط از ليست انتخاب نماييد");
const QString Tghir_ins::kDuplicateError = QStringLiteral("خطا! اين پيمانکار در اين روستا و شهرستان با اين ميزان قير تهاتري و سال تخصيص قير و شماره معرفي نامه پيمانکار قبلا ثبت شده است");
const QString Tghir_ins::kInserted = QStringLiteral("ثبت شد");
const QString Tghir_ins::kRowGone = QStringLiteral("خطا! اين پروژه در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد");

namespace {

using ghirentry::Kind;

struct BoxDef {
    const char *section;
    const char *name;
    Kind kind;
    const char *caption;
};

// The boxes under their section captions, in the order of the window.
const BoxDef kBoxes[] = {
    {"اطلاعات پروژه", "ostan", Kind::Combo, "استان"},
    {"اطلاعات پروژه", "city", Kind::Combo, "شهرستان"},
    {"اطلاعات پروژه", "rosta", Kind::Combo, "روستا"},
    {"اطلاعات پروژه", "prj_typ", Kind::Combo, "نوع پروژه"},
    {"اطلاعات پروژه", "reg_dat", Kind::Date, "تاريخ ثبت"},
    {"مشخصات قرارداد", "peymankar", Kind::Combo, "نام پيمانکار"},
    {"مشخصات قرارداد", "peymankar_id", Kind::Hidden, ""},
    {"مشخصات قرارداد", "sal", Kind::Year, "سال تخصيص قير"},
    {"مشخصات قرارداد", "prot_no", Kind::Edit, "شماره قراداد خريد"},
    {"مشخصات قرارداد", "prot_dat", Kind::TodayDate, "تاريخ قرارداد خريد"},
    {"مشخصات قرارداد", "prot_mablagh", Kind::Money, "مبلغ قرارداد خريد- تن ريال"},
    {"مشخصات قرارداد", "prot_no_ejra", Kind::Edit, "شماره قرارداد اجرا"},
    {"مشخصات قرارداد", "prot_dat_ejra", Kind::Date, "تاريخ قرارداد اجرا"},
    {"مشخصات قرارداد", "prot_mablagh_ejra", Kind::Money, "مبلغ قرارداد اجرا-تن ريال"},
    {"مکاتبات شهرستان", "city_paper_no", Kind::Edit, "شماره نامه شهرستان"},
    {"مکاتبات شهرستان", "city_paper_dat", Kind::TodayDate, "تاريخ نامه شهرستان"},
    {"مکاتبات شهرستان", "tafahomname_dat", Kind::TodayDate, "تاريخ تفاهمنامه"},
    {"مکاتبات شهرستان", "khodyari", Kind::Computed, "ميزان خودياري نقدي"},
    {"مکاتبات شهرستان", "dehyari", Kind::Computed, "معادل ريالي عمليات اجرايي دهياري و مردم"},
    {"مکاتبات شهرستان", "tolemasir", Kind::Computed, "طول مسير"},
    {"برآورد تقريبي قير", "prj_area", Kind::Edit, "مساحت تقريبي پروژه"},
    {"برآورد تقريبي قير", "zekhamat", Kind::Edit, "ضخامت تقريبي-cm"},
    {"برآورد تقريبي قير", "tonaj", Kind::Computed, "تناژ تقريبي کار"},
    {"برآورد تقريبي قير", "bors_price", Kind::Money, "قيمت روز بورس"},
    {"برآورد تقريبي قير", "ghir_masrafi", Kind::Computed, "ميزان تقريبي قير مصرفي"},
    {"برآورد تقريبي قير", "ghir_tagh_tah", Kind::Computed, "ميزان تقريبي قير تهاتري"},
    {"برآورد تقريبي قير", "ghir_tahatori", Kind::Edit, "ميزان قير حواله"},
    {"برآورد تقريبي قير", "tozi_dat", Kind::TodayDate, "صورتجلسه کميته توزيع قير"},
    {"اطلاعات ضمانتنامه", "z_typ", Kind::Combo, "نوع ضمانتنامه"},
    {"اطلاعات ضمانتنامه", "z_dat", Kind::TodayDate, "تاريخ ضمانتنامه"},
    {"اطلاعات ضمانتنامه", "z_bank", Kind::Combo, "بانک ضمانتنامه"},
    {"اطلاعات ضمانتنامه", "z_no", Kind::Edit, "شماره ضمانتنامه"},
    {"اطلاعات ضمانتنامه", "z_mablagh", Kind::Money, "مبلغ ضمانتنامه"},
    {"صدور حواله شرکت نفت", "taahod_dat", Kind::TodayDate, "تاريخ تعهدنامه پيمانکار"},
    {"صدور حواله شرکت نفت", "moarefi_dat", Kind::TodayDate, "تاريخ معرفي نامه"},
    {"صدور حواله شرکت نفت", "moarefi_no", Kind::Edit, "شماره معرفي نامه پيمانکار"},
    {"صدور حواله شرکت نفت", "pishraft", Kind::Edit, "درصد پيشرفت فيزيکي"},
    {"صدور حواله شرکت نفت", "tehran_paper_no", Kind::Edit, "شماره نامه دفتر مرکزي"},
    {"صدور حواله شرکت نفت", "comp_naft_name", Kind::Combo, "نام شرکت نفت"},
    {"صدور حواله شرکت نفت", "palayeshgah_name", Kind::Combo, "نام پالايشگاه"},
    {"صورتحساب", "sorat_no", Kind::Edit, "شماره نامه صورتحساب"},
    {"صورتحساب", "sorat_dat", Kind::TodayDate, "تاريخ نامه صورتحساب"},
    {"صورتحساب", "ghir_daryafti", Kind::Edit, "قيمت قير دريافتي از شرکت"},
};

struct BalloonDef {
    const char *name;
    const char *title;
    const char *text;
};
const BalloonDef kBalloons[] = {
    {"tonaj", "فرمول محاسبه تناژ", "مساحت × ضخامت × 2.33 تقسيم بر 100"},
    {"ghir_masrafi", "فرمول محاسبه مقدار قير مصرفي", "تناژ آسفالت × 0.06"},
    {"ghir_tagh_tah", "فرمول محاسبه قير تهاتري", "تناژ آسفالت × مبلغ قرارداد تقسيم بر قيمت بورس"},
    {"khodyari", "فرمول محاسبه خودياري", "مبلغ خالص وضعيت آسفالت منهاي قير حواله در قيمت قير دريافتي شرکت تقسيم 1000"},
    {"dehyari", "فرمول محاسبه دهياري", "طول مسير * 1000 بعلاوه مساحت*40 تقسيم بر 1000"},
    {"tolemasir", "فرمول محاسبه طول مسير", "مساحت طبق صورتجلسه تقسيم بر 10"},
};

// Fixed items of two combos.
const QStringList kNaftItems = {QStringLiteral("پاسارگاد"), QStringLiteral("جي")};
const QStringList kRefineryItems = {QStringLiteral("نفت تهران"), QStringLiteral("نفت اصفهان")};

// Every ghir column after id, in the table's order: the insert sends one value for each.
const QStringList &insertColumns()
{
    static const QStringList cols = [] {
        QStringList out;
        for (const db::ColumnDef &c : db::findTable(QStringLiteral("ghir"))->columns)
            if (c.type != db::ColType::Identity)
                out << QString::fromLatin1(c.name);
        return out;
    }();
    return cols;
}

// What a new allocation holds in the columns that the complementary form fills later.
QString initialText(const QString &column)
{
    if (column == QLatin1String("sorat_area") || column == QLatin1String("sorat_area_f")
        || column == QLatin1String("zarib") || column == QLatin1String("bors_m")
        || column == QLatin1String("asfalt_price") || column == QLatin1String("ghir_moadel"))
        return QStringLiteral("0");
    if (column == QLatin1String("jalase_dat"))
        return TDateEdit::kEmpty;
    return QString(QLatin1String(""));
}

// Columns holding numbers as text that the formulas read.
bool holdsNumberText(const QString &column)
{
    return column == QLatin1String("zekhamat") || column == QLatin1String("ghir_daryafti");
}

// The money boxes written as their whole-rial value.
bool isMoneyValue(const QString &column)
{
    return column == QLatin1String("prot_mablagh") || column == QLatin1String("bors_price")
        || column == QLatin1String("prot_mablagh_ejra");
}

// A number of the current allocation as stored (0 when empty); throws FormulaError
// when there is no current allocation.
long double stored(AppContext &ctx, const char *column)
{
    DataSet *g = ctx.dm->ADOQ_ghir;
    if (!g->isOpen() || g->eof() || g->fieldIndex(QLatin1String(column)) < 0)
        throw gf::FormulaError{};
    const QString t = g->text(QLatin1String(column));
    return t.trimmed().isEmpty() ? 0.0L : gf::number(t);
}

} // namespace

const QStringList &Tghir_ins::columns()
{
    static const QStringList cols = {
        QStringLiteral("ostan"),           QStringLiteral("city"),           QStringLiteral("rosta"),
        QStringLiteral("prj_typ"),         QStringLiteral("prot_no"),        QStringLiteral("prot_dat"),
        QStringLiteral("peymankar"),       QStringLiteral("prot_mablagh"),   QStringLiteral("city_paper_no"),
        QStringLiteral("city_paper_dat"),  QStringLiteral("tafahomname_dat"), QStringLiteral("prj_area"),
        QStringLiteral("tonaj"),           QStringLiteral("zekhamat"),       QStringLiteral("bors_price"),
        QStringLiteral("ghir_masrafi"),    QStringLiteral("ghir_tahatori"),  QStringLiteral("tozi_dat"),
        QStringLiteral("z_no"),            QStringLiteral("z_dat"),          QStringLiteral("z_bank"),
        QStringLiteral("z_typ"),           QStringLiteral("z_mablagh"),      QStringLiteral("taahod_dat"),
        QStringLiteral("moarefi_dat"),     QStringLiteral("moarefi_no"),     QStringLiteral("sorat_no"),
        QStringLiteral("sorat_dat"),       QStringLiteral("ghir_daryafti"),  QStringLiteral("peymankar_id"),
        QStringLiteral("reg_dat"),         QStringLiteral("tehran_paper_no"), QStringLiteral("prot_no_ejra"),
        QStringLiteral("prot_dat_ejra"),   QStringLiteral("prot_mablagh_ejra"), QStringLiteral("pishraft"),
        QStringLiteral("sal"),             QStringLiteral("comp_naft_name"), QStringLiteral("palayeshgah_name"),
        QStringLiteral("ghir_tagh_tah"),   QStringLiteral("khodyari"),       QStringLiteral("dehyari"),
        QStringLiteral("tolemasir"),
    };
    return cols;
}

Tghir_ins::Tghir_ins(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setEntryWindow(this, QStringLiteral("Tghir_ins"), QStringLiteral("ثبت/ويرايش اطلاعات اوليه قير"));
    buildBoxes();

    m_tip = CreateBalloonTip(this);
    for (const BalloonDef &b : kBalloons)
        AddBalloonTip(m_tip, box(QLatin1String(b.name)), 1, QString::fromUtf8(b.title), QString::fromUtf8(b.text));

    // The place cascade follows what the person types or picks, not what an opener sets.
    QComboBox *ostan = combo(QStringLiteral("ostan"));
    QComboBox *city = combo(QStringLiteral("city"));
    auto onProvince = [this] { guarded(m_ctx, [this] { provinceChanged(); }); };
    auto onCounty = [this] { guarded(m_ctx, [this] { countyChanged(); }); };
    connect(ostan->lineEdit(), &QLineEdit::textEdited, this, onProvince);
    connect(ostan, &QComboBox::activated, this, onProvince);
    connect(city->lineEdit(), &QLineEdit::textEdited, this, onCounty);
    connect(city, &QComboBox::activated, this, onCounty);
    city->installEventFilter(this);
    combo(QStringLiteral("rosta"))->installEventFilter(this);

    connect(m_insBtn, &QPushButton::clicked, this, [this] { insertRecord(); });
    connect(m_editBtn, &QPushButton::clicked, this, [this] { updateRecord(); });
    setInsertMode(true);
}

void Tghir_ins::buildBoxes()
{
    auto *outer = new QVBoxLayout(this);
    auto *columnsRow = new QHBoxLayout;
    outer->addLayout(columnsRow);
    // Three columns of sections, filled in order from the right.
    QVBoxLayout *cols[3];
    for (auto &c : cols) {
        c = new QVBoxLayout;
        columnsRow->addLayout(c, 1);
    }
    const char *sectionColumn[][2] = {
        {"اطلاعات پروژه", "0"}, {"مشخصات قرارداد", "0"}, {"مکاتبات شهرستان", "1"}, {"برآورد تقريبي قير", "1"},
        {"اطلاعات ضمانتنامه", "2"}, {"صدور حواله شرکت نفت", "2"}, {"صورتحساب", "2"},
    };

    QGroupBox *group = nullptr;
    QGridLayout *grid = nullptr;
    int row = 0, groupNo = 0;
    QString currentSection;
    QWidget *previous = nullptr;
    for (const BoxDef &d : kBoxes) {
        const QString section = QString::fromUtf8(d.section);
        if (section != currentSection) {
            if (group)
                plainChildren(group);
            currentSection = section;
            group = ghirentry::section(QStringLiteral("GroupBox%1").arg(++groupNo), section, this, &grid);
            int col = 0;
            for (const auto &sc : sectionColumn)
                if (section == QString::fromUtf8(sc[0]))
                    col = sc[1][0] - '0';
            cols[col]->addWidget(group);
            row = 0;
        }
        const QString name = QLatin1String(d.name);
        const QString caption = QString::fromUtf8(d.caption);
        QWidget *w = ghirentry::makeBox(d.kind, name, group);
        m_boxes.insert(name.toLower(), w);
        if (d.kind == Kind::Hidden)
            continue;

        QLabel *label = nullptr;
        if (d.kind == Kind::TodayDate) {
            auto *e = static_cast<QLineEdit *>(w);
            label = new TClickLabel(caption, group, [e] { e->setText(SolarDateText()); });
        } else if (name == QLatin1String("tonaj")) {
            auto *e = static_cast<QLineEdit *>(w);
            label = new TClickLabel(caption, group, [this, e] { guarded(m_ctx, [e] { gf::roundBox(e); }); });
        } else {
            label = new QLabel(caption, group);
        }
        label->setObjectName(name + QStringLiteral("_lbl"));
        label->setBuddy(w);
        if (d.kind == Kind::Computed) {
            w->installEventFilter(this);
        }
        grid->addWidget(label, row, 0);
        if (name == QLatin1String("peymankar")) {
            auto *pick = new QToolButton(group);
            pick->setObjectName(QStringLiteral("SpeedButton1"));
            pick->setText(QStringLiteral("..."));
            connect(pick, &QToolButton::clicked, this, [this] { pickContractor(); });
            auto *h = new QHBoxLayout;
            h->setSpacing(2);
            h->addWidget(w, 1);
            h->addWidget(pick);
            grid->addLayout(h, row, 1);
        } else {
            grid->addWidget(w, row, 1);
        }
        w->setMinimumWidth(170);
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
        ++row;
    }
    if (group)
        plainChildren(group);
    for (auto &c : cols)
        c->addStretch(1);

    combo(QStringLiteral("comp_naft_name"))->addItems(kNaftItems);
    combo(QStringLiteral("palayeshgah_name"))->addItems(kRefineryItems);
    combo(QStringLiteral("comp_naft_name"))->setEditText(QString());
    combo(QStringLiteral("palayeshgah_name"))->setEditText(QString());

    m_insBtn = new QPushButton(QStringLiteral("ثبت"), this);
    m_insBtn->setObjectName(QStringLiteral("ins_btn"));
    m_editBtn = new QPushButton(QStringLiteral("ويرايش"), this);
    m_editBtn->setObjectName(QStringLiteral("edit_btn"));
    for (QPushButton *b : {m_insBtn, m_editBtn}) {
        // Enter in a box does nothing here.
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(110);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_insBtn);
    buttons->addWidget(m_editBtn);
    buttons->addStretch(1);
    outer->addLayout(buttons);
    if (previous) {
        QWidget::setTabOrder(previous, m_insBtn);
        QWidget::setTabOrder(m_insBtn, m_editBtn);
    }
}

QWidget *Tghir_ins::box(const QString &column) const
{
    QWidget *w = m_boxes.value(column.toLower());
    if (!w)
        throw AppError(QStringLiteral("Tghir_ins: no box %1").arg(column));
    return w;
}

QLineEdit *Tghir_ins::edit(const QString &column) const
{
    return qobject_cast<QLineEdit *>(box(column));
}

QComboBox *Tghir_ins::combo(const QString &column) const
{
    return qobject_cast<QComboBox *>(box(column));
}

void Tghir_ins::setBoxText(const QString &column, const QString &text)
{
    ghirentry::setBoxText(box(column), text);
}

QString Tghir_ins::boxText(const QString &column) const
{
    return ghirentry::boxText(box(column));
}

void Tghir_ins::setInsertMode(bool insert)
{
    m_insBtn->setVisible(insert);
    m_editBtn->setVisible(!insert);
}

bool Tghir_ins::isInsertMode() const
{
    return m_insBtn->isVisibleTo(this);
}

void Tghir_ins::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    guarded(m_ctx, [this] {
        QComboBox *ostan = combo(QStringLiteral("ostan"));
        if (ostan->count() == 0)
            FillPlaceCombo(m_ctx, ostan, QStringLiteral("select ostan from abadiha group by ostan order by ostan collate fa"));
        provinceChanged();
        LoadSettingList(m_ctx, QStringLiteral("نوع پروژه"), combo(QStringLiteral("prj_typ")));
        LoadSettingList(m_ctx, QStringLiteral("نوع ضمانتنامه"), combo(QStringLiteral("z_typ")));
        LoadSettingList(m_ctx, QStringLiteral("بانک"), combo(QStringLiteral("z_bank")));
    });
}

bool Tghir_ins::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent *>(e)->reason();
        // Entering a box, not the window coming back to the front.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (auto *le = qobject_cast<QLineEdit *>(watched))
                guarded(m_ctx, [&] { enterComputedBox(le); });
        }
    } else if (e->type() == QEvent::FocusOut) {
        // County and village names are kept with the Arabic kaf.
        if (auto *c = qobject_cast<QComboBox *>(watched)) {
            const QString normal = NormalizeKaf(c->currentText());
            if (normal != c->currentText())
                c->setEditText(normal);
        }
    } else if (e->type() == QEvent::MouseButtonPress) {
        const QString name = watched->objectName();
        if (name == QLatin1String("tonaj") || name == QLatin1String("ghir_masrafi")
            || name == QLatin1String("ghir_tagh_tah"))
            ShowBalloonTip(m_tip, static_cast<QWidget *>(watched));
    }
    return QDialog::eventFilter(watched, e);
}

void Tghir_ins::enterComputedBox(QLineEdit *b)
{
    const QString name = b->objectName();
    const bool insert = isInsertMode();
    auto num = [this](const char *column) { return gf::number(edit(QLatin1String(column))->text()); };

    if (name == QLatin1String("tonaj")) {
        gf::computeInto(b, [&] { return num("zekhamat") * num("prj_area") * 2.33L / 100; });
    } else if (name == QLatin1String("ghir_masrafi")) {
        gf::computeInto(b, [&] { return num("tonaj") * 0.06L; });
    } else if (name == QLatin1String("ghir_tagh_tah")) {
        gf::computeInto(b, [&] {
            return gf::Round(gf::divide(num("prot_mablagh") * num("tonaj"), num("bors_price")));
        });
    } else if (name == QLatin1String("khodyari")) {
        const bool ok = gf::computeInto(b, [&] {
            const long double asphalt = insert ? 0.0L : stored(m_ctx, "asfalt_price");
            return gf::Floor(gf::divide(asphalt - num("ghir_tahatori") * num("ghir_daryafti") * 1000, 1000000));
        });
        long double k = 0;
        if (!ok || (gf::readNumber(b->text(), &k) && k < 0))
            b->setText(QStringLiteral("0"));
    } else if (name == QLatin1String("dehyari")) {
        const bool ok = !insert && gf::computeInto(b, [&] {
            const long double route = gf::Floor(stored(m_ctx, "tolemasir")) * 1000;
            return gf::Round(gf::divide(gf::Floor(route + stored(m_ctx, "sorat_area") * 40), 1000));
        });
        if (!ok)
            b->setText(QStringLiteral("0"));
    } else if (name == QLatin1String("tolemasir")) {
        const bool ok = !insert && gf::computeInto(b, [&] {
            return gf::Floor(gf::divide(stored(m_ctx, "sorat_area"), 10));
        });
        if (!ok)
            b->setText(QStringLiteral("0"));
    }
    ShowBalloonTip(m_tip, b);
}

void Tghir_ins::provinceChanged()
{
    FillPlaceCombo(m_ctx, combo(QStringLiteral("city")), QStringLiteral("select distinct shahrestan from abadiha where ostan=?"),
                   {QVariant(boxText(QStringLiteral("ostan")))});
}

void Tghir_ins::countyChanged()
{
    FillPlaceCombo(m_ctx, combo(QStringLiteral("rosta")), QStringLiteral("select distinct rosta from abadiha where shahrestan=?"),
                   {QVariant(boxText(QStringLiteral("city")))});
    // Contractor names of the correspondence database, when one is configured.
    if (!m_ctx.dm->hasProt())
        return;
    DataSet *p = m_ctx.dm->ADOQ_prot;
    p->open(QStringLiteral("select distinct name from prot "));
    QStringList names;
    for (int r = 0; r < p->recordCount(); ++r)
        names << p->text(QStringLiteral("name"), r);
    ReplaceComboItems(combo(QStringLiteral("peymankar")), names);
}

void Tghir_ins::pickContractor()
{
    if (auto *picker = m_ctx.form<Tpeymankar_ins>())
        guarded(m_ctx, [picker] { picker->openAsPicker(); });
}

QVariantList Tghir_ins::ownValues() const
{
    QVariantList values;
    for (const QString &column : columns()) {
        if (isMoneyValue(column))
            values << QVariant(qlonglong(static_cast<TMonEdit *>(box(column))->Value()));
        else if (holdsNumberText(column))
            values << numberTextValue(column, boxText(column));
        else
            values << columnValue(column, boxText(column));
    }
    return values;
}

bool Tghir_ins::placeExists() const
{
    DataSet *q = m_ctx.dm->ADOQ_abadiha;
    q->open(QStringLiteral("select * from abadiha where ostan=? and shahrestan=?"),
            {QVariant(boxText(QStringLiteral("ostan"))), QVariant(boxText(QStringLiteral("city")))});
    return !q->isEmpty();
}

bool Tghir_ins::isDuplicate(const QVariantList &own) const
{
    auto value = [&](const char *column) { return own.at(columns().indexOf(QLatin1String(column))); };
    DataSet *q = m_ctx.dm->ADOQuery1;
    q->open(QStringLiteral("select * from ghir where city=? and rosta=? and peymankar=? and ghir_tahatori=?"
                           " and sal=? and moarefi_no=?"),
            {value("city"), value("rosta"), value("peymankar"), value("ghir_tahatori"), value("sal"),
             value("moarefi_no")});
    return !q->isEmpty();
}

void Tghir_ins::insertRecord()
{
    guarded(m_ctx, [this] {
        const QVariantList own = ownValues();
        QVariantList values;
        for (const QString &column : insertColumns()) {
            const int i = columns().indexOf(column);
            values << (i >= 0 ? own.at(i) : columnValue(column, initialText(column)));
        }
        // Both refusals are shown when both apply; nothing is written after either.
        bool refused = false;
        if (!placeExists()) {
            m_ctx.ui->message(kPlaceError, this);
            refused = true;
        }
        if (isDuplicate(own)) {
            m_ctx.ui->message(kDuplicateError, this);
            refused = true;
        }
        if (refused)
            return;
        QStringList marks;
        for (int i = 0; i < insertColumns().size(); ++i)
            marks << QStringLiteral("?");
        m_ctx.dm->ADOQuery1->exec(QStringLiteral("Insert Into Ghir (") + insertColumns().join(QStringLiteral(", "))
                                      + QStringLiteral(") Values(") + marks.join(QLatin1Char(',')) + QStringLiteral(")"),
                                  values);
        m_ctx.ui->message(kInserted, this);
    });
}

void Tghir_ins::updateRecord()
{
    bool done = false;
    guarded(m_ctx, [&] {
        QVariantList values = ownValues();
        if (!placeExists()) {
            m_ctx.ui->message(kPlaceError, this);
            return;
        }
        DataSet *g = m_ctx.dm->ADOQ_ghir;
        if (!g->isOpen() || g->eof()) {
            m_ctx.ui->message(kRowGone, this);
            return;
        }
        QStringList sets;
        for (const QString &column : columns())
            sets << column + QStringLiteral("=?");
        values << g->value(QStringLiteral("id"));
        const int n = m_ctx.dm->ADOQuery1->exec(
            QStringLiteral("Update Ghir Set ") + sets.join(QLatin1Char(',')) + QStringLiteral(" Where ID=?"), values);
        if (n == 0) {
            m_ctx.ui->message(kRowGone, this);
            return;
        }
        done = true;
    });
    if (done)
        accept();
}
