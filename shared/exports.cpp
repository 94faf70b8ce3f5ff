#include "shared/exports.h"

#include "core/busy.h"

#include "core/context.h"
#include "core/dataset.h"
#include "shared/ui.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <xlsxwriter.h>

const QString kExportWriteError = QStringLiteral("خطا! فايل %1 نوشته نشد: %2");
const QString kExportTooManyRows = QStringLiteral("خطا! تعداد رديف ها بيش از گنجايش يک برگ اکسل است");
const QString kExportProgress = QStringLiteral("در حال تهيه گزارش ...");

namespace {

// The workbooks in the temp folder, removed when the program ends: the last one of each kind (by
// its titles). The fixed names (the HTML pages, the files opened from attachments) stay where
// they were written: a browser or a viewer may still show them.
struct Workbooks {
    QSet<QString> files;
    QHash<QString, QString> last;
    ~Workbooks() { removeAll(); }
    void removeAll()
    {
        for (const QString &f : std::as_const(files))
            QFile::remove(f);
        files.clear();
        last.clear();
    }
    // A finished workbook replaces the one of its kind before it; one still open elsewhere
    // stays in the list, to go at the end.
    void replace(const QString &kind, const QString &path)
    {
        const QString before = last.value(kind);
        if (!before.isEmpty() && before != path && QFile::remove(before))
            files.remove(before);
        last.insert(kind, path);
        files.insert(path);
    }
};

Workbooks &workbooks()
{
    static Workbooks w;
    return w;
}

} // namespace

QString TempExportPath(const QString &fileName)
{
    return QDir(QDir::tempPath()).filePath(fileName);
}

void RemoveTempFiles()
{
    workbooks().removeAll();
}

namespace {

constexpr int kProgressEvery = 1000;

QString titleOf(const QHash<QString, QString> &titles, const QString &field)
{
    QList<ExportColumn> columns;
    for (auto i = titles.constBegin(); i != titles.constEnd(); ++i)
        columns << ExportColumn(i.key(), i.value());
    return ColumnTitle(columns, field);
}

// Excel's numbers hold 15 significant digits: a value is written as a number rounded to them;
// larger whole numbers stay text, so long codes keep every digit.
bool asNumber(const QVariant &v, double *out)
{
    if (v.isNull())
        return false;
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return false;
        *out = (d == std::floor(d) && std::fabs(d) < 1e15) ? d : QString::number(d, 'g', 15).toDouble();
        return true;
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong: {
        const qint64 n = v.toLongLong();
        if (n <= -1000000000000000LL || n >= 1000000000000000LL)
            return false;
        *out = double(n);
        return true;
    }
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 n = v.toULongLong();
        if (n >= 1000000000000000ULL)
            return false;
        *out = double(n);
        return true;
    }
    default:
        return false;
    }
}

// Row 1: A..AA bold, A..M with slanted dash-dot borders (line style 13); from row 2, A..M of
// every row with continuous (thin) borders.
constexpr int kBoldLast = 26;   // AA
constexpr int kBorderLast = 12; // M

} // namespace

struct SheetWriter::Private {
    QStringList titles;
    QString path;
    QByteArray pathBytes, tmpBytes;
    lxw_workbook *wb = nullptr;
    lxw_worksheet *ws = nullptr;
    lxw_format *cellBorder = nullptr;
    lxw_row_t next = 1;
    QString error;
    bool finished = false;
    QByteArray text; // the cell text being written, reused from cell to cell
    QStringEncoder utf8{QStringEncoder::Utf8};

    // Text as a cell holds it, in `text`: the value's text as stored, its control characters
    // as blanks, at most the cell's 32,767 characters. False for an empty text.
    bool cellText(QStringView t)
    {
        t = t.left(32767);
        text.resize(t.size() * 3 + 1);
        char *const begin = text.data();
        char *const end = utf8.appendToBuffer(begin, t);
        *end = '\0';
        // UTF-8 keeps every byte below 0x80 for its own character.
        for (char *p = begin; p < end; ++p)
            if (static_cast<unsigned char>(*p) < 0x20 && *p != '\n' && *p != '\t')
                *p = ' ';
        return end != begin;
    }

