// A listing read straight from the engine on both databases: the values as the grids and the
// forms read them, the Persian order of the database and of the title sort alike, a listing
// inside a running transaction, a refused statement, and a repeated search keeping its columns.
#include "support/fixture.h"

#include "core/errors.h"

#include <QSignalSpy>

class DataSetTest : public QObject {
    Q_OBJECT
private slots:
    void valuesAsTheWindowsReadThem()
    {
        Fixture f;
        const QByteArray scan("\x00\xff\x01'?", 5);
        f.dm.exec("insert into ghir_pic (ext, pic, cmt, ghir_id) values (?,?,?,?)",
                  {".jpg", scan, "نامه 'اول' ? و دوم", 7});
        f.dm.exec("insert into ghir (ostan, city, bors_price, prot_mablagh, ghir_tahatori, status) values (?,?,?,?,?,?)",
                  {"مرکزي", "اراك", 3500000, 1250000, 15.5, ""});
        DataSet *q = f.dm.ADOQuery1;
        q->open("select * from ghir_pic where cmt like ? and ghir_id=?", {"%'اول'%", 7});
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->value("pic").toByteArray(), scan);
        QCOMPARE(q->text("cmt") + q->text("ghir_id"), "نامه 'اول' ? و دوم7");
        // Money reads as whole rials, a fraction with its digits, an empty text as empty, a
        // missing value as null.
        q->open("select bors_price, prot_mablagh, ghir_tahatori, status, cmt, bors_price*1.2 as z from ghir");
        QCOMPARE(q->toInt64("prot_mablagh"), 1250000);
        QCOMPARE(QStringList({q->text("bors_price"), q->text("ghir_tahatori"), q->text("z")}),
                 QStringList({"3500000", "15.5", "4200000"}));
        QVERIFY(!q->isNull("status") && q->text("status").isEmpty() && q->isNull("cmt"));
        // A statement with "?" inside a quoted text keeps it as text.
        q->open("select '?' as a, ? as b from ghir", {"ب"});
        QCOMPARE(q->text("a") + q->text("b"), "?ب");
    }

    void persianOrderOfDatabaseAndTitleSortAgree()
    {
        Fixture f;
        const QStringList names = {"يزد", "گرمسار", "كاشان", "ژاله", "زنجان", "چالوس", "پارس", "بم", "اراك", "آب"};
        for (const QString &n : names)
            f.dm.exec("insert into abadiha (ostan, shahrestan) values (?,?)", {"مرکزي", n});
        DataSet *q = f.dm.ADOQuery1;
        q->open("select shahrestan from abadiha order by shahrestan collate fa");
        auto listed = [&] {
            QStringList out;
            for (int r = 0; r < q->recordCount(); ++r)
                out << q->data(q->index(r, 0)).toString();
            return out;
        };
        QStringList expected = names;
        std::reverse(expected.begin(), expected.end());
        QCOMPARE(listed(), expected);
        q->open("select shahrestan from abadiha");
        q->setSort("shahrestan ASC");
        QCOMPARE(listed(), expected);

        // An empty cell comes first ascending and last descending, in a column of the statement
        // and in a calculated field alike.
        f.dm.exec("insert into abadiha (ostan) values (?)", {"مرکزي"});
        DataSet d(QStringLiteral("d"));
        d.setDatabase(f.dm.ADOConnection1());
        d.addCalculatedField("copy", [](const DataSet &ds, int row) { return ds.value("shahrestan", row); });
        d.open("select shahrestan from abadiha where shahrestan is null or shahrestan in (?,?)", {"بم", "يزد"});
        for (const char *field : {"shahrestan", "copy"}) {
            QStringList sorted;
            for (const char *way : {" ASC", " DESC"}) {
                d.setSort(field + QString::fromLatin1(way));
                for (int r = 0; r < d.recordCount(); ++r)
                    sorted << (d.isNull(field, r) ? "-" : d.text(field, r));
            }
            QCOMPARE(sorted, QStringList({"-", "بم", "يزد", "يزد", "بم", "-"}));
        }
    }

    void listingInsideATransactionAndRefusals()
    {
        Fixture f;
        f.dm.exec("insert into setting (component, cmt) values (?,?)", {"رمز حذف", "123"});
        DataSet *q = f.dm.ADOQuery1;
        f.dm.transaction([&] {
            f.dm.exec("insert into setting (component, cmt) values (?,?)", {"رمز حذف", "456"});
            q->open("select cmt from setting where component=? order by cmt", {"رمز حذف"});
            QCOMPARE(q->recordCount(), 2);
            f.dm.exec("insert into setting (component, cmt) values (?,?)", {"بانک", "ملي"});
        });
        QCOMPARE(f.count("setting"), qint64(3));
        // A refused statement says the database's words and leaves the earlier rows in place.
        QVERIFY_THROWS_EXCEPTION(DbError, q->open("select nothing_here from setting"));
        QCOMPARE(q->text("cmt"), "123");
        q->open("select cmt from setting where component=?", {"بانک"});
        QCOMPARE(q->text("cmt"), "ملي");
    }

    void searchAgainKeepsTheColumns()
    {
        Fixture f;
        for (int i = 0; i < 5; ++i)
            f.dm.exec("insert into setting (component, cmt) values (?,?)", {"list", QString::number(i)});
        DataSet *q = f.dm.ADOQuery1;
        q->open("select * from setting where component=?", {"list"});
        QSignalSpy resets(q, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(q, &QAbstractItemModel::rowsInserted);
        q->open("select * from setting where component=? and cmt<>?", {"list", "2"});
        QCOMPARE(QList<int>({int(resets.count()), int(inserted.count()), q->rowCount(), q->currentRow()}),
                 QList<int>({0, 1, 4, 0}));
        q->open("select cmt from setting");
        QCOMPARE(QList<int>({int(resets.count()), q->columnCount()}), QList<int>({1, 1}));
    }
};

VARNOSET_DB_TEST_MAIN(DataSetTest)
#include "db_dataset.moc"
