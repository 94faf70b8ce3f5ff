// The complementary data of a bitumen allocation: consumption, exchange and asphalt
// formulas, their balloons and label rounding, and the update of the current allocation.
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_ins2_u.h"

#include <QLabel>
#include <QLineEdit>

namespace {

void clickLabel(QWidget *w, const char *name)
{
    QTest::mouseClick(child<QLabel>(w, QLatin1String(name) + QStringLiteral("_lbl")), Qt::LeftButton);
}

// An allocation as the initial entry leaves it, with its contract amounts and bitumen price.
qint64 addContracted(Fixture &f)
{
    return addGhir(f, {{"ostan", "اصفهان"}, {"city", "كاشان"}, {"rosta", "نياسر"}, {"prot_mablagh", 2000000LL},
                       {"prot_mablagh_ejra", 500000LL}, {"ghir_daryafti", "1250000.75"}, {"rep_dat", ""}});
}

// What the bitumen window's complementary-data command puts into the form.
void load(Fixture &f, Tghir_ins2 *w, qint64 id)
{
    makeCurrent(f, id);
    w->startEdit(id);
}

void set(Tghir_ins2 *w, const QList<QPair<QString, QString>> &values)
{
    for (const auto &v : values)
        w->setBoxText(v.first, v.second);
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
            QCOMPARE(entered(w, "ghir60"), "5.75");
            QCOMPARE(entered(w, "asfalt_ejra"), "115");
            // Side surface 200 m2, prime coat 0.8 kg/m2: 1200 x 0.8 / 1000.
            set(w, {{"sorat_area_f", "200"}, {"ghir_prim", "0.8"}});
            QCOMPARE(entered(w, "ghir_m_p"), "0.96");
            QCOMPARE(entered(w, "ghir_jam"), "6.71");
            // 2,000,000 x 115 + 500,000 x 115 x 0.9 = 281,750,000.
            set(w, {{"zarib", "0.9"}});
            QCOMPARE(entered(w, "asfalt_price"), "281,750,000"); // grouped like the money boxes
            // Entering the price fills the bitumen price received, its whole rials only.
            QCOMPARE(entered(w, "ghir_moadel"), "1,250,000");
            // 281,750,000 / 1,250,000 = 225.4 -> 225
            QCOMPARE(entered(w, "ghir_t"), "225");

            // The loaded amount counts when asfalt_price was not entered; texts with separators
            // are read without them; ties go to the even number.
            set(w, {{"asfalt_price", "3,125,000"}, {"ghir_moadel", "1250000"}});
            QCOMPARE(entered(w, "ghir_t"), "2");
            set(w, {{"asfalt_price", "4,375,000"}});
            QCOMPARE(entered(w, "ghir_t"), "4");
            // A zero price, or inputs that are not numbers, leave the boxes as they were.
            set(w, {{"ghir_moadel", "0"}});
            QCOMPARE(entered(w, "ghir_t"), "4");
            // A misplaced separator is not a number either ("2,3" is not 23).
            set(w, {{"vazn", "2,3"}, {"ghir_prim", "0.8kg"}, {"zarib", "-"}});
            for (const char *name : {"ghir60", "asfalt_ejra", "ghir_m_p", "asfalt_price"}) {
                const QString before = w->boxText(QLatin1String(name));
                QCOMPARE(entered(w, name), before);
            }
            QVERIFY(f.ui.messages.isEmpty());

            // The labels round their boxes half to even, and say so when there is no number.
            set(w, {{"ghir_m_p", "0.5"}, {"ghir_jam", "2.5"}, {"ghir_t", "3.5"}});
            for (const char *name : {"ghir60", "ghir_m_p", "ghir_jam", "ghir_t"})
                clickLabel(w, name);
            QCOMPARE(w->boxText("ghir60"), "6"); // 5.75
            QCOMPARE(w->boxText("ghir_m_p"), "0");
            QCOMPARE(w->boxText("ghir_jam"), "2");
            QCOMPARE(w->boxText("ghir_t"), "4");
            QVERIFY(f.ui.messages.isEmpty());
            set(w, {{"ghir_jam", ""}});
            clickLabel(w, "ghir_jam");
            QCOMPARE(f.ui.messages.size(), 1);
            QCOMPARE(w->boxText("ghir_jam"), QString());
            clickLabel(w, "rep_dat");
            QCOMPARE(w->boxText("rep_dat"), "1405/09/15");
            // A formula with an empty input leaves its box empty.
            set(w, {{"vazn", ""}, {"asfalt_ejra", ""}});
            QCOMPARE(entered(w, "asfalt_ejra"), QString());
        });
        QVERIFY(!f.scalar("select ghir60 from ghir").toString().size());
    }

    void saveWritesTheThirtyColumns()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        const qint64 id = addContracted(f);
        const qint64 other = addContracted(f);
        const QStringList otherBefore = ghirRow(f, other);
        load(f, w, id);
        const QList<QPair<QString, QString>> typed{
            {"jalase_no", "12"}, {"jalase_dat", "1403/05/20"}, {"az_name", "آزمايشگاه فني"}, {"rep_no", "88/451"},
            {"rep_dat", "1403/04/30"}, {"sorat_area", "1000"}, {"zekhamat_m", "5"}, {"sorat_area_f", "200"},
            {"zekhamat_m_f", "4"}, {"tarakom", "97"}, {"vazn", "2.35"}, {"ghir_masrafi_m", "5"}, {"ghir_prim", "0.8"},
            {"bors_m", "3500000"}, {"ghir_tahvili", "7"}, {"zarib", "0.9"}, {"status", "بايگاني"},
            {"cmt", "تحويل موقت"}, {"mokhtasat", "خيابان اصلي"}, {"XS", "51.2"}, {"XE", "51.3"}, {"YS", "33.9"},
            {"YE", "34"}};
        drive(f, w, [&](QDialog *d) {
            set(w, typed);
            for (const char *name : {"ghir60", "ghir_m_p", "ghir_jam", "asfalt_ejra", "asfalt_price", "ghir_moadel", "ghir_t"})
                QVERIFY(enter(child<QLineEdit>(w, name)));
            click(d, "BitBtn1");
            QCOMPARE(f.ui.messages, QStringList{texts::kGhirComplementSaved});
            QVERIFY(d->isVisible());
        });
        // The typed values, and the computed ones: side thickness 4, compaction 97, density 2.35
        // give V = 5800, 5800 x 2.35 x 0.97 x 5 / 10000 = 6.61055, Floor(5800 x 0.97 x 2.35 / 100)
        // = Floor(132.211); 2,000,000 x 132 + 500,000 x 132 x 0.9 = 323,400,000; / 1,250,000 =
        // 258.72 -> 259
        for (const auto &[column, value] : typed + QList<QPair<QString, QString>>{
                 {"ghir60", "6.61055"}, {"ghir_m_p", "0.96"}, {"ghir_jam", "7.57055"}, {"asfalt_ejra", "132"},
                 {"asfalt_price", "323400000"}, {"ghir_moadel", "1250000"}, {"ghir_t", "259"}})
            QCOMPARE(ghirCell(f, id, column), value);
        // The initial entry's columns and the other allocation are untouched.
        QCOMPARE(ghirCell(f, id, "prot_mablagh"), "2000000");
        QCOMPARE(ghirCell(f, id, "ghir_daryafti"), "1250000.75");
        QCOMPARE(ghirCell(f, id, "rosta"), "نياسر");
        QCOMPARE(ghirRow(f, other), otherBefore);
        QCOMPARE(f.count("log"), qint64(0));

        // Saved again without entering a computed box: the loaded values go back unchanged
        // (an empty report date reads as the empty date mask).
        load(f, w, other);
        f.ui.clear();
        drive(f, w, [&](QDialog *d) { click(d, "BitBtn1"); });
        QCOMPARE(f.ui.messages, QStringList{texts::kGhirComplementSaved});
        QStringList expectedOther = otherBefore;
        expectedOther.replaceInStrings(QRegularExpression("^rep_dat=$"), "rep_dat=    /  /  ");
        QCOMPARE(ghirRow(f, other), expectedOther);
    }

    void valuesThatCannotBeStoredAreRefused()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        const qint64 id = addContracted(f);
        const QStringList before = ghirRow(f, id);
        const QList<QPair<QString, QString>> bad{
            {"vazn", "2,3"}, {"jalase_no", "12.5"}, {"asfalt_price", "مبلغ"}, {"XS", QString(26, '1')}}; // too long
        drive(f, w, [&](QDialog *d) {
            for (const auto &b : bad) {
                load(f, w, id);
                set(w, {b});
                const QStringList said = pressed(f, d, "BitBtn1");
                QVERIFY2(said.size() == 1 && said.first().contains(captioned(w, b.first)), qPrintable(said.join('|')));
                QCOMPARE(ghirRow(f, id), before);
            }
            // An empty net amount is 0.
            load(f, w, id);
            set(w, {{"asfalt_price", ""}, {"ghir60", ""}});
            QCOMPARE(pressed(f, d, "BitBtn1"), QStringList{texts::kGhirComplementSaved});
        });
        QCOMPARE(ghirCell(f, id, "asfalt_price"), "0");
        QCOMPARE(ghirCell(f, id, "ghir60"), QString());

        // The allocation was deleted meanwhile: said so, nothing reported as saved.
        load(f, w, id);
        f.dm.exec(QStringLiteral("delete from ghir where id=?"), {id});
        f.ui.clear();
        drive(f, w, [&](QDialog *d) { click(d, "BitBtn1"); });
        QCOMPARE(f.ui.messages, QStringList{texts::kGhirRowGone});
        QCOMPARE(f.count("ghir"), qint64(0));
    }

};

VARNOSET_DB_TEST_MAIN(GhirIns2Test)
#include "db_ghir_ins2.moc"