    // One data row: every titled column, bordered up to the last bordered one; cell(r, c,
    // columns, format) writes a cell. False once anything failed.
    template <class Cell> bool writeRow(Cell cell)
    {
        if (!ws || !error.isEmpty())
            return false;
        if (next >= LXW_ROW_MAX) {
            error = kExportTooManyRows;
            return false;
        }
        const lxw_row_t r = next++;
        const int cols = titles.size();
        for (int c = 0; c < qMax(cols, kBorderLast + 1); ++c)
            if (!fail(cell(r, c, cols, c <= kBorderLast ? cellBorder : nullptr)))
                return false;
        return true;
    }

    bool fail(lxw_error e)
    {
        if (e && error.isEmpty())
            error = QString::fromUtf8(lxw_strerror(e));
        return !e;
    }
    // A value's cell: a number as a number, anything else as its text; an empty text, or a
    // null, a blank cell.
    lxw_error write(lxw_row_t r, int c, const QVariant &v, lxw_format *fmt)
    {
        double number = 0;
        if (asNumber(v, &number))
            return worksheet_write_number(ws, r, lxw_col_t(c), number, fmt);
        const bool any = v.typeId() == QMetaType::QString ? cellText(*static_cast<const QString *>(v.constData()))
                                                          : cellText(DataSet::valueText(v));
        if (!any)
            return fmt ? worksheet_write_blank(ws, r, lxw_col_t(c), fmt) : LXW_NO_ERROR;
        return worksheet_write_string(ws, r, lxw_col_t(c), text.constData(), fmt);
    }
    // A cell as a listing holds it: its text already UTF-8, written without a QString.
    lxw_error write(lxw_row_t r, int c, const RowStore::Cell &cell, lxw_format *fmt)
    {
        if (cell.tag != RowStore::Text || cell.size > 32767)
            return write(r, c, RowStore::toVariant(cell), fmt);
        if (cell.size == 0)
            return fmt ? worksheet_write_blank(ws, r, lxw_col_t(c), fmt) : LXW_NO_ERROR;
        text.resize(qsizetype(cell.size) + 1);
        char *out = text.data();
        for (const char *p = cell.data, *e = cell.data + cell.size; p < e; ++p)
            *out++ = (static_cast<unsigned char>(*p) < 0x20 && *p != '\n' && *p != '\t') ? ' ' : *p;
        *out = '\0';
        return worksheet_write_string(ws, r, lxw_col_t(c), text.constData(), fmt);
    }
};

SheetWriter::SheetWriter(const QStringList &titles)
    : d(new Private)
{
    d->titles = titles;
}

SheetWriter::~SheetWriter()
{
    if (d->wb)
        workbook_close(d->wb);
    if (!d->finished && !d->path.isEmpty())
        QFile::remove(d->path);
}

QString SheetWriter::path() const { return d->path; }
QString SheetWriter::errorString() const { return d->error; }

