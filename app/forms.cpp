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
    // A declared menu item without its command would do nothing when chosen: said when its
    // window is made.
    ctx.formMade = [&ctx](QWidget *w) {
        if (const QStringList unbound = UnboundMenuItems({w}); !unbound.isEmpty())
            ctx.ui->message(QStringLiteral("خطا! اين گزينه هاي منو فرماني ندارند: ") + unbound.join(QStringLiteral("، ")));
    };
    ctx.addForm<Tlogin>();
    // The main window, made at sign-in, with the openers of its menu.
    ctx.addForm<Tmain>([&ctx] {
        auto *m = new Tmain(ctx);
        ctx.mainWindow = m;
        m->bindOpener(QStringLiteral("N13"), [&ctx](const PageRights &rights) { ctx.form<Tghir_src>()->openFromMain(rights); });
        m->bindOpener(QStringLiteral("N19"), [&ctx](const PageRights &rights) { ctx.form<Tkhadamat_src>()->openFromMain(rights); });
        m->bindOpener(QStringLiteral("N25"), [&ctx](const PageRights &rights) { ctx.form<Tetebarat_src>()->openFromMain(rights); });
        m->bindOpener(QStringLiteral("N1"), [&ctx](const PageRights &rights) { ctx.form<Tazmayeshgah_ins>()->openFromMain(rights); });
        m->bindOpener(QStringLiteral("N11"), [&ctx](const PageRights &rights) { ctx.form<Tpishraft_ins>()->openFromMain(rights); });
        m->bindOpener(QStringLiteral("N12"), [&ctx](const PageRights &rights) { ctx.form<Tpish_items>()->openFromMain(rights); });
        m->bindOpener(QStringLiteral("N24"), [&ctx](const PageRights &rights) { ctx.form<Tamar>()->openFromMain(rights); });
        m->bindOpener(QStringLiteral("N21"), [&ctx](const PageRights &rights) { ctx.form<Tmovafeghatname_src>()->openFromMain(rights); });
        return m;
    });
    // Bitumen: the projects window with its forms and reports, the contractors register, the
    // entry forms, documents, attachment templates and form history.
    ctx.addForm<Tghir_src>([&ctx] {
        auto *w = new Tghir_src(ctx);
        Tghir_forms::attach(ctx, w);
        Tghir_reports::attach(ctx, w);
        return w;
    });
    ctx.addForm<Tpeymankar_ins>([&ctx] {
        auto *w = new Tpeymankar_ins(ctx);
        // A contractor picked in the register goes into the initial entry, whoever opened it.
        QObject::connect(w, &Tpeymankar_ins::picked, w, [&ctx](const PickedContractor &c) {
            ctx.form<Tghir_ins>()->setContractor(c);
        });
        return w;
    });
    ctx.addForm<Tghir_ins>();
    ctx.addForm<Tghir_ins2>();
    ctx.addForm<Tghir_pic>();
    ctx.addForm<Tzamaem_ghir>();
    ctx.addForm<Tghir_history>();
    // Technical services: the reports window, its entry form and attachment windows.
    ctx.addForm<Tkhadamat_src>();
    ctx.addForm<Tkhadamat_ins>();
    ctx.addForm<Tkhadamat_pic>();
    ctx.addForm<Tkhadamat_pic_src>();
    // The credit register: the window connects to its entry forms when it is made.
    ctx.addForm<Tprj_ins>();
    ctx.addForm<Tetebar_ins>();
    ctx.addForm<Tprj_amaliyat>();
    ctx.addForm<Tprj_pish>();
    ctx.addForm<Tetb_takhsis>();
    ctx.addForm<Tetebarat_src>();
    // Laboratory records, physical progress and its item catalogue.
    ctx.addForm<Tazmayeshgah_ins>();
    ctx.addForm<Tpishraft_ins>();
    ctx.addForm<Tpish_items>();
    // Statistics and agreements registers.
    ctx.addForm<Tamar>();
    ctx.addForm<Tmovafeghatname_src>();
}
