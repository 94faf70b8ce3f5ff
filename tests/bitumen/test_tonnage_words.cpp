// The oil company letter's tonnage in words: GetNum's pieces exactly as they are joined,
// and the letter's rule that only a whole-number total is put into words.
#include "support/fixture.h"

#include "bitumen/forms_u.h"
#include "shared/numwords.h"

class TonnageWordsTest : public QObject {
    Q_OBJECT
private slots:
    void getNum()
    {
        const QString ton = QStringLiteral("تن");
        // 1001: " يک ", "هزار", the joiner " و ", " يک " again, then a blank and the unit: every
        // blank of the pieces kept, so two blanks meet after the joiner.
        QCOMPARE(GetNum(1001), QStringLiteral(" يک ") + QStringLiteral("هزار") + QStringLiteral(" و ")
                                   + QStringLiteral(" يک ") + QStringLiteral(" ") + ton);
        QCOMPARE(GetNum(0), QStringLiteral(" تن"));
        QCOMPARE(GetNum(-5), QStringLiteral(" تن"));
        // 20 tonnes: the tens word, a blank, the unit.
        QCOMPARE(GetNum(20), QStringLiteral(" بيست ") + QStringLiteral(" ") + ton);
        // Tens and units joined by "و", hundreds before them; a zero group adds nothing.
        QCOMPARE(GetNum(2000025), QStringLiteral(" دو ميليون و  بيست و پنج  تن"));
        // Four, fourteen, forty and four hundred end with a zero-width non-joiner.
        const QChar zwnj(0x200C);
        QCOMPARE(GetNum(444), QStringLiteral(" چهارصد") + zwnj + QStringLiteral(" و چهل") + zwnj + QStringLiteral(" و چهار")
                                  + zwnj + QStringLiteral("  تن"));
        QCOMPARE(GetNum(14), QStringLiteral(" چهارده") + zwnj + QStringLiteral("  تن"));
        QVERIFY(GetNum(2147483647).startsWith(QStringLiteral(" دو ميليارد")));
    }

    void lettersTotalInWords()
    {
        QCOMPARE(Tghir_forms::tonnageWords(QStringLiteral("20")), GetNum(20));
        QCOMPARE(Tghir_forms::tonnageWords(QStringLiteral("0")), QStringLiteral(" تن"));
        for (const char *notWhole : {"20.5", "", "1,200", "2147483648", "abc"})
            QCOMPARE(Tghir_forms::tonnageWords(QLatin1String(notWhole)), QString());
    }

    void fontSizeAnswers()
    {
        const QList<QPair<QString, int>> answers{
            {QStringLiteral("10"), 10},   {QStringLiteral("4"), 4},     {QStringLiteral("72"), 72},
            {QStringLiteral(" 12 "), 12}, {QStringLiteral("۱۴"), 14},   {QStringLiteral("3"), 10},
            {QStringLiteral("73"), 10},   {QStringLiteral("-8"), 10},   {QStringLiteral("1e3"), 10},
            {QStringLiteral("12.5"), 10}, {QStringLiteral("abc"), 10},  {QString(), 10},
            {QStringLiteral("99999999999"), 10}};
        for (const auto &a : answers)
            QCOMPARE(Tghir_forms::fontSizeAnswer(a.first), a.second);
    }
};

VARNOSET_TEST_MAIN(TonnageWordsTest)
#include "test_tonnage_words.moc"
