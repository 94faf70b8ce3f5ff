// The bitumen forms printed: each requested from the bitumen window for a realistic batch,
// rendered to PDF and read back: its paper, its pages, no fixed text cut off, the fixed texts its
// paper gives, every village, its values in the order of their sentences, the gaps of the values
// it lacks. VARNOSET_FORMS_PDF_DIR keeps the PDFs there.
#include "support/drive.h"
#include "support/report_support.h"

#include "bitumen/ghir_src_u.h"
#include "report/filled_report.h"
#include "report/renderer.h"

#include <QLineEdit>
#include <QRegularExpression>

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

// The forms' fixed texts as their paper says them, each with the menu items of the forms that
// print it (a form whose sentences differ from another's names its own).
const char *const kRiseNote = "*در صورت افزايش قيمت قير در بورس مبلغ ضمانتنامه افزايش مي يابد.";
const QList<std::pair<const char *, const char *>> kPaperTexts{
    {"N8", "تعهدنامه پيمانکار در خصوص دريافت، ذخيره، حمل و مصرف صحيح قير تحويلي"},
    {"N8 N9 N44 N23 N51 A51 N32 N12", "تاريخ"},
    {"N8 N9 N44 N7 N49 N11 N51 N110 A51 N50 N16 N31", "بسمه تعالي"},
    {"N8", "تعهدنامه پيمانکار اجراي طرح هادي روستايي"},
    {"N8", "در خصوص قير تحويلي پروژه (ها)"},
    {"N8", "اينجانب"},
    {"N8", "فرزند"},
    {"N8", "شماره شناسنامه"},
    {"N8", "صادره از"},
    {"N8", "نماينده پيمانکار"},
    {"N8", "که طي نامه معرفي نامه شماره"},
    {"N8 N44 N11 N51 N25 N16 N31", "مورخ"},
    {"N8", "Varnoset استان"},
    {"N8", "Qelmarin"},
    {"N8", "به عنوان پيمانکار اجراي طرح هادي روستا/روستاهاي"},
    {"N8", "و دريافت کننده قير پروژه/پروژه هاي مذکور معرفي گرديده ام، ضمن پذيرش تمامي مسئوليتهاي قانوني و حقوقي ناشي از قصور"},
    {"N8", "پايان مصرف و اتمام عمليات اجرايي اقدام کرده و از هرگونه تخلف و سوء استفاده احتمالي جلوگيري نمايم، در غير اينصورت کارفرما"},
    {"N8", "محق خواهد بود از محل ضمانتنامه اينجانب به شماره"},
    {"N8", "عهده بانک"},
    {"N8", "نسبت به"},
    {"N8", "جبران ضرر و زيان وارده اقدام نمايد."},
    {"N8", "نشاني پيمانکار:"},
    {"N8", "نشاني کارخانه آسفالت-محل تخليه:"},
    {"N8", "شماره تلفن ثابت:"},
    {"N8", "شماره تلفن همراه:"},
    {"N8", "مهر و امضاء پيمانکار"},
    {"A51 N9 N44 N7 N50", "رديف"},
    {"A51 N9 N44 N7 N50 N23 N110 N32 N12", "شهرستان"},
    {"A51 N9 N44 N7 N50 N23 N32 N12", "روستا"},
    {"A51 N9", "تناژ قير 70-60"},
    {"A51", "احتراما در راستاي اجراي ماده 6 دستورالعمل اجرايي توزيع قير رايگان، خواهشمند "},
    {"A51", "است نسبت به معرفي شرکت"},
    {"A51 N9", "به منظور دريافت ضمانتنامه"},
    {"A51", "اقدام لازم معمول گردد."},
    {"N9 A51", "معرفي نامه جهت اخذ ضمانتنامه"},
    {"N9 A51", "ذيحساب محترم Varnoset Qelmarin"},
    {"N9 N44 A51", "با سلام"},
    {"N9", "احتراما در راستاي اجراي ماده 6 دستورالعمل اجرايي توزيع قير رايگان، خواهشمند است نسبت به معرفي شرکت"},
    {"N9", "به مبلغ ذيل اقدام لازم معمول گردد."},
    {"N9", "قيمت بورس"},
    {"N9", "ضريب افزايش"},
    {"N9", "1.2"},
    {"N9", "مبلغ ضمانتنامه"},
    {"N9 A51", "*اعتبار معرفي نامه فوق 10 روز پس از تاريخ صدور مي باشد."},
    {"N9", kRiseNote},
    {"N9 N7 N50 N11 N51 A51 N16 N31", "معاون عمران روستايي"},
    {"N44", "معرفي نامه"},
    {"N44", "مديريت محترم فروش شرکت نفت"},
    {"N44", " يافته به پالايشگاه، بدينوسيله آقاي"},
    {"N44", "به نمايندگي از شرکت"},
    {"N44", "به شماره ثبت"},
    {"N44", "به عنوان پيمانکار اجراي طرح هادي اين Varnoset با کد اقتصادي"},
    {"N44", "و شناسه ملي"},
    {"N44", "جهت تحويل مقدار"},
    {"N44", "تن معادل"},
    {"N44", "قير از محل سهميه اختصاص يافته از پالايشگاه"},
    {"N44", " مدت اعتبار اين معرفي نامه"},
    {"N44", "15-پانزده"},
    {"N44", "شماره و تاريخ ضمانتنامه اخذ شده از پيمانکار:"},
    {"N44 N31", "نام پيمانکار"},
    {"N44", "نام پروژه"},
    {"N44", "قرارداد"},
    {"N44 N51", "شماره"},
    {"N44", "نوع قير"},
    {"N44", "60-70"},
    {"N44", "تناژ"},
    {"N44", "عدد"},
    {"N44", "حروف"},
    {"N44", "پيمانکار حمل"},
    {"N44", "نام"},
    {"N44", "کد"},
    {"N44", "اطلاعات تماس پيمانکار مجري"},
    {"N44", "تلفن ثابت:"},
    {"N44", "دورنگار:"},
    {"N44", "تلفن همراه:"},
    {"N44", "آدرس دفتر پيمانکار:"},
    {"N44", "کد پستي:"},
    {"N44", "آدرس کارخانه آسفالت-محل تخليه:"},
    {"N44", "معاون ذيحساب"},
    {"N44 N7 N50 N11 N16 N31", "مدير کل"},
    {"N44", "رونوشت:"},
    {"N44", "2- معاون ذيحسابي"},
    {"N44", "3- معاون عمران روستايي"},
    {"N44", "4- امور قراردادها و کنترل پروژه"},
    {"N44", "5- اداره حراست"},
    {"N44", "جهت اطلاع"},
    {"N44", "7- شرکت محترم"},
    {"N44", "جهت اطلاع و پيگيري عطف به نامه شماره"},
    {"N7 N50", "موضوع جلسه: توزيع اعتبار قير رايگان"},
    {"N7 N50", "شماره جلسه:"},
    {"N7 N50", "تاريخ جلسه:"},
    {"N7 N50", "صورتجلسه کميته توزيع قير"},
    {"N7 N50", "در اجراي بخشنامه شماره"},
    {"N7 N50", "/6569"},
    {"N7 N50", "ص  مورخ"},
    {"N7 N50", "1401/09/05"},
    {"N7 N50", "رياست محترم Varnoset در خصوص نحوه توزيع و مصرف قير"},
    {"N7 N50", "رايگان موضوع بند (ز) تبصره يک قانون بودجه سال 1401 ودر خصوص پروژه هايي که عمليات آسفالت"},
    {"N7 N50", "مي باشد و با عنايت"},
    {"N7 N50", "به دستورالعمل مربوطه مقررگرديد نسبت به معرفي شرکت"},
    {"N7 N50", "جهت دريافت قير"},
    {"N7 N50", "آسفالت روستاهاي ذيل از محل سهميه قير سال"},
    {"N7 N50", "اقدام گردد"},
    {"N7 N50", "ضمنا اين صورتجلسه پيشنهاد تخصيص قير جهت طي مراحل قانوني توسط پيمانکار بوده و هيچگونه تعهدي براي Varnoset ايجاد نمي نمايد."},
    {"N7 N50", "سطح کار (متر مربع)"},
    {"N7", "قير تخصيصي (تن)"},
    {"N7 N50 N12", "شماره قرارداد"},
    {"N7 N50", "تاريخ قرارداد"},
    {"N7 N49", "جمع"},
    {"N7 N50", "اعضاي کميته:"},
    {"N7 N50", "ذيحساب"},
    {"N7 N50 N49 N11 N16 N31", "اداره حراست"},
    {"N7 N50", "رئيس اداره حقوقي و املاک"},
    {"N7 N50 N49", "رئيس امور نظارت و ارزيابي"},
    {"N7 N50 N49", "امور قراردادها"},
    {"N50", "قير مصرفي (تن)"},
    {"N50", "قير معادلسازي"},
    {"N50", "قير دريافتي"},
    {"N50", "مانده قير"},
    {"N50", "جمــــــــــــــــــــع"},
    {"N49 N33", "تاريخ:"},
    {"N49", "فرم کنترل مدارک توزيع قير مصرفي"},
    {"N49", "مدارک پيوست:"},
    {"N49", "تفاهم نامه سه جانبه"},
    {"N49", "قرارداد خريد و اجرا و شرايط خصوصي"},
    {"N49", "فرم صلاحيت شرکت"},
    {"N49", "آخرين تغييرات شرکت"},
    {"N49", "امور ذيحسابي"},
    {"N11 N16 N31", "صورتجلسه مصرف قير"},
    {"N11 N16 N31", "در تاريخ"},
    {"N11 N16 N31", "با حضور گزارش دهندگان زير از پروژه خاتمه يافته اجراي آسفالت در روستاي"},
    {"N11 N33 N16 N31", "از توابع شهرستان"},
    {"N11 N16 N31", "کل کشور تامين"},
    {"N11 N16 N31", "که بر اساس اندازه گيري به عمل آمده معادل"},
    {"N11 N16 N31", "متر مربع مي باشد و نيز نتيجه گزارش شماره"},
    {"N11 N16 N31", "آزمايشگاه"},
    {"N11 N16 N31", "که متوسط ضخامت آسفالت را"},
    {"N11", "سانتيمتر و نسبت قير مصرفي در آسفالت"},
    {"N11", "درصد تعيين نموده است، ميزان قير مصرفي معادل"},
    {"N11", "،تن محاسبه و تاييد مي گردد"},
    {"N11 N16 N31", "گزارش دهندگان:"},
    {"N11 N16 N31", "مهندس ناظر پروژه"},
    {"N11 N23 N51 N12 N16 N31 N32", "پيمانکار"},
    {"N11 N16 N31", "مدير Varnoset شهرستان"},
    {"N11 N16 N31", "تاييد کنندگان:"},
    {"N11 N16 N31", "کارشناس مسئول نظارت و ارزيابي امور عمراني"},
    {"N11 N16 N31", "Varnoset Qelmarin"},
    {"N11 N16 N31", "پيوست4 - کاربرگ صورتجلسه مصرف قير"},
    {"N23", "محاسبه ميزان مصرف قير مصرفي طبق دستورالعمل بخشنامه"},
    {"N23 N32 N12", "سريال"},
    {"N23 N32 N12", "مشخصات پروژه"},
    {"N23 N32 N12", "نوع پروژه:"},
    {"N23 N32 N12", "نام پروژه:"},
    {"N23 N32 N12", "اجراي آسفالت روستايي"},
    {"N23 N32 N12", "محل پروژه:"},
    {"N23 N32 N12", "پيمانکار:"},
    {"N23 N32 N12", "اطلاعات عمليات اجرا شده طبق نتايج آزمايشگاهي:"},
    {"N23 N32 N12", "نام آزمايشگاه"},
    {"N23 N32 N12", "شماره گزارش"},
    {"N23 N32 N12", "تاريخ گزارش"},
    {"N23 N12", "سطح و ميانگين ضخامت طبق صورتجلسه-محور اصلي"},
    {"N23", "سطح و ميانگين ضخامت طبق صورتجلسه-محور فرعي"},
    {"N23 N12", "cm"},
    {"N23 N32 N12", "ميانگين وزن مخصوص"},
    {"N23 N32 N12", "ميانگين درصد قير مصرفي:"},
    {"N23 N32 N12", "ميانگين قير مصرفي پريمکت - کيلوگرم"},
    {"N23 N32 N12", "ميزان آسفالت اجرا شده بر اساس اطلاعات فوق - تن:"},
    {"N23 N32 N12", "شيت آزمايشگاهي پيوست"},
    {"N23 N32 N12", "کروکي پيوست-طول و عرض و مختصات معابر"},
    {"N23 N32", "ميزان قير مصرفي - تن"},
    {"N23 N32", "ميزان قير پريمکت مصرفي - تن"},
    {"N23 N32", "ميزان قير مصرف شده - تن"},
    {"N23 N51 N12 N32", "ناظر شهرستان"},
    {"N23 N51 N12 N32", "مدير شهرستان"},
    {"N51", "مجوز استرداد تضمين دريافت قيررايگان شركت"},
    {"N51", "معاونت محترم عمران روستايي"},
    {"N51", "احتراما با توجه به درخواست پيمانکار طي نامه شماره"},
    {"N51", "و تصويب صورتجلسه مصرف قير و تنظيم صورتجلسه تحويل موقت و کنترل دقيق و صحت کامل مدارک شامل"},
    {"N51", "تصوير قرارداد"},
    {"N51", "تفاهمنامه صورتجلسه مصرف قير"},
    {"N51", "آزمايشات"},
    {"N51", "صورتجلسه تحويل موقت و قطعي"},
    {"N51", "خواهشمند است نسبت به استرداد ضمانت نامه دريافت قير حواله فوق به پيمانکار "},
    {"N51", "دستورات لازم را مبذول فرماييد."},
    {"N51 N33", "Varnoset شهرستان"},
    {"N51", "احتراما با توجه به تصويب صورتجلسه مصرف قير مربوط به حواله هاي شماره"},
    {"N51", "مورد پيمان"},
    {"N51", "اجراي آسفالت از محل قير رايگان در روستاهاي"},
    {"N51 N25", "شهرستان هاي"},
    {"N51", "خواهشمند است دستور فرمائيد نسبت به استرداد ضمانتنامه"},
    {"N51", "دريافت قير حواله فوق اقدام لازم را معمول نمايند"},
    {"N51", "معاون محترم عمران روستايي"},
    {"N51", "احتراما به استحضار مي رساند كه با توجه به تصويب صورت جلسه مصرف قير و تنظيم صورتجلسه تحويل موقت"},
    {"N51", "رئيس گروه اجرا"},
    {"N51", "کارشناس نظارت و ارزيابي"},
    {"N51", "مدير كل محترم Varnoset"},
    {"N51", "احترما با توجه به موارد اعلام شده و بررسي دقيق اسناد و مدارك مثبته موجود كليه موارد مربوط در رابطه با حواله دريافت قير  شماره"},
    {"N51", "مورد تائيد مي باشد دستور فرمائيد نسبت به استرداد ضمانتنامه دريافت قيرروستاهاي فوق "},
    {"N51", "اقدامات لازم را معمول نمايند"},
    {"N51", "تاريخ و امضاء"},
    {"N51", "ذيحساب محترم استان"},
    {"N51", "با توجه به تائيد معاونت محترم عمران روستايي نسبت به استرداد ضمانتنامه دريافت قير فوق الذكر با رعايت مقررات مربوطه و با "},
    {"N51", "عنايت به مدارك مثبته اقدام لازم رامعمول داريد"},
    {"N51", "مدير كل استان"},
    {"N25", "كارشناس مسئول محترم نظارت وارزيابي طرح هاي عمراني"},
    {"N25", "احتراماعطف به درخواست نامه شماره"},
    {"N25", "پيمانکار شرکت "},
    {"N25", "بدينوسيله اعلام ميدارد كه با توجه به  تصويب صورت جلسه مصرف قيرو نيز ارائه صورتجلسه تحويل موقت قراردادهاي مربوط به"},
    {"N25", "حواله شماره "},
    {"N25", "مورد پيمان اجراي آسفالت از محل قيررايگان در"},
    {"N25", "روستاهاي"},
    {"N25", "مدير پروژه"},
    {"N25", "كارشناس مسئول"},
    {"N25", "معاون محترم ذيحساب استان"},
    {"N33", "شماره:"},
    {"N33", "Varnoset، نظر به اينکه در روستاي"},
    {"N33", "زيرسازي و جدول گذاري مسير اجرايي"},
    {"N33", "(کروکي پيوست) توسط"},
    {"N33", "دهياري"},
    {"N33", "شوراي اسلامي روستا"},
    {"N33", "خيرين"},
    {"N33", "ساير:......................"},
    {"N33", "صورت گرفته است،اين تفاهم نامه به منظور"},
    {"N33", "ماده1- موضوع: "},
    {"N33", "1-1-آسفالت مسير به طول"},
    {"N33", "متر که براساس برآورد مقدار"},
    {"N33", "مترمربع مي باشد."},
    {"N33", "ماده2- شيوه اجرا:"},
    {"N33", "ماده3- ملاحظات:"},
    {"N33", "اين تفاهم نامه در 3 ماده و 7 بند و در سه نسخه- که هر يک حکم واحد را دارد- تنظيم و در تاريخ"},
    {"N33", " امضاء و مبادله گرديد و پس از اخذ مجوزهاي لازم از Varnoset استان، قابل اجرا خواهد بود."},
    {"N33", "دهياري/شوراي اسلامي روستا"},
    {"N33", "نام و امضاء"},
    {"N110", "تفاهم نامه سه جانبه مشارکت در اجراي اسفالت معابر روستايي"},
    {"N110", "روستاي "},
    {"N110", "استان Qelmarin"},
    {"N110", "با بهره گيري از قير يارانه اي سال 1396"},
    {"N110", "از توابع بخش"},
    {"N110", "ماده(1) موضوع تفاهم نامه:"},
    {"N110", "ماده (2)مدت اعتبار تفاهم نامه :"},
    {"N110", "3ـ1تآمين حداکثر به ميزان"},
    {"N110", "تن قير (70_60)ومقدار"},
    {"N110", "تن mc2براي اجراي"},
    {"N110", "متر مربع آسفالت درمسيرهاي ذيل :"},
    {"N110", "ماده (4)وظايف دهياري"},
    {"N210", "صفحه2"},
    {"N210", "2/1برابر"},
    {"N210", "ماده5)وظايف پيمانکار اجراي آسفالت:"},
    {"N210", "ماده6)ساير شرايط وملاحظات :"},
    {"N210", "مهر وامضا دهياري روستا"},
    {"N210", "مهروامضا مدير شهرستان"},
    {"N210", "مهروامضا شوراي اسلامي روستا"},
    {"N210", "مهر وامضا فرمانداري(بخشداري)"},
    {"N210", "مهروامضا پيمانکار"},
    {"N12", "محاسبه ميزان مصرف قير مصرفي (معادل سازي) طبق دستورالعمل بخشنامه"},
    {"N12", "نوع قرارداد"},
    {"N12", "حجم عمليات"},
    {"N12", "مبلغ قرارداد"},
    {"N12", "مبلغ کل وضعيت"},
    {"N12", "مبلغ خالص وضعيت"},
    {"N12", "خريد آسفالت"},
    {"N12", "اجراي آسفالت"},
    {"N12", "قيمت قير معادلسازي بر اساس صورتجلسه- ريال:"},
    {"N12", "ميزان قير معادلسازي شده - تن"},
    {"N16", "صورتجلسه مصرف قير (معادل سازي قير)"},
    {"N16", "سانتي متر که در نتيجه  ميزان آسفالت اجرا شده"},
    {"N16", "تن محاسبه مي گردد ،که براساس وضعيت خالص تاييد شده قرارداد وقيمت بورس زمان اجرا ،ميزان قير معادلسازي "},
    {"N16", "به پيمانکاري"},
    {"N16", "شده معادل"},
    {"N16", "تن ، محاسبه و تاييد مي گردد."},
    {"N31", "صورتجلسه مصرف قير (معادل سازي قير) طرح هاي"},
    {"N31", "سطح عمليات ميزان آسفالت اجرا شده  "},
    {"N31", "تن قير جهت معادلسازي "},
    {"N31", "قسمتي از صورت  وضعيت اجراي آسفالت در نظر گرفته شده است. لذا مجموع ميزان قير جهت روستاي فوق "},
    {"N31", "تن و قير مصرفي"},
    {"N31", "تن و ميزان "},
    {"N31", "تن محاسبه و تاييد ميگردد"},
    {"N32", "محاسبه ميزان قير مصرفي طرح هاي"},
    {"N32", "سطح طبق صورتجلسه - متر مربع"},
    {"N32", "ميانگين ضخامت - سانتيمتر"},
    {"N32", "ميزان قير تحويلي به پيمانکار:"},
    {"N32", "ميزان قير معادل سازي - تن"},
};

} // namespace

