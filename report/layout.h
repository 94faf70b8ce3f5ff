#pragma once
// Report layouts as data.
//
// A layout is a JSON file in a Qt resource, one per layout, named after it:
// ":/layouts/<NAME>.json" (e.g. ":/layouts/TZEMANATNAME.json"). A folder adds its layouts
// with a .qrc of its own, for example bitumen/layouts.qrc (each folder names its .qrc apart:
// a resource file's name must be unique in the program):
//
//     <RCC><qresource prefix="/layouts">
//       <file alias="TZEMANATNAME.json">layouts/TZEMANATNAME.json</file>
//     </qresource></RCC>
//
// Lengths are millimetres; font sizes are points. x runs from the left edge of the printable
// area (inside the margins), y from the top of the element's band. The whole format, by example
// (comments are not JSON: leave them out of a real file; every key is checked, a misspelt one is
// an error):
//
// {
//   "title": "صورتجلسه مصرف قير طرح هاي {titr_lbl}",
//            // the form's own title: the heading its page prints (or, where it prints none, its
//            // menu caption), distinct for every layout; "{label}" stands for a label's text, as
//            // on the page. The preview's caption, the PDF's title and its proposed file name
//   "page": { "size": "A4", "orientation": "portrait", "margins": [10, 10, 10, 10] },
//            // size A4 | A5 | Letter; orientation portrait | landscape;
//            // margins [left, top, right, bottom], default 10 each
//   "font": { "family": "Tahoma", "size": 11 },   // default font of every element
//
//   // The detail table (optional). Its presence makes the detail band repeat once per row of
//   // the report's rows; a layout without a table (and without "field"/"rowNumber" elements in
//   // its detail band) prints its detail band once.
//   "table": {
//     "width": 190,          // optional: columns are scaled to fill it; default: their sum
//     "right": 0,            // or "x": ...; neither: the table is centred
//     "headerHeight": 12,    // height of the heading (both rows of a two-level heading)
//     "groupHeight": 6,      // height of the upper row of a two-level heading (default half)
//     "rowHeight": 7,        // least height of a detail row; rows grow to fit wrapped cells
//     "font": { "size": 10 }, "headerFont": { "family": "B Titr", "size": 10 },
//     "headerFill": "#00ffff",  // optional background of the heading
//     "border": 0.2,         // cell border width (0 = none)
//     "columns": [           // RIGHT TO LEFT: the first column is the rightmost
//       { "title": "رديف", "rowNumber": true, "width": 10 },          // running row number 1, 2, ...
//       { "title": "شهرستان", "field": "city", "width": 25 },          // a column of the rows
//       { "group": "نام پروژه", "title": "روستا", "field": "rosta", "width": 30 },
//       { "group": "نام پروژه", "title": "شهرستان", "field": "city", "width": 25, "id": "city2" },
//            // adjacent columns with the same "group" share one heading cell spanning them
//       { "title": "نوع قير", "text": "60-70", "width": 15 },          // a fixed text
//       { "title": "مبلغ", "field": "z_mablagh2", "width": 30, "align": "center",
//         "wrap": false, "font": { "size": 9 } }
//     ]
//     // a column's "id" (default: its field, else its title) lets other bands' elements stand
//     // under it: { "kind": "label", "name": "sum_tonaj", "column": "ghir_tahatori" }
//   },
//
//   "bands": {               // every band optional; drawn in this order on a page:
//     "pageHeader":   { "height": 20, "on": "every", "elements": [ ... ] },  // on: every | first
//     "title":        { "height": 60, "elements": [ ... ] },                 // first page only
//     "columnHeader": { "height": 12, "elements": [ ... ] },  // the table heading is drawn at
//                                                             // its top; repeated on every page
//     "detail":       { "height": 7, "elements": [ ... ] },   // table cells at its top
//     "summary":      { "height": 20, "elements": [ ... ] },  // after the last row
//     "pageFooter":   { "height": 25, "on": "every", "elements": [ ... ] }   // on: every | last
//   }
//   // a band may also carry "font": { ... } for its elements. A band grows to hold elements
//   // without a height (paragraphs, wrapping boxes) whose text needs more room.
// }
//
// Elements (in "elements"; every one takes "x" or "right", "y", "w", "h", "font", "align"
// (right | left | center | justify, default right) and "valign" (top | middle | bottom, default
// middle for one line, top for wrapping text); "w" defaults to the rest of the band's width,
// "h" to one line of its font, or for wrapping text to the height the text needs):
//
//   { "kind": "text", "text": "بسمه تعالي", "y": 0, "h": 8, "align": "center",
//     "font": { "family": "B Titr", "size": 12, "bold": true } }           // fixed text
//   { "kind": "label", "name": "dat", "right": 150, "y": 10, "w": 30 }    // filled by name
//        // one name may stand in several places; all show the same text. A text without
//        // Persian letters (a date, a number, a Latin code) keeps its own left-to-right order
//   { "kind": "label", "name": "masrafi", "text": "مصرفي و معادلسازي", ... }
//        // a label with "text" shows it until filled; a label without "text" must be filled
//   { "kind": "label", "name": "rosta", "x": 10, "y": 40, "w": 170, "h": 12, "wrap": true }
//        // a box that wraps its text; "border": 0.2 draws a frame around any text element
//        // (but a paragraph), its text kept 1.2 mm clear of it on either side.
//        // Nothing is ever cut: a text that needs more room than its box (or, without "h",
//        // than the room down to the next element below it) makes the box taller and moves
//        // everything under it, and its band, down; with "fit": true the box takes exactly the
//        // height its text needs, and what lies under it moves up as well. A label without
//        // "wrap" that is wider than its box wraps as well, at its blanks only: a word (a
//        // figure, a date, a code: any text without a blank) is never split. A word wider than
//        // its box is drawn smaller, down to a readable size (kMinFigurePoints); only a word
//        // still too wide then widens its box. A table column whose word would be drawn at
//        // less than four fifths of the column's size takes the room from the columns that
//        // have it. An empty label, or a date with nothing in its mask
//        // ("    /  /  "), shows a dotted line where its value goes
//   { "kind": "paragraph", "y": 30, "align": "justify",
//     "runs": [ "اينجانب", { "label": "name", "bold": true }, "فرزند", { "label": "farher" },
//               { "text": "نماينده پيمانکار", "bold": true } ] }
//        // fixed words and named labels in one right-to-left sentence that wraps; runs are
//        // joined with one blank, two filled labels side by side with a wide one; a run may set
//        // "bold", "size" and "family". An empty label keeps a dotted gap to write in, "w" mm
//        // wide (default 20); { "label": "pey_no", "gap": true } sets its value on a dotted
//        // line. Each run is laid out as a unit of its own, as a separately
//        // placed label would be: "60-70", a date or a Latin name in a run of its own reads
//        // left to right among the Persian words (inside one run the usual bidi rules apply,
//        // so keep such values in runs of their own)
//   { "kind": "field", "field": "city", "x": 100, "w": 30 }  // detail band without a table:
//   { "kind": "rowNumber", "x": 180, "w": 10 }               // a column of the row / its number
//   { "kind": "gap", "name": "pey_no", "x": 60, "y": 20, "w": 25, "h": 6 }
//        // a dotted line with a label's value set over it
//   { "kind": "line", "x": 0, "y": 20, "w": 190, "h": 0, "pen": 0.3, "style": "dot" }
//        // h 0: horizontal, w 0: vertical; style solid | dot | dash
//   { "kind": "rect", "x": 0, "y": 0, "w": 190, "h": 12, "pen": 0.2, "fill": "#00ffff" }
//   { "kind": "picture", "resource": ":/bitumen/pictures/head.png", "x": 70, "y": 0, "w": 50,
//     "h": 20 }                                              // scaled to fit, aspect kept
//
// Fonts: "family" names the layout's typeface (Tahoma, Yagut, Titr, B Titr, Zar, B Zar, Koodak,
// B Nazanin, B Lotus, Lotus, B Homa, B Zaman); report/fonts.cpp maps it onto an installed Persian
// family. "size" in points, "bold" true/false; what an element leaves out it takes from its band,
// then from the layout (table cells from the table's "font", then the column's). Every figure
// prints in Persian digits whatever the face (report/fonts.h); runs of blanks print as one.
// Justified lines stretch their blanks only, never the room between letters.
//
// Pages: the total (the summary band) stays on the page of the table's last row, and the
// signature block never stands alone on a page: when they do not fit under the last row, that
// row goes over with them. A report of more than one page carries "صفحه n از m" in the bottom
// margin of every page.
//
// Filling and showing (report/filled_report.h): FilledReport r("NAME"); r.set("label", text);
// r.setFontSize("label", points); r.setRows(*dm.ADOQuery1); ctx.ui->previewReport(r, afterPrint)
// or ctx.ui->printReport(r, afterPrint). In tests, ScriptedUi records each report with
// r.check() as ReportCall::problems: an empty list means every label the layout needs was
// filled and the rows have every column the detail prints.
#include <QColor>
#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace report {

