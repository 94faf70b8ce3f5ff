#pragma once
// Search in the attachments of every technical-services report, by description and county,
// and the save of every listed file.
#include <QDialog>
#include <QVariantList>

class AppContext;
class AttachmentList;
class FilterBar;
class SearchBar;
class QTableView;

class Tkhadamat_pic_src : public QDialog {
    Q_OBJECT
public:
    explicit Tkhadamat_pic_src(AppContext &ctx, QWidget *parent = nullptr);

    // Opened by the reports window: empty boxes and count, then shown modally.
    void openFromReports();
    // The count and the listing with the enabled filters.
    void search();
    // Writes every listed file to a chosen name + its number + its type.
    void saveListed();

    // The listing's conditions after "where khadamat_pic.id<>-1"; binds receives their values.
    QString conditions(QVariantList &binds) const;
    AttachmentList *list() const { return m_list; }

protected:
    void showEvent(QShowEvent *e) override;

private:
    AppContext &m_ctx;
    AttachmentList *m_list;
    SearchBar *m_bar;
    FilterBar *m_filters;
    QTableView *DBGrid1;
};
