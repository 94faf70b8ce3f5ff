#pragma once
#include <QString>

class QWidget;
class TBalloonTip;

// Balloon tips of a window: a tip with title, icon (0 none, 1 info, 2 warning, 3 error)
// and text, shown over a registered control while the mouse rests on it or when asked.
TBalloonTip *CreateBalloonTip(QWidget *owner);
void AddBalloonTip(TBalloonTip *tip, QWidget *control, int icon, const QString &title, const QString &text);
// The registered title and text of a control (for tests and for showing on demand).
QString BalloonTitle(TBalloonTip *tip, QWidget *control);
QString BalloonText(TBalloonTip *tip, QWidget *control);
void ShowBalloonTip(TBalloonTip *tip, QWidget *control);
void HideBalloonTip(TBalloonTip *tip);
// The tip window itself (null until first shown), objectName "balloon_tip".
QWidget *BalloonWindowOf(TBalloonTip *tip);
