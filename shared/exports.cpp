#include "shared/exports.h"

#include "core/busy.h"

#include "core/context.h"
#include "core/dataset.h"
#include "shared/ui.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cmath>
#include <functional>
#include <xlsxwriter.h>

const QString kExportWriteError = QStringLiteral("خطا! فايل %1 نوشته نشد: %2");
const QString kExportTooManyRows = QStringLiteral("خطا! تعداد رديف ها بيش از گنجايش يک برگ اکسل است");

QString TempExportPath(const QString &fileName)
{
    return QDir(QDir::tempPath()).filePath(fileName);
}

namespace {

QString titleOf(const QHash<QString, QString> &titles, const QString &field)
{
    QList<ExportColumn> columns;
    for (auto i = titles.constBegin(); i != titles.constEnd(); ++i)
        columns << ExportColumn(i.key(), i.value());
    return ColumnTitle(columns, field);
}

// Text as a cell holds it: no control characters, at most the cell's 32,767 characters.
QByteArray cellText(const QString &text)
{
    QString t = text.trimmed();
    for (QChar &c : t)
        if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t'))
            c = QLatin1Char(' ');
    if (t.size() > 32767)
        t.truncate(32767);
    return t.toUtf8();
}

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// Excel's numbers hold 15 significant digits; larger whole numbers stay text.
bool asNumber(const QVariant &v, const QString &text, double *out)
{
    if (!isNumeric(v) || text.isEmpty())
        return false;
    bool ok = false;
    const double d = text.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    if (v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float && std::fabs(d) >= 1e15)
        return false;
    *out = d;
    return true;
}

class Workbook {
public:
    Workbook(const QString &path, const QString &tmpdir)
        : m_path(QFile::encodeName(path))
        , m_tmp(QFile::encodeName(tmpdir))
    {
        lxw_workbook_options opt{};
        opt.constant_memory = LXW_TRUE;
        opt.tmpdir = m_tmp.data();
        wb = workbook_new_opt(m_path.constData(), &opt);
    }
    ~Workbook()
    {
        if (wb)
            workbook_close(wb); // only after a failure before close(): the file is removed then
    }
    lxw_error close()
    {
        const lxw_error e = workbook_close(wb);
        wb = nullptr;
        return e;
    }
    lxw_workbook *wb = nullptr;

private:
    QByteArray m_path;
    QByteArray m_tmp;
};

} // namespace

QString ExportToExcel(AppContext &ctx, DataSet *ds, const QHash<QString, QString> &titles)
{
    const BusyCursor busy;
    const QStringList fields = ds ? ds->fieldNames() : QStringList();
    const int rows = ds ? ds->recordCount() : 0;
    if (rows + 1 > LXW_ROW_MAX) {
        ctx.ui->message(kExportTooManyRows);
        return {};
    }

    // A name of its own for each export: an earlier one may still be open in the spreadsheet program.
    QString path;
    {
        QTemporaryFile f(TempExportPath(QStringLiteral("Tobrenhal_XXXXXX.xlsx")));
        f.setAutoRemove(false);
        if (!f.open()) {
            ctx.ui->message(kExportWriteError.arg(f.fileName(), f.errorString()));
            return {};
        }
        path = f.fileName();
    }

    QString failure;
    {
        Workbook book(path, QDir::tempPath());
        lxw_worksheet *ws = book.wb ? workbook_add_worksheet(book.wb, "Sheet1") : nullptr;
        if (!ws) {
            failure = QStringLiteral("workbook");
        } else {
            // Row 1: A..AA bold, A..M with slanted dash-dot borders (line style 13).
            lxw_format *bold = workbook_add_format(book.wb);
            format_set_bold(bold);
            lxw_format *titleBorder = workbook_add_format(book.wb);
            format_set_bold(titleBorder);
            format_set_border(titleBorder, LXW_BORDER_SLANT_DASH_DOT);
            // A2 to column M of the last row: continuous (thin) borders.
            lxw_format *cellBorder = workbook_add_format(book.wb);
            format_set_border(cellBorder, LXW_BORDER_THIN);
            constexpr int kBoldLast = 26;   // AA
            constexpr int kBorderLast = 12; // M

            const int cols = fields.size();
            if (cols > 0)
                worksheet_set_column(ws, 0, lxw_col_t(cols - 1), 10, nullptr);

            lxw_error err = LXW_NO_ERROR;
            for (int c = 0; c < qMax(cols, kBoldLast + 1) && !err; ++c) {
                lxw_format *fmt = c <= kBorderLast ? titleBorder : (c <= kBoldLast ? bold : nullptr);
                if (c < cols) {
                    const QByteArray t = cellText(titleOf(titles, fields.at(c)));
                    err = t.isEmpty() ? worksheet_write_blank(ws, 0, lxw_col_t(c), fmt)
                                      : worksheet_write_string(ws, 0, lxw_col_t(c), t.constData(), fmt);
                } else if (fmt) {
                    err = worksheet_write_blank(ws, 0, lxw_col_t(c), fmt);
                }
            }
            for (int r = 0; r < rows && !err; ++r) {
                const lxw_row_t row = lxw_row_t(r + 1);
                for (int c = 0; c < qMax(cols, kBorderLast + 1) && !err; ++c) {
                    lxw_format *fmt = c <= kBorderLast ? cellBorder : nullptr;
                    if (c >= cols) {
                        err = worksheet_write_blank(ws, row, lxw_col_t(c), fmt);
                        continue;
                    }
                    const QVariant v = ds->value(fields.at(c), r);
                    const QString text = DataSet::valueText(v);
                    double number = 0;
                    if (asNumber(v, text.trimmed(), &number)) {
                        err = worksheet_write_number(ws, row, lxw_col_t(c), number, fmt);
                    } else {
                        const QByteArray t = cellText(text);
                        if (t.isEmpty())
                            err = fmt ? worksheet_write_blank(ws, row, lxw_col_t(c), fmt) : LXW_NO_ERROR;
                        else
                            err = worksheet_write_string(ws, row, lxw_col_t(c), t.constData(), fmt);
                    }
                }
            }
            if (err)
                failure = QString::fromUtf8(lxw_strerror(err));
            const lxw_error closed = book.close();
            if (!err && closed)
                failure = QString::fromUtf8(lxw_strerror(closed));
        }
    }
    if (!failure.isEmpty()) {
        QFile::remove(path);
        ctx.ui->message(kExportWriteError.arg(path, failure));
        return {};
    }
    ctx.ui->openFile(path);
    return path;
}

