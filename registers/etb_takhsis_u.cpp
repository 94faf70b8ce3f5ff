#include "registers/etb_takhsis_u.h"

#include "registers/credit_child.h"

namespace {

const BoxDef kBoxes[] = {
    creditchild::kCredit,
    creditchild::kProject,
    {.name = "zaman", .kind = BoxKind::Combo, .caption = "زمان تخصيص", .initial = "",
     .items = "3 ماهه|6 ماهه|9 ماهه|12 ماهه"},
    {.name = "mablagh", .kind = BoxKind::Money, .caption = "ميزان تخصيص", .initial = ""},
};
const char *const kKey[] = {"etb_id", "zaman"};

const EntryDef kDef = creditchild::decl("Tetb_takhsis", "ثبت/ويرايش تخصيص", "takhsis", kBoxes, kKey);

} // namespace

Tetb_takhsis::Tetb_takhsis(AppContext &ctx, QWidget *parent)
    : EntryForm(ctx, kDef, parent)
{
}
