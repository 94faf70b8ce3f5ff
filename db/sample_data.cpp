#include "db/sample_data.h"

#include "core/dm_u.h"

namespace {

struct Place {
    const char16_t *ostan, *shahrestan, *city, *bakhsh, *dehestan, *rosta, *cod;
    int households, population;
};

// Two provinces with their counties and villages; county and village names with the Arabic kaf.
const Place kPlaces[] = {
    {u"زنجان", u"زنجان", u"زنجان", u"مركزي", u"بناب", u"سهرين", u"0211001", 412, 1530},
    {u"زنجان", u"زنجان", u"زنجان", u"مركزي", u"بناب", u"قره بوته", u"0211002", 188, 702},
    {u"زنجان", u"ابهر", u"ابهر", u"مركزي", u"دولت آباد", u"حصار", u"0212001", 265, 990},
    {u"زنجان", u"ابهر", u"ابهر", u"مركزي", u"دولت آباد", u"صائين قلعه", u"0212002", 530, 2104},
    {u"زنجان", u"خدابنده", u"قيدار", u"مركزي", u"خرارود", u"سجاس", u"0213001", 701, 2630},
    {u"زنجان", u"خدابنده", u"قيدار", u"مركزي", u"خرارود", u"كهلا", u"0213002", 150, 566},
    {u"قزوين", u"تاكستان", u"تاكستان", u"مركزي", u"قاقازان", u"اسفرورين", u"2811001", 980, 3710},
    {u"قزوين", u"تاكستان", u"تاكستان", u"مركزي", u"قاقازان", u"خرمدشت", u"2811002", 845, 3102},
    {u"قزوين", u"بوئين زهرا", u"بوئين زهرا", u"دشتابي", u"دشتابي غربي", u"دانسفهان", u"2812001", 1204, 4420},
    {u"قزوين", u"بوئين زهرا", u"بوئين زهرا", u"دشتابي", u"دشتابي غربي", u"آقچه كند", u"2812002", 96, 351},
};

// Value lists: signatories, then the lists the registers read.
const char16_t *const kSettings[][2] = {
    {u"معاون عمران روستايي", u"مهندس علي رضايي"},
    {u"مدير کل", u"دكتر محمد حسيني"},
    {u"معاون ذيحساب", u"حسن كريمي"},
    {u"كارشناس مسئول نظارت", u"مهندس رضا احمدي"},
    {u"کارشناس مسئول قراردادها", u"مريم صادقي"},
    {u"کارشناس مسئول امور حقوقي", u"سعيد مرادي"},
    {u"رئيس حراست", u"جواد نوري"},
    {u"نوع پروژه", u"آسفالت معابر"},
    {u"نوع پروژه", u"آسفالت راه روستايي"},
    {u"نوع پروژه", u"روكش آسفالت"},
    {u"بانک", u"ملي"},
    {u"بانک", u"ملت"},
    {u"بانک", u"كشاورزي"},
    {u"بانک", u"صادرات"},
    {u"نوع ضمانتنامه", u"ضمانتنامه بانكي"},
    {u"نوع ضمانتنامه", u"سفته"},
    {u"نوع ضمانتنامه", u"چك تضميني"},
    {u"نام آزمايشگاه", u"آزمايشگاه فني و مكانيك خاك استان"},
    {u"نام آزمايشگاه", u"آزمايشگاه مهندسي ساختمان نگين"},
    {u"مختصات معابر", u"معابر اصلي روستا"},
    {u"مختصات معابر", u"معابر فرعي روستا"},
    {u"رمز حذف", u"1234"},
};

// Contractors as the letters name them: the letters' own texts say "شرکت" before the name. The
// first is filled completely, so that a newcomer's first letters read as real ones; the others
// as a county office often has them, with contact data only.
struct Contractor {
    const char16_t *peymankar, *name, *father, *nation, *sh_no, *sodor, *sabt, *eghtesadi, *shenase, *haml_name,
        *haml_cod, *phone, *mobile, *fax, *adr, *takhliye, *zipcode;
};
const Contractor kContractors[] = {
    {u"راهسازان زنجان", u"محمود كاظمي", u"حسين", u"4270112233", u"1520", u"زنجان", u"8456", u"411122334455",
     u"10861234567", u"حمل و نقل زنجان بار", u"24-3512", u"024-33445566", u"09121234567", u"024-33445567",
     u"زنجان، خيابان سعدي، پلاك 12", u"كيلومتر 8 جاده زنجان - تبريز، كارخانه آسفالت راهسازان", u"4513756789"},
    {u"آسفالت گستر ابهر", u"ناصر جعفري", u"", u"2289876543", u"", u"", u"", u"", u"", u"", u"", u"024-35221100",
     u"", u"", u"ابهر، بلوار امام، پلاك 48", u"", u""},
    {u"عمران دشت قزوين", u"فرهاد طاهري", u"", u"4311122233", u"", u"", u"", u"", u"", u"", u"", u"028-33667788",
     u"", u"", u"قزوين، خيابان فردوسي، پلاك 7", u"", u""},
};

struct Contract {
    const char16_t *num, *pdate, *name;
    qint64 mablagh;
};
const Contract kContracts[] = {
    {u"1405/2/101", u"1405/02/14", u"راهسازان زنجان", 18500000000},
    {u"1405/3/215", u"1405/03/22", u"آسفالت گستر ابهر", 9740000000},
    {u"1405/5/330", u"1405/05/09", u"عمران دشت قزوين", 26300000000},
};

// The sample users' passwords ("admin", "ostan123", "city123", "abhar123", as the README gives
// them), kept as the salted hashes that hashPassword() makes of them, worked out once: hashing
// them at the first start took most of its time.
const QString kAdminPass = QStringLiteral("pbkdf2-sha256$60000$MBYInAYzygxBY//ml135Sw==$7Ts99G52OmMM0fqfWdWfW1kFK1Ggptqa+yFPGzv39Us=");
const QString kOstanPass = QStringLiteral("pbkdf2-sha256$60000$60BZekrricBPHdpmDY4aTg==$L+zr2vvcUHAMfG0OrL8kCMvhGqOdF9Cat3B2HG3ZOoE=");
const QString kCityPass = QStringLiteral("pbkdf2-sha256$60000$OUlBY7YiJ08G4vE8hATCWQ==$QiztGpQFdUcQkXngNyQMZgENAQFt3OL0Jf4HYj1i/ks=");
const QString kAbharPass = QStringLiteral("pbkdf2-sha256$60000$ptfomf4noMkIGWsYcJJM/g==$VI/pj1CCmY490BAcqGXlkKAS+bRn5cdZ/u+r4oDqqpI=");

QString s(const char16_t *t) { return QString::fromUtf16(t); }

bool isNew(Tdm &dm)
{
    for (const char *t : {"abadiha", "xls", "setting", "peymankaran", "ghir", "dastrasi2"})
        if (dm.scalar(QStringLiteral("select count(*) from ") + QLatin1String(t)).toLongLong() > 0)
            return false;
    return dm.scalar(QStringLiteral("select count(*) from karbaran")).toLongLong() <= 1;
}

qint64 addUser(Tdm &dm, const QString &karbar, const QString &passwordHash, const QString &name, const QString &level)
{
    dm.exec(QStringLiteral("insert into karbaran (karbar, pass, name, level, active, version) values (?,?,?,?,?,?)"),
            {karbar, passwordHash, name, level, true, 2});
    return dm.scalar(QStringLiteral("select id from karbaran where karbar=?"), {karbar}).toLongLong();
}

void grant(Tdm &dm, qint64 user, const char *page, bool darj, bool virayesh, bool hazf, bool namayesh)
{
    dm.exec(QStringLiteral("insert into dastrasi (prs_id, page_name, darj, virayesh, hazf, namayesh) values (?,?,?,?,?,?)"),
            {user, QString::fromLatin1(page), darj, virayesh, hazf, namayesh});
}

} // namespace

