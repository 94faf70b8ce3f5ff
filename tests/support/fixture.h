#pragma once
// A fresh database for each test case, on SQLite or on the PostgreSQL server of
// VARNOSET_TEST_PG (each case in a schema of its own), with the data module, a scripted
// Ui and, when asked, every window of the program.
#include "core/context.h"
#include "core/dm_u.h"
#include "db/sample_data.h"
#include "shared/rights.h"
#include "ui/scriptedui.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace testing_support {

bool usePostgres();

class Fixture {
public:
    // withForms: create every window as the program does at start-up.
    explicit Fixture(bool withForms = false);
    // A second workstation on the database of `first`: its own connection, Ui and windows.
    Fixture(const Fixture &first, bool withForms);
    ~Fixture();

    ScriptedUi ui;
    Tdm dm;
    AppContext ctx;

    // Adds a user (active unless said otherwise) and returns its id.
    qint64 addUser(const QString &name, const QString &password, const QString &level, bool active = true);
    // Gives a user a rights row for a page; a county; makes the user the signed-in user without
    // the login window.
    void grant(qint64 userId, const QString &page, bool darj, bool virayesh, bool hazf, bool namayesh = true);
    void addCounty(qint64 userId, const QString &county);
    void signInAs(qint64 userId, const QString &name, const QString &level)
    {
        ctx.CurrentUser = {QString::number(userId), level, name};
    }
    // The sample data of --sample-data.
    void loadSample() { fillSampleData(dm); }

    QVariant scalar(const QString &sql, const QVariantList &binds = {}) { return dm.scalar(sql, binds); }
    qint64 count(const QString &table) { return scalar(QStringLiteral("select count(*) from ") + table).toLongLong(); }

    template <class T> T *form() { return ctx.form<T>(); }

    // The main database's profile, for a second connection to the same data.
    const DbProfile &profile() const { return m_profile; }

private:
    DbProfile m_profile;
    QTemporaryDir m_dir;
    QString m_schema;
};

// Finds a child widget by objectName or fails the test.
template <class T> T *child(QObject *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    if (!w)
        qFatal("no child %s of %s", qPrintable(name), qPrintable(parent->objectName()));
    return w;
}

int runTest(int argc, char **argv, QObject *test);

} // namespace testing_support

using testing_support::child;
using testing_support::Fixture;

// main() of a test; a database test runs on the backend of VARNOSET_TEST_BACKEND, and a
// PostgreSQL run without a server is skipped (exit 77), or fails when VARNOSET_TEST_REQUIRE_PG is set.
#define VARNOSET_TEST_MAIN(TestClass)                                                                       \
    int main(int argc, char **argv) { TestClass t; return testing_support::runTest(argc, argv, &t); }
#define VARNOSET_DB_TEST_MAIN VARNOSET_TEST_MAIN