struct FontDef {
    QString family;
    double size = 10;
    bool bold = false;
    bool operator==(const FontDef &) const = default;
};
inline size_t qHash(const FontDef &f, size_t seed = 0) noexcept
{
    return qHashMulti(seed, f.family, f.size, f.bold);
}

enum class Align { Right, Left, Center, Justify };
enum class VAlign { Default, Top, Middle, Bottom };

enum class ElementKind { Text, Label, Paragraph, Field, RowNumber, Gap, Line, Rect, Picture };

// One piece of a paragraph: a fixed word group or a named label.
struct Run {
    bool isLabel = false;
    QString text; // fixed text, or the label's name
    FontDef font;
    double w = -1;    // Label: width of its dotted gap when empty, mm (-1: the default)
    bool gap = false; // Label: its value stands on a dotted line
};

struct Element {
    ElementKind kind = ElementKind::Text;
    QString text;        // Text: the text; Label: its design text (shown until filled)
    bool hasDefault = false; // Label: has a design text, so filling it is optional
    QString name;        // Label, Gap: the label's name; Field: the column of the rows
    QString column;      // stands under this table column (takes its x and width)
    QList<Run> runs;     // Paragraph
    QString resource;    // Picture
    double x = 0, y = 0, w = -1, h = -1; // mm; w/h -1 = default (see above)
    bool fromRight = false; // x was given as "right" (distance from the right edge)
    FontDef font;
    Align align = Align::Right;
    VAlign valign = VAlign::Default;
    bool wrap = false;
    bool fit = false;    // the box takes the height its text needs
    bool columnWidth = false; // stands under a column and takes its width
    double border = 0;   // frame around a text element, mm
    double pen = 0.2;    // Line, Rect
    Qt::PenStyle penStyle = Qt::SolidLine;
    QColor fill;         // Rect background (invalid = none)
    QColor color = Qt::black;
};

