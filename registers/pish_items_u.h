#pragma once
// The progress item catalogue: master items and, under each, sub-items with their unit.
#include "shared/register_window.h"

#include <QVariant>
#include <optional>

class DataSet;
class QComboBox;
class QLineEdit;
class QTableView;

class Tpish_items : public RegisterWindow {
    Q_OBJECT
public:
    explicit Tpish_items(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "items"): applies the rights, empties the boxes, lists the
    // master items with the first one's sub-items and shows the window.
    void openFromMain(const PageRights &rights);

private:
    void listMasters();        // every master item by name
    void listSubItems();       // the current master item's sub-items, by name
    void insertMaster();       // ins_btn1
    void insertSubItem();      // ins_btn2
    // A sub-item's name, unit or weight typed into its cell, written to its row.
    std::optional<QVariant> editSubItem(int row, const QString &field, const QString &text);

    DataSet *m_masters;        // the master list
    DataSet *ADOQ_sitem;       // the sub-item list
    QLineEdit *master_item, *ldarsad, *slave_item, *sdarsad;
    QComboBox *vahed;
    QTableView *DBGrid1, *DBGrid2;
};
