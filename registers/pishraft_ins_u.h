#pragma once
// Physical progress by work items: the progress projects, the catalogue items chosen for a
// project with their total volume, and the dated volumes done of each item.
#include "shared/register_window.h"

class DataSet;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class SearchBox;
class TDateEdit;

class Tpishraft_ins : public RegisterWindow {
    Q_OBJECT
public:
    explicit Tpishraft_ins(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "pishraft"): applies the rights, empties the boxes, puts
    // today's date into the report date, lists the projects and shows the window.
    void openFromMain(const PageRights &rights);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void searchProjects();     // every change of src
    void insertProject();      // ins_btn
    void listItems();          // the current project's items
    void listReports();        // the current item's reports
    void fillSubItems();       // master_item changed by the user
    void showUnit();           // slave_item changed by the user
    void insertItem();         // BitBtn2
    void insertReport();       // BitBtn3

    DataSet *m_projects;       // the project list
    DataSet *ADOQ_pish_items;  // the current project's items
    DataSet *ADOQ_pish_rep;    // the current item's reports
    SearchBox *m_search;
    QLineEdit *title, *prj_cod, *hajm_kol, *hajm_anjami;
    QComboBox *city, *rosta, *nahve, *master_item, *slave_item;
    QLabel *vahed;
    TDateEdit *dat;
    QTableView *DBGrid1, *DBGrid2, *DBGrid3;
};
