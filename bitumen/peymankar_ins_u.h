#pragma once
// The contractors register.
#include <QDialog>

class AppContext;
struct PageRights;

class Tpeymankar_ins : public QDialog {
    Q_OBJECT
public:
    explicit Tpeymankar_ins(AppContext &ctx, QWidget *parent = nullptr);

    // Opened by the bitumen window's contractors command with the rights of page "g_pey"
    // (the caller has already run the page check and it allowed opening).
    void openFromBitumen(const PageRights &rights);
    // Opened from the initial entry's contractor button: a pick fills the entry form's
    // contractor name and id (Tghir_ins::setBoxText). Applies the user's "g_pey" rights itself.
    void openAsPicker();

private:
    AppContext &m_ctx;
};
