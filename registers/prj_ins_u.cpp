#include "registers/prj_ins_u.h"

#include "core/context.h"
#include "core/dm_u.h"
#include "shared/combo_items.h"
#include "shared/guard.h"
#include "shared/place_combo.h"
#include "shared/messages.h"

#include <QComboBox>

namespace {

const BoxDef kBoxes[] = {
    {.name = "ostan", .kind = BoxKind::Combo, .caption = "استان", .initial = ""},
    {.name = "city", .kind = BoxKind::Combo, .caption = "شهرستان", .initial = ""},
    {.name = "bakhsh", .kind = BoxKind::Combo, .caption = "بخش", .initial = ""},
    {.name = "dehestan", .kind = BoxKind::Combo, .caption = "دهستان", .initial = ""},
    {.name = "rosta", .kind = BoxKind::Combo, .caption = "روستا", .initial = ""},
    {.name = "cod", .kind = BoxKind::Combo, .caption = "کدنقطه (محل اجرا)", .initial = ""},
    {.name = "ejra_typ", .kind = BoxKind::Combo, .caption = "نوع محل اجرا", .initial = "", .items = "روستايي"},
    {.name = "prg", .kind = BoxKind::Combo, .caption = "برنامه", .initial = "", .items = "پنجم|ششم|هفتم"},
    {.name = "prg_sal1", .kind = BoxKind::Year, .caption = "سال شروع برنامه", .initial = ""},
    {.name = "prg_sal2", .kind = BoxKind::Year, .caption = "سال خاتمه برنامه", .initial = ""},
    // The two titles (up to 100 characters) each on a row of its own, wide enough for a typical one.
    {.name = "tarh_title", .kind = BoxKind::Combo, .caption = "عنوان طرح", .initial = "",
     .items = "اجراي طرحهاي هادي روستايي", .flags = BoxDef::Wide, .width = 560},
    {.name = "prj_title", .kind = BoxKind::Combo, .caption = "عنوان پروژه", .initial = "", .flags = BoxDef::Wide,
     .width = 560},
    {.name = "tarh_cod", .kind = BoxKind::Combo, .caption = "کد طرح", .initial = ""},
    {.name = "prj_cod", .kind = BoxKind::Line, .caption = "کد پروژه", .initial = ""},
    {.name = "nahve", .kind = BoxKind::Combo, .caption = "نحوه اجرا", .initial = "", .items = "پيماني"},
    {.name = "prj_typ", .kind = BoxKind::Combo, .caption = "نوع پروژه", .initial = "", .items = "احداث"},
    {.name = "prj_sal1", .kind = BoxKind::Year, .caption = "سال شروع پروژه", .initial = ""},
    {.name = "prj_sal2", .kind = BoxKind::Year, .caption = "پيش بيني سال خاتمه", .initial = ""},
    {.name = "hadaf", .kind = BoxKind::Combo, .caption = "هدف", .initial = "", .items = "اجراي طرح هادي روستايي"},
    {.name = "meghdar", .kind = BoxKind::Line, .caption = "مقدار", .initial = ""},
    {.name = "vahed", .kind = BoxKind::Combo, .caption = "واحد", .initial = "", .items = "روستا"},
    // "-1" for a new project; an edit writes the credit current in the credits window.
    {.name = "etb_id", .kind = BoxKind::Fixed, .initial = "-1"},
};
const char *const kKey[] = {"ostan", "city", "bakhsh", "rosta"};

const EntryDef kDef = {
    .objectName = "Tprj_ins",
    .caption = "ثبت/ويرايش اطلاعات پروژه",
    .table = "prj",
    .boxes = kBoxes,
    .duplicateKey = kKey,
    .duplicateMessage = QStringLiteral("خطا! استان،شهرستان و بخش تکراريست"),
    .editedMessage = msg::kEdited,
    .pairsPerRow = 2,
};

// The place boxes from the province down (the county is abadiha's column city).
const char *const kPlaces[] = {"ostan", "city", "bakhsh", "dehestan", "rosta", "cod"};

} // namespace

Tprj_ins::Tprj_ins(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
{
    // Each box's change fills the next one's list under every box above.
    std::vector<PlaceLevel> places;
    for (const char *name : kPlaces)
        places.push_back({combo(QLatin1String(name)), name});
    new PlaceCascade(ctx, this, places, PlaceCascade::Changed, PlaceCascade::EveryAbove);
}

void Tprj_ins::showEvent(QShowEvent *e)
{
    EntryForm::showEvent(e);
    guarded(m_ctx, [this] {
        FillComboFromQuery(m_ctx.dm->ADOQuery1, combo(QStringLiteral("ostan")), QStringLiteral("select distinct ostan from abadiha"));
        FillComboFromQuery(m_ctx.dm->ADOQuery1, combo(QStringLiteral("tarh_cod")), QStringLiteral("select distinct tarh_cod from prj"));
    });
}

QString Tprj_ins::logText(bool inserted) const
{
    return (inserted ? QStringLiteral("  ثبت اعتبار پروژه  ") : QStringLiteral("  ويرايش اعتبار پروژه  "))
           + boxText(QStringLiteral("city")) + QLatin1Char(' ') + boxText(QStringLiteral("rosta")) + QLatin1Char(' ')
           + boxText(QStringLiteral("prj_cod")) + QLatin1Char(' ') + m_ctx.CurrentUser.karbar;
}
