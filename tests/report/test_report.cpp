// The report layer: layouts read from resources, filled by name, rendered to PDF offscreen and
// read back with poppler; the preview driven through its controls; the after-print notification
// counted for every way a print can end.
#include "core/errors.h"
#include "report/preview.h"
#include "report/renderer.h"
#include "support/drive.h"
#include "support/report_support.h"
#include "support/texts.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <numeric>

using namespace testing_support;
using report::FilledReport;

namespace {

const QString kCompany = "<b>Asfalt & Co</b> Ltd";
const QString kVillages = " * کلاته * ده نو * آبادي بالا * حسن آباد * قلعه نو * چشمه سار";

// The sample letter with its detail table, every label filled.
FilledReport sample(int rows)
{
    FilledReport r("SAMPLE_REPORT");
    for (const auto &[label, text] : QList<QPair<QString, QString>>{
             {"dat", "1401/09/05"}, {"comp_naft_name", "شرکت ملي پخش"}, {"name", "علي رضايي"}, {"peymankar", kCompany},
             {"sabt_no", "12345"}, {"bakhshname_no", "6569/ص"}, {"bakhshname_dat", "1401/09/05"}, {"ghir_tahatori", "20"},
             {"ghir_tahatori_horofi", " بيست  تن"}, {"rosta", kVillages}, {"pey_no", "123/45"}, {"pey_dat", "1402/01/15"},
             {"sum_tonaj", "1,250"}, {"moaven_omran", "محمد احمدي"}, {"city", "نيشابور"}})
        r.set(label, text);
    QVector<QStringList> data;
    for (int i = 0; i < rows; ++i)
        data << QStringList{"پيمانکار " + QString::number(i + 1), "روستاي الف", "مشهد", QString::number(5000 + i) + "/12",
                            "1401/02/01", "12.5", "دوازده"};
    r.setRows({"peymankar", "rosta", "city", "prot_no", "prot_dat", "ghir_tahatori", "ghir_tahatoriHOROF"}, data);
    return r;
}

// The A5 list with `rows` rows (or the given ones) and its total.
FilledReport sampleList(int rows, const QString &total = "0", QVector<QStringList> data = {})
{
    FilledReport r("SAMPLE_LIST");
    r.set("sal", "1401");
    r.set("jam_sum", total);
    if (data.isEmpty())
        data = QVector<QStringList>(rows, {"مشهد", "کلاته", "x"});
    r.setRows({"city", "rosta", "Jam"}, data);
    return r;
}

QByteArray minimal(const QString &extra)
{
    return QStringLiteral(R"({"bands": {"detail": {"height": 10, "elements": [%1]}}})").arg(extra).toUtf8();
}

// Numbers printed in the row-number column (right of `columnLeftPt`), page by page, top to bottom;
// a year in a header is no row number.
QList<QList<int>> rowNumbersByPage(QList<PdfWord> words, int pages, double columnLeftPt)
{
    std::stable_sort(words.begin(), words.end(), [](const PdfWord &a, const PdfWord &b) {
        return std::pair(a.page, a.box.top()) < std::pair(b.page, b.box.top());
    });
    QList<QList<int>> out(pages);
    for (const PdfWord &w : words) {
        bool ok = false;
        const int n = w.text.toInt(&ok);
        if (ok && n < 1000 && w.box.center().x() > columnLeftPt && w.page >= 1 && w.page <= pages)
            out[w.page - 1] << n;
    }
    return out;
}

// A report of a layout given as the elements of its title band (and a table, when given).
FilledReport made(const QString &elements, const QString &table = {})
{
    const QString json = QStringLiteral(R"({%1"bands": {"title": {"height": 40, "elements": [%2]}, "detail": {"height": 1}}})")
                             .arg(table.isEmpty() ? QString() : QStringLiteral(R"("table": %1, )").arg(table), elements);
    return FilledReport(report::Layout::fromJson(json.toUtf8(), "MADE"));
}

const PdfWord *findWord(const QList<PdfWord> &words, const QString &text, int page)
{
    const QString t = normalizedText(text);
    for (const PdfWord &w : words)
        if (w.page == page && w.text == t)
            return &w;
    return nullptr;
}

// The first page of a PDF as pdftoppm draws it at a resolution.
QImage pdfImage(const QString &pdf, int dpi)
{
    static QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page-%1").arg(dpi));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, base});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT
private slots:
    // Layouts: every one in the resources (the forms' layouts included) reads and renders,
    // every figure on its page and in its title (the PDF's, the preview's caption) in Persian
    // digits whatever its faces (a Latin word keeps its own); each form's title is Persian and its
    // own. Faults in a layout are refused with its name.
    void everyLayoutLoadsAndRenders()
    {
        const QStringList names = report::Layout::available();
        QVERIFY(names.contains("SAMPLE_REPORT"));
        QSet<QString> titles;
        static const QRegularExpression latinDigit(QStringLiteral("(?<![A-Za-z0-9])[0-9]+(?![A-Za-z0-9])"));
        for (const QString &name : names) {
            FilledReport r(name);
            for (const QString &label : r.layout().labelNames())
                r.set(label, label + " 1405/03/12 2,500,000.5");
            if (r.layout().hasRows()) {
                const QStringList fields = r.layout().fieldNames();
                r.setRows(fields, QVector<QStringList>(3, QStringList(fields.size(), "1405/03/12 12.5")));
            }
            QVERIFY2(r.check().isEmpty(), qPrintable(name + QLatin1String(": ") + r.check().join(QLatin1String("; "))));
            const QString pdf = renderPdf(r), printed = pdfLines(pdf).join(' ');
            QVERIFY2(!printed.contains(latinDigit), qPrintable(name + ": " + printed));
            QVERIFY2(printed.contains(QString::fromUtf8("۱۴۰۵/۰۳/۱۲")), qPrintable(name));
            static const QRegularExpression pdfTitle(QStringLiteral("^Title: *(.*)$"), QRegularExpression::MultilineOption);
            const QString inPdf = pdfTitle.match(pdfInfo(pdf)).captured(1);
            QVERIFY2(!inPdf.contains(latinDigit) && inPdf == r.title(), qPrintable(name + ": " + inPdf));
            QVERIFY2(r.layout().titleLabels().isEmpty() || inPdf.contains(QString::fromUtf8("۱۴۰۵")), qPrintable(inPdf));
            if (name.startsWith("SAMPLE_"))
                continue;
            const QString title = r.layout().title;
            QVERIFY2(title.isRightToLeft() && !titles.contains(title), qPrintable(name + ": " + title));
            titles << title;
        }
    }

    // The two printed tables of the registers, the central office report and the monthly
    // technical-services table: their fixed texts as their paper gives them, in the layout as
    // written and printed.
    void printedTablesCarryTheirPapersTexts_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("central office report") << "TTEHRAN_CHAP" << QStringList{
            "عملکرد آسفالت اجرا شده در روستاها با قير رايگان سال", "Qelmarin", "رديف", "شهرستان", "روستا",
            "جمع طول معبر انجام شده-متر", "مساحت آسفالت-مترمربع", "مقدار قير تامين شده از سوي شرکت قيرساز-تن",
            "معادل سازي تن", "مصرف مستقيم تن", "تاريخ تنظيم صورتجلسه مصرف قير", "خودياري نقدي",
            "معادل ريالي عمليات اجرايي دهياري و مردم", "جمع", "مختصات و موقعيت معابر اجرا شده"};
        QTest::newRow("monthly technical-services table") << "TKHADAMAT_CHAP" << QStringList{
            "جدول عملکرد ماهانه خدمات فني و تخلفات ساختماني در مناطق روستايي", "سال", "ماه", "تاريخ:", "شماره:",
            "رديف", "نام شهرستان", "دهياري ها جهت صدور پروانه", "تعداد واحدهاي احداثي با وام بانکي داراي تخلف",
            "جمع کل:", "کارشناس زمين Varnoset شهرستان", "نام و امضاء", "مدير Varnoset شهرستان", "ساير خدمات فني",
            "مبلغ دريافتي استعلام ها (ميليون ريال)", "ساخت بر خلاف پروانه صادره",
            "ساخت بدون پروانه (و فاقد استعلام)", "صدور پروانه فاقد استعلام",
            "صدور پروانه خلاف نظر Varnoset (استعلام)", "در داخل محدوده", "خارج از محدوده",
            "توسط Varnoset شهرستان به فرمانداري", "توسط Varnoset استان به استانداري",
            "آمار استعلام هاي به عمل آمده (تعداد)", "نوع مواجهه با تخلفات ساختماني (تعداد)",
            "فراواني تخلفات ساختماني (تعداد)", "روش انعکاسي تخلفات (تعداد)"};
    }
    void printedTablesCarryTheirPapersTexts()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, texts);
        FilledReport r(layout);
        for (const QString &label : r.layout().labelNames())
            r.set(label, "1405");
        const QStringList fields = r.layout().fieldNames();
        r.setRows(fields, QVector<QStringList>(3, QStringList(fields.size(), "12")));
        const QString printed = pdfText(renderPdf(r));
        for (const QString &t : texts) {
            const QString fault = paperTextFault(r, printed, t);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
        }
    }

    void malformedLayoutsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("fault");
        QTest::newRow("not json") << QByteArray("{\"bands\": ") << "JSON";
        QTest::newRow("misspelt key") << minimal(R"({"kind": "text", "text": "a", "heigth": 5})") << "heigth";
        QTest::newRow("unknown kind") << minimal(R"({"kind": "barcode"})") << "barcode";
        QTest::newRow("label without name") << minimal(R"({"kind": "label"})") << "name";
        QTest::newRow("line both ways") << minimal(R"({"kind": "line", "w": 5, "h": 5})") << "line";
        QTest::newRow("column of nothing") << QByteArray(R"({"table": {"columns": [{"field": "f", "text": "1"}]}})") << "one of";
        QTest::newRow("two columns one id") << QByteArray(R"({"table": {"columns": [{"field": "f"}, {"field": "f"}]}})") << "id";
        QTest::newRow("under a missing column")
            << QByteArray(R"({"table": {"columns": [{"field": "f"}]}, "bands": {"summary": {"elements": [{"kind": "label", "name": "s", "column": "g"}]}}})")
            << "\"g\"";
        QTest::newRow("field outside detail")
            << QByteArray(R"({"bands": {"title": {"elements": [{"kind": "field", "field": "f"}]}}})") << "detail";
        QTest::newRow("page size") << QByteArray(R"({"page": {"size": "A3"}})") << "A4, A5";
        QTest::newRow("footer on first") << QByteArray(R"({"bands": {"pageFooter": {"on": "first"}}})") << "every or last";
    }
    void malformedLayoutsAreRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, fault);
        try {
            report::Layout::fromJson(json, "BROKEN");
            QFAIL("accepted");
        } catch (const AppError &e) {
            QVERIFY2(e.message().contains(QLatin1String("BROKEN")) && e.message().contains(fault), qPrintable(e.message()));
        }
    }

    // Labels by name: a name the layout lacks is refused at once; a label the layout needs but
    // nobody filled, and a column the detail reads but the rows lack, are listed by check().
    void labelsAreFilledByName()
    {
        FilledReport r("SAMPLE_REPORT");
        QVERIFY_THROWS_EXCEPTION(AppError, r.set("no_such_label", "x"));
        QVERIFY_THROWS_EXCEPTION(AppError, r.setFontSize("no_such_label", 12));
        QVERIFY_THROWS_EXCEPTION(AppError, r.setFontSize("rosta", 0));
        QStringList problems = r.check();
        QVERIFY(problems.contains("label dat is not filled"));
        QVERIFY(problems.contains("the detail rows were not given"));
        // A label with a design text shows it until filled and need not be filled.
        QVERIFY(!problems.join(QLatin1Char('|')).contains(QLatin1String("masrafi")));
        QCOMPARE(r.text("masrafi"), "مصرفي و معادلسازي");

        FilledReport full = sample(2);
        QCOMPARE(full.check(), QStringList());
        full.setRows({"peymankar", "ROSTA"}, {{"a", "b"}});
        problems = full.check();
        QVERIFY(problems.contains("the rows have no column city"));
        QVERIFY(!problems.join(QLatin1Char('|')).contains(QLatin1String("column rosta"))); // case-insensitive
        QCOMPARE(full.cell(0, "rosta"), "b");

        QCOMPARE(sampleList(0).check(), QStringList());

        // A letter without detail rows handed rows is a mistake of its handler.
        FilledReport l(report::Layout::fromJson(minimal(R"({"kind": "label", "name": "a"})"), "LETTER"));
        l.set("a", "x");
        QCOMPARE(l.check(), QStringList());
        l.setRows({"a"}, {});
        QCOMPARE(l.check(), QStringList{"rows given to a layout without detail rows"});
    }

    // Nothing is cut: a box too small for its text grows and moves what lies under it (and
    // its band) down; an empty label in a sentence keeps a dotted gap.
    void aTextThatNeedsRoomGrowsAndMovesWhatFollows()
    {
        FilledReport r(report::Layout::fromJson(minimal(R"(
            {"kind": "label", "name": "list", "y": 0, "w": 60, "h": 5},
            {"kind": "text", "text": "پايان نامه", "y": 6, "h": 4},
            {"kind": "paragraph", "y": 11, "h": 4, "runs": ["فرزند", {"label": "father"}, "صادره از"]})"), "GROW"));
        r.set("father", "");
        r.set("list", "");
        const double plain = report::Renderer(r).page(0).first().height;
        QStringList villages;
        for (const QChar c : QStringLiteral("ابپتثجچحخدذرزژسشصضطظعغفقکگلمنو"))
            villages << QStringLiteral("روستاي") + c + QStringLiteral("ان");
        r.set("list", villages.join(" * "));
        const double grown = report::Renderer(r).page(0).first().height;
        QVERIFY2(grown > plain + 10, qPrintable(QStringLiteral("%1 %2").arg(plain).arg(grown)));
        const QString pdf = renderPdf(r);
        const QString text = pdfText(pdf);
        for (const QString &v : villages)
            QVERIFY2(containsText(text, v), qPrintable(v));
        // The fixed text stands a line under the list's last line.
        const QList<PdfWord> words = pdfWords(pdf);
        double lastLine = 0, fixedLine = 0;
        for (const PdfWord &w : words) {
            if (w.text.startsWith(normalizedText("روستاي")))
                lastLine = std::max(lastLine, w.box.center().y());
            if (w.text == normalizedText("پايان"))
                fixedLine = w.box.center().y();
        }
        QVERIFY2(fixedLine > lastLine + 8, qPrintable(QStringLiteral("%1 %2").arg(lastLine).arg(fixedLine)));
        expectInOrder(text, {"فرزند", "......", "صادره از"});

        // A box that fits its text takes the height the text needs: what follows moves up for
        // a short list, down for a long one.
        FilledReport f(report::Layout::fromJson(minimal(R"(
            {"kind": "label", "name": "list", "y": 0, "w": 60, "h": 15, "wrap": true, "fit": true},
            {"kind": "text", "text": "پايان نامه", "y": 16, "h": 4})"), "FIT"));
        f.set("list", villages.mid(0, 2).join(" * "));
        QVERIFY(report::Renderer(f).page(0).first().height < 20 - 8);
        f.set("list", villages.join(" * "));
        QVERIFY(report::Renderer(f).page(0).first().height > 20);
    }

    // A figure, a date or a code (a text without a blank) is never split: wider than its box it
    // is drawn smaller, on one line; a table column whose figure is too wide even at the smallest
    // size takes room from the others. A text with blanks wraps at its blanks. An empty value, and
    // a date with nothing in its mask, keep the dotted gap a clerk writes in; an empty date in a
    // table leaves its cell blank. A font size set at run time changes how its label prints, and
    // nothing else.
    void figuresStayWholeAndEmptyDatesKeepTheirGap()
    {
        FilledReport r = made(QStringLiteral(R"(
            {"kind": "label", "name": "jam", "x": 0, "y": 0, "w": 15, "h": 6, "font": {"family": "Zar", "size": 10}},
            {"kind": "text", "text": "جمع", "x": 20, "y": 0, "w": 15, "h": 6, "font": {"family": "Zar", "size": 10}},
            {"kind": "label", "name": "mokhtasat", "x": 40, "y": 0, "w": 16, "wrap": true, "font": {"family": "Zar", "size": 10}},
            {"kind": "label", "name": "big", "x": 60, "y": 0, "w": 40, "h": 12, "font": {"family": "Zar", "size": 10}},
            {"kind": "paragraph", "y": 25, "runs": ["مورخ", {"label": "dat"}, "شماره", {"label": "no"}]},
            {"kind": "label", "name": "dat2", "y": 33, "w": 30})"),
            QStringLiteral(R"({"x": 80, "font": {"family": "Zar", "size": 10}, "columns": [{"title": "روستا", "field": "rosta",
                "width": 40}, {"title": "خودياري", "field": "khodyari", "width": 10}, {"field": "jalase_dat", "width": 30}]})"));
        r.set("jam", "4,345,204,765");
        r.set("mokhtasat", "معبر اصلي تا مسجد جامع");
        r.set("big", "کلاته");
        r.setFontSize("big", 20);
        r.set("dat", "    /  /  ");
        r.set("no", "12");
        r.set("dat2", " / / ");
        r.setRows({"rosta", "khodyari", "jalase_dat"}, {{"حسين آباد", "2,500,000,000", "    /  /  "}, {"", "", ""}});
        const QString pdf = renderPdf(r), text = pdfText(pdf);
        expectInOrder(text, {"مورخ", "......", "شماره", "12"});
        QVERIFY2(!text.contains('/'), qPrintable(text));
        const QStringList lines = pdfLines(pdf);
        auto onOneLine = [&](const QString &text) {
            return std::any_of(lines.begin(), lines.end(), [&](QString l) { return l.remove(' ').contains(text); });
        };
        QVERIFY2(onOneLine("۴,۳۴۵,۲۰۴,۷۶۵") && onOneLine("۲,۵۰۰,۰۰۰,۰۰۰"), qPrintable(lines.join('|')));
        for (const char *word : {"معبر", "اصلي", "تا", "مسجد", "جامع"})
            QVERIFY2(lines.join(' ').split(' ').contains(word), qPrintable(lines.join('|')));
        // Smaller than the fixed text of the same size beside it, and inside its box; the
        // column's figure wider than the column was (10 mm less its padding).
        const QList<PdfWord> words = pdfWords(pdf);
        const PdfWord *jam = findWord(words, "4,345,204,765", 1), *fixed = findWord(words, "جمع", 1);
        const PdfWord *khodyari = findWord(words, "2,500,000,000", 1), *big = findWord(words, "کلاته", 1);
        QVERIFY(jam && fixed && khodyari && big);
        QVERIFY(jam->box.height() < fixed->box.height() * 0.9);
        const double ratio = big->box.height() / fixed->box.height();
        QVERIFY2(ratio > 1.8 && ratio < 2.2, qPrintable(QString::number(ratio)));
        QVERIFY(jam->box.width() <= 15 / 25.4 * 72 + 0.5);
        QVERIFY(khodyari->box.width() > 8.4 / 25.4 * 72);
    }

    // A figure in a table cell keeps four fifths of its neighbours' size at the least, its column
    // taking the room from a column that has it; a framed total keeps clear of its frame, drawn
    // smaller rather than up to it.
    void figuresKeepTheirSizeAndClearOfFrames()
    {
        FilledReport r = made(QStringLiteral(R"(
            {"kind": "label", "name": "total", "x": 0, "y": 0, "w": 30, "h": 8, "border": 0.3,
             "font": {"family": "Zar", "size": 11, "bold": true}})"),
            QStringLiteral(R"({"x": 60, "font": {"family": "Zar", "size": 10}, "columns": [{"title": "روستا",
                "field": "rosta", "width": 50}, {"title": "خودياري", "field": "khodyari", "width": 12},
                {"title": "دهياري", "field": "dehyari", "width": 30}]})"));
        r.set("total", "53,283,381,250,000,000");
        r.setRows({"rosta", "khodyari", "dehyari"}, {{"ده نو", "12,500,000,000", "1,845,204,765"}});
        const QList<PdfWord> words = pdfWords(renderPdf(r));
        const PdfWord *cash = findWord(words, "12,500,000,000", 1), *work = findWord(words, "1,845,204,765", 1);
        const PdfWord *total = findWord(words, "53,283,381,250,000,000", 1);
        QVERIFY(cash && work && total);
        QVERIFY2(cash->box.height() >= 0.8 * work->box.height(), qPrintable(QString::number(cash->box.height() / work->box.height())));
        // The frame runs from 10 mm to 40 mm: the total a millimetre inside it at the least.
        const double mm = 72 / 25.4;
        QVERIFY2(total->box.left() >= 11 * mm && total->box.right() <= 39 * mm,
                 qPrintable(QStringLiteral("%1 %2").arg(total->box.left() / mm).arg(total->box.right() / mm)));
    }

    // Justified lines stretch their blanks only: each extracts as words, never letter by letter;
    // and each word's text layer names the letters as typed, the Arabic and the Persian yeh and
    // kaf apart, whatever face draws them alike.
    void justifiedLinesExtractAsTyped()
    {
        const QStringList villages{"ميلاجرد", "كرهرود", "دیزآباد", "کمیجان", "سفيدخواني", "قاسم آباد", "مسجد جامع"};
        for (const char *face : {"Zar", "Tahoma"}) {
            FilledReport r = made(QStringLiteral(R"({"kind": "paragraph", "y": 0, "w": 170, "align": "justify",
                "font": {"family": "%1", "size": 12}, "runs": ["پيمانکار Varnoset در روستاهاي", {"label": "rosta"},
                "و دريافت کننده قير پروژه/پروژه هاي مذکور معرفي گرديده ام، ضمن پذيرش تمامي مسئوليتهاي قانوني و حقوقي ناشي از قصور و تقصير در دريافت، ذخيره، حمل و مصرف قير تحويلي، متعهد مي شوم قير دريافتي را صرفا در پروژه/پروژه هاي مذکور و طبق مشخصات فني و دستورالعمل هاي ابلاغي به مصرف رسانده و از فروش، انتقال و يا مصرف آن در محل ديگر خودداري نموده و نسبت به ذخيره و نگهداري ايمن آن در محل تخليه اعلام شده تا پايان مصرف و اتمام عمليات اجرايي اقدام کرده و از هرگونه تخلف و سوء استفاده احتمالي جلوگيري نمايم، در غير اينصورت کارفرما"]},
                {"kind": "label", "name": "short", "y": 30, "w": 40, "font": {"family": "%1"}})").arg(face));
            r.set("rosta", villages.join(" * "));
            r.set("short", "مسجد جامع");
            const QStringList lines = pdfLines(renderPdf(r));
            QVERIFY(lines.size() >= 4);
            static const QRegularExpression letters(QStringLiteral("(^| )(\\S ){3}\\S( |$)"));
            for (const QString &line : lines)
                QVERIFY2(!line.contains(letters), qPrintable(line));
            const QString all = lines.join(' ');
            for (const QString &v : villages)
                QVERIFY2(all.contains(v), qPrintable(face + (": " + v) + " in " + all));
        }
    }

    // Each word's text layer names its yehs and kafs as typed, whatever mix of the Arabic and the
    // Persian letters it holds (the layouts' own "پيمانکار", a village stored as "کليبر", the
    // reverse mixes, all four letters in one word), in the faces that draw the two alike where
    // their shapes agree (Nazli, its bold, Titr) and in one that draws them apart; and the page
    // looks as it does with the Persian letters alone: every word joined and drawn alike.
    void mixedSpellingsExtractAsTyped_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Nazli") << "Zar" << false;
        QTest::newRow("Nazli bold") << "Zar" << true;
        QTest::newRow("Titr") << "Titr" << true;
        QTest::newRow("Noto Sans Arabic") << "Tahoma" << false;
    }
    void mixedSpellingsExtractAsTyped()
    {
        QFETCH(QString, face);
        QFETCH(bool, bold);
        const QStringList typed{"پيمانکار", "کليبر", "کميته", "يک", "پیمانكار", "كلیبر", "كميته", "کمیته", "كيکیم"};
        auto written = [&](const QStringList &words) {
            FilledReport r = made(QStringLiteral(R"({"kind": "label", "name": "words", "x": 5, "y": 5, "w": 190, "h": 10,
                "font": {"family": "%1", "size": 14, "bold": %2}})").arg(face, QLatin1String(bold ? "true" : "false")));
            r.set("words", words.join(' '));
            return renderPdf(r);
        };
        const QString pdf = written(typed);
        QStringList printed = pdfLines(pdf).join(' ').split(' '), expected = typed;
        printed.sort();
        expected.sort();
        QCOMPARE(printed, expected);
        QStringList persian;
        for (const QString &w : typed)
            persian << QString(w).replace(QChar(0x064A), QChar(0x06CC)).replace(QChar(0x0643), QChar(0x06A9));
        const QString plain = written(persian);
        for (const int dpi : {100, 150}) {
            const QImage a = pdfImage(pdf, dpi), b = pdfImage(plain, dpi);
            QVERIFY(!a.isNull() && a.size() == b.size());
            int differing = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    differing += a.pixel(x, y) != b.pixel(x, y);
            QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ at %2 dpi").arg(differing).arg(dpi)));
        }
    }

    // The filled sample rendered to PDF: its texts (label values, design texts, fixed texts, the
    // right-to-left sentence with dates and codes in it), printed literally, on A4 and A5 pages.
    void pdfHoldsTheTextsOnA4AndA5()
    {
        FilledReport r = sample(3);
        const QString pdf = renderPdf(r);
        QVERIFY(pdfInfo(pdf).contains(QLatin1String("595 x 842 pts (A4)")));
        QCOMPARE(pdfPageCount(pdf), 1);
        const QString text = pdfText(pdf);
        // The sentence reads in order, its inline values in place.
        for (const QString &s : QStringList{"بسمه تعالي", kCompany, "123/45", "مصرفي و معادلسازي", "5002/12",
                                            normalizedText(kVillages), "بدينوسيله آقاي علي رضايي به نمايندگي از شرکت",
                                            "1401/09/05 جهت تحويل مقدار 20 تن معادل بيست تن", "شرکت ملي پخش", "12345",
                                            "60-70", "1402/01/15", "1,250", "محمد احمدي", "معاون عمران روستايي", "نيشابور"})
            QVERIFY2(containsText(text, s), qPrintable(s + QLatin1String(" missing from: ") + text));
        QVERIFY(!text.contains(QLatin1String("&amp;")));
        // The text layer holds the letters a user searches for, not the joined letter shapes
        // (the Arabic presentation forms) of Qt's own text layer; the lam-alef reads as lam and alef.
        const QString raw = pdfLines(pdf).join(' ');
        static const QRegularExpression shapes(QStringLiteral("[\uFB50-\uFEFF]"));
        QVERIFY2(raw.contains("بالا") && !raw.contains(shapes), qPrintable(raw));
        for (const char *word : {"بسمه", "تعالي", "پيمانکار", "کلاته"})
            QVERIFY2(containsText(raw, word), word);

        const QString a5 = renderPdf(sampleList(2, "7,000", {{"مشهد", "کلاته", "3,000"}, {"طرقبه", "ده نو", "4,000"}}));
        QVERIFY2(pdfInfo(a5).contains(QLatin1String("420 x 595 pts (A5)")), qPrintable(pdfInfo(a5)));
        const QString t5 = pdfText(a5);
        for (const QString &s : QStringList{"طرقبه", "4,000", "7,000", "نام و امضاء", "1401", "کلاته"})
            QVERIFY2(containsText(t5, s), qPrintable(s));
    }

    // 120 rows flow over pages: the column header (both heading rows) on every page, the row
    // numbers consecutive across the pages, the summary after the last row, header and footer
    // on every page; a first-page header and a last-page footer appear once.
    void detailRowsFlowOverPages()
    {
        const FilledReport r = sample(120);
        const report::Renderer renderer(r);
        const int pages = renderer.pageCount();
        QVERIFY(pages >= 3);
        const QString pdf = renderPdf(r);
        QCOMPARE(pdfPageCount(pdf), pages);
        const QList<PdfWord> words = pdfWords(pdf);

        // Row numbers in the rightmost column (x from 190 mm = 538.6 pt), page by page.
        const QList<QList<int>> numbers = rowNumbersByPage(words, pages, 190 / 25.4 * 72);
        QList<int> all;
        for (int p = 0; p < pages; ++p) {
            QVERIFY2(!numbers[p].isEmpty(), qPrintable(QString::number(p)));
            all += numbers[p];
            // Both heading rows, the page header and the page footer.
            for (const char *word : {"رديف", "قرارداد", "بسمه", "نيشابور"})
                QVERIFY2(findWord(words, word, p + 1), qPrintable(QStringLiteral("%1 on page %2").arg(word).arg(p + 1)));
        }
        QList<int> expected(120);
        std::iota(expected.begin(), expected.end(), 1);
        QCOMPARE(all, expected);
        // The title on the first page only, the summary on the last after the last row.
        for (int p = 1; p <= pages; ++p)
            QCOMPARE(findWord(words, "رضايي", p) != nullptr, p == 1);
        const PdfWord *sum = findWord(words, "1,250", pages);
        QVERIFY(sum);
        for (const PdfWord &w : words)
            if (w.page == pages && w.text == QLatin1String("120"))
                QVERIFY(w.box.top() < sum->box.top());
        // Nothing runs into the footer: every row ends above the page footer band.
        for (int p = 0; p < pages; ++p) {
            double footerTop = 1e9, lastRowBottom = 0;
            for (const auto &b : renderer.page(p)) {
                footerTop = b.kind == report::BandKind::PageFooter ? b.y : footerTop;
                lastRowBottom = b.kind == report::BandKind::Detail ? std::max(lastRowBottom, b.y + b.height) : lastRowBottom;
            }
            QVERIFY(lastRowBottom <= footerTop + 0.001 && footerTop < 297);
        }

        const QString lp = renderPdf(sampleList(60));
        const int listPages = pdfPageCount(lp);
        QVERIFY(listPages >= 2);
        const QList<PdfWord> lw = pdfWords(lp);
        QStringList once; // the pages of the first-page header and of the last-page footer
        for (const PdfWord &w : lw)
            if (w.text == normalizedText("رايگان") || w.text == normalizedText("امضاء"))
                once << w.text + QString::number(w.page);
        QCOMPARE(once, QStringList({normalizedText("رايگان") + "1", normalizedText("امضاء") + QString::number(listPages)}));
        int listed = 0;
        for (const QList<int> &page : rowNumbersByPage(lw, listPages, (148 - 8 - 12) / 25.4 * 72))
            listed += int(page.size());
        QCOMPARE(listed, 60);
        // The total and a last-page signature block never open a page of their own: whatever the
        // number of rows, the last page holds a row, the summary and the footer.
        for (int n = 1; n <= 60; ++n) {
            const report::Renderer list(sampleList(n));
            QSet<report::BandKind> kinds;
            for (const auto &b : list.page(list.pageCount() - 1))
                kinds << b.kind;
            QVERIFY2(kinds.contains(report::BandKind::Detail) && kinds.contains(report::BandKind::Summary)
                         && kinds.contains(report::BandKind::PageFooter),
                     qPrintable(QString::number(n)));
        }

        // The two-level heading: a group heading spans its sub-headings (just under it;
        // "شماره" also stands in the letter) and stands above them. Right to left: "شماره" right
        // of "تاريخ", the group centred between them; a column without a group ("رديف") is centred
        // in both rows' height.
        const PdfWord *group = findWord(words, "قرارداد", 1), *radif = findWord(words, "رديف", 1);
        const PdfWord *number = nullptr, *date = nullptr;
        for (const PdfWord &w : words) {
            const bool under = w.page == 1 && w.box.top() > group->box.bottom() && w.box.top() - group->box.bottom() < 20;
            number = under && w.text == normalizedText("شماره") ? &w : number;
            date = under && w.text == normalizedText("تاريخ") ? &w : date;
        }
        QVERIFY(number && date);
        QVERIFY(date->box.center().x() < group->box.center().x() && group->box.center().x() < number->box.center().x());
        QVERIFY(radif->box.top() > group->box.top() && radif->box.bottom() < number->box.bottom());
    }

    // A landscape page (the central office report, the monthly table) opens as wide as the
    // preview's page area, whether or not its height brings a scroll bar; the zoom in Persian.
    void landscapePageOpensFittedToThePreviewsWidth()
    {
        FilledReport r(report::Layout::fromJson(R"({"page": {"size": "A4", "orientation": "landscape"},
            "bands": {"detail": {"height": 10, "elements": [{"kind": "label", "name": "x", "y": 0}]}}})", "WIDE"));
        for (const auto &[height, zoom] : {std::pair{900, "۸۷٪"}, {500, "۸۶٪"}}) {
            RecordingQtUi ui;
            report::ReportPreview preview(r, ui, std::make_shared<FakePrintJob>(), {});
            preview.resize(1000, height);
            preview.show();
            QApplication::processEvents();
            auto *pages = child<QScrollArea>(&preview, "pages");
            const int room = pages->viewport()->width(), page = child<QWidget>(&preview, "page_view")->width();
            QVERIFY2(page <= room && page >= room - 3 && !pages->horizontalScrollBar()->isVisible(),
                     qPrintable(QStringLiteral("%1 in %2").arg(page).arg(room)));
            QCOMPARE(pages->verticalScrollBar()->isVisible(), height == 500);
            QCOMPARE(child<QLabel>(&preview, "zoom_lbl")->text() + child<QLabel>(&preview, "page_lbl")->text(), zoom + QString("۱ از ۱"));
        }
    }

    // Right to left with the Latin digits, dates and codes inside it in their own order: a
    // value or fixed text in a run of its own reads left to right among the Persian words.
    // (pdftotext gives digit runs in the order they stand on the page.)
    void bidiOfDatesAndCodesInPersianText()
    {
        FilledReport r(report::Layout::fromJson(minimal(R"(
            {"kind": "paragraph", "y": 0, "runs": ["تن قير", "60-70", "مورخ", {"label": "dat"}, "شماره", {"label": "no"}]},
            {"kind": "label", "name": "code", "y": 20, "w": 60}, {"kind": "label", "name": "mixed", "y": 30})"), "BIDI"));
        r.set("dat", "1401/09/05");
        r.set("no", "2394/12");
        r.set("code", "60-70");
        r.set("mixed", "تاريخ 1402/01/15 شماره 12");
        const QString text = pdfText(renderPdf(r));
        QVERIFY2(containsText(text, "تن قير 60-70 مورخ 1401/09/05 شماره 2394/12"), qPrintable(text));
        QVERIFY(!containsText(text, "70-60") && !containsText(text, "05/09/1401"));
        QVERIFY2(containsText(text, "تاريخ 1402/01/15 شماره 12"), qPrintable(text));
    }

    // The preview's pages, navigation and zoom (a portrait page opens at its real size), through
    // its controls, the page counter and the zoom in Persian digits. After-print notification:
    // none for a preview only looked at (the program's modal preview, printed once, notifies
    // once), a cancelled dialog, a failed print (which shows a message) or a PDF; one for each
    // completed job.
    void previewNavigatesAndCountsCompletedPrints()
    {
        RecordingQtUi ui;
        auto job = std::make_shared<FakePrintJob>();
        int notified = 0;
        FilledReport r = sample(120);
        report::ReportPreview preview(r, ui, job, [&] { ++notified; });
        preview.show();
        QCOMPARE(preview.zoom(), 1.0);
        // The form's title (the layout's, with its label's text); right to left, the next page
        // lies to the left. As a file name, no "/" in it.
        QCOMPARE(preview.windowTitle(), "معرفي نامه نيشابور");
        r.set("city", "عمراني/دهياري");
        QCOMPARE(r.fileName(), "معرفي نامه عمراني-دهياري");
        QVERIFY(child<QPushButton>(&preview, "next_page")->x() < child<QPushButton>(&preview, "prev_page")->x());
        QCOMPARE(child<QPushButton>(&preview, "close_btn")->text(), "بستن");
        const int pages = preview.pageCount();
        QVERIFY(pages >= 3);
        auto *label = child<QLabel>(&preview, "page_lbl");
        auto *view = child<QWidget>(&preview, "page_view");
        QString of = " از " + QString::number(pages); // in Persian digits
        for (QChar &c : of)
            c = c.isDigit() ? QChar(c.unicode() - u'0' + 0x06F0) : c;
        QCOMPARE(label->text(), "۱" + of);
        click(&preview, "next_page");
        QCOMPARE(label->text(), "۲" + of);
        click(&preview, "last_page");
        QCOMPARE(preview.currentPage(), pages - 1);
        QVERIFY(!child<QPushButton>(&preview, "next_page")->isEnabled());
        // Zoom in, then out down to the smallest; the page is painted: dark text on it.
        const int width = view->width();
        click(&preview, "zoom_in");
        QCOMPARE(child<QLabel>(&preview, "zoom_lbl")->text(), "۱۲۵٪");
        QVERIFY(view->width() > width);
        for (int i = 0; i < 20; ++i)
            click(&preview, "zoom_out");
        QVERIFY(child<QLabel>(&preview, "zoom_lbl")->text() == "۲۵٪" && view->width() < width);
        const QImage img = view->grab().toImage();
        int dark = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                dark += qGray(img.pixel(x, y)) < 128;
        QVERIFY(dark > 100);

        // The handler's rows change after the preview opened: the preview keeps its snapshot.
        r.setRows(r.columns(), {});
        auto print = [&] {
            click(&preview, "print_btn");
            return notified;
        };
        QCOMPARE(print(), 1);
        job->results = {Ui::PrintCancelled, Ui::PrintFailed, Ui::Printed};
        QCOMPARE(print(), 1); // cancelled: no message
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(print(), 1); // failed: its message
        QCOMPARE(ui.messages, QStringList{texts::kPrintFailed});
        QCOMPARE(print(), 2);
        QVERIFY(preview.printedJobs() == 2 && job->printed.size() == 2 && job->printed[1].rowCount() == 120);

        // Save as PDF: written, no notification; a place that cannot be written: a message; a
        // cancelled save dialog: nothing; a name without its extension gets ".pdf".
        QTemporaryDir dir;
        ui.saveAnswers = {dir.filePath("out.pdf"), dir.filePath("missing/dir/out.pdf"), QString(), dir.filePath("named")};
        for (int i = 0; i < 4; ++i)
            click(&preview, "pdf_btn");
        QVERIFY(containsText(pdfText(dir.filePath("out.pdf")), "پيمانکار 120"));
        QCOMPARE(ui.messages, (QStringList{texts::kPrintFailed, texts::kPdfFailed}));
        QVERIFY(!QFile::exists(dir.filePath("missing/dir/out.pdf")));
        QCOMPARE(pdfPageCount(dir.filePath("named.pdf")), pages);
        QCOMPARE(notified, 2);

        // Straight through the program's Ui, two copies: one printer dialog, one job, a
        // notification for each copy.
        ui.messages.clear();
        job->printed.clear();
        ui.setPrintJob(job);
        job->results = {Ui::Printed};
        QCOMPARE(ui.printReport(r, [&] { ++notified; }, 2), Ui::Printed);
        QCOMPARE(notified, 4);
        QCOMPARE(job->printed.size(), 2);
        job->results = {Ui::PrintCancelled, Ui::PrintFailed};
        QCOMPARE(ui.printReport(r, [&] { ++notified; }), Ui::PrintCancelled);
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(ui.printReport(r, [&] { ++notified; }), Ui::PrintFailed);
        QCOMPARE(ui.messages, QStringList{texts::kPrintFailed});
        QCOMPARE(notified, 4);
        // The modal preview of the program's Ui, driven while it is open.
        bool seen;
        driveNextModal(&seen, [](QWidget *w) {
            click(w, "print_btn");
            click(w, "close_btn");
        });
        ui.previewReport(r, [&] { ++notified; });
        QVERIFY(seen);
        QCOMPARE(notified, 5);
    }

    // The real printing step: a printer whose painter cannot begin fails; one that works prints
    // every page in the layout's paper size.
    void printerThatCannotStartFails()
    {
        const FilledReport r = sample(60);
        QTemporaryDir dir;
        const QString path = dir.filePath("printed.pdf"), part = dir.filePath("part.pdf");
        // Prints to a PDF printer, pages from-to when asked.
        auto printTo = [&](const QString &file, int from = 0, int to = 0) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            report::setupPrinter(printer, r);
            printer.setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
            printer.setFromTo(from, to);
            return report::printOn(printer, r);
        };
        QCOMPARE(printTo(dir.filePath("no/such/dir/out.pdf")), Ui::PrintFailed);
        QCOMPARE(printTo(path), Ui::Printed);
        QCOMPARE(pdfPageCount(path), report::Renderer(r).pageCount());
        QVERIFY(pdfInfo(path).contains("(A4)") && containsText(pdfText(path), "پيمانکار 60"));
        // A page range chosen in the printer dialog prints those pages only: page 2 has the page
        // header but not the title.
        QCOMPARE(printTo(part, 2, 2), Ui::Printed);
        QCOMPARE(pdfPageCount(part), 1);
        QVERIFY(!containsText(pdfText(part), "رضايي") && containsText(pdfText(part), "بسمه تعالي"));

        // The program's print job: a cancelled printer dialog prints nothing.
        bool seen;
        QString dialog;
        driveNextModal(&seen, [&](QWidget *d) {
            dialog = d->objectName();
            qobject_cast<QDialog *>(d)->reject();
        });
        report::QtPrintJob job;
        QCOMPARE(job.print(r, nullptr), Ui::PrintCancelled);
        QCOMPARE(dialog, "QPrintDialog");
    }
};

VARNOSET_TEST_MAIN(ReportTest)
#include "test_report.moc"
