#pragma once
// The credit register's window: projects, and under the current project its credits,
// operations, progress items and allocations; the project and credit searches with their
// count and sums; the five entry forms and the deletes.
#include "shared/register_window.h"

class DataSet;
class EntryForm;
class FilterBar;
class SearchBar;
class QTableView;

class Tetebarat_src : public RegisterWindow {
    Q_OBJECT
public:
    explicit Tetebarat_src(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "prj"): applies the rights, lists and shows the window.
    void openFromMain(const PageRights &rights);

    // The project search (src_btn2): its count, then the listing; the current project's
    // lists follow.
    void searchProjects();
    // The credit search (src_btn): count and sums, then the credits of every project.
    void searchCredits();
    // The project-row action: the current project's credits, operations, progress items and
    // allocations (empty lists when there is no current project).
    void loadProjectLists();

    // The statements of the two searches with the enabled filters; binds receive their values.
    QString projectWhere(QVariantList &binds) const;
    QString creditWhere(QVariantList &binds) const;

    DataSet *amaliyat() const { return ADOQ_amaliyat; }
    DataSet *pish() const { return ADOQ_pish; }
    DataSet *takhsis() const { return ADOQ_takhsis; }

private:
    void buildFilters();
    void buildGrids();
    void connectForms();

    // Commands.
    void showForm(EntryForm *form, DataSet *list = nullptr, const QVariantMap &fixed = {});
    void editProject();
    void deleteProject();
    void newCredit();
    void editCredit();
    void openChild(EntryForm *form, DataSet *list = nullptr);
    void deleteRow(const char *table, DataSet *list, const QString &emptyMessage);
    void reopenProjectsKeepingLists();

    DataSet *ADOQ_amaliyat;
    DataSet *ADOQ_pish;
    DataSet *ADOQ_takhsis;
    SearchBar *m_projectBar = nullptr;
    SearchBar *m_creditBar = nullptr;
    FilterBar *m_projectFilters = nullptr;
    FilterBar *m_creditFilters = nullptr;
    QTableView *DBGrid2 = nullptr;
    QTableView *DBGrid1 = nullptr;
    QTableView *DBGrid3 = nullptr;
    QTableView *DBGrid4 = nullptr;
    QTableView *DBGrid5 = nullptr;
    bool m_keepLists = false;
};
