// The oil company letter's rule that only a whole-number total is put into words, and the
// answers of the font size box.
#include "support/fixture.h"

#include "bitumen/forms_u.h"

class TonnageWordsTest : public QObject {
    Q_OBJECT
private slots:
    void lettersTotalInWords()
    {
        QCOMPARE(Tghir_forms::tonnageWords(QStringLiteral("20")), QStringLiteral(" بيست  تن"));
        QCOMPARE(Tghir_forms::tonnageWords(QStringLiteral("0")), QStringLiteral(" تن"));
        for (const char *notWhole : {"20.5", "", "1,200", "2147483648", "abc"})
            QCOMPARE(Tghir_forms::tonnageWords(QLatin1String(notWhole)), QString());
    }

    void fontSizeAnswers()
    {
        // 4 to 72 taken, Persian digits and blanks around them too; anything else gives 10.
        const QList<QPair<QString, int>> answers{
            {"10", 10}, {"4", 4}, {"72", 72}, {" 12 ", 12}, {"۱۴", 14}, {"3", 10}, {"73", 10},
            {"-8", 10}, {"1e3", 10}, {"12.5", 10}, {"abc", 10}, {QString(), 10}, {"99999999999", 10}};
        for (const auto &a : answers)
            QCOMPARE(report::FormFrame::fontSizeAnswer(a.first), a.second);
    }
};

VARNOSET_TEST_MAIN(TonnageWordsTest)
#include "test_tonnage_words.moc"
