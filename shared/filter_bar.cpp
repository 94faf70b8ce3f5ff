#include "shared/filter_bar.h"

struct FilterBar::Entry {};
FilterBar::~FilterBar() = default;
bool FilterBar::eventFilter(QObject *w, QEvent *e) { return QWidget::eventFilter(w, e); }
