// Number words, digit grouping, the kaf and the Solar calendar.
#include "support/fixture.h"

#include "core/dates.h"
#include "core/money.h"
#include "shared/numwords.h"
#include "shared/persian.h"

class WordsDatesTest : public QObject {
    Q_OBJECT
private slots:
    // The words of a number (none for zero and below); the tonnage is the words, a blank and
    // the unit, every blank of the pieces kept (two meet after a joiner).
    void numberWords_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("words");
        QTest::newRow("0") << 0 << "";
        QTest::newRow("-5") << -5 << "";
        QTest::newRow("19") << 19 << " نوزده ";
        QTest::newRow("999") << 999 << " نهصد و نود و نه ";
        QTest::newRow("1001") << 1001 << " يک هزار و  يک ";
        QTest::newRow("20") << 20 << " بيست ";
        QTest::newRow("90") << 90 << " نود ";
        QTest::newRow("100") << 100 << " صد ";
        QTest::newRow("1000") << 1000 << " يک هزار";
        QTest::newRow("1,000,000") << 1000000 << " يک ميليون";
        QTest::newRow("1,000,001") << 1000001 << " يک ميليون و  يک ";
        QTest::newRow("444") << 444 << " چهارصد\u200C و چهل\u200C و چهار\u200C ";
        QTest::newRow("14") << 14 << " چهارده\u200C ";
        QTest::newRow("1,000,000,000") << 1000000000 << " يک ميليارد";
        // Every group; four, fourteen, forty and four hundred end with a zero-width non-joiner.
        QTest::newRow("2,147,483,647") << 2147483647
                                       << " دو ميليارد و  صد و چهل\u200C و هفت ميليون و "
                                          " چهارصد\u200C و هشتاد و سه هزار و  ششصد و چهل\u200C و هفت ";
        QTest::newRow("414") << 414 << " چهارصد\u200C و چهارده\u200C ";
        // A zero group in the middle is skipped.
        QTest::newRow("4,000,004") << 4000004 << " چهار\u200C ميليون و  چهار\u200C ";
        QTest::newRow("2,000,025") << 2000025 << " دو ميليون و  بيست و پنج ";
    }
    void numberWords()
    {
        QFETCH(int, n);
        QFETCH(QString, words);
        QCOMPARE(NumberToWords(n, QString()), words);
        QCOMPARE(GetNum(n), words + " تن");
    }

    // A unit word other than the tonnage's: a blank, then the word.
    void numberWordsWithAUnit() { QCOMPARE(NumberToWords(25, "X"), " بيست و پنج  X"); }

    // Persian keheh becomes the Arabic kaf; the Arabic kaf, the gaf and both yehs stay.
    void kafNormalised()
    {
        const QString in = QString::fromUtf8("\u06A9\u0631\u062C \u0643 \u06AF\u06CC\u064A\u06A9");
        const QString out = QString::fromUtf8("\u0643\u0631\u062C \u0643 \u06AF\u06CC\u064A\u0643");
        QCOMPARE(NormalizeKaf(in), out);
        QCOMPARE(NormalizeKaf(QString()), QString());
    }

    void groupDigits()
    {
        for (const auto &[in, out] : {std::pair{"", ""}, {"125", "125"}, {"1250", "1,250"}, {"1234567", "1,234,567"},
                                      {"1250.5", "1,250.5"}, {"-1234567", "-1,234,567"}, {"1,234,567", "1,234,567"},
                                      {"abc1234", "abc1234"}, {"?", "?"}})
            QCOMPARE(GroupDigits(in), QString(out));
    }

    // Money read exactly to the fourth decimal (the fifth rounds it), written plain, shown as
    // grouped whole rials; "" where the text is refused.
    void money()
    {
        const std::tuple<const char *, const char *, const char *> cases[] = {
            {"1,250.5", "1250.5", "1,251"}, {"۱۲۵۰", "1250", "1,250"}, {"0.00005", "0.0001", "0"},
            {"1250000.0000", "1250000", "1,250,000"}, {"50845204765.056", "50845204765.056", "50,845,204,765"},
            {"922337203685477.5807", "922337203685477.5807", "922,337,203,685,478"}, {"-1500.6", "-1500.6", "-1,501"},
            {"", "", ""}, {"سه", "", ""}, {"922337203685478", "", ""}, {"1.2.3", "", ""}, {"2,3", "", ""}};
        for (const auto &[in, plain, grouped] : cases) {
            qint64 v = 0;
            QVERIFY2(money::read(QString::fromUtf8(in), &v) == (*plain != 0), in);
            if (*plain)
                QCOMPARE(money::text(v) + " " + money::grouped(v), QString(plain) + " " + grouped);
        }
    }

    void knownSolarDates()
    {
        for (const auto &[g, solar] : {std::pair{QDate(2024, 3, 20), "1403/01/01"}, {QDate(2025, 3, 20), "1403/12/30"},
                                       {QDate(2026, 12, 6), "1405/09/15"}, {QDate(2021, 3, 20), "1399/12/30"},
                                       {QDate(2025, 3, 21), "1404/01/01"}, {QDate(2029, 3, 20), "1408/01/01"},
                                       {QDate(2029, 3, 21), "1408/01/02"}, {QDate(2030, 3, 21), "1409/01/01"},
                                       {QDate(2024, 9, 22), "1403/07/01"}}) {
            const TSolarDate s = toSolar(g);
            QCOMPARE(SolarDateText(s), QString(solar));
            QCOMPARE(fromSolar(s.year, s.month, s.day), g);
            InitToday(g);
            QCOMPARE(SolarDateText(), QString(solar));
        }
    }

    void consecutiveDaysWithoutGapOrRepeat()
    {
        // Two centuries of days: each follows the one before, and each goes back to its own day.
        const QDate from(1925, 3, 1), to(2125, 3, 31);
        TSolarDate prev = toSolar(from);
        int yearLength = 0, years = 0;
        for (QDate d = from.addDays(1); d <= to; d = d.addDays(1)) {
            const TSolarDate s = toSolar(d);
            TSolarDate want = prev;
            if (prev.day < solarMonthDays(prev.year, prev.month)) {
                ++want.day;
            } else if (prev.month < 12) {
                ++want.month;
                want.day = 1;
            } else {
                want = {prev.year + 1, 1, 1};
            }
            if (!(s == want) || fromSolar(s.year, s.month, s.day) != d)
                QFAIL(qPrintable(QStringLiteral("%1 gives %2 after %3").arg(d.toString(Qt::ISODate), SolarDateText(s), SolarDateText(prev))));
            ++yearLength;
            if (s.month == 1 && s.day == 1) {
                // A whole year just ended: 366 days in a leap year, else 365.
                if (years > 0)
                    QCOMPARE(yearLength, isSolarLeapYear(s.year - 1) ? 366 : 365);
                yearLength = 0;
                ++years;
            }
            prev = s;
        }
        QVERIFY(years >= 200);
        QVERIFY(isSolarLeapYear(1403) && !isSolarLeapYear(1404) && !isSolarLeapYear(1407) && isSolarLeapYear(1408));
        QCOMPARE(QList<int>({solarMonthDays(1404, 12), solarMonthDays(1404, 6), solarMonthDays(1404, 7)}),
                 QList<int>({29, 31, 30}));
    }
};

VARNOSET_TEST_MAIN(WordsDatesTest)
#include "test_words_dates.moc"