bool SheetWriter::open()
{
    // A name of its own for each export: an earlier one may still be open in the spreadsheet program.
    {
        QTemporaryFile f(TempExportPath(QStringLiteral("Tobrenhal_XXXXXX.xlsx")));
        f.setAutoRemove(false);
        if (!f.open()) {
            d->error = f.errorString();
            d->path = f.fileName();
            return false;
        }
        d->path = f.fileName();
    }
    d->pathBytes = QFile::encodeName(d->path);
    d->tmpBytes = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options opt{};
    opt.constant_memory = LXW_TRUE;
    opt.tmpdir = d->tmpBytes.data();
    d->wb = workbook_new_opt(d->pathBytes.constData(), &opt);
    d->ws = d->wb ? workbook_add_worksheet(d->wb, "Sheet1") : nullptr;
    if (!d->ws) {
        d->error = QStringLiteral("workbook");
        return false;
    }
    lxw_format *bold = workbook_add_format(d->wb);
    format_set_bold(bold);
    lxw_format *titleBorder = workbook_add_format(d->wb);
    format_set_bold(titleBorder);
    format_set_border(titleBorder, LXW_BORDER_SLANT_DASH_DOT);
    d->cellBorder = workbook_add_format(d->wb);
    format_set_border(d->cellBorder, LXW_BORDER_THIN);

    const int cols = d->titles.size();
    if (cols > 0 && !d->fail(worksheet_set_column(d->ws, 0, lxw_col_t(cols - 1), 10, nullptr)))
        return false;
    for (int c = 0; c < qMax(cols, kBoldLast + 1); ++c) {
        lxw_format *fmt = c <= kBorderLast ? titleBorder : bold;
        if (!d->fail(d->write(0, c, c < cols ? QVariant(d->titles.at(c)) : QVariant(), fmt)))
            return false;
    }
    return true;
}

bool SheetWriter::row(const QVariantList &values)
{
    return row(values.constData(), int(values.size()));
}

bool SheetWriter::row(const QVariant *values, int count)
{
    return d->writeRow([&](lxw_row_t r, int c, int cols, lxw_format *fmt) {
        return d->write(r, c, c < cols && c < count ? values[c] : QVariant(), fmt);
    });
}

bool SheetWriter::row(const RowStore::Cell *cells, int count, const QVariantList &more)
{
    return d->writeRow([&](lxw_row_t r, int c, int cols, lxw_format *fmt) {
        return c < count ? d->write(r, c, cells[c], fmt) : d->write(r, c, c < cols ? more.value(c - count) : QVariant(), fmt);
    });
}

bool SheetWriter::finish()
{
    if (!d->wb)
        return false;
    const lxw_error closed = workbook_close(d->wb);
    d->wb = nullptr;
    d->fail(closed);
    if (!d->error.isEmpty())
        return false;
    d->finished = true;
    workbooks().replace(d->titles.join(QLatin1Char('\t')), d->path);
    return true;
}

QString ExportToExcel(AppContext &ctx, DataSet *ds, const QHash<QString, QString> &titles)
{
    const BusyCursor busy;
    const QStringList fields = ds ? ds->fieldNames() : QStringList();
    const int rows = ds ? ds->recordCount() : 0;
    if (rows + 1 > LXW_ROW_MAX) {
        ctx.ui->message(kExportTooManyRows);
        return {};
    }
    QStringList heads;
    for (const QString &f : fields)
        heads << titleOf(titles, f);
    SheetWriter sheet(heads);
    bool ok = sheet.open();
    const auto progress = ctx.ui->startProgress(kExportProgress, rows);
    // The cells as the listing holds them; calculated fields as their values.
    const int stored = ds ? ds->storedColumnCount() : 0;
    QVector<RowStore::Cell> cells(stored);
    QVariantList more;
    for (int r = 0; r < rows && ok; ++r) {
        ds->storedCells(r, cells.data());
        more.clear();
        for (int c = stored; c < fields.size(); ++c)
            more << ds->valueAt(r, c);
        ok = sheet.row(cells.constData(), stored, more);
        if ((r + 1) % kProgressEvery == 0 && !progress->step(r + 1))
            return {}; // cancelled: the file goes with the writer
    }
    if (!ok || !sheet.finish()) {
        ctx.ui->message(kExportWriteError.arg(sheet.path(), sheet.errorString()));
        return {};
    }
    ctx.ui->openFile(sheet.path());
    return sheet.path();
}

// ---- HTML --------------------------------------------------------------------

namespace {

// The one escaping rule of the HTML exports, for every text they write (the title, the headings,
// the row cells and the totals cells): "&", "<" and ">" become their entities, every other
// character stays. Returns the entity of `c`, empty when `c` stays as it is.
inline QLatin1StringView htmlEntity(char16_t c)
{
    switch (c) {
    case '&': return QLatin1StringView("&amp;");
    case '<': return QLatin1StringView("&lt;");
    case '>': return QLatin1StringView("&gt;");
    default: return {};
    }
}

} // namespace

