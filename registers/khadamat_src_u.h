#pragma once
// The technical-services and building-violations reports of the counties: listing with the
// attachment counts, filters, count and sums, the monthly table, the workbook, the counties
// that have not reported, and the entry and attachment windows.
#include "shared/register_window.h"

#include <QVariantList>

class FilterBar;
class SearchBar;
class QTableView;

class Tkhadamat_src : public RegisterWindow {
    Q_OBJECT
public:
    explicit Tkhadamat_src(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "khadamat"): rights, empty boxes, this year, the search.
    void openFromMain(const PageRights &rights);
    // The listing, its count and its kept sums with the current filters.
    void search();

    // The conditions of the listing and the sums (county restriction, then each enabled
    // filter; binds receives their values in order), and the listing's statement with them.
    QString conditions(QVariantList &binds) const;
    QString listingSql(const QString &conditions) const;
    // The counties of the gazetteer without a report among those the filters choose.
    QString unreportedSql(QVariantList &binds) const;
    // A kept figure of the last search: "c", "d", "f" or "m".
    QString kept(const QString &alias) const;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void newReport();
    void editReport();
    void deleteReport();
    void printMonthly();
    void exportExcel();
    void listUnreported();
    void openAttachments();
    void openAttachmentSearch();
    void showEntry(bool inserting);

    SearchBar *m_bar = nullptr;
    FilterBar *m_filters = nullptr;
    QTableView *DBGrid1 = nullptr;
};
