#pragma once
// The frame of a register window (a search window with its commands): the menus built from
// a table and bound by objectName (shared/menus.h), the rights applied from a table, the
// opener's page rights, the check of a further page and the "nothing current" refusal.
//
//   Tkhadamat_src::Tkhadamat_src(AppContext &ctx) : RegisterWindow(ctx, "Tkhadamat_src", "خدمات فني ...")
//   {
//       buildMenus(kMenus);
//       onMenu("N1", [this] { newReport(); });
//       ...
//   }
//   void Tkhadamat_src::openFromMain(const PageRights &r) { applyRights(kRights, r); ...; showModal(); }
//
// Another file (the forms, the reports of a window) binds its items through the window's
// onMenu as well.
#include "shared/menus.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <span>

class AppContext;
class DataSet;
class QAction;
class QMenu;
class QMenuBar;
class QVBoxLayout;

class RegisterWindow : public QDialog {
    Q_OBJECT
public:
    // A modal window (title bar with the close box only), right to left, with a vertical
    // layout body() that the menu bar heads.
    RegisterWindow(AppContext &ctx, const QString &objectName, const QString &caption, QWidget *parent = nullptr);
    QVBoxLayout *body() const { return m_body; }

    AppContext &ctx() const { return m_ctx; }

    // Creates the menus of the table (a main menu bar MainMenu1 heads body() when the table
    // has items outside popups). Menus and items by objectName, and their binding, are the
    // Menus block's (an unknown name throws AppError).
    void buildMenus(std::span<const MenuItem> items);
    QMenuBar *menuBar() const { return m_bar; }
    QAction *action(const QString &name) const { return m_menus->action(name); }
    QMenu *menu(const QString &name) const { return m_menus->menu(name); }
    void onMenu(const QString &name, std::function<void()> handler) { m_menus->onMenu(name, std::move(handler)); }
    bool trigger(const QString &name) { return m_menus && m_menus->trigger(name); }

    // Applies the rights: each rule's control enabled / shown by its right.
    void applyRights(std::span<const RightRule> rules, const PageRights &rights);

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
    AppContext &m_ctx;
    QVBoxLayout *m_body = nullptr;
    QMenuBar *m_bar = nullptr;
    Menus *m_menus = nullptr;
};
