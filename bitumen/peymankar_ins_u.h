#pragma once
// The contractors register: its entry boxes above the search and the listing.
#include "shared/entry_form.h"
#include "shared/rights.h"

#include <optional>

class QLineEdit;
class QTableView;
class SumLabels;

// What the picker returns: the chosen contractor's id and name.
struct PickedContractor {
    QVariant id;
    QString name;
};

class Tpeymankar_ins : public EntryForm {
    Q_OBJECT
public:
    explicit Tpeymankar_ins(AppContext &ctx, QWidget *parent = nullptr);

    // Opened by the bitumen window's contractors command with the rights of page "g_pey"
    // (the caller has already run the page check and it allowed opening).
    void openFromBitumen(const PageRights &rights);
    // Opened from the initial entry's contractor button with the user's "g_pey" rights:
    // returns the contractor picked by a double click, nothing when the window was closed.
    std::optional<PickedContractor> openAsPicker();

signals:
    // A double click picked a contractor (whichever command opened the window); the start-up
    // wiring hands it to the initial entry form.
    void picked(const PickedContractor &contractor);

public:
    // The register's columns after `id`, in the table's order; each has a box of its name.
    static const QStringList kColumns;

    static const QString kCaption;
    static const QString kDuplicate;   // insert refused: the name is registered already
    static const QString kEmptyName;   // insert or edit refused: no name
    static const QString kUpdated;
    static const QString kRowGone;     // the contractor being edited was deleted meanwhile
    static const QString kExportTitle;

protected:
    QStringList refusals(bool inserting) override;
    void afterWrite(bool inserted) override;
    void rowGone() override;

private:
    void search();              // every change of `src`
    void loadForEdit();         // N2
    void refreshNames();        // refresh_btn
    void deleteContractor();    // N1
    void pick(int row);         // double click on the grid
    void exportHtml();          // N3

    // Empty search box (every contractor listed) and empty boxes (insert mode).
    void prepare();
    // Every allocation whose contractor id names a register row gets the register's name.
    void pushNames();

    QLineEdit *src;
    SumLabels *m_count;
    QTableView *DBGrid1;
    std::optional<PickedContractor> m_picked;
};
