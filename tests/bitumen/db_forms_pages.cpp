// The province forms printed: each form requested from the bitumen window with a realistic
// batch, rendered to PDF and read back: page size, one page, the letter's fixed texts in their
// order and the filled values in their sentences. VARNOSET_FORMS_PDF_DIR keeps the PDFs there.
#include "support/fixture.h"
#include "support/report_support.h"
#include "ghir_rows.h"

#include "bitumen/ghir_src_u.h"
#include "report/filled_report.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace testing_support;

namespace {

const QString kContractor = QStringLiteral("شرکت راه و ساختمان پيشگامان توسعه البرز");

void setUp(Fixture &f, int villages)
{
    const qint64 u = f.addUser(QStringLiteral("2280000011"), QStringLiteral("p"), QStringLiteral("ostan"));
    f.addCounty(u, QStringLiteral("اراك"));
    f.signInAs(u, QStringLiteral("2280000011"), QStringLiteral("ostan"));
    f.dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, sh_no, sodor, sabt, eghtesadi, shenase, "
                             "haml_name, haml_cod, phone, mobile, fax, adr, takhliye, zipcode) "
                             "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
              {kContractor, QStringLiteral("محمدرضا کاظمي"), QStringLiteral("عبدالله"), QStringLiteral("4520"),
               QStringLiteral("اراك"), QStringLiteral("11873"), QStringLiteral("411345678912"),
               QStringLiteral("10103456789"), QStringLiteral("حمل و نقل سپهر ترابر"), QStringLiteral("88-1452"),
               QStringLiteral("086-32245678"), QStringLiteral("09181234567"), QStringLiteral("086-32245679"),
               QStringLiteral("اراك، خيابان شهيد بهشتي، کوچه لاله، پلاك 12، طبقه دوم"),
               QStringLiteral("کيلومتر 15 جاده اراك - خمين، کارخانه آسفالت پيشگامان"), QStringLiteral("3813745871")});
    const qint64 c = f.scalar(QStringLiteral("select max(id) from peymankaran")).toLongLong();
    const QStringList names{QStringLiteral("ده نو"), QStringLiteral("کرهرود"), QStringLiteral("سنجان"),
                            QStringLiteral("ساروق"), QStringLiteral("فرمهين"), QStringLiteral("داودآباد"),
                            QStringLiteral("مشهد ميقان"), QStringLiteral("خنجين"), QStringLiteral("ابراهيم آباد"),
                            QStringLiteral("توره"), QStringLiteral("گاوخوني"), QStringLiteral("آستانه")};
    const double tons[] = {12, 8, 15.5, 20, 9, 11, 7, 14, 10, 6, 18, 13};
    for (int i = 0; i < villages; ++i)
        ghir_rows::add(f, {{"city", i % 3 ? "اراك" : "شازند"},
                           {"rosta", names.at(i % names.size())},
                           {"peymankar", kContractor},
                           {"peymankar_id", c},
                           {"reg_dat", "1403/05/06"},
                           {"ghir_tahatori", tons[i % 12]},
                           {"bors_price", 3500000 + 250000 * (i % 4)},
                           {"prot_no", QStringLiteral("1403/ق/%1").arg(2310 + i)},
                           {"prot_dat", "1403/03/21"},
                           {"city_paper_no", "452/12/ش"},
                           {"city_paper_dat", "1403/04/20"},
                           {"z_no", "8802145"},
                           {"z_dat", "1403/05/01"},
                           {"z_bank", "بانک ملي شعبه مرکزي اراك"},
                           {"comp_naft_name", "منطقه اراك"},
                           {"palayeshgah_name", "امام خميني (ره) شازند"}});
    for (const auto &[list, name] : {std::pair{"معاون عمران روستايي", "مهندس علي احمدي"},
                                     std::pair{"مدير کل", "دکتر حسن کريمي"},
                                     std::pair{"معاون ذيحساب", "حسين موسوي"}})
        f.dm.exec(QStringLiteral("insert into setting (component, cmt) values (?, ?)"),
                  {QString::fromUtf8(list), QString::fromUtf8(name)});
    f.form<Tghir_src>()->search();
}

