#pragma once
// The documents of the bitumen allocations (table ghir_pic): the documents of the current
// allocation, or one document stored for every allocation of the bitumen window's list.
#include "shared/attachments_window.h"

struct PageRights;

class Tghir_pic : public AttachmentsWindow {
    Q_OBJECT
public:
    explicit Tghir_pic(AppContext &ctx, QWidget *parent = nullptr);

    static const AttachmentTable kTable;

    // "مستندات تصويري": the current allocation's documents; `ins_btn` shown by darj, `N1`
    // enabled by hazf.
    void openForCurrent(const PageRights &rights);
    // "انتساب يک ضميمه به تمام موارد اين ليست": a document stored for every listed
    // allocation; `ins_btn` enabled by darj, `N1` by hazf; the grid lists the current one's.
    void openForList(const PageRights &rights);

    // The bitumen window's commands: "مستندات تصويري" (N14: on an empty list it says so; page
    // g_mostanadat checked) and "انتساب يک ضميمه به تمام موارد اين ليست" (N43: on an empty
    // list it says so; without a g_mostanadat row it does nothing, silently).
    void documentsCommand();
    void attachToListCommand();

protected:
    // Stores the chosen file for the current allocation, or for every listed one; the last
    // listed allocation is then the current one of the bitumen window.
    void addFile() override;

private:
    void open(bool forList, const QString &name);
    bool m_forList = false; // the add stores for every listed allocation
};
