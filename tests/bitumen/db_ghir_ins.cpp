// The entry forms of a bitumen allocation: the initial entry's estimate formulas and their
// balloons, its insert with checks and stored defaults, the edit, the place and contractor
// lists; the complementary data's consumption, exchange and asphalt formulas, their balloons,
// label rounding and the update.
#include "support/drive.h"
#include "support/texts.h"

#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_src_u.h"
#include "shared/balloon.h"
#include "shared/edits.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kProvince = QStringLiteral("اصفهان");
const QString kCounty = QStringLiteral("كاشان");   // stored with the Arabic kaf
const QString kVillage = QStringLiteral("نياسر");

using Values = QList<QPair<QString, QString>>;

template <class Form> void set(Form *w, const Values &values)
{
    for (const auto &v : values)
        w->setBoxText(v.first, v.second);
}

// Boxes set in turn, each time a computed box entered and the text it then shows.
struct Step {
    Values set;
    const char *box;
    QString shows;
};
template <class Form> void compute(Form *w, const QList<Step> &steps)
{
    for (const Step &s : steps) {
        set(w, s.set);
        QCOMPARE(entered(w, s.box), s.shows);
    }
}

// A complete new allocation in the gazetteer's province and county.
void fillNew(Tghir_ins *w)
{
    set(w, {{"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"peymankar", "شركت راه سازان"},
            {"sal", "1403"}, {"prot_no", "ق/1403/52"}, {"prot_mablagh", "1000000"}, {"prj_area", "100"},
            {"zekhamat", "5"}, {"tonaj", "11.65"}, {"bors_price", "2000000"}, {"ghir_tahatori", "12.5"},
            {"moarefi_no", "245/ص"}, {"ghir_daryafti", "1250000"}, {"pishraft", "40"}, {"tolemasir", "0"}});
}

void addPlace(Fixture &f, const QString &province = kProvince, const QString &county = kCounty,
              const QString &village = kVillage)
{
    f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {province, county, village});
}

// The bitumen window's new-allocation command; `steps` drive the entry form it shows.
void newAllocation(Fixture &f, const Steps &steps) { through(f, f.form<Tghir_src>(), "N1", "Tghir_ins", steps); }

void clickLabel(QWidget *w, const QString &name) { QTest::mouseClick(child<QLabel>(w, name + "_lbl"), Qt::LeftButton); }

