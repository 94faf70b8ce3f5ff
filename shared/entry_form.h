#pragma once
// An entry dialog made from a table of boxes: insert, edit by key, copy ("register again"),
// the duplicate-key test, typed values, and the row with its log row written in one
// transaction.
//
// A window declares its boxes and what it writes:
//
//   const BoxDef kBoxes[] = {
//       {.name = "city", .kind = BoxKind::Combo, .caption = "نام شهرستان", .flags = BoxDef::KafOnLeave},
//       {.name = "sal", .kind = BoxKind::Year, .caption = "سال", .initial = "@year"},
//       {.name = "mah", .kind = BoxKind::List, .caption = "ماه", .items = "فروردين|ارديبهشت|..."},
//       {.name = "dehyariha", .kind = BoxKind::Digits, .caption = "...", .initial = "", .section = "..."},
//       {.name = "mablagh", .kind = BoxKind::Money, .caption = "...", .initial = ""},
//       {.name = "ostan", .kind = BoxKind::Combo, .caption = "استان", .column = "-"},   // not written
//   };
//   const char *const kKey[] = {"city", "sal", "mah"};
//   const EntryDef kDef = {.objectName = "Tkhadamat_ins", .caption = "ثبت/ويرايش خدمات",
//       .table = "khadamat", .boxes = kBoxes, .duplicateKey = kKey,
//       .duplicateMessage = "اين شهرستان و سال و ماه تکراريست", .editedMessage = msg::kEdited};
//
//   class Tkhadamat_ins : public EntryForm { ... Tkhadamat_ins(AppContext &c) : EntryForm(c, kDef) {} };
//
//   // the opener (search window):
//   form->startInsert();                  // or form->startEdit(ds->value("id"))
//   m_ctx.ui->showModal(form);
//   connect(form, &EntryForm::saved, this, [this] { search(); });
//
// Writing:
//   - Every value goes through db::columnValue (money boxes as whole rials); a refused value
//     names its box by its caption and nothing is written.
//   - The row is written by the row writer (shared/row_writer.h): insert: the parents the row
//     belongs under (still there), the duplicate test and the insert in one transaction holding
//     the table's write lock, so two users inserting the same key at once get one row and one
//     duplicate message, and no row is written under a parent another user deleted.
//   - Edit: writes only when the row still holds what the form loaded (or last wrote) in the
//     columns it writes; otherwise writes nothing, says another user changed the row
//     (msg::kChangedByOther) and stays open. An update that changed no row says the row is gone.
//   - The log row, when the form names one, is written in the same transaction.
//   - Columns without a box (a parent's key, a picked contractor's id) are Fixed: values the
//     opener hands to startInsert / startEdit, never the text of a widget.
#include "shared/menus.h"
#include "shared/row_writer.h"

#include <QDialog>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <span>

class AppContext;
class DataSet;
class QAction;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QVBoxLayout;
class TBalloonTip;

enum class BoxKind {
    Line,      // edit box (optionally masked)
    Digits,    // edit box that lets only the digits, backspace and Enter through (a paste only
               // when it is all digits)
    Money,     // TMonEdit: whole rials grouped by thousands
    Real,      // TRealEdit: digits and one "."
    Date,      // TDateEdit "yyyy/mm/dd"
    Year,      // four-digit mask "0000"; unfilled places read as blanks ("14  "): written
               // are four digits, or an empty box as four blanks; anything else is refused
    Combo,     // editable combo box
    List,      // combo box that only offers its list
    Radio,     // a radio button for each item of its list, in a row; its text is the checked
               // item's (empty when none is checked)
    Memo,      // several lines of text
    Computed,  // edit box filled by its on-enter handler (onEnter)
    Fixed,     // no box: a column the form writes from a value it is given (a parent's key
               // through the start call, a picked contractor's id through setFixed()); an
               // edit starts from the row's own value
};