// The report of one menu item, rendered to PDF.
QString print(Fixture &f, const char *item, const QStringList &answers, report::FilledReport *out = nullptr)
{
    for (const QString &a : answers)
        f.ui.inputs << a;
    f.ui.reports.clear();
    child<QAction>(f.form<Tghir_src>(), QLatin1String(item))->trigger();
    if (f.ui.reports.isEmpty())
        qFatal("%s showed no report: %s", item, qPrintable(f.ui.messages.join(QLatin1Char('|'))));
    const report::FilledReport &r = *f.ui.reports.last().report;
    if (out)
        *out = r;
    const QString pdf = renderPdf(r);
    const QString keep = qEnvironmentVariable("VARNOSET_FORMS_PDF_DIR");
    if (!keep.isEmpty()) {
        const QString target = QDir(keep).filePath(QStringLiteral("%1-%2.pdf").arg(r.layoutName()).arg(r.rowCount()));
        QFile::remove(target);
        QFile::copy(pdf, target);
    }
    return pdf;
}

// Each text in the printed text, in this order.
void expectInOrder(const QString &printed, const QStringList &texts)
{
    // Blanks, brackets, colons and hyphens aside: pdftotext guesses the blanks around numbers,
    // gives the mirrored bracket glyphs of right-to-left text and puts the neutral signs next to
    // a number on either side of it.
    static const QRegularExpression ignored(QStringLiteral("[ ():-]"));
    QString rest = normalizedText(printed);
    rest.remove(ignored);
    for (const QString &t : texts) {
        QString n = normalizedText(t);
        n.remove(ignored);
        const int at = rest.indexOf(n);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("%1 missing or out of order in: %2").arg(t, printed)));
        rest = rest.mid(at + n.size());
    }
}

} // namespace

class FormsPagesTest : public QObject {
    Q_OBJECT
private slots:
    void undertakingOnA4()
    {
        Fixture f(true);
        setUp(f, 4);
        const QString pdf = print(f, "N8", {QStringLiteral("1403/05/10"), QStringLiteral("11")});
        QVERIFY(pdfInfo(pdf).contains(QLatin1String("(A4)")));
        QCOMPARE(pdfPageCount(pdf), 1);
        const QString text = pdfText(pdf);
        expectInOrder(text, {
            QStringLiteral("تعهدنامه پيمانکار در خصوص دريافت، ذخيره، حمل و مصرف صحيح قير تحويلي"), QStringLiteral("بسمه تعالي"),
            QStringLiteral("تعهدنامه پيمانکار اجراي طرح هادي روستايي"), QStringLiteral("در خصوص قير تحويلي پروژه (ها)"),
            QStringLiteral("اينجانب محمدرضا کاظمي فرزند عبدالله شماره شناسنامه"),
            QStringLiteral("صادره از اراك نماينده پيمانکار"), kContractor, QStringLiteral("که طي نامه معرفي نامه شماره"),
            QStringLiteral("به عنوان پيمانکار اجراي طرح هادي روستا/روستاهاي"), QStringLiteral("ده نو * کرهرود * سنجان * ساروق"),
            QStringLiteral("و دريافت کننده قير پروژه/پروژه هاي مذکور معرفي گرديده ام، ضمن پذيرش تمامي مسئوليتهاي قانوني و حقوقي ناشي از قصور"), QStringLiteral("پايان مصرف و اتمام عمليات اجرايي اقدام کرده و از هرگونه تخلف و سوء استفاده احتمالي جلوگيري نمايم، در غير اينصورت کارفرما"),
            QStringLiteral("محق خواهد بود از محل ضمانتنامه اينجانب به شماره 8802145 عهده بانک بانک ملي شعبه مرکزي اراك نسبت به"),
            QStringLiteral("جبران ضرر و زيان وارده اقدام نمايد."), QStringLiteral("نشاني پيمانکار:"), QStringLiteral("نشاني کارخانه آسفالت-محل تخليه:"),
            QStringLiteral("شماره تلفن ثابت: 086-32245678"), QStringLiteral("شماره تلفن همراه: 09181234567"),
            QStringLiteral("مهر و امضاء پيمانکار")});
        QVERIFY(containsText(text, QStringLiteral("1403/05/10")));
        QVERIFY(containsText(text, QStringLiteral("1403/04/20")));
    }

