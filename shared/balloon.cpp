#include "shared/balloon.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The frameless tip window: a rounded box with the icon, the title in bold and the text.
class BalloonWindow : public QWidget {
public:
    static constexpr int kMaxTextWidth = 420;
    BalloonWindow()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setObjectName(QStringLiteral("balloon_tip"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TranslucentBackground);
        setLayoutDirection(Qt::RightToLeft);
        auto *outer = new QHBoxLayout(this);
        outer->setContentsMargins(10, 8, 10, 8);
        outer->setSpacing(8);
        icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("balloon_icon"));
        icon->setAlignment(Qt::AlignTop);
        outer->addWidget(icon);
        auto *texts = new QVBoxLayout;
        texts->setSpacing(2);
        title = new QLabel(this);
        title->setObjectName(QStringLiteral("balloon_title"));
        QFont f = title->font();
        f.setBold(true);
        title->setFont(f);
        body = new QLabel(this);
        body->setObjectName(QStringLiteral("balloon_text"));
        body->setWordWrap(true);
        texts->addWidget(title);
        texts->addWidget(body);
        outer->addLayout(texts);
        for (QLabel *l : {title, body}) {
            l->setTextFormat(Qt::PlainText);
            l->setForegroundRole(QPalette::ToolTipText);
        }
    }

    void fill(int iconNo, const QString &titleText, const QString &text)
    {
        QStyle::StandardPixmap sp = QStyle::SP_MessageBoxInformation;
        switch (iconNo) {
        case 2: sp = QStyle::SP_MessageBoxWarning; break;
        case 3: sp = QStyle::SP_MessageBoxCritical; break;
        default: break;
        }
        if (iconNo == 0) {
            icon->clear();
            icon->hide();
        } else {
            const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
            icon->setPixmap(style()->standardIcon(sp).pixmap(size, size));
            icon->show();
        }
        title->setText(titleText);
        title->setVisible(!titleText.isEmpty());
        body->setText(text);
        // One line up to a fair width, wrapped beyond it.
        int wide = 0;
        for (const QString &line : text.split(QLatin1Char('\n')))
            wide = qMax(wide, body->fontMetrics().horizontalAdvance(line));
        body->setFixedWidth(qMin(wide + 4, kMaxTextWidth));
        adjustSize();
    }

    QLabel *icon;
    QLabel *title;
    QLabel *body;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.fillPath(path, palette().color(QPalette::ToolTipBase));
        p.setPen(palette().color(QPalette::ToolTipText));
        p.drawPath(path);
    }
};

struct Entry {
    int icon = 0;
    QString title;
    QString text;
};

} // namespace

// The tips of one window: the registered controls and the one tip window they share.
class TBalloonTip : public QObject {
public:
    explicit TBalloonTip(QWidget *owner)
        : QObject(owner)
        , m_owner(owner)
    {
        setObjectName(QStringLiteral("balloon"));
        // Like the system's balloons, a tip goes away by itself after a while.
        m_autoHide.setSingleShot(true);
        m_autoHide.setInterval(kAutoHideMs);
        connect(&m_autoHide, &QTimer::timeout, this, &TBalloonTip::hide);
        owner->installEventFilter(this);
    }
    static constexpr int kAutoHideMs = 10000;
    ~TBalloonTip() override { delete m_window; }

    void add(QWidget *control, int icon, const QString &title, const QString &text)
    {
        if (icon < 0 || icon > 3)
            icon = 0;
        const bool known = m_entries.contains(control);
        m_entries.insert(control, Entry{icon, title.left(255), text});
        if (!known) {
            control->installEventFilter(this);
            connect(control, &QObject::destroyed, this, [this, control] {
                m_entries.remove(control);
                if (m_shownFor == control)
                    hide();
            });
        }
    }

    const Entry *entry(QWidget *control) const
    {
        auto it = m_entries.constFind(control);
        return it == m_entries.constEnd() ? nullptr : &*it;
    }

    void show(QWidget *control)
    {
        const Entry *e = entry(control);
        if (!e || !control->isVisible())
            return;
        if (!m_window)
            m_window = new BalloonWindow;
        m_window->fill(e->icon, e->title, e->text);
        // Below the control, its middle under the control's middle, kept on the screen.
        QPoint at = control->mapToGlobal(QPoint(control->width() / 2 - m_window->width() / 2, control->height() + 2));
        if (QScreen *s = control->screen()) {
            const QRect area = s->availableGeometry();
            if (at.y() + m_window->height() > area.bottom())
                at.setY(control->mapToGlobal(QPoint(0, 0)).y() - m_window->height() - 2);
            at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - m_window->width())));
        }
        m_window->move(at);
        m_window->show();
        m_window->raise();
        m_shownFor = control;
        m_autoHide.start();
    }

    void hide()
    {
        m_autoHide.stop();
        if (m_window)
            m_window->hide();
        m_shownFor = nullptr;
    }

    QWidget *window() const { return m_window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w == m_owner && w) {
            // The window closes: its tip goes with it.
            if (event->type() == QEvent::Hide)
                hide();
            return false;
        }
        if (w && m_entries.contains(w)) {
            switch (event->type()) {
            case QEvent::Enter:
                show(w);
                break;
            case QEvent::Leave:
            case QEvent::Hide:
            case QEvent::MouseButtonPress:
                if (m_shownFor == w)
                    hide();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    QHash<QWidget *, Entry> m_entries;
    QPointer<BalloonWindow> m_window;
    QWidget *m_shownFor = nullptr;
    QWidget *m_owner;
    QTimer m_autoHide;
};

TBalloonTip *CreateBalloonTip(QWidget *owner)
{
    if (!owner)
        return nullptr;
    return new TBalloonTip(owner);
}

void AddBalloonTip(TBalloonTip *tip, QWidget *control, int icon, const QString &title, const QString &text)
{
    if (!tip || !control)
        return;
    tip->add(control, icon, title, text);
}

QString BalloonTitle(TBalloonTip *tip, QWidget *control)
{
    const Entry *e = tip ? tip->entry(control) : nullptr;
    return e ? e->title : QString();
}

QString BalloonText(TBalloonTip *tip, QWidget *control)
{
    const Entry *e = tip ? tip->entry(control) : nullptr;
    return e ? e->text : QString();
}

void ShowBalloonTip(TBalloonTip *tip, QWidget *control)
{
    if (tip && control)
        tip->show(control);
}

void HideBalloonTip(TBalloonTip *tip)
{
    if (tip)
        tip->hide();
}

QWidget *BalloonWindowOf(TBalloonTip *tip)
{
    return tip ? tip->window() : nullptr;
}
