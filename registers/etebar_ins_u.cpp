#include "registers/etebar_ins_u.h"

#include "shared/messages.h"

namespace {

const BoxDef kBoxes[] = {
    {.name = "tamin_loc", .kind = BoxKind::Combo, .caption = "محل تامين", .initial = "",
     .items = "ملي|ماده11|استاني متوازن|استاني پيوست قانون|موافقتنامه|استاني نفت"},
    {.name = "tamin_manba", .kind = BoxKind::Combo, .caption = "منبع تامين", .initial = "",
     .items = "درآمد عمومي|ساير منابع داخلي|ساير منابع وام", .flags = BoxDef::Required},
    {.name = "sal_typ", .kind = BoxKind::Combo, .caption = "نوع سال", .initial = "", .items = "جاري|سنوات"},
    {.name = "sal", .kind = BoxKind::Year, .caption = "سال", .initial = ""},
    {.name = "typ", .kind = BoxKind::Combo, .caption = "نوع", .initial = "", .items = "مصوب|پيش بيني"},
    {.name = "mablagh", .kind = BoxKind::Money, .caption = "مبلغ اعتبار", .initial = "0"},
    {.name = "cmt", .kind = BoxKind::Line, .caption = "توضيحات", .initial = "", .width = 380},
    {.name = "dion", .kind = BoxKind::Real, .caption = "مبلغ ديون", .initial = ""},
    // The project of a new credit, handed over by the credits window; an edit leaves it as it is.
    {.name = "prj_id", .kind = BoxKind::Fixed},
};
const ParentDef kParents[] = {{QStringLiteral("prj_id"), QStringLiteral("prj"), QStringLiteral("id"), msg::kProjectGone}};
const char *const kUpdate[] = {"tamin_loc", "tamin_manba", "sal_typ", "sal", "typ", "mablagh", "cmt", "dion"};

const EntryDef kDef = {
    .objectName = "Tetebar_ins",
    .caption = "ثبت/ويرايش اعتبار",
    .table = "etebarat",
    .boxes = kBoxes,
    .updateColumns = kUpdate,
    .parents = kParents,
    .editedMessage = msg::kEdited,
};

} // namespace

Tetebar_ins::Tetebar_ins(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
{
}
