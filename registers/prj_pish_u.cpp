#include "registers/prj_pish_u.h"

#include "registers/credit_child.h"

namespace {

const BoxDef kBoxes[] = {
    creditchild::kCredit,
    creditchild::kProject,
    {.name = "item_title", .kind = BoxKind::Combo, .caption = "شرح عمليات/عنوان آيتم اجرايي", .initial = "",
     .items = creditchild::kWorkItems, .width = 300},
    {.name = "darsad", .kind = BoxKind::Line, .caption = "درصد سال", .initial = "", .flags = BoxDef::Percent},
    {.name = "sal", .kind = BoxKind::Year, .caption = "سال", .initial = ""},
};
const char *const kKey[] = {"etb_id", "item_title"};

const EntryDef kDef = creditchild::decl("Tprj_pish", "ثبت/ويرايش پيشرفت فيزيکي", "pish", kBoxes, kKey);

} // namespace

Tprj_pish::Tprj_pish(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
{
}
