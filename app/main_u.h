#pragma once
#include <QMainWindow>
#include <functional>

class AppContext;
struct PageRights;
class QMenu;

// The main window: its menu opens every register after the page rights check.
class Tmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmain(AppContext &ctx, QWidget *parent = nullptr);

    using Opener = std::function<void(const PageRights &)>;
    // Adds a menu item that checks `page` and, when the user may open it, runs `open`
    // with the rights to apply to the target window.
    QAction *addOpener(const QString &objectName, const QString &caption, const QString &page, Opener open);
    // Runs a menu item by its objectName, as a click would; false when there is none.
    bool trigger(const QString &objectName);

    static const QString kExitQuestion;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    AppContext &m_ctx;
    QMenu *m_registers;
};
