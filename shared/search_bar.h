#pragma once
// A search window's bar: the filter bar (shared/filter_bar.h) and, beside it, the search
// button over the figures of the search (count and sums, shared/sum_labels.h), each figure
// after its caption. The button, and Enter in a box whose filter runs the search, ask for
// the search; the window builds the filters' pieces once and hands the figures the same
// conditions as its listing.
//
//   const SearchBarDef kBar = {.filters = kFilters, .perRow = 3, .figures = kSums};
//   m_bar = new SearchBar(ctx, this, kBar);
//   connect(m_bar, &SearchBar::searchRequested, this, [this] { search(); });
//
//   QVariantList binds;
//   const QString where = "from amar where id<>-1 " + m_bar->filters()->sql(binds);
//   ADOQ_amar->open("select * " + where + kOrder, binds);
//   m_bar->showFigures(where, binds, ADOQ_amar);    // a count alone: the listing's rows
#include "shared/filter_bar.h"
#include "shared/sum_labels.h"

#include <QWidget>
#include <span>

class AppContext;
class QBoxLayout;

struct SearchBarDef {
    std::span<const FilterDef> filters;
    int perRow = 4;                   // filters a row
    std::span<const SumColumn> figures;
    const char *button = "src_btn";   // the search button's objectName and caption
    const char *caption = "جستجو";    // nullptr: a picture alone
    bool band = false;                // the button and the figures after the filters in one row
};

class SearchBar : public QWidget {
    Q_OBJECT
public:
    SearchBar(AppContext &ctx, QWidget *parent, const SearchBarDef &def);

    FilterBar *filters() const { return m_filters; }
    SumLabels *figures() const { return m_figures; }
    // The button's column (or row, for a band), where a window may add a control of its own.
    QBoxLayout *side() const { return m_side; }

    // Runs the figures' statement over `fromWhere` (the listing's own conditions) and shows
    // them; given the listing, a count alone is its row count without a statement.
    void showFigures(const QString &fromWhere, const QVariantList &binds, const DataSet *listing = nullptr);

signals:
    void searchRequested();

private:
    AppContext &m_ctx;
    FilterBar *m_filters;
    SumLabels *m_figures;
    QBoxLayout *m_side;
};