QString HtmlEscape(const QString &text)
{
    const char16_t *begin = QStringView(text).utf16(), *end = begin + text.size(), *p = begin;
    while (p < end && htmlEntity(*p).isEmpty())
        ++p;
    if (p == end)
        return text; // nothing to escape: the text itself, not a copy
    QString out;
    out.reserve(text.size() + 16);
    out.append(QStringView(begin, p));
    for (; p < end; ++p) {
        const QLatin1StringView entity = htmlEntity(*p);
        if (entity.isEmpty())
            out.append(QChar(*p));
        else
            out.append(entity);
    }
    return out;
}

const QString kRowNumberHeader = QStringLiteral("رديف");
const QString kHeaderRow = QStringLiteral("<tr bgcolor=\"#22ddff\" valign=\"middle\">");

struct HtmlTableWriter::Private {
    explicit Private(const QString &fileName) : file(fileName) {}
    void line(const QString &text)
    {
        buf += text.toUtf8();
        buf += "\r\n";
        if (buf.size() >= (1 << 20))
            flush();
    }
    // A cell's line, "<td>" + the text escaped (htmlEntity) + "</td>", written as UTF-8 straight
    // into the buffer (the same bytes as line() of HtmlEscape(text)).
    void cell(QStringView text)
    {
        qsizetype n = buf.size();
        // At most three bytes for each UTF-16 unit; an escaped sign takes five.
        buf.resize(n + 4 + text.size() * 5 + 7);
        char *out = buf.data() + n;
        std::memcpy(out, "<td>", 4);
        out += 4;
        const char16_t *p = text.utf16(), *end = p + text.size();
        while (p < end) {
            const char16_t c = *p;
            if (c < 0x80) {
                const QLatin1StringView entity = htmlEntity(c);
                if (entity.isEmpty()) {
                    *out++ = char(c);
                } else {
                    std::memcpy(out, entity.data(), size_t(entity.size()));
                    out += entity.size();
                }
                ++p;
            } else if (c < 0x800) {
                *out++ = char(0xC0 | (c >> 6));
                *out++ = char(0x80 | (c & 0x3F));
                ++p;
            } else if (QChar::isHighSurrogate(c) || QChar::isLowSurrogate(c)) {
                // A surrogate pair (or a lone surrogate) as the text codec writes it.
                const qsizetype units = (QChar::isHighSurrogate(c) && p + 1 < end && QChar::isLowSurrogate(p[1])) ? 2 : 1;
                const QByteArray bytes = QStringView(p, units).toUtf8();
                std::memcpy(out, bytes.constData(), size_t(bytes.size()));
                out += bytes.size();
                p += units;
            } else {
                *out++ = char(0xE0 | (c >> 12));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
                ++p;
            }
        }
        std::memcpy(out, "</td>\r\n", 7);
        out += 7;
        buf.resize(out - buf.data());
        if (buf.size() >= (1 << 20))
            flush();
    }
    void flush()
    {
        if (ok && !buf.isEmpty() && file.write(buf) != buf.size())
            ok = false;
        buf.clear();
    }
    QSaveFile file;
    QString title;
    QStringList headers;
    QByteArray buf;
    bool ok = true;
};

HtmlTableWriter::HtmlTableWriter(const QString &fileName, const QString &title, const QStringList &headers)
    : d(new Private(fileName))
{
    d->title = title;
    d->headers = headers;
}

HtmlTableWriter::~HtmlTableWriter() = default; // an uncommitted QSaveFile leaves no file

QString HtmlTableWriter::errorString() const
{
    return d->file.errorString();
}

