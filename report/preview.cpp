#include "report/preview.h"

#include "report/fonts.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <QtMath>

namespace report {

// One page of the report, painted at the preview's zoom.
class PageView : public QWidget {
public:
    PageView(const Renderer &r, QWidget *parent) : QWidget(parent), m_renderer(r)
    {
        setObjectName(QStringLiteral("page_view"));
    }
    void showPage(int page, double pixelsPerMm)
    {
        m_page = page;
        m_scale = pixelsPerMm;
        const QSizeF mm = m_renderer.pageSizeMm();
        setFixedSize(qCeil(mm.width() * m_scale), qCeil(mm.height() * m_scale));
        update();
    }
    int page() const { return m_page; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.scale(m_scale, m_scale);
        m_renderer.paintPage(p, m_page);
    }

private:
    const Renderer &m_renderer;
    int m_page = 0;
    double m_scale = 1;
};

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}
constexpr double kMinZoom = 0.25, kMaxZoom = 4.0, kZoomStep = 1.25;
} // namespace

ReportPreview::ReportPreview(const FilledReport &r, Ui &ui, std::shared_ptr<PrintJob> job,
                             Ui::AfterPrint afterPrint, QWidget *parent)
    : QDialog(parent), m_renderer(r), m_ui(ui), m_job(std::move(job)), m_afterPrint(std::move(afterPrint))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(r.title());
    setLayoutDirection(Qt::RightToLeft);
    setModal(true);

    auto *printBtn = button(this, "print_btn", QStringLiteral("چاپ"));
    auto *pdfBtn = button(this, "pdf_btn", QStringLiteral("PDF"));
    auto *zoomIn = button(this, "zoom_in", QStringLiteral("+"));
    auto *zoomOut = button(this, "zoom_out", QStringLiteral("-"));
    m_zoomLbl = new QLabel(this);
    m_zoomLbl->setObjectName(QStringLiteral("zoom_lbl"));
    // Right to left: the first page is to the right and the pages go leftwards, so each arrow
    // points where its page lies: the first and the previous to the right, the next and the
    // last to the left. Arrows that are drawn (not mirrored letters) keep their direction.
    m_first = button(this, "first_page", QStringLiteral("⇥"));
    m_prev = button(this, "prev_page", QStringLiteral("→"));
    m_next = button(this, "next_page", QStringLiteral("←"));
    m_last = button(this, "last_page", QStringLiteral("⇤"));
    const QList<std::pair<QPushButton *, QString>> tips{{m_first, QStringLiteral("صفحه اول")},
                                                         {m_prev, QStringLiteral("صفحه قبل")},
                                                         {m_next, QStringLiteral("صفحه بعد")},
                                                         {m_last, QStringLiteral("صفحه آخر")}};
    for (const auto &[b, tip] : tips)
        b->setToolTip(tip);
    m_pageLbl = new QLabel(this);
    m_pageLbl->setObjectName(QStringLiteral("page_lbl"));
    auto *closeBtn = button(this, "close_btn", QStringLiteral("بستن"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(printBtn);
    bar->addWidget(pdfBtn);
    bar->addSpacing(12);
    bar->addWidget(zoomIn);
    bar->addWidget(m_zoomLbl);
    bar->addWidget(zoomOut);
    bar->addSpacing(12);
    bar->addWidget(m_first);
    bar->addWidget(m_prev);
    bar->addWidget(m_pageLbl);
    bar->addWidget(m_next);
    bar->addWidget(m_last);
    bar->addStretch(1);
    bar->addWidget(closeBtn);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pages"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView(m_renderer, m_scroll);
    m_scroll->setWidget(m_view);

    auto *lay = new QVBoxLayout(this);
    lay->addLayout(bar);
    lay->addWidget(m_scroll, 1);

    connect(printBtn, &QPushButton::clicked, this, &ReportPreview::print);
    connect(pdfBtn, &QPushButton::clicked, this, &ReportPreview::savePdf);
    connect(zoomIn, &QPushButton::clicked, this, &ReportPreview::zoomIn);
    connect(zoomOut, &QPushButton::clicked, this, &ReportPreview::zoomOut);
    connect(m_first, &QPushButton::clicked, this, [this] { setPage(0); });
    connect(m_prev, &QPushButton::clicked, this, [this] { setPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { setPage(m_page + 1); });
    connect(m_last, &QPushButton::clicked, this, [this] { setPage(pageCount() - 1); });
    connect(closeBtn, &QPushButton::clicked, this, &QDialog::reject);

    QSize size(1000, 900);
    if (QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size());
    resize(size);
    refresh();
}

ReportPreview::~ReportPreview() = default;

double ReportPreview::pixelsPerMm() const
{
    return (logicalDpiX() > 0 ? logicalDpiX() : 96) / 25.4;
}

void ReportPreview::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (m_opened || e->spontaneous())
        return;
    m_opened = true;
    // A landscape page opens as wide as the preview, wholly in sight; a portrait page at its
    // real size. The room is the pages' area without scroll bars, less the vertical one where
    // the page at that width is taller than the area.
    const QSizeF mm = m_renderer.pageSizeMm();
    if (mm.width() <= mm.height())
        return;
    const QSize room = m_scroll->maximumViewportSize();
    const double width = mm.width() * pixelsPerMm();
    double zoom = (room.width() - 1) / width;
    if (mm.height() * pixelsPerMm() * zoom > room.height())
        zoom = (room.width() - 1 - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll)) / width;
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    refresh();
}

void ReportPreview::refresh()
{
    m_view->showPage(m_page, pixelsPerMm() * m_zoom);
    // The page counter ("۲ از ۵", as the letters number their pages) and the zoom in Persian
    // digits, as on the printed pages.
    m_pageLbl->setText(persianFigures(QStringLiteral("%1 از %2").arg(m_page + 1).arg(pageCount())));
    m_zoomLbl->setText(persianFigures(QString::number(qRound(m_zoom * 100))) + QChar(0x066A));
    m_first->setEnabled(m_page > 0);
    m_prev->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < pageCount());
    m_last->setEnabled(m_page + 1 < pageCount());
}

void ReportPreview::setPage(int page)
{
    m_page = std::clamp(page, 0, std::max(0, pageCount() - 1));
    refresh();
}

void ReportPreview::zoomIn()
{
    m_zoom = std::min(kMaxZoom, m_zoom * kZoomStep);
    refresh();
}

void ReportPreview::zoomOut()
{
    m_zoom = std::max(kMinZoom, m_zoom / kZoomStep);
    refresh();
}

void ReportPreview::print()
{
    // The rows are the snapshot taken when the preview opened: every print prints the same.
    if (runPrint(m_ui, *m_job, m_renderer.report(), m_afterPrint, this) == Ui::Printed)
        ++m_printed;
}

void ReportPreview::savePdf()
{
    QString path = m_ui.saveFileName(QStringLiteral("ذخيره فايل PDF"), m_renderer.report().fileName() + QStringLiteral(".pdf"),
                                     QStringLiteral("PDF (*.pdf)"), this);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (!writePdf(m_renderer.report(), path))
        m_ui.message(kPdfFailedMessage, this);
}

} // namespace report
