// The bitumen forms printed: each requested from the bitumen window for a realistic batch,
// rendered to PDF and read back: its paper, its pages, no fixed text cut off, every village, its
// values in the order of their sentences. VARNOSET_FORMS_PDF_DIR keeps the PDFs there.
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
    const double tons[] = {12, 8, 16, 20, 9, 11, 7, 14, 10, 6, 18, 13};
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

const QString kLetterContractor = QStringLiteral("شرکت راه و ساختمان پيشگامان توسعه البرز");
const QStringList kLetterVillages{"ده نو", "کرهرود", "سنجان", "ساروق", "فرمهين", "داودآباد", "مشهد ميقان",
                                  "خنجين", "ابراهيم آباد", "توره", "گاوخوني", "آستانه", "امام زاده عبدالله", "حسين آباد ميشيجان",
                                  "قاسم آباد", "جهان آباد", "عليشار", "ورچه", "لنجرود", "خسروبيگ", "سرسختي", "کزاز",
                                  "چهارچشمه", "مزرعه نو", "قلعه سرخ", "ميلاجرد", "شهرآباد", "ديزآباد", "سامان", "فيجان"};
const QStringList kCounties{"اراك", "شازند", "خمين", "محلات", "کميجان"};

// One contractor's thirty villages under one letter (fractional tonnages, amounts in billions);
// the first village's allocation, complete, is the current one.
void setUpLetter(Fixture &f)
{
    const qint64 u = f.addUser("2280000011", "p", "ostan");
    for (const QString &c : kCounties)
        f.addCounty(u, c);
    f.signInAs(u, "2280000011", "ostan");
    qint64 first = 0;
    for (int i = 0; i < kLetterVillages.size(); ++i) {
        const qint64 id = addGhir(f, {{"city", kCounties.at(i % 5)}, {"rosta", kLetterVillages.at(i)},
                    {"peymankar", kLetterContractor}, {"moarefi_no", "4521"}, {"moarefi_dat", "1403/05/20"},
                    {"reg_dat", "1403/05/06"}, {"sal", "1403"},
                    {"prj_typ", "آسفالت معابر روستايي"}, {"prj_area", 2500 + i * 137.25}, {"ghir_tahatori", 8 + i % 7 + 0.75},
                    {"sorat_area", 2400 + i * 131.5}, {"ghir_jam", QString::number(7 + i % 6 + 0.5)},
                    {"ghir_t", QString::number(i % 4)}, {"prot_no", QStringLiteral("1403/ق/%1").arg(2310 + i)},
                    {"prot_dat", "1403/03/21"}, {"tehran_paper_no", "1287"}, {"az_name", "آزمايشگاه فني و مکانيک خاک استان"},
                    {"rep_no", "آ/1403/2157"}, {"rep_dat", "1403/07/02"}, {"zekhamat_m", "5.5"}, {"sorat_area_f", 1210},
                    {"zekhamat_m_f", "4.5"}, {"vazn", "2.31"}, {"ghir_masrafi_m", "5.2"}, {"ghir_prim", "1.1"},
                    {"asfalt_ejra", "1250.5"}, {"ghir60", "31.06"}, {"ghir_m_p", "6.3"}, {"prot_mablagh", 45000000},
                    {"prot_no_ejra", "1403/ج/118"}, {"prot_mablagh_ejra", 12500000}, {"ghir_moadel", 185000000},
                    {"tolemasir", 1750}});
        first = first ? first : id;
    }
    addSettings(f, {{"مدير کل", "دکتر حسن کريمي"}, {"معاون عمران روستايي", "مهندس علي احمدي"},
                    {"معاون ذيحساب", "حسين موسوي"}, {"رئيس حراست", "رضا نوري"},
                    {"كارشناس مسئول نظارت", "مهندس مريم صادقي"}, {"کارشناس مسئول قراردادها", "سعيد رحيمي"}});
    makeCurrent(f, first);
}

} // namespace