bool HtmlTableWriter::open()
{
    if (!d->file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // The byte order mark as well as the declared charset: a spreadsheet program opening
    // the table as ".xls" goes by the mark.
    d->line(QString(QChar(0xFEFF)) + QStringLiteral("<html>"));
    d->line(QStringLiteral("<head><meta charset=\"utf-8\"><title>") + HtmlEscape(d->title) + QStringLiteral("</title></head>"));
    d->line(QStringLiteral("<body>"));
    d->line(QStringLiteral("<table dir=\"rtl\" border=\"1\" align=\"center\" width=\"95%\">"));
    d->line(QStringLiteral("<thead>"));
    d->line(kHeaderRow);
    d->line(QStringLiteral("<th>") + kRowNumberHeader + QStringLiteral("</th>"));
    for (const QString &h : d->headers)
        d->line(QStringLiteral("<th>") + HtmlEscape(h) + QStringLiteral("</th>"));
    d->line(QStringLiteral("</tr>"));
    d->line(QStringLiteral("</thead>"));
    d->line(QStringLiteral("<tbody>"));
    return true;
}

void HtmlTableWriter::row(qint64 number, const QStringList &cells)
{
    beginRow(number);
    for (int c = 0; c < d->headers.size(); ++c)
        d->cell(c < cells.size() ? QStringView(cells.at(c)) : QStringView());
    endRow();
}

void HtmlTableWriter::beginRow(qint64 number)
{
    d->buf += "<tr>\r\n<td>";
    d->buf += QByteArray::number(number);
    d->buf += "</td>\r\n";
}

void HtmlTableWriter::cell(QStringView text)
{
    d->cell(text);
}

void HtmlTableWriter::utf8Cell(QByteArrayView text)
{
    // Written straight into the buffer, as Private::cell writes a cell.
    const qsizetype n = d->buf.size();
    d->buf.resize(n + 4 + text.size() * 5 + 7);
    char *out = d->buf.data() + n;
    std::memcpy(out, "<td>", 4);
    out += 4;
    for (const char *p = text.data(), *end = p + text.size(); p < end; ++p) {
        const QLatin1StringView entity = htmlEntity(char16_t(static_cast<unsigned char>(*p)));
        if (entity.isEmpty()) {
            *out++ = *p;
        } else {
            std::memcpy(out, entity.data(), size_t(entity.size()));
            out += entity.size();
        }
    }
    std::memcpy(out, "</td>\r\n", 7);
    out += 7;
    d->buf.resize(out - d->buf.data());
    if (d->buf.size() >= (1 << 20))
        d->flush();
}

void HtmlTableWriter::numberCell(double value)
{
    // A whole number as its digits. Another, when its shortest exact text has at most 15
    // significant digits and no exponent, as that text: the text DataSet::valueText writes too.
    // Any other through valueText itself.
    char text[64];
    std::to_chars_result r{};
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        r = std::to_chars(text, text + sizeof text, qint64(value));
    else if (std::isfinite(value))
        r = std::to_chars(text, text + sizeof text, value);
    int digits = 0;
    bool leading = true;
    for (const char *p = text; r.ptr && p < r.ptr; ++p) {
        if (*p == 'e') {
            digits = 16;
            break;
        }
        if (*p >= '0' && *p <= '9' && !(leading && *p == '0')) {
            leading = false;
            ++digits;
        }
    }
    if (r.ec != std::errc() || !r.ptr || digits > 15) {
        d->cell(DataSet::valueText(value));
        return;
    }
    utf8Cell(QByteArrayView(text, r.ptr - text));
}

void HtmlTableWriter::endRow()
{
    d->buf += "</tr>\r\n";
}

void HtmlTableWriter::totals(const QString &rowHtml)
{
    if (!rowHtml.isEmpty())
        d->line(rowHtml);
}

bool HtmlTableWriter::finish()
{
    d->line(QStringLiteral("</tbody>"));
    d->line(QStringLiteral("</table>"));
    d->line(QStringLiteral("</body>"));
    d->line(QStringLiteral("</html>"));
    d->flush();
    return d->ok && d->file.commit();
}

QString HtmlTotalsRow(const QStringList &cells, bool coloured)
{
    QStringList lines;
    lines << (coloured ? kHeaderRow : QStringLiteral("<tr>"));
    for (const QString &c : cells) {
        if (c.isEmpty())
            lines << QStringLiteral("<td>") << QStringLiteral("</td>");
        else
            lines << QStringLiteral("<td>") + HtmlEscape(c) + QStringLiteral("</td>");
    }
    lines << QStringLiteral("</tr>");
    return lines.join(QStringLiteral("\r\n"));
}

namespace {

bool writeHtml(AppContext &ctx, const QString &fileName, const QString &title, const QStringList &headers,
               int rowCount, const std::function<QString(int row, int col)> &cell, const QString &totalsRow)
{
    const BusyCursor busy;
    HtmlTableWriter w(fileName, title, headers);
    if (!w.open()) {
        ctx.ui->message(kExportWriteError.arg(fileName, w.errorString()));
        return false;
    }
    const auto progress = ctx.ui->startProgress(kExportProgress, rowCount);
    QStringList cells;
    for (int r = 0; r < rowCount; ++r) {
        cells.clear();
        for (int c = 0; c < headers.size(); ++c)
            cells << cell(r, c);
        w.row(r + 1, cells);
        if ((r + 1) % kProgressEvery == 0 && !progress->step(r + 1))
            return false; // cancelled: the file stays as it was
    }
    w.totals(totalsRow);
    if (!w.finish()) {
        ctx.ui->message(kExportWriteError.arg(fileName, w.errorString()));
        return false;
    }
    ctx.ui->openFile(fileName);
    return true;
}

} // namespace

bool ExportHtmlTable(AppContext &ctx, const QString &fileName, const QString &title, DataSet *ds,
                     const QList<HtmlColumn> &columns, const QString &totalsRow)
{
    QStringList headers;
    QList<int> index;
    for (const HtmlColumn &c : columns) {
        headers << c.second;
        index << (ds ? ds->fieldIndex(c.first) : -1);
    }
    // An unknown field ends the command before the file is touched.
    for (int c = 0; c < columns.size(); ++c)
        if (index.at(c) < 0 && ds)
            ds->value(columns.at(c).first);
    const int rows = ds ? ds->recordCount() : 0;
    return writeHtml(
        ctx, fileName, title, headers, rows,
        [&](int r, int c) { return ds->text(columns.at(c).first, r); }, totalsRow);
}

QString ColumnTitle(const QList<ExportColumn> &columns, const QString &field)
{
    for (const ExportColumn &c : columns)
        if (c.field == field)
            return c.title;
    // PostgreSQL hands field names back in lower case.
    for (const ExportColumn &c : columns)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return c.title;
    return field;
}

QHash<QString, QString> ColumnTitles(const QList<ExportColumn> &columns)
{
    QHash<QString, QString> out;
    for (const ExportColumn &c : columns)
        out.insert(c.field, c.title);
    return out;
}

QList<ExportColumn> DataSetColumns(const DataSet *ds, const QList<ExportColumn> &titles)
{
    QList<ExportColumn> out;
    if (!ds)
        return out;
    for (const QString &f : ds->fieldNames())
        out << ExportColumn(f, ColumnTitle(titles, f));
    return out;
}

QString ExportToExcel(AppContext &ctx, DataSet *ds, const QList<ExportColumn> &titles)
{
    return ExportToExcel(ctx, ds, ColumnTitles(titles));
}

bool ExportHtmlDataSet(AppContext &ctx, const QString &fileName, const QString &title, DataSet *ds,
                       const QList<ExportColumn> &titles, const QString &totalsRow)
{
    QList<HtmlColumn> columns;
    for (const ExportColumn &c : DataSetColumns(ds, titles))
        columns << HtmlColumn(c.field, c.title);
    return ExportHtmlTable(ctx, fileName, title, ds, columns, totalsRow);
}
