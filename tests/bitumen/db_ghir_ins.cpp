// The initial entry of a bitumen allocation: estimate formulas and their balloons,
// the insert with its checks and stored defaults, the edit of the current allocation.
#include "ghir_test_support.h"

#include "bitumen/ghir_ins_u.h"
#include "shared/balloon.h"
#include "shared/dates.h"
#include "shared/edits.h"

#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QToolButton>

using namespace ghirtest;

namespace {

const QString kProvince = QStringLiteral("اصفهان");
const QString kCounty = QStringLiteral("كاشان");   // stored with the Arabic kaf
const QString kVillage = QStringLiteral("نياسر");

struct BalloonCase {
    const char *box;
    const char *title;
    const char *text;
};
const BalloonCase kBalloonCases[] = {
    {"tonaj", "فرمول محاسبه تناژ", "مساحت × ضخامت × 2.33 تقسيم بر 100"},
    {"ghir_masrafi", "فرمول محاسبه مقدار قير مصرفي", "تناژ آسفالت × 0.06"},
    {"ghir_tagh_tah", "فرمول محاسبه قير تهاتري", "تناژ آسفالت × مبلغ قرارداد تقسيم بر قيمت بورس"},
    {"khodyari", "فرمول محاسبه خودياري", "مبلغ خالص وضعيت آسفالت منهاي قير حواله در قيمت قير دريافتي شرکت تقسيم 1000"},
    {"dehyari", "فرمول محاسبه دهياري", "طول مسير * 1000 بعلاوه مساحت*40 تقسيم بر 1000"},
    {"tolemasir", "فرمول محاسبه طول مسير", "مساحت طبق صورتجلسه تقسيم بر 10"},
};

// What the bitumen window's new-record command sets before showing the window.
void prepareNew(Tghir_ins *w)
{
    for (const char *c : {"ostan", "city", "rosta", "prj_typ", "prot_no", "prot_dat", "peymankar", "city_paper_no",
                          "city_paper_dat", "tafahomname_dat", "prj_area", "tonaj", "zekhamat", "ghir_masrafi",
                          "ghir_tahatori", "tozi_dat", "z_no", "z_dat", "z_bank", "z_typ", "z_mablagh", "taahod_dat",
                          "moarefi_dat", "moarefi_no", "sorat_no", "sorat_dat", "tehran_paper_no", "prot_no_ejra",
                          "prot_dat_ejra", "comp_naft_name", "palayeshgah_name", "ghir_tagh_tah"})
        w->setBoxText(QLatin1String(c), QString());
    for (const char *c : {"prot_mablagh", "bors_price", "ghir_daryafti", "prot_mablagh_ejra", "pishraft", "khodyari",
                          "dehyari", "tolemasir"})
        w->setBoxText(QLatin1String(c), QStringLiteral("0"));
    w->setBoxText(QStringLiteral("peymankar_id"), QStringLiteral("-1"));
    w->setBoxText(QStringLiteral("sal"), QStringLiteral("13  "));
    w->setBoxText(QStringLiteral("reg_dat"), SolarDateText());
    w->setInsertMode(true);
}

// A complete new allocation in the gazetteer's province and county.
void fillNew(Tghir_ins *w)
{
    prepareNew(w);
    w->setBoxText(QStringLiteral("ostan"), kProvince);
    w->setBoxText(QStringLiteral("city"), kCounty);
    w->setBoxText(QStringLiteral("rosta"), kVillage);
    w->setBoxText(QStringLiteral("peymankar"), QStringLiteral("شركت راه سازان"));
    w->setBoxText(QStringLiteral("sal"), QStringLiteral("1403"));
    w->setBoxText(QStringLiteral("prot_no"), QStringLiteral("ق/1403/52"));
    w->setBoxText(QStringLiteral("prot_dat"), QStringLiteral("1403/02/15"));
    w->setBoxText(QStringLiteral("prot_mablagh"), QStringLiteral("1000000"));
    w->setBoxText(QStringLiteral("prj_area"), QStringLiteral("100"));
    w->setBoxText(QStringLiteral("zekhamat"), QStringLiteral("5"));
    w->setBoxText(QStringLiteral("tonaj"), QStringLiteral("11.65"));
    w->setBoxText(QStringLiteral("bors_price"), QStringLiteral("2000000"));
    w->setBoxText(QStringLiteral("ghir_tahatori"), QStringLiteral("12.5"));
    w->setBoxText(QStringLiteral("moarefi_no"), QStringLiteral("245/ص"));
    w->setBoxText(QStringLiteral("ghir_daryafti"), QStringLiteral("1250000"));
    w->setBoxText(QStringLiteral("pishraft"), QStringLiteral("40"));
}

QLineEdit *box(QWidget *w, const char *name) { return child<QLineEdit>(w, QLatin1String(name)); }

void clickLabel(QWidget *w, const QString &name)
{
    QTest::mouseClick(child<QLabel>(w, name), Qt::LeftButton);
}

} // namespace