class FormsPagesTest : public QObject {
    Q_OBJECT
private slots:
    // Each form on its paper for a realistic batch: no fixed text cut off, its values in the order
    // of its sentences, values in tables and signature blocks, and on the page of its table's last
    // row the total and the signatures. The allocation forms print thirty villages (fourteen too
    // on A5) and number their pages; the others print one letter's batch. The allocation forms
    // name the contractor once after their own "شرکت", and the letters leave no gap.
    void formsPrint_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("villages"); // the allocation forms' batch; 0: the letter's
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("paper");
        QTest::addColumn<int>("pages"); // 0: as many as it takes
        QTest::addColumn<QStringList>("inOrder");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("lastPage");
        auto villageRow = [](const char *name, const char *item, int count, const char *paper, QStringList last) {
            if (qstrcmp(item, "N8"))
                last << villages().at(count - 1);
            QTest::newRow(name) << QByteArray(item) << count << QStringList{"1403/05/10", "10"} << QString(paper) << 0
                                << QStringList() << villages().mid(0, count) + QStringList{kContractor} << last;
        };
        // 30 rows: twice the 12 tonnages (144 t) and the first six (76 t); 14 rows: 164 t.
        const QStringList guarantee{"364", "مهندس علي احمدي", "معاون عمران روستايي"};
        villageRow("undertaking, 30", "N8", 30, "(A4)", {"مهر و امضاء پيمانکار"});
        villageRow("guarantee A5, 14", "A51", 14, "(A5)", {"164", "مهندس علي احمدي", "معاون عمران روستايي"});
        villageRow("guarantee A5, 30", "A51", 30, "(A5)", guarantee);
        villageRow("guarantee A4, 30", "N9", 30, "(A4)", guarantee);
        villageRow("oil company letter, 30", "N44", 30, "(A4)", {"حسين موسوي", "مدير کل", "رونوشت:"});
        // The total on the last page with rows of its table (their contract date).
        auto letterRow = [](const char *name, const char *item, const QStringList &answers, int pages,
                            const QStringList &inOrder, const QStringList &present, const QString &total = {}) {
            QTest::newRow(name) << QByteArray(item) << 0 << answers << QString("(A4)") << pages << inOrder << present
                                << (total.isEmpty() ? QStringList() : QStringList{total, "1403/03/21"});
        };
        // A Latin name inside a Persian sentence stays in its place.
        const QStringList reference{"12/1403", "1403/05/12", "رياست محترم Varnoset در خصوص نحوه توزيع و مصرف قير",
                                    "آسفالت معابر روستايي", kLetterContractor, "جهت دريافت قير", "1403"};
        const QStringList members{"دکتر حسن کريمي", "مهندس علي احمدي", "حسين موسوي", "رضا نوري", "مهندس مريم صادقي",
                                  "سعيد رحيمي"};
        // Areas 30 x 2500 + 137.25 x (0 + ... + 29) = 134,703.75; tonnages 30 x 8.75 + 4 x 21 + (0 + 1) = 347.5.
        letterRow("committee minutes", "N7", {"12/1403", "1403/05/12"}, 2, reference, members + QStringList{"347.5"},
                  "134703.75");
        // Areas 30 x 2400 + 131.5 x 435 = 129,202.5; remainders 30 x 7.5 + 75 + 45 - 347.5 = -4.5.
        letterRow("exchange minutes", "N50", {"12/1403", "1403/05/12"}, 2, reference, members + QStringList{"4.5"},
                  "129202.5");
        letterRow("control form", "N49", {"1403/05/14"}, 2, {"1403/05/14"},
                  {"347.5", "مهندس مريم صادقي", "حسين موسوي", "سعيد رحيمي", "رضا نوري"}, "134703.75");
        const QStringList site{"1403/07/15", "ده نو", "اراك", "1403", "معادل", "2400", "1403/07/02",
                               "آزمايشگاه فني و مکانيک خاک استان", "ضخامت آسفالت را", "5.5"};
        letterRow("consumption minutes", "N11", {"1403/07/15"}, 1, site + QStringList{"5.2", "7.5"}, {});
        letterRow("exchange minutes of one village", "N16", {"1403/07/15"}, 1,
                  site + QStringList{"1250.5", kLetterContractor, "شده معادل", "0"}, {});
        // Equalised 0 and consumed 7.5 t: 7.5 t in all.
        letterRow("development minutes", "N31", {"1403/07/15", "عمراني"}, 1,
                  QStringList{"عمراني"} + site + QStringList{"1250.5", "7.5", "7.5"}, {kLetterContractor});
        const QStringList head{"1403/07/20", "آسفالت معابر روستايي", "اراك", "ده نو", kLetterContractor,
                               "آزمايشگاه فني و مکانيک خاک استان", "1403/07/02"};
        const QStringList lab{"2.31", "5.2", "1.1", "1250.5"};
        letterRow("consumption sheet", "N23", {"1403/07/20"}, 1, head,
                  lab + QStringList{"2400", "1210", "4.5", "31.06", "6.3", "7.5"});
        letterRow("development sheet", "N32", {"عمراني", "1403/07/20"}, 1, QStringList{"عمراني"} + head,
                  lab + QStringList{"2400", "8.75"});
        // 45,000,000 x 1250.5 = 56,272,500,000; 1250.5 x 12,500,000 = 15,631,250,000; 71,903,750,000.
        letterRow("exchange sheet", "N12", {"1403/07/20"}, 1, head,
                  lab + QStringList{"56,272,500,000", "15,631,250,000", "71,903,750,000", "185,000,000"});
        // Each village once, in the database's order (PostgreSQL's distinct has an order of its own).
        const QStringList refund{"1403/09/01", "9", "1250", "1403/08/25"};
        letterRow("guarantee refund", "N51", refund, 1,
                  {"1403/09/01", "1403/1287", kLetterContractor, "1250", "1403/08/25", kLetterContractor},
                  kLetterVillages + QStringList{"کميجان", "محلات", "1403/05/20", "4521"});
        letterRow("older guarantee refund", "N25", refund, 1, {"1250", "1403/08/25", kLetterContractor, "1403/05/20"},
                  kLetterVillages + QStringList{"کميجان", "4521"});
        letterRow("older memorandum", "N33", {"1403/02/18"}, 1, {"ده نو", "اراك", "1750", "2500", "1403/02/18"}, {});
        letterRow("memorandum page 1", "N110", {}, 1, {"ده نو", "اراك", "استان Qelmarin", "ده نو", "اراك"}, {});
        letterRow("memorandum page 2", "N210", {}, 1, {"اراك"}, {});
    }
    void formsPrint()
    {
        QFETCH(QByteArray, item);
        QFETCH(int, villages);
        QFETCH(QStringList, answers);
        QFETCH(QString, paper);
        QFETCH(int, pages);
        QFETCH(QStringList, inOrder);
        QFETCH(QStringList, present);
        QFETCH(QStringList, lastPage);
        Fixture f(true);
        villages ? setUp(f, villages) : setUpLetter(f);
        const report::FilledReport &r = chooseForm(f, item.constData(), answers);
        const QString pdf = keptPdf(r), text = pdfText(pdf);
        QVERIFY2(pdfInfo(pdf).contains(paper), qPrintable(pdfInfo(pdf)));
        const int printed = pdfPageCount(pdf);
        if (pages)
            QCOMPARE(printed, pages);
        const QStringList missing = missingFixedTexts(r, text);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(" | ")));
        expectInOrder(text, inOrder);
        for (const QString &s : present)
            QVERIFY2(containsText(text, s), qPrintable(s));
        QVERIFY(!villages || !containsText(text, "شرکت شرکت"));
        if (item == "N8" || item == "N44")
            QVERIFY2(!text.contains("....."), qPrintable(text));
        for (const QString &s : lastPage)
            QVERIFY2(containsText(pdfText(pdf, printed), s), qPrintable(s));
        for (int p = 1; villages && printed > 1 && p <= printed; ++p)
            QVERIFY2(containsText(pdfText(pdf, p), QStringLiteral("صفحه %1 از %2").arg(p).arg(printed)), qPrintable(pdfText(pdf, p)));
    }
};

VARNOSET_DB_TEST_MAIN(FormsPagesTest)
#include "db_forms_pages.moc"
