#pragma once
// The bitumen allocations' attachment templates (table zamaem_ghir): a description unique but
// for the signature pictures, an access code, and the file checked by its description.
#include "shared/attachments_window.h"

struct PageRights;

class Tzamaem_ghir : public AttachmentsWindow {
    Q_OBJECT
public:
    explicit Tzamaem_ghir(AppContext &ctx, QWidget *parent = nullptr);

    static const AttachmentTable kTable;

    // "ضمائم": `ins_btn` shown by darj, `N1` enabled by hazf; the boxes emptied, every
    // template listed.
    void openTemplates(const PageRights &rights);

    // The bitumen window's command "ضمائم" (N42): page zamaem_ghir checked, then opened.
    void templatesCommand();

    // The refusal of a file for a description, or empty: the loan signature pictures must be
    // ".jpg" or ".JPG", the loan barcode report ".rav".
    static QString extensionRefusal(const QString &description, const QString &ext);

protected:
    // Refuses a repeated or empty description (the open dialog is still shown), checks the
    // file, and stores it with the access code.
    void addFile() override;
};
