#pragma once
// The agreements register: the agreements of each county by year, kind and number, entered in
// the row above the filters, listed with the current agreement's attachments beside them.
// There is no edit: the delete copies the row into the entry boxes first.
#include "shared/entry_form.h"

class AttachmentList;
class DataSet;
class FilterBar;
class QCheckBox;
class QTableView;
class SearchBar;

class Tmovafeghatname_src : public EntryForm {
    Q_OBJECT
public:
    explicit Tmovafeghatname_src(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "movafeghatname"): rights, empty boxes, this year, the search.
    void openFromMain(const PageRights &rights);
    // The listing and its count: a "city" user's own county, then the enabled filters.
    void search();
    DataSet *list() const { return adoq_movafeghatname; }
    AttachmentList *attachments() const { return m_attachments; }

protected:
    void showEvent(QShowEvent *e) override;

private:
    void takeOut();          // N3
    void addAttachment();    // N1
    void deleteAttachment(); // N2
    void saveAttachment();   // a click on an attachment

    DataSet *adoq_movafeghatname;
    AttachmentList *m_attachments;
    SearchBar *m_bar = nullptr;
    FilterBar *m_filters = nullptr;
    QTableView *DBGrid1 = nullptr;
    QTableView *DBGrid2 = nullptr;
    QCheckBox *CheckBox5 = nullptr;
};
