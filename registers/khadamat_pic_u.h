#pragma once
// The attachments of one monthly technical-services report: the signed report's scan and
// any other file, stored whole in khadamat_pic.
#include "shared/attachments_window.h"

#include <QVariant>

struct PageRights;

class Tkhadamat_pic : public AttachmentsWindow {
    Q_OBJECT
public:
    explicit Tkhadamat_pic(AppContext &ctx, QWidget *parent = nullptr);

    // Opened by the reports window for its current report: the rights, the report's files,
    // an empty description, then shown modally.
    void openForReport(const PageRights &rights, const QVariant &reportId);

    // The table and its columns, shared with the attachment search.
    static const AttachmentTable kTable;
    // The files of a report, numbered in the order of their descriptions.
    static QString listingSql();

protected:
    void addFile() override;

private:
    QVariant m_report;
};
