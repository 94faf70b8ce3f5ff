// The settlement forms printed: each requested from the bitumen window for a 30-village batch
// of one contractor under one letter (fractional tonnages, amounts in billions), rendered to PDF
// and read back: its paper, its pages, its fixed texts in order with the values in their
// sentences, and a total on the page of its table. VARNOSET_FORMS_PDF_DIR keeps the PDFs.
#include "support/drive.h"
#include "support/report_support.h"

#include "bitumen/ghir_src_u.h"
#include "report/filled_report.h"

namespace {

const QString kContractor = QStringLiteral("شرکت راه و ساختمان پيشگامان توسعه البرز");
const QStringList kVillages{"ده نو", "کرهرود", "سنجان", "ساروق", "فرمهين", "داودآباد", "مشهد ميقان", "خنجين",
                            "ابراهيم آباد", "توره", "گاوخوني", "آستانه", "امام زاده عبدالله", "حسين آباد ميشيجان",
                            "قاسم آباد", "جهان آباد", "عليشار", "ورچه", "لنجرود", "خسروبيگ", "سرسختي", "کزاز",
                            "چهارچشمه", "مزرعه نو", "قلعه سرخ", "ميلاجرد", "شهرآباد", "ديزآباد", "سامان", "فيجان"};
const QStringList kCounties{"اراك", "شازند", "خمين", "محلات", "کميجان"};

// The batch; the first village's allocation, complete, is the current one.
void setUp(Fixture &f)
{
    const qint64 u = f.addUser("2280000011", "p", "ostan");
    for (const QString &c : kCounties)
        f.addCounty(u, c);
    f.signInAs(u, "2280000011", "ostan");
    qint64 first = 0;
    for (int i = 0; i < kVillages.size(); ++i) {
        const qint64 id = addGhir(f, {{"city", kCounties.at(i % 5)}, {"rosta", kVillages.at(i)}, {"peymankar", kContractor},
                    {"moarefi_no", "4521"}, {"moarefi_dat", "1403/05/20"}, {"reg_dat", "1403/05/06"}, {"sal", "1403"},
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

// The report of a menu item as a kept PDF.
QString print(Fixture &f, const char *item, const QStringList &answers)
{
    return keptPdf(chooseForm(f, item, answers));
}

} // namespace

class FormsSettlementPagesTest : public QObject {
    Q_OBJECT
private slots:
    // Each form: its pages, its flowing text in order with the values in their sentences,
    // values that stand in tables and signature blocks, and a total on the page of its rows.
    void formsPrint_data()
    {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("inOrder");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("total");
        const QStringList reference{"شماره جلسه:", "12/1403", "تاريخ جلسه:", "1403/05/12",
                                    "رياست محترم Varnoset در خصوص نحوه توزيع و مصرف قير", "آسفالت معابر روستايي",
                                    "به دستورالعمل مربوطه مقررگرديد نسبت به معرفي شرکت", kContractor,
                                    "جهت دريافت قير"};
        const QStringList closing{"آسفالت روستاهاي ذيل از محل سهميه قير سال", "1403", "اقدام گردد"};
        const QStringList members{"دکتر حسن کريمي", "مهندس علي احمدي", "حسين موسوي", "رضا نوري", "مهندس مريم صادقي",
                                  "سعيد رحيمي"};
        // Areas 30 x 2500 + 137.25 x (0 + ... + 29) = 134,703.75; tonnages 30 x 8.75 + 4 x 21 + (0 + 1) = 347.5.
        QTest::newRow("committee minutes") << QByteArray("N7") << QStringList{"12/1403", "1403/05/12"} << 2
            << reference + QStringList{"مصرفي و معادلسازي (باستناد نظريه شوراي هماهنگي دستگاه هاي نظارتي استان مورخ 1401/04/10)"} + closing
            << members + QStringList{"347.5"} << "134703.75";
        // Areas 30 x 2400 + 131.5 x 435 = 129,202.5; remainders 30 x 7.5 + 75 + 45 - 347.5 = -4.5.
        QTest::newRow("exchange minutes") << QByteArray("N50") << QStringList{"12/1403", "1403/05/12"} << 2
            << reference + QStringList{"مصرفي و معادلسازي"} + closing << members + QStringList{"4.5"} << "129202.5";
        QTest::newRow("control form") << QByteArray("N49") << QStringList{"1403/05/14"} << 2
            << QStringList{"تاريخ:", "1403/05/14", "فرم کنترل مدارک توزيع قير مصرفي"}
            << QStringList{"347.5", "مهندس مريم صادقي", "حسين موسوي", "سعيد رحيمي", "رضا نوري"} << "134703.75";
        const QStringList site{"در تاريخ", "1403/07/15",
                               "با حضور گزارش دهندگان زير از پروژه خاتمه يافته اجراي آسفالت در روستاي", "ده نو",
                               "از توابع شهرستان", "اراك", "1403", "کل کشور تامين",
                               "که بر اساس اندازه گيري به عمل آمده معادل", "2400",
                               "متر مربع مي باشد و نيز نتيجه گزارش شماره", "مورخ", "1403/07/02",
                               "آزمايشگاه", "آزمايشگاه فني و مکانيک خاک استان", "که متوسط ضخامت آسفالت را", "5.5"};
        QTest::newRow("consumption minutes") << QByteArray("N11") << QStringList{"1403/07/15"} << 1
            << site + QStringList{"سانتيمتر و نسبت قير مصرفي در آسفالت", "5.2",
                                  "درصد تعيين نموده است، ميزان قير مصرفي معادل", "7.5", "،تن محاسبه و تاييد مي گردد"}
            << QStringList() << QString();
        QTest::newRow("exchange minutes of one village") << QByteArray("N16") << QStringList{"1403/07/15"} << 1
            << site + QStringList{"سانتي متر که در نتيجه  ميزان آسفالت اجرا شده", "1250.5", "به پيمانکاري",
                                  kContractor, "شده معادل", "0", "تن ، محاسبه و تاييد مي گردد."}
            << QStringList() << QString();
        // Equalised 0 and consumed 7.5 t: 7.5 t in all.
        QTest::newRow("development minutes") << QByteArray("N31") << QStringList{"1403/07/15", "عمراني"} << 1
            << QStringList{"عمراني"} + site + QStringList{"سطح عمليات ميزان آسفالت اجرا شده  ", "1250.5",
                                  "تن قير جهت معادلسازي ", "تن و قير مصرفي", "7.5", "تن و ميزان ", "7.5",
                                  "تن محاسبه و تاييد ميگردد"}
            << QStringList{kContractor} << QString();
        const QStringList head{"1403/07/20", "نوع پروژه:", "آسفالت معابر روستايي", "محل پروژه:", "اراك",
                               "ده نو", "پيمانکار:", kContractor, "نام آزمايشگاه",
                               "آزمايشگاه فني و مکانيک خاک استان", "تاريخ گزارش", "1403/07/02"};
        const QStringList lab{"2.31", "5.2", "1.1", "1250.5"};
        QTest::newRow("consumption sheet") << QByteArray("N23") << QStringList{"1403/07/20"} << 1 << head
            << lab + QStringList{"2400", "1210", "4.5", "31.06", "6.3", "7.5"} << QString();
        QTest::newRow("development sheet") << QByteArray("N32") << QStringList{"عمراني", "1403/07/20"} << 1
            << QStringList{"عمراني"} + head << lab + QStringList{"2400", "8.75"} << QString();
        // 45,000,000 x 1250.5 = 56,272,500,000; 1250.5 x 12,500,000 = 15,631,250,000; 71,903,750,000.
        QTest::newRow("exchange sheet") << QByteArray("N12") << QStringList{"1403/07/20"} << 1 << head
            << lab + QStringList{"45,000,000", "56,272,500,000", "12,500,000", "15,631,250,000", "71,903,750,000",
                                 "185,000,000"} << QString();
        // Each village once, in the database's order (PostgreSQL's distinct has an order of its own).
        const QStringList villages = kVillages;
        QTest::newRow("guarantee refund") << QByteArray("N51") << QStringList{"1403/09/01", "9", "1250", "1403/08/25"} << 1
            << QStringList{"1403/09/01", "1403/1287", kContractor, "احتراما با توجه به درخواست پيمانکار طي نامه شماره",
                           "1250", "مورخ", "1403/08/25", kContractor, "مورد پيمان"}
            << villages + QStringList{"کميجان", "محلات", "1403/05/20", "4521"} << QString();
        QTest::newRow("older guarantee refund") << QByteArray("N25") << QStringList{"1403/09/01", "9", "1250", "1403/08/25"} << 1
            << QStringList{"احتراماعطف به درخواست نامه شماره", "1250", "مورخ", "1403/08/25",
                           "پيمانکار شرکت ", kContractor, "مورخ", "1403/05/20"}
            << villages + QStringList{"کميجان", "4521"} << QString();
        QTest::newRow("older memorandum") << QByteArray("N33") << QStringList{"1403/02/18"} << 1
            << QStringList{"نظر به اينکه در روستاي", "ده نو", "از توابع شهرستان", "اراك",
                           "1-1-آسفالت مسير به طول", "1750", "متر که براساس برآورد مقدار", "2500",
                           "مترمربع مي باشد.", "1403/02/18"}
            << QStringList() << QString();
        QTest::newRow("memorandum page 1") << QByteArray("N110") << QStringList() << 1
            << QStringList{"روستاي ", "ده نو", "شهرستان", "اراك", "استان Qelmarin", "ده نو",
                           "از توابع بخش", "شهرستان", "اراك"}
            << QStringList() << QString();
        QTest::newRow("memorandum page 2") << QByteArray("N210") << QStringList() << 1 << QStringList{"صفحه2", "اراك"}
            << QStringList() << QString();
    }
    void formsPrint()
    {
        QFETCH(QByteArray, item);
        QFETCH(QStringList, answers);
        QFETCH(int, pages);
        QFETCH(QStringList, inOrder);
        QFETCH(QStringList, present);
        QFETCH(QString, total);
        Fixture f(true);
        setUp(f);
        const QString pdf = print(f, item.constData(), answers);
        QVERIFY2(pdfInfo(pdf).contains("(A4)"), qPrintable(pdfInfo(pdf)));
        QCOMPARE(pdfPageCount(pdf), pages);
        const QString text = pdfText(pdf);
        // Every fixed text whole, then the values in their sentences.
        const QStringList missing = missingFixedTexts(*f.ui.reports.last().report, text);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(" | ")));
        expectInOrder(text, inOrder);
        for (const QString &s : present)
            QVERIFY2(containsText(text, s), qPrintable(s));
        if (!total.isEmpty()) {
            // The total on the last page, with rows of its table (their contract date).
            const QString last = pdfText(pdf, pages);
            QVERIFY(containsText(last, total));
            QVERIFY(containsText(last, "1403/03/21"));
        }
    }
};

VARNOSET_DB_TEST_MAIN(FormsSettlementPagesTest)
#include "db_forms_settlement_pages.moc"