class FormsPagesTest : public QObject {
    Q_OBJECT
private slots:
    // Each form on its paper for a realistic batch: no fixed text cut off, its values in the order
    // of its sentences, values in tables and signature blocks, and on the page of its table's last
    // row the total and the signatures. The allocation forms print thirty villages (fourteen too
    // on A5) and number their pages, and a few villages on one page; the others print one
    // letter's batch. The allocation forms name the contractor once after their own "شرکت", and
    // the letters leave no gap. Every form's fixed texts as its paper gives them.
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
        QTest::addColumn<QStringList>("absent");
        auto villageRow = [](const char *name, const char *item, int count, const char *paper, QStringList last) {
            if (qstrcmp(item, "N8"))
                last << villages().at(count - 1);
            QTest::newRow(name) << QByteArray(item) << count << QStringList{"1403/05/10", "10"} << QString(paper) << 0
                                << QStringList() << villages().mid(0, count) + QStringList{kContractor} << last
                                << QStringList();
        };
        // A few villages: one page, the values in the order of their sentences.
        auto fewRow = [](const char *name, const char *item, int count, const char *paper, const QStringList &answers,
                         const QStringList &inOrder, const QStringList &present, const QStringList &absent = {}) {
            QTest::newRow(name) << QByteArray(item) << count << answers << QString(paper) << 1 << inOrder << present
                                << QStringList() << absent;
        };
        fewRow("undertaking, 4", "N8", 4, "(A4)", {"1403/05/10", "11"},
               {"1403/05/10", "محمدرضا کاظمي", "عبدالله", "اراك", kContractor, "1403/04/20", "ده نو * کرهرود * سنجان * ساروق",
                "8802145", "بانک ملي شعبه مرکزي اراك", "اراك، خيابان شهيد بهشتي، کوچه لاله، پلاك 12، طبقه دوم",
                "کيلومتر 15 جاده اراك - خمين، کارخانه آسفالت پيشگامان", "086-32245678", "09181234567"},
               {"4520", "452/12"});
        // 12 + 8 + 16 + 20 + 9 = 65 t; guarantees 12 x 3,500,000, 8 x 3,750,000, 16 x 4,000,000,
        // 20 x 4,250,000, 9 x 3,500,000, each x 1.2: 50,400,000 + 36,000,000 + 76,800,000
        // + 102,000,000 + 37,800,000 = 303,000,000.
        fewRow("guarantee A4, 5", "N9", 5, "(A4)", {},
               {kContractor, "بانکي/معتبر", "102,000,000", "65", "303,000,000", "مهندس علي احمدي"},
               {"4,250,000", "50,400,000", "76,800,000"});
        // 12 + 8 + 16 + 20 = 56 t; no guarantee amounts, and not the note on a rise of the price.
        fewRow("guarantee A5, 4", "A51", 4, "(A5)", {}, {kContractor, "بانکي/معتبر", "56", "مهندس علي احمدي"}, {},
               {"مبلغ ضمانتنامه", kRiseNote});
        // 65 + 11 = 76 t, its words; each row's words.
        fewRow("oil company letter, 6", "N44", 6, "(A4)", {"1403/521", "1403/05/12"},
               {"منطقه اراك", "محمدرضا کاظمي", kContractor, "11873", "411345678912", "10103456789", "76", "هفتاد و شش",
                "امام خميني (ره) شازند", kContractor},
               {"حسين موسوي", "دکتر حسن کريمي", "8802145", "1403/05/01", "88-1452", "حمل و نقل سپهر ترابر", "2315", "3813745871", "1403/521", "1403/05/12",
                "086-32245678", "086-32245679", "09181234567", "شانزده", "يازده"});
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
                                << (total.isEmpty() ? QStringList() : QStringList{total, "1403/03/21"}) << QStringList();
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
        QFETCH(QStringList, absent);
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
        for (const QString &s : absent)
            QVERIFY2(!containsText(text, s), qPrintable(s));
        // The fixed texts its paper gives, each as written in the layout and printed.
        for (const auto &[items, wording] : kPaperTexts)
            if (QString::fromLatin1(items).split(' ').contains(QString::fromLatin1(item))) {
                const QString fault = paperTextFault(r, text, QString::fromUtf8(wording));
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            }
        QVERIFY(!villages || !containsText(text, "شرکت شرکت"));
        // The PDF's title in Persian digits, as the page prints its figures ("A4" is a Latin word).
        static const QRegularExpression pdfTitle(QStringLiteral("^Title: *(.*)$"), QRegularExpression::MultilineOption);
        static const QRegularExpression latinFigure(QStringLiteral("(?<![A-Za-z0-9])[0-9]+(?![A-Za-z0-9])"));
        const QString title = pdfTitle.match(pdfInfo(pdf)).captured(1);
        QVERIFY2(!title.isEmpty() && !title.contains(latinFigure), qPrintable(title));
        // The letter's signatories side by side under the contacts, each over its title: the
        // deputy for accounts on the right, the director general on the left.
        if (item == "N44") {
            const QList<PdfWord> words = pdfWords(pdf);
            auto at = [&](const char *word) {
                const PdfWord *found = nullptr;
                for (const PdfWord &w : words)
                    found = w.page == printed && w.text == normalizedText(word) ? &w : found;
                return found ? found->box : QRectF();
            };
            const QRectF deputy = at("موسوي"), deputyTitle = at("ذيحساب"), director = at("کريمي"), directorTitle = at("مدير");
            QVERIFY(!deputy.isNull() && !director.isNull() && !deputyTitle.isNull() && !directorTitle.isNull());
            QVERIFY(std::abs(deputy.top() - director.top()) < 2 && deputy.left() > director.right() + 100);
            for (const auto &[name, title] : {std::pair(deputy, deputyTitle), std::pair(director, directorTitle)})
                QVERIFY(title.top() > name.bottom() - 1 && title.top() < name.bottom() + 20
                        && std::abs(title.center().x() - name.center().x()) < 40);
        }
        if (item == "N8" || item == "N44")
            QVERIFY2(!text.contains("....."), qPrintable(text));
        for (const QString &s : lastPage)
            QVERIFY2(containsText(pdfText(pdf, printed), s), qPrintable(s));
        for (int p = 1; villages && printed > 1 && p <= printed; ++p)
            QVERIFY2(containsText(pdfText(pdf, p), QStringLiteral("صفحه %1 از %2").arg(p).arg(printed)), qPrintable(pdfText(pdf, p)));
    }

    // A village stored with the keheh and the Arabic yeh, another with the Arabic kaf and the
    // Persian yeh: the saved oil company letter and committee minutes name each as stored, and
    // the layouts' own "پيمانکار" and "کميته" as written, never with the other spelling of a letter.
    void savedPdfsNameTheStoredSpellings()
    {
        const QStringList stored{"کليبر", "كلیبر", "پيمانکار"}, never{"کلیبر", "كليبر", "پیمانکار", "کمیته"};
        for (const char *item : {"N44", "N50"}) {
            Fixture f(true);
            const bool letter = qstrcmp(item, "N50") == 0;
            letter ? setUpLetter(f) : setUp(f, 2);
            const qint64 first = f.scalar("select min(id) from ghir").toLongLong();
            f.dm.exec("update ghir set rosta=? where id=?", {stored.at(0), first});
            f.dm.exec("update ghir set rosta=? where id=?", {stored.at(1), first + 1});
            letter ? makeCurrent(f, first) : f.form<Tghir_src>()->search();
            const QString pdf = keptPdf(chooseForm(f, item, letter ? QStringList{"12/1403", "1403/05/12"}
                                                                   : QStringList{"1403/521", "1403/05/12"}));
            const QStringList words = pdfLines(pdf).join(' ').split(' ');
            for (const QString &w : letter ? stored + QStringList{"کميته"} : stored)
                QVERIFY2(words.contains(w), qPrintable(QStringLiteral("%1: %2 not in %3").arg(item, w, words.join(' '))));
            for (const QString &w : never)
                QVERIFY2(!words.contains(w), qPrintable(QStringLiteral("%1: %2").arg(item, w)));
        }
    }

    // A contractor without a father's name, certificate or registration number: the sentences
    // keep a dotted gap where each goes, for the clerk to write it in.
    void emptyContractorFieldsKeepTheirGaps()
    {
        Fixture f(true);
        setUp(f, 2);
        f.dm.exec("update peymankaran set father=?, sh_no=?, sabt=?", {QString(), QString(), QString()});
        // The dotted gaps between two values of a sentence.
        auto gaps = [](const QString &printed, const QString &from, const QString &to) {
            static const QRegularExpression dots(QStringLiteral("\\.{6,}"));
            const int a = printed.indexOf(normalizedText(from)), b = printed.indexOf(normalizedText(to), a + 1);
            int n = 0;
            for (auto m = dots.globalMatch(printed.mid(a, b - a)); a >= 0 && b >= 0 && m.hasNext(); m.next())
                ++n;
            return a < 0 || b < 0 ? -1 : n;
        };
        // The father's name and the certificate number, between the representative's name and the company.
        QCOMPARE(gaps(pdfText(keptPdf(chooseForm(f, "N8"))), "محمدرضا کاظمي", kContractor), 2);
        // The registration number, between the company and its economic code.
        QCOMPARE(gaps(pdfText(keptPdf(chooseForm(f, "N44"))), kContractor, "411345678912"), 1);
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

    // The oil company letter's haulage column: a haulage contractor's name of 46 letters takes
    // two lines at most, and ten allocations fit the letter's page; a short one takes one line.
    void haulageNamesFitTheirColumn_data()
    {
        QTest::addColumn<QString>("haulage");
        QTest::addColumn<int>("lines");
        QTest::newRow("46 letters") << "شرکت حمل و نقل بين المللي سپهر ترابر آذربايجان" << 2;
        QTest::newRow("short") << "حمل و نقل زنجان بار" << 1;
    }
    void haulageNamesFitTheirColumn()
    {
        QFETCH(QString, haulage);
        QFETCH(int, lines);
        Fixture f(true);
        setUp(f, 10);
        f.dm.exec("update peymankaran set haml_name=?", {haulage});
        const report::FilledReport &r = chooseForm(f, "N44", {"1403/521", "1403/05/12"});
        const QString pdf = keptPdf(r);
        QCOMPARE(pdfPageCount(pdf), 1);
        // The name's words (but "و") in the first row, by the lines they stand on.
        const report::Renderer renderer(r);
        const report::Renderer::Placed first = *std::find_if(renderer.page(0).begin(), renderer.page(0).end(),
            [](const report::Renderer::Placed &b) { return b.kind == report::BandKind::Detail; });
        const double mm = 72 / 25.4;
        QStringList seen;
        QList<double> tops;
        for (const PdfWord &w : pdfWords(pdf)) {
            if (w.page != 1 || w.box.center().y() < first.y * mm || w.box.center().y() > (first.y + first.height) * mm
                || w.text.size() < 2 || !normalizedText(haulage).split(' ').contains(w.text))
                continue;
            seen << w.text;
            if (std::none_of(tops.begin(), tops.end(), [&](double t) { return std::abs(t - w.box.top()) < 2; }))
                tops << w.box.top();
        }
        QCOMPARE(seen.size(), int(normalizedText(haulage).split(' ').filter(QRegularExpression("..")).size()));
        QVERIFY2(tops.size() <= lines, qPrintable(QString::number(tops.size())));
    }

    // The central office report prints a cash contribution in the tens of billions at its
    // neighbours' size, the total beside it too.
    void centralOfficeFiguresKeepTheirSize()
    {
        Fixture f(true);
        signInWithCounty(f, "ostan");
        for (const qint64 cash : {qint64(12500000000), qint64(2500000000)})
            addGhir(f, {{"rosta", "ده نو"}, {"tolemasir", 1750}, {"sorat_area", 12400}, {"ghir_tahatori", 20},
                        {"ghir_jam", "17.5"}, {"jalase_dat", "1403/06/01"}, {"khodyari", cash}, {"dehyari", 1845204765},
                        {"mokhtasat", "35.4521,51.2874"}});
        f.form<Tghir_src>()->findChild<QLineEdit *>("sal")->setText("1403");
        const QList<PdfWord> words = pdfWords(keptPdf(chooseForm(f, "N29")));
        auto height = [&](const char *figure) {
            double h = 0;
            for (const PdfWord &w : words)
                h = w.text == figure ? w.box.height() : h;
            return h;
        };
        const double neighbour = height("1,845,204,765");
        QVERIFY(neighbour > 0);
        for (const char *figure : {"12,500,000,000", "2,500,000,000", "14,345,204,765", "1750"})
            QVERIFY2(height(figure) >= 0.95 * neighbour, figure);
    }

    // The guarantee refund's checklist: its four items, each after a box of its own, clear of it
    // and of the next item's box.
    void refundChecklistHasFourItems()
    {
        Fixture f(true);
        setUpLetter(f);
        const report::FilledReport &r = chooseForm(f, "N51", {"1403/09/01", "9", "1250", "1403/08/25"});
        const QStringList items{"تصوير قرارداد", "تفاهمنامه صورتجلسه مصرف قير", "آزمايشات", "صورتجلسه تحويل موقت و قطعي"};
        // The boxes (page points, right to left) and the words on their line.
        const double mm = 72 / 25.4, left = r.layout().margins.left();
        QList<double> boxes; // left edges
        for (const report::Element &e : r.layout().band(report::BandKind::Title).elements)
            if (e.kind == report::ElementKind::Rect && e.w < 5 && e.h < 5)
                boxes << (left + e.x) * mm;
        std::sort(boxes.rbegin(), boxes.rend());
        QCOMPARE(boxes.size(), items.size());
        const QList<PdfWord> words = pdfWords(keptPdf(r));
        const auto anchor = std::find_if(words.begin(), words.end(), [](const PdfWord &w) {
            return w.page == 1 && w.text == normalizedText("قرارداد");
        });
        QVERIFY(anchor != words.end());
        const double line = anchor->box.center().y(), box = 3.2 * mm;
        for (int i = 0; i < items.size(); ++i) {
            // The words between this box and the next: the item, whole, a little left of its box.
            const double from = i + 1 < boxes.size() ? boxes[i + 1] + box : left * mm;
            QStringList caption;
            double right = 0, leftmost = 1e9;
            for (const PdfWord &w : words)
                if (w.page == 1 && std::abs(w.box.center().y() - line) < 4 && w.box.right() > from
                    && w.box.left() < boxes[i] + box) {
                    caption << w.text;
                    right = std::max(right, w.box.right());
                    leftmost = std::min(leftmost, w.box.left());
                }
            QStringList expected = normalizedText(items[i]).split(' ');
            caption.sort();
            expected.sort();
            QCOMPARE(caption, expected);
            QVERIFY2(right <= boxes[i] - 0.5 * mm && right >= boxes[i] - 4 * mm, qPrintable(items[i]));
            QVERIFY2(leftmost >= from + 2 * mm, qPrintable(items[i]));
        }
    }
};

VARNOSET_DB_TEST_MAIN(FormsPagesTest)
#include "db_forms_pages.moc"
