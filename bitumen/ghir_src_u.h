#pragma once
// The bitumen projects window: search, listing and the subsystem's commands.
#include <QDialog>

class AppContext;
struct PageRights;

class Tghir_src : public QDialog {
    Q_OBJECT
public:
    explicit Tghir_src(AppContext &ctx, QWidget *parent = nullptr);

    // The main menu's opener (page "ghir"): applies the rights, prepares and shows the window.
    void openFromMain(const PageRights &rights);
    // Runs the search (count and listing) with the current filters.
    void search();

private:
    AppContext &m_ctx;
};
