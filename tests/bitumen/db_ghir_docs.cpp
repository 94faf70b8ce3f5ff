// The bitumen documents (one allocation and every listed one), the attachment templates'
// refusals, and the form history window's filters, order and export.
#include "support/drive.h"
#include "support/exports_read.h"
#include "support/texts.h"

#include "bitumen/ghir_history_u.h"
#include "bitumen/ghir_pic_u.h"
#include "bitumen/ghir_src_u.h"
#include "bitumen/zamaem_ghir_u.h"
#include "core/dataset.h"
#include "core/dates.h"
#include "shared/edits.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

const QString kNoDescription = QStringLiteral("خطا! شرح سند را وارد نماييد");
const QString kRepeated = QStringLiteral("شرح ضميمه تكراري است");
const QString kNoTemplateDescription = QStringLiteral("خطا، ابتدا شرح ضميمه را وارد نماييد");
const QString kJpegOnly = QStringLiteral("خطا! پسوند تصاوير نمونه امضا مي بايست با فرمت مقابل باشد JPEG ");
const QString kRavOnly = QStringLiteral("خطا! پسوند فايل گزارش مي بايست با فرمت مقابل باشد .rav ");
const QString kLoanSignature = QStringLiteral("تصوير امضاء وام");
const QString kSignaturePictures = QStringLiteral("تصوير امضاء وام بازسازي");
const QString kBarcodeReport = QStringLiteral("فايل گزارش باركد وام بازسازي");
const QString kMinutes = QStringLiteral("صورتجلسه");
// The header rows of the history's and the contractors' exports.
const QStringList kHistoryTitles = {"رديف", "شناسه", "روستا", "پيمانکار", "شناسه", "شناسه", "شرح سابقه", "تاريخ سابقه", "کاربر"};
const QStringList kContractorTitles = {"رديف", "شناسه", "پيمانکار", "نام نماينده", "نام پدر نماينده", "کد ملي نماينده", "ش شناسنامه نماينده", "محل صدور نماينده", "شماره ثبت", "کد اقتصادي", "شناسه ملي", "نام پيمانکار حمل", "کد پيمانکار حمل", "تلفن ثابت", "تلفن همراه", "ماره فکس", "آدرس", "آدرس تخليه", "کد پستي"};

class DbGhirDocs : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString &name, const QByteArray &bytes = "doc") { return writeFile(m_dir.filePath(name), bytes); }

