// The tables of the main and correspondence databases. The schema set-up
// creates every table (and every column) that is missing from a database, in
// the order given here, so the column order below is the order that the
// positional "insert into ... values(" statements of the program rely on.
#include "schema.h"

#include <QLatin1String>

namespace db {

namespace {

ColumnDef ident(const char *n) { return {n, ColType::Identity}; }
ColumnDef i32(const char *n, const char *def = nullptr) { return {n, ColType::Int, 0, def}; }
ColumnDef i64(const char *n) { return {n, ColType::BigInt}; }
ColumnDef flt(const char *n) { return {n, ColType::Float}; }
ColumnDef money(const char *n) { return {n, ColType::Money}; }
ColumnDef txt(const char *n, int len) { return {n, ColType::Text, len}; }
ColumnDef date(const char *n) { return {n, ColType::Text, 10, nullptr, true}; }
ColumnDef bit(const char *n, const char *def = nullptr) { return {n, ColType::Bool, 0, def}; }
ColumnDef blob(const char *n) { return {n, ColType::Blob}; }
ColumnDef stamp(const char *n, const char *def = nullptr) { return {n, ColType::DateTime, 0, def}; }

std::vector<TableDef> buildTables()
{
    std::vector<TableDef> t;

    // ---- core tables -------------------------------------------------------

    // Village gazetteer: province, county (shahrestan; city holds the county
    // name as well), district, rural district, village, place code.
    t.push_back({"abadiha", {
        ident("id"),
        txt("ostan", 50),
        txt("shahrestan", 50),
        txt("city", 50),
        txt("bakhsh", 50),
        txt("dehestan", 50),
        txt("rosta", 50),
        txt("cod", 20),
        i32("khanevar"),
        i32("jamiyat"),
        flt("zarib"),
        txt("x", 25),
        txt("y", 25),
    }});

    // County and village list of the laboratory, statistics and agreements lists.
    t.push_back({"xls", {
        ident("id"),
        txt("city", 50),
        txt("rosta", 50),
    }});

    // Value lists: one row per value, component = list name, cmt = value.
    t.push_back({"setting", {
        ident("id"),
        txt("component", 100),
        txt("cmt", 255),
    }});

    // Users; pass holds a salted hash.
    t.push_back({"karbaran", {
        ident("id"),
        txt("karbar", 50),
        txt("pass", 200),
        txt("name", 100),
        txt("level", 20),
        bit("active", "1"),
        i32("version", "2"),
    }});

    // Page rights of a user.
    t.push_back({"dastrasi", {
        ident("id"),
        i32("prs_id"),
        txt("page_name", 50),
        bit("darj"),
        bit("virayesh"),
        bit("hazf"),
        bit("namayesh"),
    }});

    // Counties a user may see (cmt = county name).
    t.push_back({"dastrasi2", {
        ident("id"),
        i32("user_id"),
        txt("cmt", 50),
    }});

    // Activity log. No key: rows are written positionally with six values
    // (saat_sys taking its default) or seven (the last one DEFAULT).
    t.push_back({"log", {
        txt("karbar", 50),
        txt("ip", 50),
        txt("pc_name", 100),
        txt("saat", 50),
        date("tarikh"),
        txt("cmt", 0),
        stamp("saat_sys", "now"),
    }});

    // Correspondence database: contracts; the contractor names are read from it.
    t.push_back({"prot", {
        ident("id"),
        txt("num", 50),
        txt("pdate", 10),
        txt("name", 100),
        money("mablagh"),
    }, Conn::Prot});

    // ---- bitumen allocations ----------------------------------------------

    // One row per bitumen allocation. 74 columns; the insert sends the 73
    // after id in exactly this order. sorat_area_f, zekhamat_m_f and tarakom
    // were added to existing databases by ALTER TABLE and stay last.
    t.push_back({"ghir", {
        ident("id"),                  //  1
        txt("ostan", 50),             //  2 province
        txt("city", 40),              //  3 county
        txt("rosta", 50),             //  4 village
        txt("prj_typ", 50),           //  5
        txt("prot_no", 50),           //  6 purchase contract
        date("prot_dat"),             //  7
        txt("peymankar", 50),         //  8 contractor name
        money("prot_mablagh"),        //  9
        txt("city_paper_no", 50),     // 10
        date("city_paper_dat"),       // 11
        date("tafahomname_dat"),      // 12
        flt("prj_area"),              // 13
        flt("tonaj"),                 // 14
        txt("zekhamat", 50),          // 15
        money("bors_price"),          // 16
        txt("ghir_masrafi", 50),      // 17
        flt("ghir_tahatori"),         // 18 remitted bitumen, t
        date("tozi_dat"),             // 19
        txt("z_no", 50),              // 20 guarantee
        date("z_dat"),                // 21
        txt("z_bank", 40),            // 22
        txt("z_typ", 50),             // 23
        money("z_mablagh"),           // 24
        date("taahod_dat"),           // 25
        date("moarefi_dat"),          // 26
        txt("moarefi_no", 50),        // 27
        txt("sorat_no", 50),          // 28 invoice
        date("sorat_dat"),            // 29
        txt("ghir_daryafti", 50),     // 30
        txt("az_name", 50),           // 31 laboratory
        txt("rep_no", 50),            // 32
        date("rep_dat"),              // 33
        flt("sorat_area"),            // 34
        txt("zekhamat_m", 50),        // 35
        txt("vazn", 50),              // 36
        txt("ghir_masrafi_m", 50),    // 37
        txt("ghir_prim", 50),         // 38
        money("bors_m"),              // 39
        money("asfalt_price"),        // 40
        txt("ghir_tahvili", 50),      // 41
        txt("ghir60", 50),            // 42
        txt("ghir_m_p", 50),          // 43
        txt("ghir_jam", 50),          // 44
        txt("ghir_t", 50),            // 45
        i32("peymankar_id"),          // 46 peymankaran.id, -1 when typed
        date("reg_dat"),              // 47
        txt("tehran_paper_no", 25),   // 48
        i32("jalase_no"),             // 49
        date("jalase_dat"),           // 50
        txt("prot_no_ejra", 50),      // 51 execution contract
        date("prot_dat_ejra"),        // 52
        money("prot_mablagh_ejra"),   // 53
        txt("zarib", 30),             // 54
        txt("asfalt_ejra", 50),       // 55
        money("ghir_moadel"),         // 56
        i32("pishraft"),              // 57 progress, percent
        txt("sal", 4),                // 58 allocation year
        txt("status", 30),            // 59
        txt("cmt", 100),              // 60
        txt("comp_naft_name", 50),    // 61
        txt("palayeshgah_name", 50),  // 62
        flt("ghir_tagh_tah"),         // 63
        money("khodyari"),            // 64
        money("dehyari"),             // 65
        flt("tolemasir"),             // 66
        txt("mokhtasat", 150),        // 67
        txt("xs", 25),                // 68
        txt("xe", 25),                // 69
        txt("ys", 25),                // 70
        txt("ye", 25),                // 71
        flt("sorat_area_f"),          // 72
        txt("zekhamat_m_f", 50),      // 73
        flt("tarakom"),               // 74
    }});

    // Contractors register.
    t.push_back({"peymankaran", {
        ident("id"),
        txt("peymankar", 50),
        txt("name", 50),
        txt("father", 30),
        txt("nation", 10),
        txt("sh_no", 20),
        txt("sodor", 30),
        txt("sabt", 30),
        txt("eghtesadi", 30),
        txt("shenase", 30),
        txt("haml_name", 50),
        txt("haml_cod", 50),
        txt("phone", 50),
        txt("mobile", 50),
        txt("fax", 40),
        txt("adr", 100),
        txt("takhliye", 100),
        txt("zipcode", 10),
    }});

    // Documents of an allocation (ghir_id = ghir.id).
    t.push_back({"ghir_pic", {
        ident("pk"),
        i32("ghir_id"),
        txt("ext", 5),
        blob("pic"),
        txt("cmt", 50),
    }});

    // The bitumen allocations' attachment templates.
    t.push_back({"zamaem_ghir", {
        ident("id"),
        txt("cmt", 150),
        txt("ramz", 20),
        txt("pictype", 5),
        blob("pic"),
    }});

    // Form requests and prints of an allocation (ghir_key = ghir.id).
    t.push_back({"ghir_history", {
        ident("pk"),
        i64("ghir_key"),
        txt("cmt", 100),
        date("dat"),
        txt("karbar", 30),
    }});

    // Scratch tables of the province reports; no key, filled positionally.
    // In ghir_rep1 moarefi_no carries numbers (progress percent, exchange
    // bitumen) and is summed.
    t.push_back({"ghir_rep1", {
        txt("city", 40),
        txt("rosta", 50),
        txt("peymankar", 50),
        flt("ghir_tahatori"),
        flt("moarefi_no"),
        flt("ghir_naft"),
        flt("tehran"),
    }});
    // In ghir_rep2 moarefi_no holds the oil company letter number as text,
    // as wide as in ghir: an ordinary number such as "1234/ص" is listed as it
    // stands instead of ending the report.
    t.push_back({"ghir_rep2", {
        txt("city", 40),
        txt("rosta", 50),
        txt("peymankar", 50),
        flt("ghir_tahatori"),
        txt("moarefi_no", 50),
        flt("ghir_naft"),
        flt("tehran"),
    }});

    // ---- laboratory ---------------------------------------------------------

    // Laboratory test reports; the key cod stands twelfth, the insert sends
    // the other fourteen columns in this order.
    t.push_back({"azmayeshat", {
        txt("moshaver", 50),
        txt("kar_no", 50),
        txt("serial", 50),
        txt("loc", 50),
        txt("rosta", 50),
        money("mablagh"),
        txt("pardakht_loc", 50),
        txt("az_type", 50),
        txt("peymankar", 50),
        date("rep_dat"),
        txt("result", 50),
        ident("cod"),
        date("paper_dat"),
        txt("paper_no", 20),
        txt("cmt", 150),
    }});

    // Pictures of a test report (cod = azmayeshat.cod).
    t.push_back({"az_pic", {
        ident("pk"),
        i64("cod"),
        txt("ext", 5),
        blob("pic"),
        txt("cmt", 50),
    }});

    // ---- physical progress --------------------------------------------------

    t.push_back({"pish_prj", {
        ident("pcod"),
        txt("prj_cod", 25),
        txt("title", 80),
        txt("city", 30),
        txt("nahve", 30),
        txt("rosta", 40),
    }});

    // Items of a progress project (pcod = pish_prj.pcod, scod = sitems.scod).
    t.push_back({"pish_items", {
        ident("icod"),
        i32("pcod"),
        i32("scod"),
        flt("hajm"),
    }});

    // Dated volumes done of an item (icod = pish_items.icod).
    t.push_back({"pish_rep", {
        ident("rcod"),
        i32("icod"),
        date("dat"),
        flt("meghdar"),
    }});

    // Item catalogue: master items and their sub-items.
    t.push_back({"litems", {
        ident("lcod"),
        txt("name", 80),
        flt("darsad"),
    }});
    t.push_back({"sitems", {
        ident("scod"),
        i32("lcod"),
        txt("name", 80),
        txt("unit", 30),
        flt("darsad"),
    }});

    // ---- technical services -------------------------------------------------

    // Monthly report of a county; mablagh is in millions of rials, the other
    // figures are counts.
    t.push_back({"khadamat", {
        ident("id"),
        txt("city", 35),
        txt("sal", 4),
        txt("mah", 20),
        i32("dehyariha"),
        i32("fani"),
        i32("mablagh"),
        i32("khalaf_par"),
        i32("bi_par"),
        i32("bi_est"),
        i32("khalaf_bon"),
        i32("dakhel_m"),
        i32("kharej_m"),
        i32("farmandari"),
        i32("ostandari"),
        i32("ehdasi"),
    }});

    // Attachments of a monthly report (khadamat_id = khadamat.id).
    t.push_back({"khadamat_pic", {
        ident("id"),
        i64("khadamat_id"),
        txt("cmt", 100),
        txt("pictyp", 10),
        blob("pic"),
    }});

    // ---- statistics and agreements -----------------------------------------

    t.push_back({"amar", {
        ident("id"),
        txt("city", 40),
        txt("rosta", 50),
        txt("typ", 30),
        txt("tamin_loc", 50),
        txt("cmt", 60),
        txt("tamin_sal", 4),
        money("mablagh"),
        txt("peymankar", 50),
    }});

    t.push_back({"movafeghatname", {
        ident("id"),
        txt("city", 50),
        txt("sal", 4),
        txt("typ", 40),
        txt("num", 35),
    }});

    // Attachments of an agreement (movafeghatname_id = movafeghatname.id).
    t.push_back({"movafeghatname_pic", {
        ident("id"),
        i64("movafeghatname_id"),
        txt("cmt", 100),
        txt("pictyp", 10),
        blob("pic"),
    }});

    // ---- credit register ----------------------------------------------------

    // Projects; etb_id is -1 on entry and is moved to the current credit by an edit.
    t.push_back({"prj", {
        ident("id"),
        i64("etb_id"),
        txt("ostan", 100),
        txt("city", 100),
        txt("bakhsh", 100),
        txt("dehestan", 100),
        txt("rosta", 100),
        txt("cod", 50),
        txt("ejra_typ", 100),
        txt("prg", 50),
        txt("prg_sal1", 4),
        txt("prg_sal2", 4),
        txt("tarh_title", 100),
        txt("tarh_cod", 100),
        txt("prj_title", 100),
        txt("prj_cod", 100),
        txt("nahve", 100),
        txt("prj_typ", 100),
        txt("prj_sal1", 4),
        txt("prj_sal2", 4),
        txt("hadaf", 100),
        txt("meghdar", 100),
        txt("vahed", 100),
    }});

    // Credits of a project (prj_id = prj.id).
    t.push_back({"etebarat", {
        ident("id"),
        i64("prj_id"),
        txt("tamin_loc", 100),
        txt("tamin_manba", 100),
        txt("sal_typ", 40),
        txt("sal", 4),
        txt("typ", 50),
        money("mablagh"),
        txt("cmt", 150),
        money("dion"),
    }});

    // Operations, progress items and allocations under a credit
    // (etb_id = etebarat.id, prj_id = prj.id).
    t.push_back({"amaliyat", {
        ident("id"),
        i64("etb_id"),
        i64("prj_id"),
        txt("item_title", 100),
        flt("meghdar"),
        flt("darsad"),
        money("mablagh"),
        txt("vahed", 50),
        txt("modat", 50),
        txt("cmt", 150),
        flt("taahod"),
        txt("sal", 4),
    }});
    t.push_back({"pish", {
        ident("id"),
        i64("etb_id"),
        i64("prj_id"),
        txt("item_title", 100),
        flt("darsad"),
        txt("sal", 4),
    }});
    t.push_back({"takhsis", {
        ident("id"),
        i64("etb_id"),
        i64("prj_id"),
        txt("zaman", 100),
        money("mablagh"),
    }});

    return t;
}

bool sameName(const char *a, const QString &b)
{
    return b.compare(QLatin1String(a), Qt::CaseInsensitive) == 0;
}

} // namespace

const std::vector<TableDef> &tables()
{
    static const std::vector<TableDef> all = buildTables();
    return all;
}

const TableDef *findTable(const QString &name)
{
    for (const TableDef &t : tables()) {
        if (sameName(t.name, name))
            return &t;
    }
    return nullptr;
}

const ColumnDef *findColumn(const QString &table, const QString &column)
{
    const TableDef *t = findTable(table);
    if (!t)
        return nullptr;
    for (const ColumnDef &c : t->columns) {
        if (sameName(c.name, column))
            return &c;
    }
    return nullptr;
}

} // namespace db
