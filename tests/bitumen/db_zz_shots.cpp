// Throwaway: photographs of the bitumen windows (not part of the suite).
#include "support/drive.h"
#include "app/startup.h"
#include "bitumen/ghir_src_u.h"
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QInputDialog>
#include <QTableView>
#include <QTimer>

class Shots : public QObject {
    Q_OBJECT
private slots:
    void shots()
    {
        installQtTranslations();
        const QString dir = qEnvironmentVariable("SHOTS", "/tmp/finish/shots");
        Fixture f(true);
        f.loadSample();
        const qint64 user = f.scalar("select id from karbaran where karbar=?", {"2280000016"}).toLongLong();
        f.signInAs(user, "2280000016", "ostan");
        const QVariant c = f.scalar("select id from peymankaran where nation=?", {"4270112233"});
        const QString name = f.scalar("select peymankar from peymankaran where id=?", {c}).toString();
        int i = 0;
        for (const char *village : {"سهرين", "قره بوته", "حصار", "صائين قلعه", "سجاس", "كهلا"}) {
            addGhir(f, {{"ostan", "زنجان"}, {"city", i < 2 ? "زنجان" : "ابهر"}, {"rosta", village}, {"peymankar", name},
                        {"peymankar_id", c}, {"reg_dat", "1405/02/19"}, {"ghir_tahatori", i == 2 ? 15.5 : 40.0 + 10 * i},
                        {"bors_price", 52000000}, {"prot_no", "1405/2/101"}, {"prot_dat", "1405/02/14"},
                        {"prot_mablagh", 18500000000LL}, {"prot_mablagh_ejra", 9740000000LL}, {"asfalt_ejra", "2.748"},
                        {"ghir_jam", "41.3"}, {"ghir_t", "3"},
                        {"jalase_dat", i % 2 ? "1405/03/01" : "    /  /  "},
                        {"city_paper_no", QStringLiteral("ش/%1").arg(2310 + i++)}, {"city_paper_dat", "1405/02/10"},
                        {"z_no", "ض/58741"}, {"z_dat", "1405/02/16"}, {"z_bank", "بانک ملي شعبه سعدي زنجان"},
                        {"comp_naft_name", "منطقه زنجان"}, {"palayeshgah_name", "تبريز"}});
        }
        auto *src = f.form<Tghir_src>();
        drive(f, src, [&](QDialog *d) {
            d->resize(1280, 720);
            src->search();
            QApplication::processEvents();
            d->grab().save(dir + "/ghir_src.png");
            f.dm.ADOQ_ghir->setCurrentRow(1);
            QApplication::processEvents();
            d->grab().save(dir + "/ghir_src_row1.png");
            auto *tbl = d->findChild<QTableView *>("DBGrid1");
            tbl->horizontalScrollBar();
            for (QCheckBox *cb : d->findChildren<QCheckBox *>())
                if (cb->objectName() == "CheckBox2" || cb->objectName().startsWith("show_list"))
                    cb->click();
            QApplication::processEvents();
            d->grab().save(dir + "/ghir_src_lists.png");
            through(f, d, "N2", "Tghir_ins", [&](QDialog *w) { w->adjustSize(); QApplication::processEvents(); w->grab().save(dir + "/ghir_ins_edit.png"); });
            through(f, d, "N13", "Tghir_ins2", [&](QDialog *w) { QApplication::processEvents(); w->grab().save(dir + "/ghir_ins2.png"); });
            const QVariant gid = f.dm.ADOQ_ghir->value("id");
            f.dm.exec("insert into ghir_pic (ext, pic, cmt, ghir_id) values (?,?,?,?)", {".jpg", QByteArray("x"), "نقشه مسير", gid});
            f.dm.exec("insert into ghir_pic (ext, pic, cmt, ghir_id) values (?,?,?,?)", {".pdf", QByteArray("x"), "صورتجلسه", gid});
            through(f, d, "N14", "Tghir_pic", [&](QDialog *w) { w->resize(700, 400); QApplication::processEvents(); w->grab().save(dir + "/ghir_pic.png"); });
            through(f, d, "N15", "Tpeymankar_ins", [&](QDialog *w) { w->resize(1000, 500);
                for (const char *b : {"peymankar", "nation", "sh_no", "phone", "adr", "zipcode"})
                    w->findChild<QLineEdit *>(b)->setText(f.scalar(QStringLiteral("select %1 from peymankaran where id=?").arg(b), {c}).toString());
                QApplication::processEvents(); w->grab().save(dir + "/peymankar_ins.png"); });
        });
        QMessageBox box(QMessageBox::Question, "پرسش", "آيا مي خواهيد ادامه دهيد؟", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setLayoutDirection(Qt::RightToLeft);
        box.show();
        QApplication::processEvents();
        box.grab().save(dir + "/msgbox.png");
        QInputDialog in;
        in.setLayoutDirection(Qt::RightToLeft);
        in.setLabelText("تاريخ تعهدنامه");
        in.setTextValue("1405/02/19");
        in.show();
        QApplication::processEvents();
        in.grab().save(dir + "/input.png");
    }
};
VARNOSET_DB_TEST_MAIN(Shots)
#include "db_zz_shots.moc"
