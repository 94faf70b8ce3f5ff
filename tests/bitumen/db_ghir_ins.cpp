// The initial entry of a bitumen allocation: estimate formulas and their balloons,
// the insert with its checks and stored defaults, the edit of the current allocation.
#include "support/drive.h"
#include "support/texts.h"

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

void set(Tghir_ins *w, const QList<QPair<QString, QString>> &values)
{
    for (const auto &v : values)
        w->setBoxText(v.first, v.second);
}

// A complete new allocation in the gazetteer's province and county.
void fillNew(Tghir_ins *w)
{
    set(w, {{"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"peymankar", "شركت راه سازان"},
            {"sal", "1403"}, {"prot_no", "ق/1403/52"}, {"prot_dat", "1403/02/15"}, {"prot_mablagh", "1000000"},
            {"prj_area", "100"}, {"zekhamat", "5"}, {"tonaj", "11.65"}, {"bors_price", "2000000"},
            {"ghir_tahatori", "12.5"}, {"moarefi_no", "245/ص"}, {"ghir_daryafti", "1250000"}, {"pishraft", "40"},
            {"tolemasir", "0"}});
}

void addPlace(Fixture &f)
{
    f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {kProvince, kCounty, kVillage});
}

// The bitumen window's new-allocation command; `steps` drive the entry form it shows.
void newAllocation(Fixture &f, const Steps &steps) { through(f, f.form<Tghir_src>(), "N1", "Tghir_ins", steps); }

void clickLabel(QWidget *w, const QString &name) { QTest::mouseClick(child<QLabel>(w, name + "_lbl"), Qt::LeftButton); }

} // namespace

class GhirInsTest : public QObject {
    Q_OBJECT
private slots:
    void estimateFormulasInInsertMode()
    {
        Fixture f(true);
        auto *w = f.form<Tghir_ins>();
        newAllocation(f, [&](QDialog *) {
            set(w, {{"prj_area", "100"}, {"zekhamat", "5"}});
            QCOMPARE(entered(w, "tonaj"), "11.65");
            QCOMPARE(entered(w, "ghir_masrafi"), "0.699");
            // Each computed box carries its formula's balloon.
            for (const char *name : {"tonaj", "ghir_masrafi", "ghir_tagh_tah", "khodyari", "dehyari", "tolemasir"})
                QVERIFY2(!BalloonText(w->balloonTip(), child<QLineEdit>(w, name)).isEmpty(), name);

            // 1,000,000 x 11.65 / 2,000,000 = 5.825 -> 6
            child<QLineEdit>(w, "prot_mablagh")->selectAll();
            QTest::keyClicks(child<QLineEdit>(w, "prot_mablagh"), "1000000");
            QCOMPARE(w->boxText("prot_mablagh"), "1,000,000");
            set(w, {{"bors_price", "2000000"}});
            QCOMPARE(entered(w, "ghir_tagh_tah"), "6");
            // Ties go to the even number: 13 t gives 6.5 -> 6, 15 t gives 7.5 -> 8.
            set(w, {{"tonaj", "13"}});
            QCOMPARE(entered(w, "ghir_tagh_tah"), "6");
            set(w, {{"tonaj", "15"}});
            QCOMPARE(entered(w, "ghir_tagh_tah"), "8");
            // A zero exchange price or an input that is not a number leaves the box as it was.
            set(w, {{"bors_price", "0"}});
            QCOMPARE(entered(w, "ghir_tagh_tah"), "8");
            set(w, {{"zekhamat", "5 cm"}});
            QCOMPARE(entered(w, "tonaj"), "15");
            set(w, {{"zekhamat", "4.5"}, {"prj_area", ""}});
            QCOMPARE(entered(w, "tonaj"), "15");

            // Insert mode: the contributions stay 0 whatever the inputs.
            set(w, {{"ghir_tahatori", "10"}, {"ghir_daryafti", "150000"}});
            for (const char *name : {"khodyari", "dehyari", "tolemasir"}) {
                set(w, {{name, "77"}});
                QCOMPARE(entered(w, name), "0");
            }
            set(w, {{"ghir_daryafti", "قيمت"}});
            QCOMPARE(entered(w, "khodyari"), "0");

            // The label of tonaj rounds it half to even; no number: a message, the box kept.
            for (const auto &[typed, rounded] : {std::pair{"12.5", "12"}, {"13.5", "14"}, {"x", "x"}}) {
                set(w, {{"tonaj", typed}});
                clickLabel(w, "tonaj");
                QCOMPARE(w->boxText("tonaj"), rounded);
            }
            QCOMPARE(f.ui.messages.size(), 1);

            // The date labels fill today's date; the registration date's does not.
            set(w, {{"z_dat", ""}, {"reg_dat", ""}});
            clickLabel(w, "z_dat");
            QCOMPARE(w->boxText("z_dat"), "1405/09/15");
            clickLabel(w, "reg_dat");
            QCOMPARE(w->boxText("reg_dat"), TDateEdit::kEmpty);
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
            // Floor((2,500,700,000 - 10 x 150,000 x 1000) / 1,000,000) = Floor(1000.7) = 1000,
            // shown grouped like the money boxes.
            set(w, {{"ghir_tahatori", "10"}, {"ghir_daryafti", "150000"}});
            QCOMPARE(entered(w, "khodyari"), "1,000");
            // A negative contribution shows 0.
            set(w, {{"ghir_tahatori", "20"}});
            QCOMPARE(entered(w, "khodyari"), "0");
            // The stored values count, not the boxes: Floor(1234 / 10) = 123,
            // Round(Floor(123 x 1000 + 1234 x 40) / 1000) = Round(172.36) = 172.
            set(w, {{"tolemasir", "999"}});
            QCOMPARE(entered(w, "tolemasir"), "123");
            QCOMPARE(entered(w, "dehyari"), "172");
        });
        // Route 2, surface 12.5: (2000 + 500) / 1000 = 2.5 -> 2; route 3: 3.5 -> 4.
        f.dm.exec(QStringLiteral("update ghir set tolemasir=2, sorat_area=12.5 where id=?"), {id});
        makeCurrent(f, id);
        drive(f, w, [&](QDialog *) {
            QCOMPARE(entered(w, "dehyari"), "2");
            QCOMPARE(entered(w, "tolemasir"), "1");
        });
        f.dm.exec(QStringLiteral("update ghir set tolemasir=3.99 where id=?"), {id});
        makeCurrent(f, id);
        drive(f, w, [&](QDialog *) { QCOMPARE(entered(w, "dehyari"), "4"); });
        // Without a current allocation the contributions fall back to 0.
        f.dm.ADOQ_ghir->open(QStringLiteral("select * from ghir where id=-5"));
        drive(f, w, [&](QDialog *) {
            for (const char *name : {"khodyari", "dehyari", "tolemasir"}) {
                set(w, {{name, "5"}});
                QCOMPARE(entered(w, name), "0");
            }
        });
        QVERIFY(f.ui.messages.isEmpty());
    }

