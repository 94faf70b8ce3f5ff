// The fixed costs a clerk pays on every action, each measured as whole processes beside its
// reference, run in turn (program, reference, program, reference, ...) so that a drift of the
// machine's speed falls on both; the summary gives for each case the medians and the median of
// the pair ratios (wall time, and the processes' own processor time):
//   search/county_month: a county user's month (238 of 100,000 allocations), 20 searches through
//     the bitumen window in one run (each listed and drawn; the count is the listed rows'), beside
//     the engine's own tool (sqlite3 with the program's collation loaded; psql, unaligned and
//     without headings) running the same listing 20 times, its output thrown away;
//   search/month: the same for the administrator's month (1,191 allocations);
//   start/sign_in: the program's start until the sign-in window is shown (an existing database)
//     beside a bare Qt dialog;
//   start/sample_data: the first start with --sample-data on a new database beside a later start;
//   n19: the province web report over 100,000 allocations beside the engine tool running the
//     program's INSERT ... SELECT and reading every value of the copied rows back (an aggregate,
//     no row printed), plus a plain C program writing the same HTML;
//   scratch: the fill of ghir_rep2 from 100,000 allocations beside the engine tool running the
//     program's INSERT ... SELECT;
//   credits: the credit window's project listing (100,000 projects) and the first project's four
//     lists beside the sqlite3 tool running the same five statements;
//   pdf: the 1,000-row detail report (30 pages) written to PDF beside the same cells drawn straight
//     with QPainter on QPdfWriter (pdf_reference).
// SQLite always; PostgreSQL when VARNOSET_TEST_PG names a server. Usage:
//   bench_fixed_costs [-n PAIRS] [--keep DIR] [CASE ...]   (a CASE is a part of a case's name)
// The program's side runs this same binary as a child ("child KIND ..."), which does only what
// the program does for the case.
#include "app/forms.h"
#include "app/login_u.h"
#include "app/startup.h"
#include "bitumen/ghir_reports.h"
#include "bitumen/ghir_src_u.h"
#include "core/context.h"
#include "core/dm_u.h"
#include "core/errors.h"
#include "core/fetch.h"
#include "db/setup.h"
#include "registers/etebarat_src_u.h"
#include "report/printing.h"
#include "shared/edits.h"
#include "shared/scratch_table.h"
#include "ui/qtui.h"
#include "ui/scriptedui.h"

#include "bench_db.h"
#include "credit_bench_data.h"
#include "ghir_bench_data.h"
#include "report_bench_data.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QTableView>
#include <QTemporaryDir>
#include <QUuid>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kAllocations = 100000;
constexpr int kSearches = 20;
const QString kCountyUser = QStringLiteral("2280000029");
const QString kCounty = QStringLiteral("شهرستان 8");
const QString kMonthFrom = QStringLiteral("1402/03/01"), kMonthTo = QStringLiteral("1402/03/31");

// ---- the program's side -------------------------------------------------------------------------

