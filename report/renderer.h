#pragma once
// Paints a filled report, page by page, with QPainter on any device: a printer, a PDF file,
// the preview. The pages are laid out once when the renderer is made: the page header (every
// page or the first), the title (first page), the column header and the detail rows (repeated
// over as many pages as the rows need), the summary after the last row and the page footer
// (every page or the last). Inside a band, a text that needs more room than the layout gave it
// grows and moves what lies under it down; the band grows with it. A word (a figure, a date, a
// code) is never split: one too wide for its box or table cell is drawn smaller, and a table
// column whose words would be drawn at less than four fifths of its size takes the room from the
// other columns. A framed text keeps clear of its frame.
// The texts laid out to measure the pages are kept and painted as they were measured; a renderer
// is used from one thread at a time.
#include "report/filled_report.h"

#include <QRectF>
#include <QSizeF>
#include <QVector>
#include <memory>

class QPainter;

namespace report {

class TextBlock;

class Renderer {
public:
    explicit Renderer(const FilledReport &r);
    ~Renderer();

    const FilledReport &report() const { return m_report; }
    int pageCount() const { return int(m_pages.size()); }
    QSizeF pageSizeMm() const { return m_report.layout().pageSizeMm(); }

    // Paints one page (0-based). The painter's coordinates must be millimetres from the
    // paper's top-left corner; the page's white background is the caller's.
    void paintPage(QPainter &p, int page) const;

    // Where bands landed, for tests and the preview: band kind, page, top (mm), height, row.
    struct Placed {
        BandKind kind;
        double y = 0;
        double height = 0;
        int row = -1; // detail rows: the row index
    };
    const QVector<Placed> &page(int index) const { return m_pages.at(index); }

    // The text a page shows in its bottom margin ("صفحه n از m"); empty on a one-page report.
    QString pageNumberText(int page) const;

private:
    // An element of a band where it lands: x and width on the page, y from the band's top.
    struct Box {
        const Element *e = nullptr;
        QRectF r;
        bool grown = false;
        FontDef font; // text elements: the font it is drawn in (smaller for a word too wide)
        QString text;  // text elements but paragraphs: the text as printed
    };
    // A table column where it lands (mm from the printable area's left edge).
    struct ColumnPlace {
        double x = 0, width = 0;
    };
    struct BandLayout {
        QVector<Box> boxes;
        double height = 0;
    };
    BandLayout layoutBand(BandKind kind, int row) const;
    double bandHeight(BandKind kind, int row) const;
    double tableRowHeight(int row) const;
    void placeColumns();
    void paintBand(QPainter &p, const Placed &b) const;
    void paintElement(QPainter &p, const Box &box, double top) const;
    void paintTableHeader(QPainter &p, double top) const;
    void paintTableRow(QPainter &p, double top, double height, int row) const;
    void paintPageNumber(QPainter &p, int page) const;
    QString cellText(const Column &c, int row) const;
    QString elementText(const Element &e, int row) const;
    std::shared_ptr<const TextBlock> paragraph(const Element &e, double width) const;
    std::shared_ptr<const TextBlock> cellBlock(int column, int row, double *innerWidth) const;
    std::shared_ptr<const TextBlock> textBlock(const QString &text, const FontDef &font, Align align, double width,
                                               Qt::LayoutDirection dir) const;
    double widestWord(const QString &shown, const FontDef &font) const;
    struct Fitted {
        FontDef font;
        double width = 0; // the width its widest word needs at that size, when more than the box's
    };
    Fitted fitted(const QString &shown, FontDef font, double width) const;
    FontDef elementFont(const Element &e) const;
    QRectF elementRect(const Element &e, double top) const; // h may still be -1
    QRectF widened(const QRectF &r, double width, Align align) const;

    FilledReport m_report;
    QVector<QVector<Placed>> m_pages;
    QVector<int> m_fieldIndex;      // per table column: index in the rows, -1 none
    QVector<ColumnPlace> m_columns; // per table column: where it lands
    QVector<float> m_cellWords;     // per detail cell (row-major): its widest word at its own size, mm
    struct Cache;
    std::unique_ptr<Cache> m_cache; // what measuring the pages laid out, kept for painting them
};

} // namespace report
