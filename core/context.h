#pragma once
// What every window is handed: the data module, the signed-in user, the door to the
// person and the windows created at start-up. Nothing else is global.
#include <QHash>
#include <QString>
#include <QWidget>

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

    // Windows by class name, created once at start-up.
    void addForm(QWidget *w) { m_forms.insert(QString::fromLatin1(w->metaObject()->className()), w); }
    template <class T> T *form() const
    {
        return static_cast<T *>(m_forms.value(QString::fromLatin1(T::staticMetaObject.className())));
    }
    QList<QWidget *> forms() const { return m_forms.values(); }

private:
    QHash<QString, QWidget *> m_forms;
};
