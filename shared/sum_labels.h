#pragma once
// The count and sums of a search: one statement "select count(*) as c,sum(x) as d ... from
// ... where ..." run on the scratch query with the search's own conditions; each figure is
// shown in its label (or only kept, for a print) and kept until the next search. A shown
// figure stands beside its caption, which says what it counts or sums.
//
//   const SumColumn kSums[] = {
//       {"c", "count(*)", "cnt"},                    // captioned "تعداد:"
//       {"d", "sum(dehyariha)"},                     // kept for the print, not shown
//       {"m", "sum(mablagh)", "mablagh_sum", SumColumn::Grouped, "جمع مبلغ"},
//   };
//   m_sums = new SumLabels(this, kSums);             // the labels cnt, mablagh_sum and captions
//   m_sums->addTo(row);                              // each caption with its figure
//   m_sums->run(m_ctx, "from khadamat where id<>-1 " + pieces, binds);
//   report.setLabel("dehyariha_sum", m_sums->value("d"));
#include <QHash>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <span>

class AppContext;
class DataSet;
class QBoxLayout;
class QLabel;
class QWidget;

struct SumColumn {
    enum Display {
        Plain,   // the text the database returns (empty when nothing matched)
        Grouped, // a money sum: its whole rials grouped, as a grid's money column shows it
    };
    const char *alias;           // the statement's name of the figure ("c")
    const char *expression;      // "count(*)", "sum(mablagh)"
    const char *label = nullptr; // the label's objectName; nullptr: kept only
    Display display = Plain;
    // The caption beside the label (objectName label + "_lbl"); nullptr: "تعداد:" for a count.
    const char *caption = nullptr;
};

class SumLabels : public QObject {
    Q_OBJECT
public:
    // Creates the labels and their captions (children of parent, not yet in a layout).
    SumLabels(QWidget *parent, std::span<const SumColumn> columns);
    // Adds each shown figure to `layout`, its caption before it, in the table's order.
    void addTo(QBoxLayout *layout) const;

    // "select <expression> as <alias>,... " + fromWhere.
    QString selectSql(const QString &fromWhere) const;
    // Runs the statement on dm.ADOQuery1, shows and keeps the figures. Given the search's own
    // listing (the same conditions), a count alone is taken from it without a statement.
    void run(AppContext &ctx, const QString &fromWhere, const QVariantList &binds, const DataSet *listing = nullptr);
    // A kept figure as text (empty before the first run or when the sum was null).
    QString value(const QString &alias) const;
    QLabel *label(const QString &objectName) const;
    // Empties the labels (the kept figures stay).
    void clearLabels();

private:
    std::span<const SumColumn> m_columns;
    QHash<QString, QLabel *> m_labels;
    QHash<QString, QString> m_values;
};
