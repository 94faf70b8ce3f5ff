#pragma once
#include <QMainWindow>
#include <functional>

class AppContext;
class Menus;
struct PageRights;

// The main window: its menus open every register after the page rights check.
class Tmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmain(AppContext &ctx, QWidget *parent = nullptr);

    using Opener = std::function<void(const PageRights &)>;
    // Binds a menu item of the main window: a click checks the item's page and, when the user
    // may open it, runs `open` with the rights to apply to the target window.
    void bindOpener(const QString &objectName, Opener open);
    // Runs a menu item by its objectName, as a click would; false when there is none.
    bool trigger(const QString &objectName);
    Menus *menus() const { return m_menus; }

    static const QString kExitQuestion;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    AppContext &m_ctx;
    Menus *m_menus;
};
