// The complementary data of a bitumen allocation: consumption, exchange and asphalt
// formulas, their balloons and label rounding, and the update of the current allocation.
#include "ghir_test_support.h"

#include "bitumen/ghir_ins2_u.h"
#include "shared/balloon.h"
#include "shared/dates.h"
#include "shared/edits.h"

#include <QLabel>
#include <QPushButton>

using namespace ghirtest;

namespace {

struct BalloonCase {
    const char *box;
    const char *title;
    const char *text;
};
const BalloonCase kBalloonCases[] = {
    {"ghir60", "فرمول محاسبه قير مصرفي 70-60", "مساحت × وزن × ضخامت × درصد قير تقسيم بر 10000"},
    {"ghir_m_p", "فرمول محاسبه قير مصرفي پريمکت", "مساحت × ميانگين قير پريمکت تقسيم بر 1000"},
    {"ghir_jam", "فرمول محاسبه جمع کل", "مجموع قير مصرفي70-60 و قير پريمکت"},
    {"asfalt_ejra", "فرمول محاسبه ميزان آسفالت اجرا شده", "سطح × ضخامت × وزن مخصوص تقسيم بر 100"},
    {"asfalt_price", "فرمول مبلغ خالص وضعيت", "مبلغ قرارداد خريد × ميزان آسفالت اجراشده + مبلغ قرارداد اجرا × ميزان آسفالت اجراشدخ × ضريب کسورات اجرا"},
    {"ghir_t", "فرمول محاسبه قير تهاتري", "مبلغ خاص وضعيت تقسيم بر قيمت قير معادل"},
};

const QString kArchived = QStringLiteral("بايگاني");

QLineEdit *box(QWidget *w, const char *name) { return child<QLineEdit>(w, QLatin1String(name)); }

void clickLabel(QWidget *w, const char *name)
{
    QTest::mouseClick(child<QLabel>(w, QLatin1String(name) + QStringLiteral("_lbl")), Qt::LeftButton);
}

// An allocation as the initial entry leaves it (some of its empty and zero columns), with its
// contract amounts and bitumen price.
qint64 addContracted(Fixture &f)
{
    return addAllocation(f, {{QStringLiteral("ostan"), QStringLiteral("اصفهان")},
                             {QStringLiteral("city"), QStringLiteral("كاشان")},
                             {QStringLiteral("rosta"), QStringLiteral("نياسر")},
                             {QStringLiteral("prot_mablagh"), 2000000LL},
                             {QStringLiteral("prot_mablagh_ejra"), 500000LL},
                             {QStringLiteral("ghir_daryafti"), QStringLiteral("1250000.75")},
                             {QStringLiteral("rep_dat"), QStringLiteral("")},
                             {QStringLiteral("zarib"), QStringLiteral("0")},
                             {QStringLiteral("jalase_dat"), TDateEdit::kEmpty},
                             {QStringLiteral("sorat_area"), 0.0},
                             {QStringLiteral("sorat_area_f"), 0.0},
                             {QStringLiteral("tarakom"), 0.0},
                             {QStringLiteral("jalase_no"), 0},
                             {QStringLiteral("bors_m"), 0},
                             {QStringLiteral("asfalt_price"), 0},
                             {QStringLiteral("ghir_moadel"), 0},
                             {QStringLiteral("az_name"), QStringLiteral("")},
                             {QStringLiteral("vazn"), QStringLiteral("")},
                             {QStringLiteral("ghir60"), QStringLiteral("")},
                             {QStringLiteral("ghir_t"), QStringLiteral("")},
                             {QStringLiteral("status"), QStringLiteral("")},
                             {QStringLiteral("cmt"), QStringLiteral("")},
                             {QStringLiteral("xs"), QStringLiteral("")}});
}

// What the bitumen window's complementary-data command sets before showing the window.
void load(Fixture &f, Tghir_ins2 *w, qint64 id)
{
    makeCurrent(f, id);
    for (const char *c : {"jalase_no", "jalase_dat", "az_name", "rep_no", "rep_dat", "sorat_area", "zekhamat_m",
                          "sorat_area_f", "zekhamat_m_f", "tarakom", "vazn", "ghir_masrafi_m", "ghir_prim", "bors_m",
                          "asfalt_price", "ghir_tahvili", "ghir60", "ghir_m_p", "ghir_jam", "ghir_t", "zarib",
                          "ghir_moadel", "asfalt_ejra", "status", "cmt", "mokhtasat", "XS", "XE", "YS", "YE"})
        w->setBoxText(QLatin1String(c), f.dm.ADOQ_ghir->text(QLatin1String(c)));
}

void set(Tghir_ins2 *w, const QList<QPair<const char *, const char *>> &values)
{
    for (const auto &v : values)
        w->setBoxText(QLatin1String(v.first), QString::fromUtf8(v.second));
}

} // namespace