    void guaranteeIntroductionOnA4()
    {
        Fixture f(true);
        setUp(f, 5);
        const QString pdf = print(f, "N9", {});
        QVERIFY(pdfInfo(pdf).contains(QLatin1String("(A4)")));
        QCOMPARE(pdfPageCount(pdf), 1);
        // 12 + 8 + 15.5 + 20 + 9 = 64.5 t; guarantees 12 x 3,500,000, 8 x 3,750,000,
        // 15.5 x 4,000,000, 20 x 4,250,000, 9 x 3,500,000, each x 1.2: 50,400,000 + 36,000,000
        // + 74,400,000 + 102,000,000 + 37,800,000 = 300,600,000.
        expectInOrder(pdfText(pdf), {
            QStringLiteral("بسمه تعالي"), QStringLiteral("معرفي نامه جهت اخذ ضمانتنامه"), QStringLiteral("ذيحساب محترم Varnoset Qelmarin"),
            QStringLiteral("با سلام"), QStringLiteral("احتراما در راستاي اجراي ماده 6 دستورالعمل اجرايي توزيع قير رايگان، خواهشمند است نسبت به معرفي شرکت"), kContractor, QStringLiteral("به منظور دريافت ضمانتنامه"),
            QStringLiteral("بانکي/معتبر"), QStringLiteral("به مبلغ ذيل اقدام لازم معمول گردد."),
            QStringLiteral("102,000,000"), QStringLiteral("64.5"), QStringLiteral("300,600,000"),
            QStringLiteral("*اعتبار معرفي نامه فوق 10 روز پس از تاريخ صدور مي باشد."), QStringLiteral("*در صورت افزايش قيمت قير در بورس مبلغ ضمانتنامه افزايش مي يابد."), QStringLiteral("مهندس علي احمدي"),
            QStringLiteral("معاون عمران روستايي")});
        const QString text = pdfText(pdf);
        for (const QString &s : {QStringLiteral("رديف"), QStringLiteral("قيمت بورس"),
                                 QStringLiteral("ضريب افزايش"), QStringLiteral("مبلغ ضمانتنامه"), QStringLiteral("4,250,000"),
                                 QStringLiteral("1.2")})
            QVERIFY2(containsText(text, s), qPrintable(s));
    }

    void guaranteeIntroductionOnA5()
    {
        Fixture f(true);
        setUp(f, 4);
        const QString pdf = print(f, "A51", {});
        QVERIFY2(pdfInfo(pdf).contains(QLatin1String("(A5)")), qPrintable(pdfInfo(pdf)));
        QCOMPARE(pdfPageCount(pdf), 1);
        expectInOrder(pdfText(pdf), {
            QStringLiteral("بسمه تعالي"), QStringLiteral("معرفي نامه جهت اخذ ضمانتنامه"), QStringLiteral("ذيحساب محترم Varnoset Qelmarin"),
            QStringLiteral("با سلام"), QStringLiteral("احتراما در راستاي اجراي ماده 6 دستورالعمل اجرايي توزيع قير رايگان، خواهشمند "), QStringLiteral("است نسبت به معرفي شرکت"), kContractor,
            QStringLiteral("به منظور دريافت ضمانتنامه"), QStringLiteral("بانکي/معتبر"), QStringLiteral("اقدام لازم معمول گردد."),
            QStringLiteral("55.5"), QStringLiteral("*اعتبار معرفي نامه فوق 10 روز پس از تاريخ صدور مي باشد."), QStringLiteral("مهندس علي احمدي"),
            QStringLiteral("معاون عمران روستايي")});
        QVERIFY(!containsText(pdfText(pdf), QStringLiteral("*در صورت افزايش قيمت قير در بورس مبلغ ضمانتنامه افزايش مي يابد.")));
    }

