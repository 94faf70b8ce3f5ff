#pragma once
// Printed forms as rows: a form is its layout, the input boxes it asks, the labels it copies
// from named sources (the current row of a list, the contractor, ...), its signatories, its
// detail rows, the level gate and the history texts, plus the few lines of computation a form
// has. FormFrame runs such a row: asks, fills, writes the request row, applies the gate, then
// previews or prints, writing a print row after each completed print. Windows with a current
// allocation wrap it (TghirFormFrame); forms without one use it as it is.
#include "report/filled_report.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class AppContext;
class DataSet;
class QWidget;

namespace report {

class FormFrame;

// An input box whose answer fills a label (Cancel gives the default).
struct FormInput {
    enum Kind {
        Text,     // the answer is the label's text
        FontSize, // the answer is the label's font size: a whole number 4 to 72, else 10
    };
    QString label;
    QString caption;
    QString prompt;
    QString def;            // the default answer
    bool todayDefault = false; // the default is today's Solar date
    Kind kind = Text;
};

// A label copied from a column of a named source ("ghir": the current allocation,
// "peymankar": its contractor, or any source the frame was given).
struct FormLabel {
    QString label;
    QString source;
    QString column; // empty: the label's own name
};

// A label filled with the first value of a value list.
struct FormSignatory {
    QString label;
    QString list;
};

// What a form's computation works on while the frame runs it.
struct FormFill {
    FormFrame &frame;
    FilledReport &report;
    QString viewText;  // the request row's text; the computation may add to it
    QString printText; // the print rows' text; likewise
};

struct FormRow {
    QString layout; // its title is the form's (the preview's caption, the saved PDF's name)
    QList<FormInput> inputs;
    QList<FormLabel> labels;
    QList<FormSignatory> signatories;
    QStringList today;      // labels filled with today's Solar date
    QStringList levels;     // the gate: the levels allowed (empty: everyone)
    QString viewText;       // the request row written before the gate (empty: none)
    QString printText;      // the row written after each completed print (empty: none)
    int copies = 0;         // 0: preview; n: n copies straight to the printer (one printer dialog), no preview
    // Detail rows: the named data set given to the frame (setDataSet), read after the
    // computation (which may open it); the money columns grouped by thousands.
    QString detail;
    QStringList money;
    // The form's own lines: sums, detail rows, texts built from what was filled.
    std::function<void(FormFill &)> compute;
};

class FormFrame {
public:
    // Writes a history row with the given text.
    using History = std::function<void(const QString &text)>;
    // Reads a column of a named source.
    using Source = std::function<QString(const QString &column)>;

    FormFrame(AppContext &ctx, QWidget *window);
    virtual ~FormFrame() = default;

    AppContext &context() const { return m_ctx; }
    QWidget *window() const { return m_window; }

    // Sources the labels read; a source asked for but not given is an error.
    void setSource(const QString &name, Source source);
    QString source(const QString &name, const QString &column) const;
    // The data sets that rows name as their detail rows.
    void setDataSet(const QString &name, DataSet *ds) { m_dataSets.insert(name, ds); }
    // Where the request and print rows go; without one no row is written.
    void setHistory(History history) { m_history = std::move(history); }

    // Runs the form: inputs, labels, signatories, computation, request row, gate, then preview
    // or print. A failure ends it with its message. Returns false when the gate refused or a
    // failure ended it.
    virtual bool run(const FormRow &row);

    // The pieces, for forms that run themselves.
    QString ask(const QString &caption, const QString &prompt, const QString &def) const;
    QString signatory(const QString &listName) const;
    // The level gate: true when the signed-in user's level is one of `levels` (exactly), or
    // none are given; otherwise shows msg::kFormRefused.
    bool passes(const QStringList &levels) const;
    void writeHistory(const QString &text) const;
    // The preview; each completed print writes a history row with printText() (asked when the
    // print completes). Without printText nothing is written.
    void preview(const FilledReport &r, std::function<QString()> printText = {}) const;
    // `copies` copies straight to the printer after one printer dialog; each copy of a
    // completed job writes its print row.
    void print(const FilledReport &r, int copies, std::function<QString()> printText = {}) const;

    // Font size answer: a whole number 4 to 72 (Latin or Persian digits), anything else 10.
    static int fontSizeAnswer(const QString &answer);
    // For each row in order, " * " and the row's value.
    static QString starJoined(const DataSet &ds, const QString &field);
    // Rows of a data set for a report, the named money columns grouped by thousands.
    static void setGroupedRows(FilledReport &r, const DataSet &ds, const QStringList &money);
    // Today's Solar date text.
    static QString today();

protected:
    // The history writer a completed print calls; the allocation frame binds the allocation
    // current when the print was requested.
    virtual std::function<void()> afterPrint(std::function<QString()> printText) const;

    AppContext &m_ctx;
    QWidget *m_window;

private:
    QHash<QString, Source> m_sources;
    QHash<QString, DataSet *> m_dataSets;
    History m_history;
};

} // namespace report
