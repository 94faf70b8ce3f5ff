// The compact rows of a listing, the Persian order over UTF-8 and the PostgreSQL placeholders.
#include "core/fetch.h"
#include "core/rowstore.h"
#include "shared/persian.h"

#include <QRandomGenerator>
#include <QtTest>

class RowStoreTest : public QObject {
    Q_OBJECT
private slots:
    void cellsComeBackAsWritten()
    {
        RowStore s;
        const QByteArray fa = QStringLiteral("روستاي ده نو").toUtf8();
        const QByteArray big(300000, 'x'); // a row larger than a quarter chunk goes in its own
        for (int r = 0; r < 3000; ++r) {
            s.addInt(r % 2 ? -qint64(r) * 1000000007 : r);
            s.addNull();
            s.addDouble(30.3 + r);
            s.addText(fa.constData(), int(fa.size()));
            s.addBool(r % 3 == 0);
            s.addText("", 0);
            if (r == 1500)
                s.addBytes(RowStore::Blob, big.constData(), int(big.size()));
            else
                s.addInt(std::numeric_limits<qint64>::min() + r);
            s.endRow();
        }
        QCOMPARE(s.rowCount(), 3000);
        for (int r : {0, 1, 1499, 1500, 1501, 2999}) {
            QCOMPARE(s.value(r, 0).toLongLong(), r % 2 ? -qint64(r) * 1000000007 : r);
            QVERIFY(s.value(r, 1).isNull() && !s.value(r, 5).isNull());
            QCOMPARE(s.value(r, 2).toDouble(), 30.3 + r);
            QCOMPARE(s.value(r, 3).toString(), QStringLiteral("روستاي ده نو"));
            QCOMPARE(s.value(r, 4).toBool(), r % 3 == 0);
            QCOMPARE(s.value(r, 5).toString(), QString());
            if (r == 1500)
                QCOMPARE(s.value(r, 6).toByteArray(), big);
            else
                QCOMPARE(s.value(r, 6).toLongLong(), std::numeric_limits<qint64>::min() + r);
        }
        // About what the values take: 3,000 rows of about 40 bytes and one large one.
        QVERIFY(s.bytesHeld() < 3 * (1 << 20));
        s.clear();
        QCOMPARE(s.rowCount(), 0);
        QVERIFY(s.value(0, 0).isNull());
    }

    // A server's decimal text: an amount (at most four decimals) keeps its exact text beside the
    // nearest double; a whole value is an integer; more decimals are a double as any number.
    void decimalsKeepAnAmountsText()
    {
        const std::tuple<const char *, const char *, RowStore::Tag> cases[] = {
            {"1234567890123.4567", "1234567890123.4567", RowStore::Decimal},
            {"1219506173472.12500000", "1219506173472.125", RowStore::Decimal},
            {"-0.5000", "-0.5", RowStore::Decimal},
            {"1250000.0000", "1250000", RowStore::Int},
            {"0.49995000", "0.49995", RowStore::Double},
            {"42", "42", RowStore::Int},
        };
        RowStore s;
        for (const auto &[server, shown, tag] : cases) {
            s.addBytes(RowStore::Decimal, server, int(qstrlen(server)));
            s.addInt(7); // the cell after it is found
            s.endRow();
        }
        for (int r = 0; r < s.rowCount(); ++r) {
            const auto &[server, shown, tag] = cases[r];
            const RowStore::Cell c = s.cell(r, 0);
            QCOMPARE(c.tag, tag);
            QVERIFY(c.isNumber());
            QCOMPARE(c.tag == RowStore::Double ? QString::number(c.d, 'g', 15) : RowStore::text(c), QString(shown));
            QCOMPARE(s.value(r, 0).toDouble(), QByteArray(server).toDouble());
            QCOMPARE(s.value(r, 1).toInt(), 7);
        }
    }

    void persianOrderOverUtf8()
    {
        // Whatever the texts, both comparisons agree (the order is the database test's): yeh and
        // kaf forms, the non-joiner, marks, Latin, digits and characters outside the basic plane.
        const QList<char32_t> alphabet = {U'a', U'Z', U'1', U' ', 0x0627, 0x0622, 0x0628, 0x067E, 0x06A9, 0x0643,
                                          0x06CC, 0x064A, 0x0626, 0x200C, 0x064B, 0x06F1, 0xFB8E, 0x1F600, 0xE000};
        QRandomGenerator rng(7);
        for (int k = 0; k < 20000; ++k) {
            QString x, y;
            for (QString *s : {&x, &y}) {
                const int n = rng.bounded(5);
                for (int i = 0; i < n; ++i)
                    s->append(QString::fromUcs4(&alphabet[rng.bounded(alphabet.size())], 1));
            }
            const QByteArray a = x.toUtf8(), b = y.toUtf8();
            const int u = persianCompareUtf8(a.constData(), int(a.size()), b.constData(), int(b.size()));
            const int q = persianCompare(x, y);
            QVERIFY2((u < 0) == (q < 0) && (u > 0) == (q > 0), qPrintable(x + QLatin1Char('|') + y));
        }
    }

    void placeholdersOutsideQuotes()
    {
        QCOMPARE(dbfetch::pgPlaceholders(QStringLiteral("select '?', \"a?\" from t where x=? and y like ? -- ?\n and z=?")),
                 QByteArray("select '?', \"a?\" from t where x=$1 and y like $2 -- ?\n and z=$3"));
        QCOMPARE(dbfetch::pgPlaceholders(QStringLiteral("select 'it''s ?' where a=?")),
                 QByteArray("select 'it''s ?' where a=$1"));
    }
};

QTEST_GUILESS_MAIN(RowStoreTest)
#include "test_rowstore.moc"
