#pragma once
// The statistics register: the credits provided for the villages' works and the executive
// operations done there, entered in the boxes above the filters and the list. There is no
// edit: the delete copies the row into the boxes, so a correction is a delete and an insert.
#include "shared/entry_form.h"

class DataSet;
class FilterBar;
class QLabel;
class QTableView;
class SearchBar;

class Tamar : public EntryForm {
    Q_OBJECT
public:
    explicit Tamar(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "amar"): rights, empty boxes, the credits type, the search.
    void openFromMain(const PageRights &rights);
    // The listing with the enabled filters, its count and its sum.
    void search();
    // The boxes of a type: 0 credits (source and amount), 1 executive operations (title,
    // contractor and quantity).
    void setType(int index);
    DataSet *list() const { return ADOQ_amar; }

protected:
    void layoutBoxes(QVBoxLayout *area) override;
    void showEvent(QShowEvent *e) override;

private:
    void listInserted(); // after an insert: the rows of the county and type just entered
    void takeOut();      // N1
    void exportExcel();  // N2

    DataSet *ADOQ_amar;
    SearchBar *m_bar = nullptr;
    FilterBar *m_filters = nullptr;
    QTableView *DBGrid1 = nullptr;
    QLabel *Label8 = nullptr;
};
