#pragma once
// The bitumen window's reports and exports: the province web reports (N19, N20, N21) through
// the scratch tables, the status report (N24), the workbooks (N26, N46, N39, N27, N34), the
// general web listing (N6) and the central office report (N29 print, N30 workbook).
#include <QObject>
#include <QString>
#include <QVariantList>

struct ScratchFill;

class AppContext;
class Tghir_src;
class QWidget;

// The filter the window's reports and exports append after "where id<>-1": one line per
// enabled filter box (county, village and contractor as substrings of their box texts, the
// registration dates, the year, the project type); binds receives the values in order. It has
// no county restriction and ignores the county and village lists of the window's own search.
QString ReportFilterClause(const QWidget *window, QVariantList &binds);

// The fill of ghir_rep2 shared by the web report and the province progress workbook: the
// allocations that `clause` lets through, in the report's order, each with its place, its
// contractor, its allocated bitumen, its oil company letter number and the two flags.
ScratchFill ProvinceProgressFill(const QString &clause, const QVariantList &binds);

class Tghir_reports : public QObject {
    Q_OBJECT
public:
    Tghir_reports(AppContext &ctx, Tghir_src *window);
    // Connects the window's menu items to a new instance owned by the window.
    static Tghir_reports *attach(AppContext &ctx, Tghir_src *window);

    void N19Click(); // province web report (ghir_rep2)
    void N20Click(); // physical progress (ghir_rep1)
    void N21Click(); // consumption minutes (ghir_rep1)
    void N24Click(); // status report
    void N26Click(); // general workbook of the grid
    void N46Click(); // complete workbook of the grid, province only
    void N39Click(); // county workbook of the grid
    void N27Click(); // province progress workbook (ghir_rep2)
    void N34Click(); // supervision workbook
    void N6Click();  // general web listing of the grid
    void N29Click(); // central office report, printed
    void N30Click(); // central office report, workbook

private:
    struct WebReport;
    void runWebReport(const WebReport &report);
    bool passesProvince() const;
    bool gridOpen() const;

    AppContext &m_ctx;
    Tghir_src *m_window;
};
