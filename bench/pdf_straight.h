#pragma once
// The reference of the report benchmarks: the cells of the 1,000-row detail report drawn
// straight with QPainter on a QPdfWriter, page after page, with no layout of our own: the page
// header, the title line on the first page, the two-level column heading on every page, each
// row's seven cells (digits as Persian digits, as the report prints them) with their borders,
// the totals and the page footer. The page breaks fall where the report's do (30 pages).
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QStringList>

namespace pdf_straight {

constexpr int kRows = 1000;

// The texts of row i, as the report's rows hold them.
inline QStringList rowCells(int i)
{
    return {QStringLiteral("شاهرود %1").arg(i % 40), QStringLiteral("روستاي حسن آباد %1").arg(i),
            QString::number(10 + i % 90), QStringLiteral("123,456,789"), QStringLiteral("1,481,481,468")};
}

inline QString persianDigits(QString s)
{
    for (QChar &c : s)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(0x06F0 + (c.unicode() - '0'));
    return s;
}

// A font of `points` in hundredths of a millimetre.
inline QFont font(const QString &family, double points, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(qRound(points * 25.4 / 72.0 * 100));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

// Writes the PDF; the number of pages.
inline int write(const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
    QPainter p(&writer);
    // Hundredths of a millimetre from the paper's corner.
    const double scale = writer.logicalDpiX() / 25.4 / 100.0;
    p.scale(scale, scale);
    const QFont body = font(QStringLiteral("Nazli"), 10), head = font(QStringLiteral("Titr"), 9),
                big = font(QStringLiteral("Titr"), 12), sans = font(QStringLiteral("Noto Sans Arabic"), 9);
    const double left = 1000, width = 19000, top = 1000, bottom = 28700;
    const double widths[] = {1200, 2800, 3400, 2200, 3000, 1800, 4600}; // right to left
    const QString titles[] = {QStringLiteral("رديف"), QStringLiteral("شهرستان"), QStringLiteral("روستا"),
                              QStringLiteral("تناژ قير 70-60"), QStringLiteral("قيمت بورس"),
                              QStringLiteral("ضريب افزايش"), QStringLiteral("مبلغ ضمانتنامه")};
    const Qt::Alignment centre = Qt::AlignCenter | Qt::AlignAbsolute;
    auto cellRow = [&](double y, double h, const QStringList &texts, const QFont &f) {
        p.setFont(f);
        double x = left + width;
        for (int c = 0; c < 7; ++c) {
            x -= widths[c];
            const QRectF r(x, y, widths[c], h);
            p.drawRect(r);
            p.drawText(r, centre, texts.value(c));
        }
    };
    int row = 0, pages = 0;
    while (row < kRows) {
        if (pages++)
            writer.newPage();
        double y = top;
        p.setFont(big);
        p.drawText(QRectF(left, y, width, 700), centre, QStringLiteral("بسمه تعالي"));
        p.setFont(sans);
        p.drawText(QRectF(left, y, 4000, 700), Qt::AlignLeft | Qt::AlignVCenter | Qt::AlignAbsolute,
                   QStringLiteral("1401/09/05"));
        y += 1400;
        if (pages == 1) {
            p.setFont(body);
            p.drawText(QRectF(left, y + 200, width, 2600), Qt::AlignRight | Qt::AlignAbsolute | Qt::TextWordWrap,
                       QStringLiteral("خواهشمند است نسبت به معرفي شرکت شرکت راهسازان کوير به منظور دريافت ضمانتنامه "
                                      "بانکي/معتبر به مبلغ ذيل اقدام لازم معمول گردد."));
            y += 3000;
        }
        // The two-level heading: the group over its two columns, the titles under it.
        p.setFont(head);
        p.fillRect(QRectF(left, y, width, 1200), QColor(0xbf, 0xef, 0xff));
        QStringList heading;
        for (const QString &t : titles)
            heading << persianDigits(t);
        const double group = left + width - widths[0] - widths[1] - widths[2];
        p.drawRect(QRectF(group - widths[3] - widths[4], y, widths[3] + widths[4], 600));
        p.drawText(QRectF(group - widths[3] - widths[4], y, widths[3] + widths[4], 600), centre, QStringLiteral("قير"));
        cellRow(y + 600, 600, heading, head);
        y += 1200;
        const double footer = bottom - 800;
        while (row < kRows && y + 700 <= footer) {
            QStringList cells{persianDigits(QString::number(row + 1))};
            for (const QString &t : rowCells(row))
                cells << persianDigits(t);
            cells.insert(5, persianDigits(QStringLiteral("1.2")));
            cellRow(y, 700, cells, body);
            y += 700;
            ++row;
        }
        if (row == kRows) {
            p.setFont(body);
            p.drawRect(QRectF(left + 4600 + 1800 + 3000, y, 2200, 700));
            p.drawText(QRectF(left + 4600 + 1800 + 3000, y, 2200, 700), centre, persianDigits(QStringLiteral("12,500")));
            p.drawRect(QRectF(left, y, 4600, 700));
            p.drawText(QRectF(left, y, 4600, 700), centre, persianDigits(QStringLiteral("1,234,567,890,000")));
        }
        p.drawLine(QLineF(left, footer, left + width, footer));
        p.setFont(sans);
        p.drawText(QRectF(left, footer + 100, 6000, 700), Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute,
                   QStringLiteral("محمد احمدي"));
    }
    p.end();
    return pages;
}

} // namespace pdf_straight