    void oilCompanyLetter()
    {
        Fixture f(true);
        setUp(f, 6);
        const QString pdf = print(f, "N44", {QStringLiteral("1403/521"), QStringLiteral("1403/05/12")});
        QVERIFY(pdfInfo(pdf).contains(QLatin1String("(A4)")));
        QCOMPARE(pdfPageCount(pdf), 1);
        const QString text = pdfText(pdf);
        // 12 + 8 + 15.5 + 20 + 9 + 11 = 75.5 t: no words for a fractional total.
        expectInOrder(text, {
            QStringLiteral("بسمه تعالي"), QStringLiteral("معرفي نامه"), QStringLiteral("مديريت محترم فروش شرکت نفت منطقه اراك"),
            QStringLiteral("با سلام"), QStringLiteral(" يافته به پالايشگاه، بدينوسيله آقاي محمدرضا کاظمي به نمايندگي از شرکت"), kContractor,
            QStringLiteral("به شماره ثبت 11873"), QStringLiteral("به عنوان پيمانکار اجراي طرح هادي اين Varnoset با کد اقتصادي 411345678912 و شناسه ملي 10103456789"),
            QStringLiteral("جهت تحويل مقدار 75.5 تن معادل قير از محل سهميه اختصاص يافته از پالايشگاه"), QStringLiteral("امام خميني (ره) شازند"),
            QStringLiteral(" مدت اعتبار اين معرفي نامه 15-پانزده"), QStringLiteral("شماره و تاريخ ضمانتنامه اخذ شده از پيمانکار:"),
            QStringLiteral("اطلاعات تماس پيمانکار مجري"), QStringLiteral("تلفن ثابت: 086-32245678"),
            QStringLiteral("معاون ذيحساب"), QStringLiteral("رونوشت:"),
            QStringLiteral("2- معاون ذيحسابي"), QStringLiteral("3- معاون عمران روستايي"), QStringLiteral("4- امور قراردادها و کنترل پروژه"),
            QStringLiteral("5- اداره حراست"), QStringLiteral("اراك جهت اطلاع"), QStringLiteral("7- شرکت محترم"),
            kContractor});
        for (const QString &s : {QStringLiteral("نام پيمانکار"), QStringLiteral("نام پروژه"), QStringLiteral("قرارداد"),
                                 QStringLiteral("نوع قير"), QStringLiteral("تناژ"), QStringLiteral("حروف"),
                                 QStringLiteral("پيمانکار حمل"), QStringLiteral("60-70"), QStringLiteral("پانزده"),
                                 QStringLiteral("1403/521"), QStringLiteral("1403/05/12"), QStringLiteral("88-1452"),
                                 QStringLiteral("حمل و نقل سپهر ترابر"), QStringLiteral("2315"), QStringLiteral("8802145"), QStringLiteral("1403/05/01"),
                                 QStringLiteral("3813745871"), QStringLiteral("دکتر حسن کريمي"), QStringLiteral("حسين موسوي")})
            QVERIFY2(containsText(text, s), qPrintable(s));

        // A whole total prints its words.
        Fixture g(true);
        setUp(g, 2);
        QVERIFY(containsText(pdfText(print(g, "N44", {})), QStringLiteral("جهت تحويل مقدار 20 تن معادل بيست تن")));
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
        // The rows' heading on the first two pages, the last row on the second.
        for (int p = 1; p <= 2; ++p)
            QVERIFY(containsText(pdfText(pdf, p), QStringLiteral("%1").arg(QStringLiteral("پيمانکار حمل"))));
        QVERIFY(containsText(pdfText(pdf, 2), QStringLiteral("1403/ق/2349").right(4)));
        QVERIFY(containsText(pdfText(pdf, pages), QStringLiteral("رونوشت:")));
        QVERIFY(!containsText(pdfText(pdf, 1), QStringLiteral("5- اداره حراست")));
    }