    void insertStoresTheNewAllocationWithItsDefaults()
    {
        Fixture f(true);
        addPlace(f);
        auto *w = f.form<Tghir_ins>();
        newAllocation(f, [&](QDialog *d) {
            fillNew(w);
            set(w, {{"z_mablagh", "12,500,000"}, {"prot_mablagh_ejra", "3000000000"}});
            click(d, "ins_btn");
            QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
            QVERIFY(d->isVisible());
        });
        QCOMPARE(f.count("ghir"), qint64(1));
        const qint64 id = f.scalar("select id from ghir").toLongLong();
        // The columns the complementary form fills later start empty or 0; the boxes of this
        // form are stored, money as whole rials; no log row is written.
        const QList<QPair<QString, QString>> stored{
            {"sorat_area", "0"}, {"sorat_area_f", "0"}, {"zarib", "0"}, {"bors_m", "0"}, {"asfalt_price", "0"},
            {"ghir_moadel", "0"}, {"jalase_no", "0"}, {"tarakom", "0"}, {"jalase_dat", "    /  /  "},
            {"ostan", kProvince}, {"city", kCounty}, {"rosta", kVillage}, {"z_mablagh", "12500000"},
            {"prot_mablagh", "1000000"}, {"prot_mablagh_ejra", "3000000000"}, {"bors_price", "2000000"},
            {"ghir_tahatori", "12.5"}, {"tonaj", "11.65"}, {"peymankar_id", "-1"}, {"sal", "1403"},
            {"prot_no", "ق/1403/52"}, {"reg_dat", "1405/09/15"}, {"z_dat", "    /  /  "}, {"pishraft", "40"},
            {"khodyari", "0"}};
        for (const auto &[column, value] : stored)
            QCOMPARE(ghirCell(f, id, column), value);
        QCOMPARE(f.scalar("select count(*) from ghir where rep_dat='' and vazn='' and ghir_t='' and status=''").toInt(), 1);
        QCOMPARE(f.count("log"), qint64(0));

        // The untouched year of a new record is stored as the window shows it.
        f.ui.clear();
        newAllocation(f, [&](QDialog *d) {
            set(w, {{"ostan", kProvince}, {"city", kCounty}});
            click(d, "ins_btn");
        });
        QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
        QCOMPARE(f.scalar("select sal from ghir where id<>?", {id}).toString(), "14  ");
    }

