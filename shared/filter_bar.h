#pragma once
// A search window's filter bar made from a table. Each row is a tick and its box: ticking
// enables the box, paints it yellow and gives it the focus; unticking disables it and gives
// it back the window colour. A box takes part in the search exactly while it is enabled,
// whatever its text. Each filter gives its SQL piece with its binds, in table order.
//
//   const FilterDef kFilters[] = {
//       {.check = "CheckBox8", .caption = "استان", .box = "ostan", .kind = FilterKind::Combo}, // lists only
//       {.check = "CheckBox2", .caption = "شهرستان", .box = "city", .kind = FilterKind::ComboList,
//        .column = "city", .match = FilterMatch::AnyLike, .flags = FilterDef::EnterRuns | FilterDef::KafOnLeave,
//        .list = {"add_city", "show_list_city", "list_city", "PopupMenu4", "N48", "حذف شهرستان"}},
//       {.check = "CheckBox4", .caption = "تاريخ ثبت", .box = "reg_dat", .kind = FilterKind::DateRange,
//        .column = "reg_dat", .match = FilterMatch::Range},
//       {.check = "CheckBox5", .caption = "سال", .box = "sal", .kind = FilterKind::Year, .column = "sal",
//        .match = FilterMatch::Like},
//   };
//   m_filters = new FilterBar(this, kFilters);         // lays its controls out, 4 filters a row
//   connect(m_filters, &FilterBar::enterPressed, this, [this] { search(); });
//   QVariantList binds;
//   const QString sql = "select * from khadamat where id<>-1 " + m_filters->sql(binds);
//
// Box kinds: Combo (editable combo box), Line (edit box), Year (four-digit mask "0000",
// unfilled places read as blanks), DateRange (two date boxes named box + "1" and box + "2"
// with "تا" between them), ComboList (a combo with a "+" button that adds its text to a
// list, a tick that shows the list, and the list's popup item that removes the selected
// entry; ticking the filter, either way, hides and empties the list). The window may place
// the controls itself: every control is found by its objectName (box(), check(), list()...).
#include <QVariantList>
#include <QWidget>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class DataSet;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TDateEdit;

enum class FilterKind { Combo, Line, Year, DateRange, ComboList };

enum class FilterMatch {
    None,      // never enters the SQL (a province box that only narrows a list)
    Equals,    // " and column=?" with the text
    Like,      // " and column like ?" with "%" + text + "%"
    Range,     // " and column>=? and column<=?" with the two date boxes' texts
    AnyLike,   // " and  ( column=? or column like ? ... ) ": "???" (matches nothing), then
               // "%" + item + "%" for each list entry, in list order
    AnyEquals, // the same with " or column=?" and the entries themselves
};

// The names of a ComboList filter's extra controls.
struct FilterListNames {
    const char *plus = nullptr;    // the "+" button
    const char *show = nullptr;    // the tick that shows the list
    const char *list = nullptr;    // the list (hidden, borderless)
    const char *popup = nullptr;   // the list's popup menu
    const char *remove = nullptr;  // its item that removes the selected entry
    const char *removeCaption = nullptr;
};

struct FilterDef {
    enum Flag : unsigned {
        EnterRuns = 1,  // Enter in the box emits enterPressed()
        KafOnLeave = 2, // leaving the box writes its keheh as the Arabic kaf (NormalizeKaf)
        Sorted = 4,     // a combo's list is kept in Persian alphabetical order (fill())
    };
    const char *check;         // the tick's objectName
    const char *caption;       // the tick's caption
    const char *box;           // the box's objectName (DateRange: the stem of the two boxes)
    FilterKind kind = FilterKind::Combo;
    const char *column = nullptr; // the SQL column (may carry a table: "khadamat.city")
    FilterMatch match = FilterMatch::None;
    unsigned flags = 0;
    FilterListNames list = {};
    int width = 0;             // the box's width; 0: its natural width
};

class FilterBar : public QWidget {
    Q_OBJECT
public:
    // Creates every control of the table (boxes disabled, ticks clear) and lays them out,
    // `perRow` filters a row. objectName "filters".
    FilterBar(QWidget *parent, std::span<const FilterDef> defs, int perRow = 4);
    ~FilterBar() override;

    // " and ..." pieces of the enabled filters, in table order; binds receives their values.
    QString sql(QVariantList &binds) const;
    // One filter's piece (empty while it is off); `column` and `match` override the table's
    // (a second statement of the window may compare the same box differently).
    QString piece(const QString &box, QVariantList &binds, const QString &column = QString(),
                  std::optional<FilterMatch> match = std::nullopt) const;

    // Whether the filter of `box` takes part (its box is enabled).
    bool isOn(const QString &box) const;
    // The text as it enters the SQL (a Year box with blanks for unfilled places; a DateRange
    // gives its first box).
    QString text(const QString &box) const;
    QStringList listItems(const QString &box) const;
    // Adds an entry to a ComboList filter's list (as its "+" does with the combo's text).
    void addListItem(const QString &box, const QString &text);
    // Fills a combo box's list from a query (FillComboFromQuery, sorted when its filter is).
    void fill(const QString &box, DataSet *query, const QString &sql, const QVariantList &binds = {});
    // Ticks or clears a filter as a click on its tick does.
    void setTicked(const QString &box, bool ticked);

    // The controls by objectName; nullptr when there is none of that kind.
    QWidget *box(const QString &name) const;
    QComboBox *combo(const QString &name) const;
    QLineEdit *line(const QString &name) const;
    TDateEdit *date(const QString &name) const;
    QCheckBox *check(const QString &name) const;
    QListWidget *list(const QString &name) const;

    // The filter box's yellow.
    static const QColor kTickedColor;

signals:
    // Enter was pressed in a box whose filter has EnterRuns.
    void enterPressed();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    struct Entry;
    const Entry *entry(const QString &box) const;
    void ticked(const Entry &e, bool on);
    std::vector<std::unique_ptr<Entry>> m_entries;
};
