#include "bitumen/ghir_ins_u.h"

#include "bitumen/ghir_formula.h"
#include "bitumen/peymankar_ins_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "shared/balloon.h"
#include "shared/combo_items.h"
#include "shared/edits.h"
#include "shared/guard.h"
#include "shared/place_combo.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

namespace gf = ghirformula;

const QString Tghir_ins::kPlaceError = QStringLiteral("خطا! نام استان و شهرستان اشتباه است. از تايپ پرهيز نماييد و فقط از ليست انتخاب نماييد");
const QString Tghir_ins::kDuplicateError = QStringLiteral("خطا! اين پيمانکار در اين روستا و شهرستان با اين ميزان قير تهاتري و سال تخصيص قير و شماره معرفي نامه پيمانکار قبلا ثبت شده است");
const QString Tghir_ins::kRowGone = QStringLiteral("خطا! اين پروژه در بانک اطلاعاتي يافت نشد؛ شايد از کاربر ديگري حذف شده باشد");

namespace {

// The boxes under their section captions, in the order of the window; a new allocation
// starts from their initial texts.
const BoxDef kBoxes[] = {
    {.name = "ostan", .kind = BoxKind::Combo, .caption = "استان", .initial = "", .itemsSql = "select ostan from abadiha group by ostan order by ostan collate fa", .section = "اطلاعات پروژه"},
    {.name = "city", .kind = BoxKind::Combo, .caption = "شهرستان", .initial = "", .section = "اطلاعات پروژه", .flags = BoxDef::KafOnLeave},
    {.name = "rosta", .kind = BoxKind::Combo, .caption = "روستا", .initial = "", .section = "اطلاعات پروژه", .flags = BoxDef::KafOnLeave},
    {.name = "prj_typ", .kind = BoxKind::Combo, .caption = "نوع پروژه", .initial = "", .valueList = "نوع پروژه", .section = "اطلاعات پروژه"},
    {.name = "reg_dat", .kind = BoxKind::Date, .caption = "تاريخ ثبت", .initial = "@today", .section = "اطلاعات پروژه"},
    {.name = "peymankar", .kind = BoxKind::Combo, .caption = "نام پيمانکار", .initial = "", .section = "مشخصات قرارداد", .button = "SpeedButton1", .width = 290},
    {.name = "peymankar_id", .kind = BoxKind::Fixed, .initial = "-1"},
    {.name = "sal", .kind = BoxKind::Year, .caption = "سال تخصيص قير", .initial = "@century", .section = "مشخصات قرارداد", .flags = BoxDef::Required},
    {.name = "prot_no", .kind = BoxKind::Line, .caption = "شماره قراداد خريد", .initial = "", .section = "مشخصات قرارداد"},
    {.name = "prot_dat", .kind = BoxKind::Date, .caption = "تاريخ قرارداد خريد", .initial = "", .section = "مشخصات قرارداد", .flags = BoxDef::TodayOnClick},
    {.name = "prot_mablagh", .kind = BoxKind::Money, .caption = "مبلغ قرارداد خريد- تن ريال", .initial = "0", .section = "مشخصات قرارداد"},
    {.name = "prot_no_ejra", .kind = BoxKind::Line, .caption = "شماره قرارداد اجرا", .initial = "", .section = "مشخصات قرارداد"},
    {.name = "prot_dat_ejra", .kind = BoxKind::Date, .caption = "تاريخ قرارداد اجرا", .initial = "", .section = "مشخصات قرارداد"},
    {.name = "prot_mablagh_ejra", .kind = BoxKind::Money, .caption = "مبلغ قرارداد اجرا-تن ريال", .initial = "0", .section = "مشخصات قرارداد"},
    {.name = "city_paper_no", .kind = BoxKind::Line, .caption = "شماره نامه شهرستان", .initial = "", .section = "مکاتبات شهرستان", .flags = BoxDef::NewColumn},
    {.name = "city_paper_dat", .kind = BoxKind::Date, .caption = "تاريخ نامه شهرستان", .initial = "", .section = "مکاتبات شهرستان", .flags = BoxDef::TodayOnClick},
    {.name = "tafahomname_dat", .kind = BoxKind::Date, .caption = "تاريخ تفاهمنامه", .initial = "", .section = "مکاتبات شهرستان", .flags = BoxDef::TodayOnClick},
    {.name = "khodyari", .kind = BoxKind::Computed, .caption = "ميزان خودياري نقدي", .initial = "0", .section = "مکاتبات شهرستان", .tipTitle = "فرمول محاسبه خودياري", .tipText = "مبلغ خالص وضعيت آسفالت منهاي قير حواله در قيمت قير دريافتي شرکت تقسيم 1000", .flags = BoxDef::Rials},
    {.name = "dehyari", .kind = BoxKind::Computed, .caption = "معادل ريالي عمليات اجرايي دهياري و مردم", .initial = "0", .section = "مکاتبات شهرستان", .tipTitle = "فرمول محاسبه دهياري", .tipText = "طول مسير * 1000 بعلاوه مساحت*40 تقسيم بر 1000", .flags = BoxDef::Rials},
    {.name = "tolemasir", .kind = BoxKind::Computed, .caption = "طول مسير", .initial = "0", .section = "مکاتبات شهرستان", .tipTitle = "فرمول محاسبه طول مسير", .tipText = "مساحت طبق صورتجلسه تقسيم بر 10"},
    {.name = "prj_area", .kind = BoxKind::Line, .caption = "مساحت تقريبي پروژه", .initial = "", .section = "برآورد تقريبي قير"},
    {.name = "zekhamat", .kind = BoxKind::Line, .caption = "ضخامت تقريبي-cm", .initial = "", .section = "برآورد تقريبي قير", .flags = BoxDef::NumberText},
    {.name = "tonaj", .kind = BoxKind::Computed, .caption = "تناژ تقريبي کار", .initial = "", .section = "برآورد تقريبي قير", .tipTitle = "فرمول محاسبه تناژ", .tipText = "مساحت × ضخامت × 2.33 تقسيم بر 100", .flags = BoxDef::TipOnClick},
    {.name = "bors_price", .kind = BoxKind::Money, .caption = "قيمت روز بورس", .initial = "0", .section = "برآورد تقريبي قير"},
    {.name = "ghir_masrafi", .kind = BoxKind::Computed, .caption = "ميزان تقريبي قير مصرفي", .initial = "", .section = "برآورد تقريبي قير", .tipTitle = "فرمول محاسبه مقدار قير مصرفي", .tipText = "تناژ آسفالت × 0.06", .flags = BoxDef::TipOnClick},
    {.name = "ghir_tagh_tah", .kind = BoxKind::Computed, .caption = "ميزان تقريبي قير تهاتري", .initial = "", .section = "برآورد تقريبي قير", .tipTitle = "فرمول محاسبه قير تهاتري", .tipText = "تناژ آسفالت × مبلغ قرارداد تقسيم بر قيمت بورس", .flags = BoxDef::TipOnClick},
    {.name = "ghir_tahatori", .kind = BoxKind::Line, .caption = "ميزان قير حواله", .initial = "", .section = "برآورد تقريبي قير"},
    {.name = "tozi_dat", .kind = BoxKind::Date, .caption = "صورتجلسه کميته توزيع قير", .initial = "", .section = "برآورد تقريبي قير", .flags = BoxDef::TodayOnClick},
    {.name = "z_typ", .kind = BoxKind::Combo, .caption = "نوع ضمانتنامه", .initial = "", .valueList = "نوع ضمانتنامه", .section = "اطلاعات ضمانتنامه", .flags = BoxDef::NewColumn},
    {.name = "z_dat", .kind = BoxKind::Date, .caption = "تاريخ ضمانتنامه", .initial = "", .section = "اطلاعات ضمانتنامه", .flags = BoxDef::TodayOnClick},
    {.name = "z_bank", .kind = BoxKind::Combo, .caption = "بانک ضمانتنامه", .initial = "", .valueList = "بانک", .section = "اطلاعات ضمانتنامه"},
    {.name = "z_no", .kind = BoxKind::Line, .caption = "شماره ضمانتنامه", .initial = "", .section = "اطلاعات ضمانتنامه"},
    {.name = "z_mablagh", .kind = BoxKind::Money, .caption = "مبلغ ضمانتنامه", .initial = "", .section = "اطلاعات ضمانتنامه"},
    {.name = "taahod_dat", .kind = BoxKind::Date, .caption = "تاريخ تعهدنامه پيمانکار", .initial = "", .section = "صدور حواله شرکت نفت", .flags = BoxDef::TodayOnClick},
    {.name = "moarefi_dat", .kind = BoxKind::Date, .caption = "تاريخ معرفي نامه", .initial = "", .section = "صدور حواله شرکت نفت", .flags = BoxDef::TodayOnClick},
    {.name = "moarefi_no", .kind = BoxKind::Line, .caption = "شماره معرفي نامه پيمانکار", .initial = "", .section = "صدور حواله شرکت نفت"},
    {.name = "pishraft", .kind = BoxKind::Line, .caption = "درصد پيشرفت فيزيکي", .initial = "0", .section = "صدور حواله شرکت نفت", .flags = BoxDef::Percent},
    {.name = "tehran_paper_no", .kind = BoxKind::Line, .caption = "شماره نامه دفتر مرکزي", .initial = "", .section = "صدور حواله شرکت نفت"},
    {.name = "comp_naft_name", .kind = BoxKind::Combo, .caption = "نام شرکت نفت", .initial = "", .items = "پاسارگاد|جي", .section = "صدور حواله شرکت نفت"},
    {.name = "palayeshgah_name", .kind = BoxKind::Combo, .caption = "نام پالايشگاه", .initial = "", .items = "نفت تهران|نفت اصفهان", .section = "صدور حواله شرکت نفت"},
    {.name = "sorat_no", .kind = BoxKind::Line, .caption = "شماره نامه صورتحساب", .initial = "", .section = "صورتحساب"},
    {.name = "sorat_dat", .kind = BoxKind::Date, .caption = "تاريخ نامه صورتحساب", .initial = "", .section = "صورتحساب", .flags = BoxDef::TodayOnClick},
    {.name = "ghir_daryafti", .kind = BoxKind::Line, .caption = "قيمت قير دريافتي از شرکت", .initial = "0", .section = "صورتحساب", .flags = BoxDef::NumberText | BoxDef::Rials},
};

// What a new allocation holds in the columns that the complementary form fills later; every
// other column without a box starts empty (0 in a numeric column).
const std::pair<const char *, const char *> kInitial[] = {
    {"sorat_area", "0"}, {"sorat_area_f", "0"}, {"zarib", "0"}, {"bors_m", "0"},
    {"asfalt_price", "0"}, {"ghir_moadel", "0"}, {"jalase_dat", "    /  /  "},
};

// The allocation's key: the same contractor in the same village and county with the same
// remitted bitumen, year and introduction number.
const char *const kKey[] = {"city", "rosta", "peymankar", "ghir_tahatori", "sal", "moarefi_no"};

// The columns the update writes, in its order.
const char *const kUpdate[] = {
    "ostan", "city", "rosta", "prj_typ", "prot_no", "prot_dat",
    "peymankar", "prot_mablagh", "city_paper_no", "city_paper_dat", "tafahomname_dat", "prj_area",
    "tonaj", "zekhamat", "bors_price", "ghir_masrafi", "ghir_tahatori", "tozi_dat",
    "z_no", "z_dat", "z_bank", "z_typ", "z_mablagh", "taahod_dat",
    "moarefi_dat", "moarefi_no", "sorat_no", "sorat_dat", "ghir_daryafti", "peymankar_id",
    "reg_dat", "tehran_paper_no", "prot_no_ejra", "prot_dat_ejra", "prot_mablagh_ejra", "pishraft",
    "sal", "comp_naft_name", "palayeshgah_name", "ghir_tagh_tah", "khodyari", "dehyari",
    "tolemasir",
};

const EntryDef &decl()
{
    static const EntryDef s = {
        .objectName = "Tghir_ins",
        .caption = "ثبت/ويرايش اطلاعات اوليه قير",
        .table = "ghir",
        .boxes = kBoxes,
        .updateColumns = kUpdate,
        .insertFixed = kInitial,
        .insertEveryColumn = true,
        .duplicateKey = kKey,
        .duplicateMessage = Tghir_ins::kDuplicateError,
        .rowGoneMessage = Tghir_ins::kRowGone,
        // The edit closes silently; the insert stays open.
        .closeAfterEdit = true,
    };
    return s;
}

} // namespace