class GhirInsTest : public QObject {
    Q_OBJECT
private slots:
    void estimateFormulasInInsertMode()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins>();
        prepareNew(w);
        drive(f, w, [&](QDialog *) {
            w->setBoxText(QStringLiteral("prj_area"), QStringLiteral("100"));
            w->setBoxText(QStringLiteral("zekhamat"), QStringLiteral("5"));
            QVERIFY(enter(box(w, "tonaj")));
            QCOMPARE(w->boxText(QStringLiteral("tonaj")), QStringLiteral("11.65"));
            QVERIFY(enter(box(w, "ghir_masrafi")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_masrafi")), QStringLiteral("0.699"));

            // 1,000,000 x 11.65 / 2,000,000 = 5.825 -> 6
            box(w, "prot_mablagh")->selectAll();
            QTest::keyClicks(box(w, "prot_mablagh"), QStringLiteral("1000000"));
            QCOMPARE(w->boxText(QStringLiteral("prot_mablagh")), QStringLiteral("1,000,000"));
            w->setBoxText(QStringLiteral("bors_price"), QStringLiteral("2000000"));
            QVERIFY(enter(box(w, "ghir_tagh_tah")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_tagh_tah")), QStringLiteral("6"));
            // Ties go to the even number: 13 t gives 6.5 -> 6, 15 t gives 7.5 -> 8.
            w->setBoxText(QStringLiteral("tonaj"), QStringLiteral("13"));
            QVERIFY(enter(box(w, "ghir_tagh_tah")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_tagh_tah")), QStringLiteral("6"));
            w->setBoxText(QStringLiteral("tonaj"), QStringLiteral("15"));
            QVERIFY(enter(box(w, "ghir_tagh_tah")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_tagh_tah")), QStringLiteral("8"));
            // A zero exchange price or an input that is not a number leaves the box as it was.
            w->setBoxText(QStringLiteral("bors_price"), QStringLiteral("0"));
            QVERIFY(enter(box(w, "ghir_tagh_tah")));
            QCOMPARE(w->boxText(QStringLiteral("ghir_tagh_tah")), QStringLiteral("8"));
            w->setBoxText(QStringLiteral("zekhamat"), QStringLiteral("5 cm"));
            QVERIFY(enter(box(w, "tonaj")));
            QCOMPARE(w->boxText(QStringLiteral("tonaj")), QStringLiteral("15"));
            w->setBoxText(QStringLiteral("zekhamat"), QStringLiteral("4.5"));
            w->setBoxText(QStringLiteral("prj_area"), QString());
            QVERIFY(enter(box(w, "tonaj")));
            QCOMPARE(w->boxText(QStringLiteral("tonaj")), QStringLiteral("15"));

            // Insert mode: the contributions stay 0 whatever the inputs.
            w->setBoxText(QStringLiteral("ghir_tahatori"), QStringLiteral("10"));
            w->setBoxText(QStringLiteral("ghir_daryafti"), QStringLiteral("150000"));
            for (const char *name : {"khodyari", "dehyari", "tolemasir"}) {
                w->setBoxText(QLatin1String(name), QStringLiteral("77"));
                QVERIFY(enter(box(w, name)));
                QCOMPARE(w->boxText(QLatin1String(name)), QStringLiteral("0"));
            }
            w->setBoxText(QStringLiteral("ghir_daryafti"), QStringLiteral("قيمت"));
            QVERIFY(enter(box(w, "khodyari")));
            QCOMPARE(w->boxText(QStringLiteral("khodyari")), QStringLiteral("0"));

            // The label of tonaj rounds it half to even.
            w->setBoxText(QStringLiteral("tonaj"), QStringLiteral("12.5"));
            clickLabel(w, QStringLiteral("tonaj_lbl"));
            QCOMPARE(w->boxText(QStringLiteral("tonaj")), QStringLiteral("12"));
            w->setBoxText(QStringLiteral("tonaj"), QStringLiteral("13.5"));
            clickLabel(w, QStringLiteral("tonaj_lbl"));
            QCOMPARE(w->boxText(QStringLiteral("tonaj")), QStringLiteral("14"));
            QVERIFY(f.ui.messages.isEmpty());
            w->setBoxText(QStringLiteral("tonaj"), QStringLiteral("x"));
            clickLabel(w, QStringLiteral("tonaj_lbl"));
            QCOMPARE(w->boxText(QStringLiteral("tonaj")), QStringLiteral("x"));
            QCOMPARE(f.ui.messages.size(), 1);

            // The date labels fill today's date; the registration date's does not.
            w->setBoxText(QStringLiteral("z_dat"), QString());
            clickLabel(w, QStringLiteral("z_dat_lbl"));
            QCOMPARE(w->boxText(QStringLiteral("z_dat")), QStringLiteral("1405/09/15"));
            w->setBoxText(QStringLiteral("reg_dat"), QString());
            clickLabel(w, QStringLiteral("reg_dat_lbl"));
            QCOMPARE(w->boxText(QStringLiteral("reg_dat")), TDateEdit::kEmpty);
        });
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(0));
    }

    void estimateFormulasInEditMode()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins>();
        // Stored: net asphalt amount 2,500,700,000, main surface 1234, route 123.7.
        const qint64 id = addAllocation(f, {{QStringLiteral("sorat_area"), 1234.0},
                                            {QStringLiteral("tolemasir"), 123.7},
                                            {QStringLiteral("asfalt_price"), 2500700000LL}});
        makeCurrent(f, id);
        w->setInsertMode(false);
        drive(f, w, [&](QDialog *) {
            // Floor((2,500,700,000 - 10 x 150,000 x 1000) / 1,000,000) = Floor(1000.7) = 1000
            w->setBoxText(QStringLiteral("ghir_tahatori"), QStringLiteral("10"));
            w->setBoxText(QStringLiteral("ghir_daryafti"), QStringLiteral("150000"));
            QVERIFY(enter(box(w, "khodyari")));
            QCOMPARE(w->boxText(QStringLiteral("khodyari")), QStringLiteral("1000"));
            // A negative contribution shows 0.
            w->setBoxText(QStringLiteral("ghir_tahatori"), QStringLiteral("20"));
            QVERIFY(enter(box(w, "khodyari")));
            QCOMPARE(w->boxText(QStringLiteral("khodyari")), QStringLiteral("0"));
            // The stored values count, not the boxes: Floor(1234 / 10) = 123,
            // Round(Floor(123 x 1000 + 1234 x 40) / 1000) = Round(172.36) = 172.
            w->setBoxText(QStringLiteral("tolemasir"), QStringLiteral("999"));
            QVERIFY(enter(box(w, "tolemasir")));
            QCOMPARE(w->boxText(QStringLiteral("tolemasir")), QStringLiteral("123"));
            QVERIFY(enter(box(w, "dehyari")));
            QCOMPARE(w->boxText(QStringLiteral("dehyari")), QStringLiteral("172"));
        });
        // Route 2, surface 12.5: (2000 + 500) / 1000 = 2.5 -> 2; route 3: 3.5 -> 4.
        f.dm.exec(QStringLiteral("update ghir set tolemasir=2, sorat_area=12.5 where id=?"), {id});
        makeCurrent(f, id);
        drive(f, w, [&](QDialog *) {
            QVERIFY(enter(box(w, "dehyari")));
            QCOMPARE(w->boxText(QStringLiteral("dehyari")), QStringLiteral("2"));
            QVERIFY(enter(box(w, "tolemasir")));
            QCOMPARE(w->boxText(QStringLiteral("tolemasir")), QStringLiteral("1"));
        });
        f.dm.exec(QStringLiteral("update ghir set tolemasir=3.99 where id=?"), {id});
        makeCurrent(f, id);
        drive(f, w, [&](QDialog *) {
            QVERIFY(enter(box(w, "dehyari")));
            QCOMPARE(w->boxText(QStringLiteral("dehyari")), QStringLiteral("4"));
        });
        // Without a current allocation the contributions fall back to 0.
        f.dm.ADOQ_ghir->open(QStringLiteral("select * from ghir where id=-5"));
        drive(f, w, [&](QDialog *) {
            for (const char *name : {"khodyari", "dehyari", "tolemasir"}) {
                w->setBoxText(QLatin1String(name), QStringLiteral("5"));
                QVERIFY(enter(box(w, name)));
                QCOMPARE(w->boxText(QLatin1String(name)), QStringLiteral("0"));
            }
        });
        QVERIFY(f.ui.messages.isEmpty());
    }

    void balloonsOfTheComputedBoxes()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins>();
        prepareNew(w);
        for (const BalloonCase &c : kBalloonCases) {
            QCOMPARE(BalloonTitle(w->balloonTip(), box(w, c.box)), QString::fromUtf8(c.title));
            QCOMPARE(BalloonText(w->balloonTip(), box(w, c.box)), QString::fromUtf8(c.text));
        }
        drive(f, w, [&](QDialog *) {
            for (const BalloonCase &c : kBalloonCases) {
                HideBalloonTip(w->balloonTip());
                QVERIFY(enter(box(w, c.box)));
                QWidget *tip = BalloonWindowOf(w->balloonTip());
                QVERIFY(tip && tip->isVisible());
                QCOMPARE(child<QLabel>(tip, QStringLiteral("balloon_title"))->text(), QString::fromUtf8(c.title));
            }
            // A click into tonaj shows its balloon without computing.
            w->setBoxText(QStringLiteral("tonaj"), QStringLiteral("3"));
            HideBalloonTip(w->balloonTip());
            QTest::mouseClick(box(w, "tonaj"), Qt::LeftButton);
            QVERIFY(BalloonWindowOf(w->balloonTip())->isVisible());
            QCOMPARE(w->boxText(QStringLiteral("tonaj")), QStringLiteral("3"));
        });
    }

    void insertStoresTheNewAllocationWithItsDefaults()
    {
        Fixture f(true);
        f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {kProvince, kCounty, kVillage});
        auto *w = f.form<Tghir_ins>();
        fillNew(w);
        w->setBoxText(QStringLiteral("z_mablagh"), QStringLiteral("12,500,000"));
        w->setBoxText(QStringLiteral("prot_mablagh_ejra"), QStringLiteral("3000000000"));
        drive(f, w, [&](QDialog *d) {
            child<QPushButton>(d, QStringLiteral("ins_btn"))->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kInserted});
            QVERIFY(d->isVisible());
        });
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(1));
        const qint64 id = f.scalar(QStringLiteral("select id from ghir")).toLongLong();
        // The columns the complementary form fills later start empty or 0.
        QCOMPARE(cell(f, id, QStringLiteral("sorat_area")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("sorat_area_f")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("zarib")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("bors_m")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("asfalt_price")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("ghir_moadel")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("jalase_no")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("tarakom")), QStringLiteral("0"));
        QCOMPARE(cell(f, id, QStringLiteral("jalase_dat")), QStringLiteral("    /  /  "));
        QCOMPARE(f.scalar(QStringLiteral("select count(*) from ghir where rep_dat=''")).toInt(), 1);
        QCOMPARE(f.scalar(QStringLiteral("select count(*) from ghir where vazn='' and ghir_t='' and status=''")).toInt(), 1);
        // The boxes of this form, money as whole rials.
        QCOMPARE(cell(f, id, QStringLiteral("ostan")), kProvince);
        QCOMPARE(cell(f, id, QStringLiteral("city")), kCounty);
        QCOMPARE(cell(f, id, QStringLiteral("rosta")), kVillage);
        QCOMPARE(cell(f, id, QStringLiteral("z_mablagh")), QStringLiteral("12500000"));
        QCOMPARE(cell(f, id, QStringLiteral("prot_mablagh")), QStringLiteral("1000000"));
        QCOMPARE(cell(f, id, QStringLiteral("prot_mablagh_ejra")), QStringLiteral("3000000000"));
        QCOMPARE(cell(f, id, QStringLiteral("bors_price")), QStringLiteral("2000000"));
        QCOMPARE(cell(f, id, QStringLiteral("ghir_tahatori")), QStringLiteral("12.5"));
        QCOMPARE(cell(f, id, QStringLiteral("tonaj")), QStringLiteral("11.65"));
        QCOMPARE(cell(f, id, QStringLiteral("peymankar_id")), QStringLiteral("-1"));
        QCOMPARE(cell(f, id, QStringLiteral("sal")), QStringLiteral("1403"));
        QCOMPARE(cell(f, id, QStringLiteral("prot_no")), QStringLiteral("ق/1403/52"));
        QCOMPARE(cell(f, id, QStringLiteral("reg_dat")), QStringLiteral("1405/09/15"));
        QCOMPARE(cell(f, id, QStringLiteral("z_dat")), QStringLiteral("    /  /  "));
        QCOMPARE(cell(f, id, QStringLiteral("pishraft")), QStringLiteral("40"));
        QCOMPARE(cell(f, id, QStringLiteral("khodyari")), QStringLiteral("0"));
        // No log row is written.
        QCOMPARE(f.count(QStringLiteral("log")), qint64(0));

        // The untouched year of a new record is stored as the window shows it.
        prepareNew(w);
        w->setBoxText(QStringLiteral("ostan"), kProvince);
        w->setBoxText(QStringLiteral("city"), kCounty);
        f.ui.clear();
        drive(f, w, [&](QDialog *d) { child<QPushButton>(d, QStringLiteral("ins_btn"))->click(); });
        QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kInserted});
        QCOMPARE(f.scalar(QStringLiteral("select sal from ghir where id<>?"), {id}).toString(), QStringLiteral("13  "));
    }

    void duplicateAndPlaceRefusalsWriteNothing()
    {
        Fixture f(true);
        f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {kProvince, kCounty, kVillage});
        auto *w = f.form<Tghir_ins>();
        fillNew(w);
        drive(f, w, [&](QDialog *d) {
            auto *ins = child<QPushButton>(d, QStringLiteral("ins_btn"));
            ins->click();
            const QStringList before = rowTexts(f, f.scalar(QStringLiteral("select id from ghir")).toLongLong());
            // The same six key boxes again: a duplicate.
            f.ui.clear();
            w->setBoxText(QStringLiteral("prot_no"), QStringLiteral("ديگر"));
            ins->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kDuplicateError});
            QCOMPARE(f.count(QStringLiteral("ghir")), qint64(1));
            // Another remittance amount is another allocation ("12.50" is the same number).
            f.ui.clear();
            w->setBoxText(QStringLiteral("ghir_tahatori"), QStringLiteral("12.50"));
            ins->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kDuplicateError});
            // A typed county outside the gazetteer together with a duplicate: both refusals.
            f.ui.clear();
            w->setBoxText(QStringLiteral("ostan"), QStringLiteral("تهران"));
            ins->click();
            QCOMPARE(f.ui.messages, (QStringList{Tghir_ins::kPlaceError, Tghir_ins::kDuplicateError}));
            // The place alone.
            f.ui.clear();
            w->setBoxText(QStringLiteral("ghir_tahatori"), QStringLiteral("30"));
            ins->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kPlaceError});
            QCOMPARE(f.count(QStringLiteral("ghir")), qint64(1));
            QCOMPARE(rowTexts(f, f.scalar(QStringLiteral("select id from ghir")).toLongLong()), before);
            // Back in the gazetteer with the new amount: stored.
            f.ui.clear();
            w->setBoxText(QStringLiteral("ostan"), kProvince);
            ins->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kInserted});
        });
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(2));
    }

    void textsThatAreNotNumbersAreRefused()
    {
        Fixture f(true);
        f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {kProvince, kCounty, kVillage});
        auto *w = f.form<Tghir_ins>();
        const struct {
            const char *column;
            const char *text;
        } bad[] = {{"prj_area", "صد"}, {"ghir_tahatori", "12,5t"}, {"pishraft", "40.5"}, {"zekhamat", "5cm"},
                   {"ghir_daryafti", "1.250.000"}, {"tolemasir", "1e3"}, {"ghir_tahatori", "12,5"}, {"prot_no", nullptr}};
        drive(f, w, [&](QDialog *d) {
            for (const auto &b : bad) {
                fillNew(w);
                if (!b.text)
                    // Longer than its column (50).
                    w->setBoxText(QLatin1String(b.column), QString(51, QLatin1Char('x')));
                else
                    w->setBoxText(QLatin1String(b.column), QString::fromUtf8(b.text));
                f.ui.clear();
                child<QPushButton>(d, QStringLiteral("ins_btn"))->click();
                QCOMPARE(f.ui.messages.size(), 1);
                QVERIFY2(f.ui.messages.first().contains(QLatin1String(b.column)), qPrintable(f.ui.messages.first()));
                QCOMPARE(f.count(QStringLiteral("ghir")), qint64(0));
            }
            // Persian digits and group separators are numbers; the text column keeps a plain form.
            fillNew(w);
            w->setBoxText(QStringLiteral("zekhamat"), QStringLiteral("۵٫۵"));
            w->setBoxText(QStringLiteral("ghir_daryafti"), QStringLiteral("1,250,000"));
            f.ui.clear();
            child<QPushButton>(d, QStringLiteral("ins_btn"))->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kInserted});
        });
        QCOMPARE(f.scalar(QStringLiteral("select zekhamat from ghir")).toString(), QStringLiteral("5.5"));
        QCOMPARE(f.scalar(QStringLiteral("select ghir_daryafti from ghir")).toString(), QStringLiteral("1250000"));
    }

    void editRewritesTheCurrentAllocation()
    {
        Fixture f(true);
        f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {kProvince, kCounty, kVillage});
        const QVariantHash key = {{QStringLiteral("ostan"), kProvince}, {QStringLiteral("city"), kCounty},
                                  {QStringLiteral("rosta"), kVillage}, {QStringLiteral("peymankar"), QStringLiteral("الف")},
                                  {QStringLiteral("ghir_tahatori"), 12.5}, {QStringLiteral("sal"), QStringLiteral("1403")},
                                  {QStringLiteral("moarefi_no"), QStringLiteral("7")}};
        const qint64 other = addAllocation(f, key);
        QVariantHash second = key;
        second.insert(QStringLiteral("peymankar"), QStringLiteral("ب"));
        second.insert(QStringLiteral("sorat_area"), 55.0);
        second.insert(QStringLiteral("vazn"), QStringLiteral("2.3"));
        second.insert(QStringLiteral("asfalt_price"), 700000LL);
        const qint64 id = addAllocation(f, second);
        const QStringList otherBefore = rowTexts(f, other);
        makeCurrent(f, id);

        auto *w = f.form<Tghir_ins>();
        // As the edit command loads it.
        for (const QString &c : Tghir_ins::columns())
            w->setBoxText(c, f.dm.ADOQ_ghir->text(c));
        w->setInsertMode(false);
        QVERIFY(!child<QPushButton>(w, QStringLiteral("ins_btn"))->isVisibleTo(w));
        // The same key as the other allocation is not refused on edit.
        w->setBoxText(QStringLiteral("peymankar"), QStringLiteral("الف"));
        w->setBoxText(QStringLiteral("bors_price"), QStringLiteral("2,500,000"));
        w->setBoxText(QStringLiteral("z_mablagh"), QStringLiteral("9,000,000"));
        w->setBoxText(QStringLiteral("tolemasir"), QStringLiteral("3.25"));
        w->setBoxText(QStringLiteral("comp_naft_name"), QStringLiteral("پاسارگاد"));
        const int result = drive(f, w, [&](QDialog *d) {
            child<QPushButton>(d, QStringLiteral("edit_btn"))->click();
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(cell(f, id, QStringLiteral("peymankar")), QStringLiteral("الف"));
        QCOMPARE(cell(f, id, QStringLiteral("bors_price")), QStringLiteral("2500000"));
        QCOMPARE(cell(f, id, QStringLiteral("z_mablagh")), QStringLiteral("9000000"));
        QCOMPARE(cell(f, id, QStringLiteral("tolemasir")), QStringLiteral("3.25"));
        QCOMPARE(cell(f, id, QStringLiteral("comp_naft_name")), QStringLiteral("پاسارگاد"));
        QCOMPARE(cell(f, id, QStringLiteral("ghir_tahatori")), QStringLiteral("12.5"));
        // The complementary columns and the other allocation stay as they were.
        QCOMPARE(cell(f, id, QStringLiteral("sorat_area")), QStringLiteral("55"));
        QCOMPARE(cell(f, id, QStringLiteral("vazn")), QStringLiteral("2.3"));
        QCOMPARE(cell(f, id, QStringLiteral("asfalt_price")), QStringLiteral("700000"));
        QCOMPARE(rowTexts(f, other), otherBefore);

        // A county outside the gazetteer: refused, nothing written, the window stays.
        const QStringList before = rowTexts(f, id);
        w->setBoxText(QStringLiteral("city"), QStringLiteral("ناكجا"));
        drive(f, w, [&](QDialog *d) {
            child<QPushButton>(d, QStringLiteral("edit_btn"))->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kPlaceError});
            QVERIFY(d->isVisible());
            // A value that is not a number: refused before anything runs.
            f.ui.clear();
            w->setBoxText(QStringLiteral("city"), kCounty);
            w->setBoxText(QStringLiteral("prj_area"), QStringLiteral("1O0"));
            child<QPushButton>(d, QStringLiteral("edit_btn"))->click();
            QCOMPARE(f.ui.messages.size(), 1);
            QVERIFY(f.ui.messages.first().contains(QLatin1String("prj_area")));
            QVERIFY(d->isVisible());
        });
        QCOMPARE(rowTexts(f, id), before);

        // The allocation was deleted meanwhile: said so, not reported as done.
        w->setBoxText(QStringLiteral("prj_area"), QStringLiteral("100"));
        f.dm.exec(QStringLiteral("delete from ghir where id=?"), {id});
        f.ui.clear();
        drive(f, w, [&](QDialog *d) {
            child<QPushButton>(d, QStringLiteral("edit_btn"))->click();
            QCOMPARE(f.ui.messages, QStringList{Tghir_ins::kRowGone});
            QVERIFY(d->isVisible());
        });
        QCOMPARE(rowTexts(f, other), otherBefore);
    }

    void placeListsAndContractorNames()
    {
        Fixture f(true);
        for (const auto &r : {QStringList{kProvince, kCounty, kVillage}, QStringList{kProvince, kCounty, QStringLiteral("برزك")},
                              QStringList{kProvince, QStringLiteral("نطنز"), QStringLiteral("طرق")},
                              QStringList{QStringLiteral("يزد"), QStringLiteral("ميبد"), QStringLiteral("بيده")}})
            f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {r[0], r[1], r[2]});
        QSqlDatabase prot = f.dm.ADOConn_prot();
        for (const QString &n : {QStringLiteral("شركت الف"), QStringLiteral("شركت ب"), QStringLiteral("شركت الف")}) {
            QSqlQuery q(prot);
            q.prepare(QStringLiteral("insert into prot (num, name) values ('1', ?)"));
            q.addBindValue(n);
            QVERIFY(q.exec());
        }
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"), {QStringLiteral("بانک"), QStringLiteral("ملت")});
        auto *w = f.form<Tghir_ins>();
        prepareNew(w);
        w->setBoxText(QStringLiteral("ostan"), kProvince);
        drive(f, w, [&](QDialog *d) {
            auto *ostan = child<QComboBox>(d, QStringLiteral("ostan"));
            auto *city = child<QComboBox>(d, QStringLiteral("city"));
            auto *rosta = child<QComboBox>(d, QStringLiteral("rosta"));
            auto *peymankar = child<QComboBox>(d, QStringLiteral("peymankar"));
            QCOMPARE(ostan->count(), 2);
            QCOMPARE(ostan->itemText(0), kProvince);
            QCOMPARE(ostan->currentText(), kProvince);
            QCOMPARE(city->count(), 2);
            QCOMPARE(child<QComboBox>(d, QStringLiteral("z_bank"))->count(), 1);
            QCOMPARE(child<QComboBox>(d, QStringLiteral("z_bank"))->currentText(), QString());
            // Picking a county lists its villages and the correspondence database's contractors.
            city->setCurrentIndex(city->findText(kCounty));
            emit city->activated(city->currentIndex());
            QCOMPARE(rosta->count(), 2);
            QCOMPARE(peymankar->count(), 2);
            QCOMPARE(peymankar->currentText(), QString());
            // Typing a province refills the counties, leaving the typed texts alone.
            ostan->setFocus();
            ostan->lineEdit()->selectAll();
            typeText(ostan->lineEdit(), QStringLiteral("يزد"));
            QCOMPARE(city->count(), 1);
            QCOMPARE(city->currentText(), kCounty);
            // Leaving the county box stores its name with the Arabic kaf.
            QVERIFY(enter(city));
            city->setEditText(QStringLiteral("كاشان").replace(QChar(0x0643), QChar(0x06A9)));
            QVERIFY(enter(rosta));
            QCOMPARE(city->currentText(), kCounty);
        });
        QVERIFY(f.ui.messages.isEmpty());
        // A correspondence database that cannot be read says so; the villages are already listed.
        QVERIFY(QSqlQuery(prot).exec(QStringLiteral("drop table prot")));
        w->setBoxText(QStringLiteral("ostan"), kProvince);
        drive(f, w, [&](QDialog *d) {
            auto *city = child<QComboBox>(d, QStringLiteral("city"));
            city->setCurrentIndex(city->findText(QStringLiteral("نطنز")));
            emit city->activated(city->currentIndex());
            QCOMPARE(child<QComboBox>(d, QStringLiteral("rosta"))->count(), 1);
            QCOMPARE(f.ui.messages.size(), 1);
        });
        f.ui.clear();
        // Without a correspondence database the village list still follows the county.
        f.dm.connectProt(DbProfile());
        QVERIFY(!f.dm.hasProt());
        drive(f, w, [&](QDialog *d) {
            auto *city = child<QComboBox>(d, QStringLiteral("city"));
            child<QComboBox>(d, QStringLiteral("ostan"))->setEditText(kProvince);
            QTest::keyClicks(city->lineEdit(), QStringLiteral("x"));
            city->setEditText(QStringLiteral("نطنز"));
            emit city->activated(0);
            QCOMPARE(child<QComboBox>(d, QStringLiteral("rosta"))->count(), 1);
        });
        QVERIFY(f.ui.messages.isEmpty());
    }
};

VARNOSET_DB_TEST_MAIN(GhirInsTest)
#include "db_ghir_ins.moc"