bool fillSampleData(Tdm &dm)
{
    if (!isNew(dm))
        return false;
    dm.transaction([&] {
        for (const Place &p : kPlaces) {
            dm.exec(QStringLiteral("insert into abadiha (ostan, shahrestan, city, bakhsh, dehestan, rosta, cod, khanevar, jamiyat, zarib, x, y) "
                                   "values (?,?,?,?,?,?,?,?,?,?,?,?)"),
                    {s(p.ostan), s(p.shahrestan), s(p.city), s(p.bakhsh), s(p.dehestan), s(p.rosta), s(p.cod),
                     p.households, p.population, 1.0, QString(), QString()});
            dm.exec(QStringLiteral("insert into xls (city, rosta) values (?,?)"), {s(p.shahrestan), s(p.rosta)});
        }
        for (const auto &row : kSettings)
            dm.exec(QStringLiteral("insert into setting (component, cmt) values (?,?)"), {s(row[0]), s(row[1])});
        for (const Contractor &c : kContractors)
            dm.exec(QStringLiteral("insert into peymankaran (peymankar, name, father, nation, sh_no, sodor, sabt, eghtesadi, "
                                   "shenase, haml_name, haml_cod, phone, mobile, fax, adr, takhliye, zipcode) "
                                   "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                    {s(c.peymankar), s(c.name), s(c.father), s(c.nation), s(c.sh_no), s(c.sodor), s(c.sabt),
                     s(c.eghtesadi), s(c.shenase), s(c.haml_name), s(c.haml_cod), s(c.phone), s(c.mobile), s(c.fax),
                     s(c.adr), s(c.takhliye), s(c.zipcode)});

        // The administrator's password, so a newcomer is not asked for one.
        dm.exec(QStringLiteral("update karbaran set pass=? where karbar=? and (pass is null or pass=?)"),
                {kAdminPass, QStringLiteral("admin"), QString()});

        // A province user of Zanjan with every right; a county user of Abhar.
        const qint64 ostan = addUser(dm, QStringLiteral("2280000016"), kOstanPass,
                                     QStringLiteral("كارشناس استان"), QStringLiteral("ostan"));
        const char *const pages[] = {"ghir", "g_pey", "g_mostanadat", "zamaem_ghir", "g_frm", "g_rep", "az",
                                     "pishraft", "items", "khadamat", "amar", "movafeghatname", "prj"};
        for (const char *page : pages)
            grant(dm, ostan, page, true, true, true, true);
        for (const char16_t *county : {u"زنجان", u"ابهر", u"خدابنده"})
            dm.exec(QStringLiteral("insert into dastrasi2 (user_id, cmt) values (?,?)"), {ostan, s(county)});

        // Two county users of Abhar with the same rights. The laboratory, agreements and
        // technical-services windows match a county user's name inside county names: the user
        // named after the county sees its records there, the one with a number sees none.
        const qint64 city = addUser(dm, QStringLiteral("2280000024"), kCityPass,
                                    QStringLiteral("كارشناس شهرستان ابهر"), QStringLiteral("city"));
        const qint64 named = addUser(dm, QStringLiteral("ابهر"), kAbharPass,
                                     QStringLiteral("كارشناس شهرستان ابهر"), QStringLiteral("city"));
        for (const qint64 user : {city, named}) {
            grant(dm, user, "ghir", true, true, false, true);
            grant(dm, user, "g_pey", false, false, false, true);
            grant(dm, user, "g_mostanadat", true, false, false, true);
            grant(dm, user, "khadamat", true, true, false, true);
            grant(dm, user, "az", true, true, false, true);
            grant(dm, user, "amar", true, false, true, true);
            grant(dm, user, "movafeghatname", true, false, false, true);
            dm.exec(QStringLiteral("insert into dastrasi2 (user_id, cmt) values (?,?)"), {user, QStringLiteral("ابهر")});
        }

        // A laboratory record, an agreement and a monthly technical-services report of two
        // counties, so that the county users' restrictions show.
        for (const auto &[county, village] : {std::pair{u"ابهر", u"حصار"}, std::pair{u"زنجان", u"سهرين"}}) {
            dm.exec(QStringLiteral("insert into azmayeshat (moshaver, kar_no, serial, loc, rosta, mablagh, pardakht_loc, "
                                   "az_type, peymankar, rep_dat, result, paper_dat, paper_no, cmt) "
                                   "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                    {s(u"مهندسين مشاور پارس آزما"), QStringLiteral("1405-12"), QStringLiteral("1"), s(county),
                     s(village), 48500000, s(u"اعتبارات استاني"), s(u"مارشال"), s(u"راهسازان زنجان"),
                     QStringLiteral("1405/04/12"), s(u"قابل قبول"), QStringLiteral("1405/04/20"), QStringLiteral("12/345"),
                     QString()});
            dm.exec(QStringLiteral("insert into movafeghatname (city, sal, typ, num) values (?,?,?,?)"),
                    {s(county), QStringLiteral("1405"), s(u"موافقتنامه"), QStringLiteral("1405/4/112")});
            dm.exec(QStringLiteral("insert into khadamat (city, sal, mah, dehyariha, fani, mablagh, khalaf_par, bi_par, "
                                   "bi_est, khalaf_bon, dakhel_m, kharej_m, farmandari, ostandari, ehdasi) "
                                   "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                    {s(county), QStringLiteral("1405"), s(u"تير"), 14, 6, 320, 2, 1, 0, 0, 2, 1, 2, 1, 0});
        }
    });
    if (dm.hasProt()) {
        const QSqlDatabase prot = dm.ADOConn_prot();
        DataSet q(QStringLiteral("sample_prot"));
        q.setDatabase(prot);
        q.open(QStringLiteral("select count(*) as n from prot"));
        if (q.toInt64(QStringLiteral("n")) == 0) {
            for (const Contract &c : kContracts)
                q.exec(QStringLiteral("insert into prot (num, pdate, name, mablagh) values (?,?,?,?)"),
                       {s(c.num), s(c.pdate), s(c.name), c.mablagh});
        }
    }
    return true;
}