private slots:
    // One document for the current allocation, then one for every listed allocation; the
    // grid shows the opened allocation's documents; a click saves, N1 deletes without asking.
    void documents()
    {
        Fixture f(true);
        const qint64 a = addGhir(f, {{"rosta", "ده نو"}, {"city", "سمنان"}, {"peymankar", "پيمان"}});
        const qint64 b = addGhir(f);
        const qint64 c = addGhir(f);
        makeCurrent(f, a);
        auto *w = f.form<Tghir_pic>();
        // Without the right to insert the button is not there.
        f.ui.onShow["Tghir_pic"] = [&](QDialog *d) { QVERIFY(!child<QPushButton>(d, "ins_btn")->isVisibleTo(d)); };
        w->openForCurrent({false, true, true, true});
        f.ui.onShow["Tghir_pic"] = [&](QDialog *d) {
            QVERIFY(child<QPushButton>(d, "ins_btn")->isVisibleTo(d));
            QCOMPARE(child<QLabel>(d, "name")->text(), QStringLiteral("سمنان * ده نو * پيمان"));
            click(d, "ins_btn"); // no description: refused
            QCOMPARE(f.ui.messages, QStringList{kNoDescription});
            f.ui.openFiles << file("scan.jpg");
            setBox(d, "cmt", kMinutes);
            click(d, "ins_btn");
            QCOMPARE(f.ui.messages.last(), texts::kInserted);
        };
        w->openForCurrent({true, false, true, true});
        // Every listed allocation: one row each, one message, the last allocation current.
        makeCurrent(f, b);
        f.ui.clear();
        f.ui.onShow["Tghir_pic"] = [&](QDialog *d) {
            QCOMPARE(child<QLabel>(d, "name")->text(), QString());
            setBox(d, "cmt", kMinutes);
            f.ui.openFiles << file("all.pdf", "all");
            click(d, "ins_btn");
            QCOMPARE(w->list()->rows()->recordCount(), 1); // b's own
        };
        w->openForList({true, false, true, true});
        QCOMPARE(f.ui.messages, QStringList{texts::kInserted});
        QCOMPARE(f.count("ghir_pic"), 4);
        for (qint64 id : {a, b, c})
            QCOMPARE(f.scalar("select count(*) from ghir_pic where ghir_id=? and ext='.pdf'", {id}).toLongLong(), 1);
        QCOMPARE(f.dm.ADOQ_ghir->currentRow(), f.dm.ADOQ_ghir->recordCount() - 1);
        // Save on a click (not opened), delete without question or password.
        makeCurrent(f, a);
        f.ui.clear();
        f.ui.onShow["Tghir_pic"] = [&](QDialog *d) {
            auto *grid = child<QTableView>(d, "DBGrid1");
            const DataSet *rows = w->list()->rows();
            QCOMPARE(rows->recordCount(), 2);
            f.ui.saveFiles << m_dir.filePath("saved");
            emit grid->clicked(rows->index(0, rows->fieldIndex("cmt")));
            QVERIFY(QFile::exists(m_dir.filePath("saved.jpg")));
            click(d, "N1");
            QCOMPARE(f.ui.messages, QStringList{texts::kDeleted});
            QVERIFY(f.ui.questions.isEmpty() && f.ui.prompts.isEmpty());
        };
        w->openForCurrent({true, false, true, true});
        QVERIFY(f.ui.openedFiles.isEmpty());
        QCOMPARE(f.count("ghir_pic"), 3);
        QCOMPARE(f.scalar("select count(*) from ghir_pic where ghir_id=?", {a}).toLongLong(), 1);
    }

    // The templates: a repeated description refused except the loan signature; an empty one
    // refused; the extension rules by description; the access code stored.
    void templates()
    {
        Fixture f(true);
        auto *w = f.form<Tzamaem_ghir>();
        struct Try {
            QString description;
            QString fileName;
            QStringList messages; // when refused
        };
        const QList<Try> tries{
            {QStringLiteral("آرم"), "logo.png", {}},
            {QStringLiteral("آرم"), "logo2.png", {kRepeated}},
            {kLoanSignature, "s1.jpg", {}},
            {kLoanSignature, "s2.jpg", {}},
            {QString(), "e.jpg", {kNoTemplateDescription}},
            {kSignaturePictures, "p.jpeg", {kJpegOnly}},
            {kSignaturePictures, "p.Jpg", {kJpegOnly}},
            {kSignaturePictures, "p.JPG", {}},
            {kSignaturePictures, "q.jpg", {kRepeated}},
            {kBarcodeReport, "r.txt", {kRavOnly}},
            {kBarcodeReport, "r.rav", {}},
        };
        f.ui.onShow["Tzamaem_ghir"] = [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "ramz")->text(), QString());
            for (const Try &t : tries) {
                f.ui.clear();
                const qint64 before = f.count("zamaem_ghir");
                setBox(d, "Combo_type", t.description);
                child<QLineEdit>(d, "ramz")->setText("r-" + t.fileName);
                f.ui.openFiles << file(t.fileName);
                click(d, "ins_btn");
                QVERIFY2(f.ui.openFiles.isEmpty(), qPrintable(t.fileName)); // the dialog is always shown
                QCOMPARE(f.count("zamaem_ghir"), before + (t.messages.isEmpty() ? 1 : 0));
                QCOMPARE(f.ui.messages, t.messages.isEmpty() ? QStringList{texts::kInserted} : t.messages);
            }
            QCOMPARE(w->list()->rows()->recordCount(), 5);
        };
        w->openTemplates({true, false, true, true});
        QCOMPARE(f.scalar("select ramz from zamaem_ghir where pictype='.rav'").toString(), QStringLiteral("r-r.rav"));
        // A click saves the template under its description and opens it.
        f.ui.clear();
        f.ui.onShow["Tzamaem_ghir"] = [&](QDialog *d) {
            const DataSet *rows = w->list()->rows();
            QVERIFY(w->list()->rows()->locate("pictype", ".rav"));
            f.ui.saveFiles << m_dir.filePath("barcode");
            emit child<QTableView>(d, "DBGrid1")->clicked(rows->index(rows->currentRow(), rows->fieldIndex("cmt")));
            QCOMPARE(f.ui.openedFiles, QStringList{m_dir.filePath("barcode.rav")});
        };
        w->openTemplates({false, false, false, true});
    }

    // The bitumen window's items: N14, N42 and N15 check their page, N43 stays silent without a
    // rights row and does not ask the right to open; an empty list is refused; N17 searches.
    void openers()
    {
        Fixture f(true);
        const qint64 user = f.addUser("u", "p", "ostan");
        f.signInAs(user, "u", "ostan");
        f.addCounty(user, "اراك");
        auto *src = f.form<Tghir_src>();
        src->search();
        f.ui.clear();
        src->trigger("N14");
        QCOMPARE(f.ui.messages, QStringList{texts::kEmptyList});
        makeCurrent(f, addGhir(f));
        f.ui.clear();
        for (const char *item : {"N14", "N43", "N42", "N15"})
            src->trigger(item);
        QCOMPARE(f.ui.messages, QStringList(3, texts::kNoAccess));
        QVERIFY(f.ui.shownWindows.isEmpty());
        f.grant(user, "g_pey", true, false, false, false);
        f.grant(user, "g_mostanadat", false, true, false, false);
        f.grant(user, "zamaem_ghir", false, true, true, true);
        f.ui.clear();
        bool shown = false;
        f.ui.onShow["Tghir_pic"] = [&](QDialog *d) {
            shown = true;
            QVERIFY(!child<QPushButton>(d, "ins_btn")->isEnabled());
            QVERIFY(!child<QAction>(d, "N1")->isEnabled());
        };
        src->trigger("N14");
        src->trigger("N15");
        QCOMPARE(f.ui.messages, QStringList(2, texts::kNoAccess));
        f.dm.exec("update dastrasi set namayesh=? where page_name=?", {true, "g_pey"});
        f.ui.onShow["Tpeymankar_ins"] = [&](QDialog *d) {
            QVERIFY(child<QWidget>(d, "ins_btn")->isVisibleTo(d));
            click(d, "N3"); // the contractors' export: its header row
            QCOMPARE(htmlFileRows(f.ui.openedFiles.value(0)), QList<QStringList>{kContractorTitles});
        };
        src->trigger("N15");
        src->trigger("N43");
        QVERIFY(shown);
        f.ui.onShow["Tzamaem_ghir"] = [&](QDialog *d) {
            QVERIFY(!child<QPushButton>(d, "ins_btn")->isVisibleTo(d));
            QVERIFY(child<QAction>(d, "N1")->isEnabled());
        };
        src->trigger("N42");
        src->trigger("N17");
        QCOMPARE(f.ui.shownWindows, (QStringList{"Tpeymankar_ins", "Tghir_pic", "Tzamaem_ghir", "Tghir_history"}));
        QCOMPARE(f.ui.openedFiles.size(), 1);
    }

    // The history: rows of deleted allocations neither counted nor listed; the date filter is
    // the allocation's registration date; newest day first, then contractor, then village;
    // a text filter matches inside the text; the export's cells.
    void history()
    {
        Fixture f(true);
        const qint64 a = addGhir(f, {{"peymankar", "ب"}, {"rosta", "ده ۲"}, {"reg_dat", "1402/01/01"}});
        const qint64 b = addGhir(f, {{"peymankar", "الف"}, {"rosta", "ده ۱"}, {"reg_dat", "1403/05/06"}});
        const qint64 gone = addGhir(f, {{"peymankar", "ج"}});
        const QString view = QStringLiteral("مشاهده فرم معرفي ضمانتنامه");
        const QString print = QStringLiteral("چاپ فرم تعهدنامه پيمانکار");
        const QList<std::tuple<qint64, QString, QString>> rows{
            {a, view + "12 مجموع تناژ ", "1403/05/06"}, {b, print, "1403/05/06"}, {b, view, "1403/05/07"},
            {gone, print, "1403/05/08"}, {a, print, "1402/12/29"}};
        for (const auto &[key, text, dat] : rows)
            f.dm.exec("insert into ghir_history (ghir_key, cmt, dat, karbar) values (?,?,?,?)", {key, text, dat, "u"});
        f.dm.exec("delete from ghir where id=?", {gone});
        auto *w = f.form<Tghir_history>();
        const auto listed = [&] {
            QStringList out;
            for (int r = 0; r < w->rows()->recordCount(); ++r)
                out << w->rows()->text("dat", r) + " " + w->rows()->text("peymankar", r);
            return out;
        };
        f.ui.onShow["Tghir_history"] = [&](QDialog *d) {
            QCOMPARE(child<TDateEdit>(d, "reg_dat1")->text() + child<TDateEdit>(d, "reg_dat2")->text(),
                     SolarDateText() + SolarDateText());
            QCOMPARE(listed() << child<QLabel>(d, "cnt")->text(),
                     (QStringList{"1403/05/07 الف", "1403/05/06 الف", "1403/05/06 ب", "1402/12/29 ب", "4"}));
            click(d, "CheckBox3");
            setBox(d, "cmt", QStringLiteral("فرم معرفي ضمانتنامه"));
            click(d, "BitBtn1");
            QCOMPARE(child<QLabel>(d, "cnt")->text(), "2");
            click(d, "CheckBox3");
            click(d, "CheckBox4");
            child<TDateEdit>(d, "reg_dat1")->setText("1403/05/06");
            child<TDateEdit>(d, "reg_dat2")->setText("1403/05/06");
            click(d, "BitBtn1");
            QCOMPARE(listed() << child<QLabel>(d, "cnt")->text(), (QStringList{"1403/05/07 الف", "1403/05/06 الف", "2"}));
            click(d, "N1");
        };
        w->openHistory();
        QCOMPARE(f.ui.openedFiles.size(), 1);
        const QString html = QString::fromUtf8(readFile(f.ui.openedFiles.first()));
        QVERIFY(html.contains(QStringLiteral("گزارش پروژه هاي قير")));
        // The titles, and the two listed with their number and every column, the hidden ones included.
        const QList<QStringList> exported = htmlFileRows(f.ui.openedFiles.first());
        QCOMPARE(exported.size(), 3);
        QCOMPARE(exported.first(), kHistoryTitles);
        QCOMPARE(exported.at(1).size() + exported.at(2).size(), 18);
        QCOMPARE(exported.at(2).mid(0, 4), (QStringList{"2", QString::number(b), "ده ۱", "الف"}));
    }
};

} // namespace

VARNOSET_DB_TEST_MAIN(DbGhirDocs)
#include "db_ghir_docs.moc"