struct BoxDef {
    enum Flag : unsigned {
        KafOnLeave = 1,   // leaving the box writes its keheh as the Arabic kaf (NormalizeKaf)
        TodayOnClick = 2, // a click on the caption puts today's date into the box
        NumberText = 4,   // a text column holding a number: empty, or a number (written as
                          // typed when plain Latin digits, otherwise with "." and Latin digits)
        Wide = 8,         // the caption and box take a whole row
        NewColumn = 16,   // the section this box starts opens a new column of sections
        TipOnClick = 32,  // a click on the box shows its balloon tip
        Sorted = 64,      // the list is kept in Persian alphabetical order
        Rials = 128,      // a Line or Computed box holding rials: shown grouped by thousands as a
                          // money box (ShowGroupedRials); it writes the plain number
        Required = 256,   // the row means nothing without it: an empty box is refused
        Percent = 512,    // a percentage of a whole: a number from 0 to 100 (empty: 0)
    };
    const char *name;                // objectName, and the column unless `column` says otherwise
    BoxKind kind = BoxKind::Line;
    const char *caption = "";        // the caption label (objectName name + "_lbl")
    const char *column = nullptr;    // nullptr: `name`; "-": the box is not written
    const char *initial = nullptr;   // startInsert's text; nullptr: left as it was. "@today":
                                     // today's date, "@year": the current year, "@century":
                                     // the century digits and two blanks ("14  ")
    const char *items = nullptr;     // fixed list, items separated by "|"
    const char *valueList = nullptr; // value list (LoadSettingList) loaded each time the form shows
    const char *itemsSql = nullptr;  // statement whose first column fills the list when the form
                                     // shows and the list is still empty
    const char *mask = nullptr;      // input mask of a Line box
    const char *section = nullptr;   // the bold caption of the group the box stands in
    const char *tipTitle = nullptr;  // balloon tip (shown after the on-enter handler)
    const char *tipText = nullptr;
    const char *button = nullptr;    // objectName of a small button after the box (boxButton())
    const char *buttonCaption = "...";
    unsigned flags = 0;
    int width = 170;                 // the box's minimum width
};

// A button of the form: objectName and caption; a null name: no such button.
struct EntryButton {
    const char *name = nullptr;
    const char *caption = nullptr;
};

struct EntryDef {
    const char *objectName;
    const char *caption;
    const char *table;
    std::span<const BoxDef> boxes;
    const char *key = "id";                   // the key column of startEdit / startCopy
    EntryButton insertButton = {"ins_btn", "ثبت"};
    EntryButton editButton = {"edit_btn", "ويرايش"};
    // The columns the update writes, in its order; empty: every written box's column.
    std::span<const char *const> updateColumns = {};
    // Further columns of the insert with the text they get (columns without a box).
    std::span<const std::pair<const char *, const char *>> insertFixed = {};
    // The insert gives every column of the table a value: the columns without a box and
    // without a fixed text get the empty text (0 in a numeric column).
    bool insertEveryColumn = false;
    // The natural key that the insert refuses twice; empty: no duplicate test.
    std::span<const char *const> duplicateKey = {};
    QString duplicateMessage = {};
    // The rows the form's row belongs under (the column of each is a Fixed box's); an insert,
    // or an update that writes the column, is refused with the parent's sentence when it is gone.
    std::span<const ParentDef> parents = {};
    QString insertedMessage = QStringLiteral("ثبت شد");
    QString editedMessage = {};               // empty: the edit says nothing
    QString rowGoneMessage = {};              // empty: msg::kRowGone
    bool closeAfterInsert = false;
    bool closeAfterEdit = false;
    int pairsPerRow = 1;                      // caption/box pairs a row in each section
};

// The names of a column table as a list.
QStringList ColumnList(std::span<const char *const> columns);

class EntryForm : public QDialog {
    Q_OBJECT
public:
    EntryForm(AppContext &ctx, const EntryDef &decl, QWidget *parent = nullptr);

    // Insert mode with every box that has an initial text set to it; `fixed` gives the Fixed
    // columns' values (by column), over their initial texts.
    void startInsert(const QVariantMap &fixed = {});
    // Edit mode on the row whose key is `key`: the form reads the row itself and fills every
    // box that has a column; `fixed` gives Fixed columns' values over the row's. False (after
    // saying the row is gone) when there is no such row.
    bool startEdit(const QVariant &key, const QVariantMap &fixed = {});
    // Insert mode with the listed columns' boxes (and Fixed values) taken from the row `key`;
    // the other boxes keep what they held. False when there is no such row.
    bool startCopy(const QVariant &key, std::span<const char *const> columns);
    bool isInsertMode() const { return m_insert; }
    void setInsertMode(bool insert);
    // The key of the row being edited (null in insert mode).
    QVariant editKey() const { return m_key; }

    // Boxes by name (case-insensitive); throws AppError for an unknown box.
    QWidget *box(const QString &name) const;
    QLineEdit *edit(const QString &name) const;
    QComboBox *combo(const QString &name) const;
    QLabel *captionLabel(const QString &name) const;
    QWidget *boxButton(const QString &name) const;
    // A box's text as written (a Year box with blanks for unfilled places; a money box its
    // grouped digits); setting it as the openers do (a money box shows a stored amount's
    // integer part, grouped; a date box any date text in its form).
    QString boxText(const QString &name) const;
    void setBoxText(const QString &name, const QString &text);
    // A Fixed column's value, and setting it (a picked contractor's id).
    QVariant fixedValue(const QString &column) const;
    void setFixed(const QString &column, const QVariant &value);
    // What the form loaded for a column by startEdit / startCopy (empty when not loaded).
    QString loadedText(const QString &column) const;

