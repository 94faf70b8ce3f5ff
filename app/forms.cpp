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
#include "app/login_u.h"
#include "app/main_u.h"
#include "registers/azmayeshgah_ins_u.h"
#include "registers/khadamat_ins_u.h"
#include "registers/khadamat_pic_src_u.h"
#include "registers/khadamat_pic_u.h"
#include "registers/khadamat_src_u.h"
#include "registers/etb_takhsis_u.h"
#include "registers/etebar_ins_u.h"
#include "registers/etebarat_src_u.h"
#include "registers/prj_amaliyat_u.h"
#include "registers/prj_ins_u.h"
#include "registers/prj_pish_u.h"
#include "registers/pish_items_u.h"
#include "registers/pishraft_ins_u.h"
#include "registers/amar_u.h"
#include "registers/movafeghatname_src_u.h"
#include "shared/menus.h"
#include "shared/ui.h"

void createForms(AppContext &ctx)
{
    ctx.addForm(new Tlogin(ctx));
    ctx.addForm(new Tmain(ctx));
    ctx.mainWindow = ctx.form<Tmain>();
    auto *ghirSrc = new Tghir_src(ctx);
    ctx.addForm(ghirSrc);
    Tghir_forms::attach(ctx, ghirSrc);
    Tghir_reports::attach(ctx, ghirSrc);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N13"), [ghirSrc](const PageRights &rights) { ghirSrc->openFromMain(rights); });
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
    // Technical services: the reports window, its entry form and attachment windows.
    auto *khadamatSrc = new Tkhadamat_src(ctx);
    ctx.addForm(khadamatSrc);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N19"), [khadamatSrc](const PageRights &rights) { khadamatSrc->openFromMain(rights); });
    ctx.addForm(new Tkhadamat_ins(ctx));
    ctx.addForm(new Tkhadamat_pic(ctx));
    ctx.addForm(new Tkhadamat_pic_src(ctx));

    // The credit register: the entry forms first, the window connects to them.
    ctx.addForm(new Tprj_ins(ctx));
    ctx.addForm(new Tetebar_ins(ctx));
    ctx.addForm(new Tprj_amaliyat(ctx));
    ctx.addForm(new Tprj_pish(ctx));
    ctx.addForm(new Tetb_takhsis(ctx));
    auto *etebaratSrc = new Tetebarat_src(ctx);
    ctx.addForm(etebaratSrc);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N25"), [etebaratSrc](const PageRights &rights) { etebaratSrc->openFromMain(rights); });
    // Laboratory records, physical progress and its item catalogue.
    auto *az = new Tazmayeshgah_ins(ctx);
    ctx.addForm(az);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N1"), [az](const PageRights &rights) { az->openFromMain(rights); });
    auto *pishraft = new Tpishraft_ins(ctx);
    ctx.addForm(pishraft);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N11"), [pishraft](const PageRights &rights) { pishraft->openFromMain(rights); });
    auto *items = new Tpish_items(ctx);
    ctx.addForm(items);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N12"), [items](const PageRights &rights) { items->openFromMain(rights); });

    // Statistics and agreements registers.
    auto *amar = new Tamar(ctx);
    ctx.addForm(amar);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N24"), [amar](const PageRights &rights) { amar->openFromMain(rights); });
    auto *agreements = new Tmovafeghatname_src(ctx);
    ctx.addForm(agreements);
    ctx.form<Tmain>()->bindOpener(QStringLiteral("N21"), [agreements](const PageRights &rights) { agreements->openFromMain(rights); });

    // A declared menu item without its command would do nothing when chosen: said at start-up.
    if (const QStringList unbound = UnboundMenuItems(ctx.forms()); !unbound.isEmpty())
        ctx.ui->message(QStringLiteral("خطا! اين گزينه هاي منو فرماني ندارند: ") + unbound.join(QStringLiteral("، ")));
}
