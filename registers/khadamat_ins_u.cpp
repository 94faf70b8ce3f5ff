#include "registers/khadamat_ins_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/place_combo.h"
#include "shared/messages.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
const char *const kMonths = "فروردين|ارديبهشت|خرداد|تير|مرداد|شهريور|مهر|آبان|آذر|دي|بهمن|اسفند";

const char *const kInquiries = "آمار استعلام هاي به عمل آمده (تعداد)";
const char *const kViolationKind = "نوع مواجهه با تخلفات ساختماني (تعداد)";
const char *const kFrequency = "فراواني تخلفات ساختماني (تعداد)";
const char *const kReporting = "روش انعکاسي تخلفات (تعداد)";
const char *const kLoanUnits = "تعداد واحدهاي احداثي با وام بانکي داراي تخلف";

// The figure boxes take digits only and no more than an int column holds.
constexpr int kDigits = 10;

const BoxDef kBoxes[] = {
    {.name = "ostan", .kind = BoxKind::Combo, .caption = "استان", .column = "-", .initial = "",
     .itemsSql = "select distinct ostan from abadiha ", .flags = BoxDef::Sorted},
    {.name = "city", .kind = BoxKind::Combo, .caption = "نام شهرستان", .initial = "", .flags = BoxDef::Sorted},
    {.name = "sal", .kind = BoxKind::Year, .caption = "سال", .initial = "@year", .flags = BoxDef::Required},
    {.name = "mah", .kind = BoxKind::List, .caption = "ماه", .initial = "", .items = kMonths},
    {.name = "dehyariha", .kind = BoxKind::Digits, .caption = "دهياري ها جهت صدور پروانه", .initial = "",
     .section = kInquiries},
    {.name = "fani", .kind = BoxKind::Digits, .caption = "ساير خدمات فني", .initial = "", .section = kInquiries},
    {.name = "mablagh", .kind = BoxKind::Money, .caption = "مبلغ دريافتي استعلام ها (ميليون ريال)", .initial = "",
     .section = kInquiries},
    {.name = "khalaf_par", .kind = BoxKind::Digits, .caption = "ساخت بر خلاف پروانه صادره", .initial = "",
     .section = kViolationKind},
    {.name = "bi_par", .kind = BoxKind::Digits, .caption = "ساخت بدون پروانه (و فاقد استعلام)", .initial = "",
     .section = kViolationKind},
    {.name = "bi_est", .kind = BoxKind::Digits, .caption = "صدور پروانه فاقد استعلام", .initial = "",
     .section = kViolationKind},
    {.name = "khalaf_bon", .kind = BoxKind::Digits, .caption = "صدور پروانه خلاف نظر Varnoset (استعلام)", .initial = "",
     .section = kViolationKind},
    {.name = "dakhel_m", .kind = BoxKind::Digits, .caption = "در داخل محدوده", .initial = "", .section = kFrequency},
    {.name = "kharej_m", .kind = BoxKind::Digits, .caption = "خارج از محدوده", .initial = "", .section = kFrequency},
    {.name = "farmandari", .kind = BoxKind::Digits, .caption = "توسط Varnoset شهرستان به فرمانداري", .initial = "",
     .section = kReporting},
    {.name = "ostandari", .kind = BoxKind::Digits, .caption = "توسط Varnoset استان به استانداري", .initial = "",
     .section = kReporting},
    {.name = "ehdasi", .kind = BoxKind::Digits, .caption = "تعداد واحدهاي احداثي با وام بانکي داراي تخلف", .initial = "",
     .section = kLoanUnits},
};
const char *const kKey[] = {"city", "sal", "mah"};

const EntryDef kDef = {
    .objectName = "Tkhadamat_ins",
    .caption = "ثبت/ويرايش خدمات",
    .table = "khadamat",
    .boxes = kBoxes,
    .duplicateKey = kKey,
    .duplicateMessage = QStringLiteral("اين شهرستان و سال و ماه تکراريست"),
    .editedMessage = msg::kEdited,
    .rowGoneMessage = {},
    .closeAfterInsert = false,
    .closeAfterEdit = false,
    .pairsPerRow = 2,
};
} // namespace

Tkhadamat_ins::Tkhadamat_ins(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
{
    for (const BoxDef &b : kBoxes)
        if (b.kind == BoxKind::Digits)
            edit(QLatin1String(b.name))->setMaxLength(kDigits);
    // Choosing a province lists its counties; a county may also be typed.
    const PlaceLevel places[] = {{combo(QStringLiteral("ostan")), "ostan"}, {combo(QStringLiteral("city")), "shahrestan"}};
    new PlaceCascade(ctx, this, places, PlaceCascade::Chosen, PlaceCascade::Sorted);
}

QStringList Tkhadamat_ins::months()
{
    return QString::fromUtf8(kMonths).split(QLatin1Char('|'));
}
