// The newcomer's sample data: fills only a new database, and its users can sign in.
#include "support/fixture.h"

#include "core/auth.h"
#include "core/sample_data.h"

#include <QSqlQuery>

class SampleDataTest : public QObject {
    Q_OBJECT
private slots:
    void fillsANewDatabaseOnce()
    {
        Fixture f;
        QVERIFY(fillSampleData(f.dm));
        QVERIFY(f.count(QStringLiteral("abadiha")) >= 10);
        QCOMPARE(f.count(QStringLiteral("abadiha")), f.count(QStringLiteral("xls")));
        QCOMPARE(f.scalar(QStringLiteral("select count(distinct ostan) from abadiha")).toInt(), 2);
        QCOMPARE(f.scalar(QStringLiteral("select count(*) from setting where component=?"), {QStringLiteral("رمز حذف")}).toInt(), 1);
        QVERIFY(verifyPassword(QStringLiteral("admin"),
                               f.scalar(QStringLiteral("select pass from karbaran where karbar='admin'")).toString()));
        QVERIFY(verifyPassword(QStringLiteral("ostan123"),
                               f.scalar(QStringLiteral("select pass from karbaran where level='ostan'")).toString()));
        QVERIFY(f.scalar(QStringLiteral("select count(*) from dastrasi2 d join karbaran k on k.id=d.user_id where k.level='city'")).toInt() == 1);
        QCOMPARE(QSqlQuery(QStringLiteral("select count(*) from prot"), f.dm.ADOConn_prot()).next(), true);

        const qint64 settings = f.count(QStringLiteral("setting"));
        QVERIFY(!fillSampleData(f.dm)); // a second run adds nothing
        QCOMPARE(f.count(QStringLiteral("setting")), settings);
    }

    void leavesADatabaseInUseAlone()
    {
        Fixture f;
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"),
                  {QStringLiteral("بانک"), QStringLiteral("ملت")});
        f.dm.exec(QStringLiteral("update karbaran set pass=? where karbar='admin'"), {hashPassword(QStringLiteral("own"))});
        QVERIFY(!fillSampleData(f.dm));
        QCOMPARE(f.count(QStringLiteral("setting")), qint64(1));
        QCOMPARE(f.count(QStringLiteral("karbaran")), qint64(1));
        QVERIFY(verifyPassword(QStringLiteral("own"),
                               f.scalar(QStringLiteral("select pass from karbaran where karbar='admin'")).toString()));
    }
};

VARNOSET_DB_TEST_MAIN(SampleDataTest)
#include "db_sample.moc"
