// Schema set-up, sign-in, the main window's openers, the exit question and the sample data.
#include "support/drive.h"
#include "support/texts.h"

#include "core/auth.h"
#include "app/login_u.h"
#include "app/main_u.h"
#include "db/sample_data.h"
#include "db/schema.h"
#include "db/setup.h"

#include <QAction>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>

class FoundationTest : public QObject {
    Q_OBJECT
private slots:
    void schemaHasEveryTableInOrder()
    {
        Fixture f;
        for (const db::TableDef &t : db::tables()) {
            if (t.conn != db::Conn::Main)
                continue;
            const QSqlRecord rec = f.dm.ADOConnection1().record(QString::fromLatin1(t.name));
            QCOMPARE(rec.count(), int(t.columns.size()));
            for (int i = 0; i < rec.count(); ++i)
                QCOMPARE(rec.fieldName(i).toLower(), QString::fromLatin1(t.columns[i].name));
        }
        const QSqlRecord prot = f.dm.ADOConn_prot().record("prot");
        QVERIFY(prot.indexOf("num") >= 0 && prot.indexOf("mablagh") >= 0);
    }

    void secondSetupKeepsRowsAndAdminRights()
    {
        Fixture f;
        f.dm.exec("insert into setting (component, cmt) values (?, ?)", {"بانک", "ملی"});
        const qint64 rights = f.count("dastrasi");
        QVERIFY(rights > 0);
        db::setupSchema(f.dm);
        QCOMPARE(f.count("setting"), qint64(1));
        QCOMPARE(f.count("karbaran"), qint64(1));
        QCOMPARE(f.count("dastrasi"), rights);
        QCOMPARE(f.scalar("select level from karbaran where karbar='admin'").toString(), "admin");
    }

    void signIn()
    {
        Fixture f(true);
        f.addUser("1234567890", "secret", "ostan");
        f.addUser("1111111111", "pw", "city", false);
        // The password is not kept as typed.
        QVERIFY(!f.scalar("select pass from karbaran where karbar='1234567890'").toString().contains("secret"));
        auto *login = f.form<Tlogin>();
        f.ctx.CurrentUser = {};
        auto signIn = [&](const QString &user, const QString &password) {
            child<QLineEdit>(login, "user_name")->setText(user);
            child<QLineEdit>(login, "password")->setText(password);
            click(login, "enter_btn");
            return f.ui.lastMessage();
        };
        QCOMPARE(signIn("1234567890", "wrong"), texts::kWrongPassword);
        QVERIFY(f.ctx.CurrentUser.karbar.isEmpty());
        QCOMPARE(signIn("1111111111", "pw"), texts::kInactiveUser);
        QCOMPARE(f.count("log"), qint64(0));

        login->show();
        signIn("1234567890", "secret");
        QCOMPARE(f.ctx.CurrentUser.karbar, "1234567890");
        QCOMPARE(f.ctx.CurrentUser.level, "ostan");
        QVERIFY(!f.ctx.CurrentUser.prs_id.isEmpty());
        QVERIFY(!login->isVisible());
        QVERIFY(f.form<Tmain>()->isVisible());
        QCOMPARE(f.count("log"), qint64(1));
        QCOMPARE(f.scalar("select karbar from log").toString(), "1234567890");
        QVERIFY(!f.scalar("select saat_sys from log").isNull());

        // The next start pre-fills the last user name.
        Tlogin again(f.ctx);
        QCOMPARE(child<QLineEdit>(&again, "user_name")->text(), "1234567890");
    }

    void openerChecksThePage()
    {
        Fixture f(true);
        auto *m = f.form<Tmain>();
        PageRights got;
        int opened = 0;
        m->addOpener("Ntest", "آزمايش", "ghir", [&](const PageRights &r) { got = r; ++opened; });
        auto openAs = [&](qint64 u, const QString &name) {
            f.signInAs(u, name, "city");
            f.ui.clear();
            m->trigger("Ntest");
            return f.ui.messages;
        };
        // No row, and a row without the right to open: refused.
        const qint64 none = f.addUser("u1", "p", "city");
        const qint64 hidden = f.addUser("u2", "p", "city");
        const qint64 may = f.addUser("u3", "p", "city");
        f.grant(hidden, "ghir", true, true, true, false);
        QCOMPARE(openAs(none, "u1"), QStringList{kNoAccessMessage});
        QCOMPARE(openAs(hidden, "u2"), QStringList{kNoAccessMessage});
        QCOMPARE(opened, 0);
        // A user who may open gets the opener with the row's rights.
        f.grant(may, "ghir", true, false, true, true);
        QCOMPARE(openAs(may, "u3"), QStringList());
        QCOMPARE(opened, 1);
        QVERIFY(got.darj && !got.virayesh && got.hazf && got.namayesh);
        // Another user's row gives nothing.
        QCOMPARE(openAs(none, "u1"), QStringList{kNoAccessMessage});
        QCOMPARE(opened, 1);
    }

    void exitQuestion()
    {
        Fixture f(true);
        auto *m = f.form<Tmain>();
        auto *login = f.form<Tlogin>();
        m->show();
        login->show();
        f.ui.answers.enqueue(Ui::No);
        m->close();
        QVERIFY(m->isVisible());
        QCOMPARE(f.ui.questions, QStringList{texts::kExitQuestion});
        f.ui.answers.enqueue(Ui::Cancel);
        m->close();
        QVERIFY(m->isVisible());
        f.ui.answers.enqueue(Ui::Yes);
        m->close();
        QVERIFY(!m->isVisible());
        QVERIFY(!login->isVisible());
    }

    // The newcomer's sample data: fills only a new database, and its users can sign in.
    void sampleDataFillsANewDatabaseOnce()
    {
        Fixture f;
        QVERIFY(fillSampleData(f.dm));
        QVERIFY(f.count("abadiha") > 0);
        QCOMPARE(f.scalar("select count(*) from setting where component=?", {"رمز حذف"}).toInt(), 1);
        // Each user signs in with the password the README gives.
        const std::pair<const char *, const char *> users[] = {
            {"admin", "admin"}, {"2280000016", "ostan123"}, {"2280000024", "city123"}};
        for (const auto &[user, password] : users)
            QVERIFY2(verifyPassword(password, f.scalar("select pass from karbaran where karbar=?", {user}).toString()), user);
        QVERIFY(f.scalar("select count(*) from dastrasi2 d join karbaran k on k.id=d.user_id where k.level='city'").toInt() == 1);
        QCOMPARE(QSqlQuery("select count(*) from prot", f.dm.ADOConn_prot()).next(), true);

        const qint64 settings = f.count("setting");
        QVERIFY(!fillSampleData(f.dm)); // a second run adds nothing
        QCOMPARE(f.count("setting"), settings);
    }

    void sampleDataLeavesADatabaseInUseAlone()
    {
        Fixture f;
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {"بانک", "ملت"});
        f.dm.exec("update karbaran set pass=? where karbar='admin'", {hashPassword("own")});
        QVERIFY(!fillSampleData(f.dm));
        QCOMPARE(f.count("setting"), qint64(1));
        QCOMPARE(f.count("karbaran"), qint64(1));
        QVERIFY(verifyPassword("own", f.scalar("select pass from karbaran where karbar='admin'").toString()));
    }
};

VARNOSET_DB_TEST_MAIN(FoundationTest)
#include "db_foundation.moc"