// An allocation as the initial entry leaves it, with its contract amounts and bitumen price.
qint64 addContracted(Fixture &f)
{
    return addGhir(f, {{"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"prot_mablagh", 2000000LL},
                       {"prot_mablagh_ejra", 500000LL}, {"ghir_daryafti", "1250000.75"}, {"rep_dat", ""}});
}

// What the bitumen window's complementary-data command puts into the form.
void load(Fixture &f, Tghir_ins2 *w, qint64 id)
{
    makeCurrent(f, id);
    w->startEdit(id);
}

// The formula balloon of a computed box: its box, title and text.
struct Formula {
    const char *box;
    QString title, text;
};
const Formula kEstimateFormulas[] = {
    {"tonaj", QStringLiteral("فرمول محاسبه تناژ"), QStringLiteral("مساحت × ضخامت × 2.33 تقسيم بر 100")},
    {"ghir_masrafi", QStringLiteral("فرمول محاسبه مقدار قير مصرفي"), QStringLiteral("تناژ آسفالت × 0.06")},
    {"ghir_tagh_tah", QStringLiteral("فرمول محاسبه قير تهاتري"), QStringLiteral("تناژ آسفالت × مبلغ قرارداد تقسيم بر قيمت بورس")},
    {"khodyari", QStringLiteral("فرمول محاسبه خودياري"), QStringLiteral("مبلغ خالص وضعيت آسفالت منهاي قير حواله در قيمت قير دريافتي شرکت تقسيم 1000")},
    {"dehyari", QStringLiteral("فرمول محاسبه دهياري"), QStringLiteral("طول مسير * 1000 بعلاوه مساحت*40 تقسيم بر 1000")},
    {"tolemasir", QStringLiteral("فرمول محاسبه طول مسير"), QStringLiteral("مساحت طبق صورتجلسه تقسيم بر 10")},
};
const Formula kComplementFormulas[] = {
    {"ghir60", QStringLiteral("فرمول محاسبه قير مصرفي 70-60"), QStringLiteral("مساحت × وزن × ضخامت × درصد قير تقسيم بر 10000")},
    {"ghir_m_p", QStringLiteral("فرمول محاسبه قير مصرفي پريمکت"), QStringLiteral("مساحت × ميانگين قير پريمکت تقسيم بر 1000")},
    {"ghir_jam", QStringLiteral("فرمول محاسبه جمع کل"), QStringLiteral("مجموع قير مصرفي70-60 و قير پريمکت")},
    {"asfalt_ejra", QStringLiteral("فرمول محاسبه ميزان آسفالت اجرا شده"), QStringLiteral("سطح × ضخامت × وزن مخصوص تقسيم بر 100")},
    {"asfalt_price", QStringLiteral("فرمول مبلغ خالص وضعيت"), QStringLiteral("مبلغ قرارداد خريد × ميزان آسفالت اجراشده + مبلغ قرارداد اجرا × ميزان آسفالت اجراشدخ × ضريب کسورات اجرا")},
    {"ghir_t", QStringLiteral("فرمول محاسبه قير تهاتري"), QStringLiteral("مبلغ خاص وضعيت تقسيم بر قيمت قير معادل")},
};
// What a complementary box's balloon adds when inputs are empty (our own wording), before the
// captions of the empty boxes.
const QString kNotComputed = QStringLiteral("محاسبه نشد؛ اين خانه ها خالي است: ");

// The balloon registered for a box, "title|text".
QString balloon(EntryForm *w, const char *box)
{
    auto *b = child<QLineEdit>(w, QLatin1String(box));
    return BalloonTitle(w->balloonTip(), b) + "|" + BalloonText(w->balloonTip(), b);
}
// The title the balloon window shows, empty when it is hidden.
QString shownBalloon(EntryForm *w)
{
    QWidget *win = BalloonWindowOf(w->balloonTip());
    return win && win->isVisible() ? child<QLabel>(win, "balloon_title")->text() : QString();
}
// A click into a box that has the focus already (no entering, no computing): the balloon shown.
QString clickedBalloon(EntryForm *w, const char *box)
{
    auto *b = child<QLineEdit>(w, QLatin1String(box));
    if (!b->hasFocus())
        return "<no focus>";
    HideBalloonTip(w->balloonTip());
    QTest::mouseClick(b, Qt::LeftButton);
    return shownBalloon(w);
}

} // namespace

