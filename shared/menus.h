#pragma once
// Menus made from a table, the one way to bind their items, and the rights applied from a
// table. Every window with menus (register windows, entry forms over their own list, the main
// window) declares them the same way and binds each item to its handler by objectName:
//
//   const MenuItem kMenus[] = {
//       {"", "N1", "ثبت"},                         // "" = the menu bar
//       {"", "N9", "گزارشات", MenuItem::Submenu},
//       {"N9", "N4", "اکسل"},
//       {"", "PopupMenu1", "", MenuItem::Popup},   // a popup menu (for a grid or a list)
//       {"PopupMenu1", "N22", "ثبت مجدد"},
//   };
//   const RightRule kRights[] = {
//       {"N1", RightRule::Darj}, {"N22", RightRule::Darj},
//       {"refresh_btn", RightRule::Darj, RightRule::EnableAndShow},
//   };
//
//   m_menus = new Menus(ctx, this, kMenus, menuBar);   // menuBar: nullptr when only popups
//   m_menus->onMenu("N1", [this] { newReport(); });     // from the window or any other file
//   ApplyRights(this, kRights, rights);
//
// An item triggered runs its handler guarded (an AppError ends it with its message). A
// declared item without a handler is a fault that the start-up check reports (unbound()).
#include "shared/rights.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>
#include <span>

class AppContext;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

struct MenuItem {
    enum Kind {
        Item,    // a command (QAction)
        Submenu, // a menu inside its parent (its QMenu and menuAction both carry the name)
        Popup,   // a popup menu of its own (parent ignored)
        Separator,
    };
    const char *parent;  // "" or nullptr: the menu bar; else a Submenu's or Popup's name
    const char *name;    // objectName
    const char *caption;
    Kind kind = Item;
    bool hidden = false; // created hidden
};

struct RightRule {
    enum Right { Darj, Virayesh, Hazf, Namayesh };
    enum Effect {
        Enable,        // enabled when the right is set, disabled otherwise
        Show,          // shown when the right is set, hidden otherwise
        EnableAndShow, // both
    };
    const char *control; // objectName of a menu item, submenu, button or any widget
    Right right;
    Effect effect = Enable;

    bool granted(const PageRights &r) const
    {
        return right == Darj ? r.darj : right == Virayesh ? r.virayesh : right == Hazf ? r.hazf : r.namayesh;
    }
};

// Each rule's control (a menu item or a widget of `window`, by objectName) enabled / shown by
// its right; an unknown control throws AppError.
void ApplyRights(QWidget *window, std::span<const RightRule> rules, const PageRights &rights);

class Menus : public QObject {
    Q_OBJECT
public:
    // Builds the table's menus: rows with an empty parent go into `bar` (throws AppError when
    // there is none), popups are menus of `window`. objectName "menus".
    Menus(AppContext &ctx, QWidget *window, std::span<const MenuItem> items, QMenuBar *bar = nullptr);

    // An item's action, or a submenu's / popup's menu, by objectName; AppError for an unknown name.
    QAction *action(const QString &name) const;
    QMenu *menu(const QString &name) const;

    // Binds the handler of a declared item (replacing an earlier one); a submenu's handler runs
    // each time it opens. AppError for a name the table does not declare.
    void onMenu(const QString &name, std::function<void()> handler);
    // Runs an item as a click does; false when there is none.
    bool trigger(const QString &name);

    // The declared items that have no handler, as "Window.N29".
    QStringList unbound() const;

private:
    void dispatch(const QString &name);

    AppContext &m_ctx;
    std::span<const MenuItem> m_items;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, std::function<void()>> m_handlers;
};

// The start-up check: the declared menu items without a handler in the windows (their direct
// Menus children), "Window.N29" each.
QStringList UnboundMenuItems(const QList<QWidget *> &windows);