    // Behaviour of boxes given by code: entering the box (focus from a key or a click) runs
    // fn, then shows the box's tip; a click on its caption runs fn. Both run guarded.
    void onEnter(const QString &name, std::function<void(QLineEdit *box)> fn);
    void onCaptionClick(const QString &name, std::function<void()> fn);
    TBalloonTip *balloonTip() const { return m_tip; }

    // The value bound for a column: the box's text through db::columnValue (a Money box its
    // whole rials, a NumberText box its number text), a Fixed column's value. Throws
    // db::Refusal naming the box by its caption (a column without a box by its name): an
    // empty Required box, a Year box not holding a year, an amount (Money, Real, Rials) below
    // zero, a Percent outside 0-100.
    QVariant value(const QString &column) const;

    // The two commands (ins_btn, edit_btn); true when the row was written.
    bool insertRow();
    bool updateRow();

    // An entry form over its own list: the area under the boxes and their buttons (the
    // window's search, grids and export), a button of the window's own after ins_btn /
    // edit_btn, the popup menus from a menu table bound by objectName (shared/menus.h) and the
    // rights from a rights table. A mode button (ins_btn, edit_btn) that the rights hide stays
    // hidden through the changes of mode.
    QVBoxLayout *listArea();
    void addButton(QWidget *button);
    QPushButton *insertButton() const { return m_insBtn; }
    void buildMenus(std::span<const MenuItem> items);
    QAction *action(const QString &name) const;
    QMenu *menu(const QString &name) const;
    void onMenu(const QString &name, std::function<void()> handler);
    void applyRights(std::span<const RightRule> rules, const PageRights &rights);

signals:
    // After a committed insert or update (before a closing form closes).
    void saved(bool inserted);
    // After a save whose outcome could not be learned (the server's answer lost and the server
    // not reached since): the lists showing the register are read again, as far as they can be.
    void listStale();

protected:
    // Refusals of an insert or an update, all shown, nothing written when there is any; run
    // inside the write transaction before the duplicate test (e.g. a place that is not in the
    // gazetteer).
    virtual QStringList refusals(bool inserting) { Q_UNUSED(inserting); return {}; }
    // Further statements of the same transaction, after the row was written (e.g. pushing a
    // contractor's new name to the allocations); writtenKey() is the row's key.
    virtual void afterWrite(bool inserted) { Q_UNUSED(inserted); }
    QVariant writtenKey() const { return m_written; }
    // After an edit found its row gone (and said so).
    virtual void rowGone() {}
    // The activity log description of a write; empty: no log row.
    virtual QString logText(bool inserted) const { Q_UNUSED(inserted); return {}; }
    // Lays out the captions and boxes (default: sections of `pairsPerRow` pairs a row,
    // columns of sections started by NewColumn). Override for a layout of one's own, using
    // box() and captionLabel(). Runs once, when the window is first polished (before it is
    // first shown), into the area above the buttons.
    virtual void layoutBoxes(QVBoxLayout *area);
    bool event(QEvent *e) override;

    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

    AppContext &m_ctx;
    const EntryDef &m_def;

private:
    void buildBoxes();
    QStringList writtenColumns() const;
    QStringList updateColumns() const;
    QStringList insertColumns() const;
    QString boxOfColumn(const QString &column) const;
    const BoxDef *def(const QString &name) const;
    // Reads the row `key`; false when there is none.
    bool readRow(const QVariant &key);
    QVariant boxValue(const BoxDef &d, const QString &column) const;
    QVariant typedValue(const BoxDef &d, const QString &column, const QString &text) const;
    RowWrite rowWrite(const QStringList &columns) const;
    // A box given its column's stored text as read from the row.
    void loadBox(const QString &name, const QString &stored);
    void showRefusals(const QStringList &refusals);

    QHash<QString, QWidget *> m_boxes;     // lower-case name -> box
    QHash<QString, QLabel *> m_captions;   // lower-case name -> caption
    QHash<QString, QWidget *> m_buttons;   // lower-case name -> the button after the box
    QHash<QString, std::function<void(QLineEdit *)>> m_enter;
    QHash<QString, QString> m_loaded;      // lower-case column -> text
    QVariantMap m_fixed;                   // lower-case column -> a Fixed column's value
    QVariant m_written;                    // the key of the row last written
    DataSet *m_row = nullptr;              // the form's own reading of its row
    QPushButton *m_insBtn = nullptr;
    QPushButton *m_editBtn = nullptr;
    TBalloonTip *m_tip = nullptr;
    QVariant m_key;
    bool m_insert = true;
    QVBoxLayout *m_boxArea = nullptr;
    bool m_laidOut = false;
    QVBoxLayout *m_outer = nullptr;
    QHBoxLayout *m_buttonRow = nullptr;
    QVBoxLayout *m_listArea = nullptr;
    Menus *m_menus = nullptr;
    QSet<QString> m_hiddenByRights;
};
