#include "app/forms.h"

#include "bitumen/peymankar_ins_u.h"
#include "core/context.h"
#include "core/login_u.h"
#include "core/main_u.h"

void createForms(AppContext &ctx)
{
    ctx.addForm(new Tlogin(ctx));
    ctx.addForm(new Tmain(ctx));
    ctx.addForm(new Tpeymankar_ins(ctx));
}
