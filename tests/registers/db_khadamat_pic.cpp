// The attachments of a technical-services report (stored, opened, deleted behind the delete
// password) and the attachment search with its save of every listed file.
#include "support/drive.h"
#include "support/texts.h"

#include "app/main_u.h"
#include "registers/khadamat_pic_src_u.h"
#include "registers/khadamat_pic_u.h"
#include "registers/khadamat_src_u.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>

namespace {

const QString kReportScan = QStringLiteral("تصوير گزارش");
const QString kSignature = QStringLiteral("تصوير امضاء");
const QString kEmptyDescription = QStringLiteral("خطا! ابتدا شرح ضميمه را مشخص نماييد");

qint64 addReport(Fixture &f, const QString &city)
{
    f.dm.exec(QStringLiteral("insert into khadamat (city, sal, mah) values (?,?,?)"), {city, "1405", "مهر"});
    return f.scalar(QStringLiteral("select max(id) from khadamat")).toLongLong();
}

// Opens the current report's attachments through the reports window; `steps` run while shown.
void attachments(Fixture &f, const Steps &steps)
{
    QVERIFY(f.form<Tmain>()->trigger("N19"));
    through(f, f.form<Tkhadamat_src>(), "N7", "Tkhadamat_pic", steps);
}

} // namespace

class TestKhadamatPic : public QObject {
    Q_OBJECT
private slots:
    void storeOpenAndDelete()
    {
        Fixture f(true);
        QTemporaryDir dir;
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"), {"رمز حذف", "123"});
        const qint64 report = addReport(f, "اراك");
        attachments(f, [&](QDialog *w) {
            auto *cmt = child<QComboBox>(w, "cmt");
            // No description: said, no dialog.
            click(w, "ins_btn");
            QCOMPARE(f.ui.messages, QStringList({kEmptyDescription}));
            // The signature's scan is a bitmap; cancelling the dialog stores nothing.
            cmt->setEditText(kSignature);
            click(w, "ins_btn");
            QCOMPARE(f.ui.openFilters, QStringList({"Bitmap Files(*.bpm) (*.bmp)"}));
            // A description or an extension longer than its column is refused whole, naming its
            // box and limit.
            const QString longText(101, QChar(0x0628));
            const QList<std::tuple<QString, QString, QString>> tooLong{
                {longText, "scan.jpg", texts::tooLong(longText, texts::boxName("شرح مستند"), 100)},
                {kReportScan, "scan.abcdefghij", texts::tooLong(".abcdefghij", texts::boxName("فرمت تصوير"), 10)}};
            for (const auto &[description, name, refusal] : tooLong) {
                cmt->setEditText(description);
                f.ui.openFiles << writeFile(dir.filePath(name), "JPEG-1");
                click(w, "ins_btn");
                QCOMPARE(f.ui.lastMessage(), refusal);
            }
            QCOMPARE(f.count("khadamat_pic"), qint64(0));
            // Stored with its report.
            cmt->setEditText(kReportScan);
            f.ui.openFiles << writeFile(dir.filePath("scan.jpg"), "JPEG-2");
            click(w, "ins_btn");
            QCOMPARE(f.ui.lastMessage(), texts::kInserted);
            QCOMPARE(f.ui.openFilters.last(), QString());
            QCOMPARE(f.scalar("select khadamat_id from khadamat_pic").toLongLong(), report);
            auto *grid = child<QTableView>(w, "DBGrid1");
            QCOMPARE(grid->model()->rowCount(), 1);
            // The delete password alone guards the delete.
            f.ui.inputs << "12";
            click(w, "N1");
            QCOMPARE(f.ui.lastMessage(), texts::kDeletePasswordMismatch);
            QCOMPARE(f.count("khadamat_pic"), qint64(1));
            f.ui.inputs << "123";
            click(w, "N1");
            QCOMPARE(f.ui.lastMessage(), texts::kDeleted);
            QVERIFY(f.ui.questions.isEmpty());
            QCOMPARE(f.count("khadamat_pic"), qint64(0));
            QCOMPARE(grid->model()->rowCount(), 0);
        });
        QCOMPARE(f.ui.prompts, QStringList({"Delete Password|رمز حذف|?", "Delete Password|رمز حذف|?"}));
    }

    void searchListsEveryFileAndSavesThem()
    {
        Fixture f(true);
        QTemporaryDir dir;
        const qint64 a = addReport(f, "اراك");
        const qint64 b = addReport(f, "ساوه");
        for (const auto &[owner, cmt, ext, bytes] :
             {std::tuple{a, "تصوير گزارش", ".jpg", "A"}, std::tuple{b, "تصوير گزارش", ".pdf", "B"},
              std::tuple{b, "نامه", ".png", "C"}})
            f.dm.exec("insert into khadamat_pic (khadamat_id, cmt, pictyp, pic) values (?,?,?,?)",
                      {owner, QString::fromUtf8(cmt), QString::fromLatin1(ext), QByteArray(bytes)});
        // Report b deleted: its files stay, found with an empty county.
        f.dm.exec("delete from khadamat where id=?", {b});
        QVERIFY(f.form<Tmain>()->trigger("N19"));
        through(f, f.form<Tkhadamat_src>(), "N11", "Tkhadamat_pic_src", [&](QDialog *w) {
            QCOMPARE(child<QLabel>(w, "cnt")->text(), QString());
            click(w, "BitBtn1");
            QCOMPARE(child<QLabel>(w, "cnt")->text(), "3");
            auto *rows = f.form<Tkhadamat_pic_src>()->list()->rows();
            QCOMPARE(rows->recordCount(), 3);
            QCOMPARE(rows->text("city", 0), "اراك");
            QCOMPARE(rows->text("city", 1), QString());
            // Saved in the listing's order (the numbering is the attachment list's test).
            f.ui.saveFiles << dir.filePath("rep");
            click(w, "BitBtn2");
            QCOMPARE(readFile(dir.filePath("rep3.png")), QByteArray("C"));
            // By county, a substring match.
            child<QCheckBox>(w, "CheckBox2")->click();
            child<QComboBox>(w, "city")->setEditText("راك");
            click(w, "BitBtn1");
            QCOMPARE(child<QLabel>(w, "cnt")->text(), "1");
        });
    }
};

VARNOSET_DB_TEST_MAIN(TestKhadamatPic)
#include "db_khadamat_pic.moc"