    void duplicateAndPlaceRefusalsWriteNothing()
    {
        Fixture f(true);
        addPlace(f);
        auto *w = f.form<Tghir_ins>();
        newAllocation(f, [&](QDialog *d) {
            fillNew(w);
            click(d, "ins_btn");
            const qint64 id = f.scalar("select id from ghir").toLongLong();
            const QStringList before = ghirRow(f, id);
            auto insert = [&](const QString &box, const QString &text) {
                f.ui.clear();
                set(w, {{box, text}});
                click(d, "ins_btn");
                return f.ui.messages;
            };
            // The same six key boxes again: a duplicate. "12.50" is the same remittance amount.
            QCOMPARE(insert("prot_no", "ديگر"), QStringList{texts::kGhirDuplicate});
            QCOMPARE(insert("ghir_tahatori", "12.50"), QStringList{texts::kGhirDuplicate});
            // A typed province outside the gazetteer together with a duplicate: both refusals.
            QCOMPARE(insert("ostan", "تهران"), (QStringList{texts::kGhirPlaceError, texts::kGhirDuplicate}));
            // The place alone.
            QCOMPARE(insert("ghir_tahatori", "30"), QStringList{texts::kGhirPlaceError});
            QCOMPARE(f.count("ghir"), qint64(1));
            QCOMPARE(ghirRow(f, id), before);
            // Back in the gazetteer with the new amount: stored.
            QCOMPARE(insert("ostan", kProvince), QStringList{texts::kInserted});
        });
        QCOMPARE(f.count("ghir"), qint64(2));
    }

    void textsThatAreNotNumbersAreRefused()
    {
        Fixture f(true);
        addPlace(f);
        auto *w = f.form<Tghir_ins>();
        const QList<QPair<QString, QString>> bad{
            {"prj_area", "صد"}, {"ghir_tahatori", "12,5t"}, {"pishraft", "40.5"}, {"zekhamat", "5cm"},
            {"ghir_daryafti", "1.250.000"}, {"tolemasir", "1e3"}, {"ghir_tahatori", "12,5"},
            {"prot_no", QString(51, 'x')}}; // longer than its column
        newAllocation(f, [&](QDialog *d) {
            for (const auto &b : bad) {
                fillNew(w);
                set(w, {b});
                f.ui.clear();
                click(d, "ins_btn");
                QCOMPARE(f.ui.messages.size(), 1);
                QVERIFY2(f.ui.messages.first().contains(captioned(w, b.first)), qPrintable(f.ui.messages.first()));
                QCOMPARE(f.count("ghir"), qint64(0));
            }
            // Persian digits and group separators are numbers; the text column keeps a plain form.
            fillNew(w);
            set(w, {{"zekhamat", "۵٫۵"}, {"ghir_daryafti", "1,250,000"}});
            f.ui.clear();
            click(d, "ins_btn");
            QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
        });
        QCOMPARE(f.scalar("select zekhamat from ghir").toString(), "5.5");
        QCOMPARE(f.scalar("select ghir_daryafti from ghir").toString(), "1250000");
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
        const QList<QPair<QString, QString>> stored{
            {"peymankar", "الف"}, {"bors_price", "2500000"}, {"z_mablagh", "9000000"}, {"tolemasir", "3.25"},
            {"comp_naft_name", "پاسارگاد"}, {"ghir_tahatori", "12.5"}, {"sorat_area", "55"}, {"vazn", "2.3"},
            {"asfalt_price", "700000"}};
        for (const auto &[column, value] : stored)
            QCOMPARE(ghirCell(f, id, column), value);
        QCOMPARE(ghirRow(f, other), otherBefore);

        // A county outside the gazetteer, a value that is not a number: refused before anything
        // runs, the window stays.
        const QStringList before = ghirRow(f, id);
        drive(f, w, [&](QDialog *d) {
            set(w, {{"city", "ناكجا"}});
            click(d, "edit_btn");
            QCOMPARE(f.ui.messages, QStringList{texts::kGhirPlaceError});
            f.ui.clear();
            set(w, {{"city", kCounty}, {"prj_area", "1O0"}});
            click(d, "edit_btn");
            QCOMPARE(f.ui.messages.size(), 1);
            QVERIFY(f.ui.messages.first().contains(captioned(w, "prj_area")));
            QVERIFY(d->isVisible());
        });
        QCOMPARE(ghirRow(f, id), before);

        // The allocation was deleted meanwhile: said so, not reported as done.
        w->setBoxText("prj_area", "100");
        f.dm.exec(QStringLiteral("delete from ghir where id=?"), {id});
        f.ui.clear();
        drive(f, w, [&](QDialog *d) {
            click(d, "edit_btn");
            QCOMPARE(f.ui.messages, QStringList{texts::kGhirRowGone});
            QVERIFY(d->isVisible());
        });
        QCOMPARE(ghirRow(f, other), otherBefore);
    }