    // Values as long as their columns allow print whole: no sentence or contact line loses
    // its end to a box that is too small.
    void longestValuesPrintWhole()
    {
        Fixture f(true);
        setUp(f, 3);
        // A text of n characters ending with a word of its own.
        auto filled = [](int n, const QString &last) {
            QString s;
            while (s.size() + 6 + last.size() <= n)
                s += QStringLiteral("کلمه ") + QChar(char16_t(u'ا' + s.size() % 7)) + QLatin1Char(' ');
            return s + last;
        };
        const QList<std::pair<const char *, QString>> contractor{
            {"peymankar", filled(50, QStringLiteral("پايانيک"))}, {"name", filled(50, QStringLiteral("پاياندو"))},
            {"father", filled(30, QStringLiteral("پايانسه"))},    {"sodor", filled(30, QStringLiteral("پايانچهار"))},
            {"sabt", QStringLiteral("123456789012345678901234567890")},
            {"eghtesadi", QStringLiteral("223456789012345678901234567890")},
            {"shenase", QStringLiteral("323456789012345678901234567890")},
            {"phone", QStringLiteral("086-32245678 086-32245679 086-32245680 086-3224591")},
            {"mobile", QStringLiteral("09181234567 09181234568 09181234569 0918123457092")},
            {"fax", QStringLiteral("086-32245678 086-32245679 086-322456803")},
            {"adr", filled(100, QStringLiteral("پايانپنج"))}, {"takhliye", filled(100, QStringLiteral("پايانشش"))},
            {"zipcode", QStringLiteral("3813745874")}};
        for (const auto &[column, value] : contractor)
            f.dm.exec(QStringLiteral("update peymankaran set %1=?").arg(QLatin1String(column)), {value});
        const QString longName = contractor.at(0).second;
        f.dm.exec(QStringLiteral("update ghir set peymankar=?, z_bank=?, z_no=?, comp_naft_name=?, palayeshgah_name=?"),
                  {longName, filled(40, QStringLiteral("پايانهفت")), filled(50, QStringLiteral("پايانهشت")),
                   filled(50, QStringLiteral("پايان نه")), filled(50, QStringLiteral("پايانده"))});
        f.form<Tghir_src>()->search();

        const QString undertaking = pdfText(print(f, "N8", {}));
        for (const char *column : {"peymankar", "name", "sodor", "phone", "mobile", "adr", "takhliye"})
            for (const auto &[c, value] : contractor)
                if (qstrcmp(c, column) == 0)
                    QVERIFY2(containsText(undertaking, value.right(7)), column);
        for (const QString &s : {QStringLiteral("پايانهفت"), QStringLiteral("پايانهشت"), QStringLiteral("جبران ضرر و زيان وارده اقدام نمايد.")})
            QVERIFY2(containsText(undertaking, s), qPrintable(s));

        const QString pdf = print(f, "N44", {});
        QCOMPARE(pdfPageCount(pdf), 1);
        const QString letter = pdfText(pdf);
        for (const auto &[column, value] : contractor)
            if (qstrcmp(column, "father") && qstrcmp(column, "sodor"))
                QVERIFY2(containsText(letter, value.right(7)), column);
        for (const QString &s : {QStringLiteral("پايانهشت"), QStringLiteral("پايان نه"), QStringLiteral("پايانده"),
                                 QStringLiteral("مدير کل")})
            QVERIFY2(containsText(letter, s), qPrintable(s));
    }
};

VARNOSET_DB_TEST_MAIN(FormsPagesTest)
#include "db_forms_pages.moc"
