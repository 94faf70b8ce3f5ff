// Schema set-up, sign-in, the main window's openers and the exit question.
#include "support/fixture.h"

#include "core/login_u.h"
#include "core/main_u.h"
#include "db/schema.h"
#include "db/setup.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>

class FoundationTest : public QObject {
    Q_OBJECT
private slots:
    void schemaHasEveryTableInOrder()
    {
        Fixture f;
        const QSqlRecord ghir = f.dm.ADOConnection1().record(QStringLiteral("ghir"));
        QCOMPARE(ghir.count(), 74);
        QCOMPARE(ghir.fieldName(0).toLower(), QStringLiteral("id"));
        QCOMPARE(ghir.fieldName(1).toLower(), QStringLiteral("ostan"));
        QCOMPARE(ghir.fieldName(73).toLower(), QStringLiteral("tarakom"));
        for (const db::TableDef &t : db::tables()) {
            if (t.conn != db::Conn::Main)
                continue;
            const QSqlRecord rec = f.dm.ADOConnection1().record(QString::fromLatin1(t.name));
            QCOMPARE(rec.count(), int(t.columns.size()));
            for (int i = 0; i < rec.count(); ++i)
                QCOMPARE(rec.fieldName(i).toLower(), QString::fromLatin1(t.columns[i].name));
        }
        const QSqlRecord prot = f.dm.ADOConn_prot().record(QStringLiteral("prot"));
        QVERIFY(prot.indexOf(QStringLiteral("num")) >= 0 && prot.indexOf(QStringLiteral("mablagh")) >= 0);
    }

    void secondSetupKeepsRowsAndAdminRights()
    {
        Fixture f;
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"),
                  {QStringLiteral("بانک"), QStringLiteral("ملی")});
        const qint64 rights = f.count(QStringLiteral("dastrasi"));
        QCOMPARE(rights, qint64(13));
        db::setupSchema(f.dm);
        QCOMPARE(f.count(QStringLiteral("setting")), qint64(1));
        QCOMPARE(f.count(QStringLiteral("karbaran")), qint64(1));
        QCOMPARE(f.count(QStringLiteral("dastrasi")), rights);
        QCOMPARE(f.scalar(QStringLiteral("select level from karbaran where karbar='admin'")).toString(),
                 QStringLiteral("admin"));
    }

    void signIn()
    {
        Fixture f(true);
        f.addUser(QStringLiteral("1234567890"), QStringLiteral("secret"), QStringLiteral("ostan"));
        f.addUser(QStringLiteral("1111111111"), QStringLiteral("pw"), QStringLiteral("city"), false);
        // The password is not kept as typed.
        QVERIFY(!f.scalar(QStringLiteral("select pass from karbaran where karbar='1234567890'"))
                     .toString()
                     .contains(QStringLiteral("secret")));
        auto *login = f.form<Tlogin>();
        auto *user = child<QLineEdit>(login, QStringLiteral("user_name"));
        auto *pass = child<QLineEdit>(login, QStringLiteral("password"));
        auto *enter = child<QPushButton>(login, QStringLiteral("enter_btn"));
        f.ctx.CurrentUser = {};

        user->setText(QStringLiteral("1234567890"));
        pass->setText(QStringLiteral("wrong"));
        enter->click();
        QCOMPARE(f.ui.lastMessage(), Tlogin::kWrongPassword);
        QVERIFY(f.ctx.CurrentUser.karbar.isEmpty());

        user->setText(QStringLiteral("1111111111"));
        pass->setText(QStringLiteral("pw"));
        enter->click();
        QCOMPARE(f.ui.lastMessage(), Tlogin::kInactiveUser);
        QCOMPARE(f.count(QStringLiteral("log")), qint64(0));

        user->setText(QStringLiteral("1234567890"));
        pass->setText(QStringLiteral("secret"));
        login->show();
        enter->click();
        QCOMPARE(f.ctx.CurrentUser.karbar, QStringLiteral("1234567890"));
        QCOMPARE(f.ctx.CurrentUser.level, QStringLiteral("ostan"));
        QVERIFY(!f.ctx.CurrentUser.prs_id.isEmpty());
        QVERIFY(!login->isVisible());
        QVERIFY(f.form<Tmain>()->isVisible());
        QCOMPARE(f.count(QStringLiteral("log")), qint64(1));
        QCOMPARE(f.scalar(QStringLiteral("select karbar from log")).toString(), QStringLiteral("1234567890"));
        QVERIFY(!f.scalar(QStringLiteral("select saat_sys from log")).isNull());

        // The next start pre-fills the last user name.
        Tlogin again(f.ctx);
        QCOMPARE(child<QLineEdit>(&again, QStringLiteral("user_name"))->text(), QStringLiteral("1234567890"));
    }

    void openerChecksThePage()
    {
        Fixture f(true);
        auto *m = f.form<Tmain>();
        PageRights got;
        int opened = 0;
        m->addOpener(QStringLiteral("Ntest"), QStringLiteral("آزمايش"), QStringLiteral("ghir"),
                     [&](const PageRights &r) { got = r; ++opened; });
        const qint64 none = f.addUser(QStringLiteral("u1"), QStringLiteral("p"), QStringLiteral("city"));
        f.signInAs(none, QStringLiteral("u1"), QStringLiteral("city"));
        QVERIFY(m->trigger(QStringLiteral("Ntest")));
        QCOMPARE(opened, 0);
        QCOMPARE(f.ui.lastMessage(), kNoAccessMessage);

        const qint64 hidden = f.addUser(QStringLiteral("u2"), QStringLiteral("p"), QStringLiteral("city"));
        f.grant(hidden, QStringLiteral("ghir"), true, true, true, false);
        f.signInAs(hidden, QStringLiteral("u2"), QStringLiteral("city"));
        f.ui.clear();
        m->trigger(QStringLiteral("Ntest"));
        QCOMPARE(opened, 0);
        QCOMPARE(f.ui.messages, QStringList{kNoAccessMessage});

        const qint64 may = f.addUser(QStringLiteral("u3"), QStringLiteral("p"), QStringLiteral("city"));
        f.grant(may, QStringLiteral("ghir"), true, false, true, true);
        f.signInAs(may, QStringLiteral("u3"), QStringLiteral("city"));
        f.ui.clear();
        m->trigger(QStringLiteral("Ntest"));
        QCOMPARE(opened, 1);
        QVERIFY(f.ui.messages.isEmpty());
        QVERIFY(got.darj && !got.virayesh && got.hazf && got.namayesh);
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
        QCOMPARE(f.ui.questions, QStringList{Tmain::kExitQuestion});
        f.ui.answers.enqueue(Ui::Cancel);
        m->close();
        QVERIFY(m->isVisible());
        f.ui.answers.enqueue(Ui::Yes);
        m->close();
        QVERIFY(!m->isVisible());
        QVERIFY(!login->isVisible());
    }
};

VARNOSET_DB_TEST_MAIN(FoundationTest)
#include "db_foundation.moc"
