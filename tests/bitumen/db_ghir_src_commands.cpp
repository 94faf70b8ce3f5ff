// The bitumen window's commands that open the entry forms and the contractors register:
// what they put into the forms, and that the list follows what the forms stored.
#include "support/fixture.h"
#include "ghir_rows.h"

#include "bitumen/ghir_ins2_u.h"
#include "bitumen/ghir_ins_u.h"
#include "bitumen/ghir_src_u.h"
#include "shared/dates.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace {

Tghir_src *window(Fixture &f) { return f.form<Tghir_src>(); }
void trigger(Fixture &f, const char *name) { child<QAction>(window(f), QLatin1String(name))->trigger(); }
void search(Fixture &f) { child<QPushButton>(window(f), QStringLiteral("src_btn"))->click(); }

void addPlace(Fixture &f, const QString &ostan, const QString &county)
{
    f.dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, rosta) values (?,?,?,?)"),
              {ostan, county, county, QStringLiteral("روستا")});
}

QVariantMap fullRow()
{
    return {{"ostan", "مرکزي"}, {"city", "اراك"}, {"rosta", "نوبران"}, {"prj_typ", "آسفالت"}, {"prot_no", "101"},
            {"prot_dat", "1403/01/05"}, {"peymankar", "بهار"}, {"prot_mablagh", 1250000}, {"city_paper_no", "55"},
            {"city_paper_dat", "1403/01/02"}, {"tafahomname_dat", "1403/01/03"}, {"prj_area", 100}, {"tonaj", 11.65},
            {"zekhamat", "5"}, {"bors_price", 2000000}, {"ghir_masrafi", "0.699"}, {"ghir_tahatori", 10},
            {"tozi_dat", "1403/01/04"}, {"z_no", "Z1"}, {"z_dat", "1403/01/06"}, {"z_bank", "ملي"},
            {"z_typ", "بانكي"}, {"z_mablagh", 5000000}, {"taahod_dat", "1403/01/07"}, {"moarefi_dat", "1403/01/08"},
            {"moarefi_no", "M1"}, {"sorat_no", "S1"}, {"sorat_dat", "1403/01/09"}, {"ghir_daryafti", "900"},
            {"peymankar_id", 7}, {"reg_dat", "1403/01/01"}, {"tehran_paper_no", "T1"}, {"prot_no_ejra", "E1"},
            {"prot_dat_ejra", "1403/01/10"}, {"prot_mablagh_ejra", 300000}, {"pishraft", 40}, {"sal", "1403"},
            {"comp_naft_name", "پاسارگاد"}, {"palayeshgah_name", "نفت تهران"}, {"ghir_tagh_tah", 6},
            {"khodyari", 0}, {"dehyari", 0}, {"tolemasir", 0}, {"jalase_no", 3}, {"jalase_dat", "1403/06/01"},
            {"az_name", "آزمايشگاه فني"}, {"rep_no", "R1"}, {"rep_dat", "1403/05/30"}, {"sorat_area", 1000},
            {"zekhamat_m", "5"}, {"vazn", "2.3"}, {"ghir_masrafi_m", "5"}, {"ghir_prim", "0.8"}, {"bors_m", 2100000},
            {"asfalt_price", 150000000}, {"ghir_tahvili", "9"}, {"ghir60", "5.75"}, {"ghir_m_p", "0.8"},
            {"ghir_jam", "6.55"}, {"ghir_t", "1"}, {"zarib", "1"}, {"asfalt_ejra", "115"}, {"ghir_moadel", 900},
            {"status", ""}, {"cmt", "ملاحظه"}, {"mokhtasat", "معبر اصلي"}, {"xs", "1"}, {"xe", "2"}, {"ys", "3"},
            {"ye", "4"}, {"sorat_area_f", 0}, {"zekhamat_m_f", ""}, {"tarakom", 100}};
}

} // namespace

class GhirSrcCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void newAllocationPreparesAnEmptyForm()
    {
        Fixture f(true);
        auto *form = f.form<Tghir_ins>();
        for (const QString &c : Tghir_ins::columns())
            form->setBoxText(c, QStringLiteral("12"));
        form->setInsertMode(false);
        QHash<QString, QString> seen;
        bool insertMode = false;
        f.ui.onShow[QStringLiteral("Tghir_ins")] = [&](QDialog *) {
            for (const QString &c : Tghir_ins::columns())
                seen.insert(c.toLower(), form->boxText(c));
            insertMode = form->isInsertMode();
        };
        trigger(f, "N1");
        QCOMPARE(f.ui.shownWindows, QStringList({"Tghir_ins"}));
        QVERIFY(insertMode);
        const QString today = SolarDateText();
        QCOMPARE(seen.value("reg_dat"), today);
        QCOMPARE(seen.value("sal"), today.left(2) + QStringLiteral("  "));
        QCOMPARE(seen.value("peymankar_id"), QStringLiteral("-1"));
        for (const char *c : {"prot_mablagh", "bors_price", "ghir_daryafti", "prot_mablagh_ejra", "pishraft",
                              "khodyari", "dehyari", "tolemasir"})
            QCOMPARE(seen.value(QLatin1String(c)), QStringLiteral("0"));
        for (const char *c : {"ostan", "city", "rosta", "prot_no", "peymankar", "z_no", "ghir_tagh_tah"})
            QCOMPARE(seen.value(QLatin1String(c)), QString());
        for (const char *c : {"prot_dat", "tozi_dat", "sorat_dat"})
            QCOMPARE(seen.value(QLatin1String(c)), QStringLiteral("    /  /  "));
        QCOMPARE(seen.size(), 43);
    }

    void editLoadsTheCurrentAllocationAndTwoEditsKeepBoth()
    {
        Fixture f(true);
        addPlace(f, QStringLiteral("مرکزي"), QStringLiteral("اراك"));
        QVariantMap other = fullRow();
        other.insert("peymankar", "آرش");
        other.insert("rosta", "ديگر");
        const qint64 first = ghir_rows::add(f, other);
        const qint64 id = ghir_rows::add(f, fullRow());
        search(f);
        DataSet *ds = f.dm.ADOQ_ghir;
        QVERIFY(ds->locate(QStringLiteral("id"), id));
        QCOMPARE(ds->currentRow(), 1);
        auto *form = f.form<Tghir_ins>();

        QHash<QString, QString> loaded;
        bool insertMode = true;
        f.ui.onShow[QStringLiteral("Tghir_ins")] = [&](QDialog *d) {
            for (const QString &c : Tghir_ins::columns())
                loaded.insert(c.toLower(), form->boxText(c));
            insertMode = form->isInsertMode();
            child<QLineEdit>(d, QStringLiteral("prot_no"))->setText(QStringLiteral("P-1"));
            // The contractor's name moves the allocation to the head of the list.
            form->setBoxText(QStringLiteral("peymankar"), QStringLiteral("آ"));
            child<QPushButton>(d, QStringLiteral("edit_btn"))->click();
        };
        trigger(f, "N2");
        QVERIFY(!insertMode);
        QCOMPARE(loaded.size(), 43);
        QCOMPARE(loaded.value("ostan"), QStringLiteral("مرکزي"));
        QCOMPARE(loaded.value("prot_no"), QStringLiteral("101"));
        QCOMPARE(loaded.value("prot_dat"), QStringLiteral("1403/01/05"));
        QCOMPARE(loaded.value("prot_mablagh"), QStringLiteral("1,250,000"));
        QCOMPARE(loaded.value("tonaj"), QStringLiteral("11.65"));
        QCOMPARE(loaded.value("peymankar_id"), QStringLiteral("7"));
        QCOMPARE(loaded.value("pishraft"), QStringLiteral("40"));
        QCOMPARE(loaded.value("sal"), QStringLiteral("1403"));
        QCOMPARE(loaded.value("palayeshgah_name"), QStringLiteral("نفت تهران"));
        // The same allocation is current, now at the head of the list.
        QCOMPARE(ds->text(QStringLiteral("id")), QString::number(id));
        QCOMPARE(ds->currentRow(), 0);
        QCOMPARE(ds->text(QStringLiteral("prot_no")), QStringLiteral("P-1"));

        f.ui.onShow[QStringLiteral("Tghir_ins")] = [&](QDialog *d) {
            loaded.insert("prot_no", form->boxText(QStringLiteral("prot_no")));
            child<QLineEdit>(d, QStringLiteral("z_no"))->setText(QStringLiteral("Z-2"));
            child<QPushButton>(d, QStringLiteral("edit_btn"))->click();
        };
        trigger(f, "N2");
        QCOMPARE(loaded.value("prot_no"), QStringLiteral("P-1"));
        QCOMPARE(f.scalar(QStringLiteral("select prot_no from ghir where id=?"), {id}).toString(), QStringLiteral("P-1"));
        QCOMPARE(f.scalar(QStringLiteral("select z_no from ghir where id=?"), {id}).toString(), QStringLiteral("Z-2"));
        QCOMPARE(f.scalar(QStringLiteral("select peymankar from ghir where id=?"), {id}).toString(), QStringLiteral("آ"));
        // The other allocation is untouched.
        QCOMPARE(f.scalar(QStringLiteral("select prot_no from ghir where id=?"), {first}).toString(), QStringLiteral("101"));
        QCOMPARE(f.scalar(QStringLiteral("select z_no from ghir where id=?"), {first}).toString(), QStringLiteral("Z1"));
    }

    void complementaryDataThenEditKeepsBoth()
    {
        Fixture f(true);
        addPlace(f, QStringLiteral("مرکزي"), QStringLiteral("اراك"));
        const qint64 id = ghir_rows::add(f, fullRow());
        search(f);
        DataSet *ds = f.dm.ADOQ_ghir;
        QCOMPARE(ds->text(QStringLiteral("mande")), QStringLiteral("-2.45")); // 6.55 + 1 - 10
        auto *form2 = f.form<Tghir_ins2>();
        QHash<QString, QString> loaded;
        f.ui.onShow[QStringLiteral("Tghir_ins2")] = [&](QDialog *d) {
            for (const QString &c : Tghir_ins2::columns())
                loaded.insert(c.toLower(), form2->boxText(c));
            child<QLineEdit>(d, QStringLiteral("ghir_jam"))->setText(QStringLiteral("12.5"));
            child<QLineEdit>(d, QStringLiteral("ghir_t"))->setText(QStringLiteral("3"));
            child<QPushButton>(d, QStringLiteral("BitBtn1"))->click();
            d->reject();
        };
        trigger(f, "N13");
        QCOMPARE(loaded.size(), 30);
        QCOMPARE(loaded.value("jalase_no"), QStringLiteral("3"));
        QCOMPARE(loaded.value("jalase_dat"), QStringLiteral("1403/06/01"));
        QCOMPARE(loaded.value("az_name"), QStringLiteral("آزمايشگاه فني"));
        QCOMPARE(loaded.value("bors_m"), QStringLiteral("2,100,000"));
        QCOMPARE(loaded.value("asfalt_ejra"), QStringLiteral("115"));
        QCOMPARE(loaded.value("xs"), QStringLiteral("1"));
        QCOMPARE(loaded.value("ye"), QStringLiteral("4"));
        QCOMPARE(f.ui.messages, QStringList({Tghir_ins2::kSaved}));
        // The list shows what was stored: mande = 12.5 + 3 - 10.
        QCOMPARE(ds->text(QStringLiteral("mande")), QStringLiteral("5.5"));
        QCOMPARE(ds->text(QStringLiteral("id")), QString::number(id));

        // The edit writes its own columns and leaves the complementary ones as stored.
        f.ui.onShow[QStringLiteral("Tghir_ins")] = [&](QDialog *d) {
            child<QLineEdit>(d, QStringLiteral("prot_no"))->setText(QStringLiteral("P-9"));
            child<QPushButton>(d, QStringLiteral("edit_btn"))->click();
        };
        trigger(f, "N2");
        QCOMPARE(f.scalar(QStringLiteral("select ghir_jam from ghir where id=?"), {id}).toString(), QStringLiteral("12.5"));
        QCOMPARE(f.scalar(QStringLiteral("select prot_no from ghir where id=?"), {id}).toString(), QStringLiteral("P-9"));
        // A second complementary edit starts from the stored values.
        f.ui.onShow[QStringLiteral("Tghir_ins2")] = [&](QDialog *d) {
            loaded.insert("ghir_jam", form2->boxText(QStringLiteral("ghir_jam")));
            d->reject();
        };
        trigger(f, "N13");
        QCOMPARE(loaded.value("ghir_jam"), QStringLiteral("12.5"));
    }

    void registerAgainCopiesAndKeepsTheFormsProvince()
    {
        Fixture f(true);
        QVariantMap qom = fullRow();
        qom.insert("ostan", "قم");
        qom.insert("city", "قم");
        qom.insert("peymankar", "آرش");
        qom.insert("comp_naft_name", "جي");
        qom.insert("khodyari", 77);
        const qint64 q = ghir_rows::add(f, qom);
        const qint64 m = ghir_rows::add(f, fullRow());
        search(f);
        DataSet *ds = f.dm.ADOQ_ghir;
        // The form last showed the allocation of Qom.
        QVERIFY(ds->locate(QStringLiteral("id"), q));
        f.ui.onShow[QStringLiteral("Tghir_ins")] = [](QDialog *d) { d->reject(); };
        trigger(f, "N2");
        auto *form = f.form<Tghir_ins>();
        QCOMPARE(form->boxText(QStringLiteral("ostan")), QStringLiteral("قم"));

        QVERIFY(ds->locate(QStringLiteral("id"), m));
        bool insertMode = false;
        QHash<QString, QString> seen;
        f.ui.onShow[QStringLiteral("Tghir_ins")] = [&](QDialog *d) {
            for (const QString &c : Tghir_ins::columns())
                seen.insert(c.toLower(), form->boxText(c));
            insertMode = form->isInsertMode();
            d->reject();
        };
        trigger(f, "N22");
        QVERIFY(insertMode);
        QCOMPARE(seen.value("reg_dat"), SolarDateText());
        QCOMPARE(seen.value("city"), QStringLiteral("اراك"));
        QCOMPARE(seen.value("peymankar"), QStringLiteral("بهار"));
        QCOMPARE(seen.value("prot_no"), QStringLiteral("101"));
        QCOMPARE(seen.value("peymankar_id"), QStringLiteral("7"));
        QCOMPARE(seen.value("sal"), QStringLiteral("1403"));
        // Not copied: what the form showed last.
        QCOMPARE(seen.value("ostan"), QStringLiteral("قم"));
        QCOMPARE(seen.value("comp_naft_name"), QStringLiteral("جي"));
        QCOMPARE(seen.value("khodyari"), QStringLiteral("77"));
        QCOMPARE(f.count(QStringLiteral("ghir")), qint64(2));
    }

    void contractorsRegisterByItsPage()
    {
        Fixture f(true);
        const qint64 u = f.addUser(QStringLiteral("2280000011"), QStringLiteral("p"), QStringLiteral("ostan"));
        f.signInAs(u, QStringLiteral("2280000011"), QStringLiteral("ostan"));
        trigger(f, "N15");
        QCOMPARE(f.ui.messages, QStringList({kNoAccessMessage}));
        QVERIFY(f.ui.shownWindows.isEmpty());
        f.grant(u, QStringLiteral("g_pey"), true, false, false, false);
        trigger(f, "N15");
        QCOMPARE(f.ui.messages.size(), 2);
        QVERIFY(f.ui.shownWindows.isEmpty());
        f.dm.exec(QStringLiteral("update dastrasi set namayesh=? where prs_id=?"), {true, u});
        bool insertVisible = false;
        f.ui.onShow[QStringLiteral("Tpeymankar_ins")] = [&](QDialog *d) {
            insertVisible = child<QPushButton>(d, QStringLiteral("ins_btn"))->isVisibleTo(d);
        };
        trigger(f, "N15");
        QCOMPARE(f.ui.shownWindows, QStringList({"Tpeymankar_ins"}));
        QVERIFY(insertVisible);
        QCOMPARE(f.ui.messages.size(), 2);
    }
};

VARNOSET_DB_TEST_MAIN(GhirSrcCommandsTest)
#include "db_ghir_src_commands.moc"
