#pragma once
// What every window is handed: the data module, the signed-in user, the door to the
// person and the program's windows. Nothing else is global.
#include <QHash>
#include <QString>
#include <QWidget>
#include <functional>

class Tdm;
class Ui;

struct TCurrentUser {
    QString prs_id; // users row id, as text
    QString level;  // "admin", "ostan", "city" or "keshvar"; compared exactly
    QString karbar; // user name
};

class AppContext {
public:
    Tdm *dm = nullptr;
    Ui *ui = nullptr;
    TCurrentUser CurrentUser;
    // The main window: the registers take their size from it when they open.
    QWidget *mainWindow = nullptr;

    // Windows by class name. Each is registered at start-up with its maker (by default
    // `new T(ctx)`), made the first time it is asked for and then kept for the rest of the run,
    // so that what a window holds stays from one opening to the next. A window nobody asked for
    // is never made. form() gives nullptr for a class that was not registered.
    template <class T> void addForm(std::function<T *()> make = {})
    {
        m_makers.insert(className<T>(), make ? std::function<QWidget *()>(std::move(make))
                                             : std::function<QWidget *()>([this] { return new T(*this); }));
    }
    template <class T> T *form() const { return static_cast<T *>(formNamed(className<T>())); }
    // The windows made so far.
    QList<QWidget *> forms() const { return m_forms.values(); }
    // Makes every registered window not made yet (to look over all of them).
    void makeForms() const
    {
        for (auto i = m_makers.constBegin(); i != m_makers.constEnd(); ++i)
            formNamed(i.key());
    }
    // Sees each window once it is made, with what its maker attached to it.
    std::function<void(QWidget *)> formMade;

private:
    template <class T> static QString className() { return QString::fromLatin1(T::staticMetaObject.className()); }
    QWidget *formNamed(const QString &name) const
    {
        if (QWidget *w = m_forms.value(name))
            return w;
        const auto make = m_makers.constFind(name);
        if (make == m_makers.constEnd())
            return nullptr;
        if (m_making.contains(name))
            qFatal("window %s asked for while it is being made", qPrintable(name));
        m_making.insert(name, true);
        QWidget *w = (*make)();
        m_making.remove(name);
        m_forms.insert(name, w);
        if (formMade)
            formMade(w);
        return w;
    }

    QHash<QString, std::function<QWidget *()>> m_makers;
    mutable QHash<QString, QWidget *> m_forms;
    mutable QHash<QString, bool> m_making;
};