const QStringList &Tghir_ins::columns()
{
    static const QStringList cols = ColumnList(kUpdate);
    return cols;
}

Tghir_ins::Tghir_ins(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, decl(), parent)
{
    // The place cascade follows what the person types or picks, not what an opener sets; the
    // village list comes with the contractor names.
    const PlaceLevel places[] = {{combo(QStringLiteral("ostan")), "ostan"},
                                 {combo(QStringLiteral("city")), "shahrestan"},
                                 {combo(QStringLiteral("rosta")), "rosta"}};
    m_places = new PlaceCascade(ctx, this, places, PlaceCascade::ByUser);
    connect(m_places, &PlaceCascade::filled, this, [this](QComboBox *box) {
        if (box == combo(QStringLiteral("rosta")))
            fillContractorNames();
    });

    for (const char *name : {"tonaj", "ghir_masrafi", "ghir_tagh_tah", "khodyari", "dehyari", "tolemasir"})
        onEnter(QLatin1String(name), [this](QLineEdit *b) { enterComputedBox(b); });
    onCaptionClick(QStringLiteral("tonaj"), [this] {
        gf::roundBox(edit(QStringLiteral("tonaj")), captionLabel(QStringLiteral("tonaj"))->text());
    });
    connect(static_cast<QAbstractButton *>(boxButton(QStringLiteral("peymankar"))), &QAbstractButton::clicked, this,
            [this] { pickContractor(); });
}

