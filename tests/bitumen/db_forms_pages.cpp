// The province forms printed: each form requested from the bitumen window with a realistic
// batch, rendered to PDF and read back: its paper, its pages, no fixed text cut off, every
// village printed. VARNOSET_FORMS_PDF_DIR keeps the PDFs there.
#include "support/drive.h"
#include "support/report_support.h"

#include "bitumen/ghir_src_u.h"
#include "report/filled_report.h"

namespace {

const QString kContractor = QStringLiteral("راه و ساختمان پيشگامان توسعه البرز");

// Thirty villages of a county, no name inside another.
QStringList villages()
{
    return {"ده نو", "کرهرود", "سنجان", "ساروق", "فرمهين", "داودآباد", "مشهد ميقان", "خنجين", "ابراهيم آباد",
            "توره", "گاوخوني", "آستانه", "عنبران", "سفيدخواني", "ورچه", "جاورسيان", "خسروبيگ", "ميلاجرد",
            "آشتيان", "تفرش", "کميجان", "اسفندان", "خنداب", "جيريا", "نوبران", "قاسم آباد", "زاغه",
            "شهباز", "هزاوه", "رازقان"};
}

void setUp(Fixture &f, int count)
{
    signInWithCounty(f, "ostan");
    f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, sh_no, sodor, sabt, eghtesadi, shenase, "
                             "haml_name, haml_cod, phone, mobile, fax, adr, takhliye, zipcode) "
                             "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
              {kContractor, "محمدرضا کاظمي", "عبدالله", "4520", "اراك", "11873", "411345678912", "10103456789",
               "حمل و نقل سپهر ترابر", "88-1452", "086-32245678", "09181234567", "086-32245679",
               "اراك، خيابان شهيد بهشتي، کوچه لاله، پلاك 12، طبقه دوم",
               "کيلومتر 15 جاده اراك - خمين، کارخانه آسفالت پيشگامان", "3813745871"});
    const qint64 c = f.scalar("select max(id) from peymankaran").toLongLong();
    const QStringList names = villages();
    const double tons[] = {12, 8, 15.5, 20, 9, 11, 7, 14, 10, 6, 18, 13};
    for (int i = 0; i < count; ++i)
        addGhir(f, {{"city", i % 3 ? "اراك" : "شازند"}, {"rosta", names.at(i % names.size())},
                    {"peymankar", kContractor}, {"peymankar_id", c}, {"reg_dat", "1403/05/06"},
                    {"ghir_tahatori", tons[i % 12]}, {"bors_price", 3500000 + 250000 * (i % 4)},
                    {"prot_no", QStringLiteral("1403/ق/%1").arg(2310 + i)}, {"prot_dat", "1403/03/21"},
                    {"city_paper_no", "452/12/ش"}, {"city_paper_dat", "1403/04/20"}, {"z_no", "8802145"},
                    {"z_dat", "1403/05/01"}, {"z_bank", "بانک ملي شعبه مرکزي اراك"}, {"comp_naft_name", "منطقه اراك"},
                    {"palayeshgah_name", "امام خميني (ره) شازند"}});
    addSettings(f, {{"معاون عمران روستايي", "مهندس علي احمدي"}, {"مدير کل", "دکتر حسن کريمي"},
                    {"معاون ذيحساب", "حسين موسوي"}});
    f.form<Tghir_src>()->search();
}

} // namespace