class GhirIns2Test : public QObject {
    Q_OBJECT
private slots:
    void consumptionExchangeAndAsphaltFormulas()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        load(f, w, addContracted(f));
        drive(f, w, [&](QDialog *) {
            // 1000 m2 at 5 cm, no side surface, compaction 100, density 2.3, bitumen 5 percent.
            set(w, {{"sorat_area", "1000"}, {"zekhamat_m", "5"}, {"sorat_area_f", "0"}, {"zekhamat_m_f", "0"},
                    {"tarakom", "100"}, {"vazn", "2.3"}, {"ghir_masrafi_m", "5"}});
            QVERIFY(enter(box(w, "ghir60")));
            QCOMPARE(w->boxText(QStringLiteral("ghir60")), QStringLiteral("5.75"));
            QVERIFY(enter(box(w, "asfalt_ejra")));
            QCOMPARE(w->boxText(QStringLiteral("asfalt_ejra")), QStringLiteral("115"));
            // Side surface 200 m2, prime coat 0.8 kg/m2: 1200 x 0.8 / 1000.
            set(w, {{"sorat_area_f", "200"}, {"ghir_prim", "0.8"}});
            QVERIFY(enter(box(w, "ghir_m_p")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_m_p")), QStringLiteral("0.96"));
            QVERIFY(enter(box(w, "ghir_jam")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_jam")), QStringLiteral("6.71"));
            // 2,000,000 x 115 + 500,000 x 115 x 0.9 = 281,750,000.
            set(w, {{"zarib", "0.9"}});
            QVERIFY(enter(box(w, "asfalt_price")));
            QCOMPARE(w->boxText(QStringLiteral("asfalt_price")), QStringLiteral("281750000"));
            // Entering the price fills the bitumen price received, its whole rials only.
            QVERIFY(enter(box(w, "ghir_moadel")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_moadel")), QStringLiteral("1,250,000"));
            // 281,750,000 / 1,250,000 = 225.4 -> 225
            QVERIFY(enter(box(w, "ghir_t")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_t")), QStringLiteral("225"));

            // Side thickness 4, compaction 97, density 2.35: V = 5800,
            // 5800 x 2.35 x 0.97 x 5 / 10000 = 6.61055; Floor(5800 x 0.97 x 2.35 / 100) = Floor(132.211).
            set(w, {{"zekhamat_m_f", "4"}, {"tarakom", "97"}, {"vazn", "2.35"}});
            QVERIFY(enter(box(w, "ghir60")));
            QCOMPARE(w->boxText(QStringLiteral("ghir60")), QStringLiteral("6.61055"));
            QVERIFY(enter(box(w, "asfalt_ejra")));
            QCOMPARE(w->boxText(QStringLiteral("asfalt_ejra")), QStringLiteral("132"));

            // The loaded amount counts when asfalt_price was not entered; texts with separators
            // are read without them; ties go to the even number.
            set(w, {{"asfalt_price", "3,125,000"}, {"ghir_moadel", "1250000"}});
            QVERIFY(enter(box(w, "ghir_t")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_t")), QStringLiteral("2"));
            set(w, {{"asfalt_price", "4,375,000"}});
            QVERIFY(enter(box(w, "ghir_t")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_t")), QStringLiteral("4"));
            // A zero price, or inputs that are not numbers, leave the boxes as they were.
            set(w, {{"ghir_moadel", "0"}});
            QVERIFY(enter(box(w, "ghir_t")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_t")), QStringLiteral("4"));
            // A misplaced separator is not a number either ("2,3" is not 23).
            set(w, {{"vazn", "2,3"}, {"ghir_prim", "0.8kg"}, {"zarib", "-"}});
            for (const char *name : {"ghir60", "asfalt_ejra", "ghir_m_p", "asfalt_price"}) {
                const QString before = w->boxText(QLatin1String(name));
                QVERIFY(enter(box(w, name)));
                QCOMPARE(w->boxText(QLatin1String(name)), before);
            }
            QVERIFY(f.ui.messages.isEmpty());

            // The labels round their boxes half to even, and say so when there is no number.
            set(w, {{"ghir_m_p", "0.5"}, {"ghir_jam", "2.5"}, {"ghir_t", "3.5"}});
            for (const char *name : {"ghir60", "ghir_m_p", "ghir_jam", "ghir_t"})
                clickLabel(w, name);
            QCOMPARE(w->boxText(QStringLiteral("ghir60")), QStringLiteral("7"));
            QCOMPARE(w->boxText(QStringLiteral("ghir_m_p")), QStringLiteral("0"));
            QCOMPARE(w->boxText(QStringLiteral("ghir_jam")), QStringLiteral("2"));
            QCOMPARE(w->boxText(QStringLiteral("ghir_t")), QStringLiteral("4"));
            QVERIFY(f.ui.messages.isEmpty());
            set(w, {{"ghir_jam", ""}});
            clickLabel(w, "ghir_jam");
            QCOMPARE(f.ui.messages.size(), 1);
            QCOMPARE(w->boxText(QStringLiteral("ghir_jam")), QString());
            clickLabel(w, "rep_dat");
            QCOMPARE(w->boxText(QStringLiteral("rep_dat")), QStringLiteral("1405/09/15"));
        });
        QVERIFY(!f.scalar(QStringLiteral("select ghir60 from ghir")).toString().size());
    }

    void balloonsOfTheComputedBoxes()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        load(f, w, addContracted(f));
        for (const BalloonCase &c : kBalloonCases) {
            QCOMPARE(BalloonTitle(w->balloonTip(), box(w, c.box)), QString::fromUtf8(c.title));
            QCOMPARE(BalloonText(w->balloonTip(), box(w, c.box)), QString::fromUtf8(c.text));
        }
        QCOMPARE(BalloonTitle(w->balloonTip(), box(w, "ghir_moadel")), QString());
        drive(f, w, [&](QDialog *) {
            for (const BalloonCase &c : kBalloonCases) {
                HideBalloonTip(w->balloonTip());
                QVERIFY(enter(box(w, c.box)));
                QWidget *tip = BalloonWindowOf(w->balloonTip());
                QVERIFY(tip && tip->isVisible());
                QCOMPARE(child<QLabel>(tip, QStringLiteral("balloon_text"))->text(), QString::fromUtf8(c.text));
            }
            // A click into ghir60 shows its balloon without computing.
            set(w, {{"sorat_area", "1000"}, {"zekhamat_m", "5"}, {"sorat_area_f", "0"}, {"zekhamat_m_f", "0"},
                    {"tarakom", "100"}, {"vazn", "2.3"}, {"ghir_masrafi_m", "5"}, {"ghir60", "9"}});
            QVERIFY(enter(box(w, "cmt")));
            HideBalloonTip(w->balloonTip());
            QTest::mouseClick(box(w, "cmt"), Qt::LeftButton);
            QTest::mousePress(box(w, "ghir60"), Qt::LeftButton);
            QVERIFY(BalloonWindowOf(w->balloonTip())->isVisible());
            QCOMPARE(child<QLabel>(BalloonWindowOf(w->balloonTip()), QStringLiteral("balloon_title"))->text(),
                     BalloonTitle(w->balloonTip(), box(w, "ghir60")));
        });
    }

    void saveWritesTheThirtyColumns()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        const qint64 id = addContracted(f);
        const qint64 other = addContracted(f);
        const QStringList otherBefore = rowTexts(f, other);
        load(f, w, id);
        drive(f, w, [&](QDialog *d) {
            set(w, {{"jalase_no", "12"}, {"jalase_dat", "1403/05/20"}, {"az_name", "آزمايشگاه فني"}, {"rep_no", "88/451"},
                    {"rep_dat", "1403/04/30"}, {"sorat_area", "1000"}, {"zekhamat_m", "5"}, {"sorat_area_f", "200"},
                    {"zekhamat_m_f", "4"}, {"tarakom", "97"}, {"vazn", "2.35"}, {"ghir_masrafi_m", "5"},
                    {"ghir_prim", "0.8"}, {"bors_m", "3500000"}, {"ghir_tahvili", "7"}, {"zarib", "0.9"},
                    {"status", "بايگاني"}, {"cmt", "تحويل موقت"}, {"mokhtasat", "خيابان اصلي"},
                    {"XS", "51.2"}, {"XE", "51.3"}, {"YS", "33.9"}, {"YE", "34"}});
            for (const char *name : {"ghir60", "ghir_m_p", "ghir_jam", "asfalt_ejra", "asfalt_price", "ghir_moadel", "ghir_t"})
                QVERIFY(enter(box(w, name)));
            child<QPushButton>(d, QStringLiteral("BitBtn1"))->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins2::kSaved});
            QVERIFY(d->isVisible());
        });
        // 2,000,000 x 132 + 500,000 x 132 x 0.9 = 323,400,000; / 1,250,000 = 258.72 -> 259
        const QList<QPair<const char *, const char *>> expected = {
            {"jalase_no", "12"}, {"jalase_dat", "1403/05/20"}, {"az_name", "آزمايشگاه فني"}, {"rep_no", "88/451"},
            {"rep_dat", "1403/04/30"}, {"sorat_area", "1000"}, {"zekhamat_m", "5"}, {"sorat_area_f", "200"},
            {"zekhamat_m_f", "4"}, {"tarakom", "97"}, {"vazn", "2.35"}, {"ghir_masrafi_m", "5"}, {"ghir_prim", "0.8"},
            {"bors_m", "3500000"}, {"ghir_tahvili", "7"}, {"ghir60", "6.61055"}, {"ghir_m_p", "0.96"},
            {"ghir_jam", "7.57055"}, {"asfalt_ejra", "132"}, {"zarib", "0.9"}, {"asfalt_price", "323400000"},
            {"ghir_moadel", "1250000"}, {"ghir_t", "259"}, {"status", "بايگاني"}, {"cmt", "تحويل موقت"},
            {"mokhtasat", "خيابان اصلي"}, {"xs", "51.2"}, {"xe", "51.3"}, {"ys", "33.9"}, {"ye", "34"}};
        for (const auto &e : expected)
            QCOMPARE(cell(f, id, QLatin1String(e.first)), QString::fromUtf8(e.second));
        // The initial entry's columns and the other allocation are untouched.
        QCOMPARE(cell(f, id, QStringLiteral("prot_mablagh")), QStringLiteral("2000000"));
        QCOMPARE(cell(f, id, QStringLiteral("ghir_daryafti")), QStringLiteral("1250000.75"));
        QCOMPARE(cell(f, id, QStringLiteral("rosta")), QStringLiteral("نياسر"));
        QCOMPARE(rowTexts(f, other), otherBefore);
        QCOMPARE(f.count(QStringLiteral("log")), qint64(0));

        // Saved again without entering a computed box: the loaded values go back unchanged
        // (an empty report date reads as the empty date mask).
        load(f, w, other);
        f.ui.clear();
        drive(f, w, [&](QDialog *d) { child<QPushButton>(d, QStringLiteral("BitBtn1"))->click(); });
        QCOMPARE(f.ui.messages, QStringList{Tghir_ins2::kSaved});
        QStringList after = rowTexts(f, other);
        QStringList expectedOther = otherBefore;
        expectedOther.replaceInStrings(QRegularExpression(QStringLiteral("^rep_dat=$")), QStringLiteral("rep_dat=    /  /  "));
        QCOMPARE(after, expectedOther);
    }

    void valuesThatCannotBeStoredAreRefused()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        const qint64 id = addContracted(f);
        const QStringList before = rowTexts(f, id);
        const QList<QPair<const char *, const char *>> bad = {
            {"vazn", "2,3a"}, {"vazn", "2,3"}, {"sorat_area", "1,5"}, {"jalase_no", "12.5"}, {"asfalt_price", "مبلغ"}, {"sorat_area", "1000m"},
            {"ghir_t", "5 تن"}, {"zarib", "0.9.1"}, {"tarakom", "٪97"}};
        drive(f, w, [&](QDialog *d) {
            for (const auto &b : bad) {
                load(f, w, id);
                set(w, {b});
                f.ui.clear();
                child<QPushButton>(d, QStringLiteral("BitBtn1"))->click();
                QCOMPARE(f.ui.messages.size(), 1);
                QVERIFY2(f.ui.messages.first().contains(QLatin1String(b.first), Qt::CaseInsensitive),
                         qPrintable(f.ui.messages.first()));
                QCOMPARE(rowTexts(f, id), before);
            }
            // Longer than the column.
            load(f, w, id);
            w->setBoxText(QStringLiteral("XS"), QString(26, QLatin1Char('1')));
            f.ui.clear();
            child<QPushButton>(d, QStringLiteral("BitBtn1"))->click();
            QCOMPARE(f.ui.messages.size(), 1);
            QCOMPARE(rowTexts(f, id), before);
            // An empty net amount is 0.
            load(f, w, id);
            set(w, {{"asfalt_price", ""}, {"ghir60", ""}});
            f.ui.clear();
            child<QPushButton>(d, QStringLiteral("BitBtn1"))->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins2::kSaved});
        });
        QCOMPARE(cell(f, id, QStringLiteral("asfalt_price")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("ghir60")), QString());

        // The allocation was deleted meanwhile: said so, nothing reported as saved.
        load(f, w, id);
        f.dm.exec(QStringLiteral("delete from ghir where id=?"), {id});
        f.ui.clear();
        drive(f, w, [&](QDialog *d) { child<QPushButton>(d, QStringLiteral("BitBtn1"))->click(); });
        QCOMPARE(f.ui.messages, QStringList{Tghir_ins2::kRowGone});
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(0));
    }

    void valueListsAndTabOrder()
    {
        Fixture f(true);
        for (const auto &r : {QStringList{QStringLiteral("نام آزمايشگاه"), QStringLiteral("آزمايشگاه فني")},
                              QStringList{QStringLiteral("نام آزمايشگاه"), QStringLiteral("مكانيك خاك")},
                              QStringList{QStringLiteral("مختصات معابر"), QStringLiteral("معبر اصلي")}})
            f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"), {r[0], r[1]});
        auto *w = f.form<Tghir_ins2>();
        load(f, w, addContracted(f));
        w->setBoxText(QStringLiteral("az_name"), QStringLiteral("ساير"));
        drive(f, w, [&](QDialog *d) {
            auto *az = child<QComboBox>(d, QStringLiteral("az_name"));
            QCOMPARE(az->count(), 2);
            QCOMPARE(az->currentText(), QStringLiteral("ساير"));
            QCOMPARE(child<QComboBox>(d, QStringLiteral("mokhtasat"))->count(), 1);
            QCOMPARE(child<QComboBox>(d, QStringLiteral("status"))->itemText(0), kArchived);
            // Tab from the remarks goes to the command, then to the net amount.
            QVERIFY(enter(box(d, "cmt")));
            QCOMPARE(box(d, "cmt")->nextInFocusChain(), child<QPushButton>(d, QStringLiteral("BitBtn1")));
            QCOMPARE(child<QPushButton>(d, QStringLiteral("BitBtn1"))->nextInFocusChain(), box(d, "asfalt_price"));
        });
    }
};

VARNOSET_DB_TEST_MAIN(GhirIns2Test)
#include "db_ghir_ins2.moc"
