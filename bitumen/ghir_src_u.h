#pragma once
// The bitumen projects window: the search, the listing and the commands on an allocation
// (its forms, reports, documents and history).
//
// Its menus are a table (objectNames N1 ... N51); the window binds its items to their
// commands, the forms and the reports bind theirs through onMenu (Tghir_forms::attach,
// Tghir_reports::attach).
//
// The current allocation is the current row of dm.ADOQ_ghir (w.ctx().dm->ADOQ_ghir);
// w.requireCurrent(ds) refuses a command on an empty list, w.checkPage("g_mostanadat") checks
// a further page.
#include "shared/register_window.h"

#include <QVariantList>

class FilterBar;
class SearchBar;
class QTableView;

class Tghir_src : public RegisterWindow {
    Q_OBJECT
public:
    explicit Tghir_src(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "ghir"): applies the rights, prepares and shows the window.
    void openFromMain(const PageRights &rights);
    // Runs the search (count and listing) with the current filters.
    void search();

    // The listing's statement, with the pieces of the county restriction and of the enabled
    // filters; binds receives their values in order.
    QString listingSql(QVariantList &binds) const;
    // The computed columns of the listing: the text columns taking part as numbers, an empty
    // text or one that is not a number counting as 0.
    static QString mandeSql(bool postgres);
    static QString mosharekatSql(bool postgres);

    FilterBar *filters() const { return m_filters; }
    QTableView *grid() const { return DBGrid1; }

    static const QString kDeleteWarning;
    static const QString kDeleteLog;   // the log description's head

protected:
    void showEvent(QShowEvent *e) override;

private:
    QString filterPieces(QVariantList &binds) const;
    QString listing(const QString &fromWhere) const;

    // Commands.
    void newAllocation();
    void editAllocation();
    void complementaryData();
    void registerAgain();
    void deleteAllocation();
    void openContractors();

    SearchBar *m_bar = nullptr;
    FilterBar *m_filters = nullptr;
    QTableView *DBGrid1 = nullptr;
};