// The application as the program sets it up.
void programApplication()
{
    QApplication::setOrganizationName(QStringLiteral("varnoset"));
    QApplication::setApplicationName(QStringLiteral("varnoset"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(QFont(QStringLiteral("Nazli"), 10));
    installQtTranslations();
    ShowTextsFromTheirStart(qApp);
}

void waitExposed(QWidget *w)
{
    while (!w->windowHandle() || !w->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
}

// What the event loop does after a command: posted events (the grid's fitting, the repaint).
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

DbProfile profileOf(const QString &backend, const QString &where, const QString &schema)
{
    if (backend == QLatin1String("pg")) {
        DbProfile p = DbProfile::fromConnInfo(where);
        p.schema = schema;
        return p;
    }
    return DbProfile::sqliteFile(where);
}

struct Program {
    QtUi qtUi;
    ScriptedUi scripted;
    Tdm dm;
    AppContext ctx;
    explicit Program(bool scriptedUi)
    {
        ctx.dm = &dm;
        ctx.ui = scriptedUi ? static_cast<Ui *>(&scripted) : &qtUi;
    }
    ~Program()
    {
        for (QWidget *w : ctx.forms())
            delete w;
        dm.disconnectAll();
    }
};

// child start [--sample-data]: main() until the sign-in window is shown.
int childStart()
{
    Program p(false);
    if (!prepareDatabases(p.ctx, parseStartOptions(QCoreApplication::arguments())))
        return 1;
    createForms(p.ctx);
    Tlogin *login = p.ctx.form<Tlogin>();
    login->show();
    waitExposed(login);
    return 0;
}

// child search BACKEND WHERE SCHEMA county|month: the bitumen window's searches, each drawn.
int childSearch(const QStringList &a)
{
    Program p(false);
    p.dm.connectMain(profileOf(a.at(0), a.at(1), a.at(2)));
    createForms(p.ctx);
    const bool county = a.at(3) == QLatin1String("county");
    const QString karbar = county ? kCountyUser : QStringLiteral("admin");
    p.ctx.CurrentUser = {p.dm.scalar(QStringLiteral("select id from karbaran where karbar=?"), {karbar}).toString(),
                         county ? QStringLiteral("city") : QStringLiteral("admin"), karbar};
    auto *w = p.ctx.form<Tghir_src>();
    w->resize(1200, 700);
    w->show();
    waitExposed(w);
    w->findChild<QCheckBox *>(QStringLiteral("CheckBox4"))->click();
    w->findChild<TDateEdit *>(QStringLiteral("reg_dat1"))->setText(kMonthFrom);
    w->findChild<TDateEdit *>(QStringLiteral("reg_dat2"))->setText(kMonthTo);
    for (int i = 0; i < kSearches; ++i) {
        w->search();
        settle();
    }
    return p.dm.ADOQ_ghir->recordCount() > 0 ? 0 : 1;
}

// child credits WHERE: the credit window's project listing, drawn.
int childCredits(const QStringList &a)
{
    Program p(false);
    p.dm.connectMain(DbProfile::sqliteFile(a.at(0)));
    createForms(p.ctx);
    p.ctx.CurrentUser = {QStringLiteral("1"), QStringLiteral("admin"), QStringLiteral("admin")};
    auto *w = p.ctx.form<Tetebarat_src>();
    w->resize(1200, 700);
    w->show();
    waitExposed(w);
    w->searchProjects();
    settle();
    return p.dm.ADOQ_proj->recordCount() == kBenchProjects ? 0 : 1;
}

// child n19 BACKEND WHERE SCHEMA OUT: the province web report through the window's menu item.
int childN19(const QStringList &a)
{
    Program p(true);
    p.dm.connectMain(profileOf(a.at(0), a.at(1), a.at(2)));
    createForms(p.ctx);
    p.ctx.CurrentUser = {QStringLiteral("1"), QStringLiteral("ostan"), QStringLiteral("ostan")};
    p.scripted.saveFiles << a.at(3);
    p.ctx.form<Tghir_src>()->findChild<QAction *>(QStringLiteral("N19"))->trigger();
    return p.scripted.messages.isEmpty() && p.scripted.openedFiles == QStringList{a.at(3)} ? 0 : 1;
}

// child scratch BACKEND WHERE SCHEMA: the fill of ghir_rep2.
int childScratch(const QStringList &a)
{
    Program p(true);
    p.dm.connectMain(profileOf(a.at(0), a.at(1), a.at(2)));
    return ReplaceScratchRows(p.ctx, ProvinceProgressFill(QString(), {})) ? 0 : 1;
}

// child pdf OUT: the 1,000-row report written to PDF.
int childPdf(const QStringList &a)
{
    return report::writePdf(report_bench::filled(), a.at(0)) ? 0 : 1;
}

int child(const QStringList &args)
{
    programApplication();
    const QString kind = args.value(0);
    const QStringList rest = args.mid(1);
    try {
        if (kind == QLatin1String("start"))
            return childStart();
        if (kind == QLatin1String("search"))
            return childSearch(rest);
        if (kind == QLatin1String("credits"))
            return childCredits(rest);
        if (kind == QLatin1String("n19"))
            return childN19(rest);
        if (kind == QLatin1String("scratch"))
            return childScratch(rest);
        if (kind == QLatin1String("pdf"))
            return childPdf(rest);
    } catch (const AppError &e) {
        std::fprintf(stderr, "child %s: %s\n", qPrintable(kind), qPrintable(e.message()));
        return 1;
    }
    return 2;
}

// ---- running processes --------------------------------------------------------------------------

struct Run {
    double wallMs = 0, cpuMs = 0;
    int status = 0;
};

// Runs argv with `env` added to the environment, stdin from `input` (or /dev/null), output thrown
// away; its wall time and the processor time it used (user and system).
Run runProcess(const QStringList &argv, const QStringList &env, const QString &input = QString())
{
    std::vector<QByteArray> bytes;
    for (const QString &s : argv)
        bytes.push_back(s.toLocal8Bit());
    std::vector<char *> cargv;
    for (QByteArray &b : bytes)
        cargv.push_back(b.data());
    cargv.push_back(nullptr);
    std::vector<QByteArray> envBytes;
    for (const QString &e : env)
        envBytes.push_back(e.toLocal8Bit());
    const QByteArray in = input.isEmpty() ? QByteArray("/dev/null") : input.toLocal8Bit();
    timespec t0{}, t1{};
    clock_gettime(CLOCK_MONOTONIC, &t0);
    const pid_t pid = fork();
    if (pid == 0) {
        for (QByteArray &e : envBytes)
            putenv(e.data());
        const int fin = open(in.constData(), O_RDONLY);
        const int null = open("/dev/null", O_WRONLY);
        dup2(fin, 0);
        dup2(null, 1);
        if (!qEnvironmentVariableIsSet("VARNOSET_BENCH_CHILD_ERRORS"))
            dup2(null, 2);
        execvp(cargv[0], cargv.data());
        _exit(127);
    }
    int status = 0;
    rusage use{};
    wait4(pid, &status, 0, &use);
    clock_gettime(CLOCK_MONOTONIC, &t1);
    Run r;
    r.wallMs = (t1.tv_sec - t0.tv_sec) * 1e3 + (t1.tv_nsec - t0.tv_nsec) / 1e6;
    r.cpuMs = (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

// One side of a case: one or more processes, their times added.
struct Command {
    QStringList argv;
    QString input;
    Command(const QStringList &a, const QString &in = QString()) : argv(a), input(in) {}
};
using Side = QList<Command>;

struct Case {
    std::string name;
    double goal;
    Side program, reference;
    QStringList env;
    std::function<void()> beforeProgram; // untimed, before each run of the program's side
};

Run runSide(const Case &c, const Side &side, bool *failed)
{
    Run total;
    for (const Command &cmd : side) {
        const Run r = runProcess(cmd.argv, c.env, cmd.input);
        if (r.status != 0 && !*failed) {
            *failed = true;
            std::fprintf(stderr, "%s: %s ended with %d\n", c.name.c_str(), qPrintable(cmd.argv.join(QLatin1Char(' '))),
                         r.status);
        }
        total.wallMs += r.wallMs;
        total.cpuMs += r.cpuMs;
    }
    return total;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Result {
    double programMs, referenceMs, ratio, ratioMin, ratioMax, cpuRatio;
    bool failed;
};

Result measure(const Case &c, int pairs)
{
    bool failed = false;
    // One run of each first, not counted.
    if (c.beforeProgram)
        c.beforeProgram();
    runSide(c, c.program, &failed);
    runSide(c, c.reference, &failed);
    std::vector<double> a, b, ratios, cpuRatios;
    for (int i = 0; i < pairs && !failed; ++i) {
        if (c.beforeProgram)
            c.beforeProgram();
        const Run ra = runSide(c, c.program, &failed);
        const Run rb = runSide(c, c.reference, &failed);
        a.push_back(ra.wallMs);
        b.push_back(rb.wallMs);
        ratios.push_back(ra.wallMs / rb.wallMs);
        cpuRatios.push_back(ra.cpuMs / std::max(rb.cpuMs, 0.001));
    }
    if (ratios.empty())
        return {0, 0, 0, 0, 0, 0, true};
    return {median(a), median(b), median(ratios), *std::min_element(ratios.begin(), ratios.end()),
            *std::max_element(ratios.begin(), ratios.end()), median(cpuRatios), failed};
}

// ---- the references' scripts ----------------------------------------------------------------------

QString sqlQuoted(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return v.toString();
    default:
        return QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    }
}

// "?" as "?N" from `first` on (the statements carry no quoted "?").
QString numberedMarks(const QString &sql, int *next)
{
    QString out;
    for (QChar c : sql) {
        if (c == QLatin1Char('?'))
            out += QLatin1Char('?') + QString::number((*next)++);
        else
            out += c;
    }
    return out;
}

struct Statement {
    QString sql;
    QVariantList binds;
};

// The sqlite3 tool's script: the collation loaded, the values set once, the statements `times`.
QString sqliteScript(const QString &collation, const QList<Statement> &statements, int times)
{
    QString head = QStringLiteral(".load %1\n.parameter init\n").arg(collation);
    QString body;
    int next = 1;
    for (const Statement &s : statements) {
        const int first = next;
        body += numberedMarks(s.sql, &next) + QStringLiteral(";\n");
        for (int i = 0; i < s.binds.size(); ++i)
            head += QStringLiteral(".parameter set ?%1 \"%2\"\n").arg(first + i).arg(sqlQuoted(s.binds.at(i)));
    }
    QString out = head;
    for (int i = 0; i < times; ++i)
        out += body;
    return out;
}

// psql's script: each statement prepared once and executed `times`.
QString psqlScript(const QList<Statement> &statements, int times)
{
    QString out;
    QString body;
    for (int k = 0; k < statements.size(); ++k) {
        const Statement &s = statements.at(k);
        out += QStringLiteral("PREPARE s%1 AS %2;\n").arg(k).arg(QString::fromUtf8(dbfetch::pgPlaceholders(s.sql)));
        QStringList values;
        for (const QVariant &v : s.binds)
            values << sqlQuoted(v);
        body += values.isEmpty() ? QStringLiteral("EXECUTE s%1;\n").arg(k)
                                 : QStringLiteral("EXECUTE s%1(%2);\n").arg(k).arg(values.join(QLatin1Char(',')));
    }
    for (int i = 0; i < times; ++i)
        out += body;
    return out;
}

QString writeText(const QString &path, const QString &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0)
        throw AppError(QStringLiteral("cannot write ") + path);
    return path;
}

// The engine's copy of the web report's rows into ghir_rep2: the program's own statement.
QString engineCopy()
{
    const ScratchFill f = ProvinceProgressFill(QString(), {});
    return QStringLiteral("insert into %1 (%2) select %3 %4 order by %5")
        .arg(f.table, f.columns.join(QLatin1Char(',')), f.values.join(QLatin1Char(',')), f.from, f.order);
}

// The cells of an HTML table the program wrote, as html_reference reads them: the title, the
// headers, each body row (its number and cells) and "=" with the totals row.
QString htmlCells(const QString &htmlPath)
{
    QFile f(htmlPath);
    if (!f.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("cannot read ") + htmlPath);
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    auto unescape = [](QString s) {
        return s.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    };
    QString title;
    QStringList headers, out;
    QStringList row;
    bool body = false, totals = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &l = lines.at(i);
        if (l.startsWith(QStringLiteral("<head>"))) {
            const int a = l.indexOf(QStringLiteral("<title>")) + 7, b = l.indexOf(QStringLiteral("</title>"));
            title = unescape(l.mid(a, b - a));
        } else if (l.startsWith(QStringLiteral("<th>"))) {
            headers << unescape(l.mid(4, l.size() - 9));
        } else if (l == QLatin1String("<tbody>")) {
            body = true;
        } else if (body && l.startsWith(QStringLiteral("<tr"))) {
            totals = l != QLatin1String("<tr>");
            row = totals ? QStringList{QStringLiteral("=")} : QStringList();
        } else if (body && l == QLatin1String("<td>")) {
            row << QString(); // an empty cell on two lines
            ++i;
        } else if (body && l.startsWith(QStringLiteral("<td>"))) {
            row << unescape(l.mid(4, l.size() - 9));
        } else if (body && l == QLatin1String("</tr>")) {
            out << row.join(QLatin1Char('\t'));
        }
    }
    headers.removeFirst(); // the row number's, which the reference writes itself
    return title + QLatin1Char('\n') + headers.join(QLatin1Char('\t')) + QLatin1Char('\n') + out.join(QLatin1Char('\n'))
           + QLatin1Char('\n');
}

// ---- the databases ----------------------------------------------------------------------------------

struct Database {
    QString backend; // "sqlite" or "pg"
    QString where;   // the SQLite file or the server's connection text
    QString schema;
    Tdm dm;
    QStringList childArgs() const { return {backend, where, schema.isEmpty() ? QStringLiteral("-") : schema}; }
};

void fillDatabase(Database &d, bool credits)
{
    fillBenchAllocations(d.dm, kAllocations);
    d.dm.exec(QStringLiteral("insert into karbaran (karbar, pass, name, level, active, version) values (?,?,?,?,?,2)"),
              {kCountyUser, QString(), QStringLiteral("city"), QStringLiteral("city"), true});
    const qint64 user = d.dm.scalar(QStringLiteral("select id from karbaran where karbar=?"), {kCountyUser}).toLongLong();
    d.dm.exec(QStringLiteral("insert into dastrasi2 (user_id, cmt) values (?,?)"), {user, kCounty});
    if (credits)
        fillBenchCredits(d.dm);
}

// The statement of a search as the window builds it: the listing (the window counts its rows).
QList<Statement> searchStatements(Database &d, bool county)
{
    ScriptedUi ui;
    AppContext ctx;
    ctx.dm = &d.dm;
    ctx.ui = &ui;
    const QString karbar = county ? kCountyUser : QStringLiteral("admin");
    ctx.CurrentUser = {d.dm.scalar(QStringLiteral("select id from karbaran where karbar=?"), {karbar}).toString(),
                       county ? QStringLiteral("city") : QStringLiteral("admin"), karbar};
    Tghir_src w(ctx);
    w.findChild<QCheckBox *>(QStringLiteral("CheckBox4"))->click();
    w.findChild<TDateEdit *>(QStringLiteral("reg_dat1"))->setText(kMonthFrom);
    w.findChild<TDateEdit *>(QStringLiteral("reg_dat2"))->setText(kMonthTo);
    Statement listing;
    listing.sql = w.listingSql(listing.binds);
    return {listing};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("child"))
        return child(args.mid(1));

    int pairs = 7;
    QString keep;
    while (args.value(0).startsWith(QLatin1Char('-'))) {
        if (args.value(0) == QLatin1String("-n"))
            pairs = qMax(1, args.value(1).toInt());
        else if (args.value(0) == QLatin1String("--keep"))
            keep = args.value(1);
        args = args.mid(2);
    }
    const QStringList wanted = args;
    auto want = [&](const std::string &name) {
        if (wanted.isEmpty())
            return true;
        for (const QString &w : wanted)
            if (QString::fromStdString(name).contains(w))
                return true;
        return false;
    };

    const QString self = QCoreApplication::applicationFilePath();
    const QString binDir = QCoreApplication::applicationDirPath();
    const QString collation = QStringLiteral(VARNOSET_FA_EXTENSION);
    // The work folder: a temporary one, or with --keep DIR that folder, kept with its SQLite
    // database (used again when it is there) for profiling the children by hand.
    QTemporaryDir temporary;
    struct Work {
        QString dir;
        QString filePath(const QString &name) const { return QDir(dir).filePath(name); }
    } tmp{keep.isEmpty() ? temporary.path() : keep};
    QDir().mkpath(tmp.dir);
    const QString home = tmp.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QDir().mkpath(tmp.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(tmp.filePath(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", tmp.filePath(QStringLiteral("runtime")).toLocal8Bit());
    const QString pgConn = qEnvironmentVariable("VARNOSET_TEST_PG");

    QList<Case> cases;
    std::vector<std::unique_ptr<Database>> dbs;
    try {
        for (const QString &backend : {QStringLiteral("sqlite"), QStringLiteral("pg")}) {
            const bool pg = backend == QLatin1String("pg");
            if (pg && pgConn.isEmpty())
                continue;
            const std::string db = backend.toStdString();
            const bool any = want("search/county_month/" + db) || want("search/month/" + db) || want("n19/" + db)
                             || want("scratch/" + db) || (!pg && want("credits/" + db));
            if (!any)
                continue;
            QElapsedTimer t;
            t.start();
            auto d = std::make_unique<Database>();
            d->backend = backend;
            if (pg) {
                d->where = pgConn;
                DbProfile p = DbProfile::fromConnInfo(pgConn);
                d->schema = QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128);
                p.schema = d->schema;
                d->dm.connectMain(p);
            } else {
                d->where = tmp.filePath(QStringLiteral("bench.sqlite"));
                d->dm.connectMain(DbProfile::sqliteFile(d->where));
            }
            const bool filled = !pg && d->dm.scalar(QStringLiteral("select count(*) from sqlite_master")).toInt() > 0;
            db::setupSchema(d->dm);
            if (!filled)
                fillDatabase(*d, !pg);
            std::fprintf(stderr, "%s: 100,000 allocations%s in %.1f s\n", db.c_str(),
                         pg ? "" : ", 100,000 projects and 300,000 credits", t.elapsed() / 1000.0);
            const QStringList env = {QStringLiteral("HOME=") + home,
                                     QStringLiteral("PGOPTIONS=-c search_path=") + d->schema};
            auto tool = [&](const QString &script) -> Command {
                if (pg)
                    return {{QStringLiteral("psql"), QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"),
                             QStringLiteral("-t"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                             QStringLiteral("-d"), pgConn},
                            script};
                return {{QStringLiteral("sqlite3"), QStringLiteral("-batch"), QStringLiteral("-bail"), d->where}, script};
            };
            auto script = [&](const QString &name, const QList<Statement> &statements, int times) {
                const QString path = tmp.filePath(QStringLiteral("%1_%2.sql").arg(name, backend));
                return writeText(path, pg ? psqlScript(statements, times) : sqliteScript(collation, statements, times));
            };
            for (const bool county : {true, false}) {
                const std::string name = std::string("search/") + (county ? "county_month/" : "month/") + db;
                if (!want(name))
                    continue;
                cases.append({name, county ? 1.5 : 1.3,
                              {{QStringList{self, QStringLiteral("child"), QStringLiteral("search")} + d->childArgs()
                                + QStringList{county ? QStringLiteral("county") : QStringLiteral("month")}}},
                              {tool(script(QString::fromStdString(name).replace(QLatin1Char('/'), QLatin1Char('_')),
                                           searchStatements(*d, county), kSearches))},
                              env,
                              {}});
            }
            // The engine's copy in one transaction; for the web report also every value of the
            // copied rows read back by the engine, as the program reads them to list them (an
            // aggregate, so that the tool formats no row: the plain program writes the page).
            auto copyScript = [&](const QString &name, bool listed) {
                const QString path = tmp.filePath(QStringLiteral("%1_%2.sql").arg(name, backend));
                const QString lock = pg ? QStringLiteral("begin;\n") : QStringLiteral(".load %1\nbegin immediate;\n").arg(collation);
                const QString list = listed ? QStringLiteral("select max(city),max(rosta),max(peymankar),sum(ghir_tahatori),"
                                                             "max(moarefi_no),sum(ghir_naft),sum(tehran) from ghir_rep2;\n")
                                            : QString();
                return writeText(path, lock + QStringLiteral("delete from ghir_rep2;\n") + engineCopy()
                                           + QStringLiteral(";\n") + list + QStringLiteral("commit;\n"));
            };
            const QString copy = copyScript(QStringLiteral("copy"), false);
            const QString copyListed = copyScript(QStringLiteral("copy_listed"), true);
            if (want("n19/" + db)) {
                const QString html = tmp.filePath(QStringLiteral("n19_%1.htm").arg(backend));
                const QStringList n19 = QStringList{self, QStringLiteral("child"), QStringLiteral("n19")} + d->childArgs()
                                        + QStringList{html};
                // The program's page once, whose cells the plain program writes again.
                if (runProcess(n19, env).status != 0)
                    throw AppError(QStringLiteral("the web report failed"));
                const QString cells = writeText(tmp.filePath(QStringLiteral("n19_%1.tsv").arg(backend)), htmlCells(html));
                const QString again = tmp.filePath(QStringLiteral("n19_%1_reference.htm").arg(backend));
                runProcess({binDir + QStringLiteral("/html_reference"), cells, again}, env);
                QFile a(html), b(again);
                a.open(QIODevice::ReadOnly);
                b.open(QIODevice::ReadOnly);
                std::fprintf(stderr, "%s: the plain program's page is %s the program's\n", db.c_str(),
                             a.readAll() == b.readAll() ? "byte for byte" : "NOT");
                cases.append({"n19/" + db, 1.3, {{n19}},
                              {tool(copyListed), {{binDir + QStringLiteral("/html_reference"), cells, again}}}, env, {}});
            }
            if (want("scratch/" + db))
                cases.append({"scratch/" + db, 1.3,
                              {{QStringList{self, QStringLiteral("child"), QStringLiteral("scratch")} + d->childArgs()}},
                              {tool(copy)}, env, {}});
            if (!pg && want("credits/" + db)) {
                // The listing (counted by its rows) and the four lists of its first project.
                QList<Statement> s;
                s.append({QStringLiteral("select * from prj where id<>-1 "), {}});
                for (const char *t : {"etebarat", "amaliyat", "pish", "takhsis"})
                    s.append({QStringLiteral("select * from %1 where prj_id=?").arg(QLatin1String(t)), {qlonglong(1)}});
                cases.append({"credits/" + db, 1.2,
                              {{QStringList{self, QStringLiteral("child"), QStringLiteral("credits"), d->where}}},
                              {tool(script(QStringLiteral("credits"), s, 1))}, env, {}});
            }
            dbs.push_back(std::move(d));
        }
    } catch (const AppError &e) {
        std::fprintf(stderr, "set-up failed: %s\n", qPrintable(e.message()));
        return 1;
    }

    // The start: an existing embedded database (the sample one), and a new one each time.
    auto dataEnv = [&](const QString &dir) {
        return QStringList{QStringLiteral("HOME=") + home, QStringLiteral("XDG_DATA_HOME=") + dir + QStringLiteral("/data"),
                           QStringLiteral("XDG_CONFIG_HOME=") + dir + QStringLiteral("/config")};
    };
    const QString later = tmp.filePath(QStringLiteral("later")), first = tmp.filePath(QStringLiteral("first"));
    const QStringList start = {self, QStringLiteral("child"), QStringLiteral("start"), QStringLiteral("--sample-data")};
    if (want("start/sign_in"))
        cases.append({"start/sign_in", 1.3, {{start}}, {{{binDir + QStringLiteral("/bare_dialog")}}}, dataEnv(later), {}});
    if (want("start/sample_data")) {
        Case c{"start/sample_data", 1.5, {{start}}, {}, dataEnv(first), [first] {
                   QDir(first).removeRecursively();
               }};
        // The later start, on the database the first start of another folder left.
        c.reference = {{QStringList{QStringLiteral("env")} + dataEnv(later) + start}};
        cases.append(c);
    }
    if (want("pdf"))
        cases.append({"pdf", 1.3, {{{self, QStringLiteral("child"), QStringLiteral("pdf"), tmp.filePath(QStringLiteral("a.pdf"))}}},
                      {{{binDir + QStringLiteral("/pdf_reference"), tmp.filePath(QStringLiteral("b.pdf"))}}}, {QStringLiteral("HOME=") + home}, {}});
    // The sample database of the later starts.
    runProcess(start, dataEnv(later));

    std::printf("%-26s %11s %11s %7s %13s %7s %6s\n", "case", "program_ms", "reference", "ratio", "(min-max)",
                "cpu", "goal");
    for (const Case &c : cases) {
        const Result r = measure(c, pairs);
        std::printf("%-26s %11.1f %11.1f %6.2fx %5.2f-%-6.2f %6.2fx %5.2fx%s\n", c.name.c_str(), r.programMs,
                    r.referenceMs, r.ratio, r.ratioMin, r.ratioMax, r.cpuRatio, c.goal, r.failed ? "  FAILED" : "");
        std::fflush(stdout);
    }
    for (auto &d : dbs)
        closeBenchDatabase(&d->dm, d->schema);
    return 0;
}