class FormsPagesTest : public QObject {
    Q_OBJECT
private slots:
    // A batch of thirty villages (fourteen too on A5) on the form's paper: every name printed,
    // no fixed text cut off, the pages numbered, the total and the signature on the page of the
    // table's last row.
    void villagesOnEveryPage_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("paper");
        QTest::addColumn<QStringList>("lastPage"); // with the last row
        // 30 rows: twice the 12 tonnages (143.5 t) and the first six (75.5 t); 14 rows: 163.5 t.
        const QStringList guarantee{"362.5", "مهندس علي احمدي", "معاون عمران روستايي"};
        QTest::newRow("undertaking, 30") << QByteArray("N8") << 30 << "(A4)" << QStringList{"مهر و امضاء پيمانکار"};
        QTest::newRow("guarantee A5, 14") << QByteArray("A51") << 14 << "(A5)"
                                          << QStringList{"163.5", "مهندس علي احمدي", "معاون عمران روستايي"};
        QTest::newRow("guarantee A5, 30") << QByteArray("A51") << 30 << "(A5)" << guarantee;
        QTest::newRow("guarantee A4, 30") << QByteArray("N9") << 30 << "(A4)" << guarantee;
        QTest::newRow("oil company letter, 30") << QByteArray("N44") << 30 << "(A4)"
                                                << QStringList{"حسين موسوي", "مدير کل", "رونوشت:"};
    }
    void villagesOnEveryPage()
    {
        QFETCH(QByteArray, item);
        QFETCH(int, count);
        QFETCH(QString, paper);
        QFETCH(QStringList, lastPage);
        Fixture f(true);
        setUp(f, count);
        const report::FilledReport &r = chooseForm(f, item.constData(), {"1403/05/10", "10"});
        const QString pdf = keptPdf(r);
        const QString text = pdfText(pdf);
        QVERIFY2(pdfInfo(pdf).contains(paper), qPrintable(pdfInfo(pdf)));
        QCOMPARE(missingFixedTexts(r, text), QStringList());
        for (const QString &village : villages().mid(0, count))
            QVERIFY2(containsText(text, village), qPrintable(village));
        const int pages = pdfPageCount(pdf);
        const QString last = pdfText(pdf, pages);
        if (item != "N8")
            QVERIFY2(containsText(last, villages().at(count - 1)), "the last row");
        for (const QString &s : lastPage)
            QVERIFY2(containsText(last, s), qPrintable(s));
        for (int p = 1; p <= pages && pages > 1; ++p)
            QVERIFY2(containsText(pdfText(pdf, p), QStringLiteral("صفحه %1 از %2").arg(p).arg(pages)), qPrintable(pdfText(pdf, p)));
    }

    // The sample data's filled contractor with a batch a newcomer would register: the letters
    // name it once after their own "شرکت" and leave no gap in its sentences.
    void sampleDataLettersReadAsRealOnes()
    {
        Fixture f(true);
        f.loadSample();
        const qint64 user = f.scalar("select id from karbaran where karbar=?", {"2280000016"}).toLongLong();
        f.signInAs(user, "2280000016", "ostan");
        const QVariant c = f.scalar("select id from peymankaran where nation=?", {"4270112233"});
        const QString name = f.scalar("select peymankar from peymankaran where id=?", {c}).toString();
        int i = 0;
        for (const char *village : {"سهرين", "قره بوته", "حصار"})
            addGhir(f, {{"ostan", "زنجان"}, {"city", i < 2 ? "زنجان" : "ابهر"}, {"rosta", village}, {"peymankar", name},
                        {"peymankar_id", c}, {"reg_dat", "1405/02/19"}, {"ghir_tahatori", 40 + 10 * i},
                        {"bors_price", 52000000}, {"prot_no", "1405/2/101"}, {"prot_dat", "1405/02/14"},
                        {"city_paper_no", QStringLiteral("ش/%1").arg(2310 + i++)}, {"city_paper_dat", "1405/02/10"},
                        {"z_no", "ض/58741"}, {"z_dat", "1405/02/16"}, {"z_bank", "بانک ملي شعبه سعدي زنجان"},
                        {"comp_naft_name", "منطقه زنجان"}, {"palayeshgah_name", "تبريز"}});
        f.form<Tghir_src>()->search();
        for (const char *item : {"N8", "A51", "N9", "N44"}) {
            const QString text = pdfText(keptPdf(chooseForm(f, item)));
            QVERIFY2(containsText(text, name) && !containsText(text, "شرکت شرکت"), item);
            if (qstrcmp(item, "N8") == 0 || qstrcmp(item, "N44") == 0)
                QVERIFY2(!text.contains("....."), qPrintable(text));
        }
    }
};

VARNOSET_DB_TEST_MAIN(FormsPagesTest)
#include "db_forms_pages.moc"
