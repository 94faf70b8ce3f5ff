#include "app/forms.h"

#include "bitumen/forms_u.h"
#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_history_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_pic_u.h"
#include "bitumen/ghir_reports.h"
#include "bitumen/ghir_src_u.h"
#include "bitumen/peymankar_ins_u.h"
#include "bitumen/zamaem_ghir_u.h"
#include "core/context.h"
#include "core/login_u.h"
#include "core/main_u.h"

void createForms(AppContext &ctx)
{
    ctx.addForm(new Tlogin(ctx));
    ctx.addForm(new Tmain(ctx));
    auto *ghirSrc = new Tghir_src(ctx);
    ctx.addForm(ghirSrc);
    Tghir_forms::attach(ctx, ghirSrc);
    Tghir_reports::attach(ctx, ghirSrc);
    ctx.form<Tmain>()->addOpener(QStringLiteral("N13"), Tghir_src::kMenuCaption, QStringLiteral("ghir"),
                                 [ghirSrc](const PageRights &rights) { ghirSrc->openFromMain(rights); });
    ctx.addForm(new Tpeymankar_ins(ctx));
    ctx.addForm(new Tghir_ins(ctx));
    ctx.addForm(new Tghir_ins2(ctx));
    // Bitumen documents, attachment templates and form history.
    ctx.addForm(new Tghir_pic(ctx));
    ctx.addForm(new Tzamaem_ghir(ctx));
    ctx.addForm(new Tghir_history(ctx));
}
