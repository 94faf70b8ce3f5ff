#pragma once
// The laboratory register: one row per test report, entered in the boxes above the list of
// records; beside the list, the current record's pictures; under it, the HTML export.
#include "shared/entry_form.h"

class AttachmentList;
class DataSet;
class QTableView;
class SearchBox;

class Tazmayeshgah_ins : public EntryForm {
    Q_OBJECT
public:
    explicit Tazmayeshgah_ins(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "az"): applies the rights, empties the boxes, lists the
    // records the user may see and shows the window in insert mode.
    void openFromMain(const PageRights &rights);

protected:
    QString logText(bool inserted) const override;
    void showEvent(QShowEvent *e) override;

private:
    // The listing: the county restriction of a "city" user, and the search box's filter
    // when `filtered`; the count follows it.
    void search(bool filtered = true);
    void afterSave(bool inserted);
    void copyFromList();        // the current record's texts into the boxes
    void loadRecord();          // click on a record: its texts into the boxes
    void takeForEdit();         // N3
    void deleteRecord();        // N4
    void emptyBoxes();          // del_btn
    void addPicture();          // N2
    void deletePicture();       // N5
    void savePicture();         // click on a picture
    void exportHtml();          // SpeedButton1
    void normalizeCounties();   // click on Label4

    DataSet *ADOQ_az;
    AttachmentList *m_pictures;
    SearchBox *m_search;
    QTableView *DBGrid1 = nullptr;
    QTableView *DBGrid2 = nullptr;
};