class GhirInsTest : public QObject {
    Q_OBJECT
private slots:
    void estimateFormulasInInsertMode()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins>();
        newAllocation(f, [&](QDialog *) {
            // The purchase amount, typed, shows grouped.
            auto *amount = child<QLineEdit>(w, "prot_mablagh");
            amount->selectAll();
            QTest::keyClicks(amount, "1000000");
            QCOMPARE(amount->text(), "1,000,000");
            compute(w, {
                {{{"prj_area", "100"}, {"zekhamat", "5"}}, "tonaj", "11.65"},
                {{}, "ghir_masrafi", "0.699"},
                // 1,000,000 x 11.65 / 2,000,000 = 5.825 -> 6; ties to the even number: 13 t
                // gives 6.5 -> 6, 15 t gives 7.5 -> 8.
                {{{"bors_price", "2000000"}}, "ghir_tagh_tah", "6"},
                {{{"tonaj", "13"}}, "ghir_tagh_tah", "6"},
                {{{"tonaj", "15"}}, "ghir_tagh_tah", "8"},
                // A zero exchange price or an input that is not a number leaves the box as it was.
                {{{"bors_price", "0"}}, "ghir_tagh_tah", "8"},
                {{{"zekhamat", "5 cm"}}, "tonaj", "15"},
                {{{"zekhamat", "4.5"}, {"prj_area", ""}}, "tonaj", "15"},
                // Insert mode: the contributions stay 0 whatever the inputs.
                {{{"ghir_tahatori", "10"}, {"ghir_daryafti", "150000"}, {"khodyari", "77"}}, "khodyari", "0"},
                {{{"dehyari", "77"}}, "dehyari", "0"},
                {{{"tolemasir", "77"}}, "tolemasir", "0"},
                {{{"ghir_daryafti", "قيمت"}}, "khodyari", "0"},
            });
            // Each computed box carries its formula's balloon; a click into an estimate box
            // shows it again without computing (the area now gives another tonnage).
            for (const Formula &b : kEstimateFormulas)
                QCOMPARE(balloon(w, b.box), b.title + "|" + b.text);
            QVERIFY(enter(child<QLineEdit>(w, "tonaj")));
            set(w, {{"prj_area", "100"}});
            QCOMPARE(clickedBalloon(w, "tonaj") + "|" + w->boxText("tonaj"), kEstimateFormulas[0].title + "|15");
            // The label of tonaj rounds it half to even; no number: a message, the box kept.
            for (const auto &[typed, rounded] : {std::pair{"12.5", "12"}, {"13.5", "14"}, {"x", "x"}}) {
                set(w, {{"tonaj", typed}});
                clickLabel(w, "tonaj");
                QCOMPARE(w->boxText("tonaj"), rounded);
            }
            QCOMPARE(f.ui.messages, QStringList{texts::notANumber("x", texts::boxName("تناژ تقريبي کار"))});
            // The date labels fill today's date; the registration date's does not.
            set(w, {{"z_dat", ""}, {"reg_dat", ""}});
            clickLabel(w, "z_dat");
            clickLabel(w, "reg_dat");
            QCOMPARE(w->boxText("z_dat") + w->boxText("reg_dat"), "1405/09/15" + TDateEdit::kEmpty);
        });
        QCOMPARE(f.count("ghir"), qint64(0));
    }

    void estimateFormulasInEditMode()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins>();
        // Stored: net asphalt amount 2,500,700,000, main surface 1234, route 123.7.
        const qint64 id = addGhir(f, {{"sorat_area", 1234.0}, {"tolemasir", 123.7}, {"asfalt_price", 2500700000LL}});
        makeCurrent(f, id);
        w->setInsertMode(false);
        drive(f, w, [&](QDialog *) {
            compute(w, {
                // Floor((2,500,700,000 - 10 x 150,000 x 1000) / 1,000,000) = Floor(1000.7) = 1000,
                // grouped like the money boxes; a negative contribution shows 0.
                {{{"ghir_tahatori", "10"}, {"ghir_daryafti", "150000"}}, "khodyari", "1,000"},
                {{{"ghir_tahatori", "20"}}, "khodyari", "0"},
                // The stored values count, not the boxes: Floor(1234 / 10) = 123,
                // Round(Floor(123 x 1000 + 1234 x 40) / 1000) = Round(172.36) = 172.
                {{{"tolemasir", "999"}}, "tolemasir", "123"},
                {{}, "dehyari", "172"},
            });
        });
        // Route 2, surface 12.5: (2000 + 500) / 1000 = 2.5 -> 2; route 3: 3.5 -> 4.
        // Floor(12.5 / 10) = 1 both times.
        for (const auto &[update, dehyari] : {std::pair{"tolemasir=2, sorat_area=12.5", "2"}, {"tolemasir=3.99", "4"}}) {
            f.dm.exec(QStringLiteral("update ghir set %1 where id=?").arg(QLatin1String(update)), {id});
            makeCurrent(f, id);
            const QString expected = QLatin1String(dehyari);
            drive(f, w, [&](QDialog *) { QCOMPARE(entered(w, "dehyari") + " " + entered(w, "tolemasir"), expected + " 1"); });
        }
        // Without a current allocation the contributions fall back to 0.
        f.dm.ADOQ_ghir->open(QStringLiteral("select * from ghir where id=-5"));
        drive(f, w, [&](QDialog *) {
            compute(w, {{{{"khodyari", "5"}}, "khodyari", "0"}, {{{"dehyari", "5"}}, "dehyari", "0"},
                        {{{"tolemasir", "5"}}, "tolemasir", "0"}});
        });
        QVERIFY(f.ui.messages.isEmpty());
    }

    // Refusals write nothing: the six key boxes of a registered allocation ("12.50" is the same
    // amount, another contract number does not matter), a place outside the gazetteer alone or
    // with a duplicate, a text that is not a number or too long (named by its box). Then the
    // row stored with its defaults: money as whole rials, the complementary columns empty or
    // 0, no log row.
    void insertRefusalsAndTheStoredRow()
    {
        Fixture f(true);
        addPlace(f);
        const qint64 registered = addGhir(f, {{"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage},
                                              {"peymankar", "شركت راه سازان"}, {"ghir_tahatori", 12.5}, {"sal", "1403"},
                                              {"moarefi_no", "245/ص"}});
        const QStringList before = ghirRow(f, registered);
        const QList<std::pair<Values, QStringList>> refused{
            {{{"prot_no", "ديگر"}}, {texts::kGhirDuplicate}},
            {{{"ghir_tahatori", "12.50"}}, {texts::kGhirDuplicate}},
            {{{"ostan", "تهران"}}, {texts::kGhirPlaceError, texts::kGhirDuplicate}},
            {{{"ostan", "تهران"}, {"ghir_tahatori", "30"}}, {texts::kGhirPlaceError}},
            // Named by the box's caption (the last one set):
            {{{"ghir_tahatori", "30"}, {"prj_area", "صد"}}, {}},
            {{{"ghir_tahatori", "30"}, {"pishraft", "40.5"}}, {}},
            {{{"ghir_tahatori", "30"}, {"ghir_daryafti", "1.250.000"}}, {}},
            {{{"ghir_tahatori", "12,5"}}, {}},
            {{{"ghir_tahatori", "12,5t"}}, {}},
            {{{"ghir_tahatori", "30"}, {"zekhamat", "5cm"}}, {}},
            {{{"ghir_tahatori", "30"}, {"tolemasir", "1e3"}}, {}},
            {{{"ghir_tahatori", "30"}, {"prot_no", QString(51, 'x')}}, {}},
        };
        auto *w = f.form<Tghir_ins>();
        newAllocation(f, [&](QDialog *d) {
            for (const auto &[values, messages] : refused) {
                fillNew(w);
                set(w, values);
                const QStringList said = pressed(f, d, "ins_btn");
                QVERIFY2(messages.isEmpty() ? said.size() == 1 && said.first().contains(captioned(w, values.last().first))
                                            : said == messages, qPrintable(said.join('|')));
            }
            QCOMPARE(f.count("ghir"), qint64(1));
            QCOMPARE(ghirRow(f, registered), before);
            // Persian digits and group separators are numbers.
            fillNew(w);
            set(w, {{"ghir_tahatori", "30"}, {"zekhamat", "۵٫۵"}, {"ghir_daryafti", "1,250,000"},
                    {"z_mablagh", "12,500,000"}, {"prot_mablagh_ejra", "3000000000"}});
            QCOMPARE(pressed(f, d, "ins_btn"), QStringList{texts::kInserted});
            QVERIFY(d->isVisible());
        });
        const qint64 id = f.scalar("select max(id) from ghir").toLongLong();
        const Values stored{
            {"zekhamat", "5.5"}, {"ghir_daryafti", "1250000"}, {"z_mablagh", "12500000"}, {"prot_mablagh_ejra", "3000000000"},
            {"sorat_area", "0"}, {"asfalt_price", "0"}, {"jalase_no", "0"}, {"jalase_dat", "    /  /  "},
            {"peymankar_id", "-1"}, {"reg_dat", "1405/09/15"}, {"z_dat", "    /  /  "}, {"khodyari", "0"},
            {"sorat_area_f", "0"}, {"zarib", "0"}, {"bors_m", "0"}, {"ghir_moadel", "0"}, {"tarakom", "0"},
            {"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"prot_mablagh", "1000000"},
            {"bors_price", "2000000"}, {"ghir_tahatori", "30"}, {"tonaj", "11.65"}, {"sal", "1403"},
            {"prot_no", "ق/1403/52"}, {"pishraft", "40"}};
        for (const auto &[column, value] : stored)
            QCOMPARE(ghirCell(f, id, column), value);
        QCOMPARE(f.scalar("select count(*) from ghir where rep_dat='' and vazn='' and ghir_t='' and status=''").toInt(), 1);
        QCOMPARE(f.count("log"), qint64(0));
        // The untouched year of a new record (its century only) is not a year: refused, naming
        // its box, nothing stored.
        newAllocation(f, [&](QDialog *d) {
            set(w, {{"ostan", kProvince}, {"city", kCounty}});
            QCOMPARE(pressed(f, d, "ins_btn"), QStringList{texts::cannotHold("14  ", texts::boxName("سال تخصيص قير"), texts::kNotAYear)});
        });
        QCOMPARE(f.scalar("select count(*) from ghir where id>?", {id}).toInt(), 0);
    }

    void editRewritesTheCurrentAllocation()
    {
        Fixture f(true);
        addPlace(f);
        const QVariantMap key{{"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"peymankar", "الف"},
                              {"ghir_tahatori", 12.5}, {"sal", "1403"}, {"moarefi_no", "7"}};
        const qint64 other = addGhir(f, key);
        QVariantMap second = key;
        second.insert({{"peymankar", "ب"}, {"sorat_area", 55.0}, {"vazn", "2.3"}, {"asfalt_price", 700000LL}});
        const qint64 id = addGhir(f, second);
        const QStringList otherBefore = ghirRow(f, other);
        makeCurrent(f, id);
        auto *w = f.form<Tghir_ins>();
        through(f, f.form<Tghir_src>(), "N2", "Tghir_ins", [&](QDialog *d) {
            QVERIFY(!child<QWidget>(d, "ins_btn")->isVisibleTo(d));
            // The same key as the other allocation is not refused on edit.
            set(w, {{"peymankar", "الف"}, {"bors_price", "2,500,000"}, {"z_mablagh", "9,000,000"}, {"tolemasir", "3.25"},
                    {"comp_naft_name", "پاسارگاد"}});
            click(d, "edit_btn");
            QVERIFY(!d->isVisible());
            QCOMPARE(d->result(), int(QDialog::Accepted));
        });
        QVERIFY(f.ui.messages.isEmpty());
        // The complementary columns and the other allocation stay as they were.
        const Values stored{{"peymankar", "الف"}, {"bors_price", "2500000"}, {"tolemasir", "3.25"},
                            {"sorat_area", "55"}, {"vazn", "2.3"}, {"asfalt_price", "700000"}, {"z_mablagh", "9000000"},
                            {"comp_naft_name", "پاسارگاد"}, {"ghir_tahatori", "12.5"}};
        for (const auto &[column, value] : stored)
            QCOMPARE(ghirCell(f, id, column), value);
        QCOMPARE(ghirRow(f, other), otherBefore);
        // A county outside the gazetteer, a value that is not a number (named by its box): refused,
        // the window stays; the allocation deleted meanwhile: said so, not reported as done.
        const QStringList before = ghirRow(f, id);
        drive(f, w, [&](QDialog *d) {
            set(w, {{"city", "ناكجا"}});
            click(d, "edit_btn");
            QCOMPARE(f.ui.messages, QStringList{texts::kGhirPlaceError});
            QCOMPARE(ghirRow(f, id), before);
            set(w, {{"city", kCounty}, {"prj_area", "1O0"}});
            const QStringList said = pressed(f, d, "edit_btn");
            QVERIFY2(said.size() == 1 && said.first().contains(captioned(w, "prj_area")), qPrintable(said.join('|')));
            QCOMPARE(ghirRow(f, id), before);
            QVERIFY(d->isVisible());
            set(w, {{"prj_area", "100"}});
            f.dm.exec(QStringLiteral("delete from ghir where id=?"), {id});
            QCOMPARE(pressed(f, d, "edit_btn"), QStringList{texts::kGhirRowGone});
            QVERIFY(d->isVisible());
        });
        QCOMPARE(ghirRow(f, other), otherBefore);
    }

    // A county picked lists its villages and the correspondence database's contractors (each
    // once); the county is stored with the Arabic kaf; a correspondence database that cannot be
    // read says so, one that is not configured says nothing.
    void placeListsAndContractorNames()
    {
        Fixture f(true);
        addPlace(f);
        addPlace(f, kProvince, kCounty, "برزك");
        addPlace(f, kProvince, "نطنز", "طرق");
        addPlace(f, "يزد", "ميبد", "بيده");
        for (const char *n : {"شركت الف", "شركت ب", "شركت الف"})
            f.dm.ADOQ_prot->exec("insert into prot (num, name) values ('1', ?)", {n});
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"), {"بانک", "ملت"});
        auto *w = f.form<Tghir_ins>();
        w->setInsertMode(true);
        w->setBoxText("ostan", kProvince);
        auto pick = [&](QDialog *d, const QString &county) {
            auto *city = child<QComboBox>(d, "city");
            child<QComboBox>(d, "ostan")->setEditText(kProvince);
            city->setCurrentIndex(city->findText(county));
            emit city->activated(city->currentIndex());
            return child<QComboBox>(d, "rosta")->count();
        };
        drive(f, w, [&](QDialog *d) {
            auto *city = child<QComboBox>(d, "city");
            auto *ostan = child<QComboBox>(d, "ostan");
            QCOMPARE(ostan->currentText(), kProvince);
            const int villages = pick(d, kCounty);
            QCOMPARE(QList<int>({child<QComboBox>(d, "ostan")->count(), child<QComboBox>(d, "z_bank")->count(), villages,
                                 city->count(), child<QComboBox>(d, "peymankar")->count()}),
                     QList<int>({2, 1, 2, 2, 2}));
            QCOMPARE(child<QComboBox>(d, "peymankar")->currentText(), QString());
            // A typed province refills the counties, leaving the typed texts alone.
            ostan->setFocus();
            ostan->lineEdit()->selectAll();
            typeText(ostan->lineEdit(), "يزد");
            QCOMPARE(QString::number(city->count()) + city->currentText(), "1" + kCounty);
            QVERIFY(enter(city));
            city->setEditText(QString(kCounty).replace(QChar(0x0643), QChar(0x06A9)));
            QVERIFY(enter(child<QComboBox>(d, "rosta")));
            QCOMPARE(city->currentText(), kCounty);
        });
        QVERIFY(f.ui.messages.isEmpty());
        f.dm.ADOQ_prot->exec("drop table prot");
        w->setBoxText("ostan", kProvince);
        drive(f, w, [&](QDialog *d) { QCOMPARE(pick(d, "نطنز"), 1); });
        QCOMPARE(f.ui.messages.size(), 1);
        f.ui.clear();
        f.dm.connectProt(DbProfile());
        QVERIFY(!f.dm.hasProt());
        w->setBoxText("ostan", kProvince);
        drive(f, w, [&](QDialog *d) { QCOMPARE(pick(d, "نطنز"), 1); });
        QVERIFY(f.ui.messages.isEmpty());
    }

    void consumptionExchangeAndAsphaltFormulas()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        load(f, w, addContracted(f));
        drive(f, w, [&](QDialog *) {
            compute(w, {
                // 1000 m2 at 5 cm, no side surface, compaction 100, density 2.3, bitumen 5 percent.
                {{{"sorat_area", "1000"}, {"zekhamat_m", "5"}, {"sorat_area_f", "0"}, {"zekhamat_m_f", "0"},
                  {"tarakom", "100"}, {"vazn", "2.3"}, {"ghir_masrafi_m", "5"}}, "ghir60", "5.75"},
                {{}, "asfalt_ejra", "115"},
                // Side surface 200 m2, prime coat 0.8 kg/m2: 1200 x 0.8 / 1000.
                {{{"sorat_area_f", "200"}, {"ghir_prim", "0.8"}}, "ghir_m_p", "0.96"},
                {{}, "ghir_jam", "6.71"},
                // 2,000,000 x 115 + 500,000 x 115 x 0.9 = 281,750,000, grouped like the money boxes.
                {{{"zarib", "0.9"}}, "asfalt_price", "281,750,000"},
                // Entering the price fills the bitumen price received, its whole rials only.
                {{}, "ghir_moadel", "1,250,000"},
                {{}, "ghir_t", "225"}, // 281,750,000 / 1,250,000 = 225.4
                // The loaded amount counts when asfalt_price was not entered; texts with
                // separators are read without them; ties go to the even number.
                {{{"asfalt_price", "3,125,000"}, {"ghir_moadel", "1250000"}}, "ghir_t", "2"},
                {{{"asfalt_price", "4,375,000"}}, "ghir_t", "4"},
                // A zero price, or inputs that are not numbers, leave the boxes as they were.
                {{{"ghir_moadel", "0"}}, "ghir_t", "4"},
            });
            // A misplaced separator is not a number either ("2,3" is not 23).
            set(w, {{"vazn", "2,3"}, {"ghir_prim", "0.8kg"}, {"zarib", "-"}});
            for (const char *name : {"ghir60", "asfalt_ejra", "ghir_m_p", "asfalt_price"}) {
                const QString before = w->boxText(QLatin1String(name));
                QCOMPARE(entered(w, name), before);
            }
            QVERIFY(f.ui.messages.isEmpty());
            // The labels round their boxes half to even, and say so when there is no number.
            set(w, {{"ghir_m_p", "0.5"}, {"ghir_jam", "2.5"}, {"ghir_t", "3.5"}});
            QString rounded;
            for (const char *name : {"ghir60", "ghir_m_p", "ghir_jam", "ghir_t"}) {
                clickLabel(w, name);
                rounded += w->boxText(name) + " ";
            }
            QCOMPARE(rounded, "6 0 2 4 "); // 5.75, 0.5, 2.5, 3.5
            QVERIFY(f.ui.messages.isEmpty());
            set(w, {{"ghir_jam", ""}, {"ghir_t", "abc"}});
            clickLabel(w, "ghir_jam");
            clickLabel(w, "ghir_t");
            QCOMPARE(f.ui.messages, (QStringList{texts::emptyBox(texts::boxName("جمع کل قير مصرفي - تن")),
                                                 texts::notANumber("abc", texts::boxName("قير تهاتري"))}));
            QCOMPARE(w->boxText("ghir_jam") + w->boxText("ghir_t"), "abc");
            clickLabel(w, "rep_dat");
            QCOMPARE(w->boxText("rep_dat"), "1405/09/15");
            // A formula with an empty input leaves its box empty.
            set(w, {{"vazn", ""}, {"asfalt_ejra", ""}});
            QCOMPARE(entered(w, "asfalt_ejra"), QString());
        });
        QVERIFY(!f.scalar("select ghir60 from ghir").toString().size());
    }

    // Each computed box carries its formula's balloon, shown once it is entered; a formula
    // with an empty input leaves its box empty and its balloon names the empty boxes by their
    // captions, until they are filled; a click into a box with a formula shows its balloon
    // without computing, a click into the net amount shows none.
    void balloonsOfTheComputedBoxes()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        load(f, w, addContracted(f));
        for (const Formula &b : kComplementFormulas)
            QCOMPARE(balloon(w, b.box), b.title + "|" + b.text);
        QCOMPARE(balloon(w, "ghir_moadel"), "|");
        const Formula &asphalt = kComplementFormulas[3];
        drive(f, w, [&](QDialog *) {
            set(w, {{"sorat_area", "1000"}, {"zekhamat_m", "5"}, {"sorat_area_f", "0"}, {"zekhamat_m_f", "0"},
                    {"tarakom", ""}, {"vazn", ""}, {"ghir_masrafi_m", "5"}, {"asfalt_ejra", ""}});
            HideBalloonTip(w->balloonTip());
            QCOMPARE(entered(w, "asfalt_ejra"), QString());
            QCOMPARE(shownBalloon(w), asphalt.title);
            QCOMPARE(balloon(w, "asfalt_ejra"), asphalt.title + "|" + asphalt.text + "\n" + kNotComputed
                                                    + QStringLiteral("درصد تراکم آسفالت، ميانگين وزن مخصوص"));
            set(w, {{"tarakom", "100"}, {"vazn", "2.3"}});
            QCOMPARE(entered(w, "asfalt_ejra"), "115");
            QCOMPARE(balloon(w, "asfalt_ejra"), asphalt.title + "|" + asphalt.text);
            // The area changed: a click shows the balloon of the box, its text as it was.
            set(w, {{"ghir_prim", "0.8"}, {"zarib", "0.9"}});
            QVERIFY(enter(child<QLineEdit>(w, "ghir_moadel")));
            QStringList clicked;
            for (const char *name : {"ghir60", "ghir_m_p", "ghir_jam", "asfalt_ejra", "asfalt_price", "ghir_t"}) {
                QVERIFY(enter(child<QLineEdit>(w, name)));
                set(w, {{"sorat_area", "2000"}});
                clicked << clickedBalloon(w, name) + "=" + w->boxText(name);
                set(w, {{"sorat_area", "1000"}});
            }
            QCOMPARE(clicked, QStringList({kComplementFormulas[0].title + "=5.75", kComplementFormulas[1].title + "=0.8",
                                           kComplementFormulas[2].title + "=6.55", asphalt.title + "=115",
                                           "=281,750,000", kComplementFormulas[5].title + "=225"}));
        });
        QVERIFY(f.ui.messages.isEmpty());
    }

    void saveWritesTheThirtyColumns()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins2>();
        const qint64 id = addContracted(f);
        const qint64 other = addContracted(f);
        const QStringList otherBefore = ghirRow(f, other);
        load(f, w, id);
        const Values typed{
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
        // The typed values and the computed ones: side thickness 4, compaction 97, density 2.35 give
        // V = 5800, 5800 x 2.35 x 0.97 x 5 / 10000 = 6.61055, Floor(5800 x 0.97 x 2.35 / 100) = 132;
        // 2,000,000 x 132 + 500,000 x 132 x 0.9 = 323,400,000; / 1,250,000 = 258.72 -> 259.
        for (const auto &[column, value] : typed + Values{
                 {"ghir60", "6.61055"}, {"ghir_m_p", "0.96"}, {"ghir_jam", "7.57055"}, {"asfalt_ejra", "132"},
                 {"asfalt_price", "323400000"}, {"ghir_moadel", "1250000"}, {"ghir_t", "259"}})
            QCOMPARE(ghirCell(f, id, column), value);
        // The initial entry's columns and the other allocation are untouched.
        QCOMPARE(ghirCell(f, id, "prot_mablagh") + ghirCell(f, id, "ghir_daryafti") + ghirCell(f, id, "rosta"),
                 "20000001250000.75" + kVillage);
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
        const Values bad{
            {"vazn", "2,3a"}, {"vazn", "2,3"}, {"sorat_area", "1,5"}, {"jalase_no", "12.5"}, {"asfalt_price", "مبلغ"},
            {"sorat_area", "1000m"}, {"ghir_t", "5 تن"}, {"zarib", "0.9.1"}, {"tarakom", "٪97"},
            {"XS", QString(26, '1')}, // too long
            {"ghir_masrafi_m", "105"}, {"bors_m", "-1"}}; // a percentage above 100, a price below zero
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

VARNOSET_DB_TEST_MAIN(GhirInsTest)
#include "db_ghir_ins.moc"
