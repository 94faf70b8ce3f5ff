#pragma once
// The on-screen preview of a report: its pages one at a time with zoom and page navigation
// (a landscape page opens fitted to the preview's width, a portrait one at its real size; the
// page counter and the zoom in Persian digits),
// Print (the printer dialog, then the after-print notification once per completed job) and
// Save as PDF (no notification). Controls are found by name: print_btn, pdf_btn, zoom_in,
// zoom_out, zoom_lbl, first_page, prev_page, next_page, last_page, page_lbl, close_btn, page_view.
#include "report/printing.h"
#include "report/renderer.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;

namespace report {

class PageView;

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const FilledReport &r, Ui &ui, std::shared_ptr<PrintJob> job, Ui::AfterPrint afterPrint,
                  QWidget *parent = nullptr);
    ~ReportPreview() override;

    const Renderer &renderer() const { return m_renderer; }
    int pageCount() const { return m_renderer.pageCount(); }
    int currentPage() const { return m_page; } // 0-based
    double zoom() const { return m_zoom; }     // 1 = the paper's real size on the screen
    int printedJobs() const { return m_printed; }

public slots:
    void print();
    void savePdf();
    void setPage(int page);
    void zoomIn();
    void zoomOut();

protected:
    // The first showing fits a landscape page to the preview's width.
    void showEvent(QShowEvent *e) override;

private:
    void refresh();
    double pixelsPerMm() const;

    Renderer m_renderer;
    Ui &m_ui;
    std::shared_ptr<PrintJob> m_job;
    Ui::AfterPrint m_afterPrint;
    int m_page = 0;
    double m_zoom = 1.0;
    bool m_opened = false;
    int m_printed = 0;
    PageView *m_view = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_pageLbl = nullptr;
    QLabel *m_zoomLbl = nullptr;
    QPushButton *m_first = nullptr, *m_prev = nullptr, *m_next = nullptr, *m_last = nullptr;
};

} // namespace report
