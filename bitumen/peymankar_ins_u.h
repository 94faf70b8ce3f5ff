#pragma once
// The contractors register.
#include "shared/rights.h"

#include <QDialog>
#include <QHash>
#include <QStringList>
#include <QVariant>

class AppContext;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

class Tpeymankar_ins : public QDialog {
    Q_OBJECT
public:
    explicit Tpeymankar_ins(AppContext &ctx, QWidget *parent = nullptr);

    // Opened by the bitumen window's contractors command with the rights of page "g_pey"
    // (the caller has already run the page check and it allowed opening).
    void openFromBitumen(const PageRights &rights);
    // Opened from the initial entry's contractor button: a pick fills the entry form's
    // contractor name and id (Tghir_ins::setBoxText). Applies the user's "g_pey" rights itself.
    void openAsPicker();

    // The register's columns after `id`, in the table's order; each has a box of its name.
    static const QStringList kColumns;

    static const QString kCaption;
    static const QString kDuplicate;   // insert refused: the name is registered already
    static const QString kInserted;
    static const QString kUpdated;
    static const QString kDeleted;
    static const QString kRowGone;     // the contractor being edited was deleted meanwhile
    static const QString kExportTitle;

private:
    // Command handlers.
    void search();              // every change of `src`
    void insertContractor();    // ins_btn
    void loadForEdit();         // N2
    void updateContractor();    // edit_btn
    void refreshNames();        // refresh_btn
    void deleteContractor();    // N1
    void pick(int row);         // double click on the grid
    void exportHtml();          // N3

    // Rights of page "g_pey" on the commands; edit_btn hidden (insert state).
    void applyRights(const PageRights &rights);
    // Empty search box (every contractor listed) and empty boxes.
    void prepare();
    void setInsertState();
    // Every allocation whose contractor id names a register row gets the register's name.
    void pushNames();
    // The 17 box values checked against their columns; throws InputError.
    QVariantList boxValues() const;
    void fillBoxes(int row, bool withZipcode);
    void syncGridToDataSet();

    AppContext &m_ctx;
    QHash<QString, QLineEdit *> m_boxes;
    QPushButton *ins_btn;
    QPushButton *edit_btn;
    QPushButton *refresh_btn;
    QLineEdit *src;
    QLabel *cnt;
    QTableView *DBGrid1;
    QMenu *PopupMenu1;
    QAction *N3;
    QAction *N2;
    QAction *N1;
    PageRights m_rights;
    QVariant m_editId; // the contractor loaded for editing (null: none)
    bool m_syncing = false;
};
