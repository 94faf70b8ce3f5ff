#pragma once
// The bitumen projects window: search, listing and the subsystem's commands.
#include <QDialog>
#include <QVariantList>

class AppContext;
struct PageRights;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QTableView;
class TDateEdit;

class Tghir_src : public QDialog {
    Q_OBJECT
public:
    explicit Tghir_src(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "ghir"): applies the rights, prepares and shows the window.
    void openFromMain(const PageRights &rights);
    // Runs the search (count and listing) with the current filters.
    void search();

    // The listing's statement and the count's, with the pieces of the county restriction and
    // of the enabled filters; binds receives their values in order.
    QString listingSql(QVariantList &binds) const;
    QString countSql(QVariantList &binds) const;
    // The computed columns of the listing: the text columns taking part as numbers, an empty
    // text or one that is not a number counting as 0.
    static QString mandeSql(bool postgres);
    static QString mosharekatSql(bool postgres);
    static QString numberSql(const QString &column, bool postgres);

    static const QString kMenuCaption; // the main menu's item that opens the window
    static const QString kEmptyList;   // a command that needs a current allocation on an empty list
    static const QString kDeleteWarning;
    static const QString kDeleted;
    static const QString kDeleteLog;     // the log description's head

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void buildMenus();
    void buildFilters();
    void buildGrid();
    QString filterPieces(QVariantList &binds) const;
    void fillLists();
    void fillCities();
    void applyRights(const PageRights &rights);
    void applyLevel();
    bool hasCurrent();
    void reopenKeepingCurrent();
    void checkSubmenu(QMenu *menu, const QString &page);

    // Commands.
    void newAllocation();
    void editAllocation();
    void complementaryData();
    void registerAgain();
    void deleteAllocation();
    void openContractors();

    AppContext &m_ctx;

    QMenuBar *MainMenu1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu3 = nullptr;
    QMenu *PopupMenu4 = nullptr;
    QMenu *m_N35 = nullptr;
    QMenu *m_N37 = nullptr;
    QMenu *m_N40 = nullptr;
    QAction *m_N25 = nullptr;
    QAction *m_N1 = nullptr;
    QAction *m_N2 = nullptr;
    QAction *m_N3 = nullptr;
    QAction *m_N13 = nullptr;
    QAction *m_N22 = nullptr;

    QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr, *CheckBox4 = nullptr;
    QCheckBox *CheckBox5 = nullptr, *CheckBox6 = nullptr, *CheckBox8 = nullptr;
    QComboBox *ostan = nullptr, *city = nullptr, *rosta = nullptr, *peymankar = nullptr, *prj_typ = nullptr;
    QPushButton *add_city = nullptr, *add_rosta = nullptr, *src_btn = nullptr;
    QCheckBox *show_list_city = nullptr, *show_list_rosta = nullptr;
    QListWidget *list_city = nullptr, *list_rosta = nullptr;
    TDateEdit *reg_dat1 = nullptr, *reg_dat2 = nullptr;
    QLineEdit *sal = nullptr;
    QLabel *cnt = nullptr;
    QTableView *DBGrid1 = nullptr;
};
