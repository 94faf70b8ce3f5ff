#include "registers/prj_amaliyat_u.h"

#include "registers/credit_child.h"

namespace {

const BoxDef kBoxes[] = {
    creditchild::kCredit,
    creditchild::kProject,
    {.name = "item_title", .kind = BoxKind::Combo, .caption = "شرح عمليات/عنوان آيتم اجرايي", .initial = "",
     .items = creditchild::kWorkItems, .width = 300},
    {.name = "meghdar", .kind = BoxKind::Line, .caption = "مقدار", .initial = ""},
    {.name = "vahed", .kind = BoxKind::Combo, .caption = "واحد", .initial = "", .items = "طرح|متر|متر مربع"},
    {.name = "darsad", .kind = BoxKind::Line, .caption = "درصد از کل پروژه", .initial = "", .flags = BoxDef::Percent},
    {.name = "mablagh", .kind = BoxKind::Real, .caption = "هزينه", .initial = ""},
    {.name = "modat", .kind = BoxKind::Line, .caption = "مدت به ماه", .initial = ""},
    {.name = "cmt", .kind = BoxKind::Line, .caption = "توضيحات", .initial = "", .width = 380},
    {.name = "taahod", .kind = BoxKind::Line, .caption = "درصد سال(تعهد)", .initial = "", .flags = BoxDef::Percent},
    {.name = "sal", .kind = BoxKind::Year, .caption = "سال", .initial = ""},
};
const char *const kKey[] = {"etb_id", "item_title"};

const EntryDef kDef = creditchild::decl("Tprj_amaliyat", "ثبت/ويرايش شرح عمليات پروژه", "amaliyat", kBoxes, kKey);

} // namespace

Tprj_amaliyat::Tprj_amaliyat(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
{
}
