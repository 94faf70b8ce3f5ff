#include "report/form_frame.h"
#include "core/text_rules.h"

#include "core/context.h"
#include "core/dataset.h"
#include "core/errors.h"
#include "db/values.h"
#include "core/dates.h"
#include "shared/guard.h"
#include "shared/messages.h"
#include "shared/numwords.h"
#include "shared/settings_list.h"
#include "shared/ui.h"

namespace report {

FormFrame::FormFrame(AppContext &ctx, QWidget *window)
    : m_ctx(ctx)
    , m_window(window)
{
}

void FormFrame::setSource(const QString &name, Source source)
{
    m_sources.insert(name, std::move(source));
}

QString FormFrame::source(const QString &name, const QString &column) const
{
    const auto it = m_sources.constFind(name);
    if (it == m_sources.cend())
        throw AppError(QStringLiteral("Form source %1 is not given").arg(name));
    return (*it)(column);
}

bool FormFrame::run(const FormRow &row)
{
    bool done = false;
    guarded(m_ctx, [&] {
        FilledReport r(row.layout);
        for (const FormInput &in : row.inputs) {
            const QString answer = ask(in.caption, in.prompt, in.todayDefault ? today() : in.def);
            if (in.kind == FormInput::FontSize)
                r.setFontSize(in.label, fontSizeAnswer(answer));
            else
                r.set(in.label, answer);
        }
        for (const QString &label : row.today)
            r.set(label, today());
        for (const FormLabel &l : row.labels)
            r.set(l.label, source(l.source, l.column.isEmpty() ? l.label : l.column));
        for (const FormSignatory &s : row.signatories)
            r.set(s.label, signatory(s.list));
        FormFill fill{*this, r, row.viewText, row.printText};
        if (row.compute)
            row.compute(fill);
        if (!row.detail.isEmpty()) {
            DataSet *ds = m_dataSets.value(row.detail);
            if (!ds)
                throw AppError(QStringLiteral("Form data set %1 is not given").arg(row.detail));
            if (row.money.isEmpty())
                r.setRows(*ds);
            else
                setGroupedRows(r, *ds, row.money);
        }
        if (!fill.viewText.isEmpty())
            writeHistory(fill.viewText);
        if (!passes(row.levels))
            return;
        std::function<QString()> printText;
        if (!fill.printText.isEmpty())
            printText = [t = fill.printText] { return t; };
        if (row.copies > 0)
            print(r, row.copies, printText);
        else
            preview(r, printText);
        done = true;
    });
    return done;
}

QString FormFrame::ask(const QString &caption, const QString &prompt, const QString &def) const
{
    return m_ctx.ui->inputBox(caption, prompt, def, m_window);
}

QString FormFrame::signatory(const QString &listName) const
{
    return SettingValue(m_ctx, listName);
}

bool FormFrame::passes(const QStringList &levels) const
{
    if (levels.isEmpty() || levels.contains(m_ctx.CurrentUser.level))
        return true;
    m_ctx.ui->message(msg::kFormRefused, m_window);
    return false;
}

void FormFrame::writeHistory(const QString &text) const
{
    if (m_history)
        m_history(text);
}

std::function<void()> FormFrame::afterPrint(std::function<QString()> printText) const
{
    if (!printText || !m_history)
        return {};
    return [this, printText] {
        // A print completes while the preview is open: a failing insert is shown here and
        // does not end the preview.
        guarded(m_ctx, [&] { writeHistory(printText()); });
    };
}

void FormFrame::preview(const FilledReport &r, std::function<QString()> printText) const
{
    m_ctx.ui->previewReport(r, afterPrint(std::move(printText)));
}

void FormFrame::print(const FilledReport &r, int copies, std::function<QString()> printText) const
{
    m_ctx.ui->printReport(r, afterPrint(std::move(printText)), copies);
}

int FormFrame::fontSizeAnswer(const QString &answer)
{
    bool ok = false;
    const int size = textrule::latinDigits(answer.trimmed()).toInt(&ok);
    return ok && size >= 4 && size <= 72 ? size : 10;
}

QString FormFrame::starJoined(const DataSet &ds, const QString &field)
{
    QString s;
    for (int row = 0; row < ds.recordCount(); ++row)
        s += QStringLiteral(" * ") + ds.text(field, row);
    return s;
}

void FormFrame::setGroupedRows(FilledReport &r, const DataSet &ds, const QStringList &money)
{
    const QStringList &fields = ds.fieldNames();
    QVector<bool> grouped(fields.size());
    for (int c = 0; c < fields.size(); ++c)
        grouped[c] = money.contains(fields.at(c), Qt::CaseInsensitive);
    QVector<QStringList> rows;
    rows.reserve(ds.recordCount());
    for (int row = 0; row < ds.recordCount(); ++row) {
        QStringList cells;
        cells.reserve(fields.size());
        for (int c = 0; c < fields.size(); ++c) {
            const QString t = ds.data(ds.index(row, c)).toString();
            cells << (grouped[c] ? GroupDigits(t) : t);
        }
        rows << cells;
    }
    r.setRows(fields, rows);
}

QString FormFrame::today()
{
    InitToday();
    return SolarDateText();
}

} // namespace report