void Tghir_ins::showEvent(QShowEvent *e)
{
    EntryForm::showEvent(e);
    if (!e->spontaneous())
        guarded(m_ctx, [this] { m_places->fillAfter(0); });
}

long double Tghir_ins::stored(const char *column) const
{
    DataSet *g = m_ctx.dm->ADOQ_ghir;
    if (!g->isOpen() || g->eof() || g->fieldIndex(QLatin1String(column)) < 0)
        throw gf::FormulaError{};
    const QString t = g->text(QLatin1String(column));
    return t.trimmed().isEmpty() ? 0.0L : gf::number(t);
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
            const long double asphalt = insert ? 0.0L : stored("asfalt_price");
            return gf::Floor(gf::divide(asphalt - num("ghir_tahatori") * num("ghir_daryafti") * 1000, 1000000));
        });
        long double k = 0;
        if (!ok || (gf::readNumber(b->text(), &k) && k < 0))
            b->setText(QStringLiteral("0"));
    } else if (name == QLatin1String("dehyari")) {
        const bool ok = !insert && gf::computeInto(b, [&] {
            const long double route = gf::Floor(stored("tolemasir")) * 1000;
            return gf::Round(gf::divide(gf::Floor(route + stored("sorat_area") * 40), 1000));
        });
        if (!ok)
            b->setText(QStringLiteral("0"));
    } else if (name == QLatin1String("tolemasir")) {
        const bool ok = !insert && gf::computeInto(b, [&] {
            return gf::Floor(gf::divide(stored("sorat_area"), 10));
        });
        if (!ok)
            b->setText(QStringLiteral("0"));
    }
}

void Tghir_ins::fillContractorNames()
{
    // Contractor names of the correspondence database, when one is configured.
    if (!m_ctx.dm->hasProt())
        return;
    DataSet *p = m_ctx.dm->ADOQ_prot;
    p->open(QStringLiteral("select distinct name from prot "));
    ReplaceComboItems(combo(QStringLiteral("peymankar")), ColumnTexts(p, QStringLiteral("name")));
}

void Tghir_ins::pickContractor()
{
    if (auto *register_ = m_ctx.form<Tpeymankar_ins>())
        if (const auto picked = register_->openAsPicker())
            setContractor(*picked);
}

void Tghir_ins::setContractor(const PickedContractor &c)
{
    setBoxText(QStringLiteral("peymankar"), c.name);
    setFixed(QStringLiteral("peymankar_id"), c.id);
}

QStringList Tghir_ins::refusals(bool)
{
    DataSet *q = m_ctx.dm->ADOQ_abadiha;
    q->open(QStringLiteral("select * from abadiha where ostan=? and shahrestan=?"),
            {QVariant(boxText(QStringLiteral("ostan"))), QVariant(boxText(QStringLiteral("city")))});
    if (q->isEmpty())
        return {kPlaceError};
    return {};
}
