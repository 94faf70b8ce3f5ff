#pragma once
// The frame of a register window (a search window with its commands): the menus built from
// a table, the rights applied from a table, the opener's page rights, the check of a further
// page, the "nothing current" refusal, and command handlers bound to menu items by
// objectName -- from the window's own file or from any other file.
//
// A window declares its menus and rights and names its handlers:
//
//   const MenuItem kMenus[] = {
//       {"", "N1", "ثبت"},                         // "" = the main menu bar MainMenu1
//       {"", "N9", "گزارشات", MenuItem::Submenu},
//       {"N9", "N4", "اکسل"},
//       {"", "PopupMenu1", "", MenuItem::Popup},   // a popup menu (for a grid or a list)
//       {"PopupMenu1", "N22", "ثبت مجدد"},
//   };
//   const RightRule kRights[] = {
//       {"N1", RightRule::Darj}, {"N2", RightRule::Virayesh}, {"N3", RightRule::Hazf},
//       {"refresh_btn", RightRule::Darj, RightRule::EnableAndShow},
//   };
//
//   Tkhadamat_src::Tkhadamat_src(AppContext &ctx) : RegisterWindow(ctx, "Tkhadamat_src", "خدمات فني ...")
//   {
//       buildMenus(kMenus);
//       onMenu("N1", [this] { newReport(); });
//       ...
//   }
//   void Tkhadamat_src::openFromMain(const PageRights &r) { applyRights(kRights, r); ...; showModal(); }
//
// Handlers from another file (documents, history, forms, reports of a window) attach by
// objectName without touching the window's file (the registration runs at start-up; the
// handler is looked up each time the item is triggered, so the order does not matter):
//
//   // bitumen/ghir_docs_u.cpp
//   static const bool kN14 = RegisterWindow::handle<Tghir_src>("N14", [](Tghir_src &w) {
//       if (!w.requireCurrent(w.ctx().dm->ADOQ_ghir)) return;
//       if (const auto r = w.checkPage("g_mostanadat")) ...
//   });
//
// Every handler runs guarded: an AppError ends it with its message.
#include "shared/rights.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <optional>
#include <span>

class AppContext;
class DataSet;
class QAction;
class QMenu;
class QMenuBar;
class QVBoxLayout;

struct MenuItem {
    enum Kind {
        Item,    // a command (QAction)
        Submenu, // a menu inside its parent (its QMenu and menuAction both carry the name)
        Popup,   // a popup menu of its own (parent ignored)
        Separator,
    };
    const char *parent;  // "" or nullptr: the main menu bar; else a Submenu's or Popup's name
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
};

// For a window that is not a register window (an entry form over its own list): the rights
// applied to its controls (menu items and widgets found by objectName), and the popup menus
// of a menu table (its Popup rows with their items and separators; the popups are children
// of the window, found by objectName), each item running its handler guarded.
void ApplyRights(QWidget *window, std::span<const RightRule> rules, const PageRights &rights);
void BuildPopupMenus(AppContext &ctx, QWidget *window, std::span<const MenuItem> items,
                     const QHash<QString, std::function<void()>> &handlers);

class RegisterWindow : public QDialog {
    Q_OBJECT
public:
    // A modal window (title bar with the close box only), right to left, with a vertical
    // layout body() that the menu bar heads.
    RegisterWindow(AppContext &ctx, const QString &objectName, const QString &caption, QWidget *parent = nullptr);
    QVBoxLayout *body() const { return m_body; }

    AppContext &ctx() const { return m_ctx; }

    // Creates the menus of the table (the main menu bar MainMenu1 heads body()); a triggered
    // item runs its handler (onMenu, or one registered for the window's class).
    void buildMenus(std::span<const MenuItem> items);
    QMenuBar *menuBar() const { return m_bar; }
    // A menu item's action, or a submenu's / popup's menu, by objectName; throws AppError
    // for an unknown name.
    QAction *action(const QString &name) const;
    QMenu *menu(const QString &name) const;

    // Binds a handler to a menu item (replacing an earlier one, and one registered for the
    // class); it runs guarded. A submenu's handler runs each time the submenu opens.
    void onMenu(const QString &name, std::function<void()> handler);
    // Runs a menu item as a click does; false when there is none.
    bool trigger(const QString &name);

    // Registers a handler for every window of class T (see the header's note). Returns true,
    // so that it can initialise a static.
    template <class T> static bool handle(const char *name, std::function<void(T &)> fn)
    {
        return registerHandler(T::staticMetaObject.className(), name,
                               [fn = std::move(fn)](RegisterWindow &w) { fn(static_cast<T &>(w)); });
    }

    // Applies the rights: each rule's control enabled / shown by its right.
    void applyRights(std::span<const RightRule> rules, const PageRights &rights);
    PageRights rights() const { return m_rights; }

    // The check of a further page inside the window (CheckPageAccess): the refusal shown and
    // nothing returned when the user may not open it.
    std::optional<PageRights> checkPage(const QString &page);
    // Each time the submenu opens, it is checked for `page`: without a rights row the refusal
    // is shown and the submenu opens as it is; without the right to open, it is disabled and
    // the refusal shown.
    void checkSubmenuOnShow(const QString &submenu, const QString &page);

    // False, after saying why (msg::kEmptyList or `message`), when the dataset has no current
    // row: the command then does nothing else.
    bool requireCurrent(DataSet *ds, const QString &message = QString());
    // True when the signed-in user's level is one of `levels` (exact comparison).
    bool levelIs(std::initializer_list<const char *> levels) const;

    // Sizes the window after the main window (its width less 30, its height less 50).
    void sizeAfterMain();
    // Shows the window modally through the Ui.
    int showModal();

protected:
    // Enter neither closes the window nor presses a button.
    void keyPressEvent(QKeyEvent *e) override;

private:
    void dispatch(const QString &name);
    using Handler = std::function<void(RegisterWindow &)>;
    static bool registerHandler(const char *className, const char *name, Handler fn);
    static QHash<QString, QHash<QString, Handler>> &registry();

    AppContext &m_ctx;
    QVBoxLayout *m_body = nullptr;
    QMenuBar *m_bar = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, std::function<void()>> m_handlers;
    PageRights m_rights;
};
