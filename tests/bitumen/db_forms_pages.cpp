// The province forms printed: each form requested from the bitumen window with a realistic
// batch, rendered to PDF and read back: page size, one page, the letter's fixed texts in their
// order and the filled values in their sentences. VARNOSET_FORMS_PDF_DIR keeps the PDFs there.
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

// The report of one menu item, rendered to PDF.
QString print(Fixture &f, const char *item, const QStringList &answers, report::FilledReport *out = nullptr)
{
    const report::FilledReport &r = chooseForm(f, item, answers);
    if (out)
        *out = r;
    return keptPdf(r);
}

} // namespace

class FormsPagesTest : public QObject {
    Q_OBJECT
private slots:
    // Each form of a realistic batch on one page of its paper: its sentences whole and in
    // order with the values filled into them.
    void formsPrintOnOnePage_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("villages");
        QTest::addColumn<QString>("paper");
        QTest::addColumn<QStringList>("inOrder");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("undertaking") << QByteArray("N8") << QStringList{"1403/05/10", "11"} << 4 << "(A4)"
                << QStringList{"تعهدنامه پيمانکار در خصوص دريافت، ذخيره، حمل و مصرف صحيح قير تحويلي", "بسمه تعالي",
                               "تعهدنامه پيمانکار اجراي طرح هادي روستايي", "در خصوص قير تحويلي پروژه (ها)",
                               "اينجانب محمدرضا کاظمي فرزند عبدالله شماره شناسنامه", "صادره از اراك نماينده پيمانکار",
                               kContractor, "که طي نامه معرفي نامه شماره",
                               "به عنوان پيمانکار اجراي طرح هادي روستا/روستاهاي", "ده نو * کرهرود * سنجان * ساروق",
                               "و دريافت کننده قير پروژه/پروژه هاي مذکور معرفي گرديده ام، ضمن پذيرش تمامي مسئوليتهاي قانوني و حقوقي ناشي از قصور",
                               "پايان مصرف و اتمام عمليات اجرايي اقدام کرده و از هرگونه تخلف و سوء استفاده احتمالي جلوگيري نمايم، در غير اينصورت کارفرما",
                               "محق خواهد بود از محل ضمانتنامه اينجانب به شماره 8802145 عهده بانک بانک ملي شعبه مرکزي اراك نسبت به",
                               "جبران ضرر و زيان وارده اقدام نمايد.", "نشاني پيمانکار:",
                               "نشاني کارخانه آسفالت-محل تخليه:", "شماره تلفن ثابت: 086-32245678",
                               "شماره تلفن همراه: 09181234567", "مهر و امضاء پيمانکار"}
                << QStringList{"1403/05/10", "1403/04/20"}
                << QStringList();
        // 12 + 8 + 15.5 + 20 + 9 = 64.5 t; guarantees 12 x 3,500,000, 8 x 3,750,000,
        // 15.5 x 4,000,000, 20 x 4,250,000, 9 x 3,500,000, each x 1.2: 50,400,000 + 36,000,000
        // + 74,400,000 + 102,000,000 + 37,800,000 = 300,600,000.
        QTest::newRow("guarantee A4") << QByteArray("N9") << QStringList() << 5 << "(A4)"
                << QStringList{"بسمه تعالي", "معرفي نامه جهت اخذ ضمانتنامه", "ذيحساب محترم Varnoset Qelmarin", "با سلام",
                               "احتراما در راستاي اجراي ماده 6 دستورالعمل اجرايي توزيع قير رايگان، خواهشمند است نسبت به معرفي شرکت",
                               kContractor, "به منظور دريافت ضمانتنامه", "بانکي/معتبر",
                               "به مبلغ ذيل اقدام لازم معمول گردد.", "102,000,000", "64.5", "300,600,000",
                               "*اعتبار معرفي نامه فوق 10 روز پس از تاريخ صدور مي باشد.",
                               "*در صورت افزايش قيمت قير در بورس مبلغ ضمانتنامه افزايش مي يابد.", "مهندس علي احمدي",
                               "معاون عمران روستايي"}
                << QStringList{"رديف", "قيمت بورس", "ضريب افزايش", "مبلغ ضمانتنامه", "4,250,000", "1.2"}
                << QStringList();
        QTest::newRow("guarantee A5") << QByteArray("A51") << QStringList() << 4 << "(A5)"
                << QStringList{"بسمه تعالي", "معرفي نامه جهت اخذ ضمانتنامه", "ذيحساب محترم Varnoset Qelmarin", "با سلام",
                               "احتراما در راستاي اجراي ماده 6 دستورالعمل اجرايي توزيع قير رايگان، خواهشمند ",
                               "است نسبت به معرفي شرکت", kContractor, "به منظور دريافت ضمانتنامه", "بانکي/معتبر",
                               "اقدام لازم معمول گردد.", "55.5",
                               "*اعتبار معرفي نامه فوق 10 روز پس از تاريخ صدور مي باشد.", "مهندس علي احمدي",
                               "معاون عمران روستايي"}
                << QStringList()
                << QStringList{"*در صورت افزايش قيمت قير در بورس مبلغ ضمانتنامه افزايش مي يابد."};
        // 12 + 8 + 15.5 + 20 + 9 + 11 = 75.5 t: no words for a fractional total; 20 t has its words.
        QTest::newRow("oil company letter") << QByteArray("N44") << QStringList{"1403/521", "1403/05/12"} << 6 << "(A4)"
                << QStringList{"بسمه تعالي", "معرفي نامه", "مديريت محترم فروش شرکت نفت منطقه اراك", "با سلام",
                               " يافته به پالايشگاه، بدينوسيله آقاي محمدرضا کاظمي به نمايندگي از شرکت", kContractor,
                               "به شماره ثبت 11873",
                               "به عنوان پيمانکار اجراي طرح هادي اين Varnoset با کد اقتصادي 411345678912 و شناسه ملي 10103456789",
                               // no words for a fractional total: a dotted gap to write them in
                               "جهت تحويل مقدار 75.5 تن معادل", "......", "قير از محل سهميه اختصاص يافته از پالايشگاه",
                               "امام خميني (ره) شازند", " مدت اعتبار اين معرفي نامه 15-پانزده",
                               "شماره و تاريخ ضمانتنامه اخذ شده از پيمانکار:", "اطلاعات تماس پيمانکار مجري",
                               "تلفن ثابت: 086-32245678", "معاون ذيحساب", "رونوشت:", "2- معاون ذيحسابي",
                               "3- معاون عمران روستايي", "4- امور قراردادها و کنترل پروژه", "5- اداره حراست",
                               "اراك جهت اطلاع", "7- شرکت محترم", kContractor}
                << QStringList{"نام پيمانکار", "نام پروژه", "قرارداد", "نوع قير", "تناژ", "حروف", "پيمانکار حمل", "60-70", "پانزده",
                               "1403/521", "1403/05/12", "88-1452", "حمل و نقل سپهر ترابر", "2315", "8802145",
                               "1403/05/01", "3813745871", "دکتر حسن کريمي", "حسين موسوي"}
                << QStringList();
        QTest::newRow("letter of a whole total") << QByteArray("N44") << QStringList() << 2 << "(A4)"
                << QStringList{"جهت تحويل مقدار 20 تن معادل بيست تن"}
                << QStringList()
                << QStringList();
    }
    void formsPrintOnOnePage()
    {
        QFETCH(QByteArray, item);
        QFETCH(QStringList, answers);
        QFETCH(int, villages);
        QFETCH(QString, paper);
        QFETCH(QStringList, inOrder);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        Fixture f(true);
        setUp(f, villages);
        const QString pdf = print(f, item.constData(), answers);
        QVERIFY2(pdfInfo(pdf).contains(paper), qPrintable(pdfInfo(pdf)));
        QCOMPARE(pdfPageCount(pdf), 1);
        const QString text = pdfText(pdf);
        expectInOrder(text, inOrder);
        for (const QString &s : present)
            QVERIFY2(containsText(text, s), qPrintable(s));
        for (const QString &s : absent)
            QVERIFY2(!containsText(text, s), qPrintable(s));
    }

    // A long batch: the table flows onto a second page with its heading; the copy list closes
    // the letter once.
    void oilCompanyLetterOverPages()
    {
        Fixture f(true);
        setUp(f, 40);
        const QString pdf = print(f, "N44", {});
        const int pages = pdfPageCount(pdf);
        QVERIFY(pages >= 2);
        // The rows' heading on every page of rows; the last row stands with the total and the
        // copy list on the last page.
        for (int p = 1; p <= pages; ++p)
            QVERIFY(containsText(pdfText(pdf, p), "پيمانکار حمل"));
        QVERIFY(containsText(pdfText(pdf, pages), QStringLiteral("1403/ق/2349").right(4)));
        QVERIFY(containsText(pdfText(pdf, pages), "رونوشت:"));
        QVERIFY(!containsText(pdfText(pdf, 1), "5- اداره حراست"));
    }

    // A batch of thirty villages on every letter: every name printed, the letters of more than
    // one page numbered, the total and the signature on the page of the table's last row.
    void thirtyVillagesOnEveryPage_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("lastPage"); // with the last row
        // 30 rows: twice the 12 tonnages (143.5 t) and the first six (75.5 t); 14 rows: 163.5 t.
        QTest::newRow("undertaking") << QByteArray("N8") << 30 << QStringList{"مهر و امضاء پيمانکار"};
        QTest::newRow("guarantee A5") << QByteArray("A51") << 30 << QStringList{"362.5", "مهندس علي احمدي", "معاون عمران روستايي"};
        QTest::newRow("guarantee A5, 14") << QByteArray("A51") << 14 << QStringList{"163.5", "مهندس علي احمدي", "معاون عمران روستايي"};
        QTest::newRow("guarantee A4") << QByteArray("N9") << 30 << QStringList{"362.5", "مهندس علي احمدي", "معاون عمران روستايي"};
        QTest::newRow("oil company letter") << QByteArray("N44") << 30 << QStringList{"اطلاعات تماس پيمانکار مجري", "حسين موسوي", "مدير کل", "رونوشت:"};
    }
    void thirtyVillagesOnEveryPage()
    {
        QFETCH(QByteArray, item);
        QFETCH(int, count);
        QFETCH(QStringList, lastPage);
        Fixture f(true);
        setUp(f, count);
        const QString pdf = print(f, item.constData(), {"1403/05/10", "10"});
        const QString text = pdfText(pdf);
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

    // The words of a row are those of its figure: none for 15.5 t (not "شانزده", 16).
    void fractionalRowHasNoWords()
    {
        Fixture f(true);
        setUp(f, 3);
        report::FilledReport r;
        const QString text = pdfText(print(f, "N44", {}, &r));
        QCOMPARE(r.cell(2, "ghir_tahatori"), "15.5");
        QCOMPARE(r.cell(2, "ghir_tahatoriHOROF"), QString());
        QVERIFY(containsText(text, "دوازده") && containsText(text, "هشت"));
        QVERIFY(!containsText(text, "شانزده"));
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
            const QString text = pdfText(print(f, item, {}));
            QVERIFY2(containsText(text, name) && !containsText(text, "شرکت شرکت"), item);
            if (qstrcmp(item, "N8") == 0 || qstrcmp(item, "N44") == 0)
                QVERIFY2(!text.contains("....."), qPrintable(text));
        }
    }
};

VARNOSET_DB_TEST_MAIN(FormsPagesTest)
#include "db_forms_pages.moc"