// ---- HTML --------------------------------------------------------------------

QString HtmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        default: out += c;
        }
    }
    return out;
}

namespace {

const QString kRowNumberHeader = QStringLiteral("رديف");

class HtmlWriter {
public:
    explicit HtmlWriter(const QString &fileName)
        : m_file(fileName)
    {
    }
    bool open() { return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate); }
    void line(const QString &text)
    {
        m_buf += text.toUtf8();
        m_buf += "\r\n";
        if (m_buf.size() >= (1 << 20))
            flush();
    }
    bool finish()
    {
        flush();
        return m_ok && m_file.commit();
    }
    QString errorString() const { return m_file.errorString(); }

private:
    void flush()
    {
        if (m_ok && !m_buf.isEmpty() && m_file.write(m_buf) != m_buf.size())
            m_ok = false;
        m_buf.clear();
    }
    QSaveFile m_file;
    QByteArray m_buf;
    bool m_ok = true;
};

bool writeHtml(AppContext &ctx, const QString &fileName, const QString &title, const QStringList &headers,
               int rowCount, const std::function<QString(int row, int col)> &cell, const QString &totalsRow)
{
    const BusyCursor busy;
    HtmlWriter w(fileName);
    if (!w.open()) {
        ctx.ui->message(kExportWriteError.arg(fileName, w.errorString()));
        return false;
    }
    // The byte order mark as well as the declared charset: a spreadsheet program opening
    // the table as ".xls" goes by the mark.
    w.line(QString(QChar(0xFEFF)) + QStringLiteral("<html>"));
    w.line(QStringLiteral("<head><meta charset=\"utf-8\"><title>") + HtmlEscape(title) + QStringLiteral("</title></head>"));
    w.line(QStringLiteral("<body>"));
    w.line(QStringLiteral("<table dir=\"rtl\" border=\"1\" align=\"center\" width=\"95%\">"));
    w.line(QStringLiteral("<thead>"));
    w.line(QStringLiteral("<tr bgcolor=\"#22ddff\" valign=\"middle\">"));
    w.line(QStringLiteral("<th>") + kRowNumberHeader + QStringLiteral("</th>"));
    for (const QString &h : headers)
        w.line(QStringLiteral("<th>") + HtmlEscape(h) + QStringLiteral("</th>"));
    w.line(QStringLiteral("</tr>"));
    w.line(QStringLiteral("</thead>"));
    w.line(QStringLiteral("<tbody>"));
    const int cols = headers.size();
    for (int r = 0; r < rowCount; ++r) {
        w.line(QStringLiteral("<tr>"));
        w.line(QStringLiteral("<td>") + QString::number(r + 1) + QStringLiteral("</td>"));
        for (int c = 0; c < cols; ++c)
            w.line(QStringLiteral("<td>") + HtmlEscape(cell(r, c)) + QStringLiteral("</td>"));
        w.line(QStringLiteral("</tr>"));
    }
    if (!totalsRow.isEmpty())
        w.line(totalsRow);
    w.line(QStringLiteral("</tbody>"));
    w.line(QStringLiteral("</table>"));
    w.line(QStringLiteral("</body>"));
    w.line(QStringLiteral("</html>"));
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
        [&](int r, int c) { return DataSet::valueText(ds->value(columns.at(c).first, r)); }, totalsRow);
}

bool ExportHtmlRows(AppContext &ctx, const QString &fileName, const QString &title, const QStringList &headers,
                    const QList<QStringList> &rows, const QString &totalsRow)
{
    return writeHtml(
        ctx, fileName, title, headers, rows.size(), [&](int r, int c) { return rows.at(r).value(c); }, totalsRow);
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