struct Column {
    QString id, title, group;
    QString field;       // a column of the rows
    QString text;        // a fixed text
    bool rowNumber = false;
    double width = 20;   // mm, after scaling: the printed width
    double x = 0;        // left edge, mm from the printable area's left edge (computed)
    Align align = Align::Center;
    bool wrap = true;
    FontDef font;
};

// The smallest size a word too wide for its box is drawn at, in points, before the box widens.
constexpr double kMinFigurePoints = 6;

struct Table {
    double x = 0, width = 0; // computed placement of the whole table
    double headerHeight = 10, groupHeight = 5, rowHeight = 7;
    FontDef font, headerFont;
    QColor headerFill;
    double border = 0.2;
    QList<Column> columns;
    bool twoLevel() const;
    const Column *column(const QString &id) const;
};

enum class BandKind { PageHeader, Title, ColumnHeader, Detail, Summary, PageFooter };
constexpr int kBandCount = 6;
QString bandKey(BandKind kind); // "pageHeader", ...

struct Band {
    bool present = false;
    double height = 0;
    bool everyPage = true; // page header: every/first; page footer: every/last
    FontDef font;
    QList<Element> elements;
};

class Layout {
public:
    // The layout ":/layouts/<name>.json", read once and kept. Throws AppError naming the layout
    // and the fault when the file is missing or malformed.
    static std::shared_ptr<const Layout> load(const QString &name);
    // Parses a layout from JSON text (tests and tools). Throws AppError.
    static std::shared_ptr<const Layout> fromJson(const QByteArray &json, const QString &name);
    // Names of every layout in the resources.
    static QStringList available();

    QString name;
    QString title; // the form's Persian title, "{label}" standing for a label's text
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // mm
    FontDef font;
    std::optional<Table> table;
    Band bands[kBandCount];

    const Band &band(BandKind k) const { return bands[int(k)]; }
    QSizeF pageSizeMm() const;          // oriented
    double printableWidth() const;      // mm between the left and right margins
    // True when the detail band repeats once per row.
    bool hasRows() const;
    // Every label name the layout shows (labels, paragraph runs, gaps), in order of appearance.
    QStringList labelNames() const;
    // The labels the title names ("{label}"), in order.
    QStringList titleLabels() const;
    // Labels that have no design text (a handler must fill them).
    QStringList requiredLabels() const;
    // Columns of the rows that the detail band reads.
    QStringList fieldNames() const;
    // Picture resources the layout draws.
    QStringList pictures() const;
};

} // namespace report
