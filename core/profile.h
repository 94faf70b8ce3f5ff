#pragma once
#include <QString>

class QSettings;

// Where a database lives: an SQLite file or a PostgreSQL server. An empty driver means
// "not configured" (the correspondence database may be absent).
struct DbProfile {
    QString driver;    // "QSQLITE", "QPSQL" or empty
    QString path;      // SQLite file
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;
    QString schema;    // PostgreSQL: schema to work in (created when missing); empty = default

    // How long the program waits on the database before it gives up with a message (kept with
    // the profile; the defaults suit an office).
    struct Bounds {
        int connectSeconds = 10;   // a server that does not answer the connection
        int lockMs = 5000;         // a lock held by another workstation (SQLite's busy timeout too)
        int statementSeconds = 60; // one statement, the longest report included; a server silent
                                   // a quarter longer than this is taken as not answering
    } bounds;

    bool isSet() const { return !driver.isEmpty(); }
    bool isPostgres() const { return driver == QLatin1String("QPSQL"); }

    // "host=... port=... user=... dbname=... password=..." as libpq writes it.
    static DbProfile fromConnInfo(const QString &conninfo);
    static DbProfile sqliteFile(const QString &path);
    // Profiles kept in QSettings under group "main" or "prot".
    static DbProfile load(QSettings &settings, const QString &group);
    void save(QSettings &settings, const QString &group) const;
    // The embedded default files in the user's data folder.
    static QString defaultMainPath();
    static QString defaultProtPath();
};
