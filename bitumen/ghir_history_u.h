#pragma once
// The history of the bitumen forms: which form was requested or printed, for which
// allocation, when and by whom (table ghir_history with the allocation's village and
// contractor). Four filters, the count, the listing and its HTML export.
#include <QDialog>

class AppContext;
class DataSet;
class FilterBar;
class SearchBar;
class QTableView;

class Tghir_history : public QDialog {
    Q_OBJECT
public:
    explicit Tghir_history(AppContext &ctx, QWidget *parent = nullptr);

    // "سوابق": empties the three text filters, sets both dates to today (the ticks as they
    // were), searches and shows the window.
    void openHistory();
    // Count and listing with the enabled filters (`BitBtn1`).
    void search();
    // The listing as an HTML table opened as a spreadsheet (`N1` "اکسل").
    void exportList();

    DataSet *rows() const { return m_rows; }
    // The window grows, up to the screen's width, until every column of the listing is in
    // sight: the user column stands last, at the left edge, and is never cut there.
    void showEveryColumn();

private:
    // " and ..." pieces of the enabled filters with their binds.
    QString pieces(QVariantList &binds) const;

    AppContext &m_ctx;
    DataSet *m_rows;
    SearchBar *m_bar;
    FilterBar *m_filters;
    QTableView *DBGrid1;
};
