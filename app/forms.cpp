#include "app/forms.h"

#include "bitumen/forms_u.h"
#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_history_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_pic_u.h"
#include "bitumen/ghir_src_u.h"
#include "bitumen/peymankar_ins_u.h"
#include "bitumen/zamaem_ghir_u.h"
#include "core/context.h"
#include "core/login_u.h"
#include "core/main_u.h"
#include "registers/amar_u.h"
#include "registers/movafeghatname_src_u.h"

void createForms(AppContext &ctx)
{
    ctx.addForm(new Tlogin(ctx));
    ctx.addForm(new Tmain(ctx));
    auto *ghirSrc = new Tghir_src(ctx);
    ctx.addForm(ghirSrc);
    Tghir_forms::attach(ctx, ghirSrc);
    ctx.form<Tmain>()->addOpener(QStringLiteral("N13"), Tghir_src::kMenuCaption, QStringLiteral("ghir"),
                                 [ghirSrc](const PageRights &rights) { ghirSrc->openFromMain(rights); });
    auto *contractors = new Tpeymankar_ins(ctx);
    ctx.addForm(contractors);
    auto *ghirIns = new Tghir_ins(ctx);
    ctx.addForm(ghirIns);
    // A contractor picked in the register goes into the initial entry, whoever opened it.
    QObject::connect(contractors, &Tpeymankar_ins::picked, ghirIns, &Tghir_ins::setContractor);
    ctx.addForm(new Tghir_ins2(ctx));
    // Bitumen documents, attachment templates and form history.
    ctx.addForm(new Tghir_pic(ctx));
    ctx.addForm(new Tzamaem_ghir(ctx));
    ctx.addForm(new Tghir_history(ctx));
    // Statistics and agreements registers.
    auto *amar = new Tamar(ctx);
    ctx.addForm(amar);
    ctx.form<Tmain>()->addOpener(QStringLiteral("N24"), Tamar::kMenuCaption, QStringLiteral("amar"),
                                 [amar](const PageRights &rights) { amar->openFromMain(rights); });
    auto *agreements = new Tmovafeghatname_src(ctx);
    ctx.addForm(agreements);
    ctx.form<Tmain>()->addOpener(QStringLiteral("N21"), Tmovafeghatname_src::kMenuCaption, QStringLiteral("movafeghatname"),
                                 [agreements](const PageRights &rights) { agreements->openFromMain(rights); });
}