    void placeListsAndContractorNames()
    {
        Fixture f(true);
        for (const auto &r : {QStringList{kProvince, kCounty, kVillage}, QStringList{kProvince, kCounty, "برزك"},
                              QStringList{kProvince, "نطنز", "طرق"}, QStringList{"يزد", "ميبد", "بيده"}})
            f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, rosta) values (?,?,?)"), {r[0], r[1], r[2]});
        for (const char *n : {"شركت الف", "شركت ب", "شركت الف"})
            f.dm.ADOQ_prot->exec("insert into prot (num, name) values ('1', ?)", {n});
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"), {"بانک", "ملت"});
        auto *w = f.form<Tghir_ins>();
        w->setInsertMode(true);
        w->setBoxText("ostan", kProvince);
        drive(f, w, [&](QDialog *d) {
            auto *ostan = child<QComboBox>(d, "ostan");
            auto *city = child<QComboBox>(d, "city");
            auto *rosta = child<QComboBox>(d, "rosta");
            auto *peymankar = child<QComboBox>(d, "peymankar");
            QCOMPARE(ostan->count(), 2);
            QCOMPARE(ostan->currentText(), kProvince);
            QCOMPARE(city->count(), 2);
            QCOMPARE(child<QComboBox>(d, "z_bank")->count(), 1);
            // Picking a county lists its villages and the correspondence database's contractors.
            city->setCurrentIndex(city->findText(kCounty));
            emit city->activated(city->currentIndex());
            QCOMPARE(rosta->count(), 2);
            QCOMPARE(peymankar->count(), 2);
            QCOMPARE(peymankar->currentText(), QString());
            // Typing a province refills the counties, leaving the typed texts alone.
            ostan->setFocus();
            ostan->lineEdit()->selectAll();
            typeText(ostan->lineEdit(), "يزد");
            QCOMPARE(city->count(), 1);
            QCOMPARE(city->currentText(), kCounty);
            // Leaving the county box stores its name with the Arabic kaf.
            QVERIFY(enter(city));
            city->setEditText(QString(kCounty).replace(QChar(0x0643), QChar(0x06A9)));
            QVERIFY(enter(rosta));
            QCOMPARE(city->currentText(), kCounty);
        });
        QVERIFY(f.ui.messages.isEmpty());
        // A correspondence database that cannot be read says so; the villages are already listed.
        f.dm.ADOQ_prot->exec("drop table prot");
        w->setBoxText("ostan", kProvince);
        auto pickNatanz = [&](QDialog *d) {
            auto *city = child<QComboBox>(d, "city");
            child<QComboBox>(d, "ostan")->setEditText(kProvince);
            city->setCurrentIndex(city->findText("نطنز"));
            emit city->activated(city->currentIndex());
            QCOMPARE(child<QComboBox>(d, "rosta")->count(), 1);
        };
        drive(f, w, pickNatanz);
        QCOMPARE(f.ui.messages.size(), 1);
        f.ui.clear();
        // Without a correspondence database the village list still follows the county.
        f.dm.connectProt(DbProfile());
        QVERIFY(!f.dm.hasProt());
        drive(f, w, pickNatanz);
        QVERIFY(f.ui.messages.isEmpty());
    }
};

VARNOSET_DB_TEST_MAIN(GhirInsTest)
#include "db_ghir_ins.moc"
