// lexivar-bench: times what a user waits for on a large term base, next to the same work done
// with the bare database API.
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/db/Schema.h"
#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"
#include "core/reports/ReportWriter.h"
#include "core/search/SearchStatement.h"
#include "core/search/TextColumn.h"
#include "core/session/Session.h"
#include "gui/configuration/Compaction.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ScriptedDialogs.h"
#include "gui/lists/ListFiller.h"
#include "gui/lists/ListView.h"
#include "gui/startup/SignInDialog.h"
#include "tools/admin/BaseCopy.h"
#include "tools/bench/DesktopProbe.h"
#include "tools/bench/SyntheticDatabase.h"
#include "tools/bench/VirtualDesktop.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <functional>
#include <optional>
#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRuns = 8;
constexpr int kStartupRuns = 9;
constexpr int kCompactionRuns = 3;
constexpr qint64 kShowDeadlineMs = 30000;

struct Row {
    QString scenario;
    double lexivar;
    std::optional<double> baseline;
    QString target;
};

double bestOf(const std::function<void()>& work, int runs = kRuns) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

// The best times of two pieces of work run in turn, so that whatever else the machine does
// weighs on both alike; `tidy` runs after each, untimed.
std::pair<double, double> bestOfEach(
    const std::function<void()>& first, const std::function<void()>& second, int runs = kRuns,
    const std::function<void()>& tidy = [] {}) {
    std::pair<double, double> best{1e30, 1e30};
    for (int i = 0; i < runs; ++i) {
        best.first = std::min(best.first, bestOf(first, 1));
        tidy();
        best.second = std::min(best.second, bestOf(second, 1));
        tidy();
    }
    return best;
}

// A desktop session's runtime folder is in memory (/run/user/…): files the program keeps there,
// its lock and its spool, cost no disk write. Outside a session, a memory folder alike.
QString sessionRuntimeRoot() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        return runtime;
    }
    return QDir(u"/dev/shm"_s).exists() ? u"/dev/shm"_s : QDir::tempPath();
}

sqlite3* bareOpen(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const QByteArray key = QByteArray(SyntheticDatabase::kPassword);
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    sqlite3_exec(db, "PRAGMA cipher_page_size = 4096;", nullptr, nullptr, nullptr);
    return db;
}

// A statement stepped through with the engine alone, every column read as text.
long bareStep(sqlite3* db, const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    sqlite3_prepare_v2(db, text.constData(), -1, &stmt, nullptr);
    long rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            sqlite3_column_text(stmt, i);
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

long bareQuery(const QString& path, const QString& sql) {
    sqlite3* db = bareOpen(path);
    const long rows = bareStep(db, sql);
    sqlite3_close(db);
    return rows;
}

std::unique_ptr<ColumnList> searchColumns() {
    auto columns = std::make_unique<ColumnList>();
    const char16_t* names[][2] = {
        {u"ID", u"No de Fiche"},        {u"NAME", u"Domaine"},
        {u"ENGLISH", u"Terme anglais"}, {u"FRENCH", u"Terme français"},
        {u"AF", u"Source A/F"},         {u"DATE", u"Date de création"},
        {u"CREATEDBY", u"Auteur"},      {u"DATEMODIFIED", u"Dernière Date De Modification"},
        {u"MODIFIEDBY", u"Modifié Par"}};
    for (const auto& n : names) {
        auto d = std::make_shared<TextColumn>();
        d->define(QString::fromUtf16(n[0]), QString::fromUtf16(n[1]));
        columns->push_back(d);
    }
    return columns;
}

long peakMemoryKiB() {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').front().toLong();
        }
    }
    return 0;
}

class Bench {
public:
    explicit Bench(QString folder) : m_folder(std::move(folder)) {}

    QString database(int records) {
        const QString path = m_folder + u"/bench-"_s + QString::number(records) + u".mdb"_s;
        if (!QFile::exists(path) || !QFile::exists(passwordFileOf(path))) {
            QTextStream(stderr) << "building a base of " << records << " records...\n";
            SyntheticDatabase::create(path, records);
        }
        return path;
    }

    void use(const QString& path) {
        m_session = Session();
        m_session.setDatabasePath(path);
    }

    // The best time of filling the search window's list from a statement on a base, and that of
    // `beside`, run in turn with it.
    std::pair<double, double> timedFill(
        const QString& base, const QString& query, std::int32_t& found,
        const std::function<void()>& beside = [] {}) {
        use(base);
        QWidget window;
        window.resize(800, 520);
        ListView list(&window);
        list.resize(780, 400);
        window.show();
        auto columns = searchColumns();
        return bestOfEach(
            [&] {
                found = ListFiller::fill(list, m_session.location(), query, window,
                                         u"Affichage des fiches"_s, columns.get());
            },
            beside);
    }

    // A list filled from a statement, next to the same statement stepped through bare.
    Row fill(const QString& scenario, const QString& path, const QString& query, long expected,
             const QString& target) {
        std::int32_t found = 0;
        long stepped = 0;
        const auto [lexivar, baseline] =
            timedFill(path, query, found, [&] { stepped = bareQuery(path, query); });
        if (found != expected || stepped != expected) {
            QTextStream(stderr) << "écart : " << found << " listées, " << stepped << " parcourues, "
                                << expected << " attendues\n";
        }
        return {scenario, lexivar, baseline, target};
    }

    // From launching `lexivar` until its icon is docked in the notification area, next to a
    // bare Qt program from launch until its one window is on the screen, on the same display.
    Row startup(const QString& path, const QByteArray& display) {
        const QString target = u"<= 1.2x"_s;
        const QString scenario = u"start-up to the tray icon, 1 000 000 records"_s;
        if (display.isEmpty()) {
            QTextStream(stderr) << "pas de serveur X virtuel (Xvfb, openbox, trayer) : "
                                   "démarrage non mesuré\n";
            return {scenario, 0, std::nullopt, target};
        }
        const QString folder = m_folder + u"/program"_s;
        QDir().mkpath(folder);
        const QTemporaryDir runtime(sessionRuntimeRoot() + u"/lexivar-bench-XXXXXX"_s);
        const QString program = folder + u"/lexivar"_s;
        QFile::remove(program);
        QFile::copy(QCoreApplication::applicationDirPath() + u"/lexivar"_s, program);
        QFile::remove(folder + u"/Lexivar.ini"_s);
        writeSetting(u"Database"_s, u"Path"_s, path, folder + u"/Lexivar.ini"_s);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, QString::fromLatin1(display));
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        environment.insert(u"XDG_CONFIG_HOME"_s, folder + u"/config"_s);
        DesktopProbe probe(display);
        const auto launchLexivar = [&] {
            timeUntilShown(program, environment, probe, "lexivar",
                           VirtualDesktop::notificationArea());
        };
        const QString bareProgram =
            QCoreApplication::applicationDirPath() + u"/lexivar-bench-window"_s;
        const auto launchBare = [&] {
            timeUntilShown(bareProgram, environment, probe, "lexivar-bench-window", {});
        };
        const auto [lexivar, bare] = bestOfEach(launchLexivar, launchBare, kStartupRuns);
        return {scenario, lexivar, bare, target};
    }

    // Launches a program and returns once its window shows (the caller's clock runs meanwhile),
    // then ends it.
    static void timeUntilShown(const QString& program, const QProcessEnvironment& environment,
                               DesktopProbe& probe, const QByteArray& instance,
                               const QByteArray& ancestor) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setStandardOutputFile(QProcess::nullDevice());
        child.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer waited;
        waited.start();
        child.start(program, {});
        while (!probe.shown(instance, ancestor)) {
            if (waited.elapsed() > kShowDeadlineMs || child.state() == QProcess::NotRunning) {
                QTextStream(stderr) << program << " : rien ne s'affiche\n";
                break;
            }
            QThread::msleep(2);
        }
        child.terminate();
        if (!child.waitForFinished(5000)) {
            child.kill();
            child.waitForFinished(5000);
        }
    }

    Row signIn(const QString& path) {
        use(path);
        const double t = bestOf([this] {
            m_session.signOut();
            SignInDialog login(m_session);
            login.findChild<QLineEdit*>(u"txtLogin"_s)->setText(u"admin"_s);
            login.findChild<QLineEdit*>(u"txtPassword"_s)->setText(u"admin"_s);
            login.signIn();
        });
        if (!m_session.isSignedIn()) {
            QTextStream(stderr) << "la connexion a échoué\n";
        }
        return {u"sign-in"_s, t, std::nullopt, u"< 200"_s};
    }

    Row fullListing(const QString& path) {
        use(path);
        ProgramFolder::set(m_folder);
        IdentifierList ids;
        for (int i = 0; i < 10000; ++i) {
            ids.push_back(i * 100 + 1);
        }
        // Where the program writes it: the session's runtime folder, emptied once printed (the
        // user does not wait for that).
        const QTemporaryDir runtime(sessionRuntimeRoot() + u"/lexivar-bench-XXXXXX"_s);
        const QString spool = runtime.filePath(u"spool.html"_s);
        const QStringList groups = identifierGroups(ids);
        const auto [lexivar, baseline] = bestOfEach(
            [&] { writeFullListing(m_session.location(), ids, spool, u"banc, 12:00:00"_s); },
            [&] {
                sqlite3* db = bareOpen(path);
                for (const QString& g : groups) {
                    bareStep(db, u"SELECT * FROM Files, Domains WHERE Domains.ID = "
                                 u"Files.DomainID AND ("_s +
                                     g + u")"_s);
                }
                sqlite3_close(db);
            },
            kRuns, [&] { QFile::remove(spool); });
        return {u"full listing of 10 000 chosen records"_s, lexivar, baseline,
                u"< 2000, <= 1.5x"_s};
    }

    Row compaction(const QString& path) {
        const QString copy = m_folder + u"/compact/Lexivar4.mdb"_s;
        QDir().mkpath(m_folder + u"/compact"_s);
        const auto fresh = [&] {
            QFile::remove(copy);
            QFile::copy(path, copy);
        };
        // Each run on a fresh copy of the same file, the two in turn.
        fresh();
        const auto [lexivar, baseline] = bestOfEach(
            [&] { compactDatabase(copy, QString::fromUtf8(SyntheticDatabase::kPassword)); },
            [&] {
                // The engine's own VACUUM of the same file, under the same key.
                sqlite3* db = bareOpen(copy);
                sqlite3_exec(db, "VACUUM;", nullptr, nullptr, nullptr);
                sqlite3_close(db);
            },
            kCompactionRuns, fresh);
        QFile::remove(copy);
        return {u"compaction of a 1 000 000-record base"_s, lexivar, baseline, u"<= 1.2x"_s};
    }

    // The server's base, filled once with a copy of the file base `path` (IDs kept). Its role's
    // password is read from Lexivar.pws in the bench folder, never from the command line.
    std::optional<QString> serverBase(const QString& address, const QString& path) {
        ProgramFolder::set(m_folder);
        use(address);
        const DatabaseLocation server = m_session.location();
        if (server.password.isEmpty()) {
            QTextStream(stderr) << "mot de passe du serveur introuvable : "
                                << passwordFileOf(address) << "\n";
            return std::nullopt;
        }
        Connection target;
        target.open(server, Connection::Mode::ReadWrite);
        Recordset tables;
        tables.open(u"SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                    u"current_schema()"_s,
                    target);
        if (tables.value(0).toLongLong() == 0) {
            QTextStream(stderr) << "copying the base of " << path << " to the server...\n";
            Schema::create(target);
            use(path);
            Connection source;
            source.open(m_session.location(), Connection::Mode::Read);
            BaseCopy::copyAll(source, target);
        }
        return address;
    }

    // A list filled from the server, beside the same fill from the file.
    Row fillBeside(const QString& scenario, const QString& server, const QString& path,
                   const QString& query, long expected) {
        const auto timeOn = [&](const QString& base) {
            ProgramFolder::set(m_folder);
            std::int32_t found = 0;
            const double t = timedFill(base, query, found).first;
            if (found != expected) {
                QTextStream(stderr)
                    << "écart : " << found << " listées, " << expected << " attendues\n";
            }
            return t;
        };
        return {scenario, timeOn(server), timeOn(path), u"server vs file"_s};
    }

    // The full listing of 10 000 chosen records from the server, beside the same from the file.
    Row fullListingBeside(const QString& server, const QString& path) {
        IdentifierList ids;
        for (int i = 0; i < 10000; ++i) {
            ids.push_back(i * 10 + 1);
        }
        const QString spool = m_folder + u"/spool.html"_s;
        const auto timeOn = [&](const QString& base) {
            ProgramFolder::set(m_folder);
            use(base);
            return bestOf(
                [&] { writeFullListing(m_session.location(), ids, spool, u"banc, 12:00:00"_s); });
        };
        return {u"server: full listing of 10 000 of 100 000"_s, timeOn(server), timeOn(path),
                u"server vs file"_s};
    }

    Row memory(const QString& path) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--memory-child"_s, path});
        child.waitForFinished(120000);
        const double mib = QString::fromUtf8(child.readAllStandardOutput()).trimmed().toDouble();
        return {u"peak memory with 100 000 rows listed (MiB)"_s, mib, std::nullopt, u"< 100"_s};
    }

private:
    QString m_folder;
    Session m_session;
};

// Fills a list of every record of the base in a fresh process and prints its peak memory.
int memoryChild(const QString& path) {
    Session session;
    session.setDatabasePath(path);
    QWidget window;
    ListView list(&window);
    window.show();
    auto columns = searchColumns();
    ListFiller::fill(list, session.location(),
                     SearchStatement::newSearchStatement(0, QString(), QDate(), QDate(), false) +
                         u" ORDER BY Files.ID;"_s,
                     window, u"Affichage des fiches"_s, columns.get());
    QTextStream(stdout) << QString::number(peakMemoryKiB() / 1024.0, 'f', 1) << "\n";
    return 0;
}

void print(const std::vector<Row>& rows) {
    QTextStream out(stdout);
    out << qSetFieldWidth(50) << Qt::left << "scenario" << qSetFieldWidth(12) << Qt::right
        << "Lexivar ms"
        << "bare ms"
        << "ratio" << qSetFieldWidth(20) << "target" << qSetFieldWidth(0) << "\n";
    for (const Row& r : rows) {
        out << qSetFieldWidth(50) << Qt::left << r.scenario << qSetFieldWidth(12) << Qt::right
            << QString::number(r.lexivar, 'f', 1)
            << (r.baseline ? QString::number(*r.baseline, 'f', 1) : u"-"_s)
            << (r.baseline ? QString::number(r.lexivar / *r.baseline, 'f', 2) : u"-"_s)
            << qSetFieldWidth(20) << r.target << qSetFieldWidth(0) << "\n";
    }
}

// "--platform xcb", which Qt reads itself: the windows go to a real X server.
bool wantsXcb(int argc, char* argv[]) {
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray arg(argv[i]);
        if ((arg == "--platform" || arg == "-platform") && QByteArray(argv[i + 1]) == "xcb") {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Without a display of its own, the bench brings one up, with a window manager and a
    // notification area, and ends it when done.
    std::unique_ptr<VirtualDesktop> desktop;
    if (wantsXcb(argc, argv) && qEnvironmentVariableIsEmpty("DISPLAY")) {
        desktop = std::make_unique<VirtualDesktop>();
        if (desktop->display().isEmpty()) {
            QTextStream(stderr) << "Impossible de démarrer un serveur X virtuel (Xvfb).\n";
            return 1;
        }
        qputenv("DISPLAY", desktop->display());
    }
    QApplication app(argc, argv);
    Dialogs::install(std::make_unique<ScriptedDialogs>()); // nothing may wait for a click
    const QStringList args = QApplication::arguments();
    if (const qsizetype i = args.indexOf(u"--memory-child"_s); i >= 0 && i + 1 < args.size()) {
        return memoryChild(args.at(i + 1));
    }
    QString folder = QDir::tempPath() + u"/lexivar-bench"_s;
    if (const qsizetype i = args.indexOf(u"--dir"_s); i >= 0 && i + 1 < args.size()) {
        folder = args.at(i + 1);
    }
    if (args.contains(u"--help"_s)) {
        QTextStream(stdout)
            << "Usage : lexivar-bench [--all | --only-startup | --only-listing | "
               "--only-compaction] [--dir DOSSIER] [--platform xcb]\n"
               "       [--server postgresql://...]\n"
               "Builds synthetic term bases (kept in DOSSIER, by default "
            << folder
            << ") and times each scenario against the bare database.\n"
               "Without --all: the list fills of 10 000 and 100 000 records.\n"
               "--all: every scenario, on bases of 100 000 and 1 000 000 records.\n"
               "--platform xcb: the lists fill on a real X server ($DISPLAY, or one of its "
               "own).\n"
               "Start-up is always timed on a virtual X server with a notification area.\n"
               "--server: the same fill, contains search and full listing on a copy of the\n"
               "  100 000-record base in an empty base on a PostgreSQL server, beside the file's\n"
               "  (the role's password in DOSSIER/Lexivar.pws).\n";
        return 0;
    }
    QDir().mkpath(folder);
    Bench bench(folder);
    const QString allRecords =
        SearchStatement::newSearchStatement(0, QString(), QDate(), QDate(), false) +
        u" ORDER BY Files.ID;"_s;
    std::vector<Row> rows;
    const QString small = bench.database(10000);
    const QString medium = bench.database(100000);
    const bool only = args.contains(u"--only-listing"_s) || args.contains(u"--only-compaction"_s) ||
                      args.contains(u"--only-startup"_s);
    // Start-up is timed on a desktop whose notification area the bench knows.
    const auto startup = [&](const QString& base) {
        std::unique_ptr<VirtualDesktop> own;
        if (!desktop) {
            own = std::make_unique<VirtualDesktop>();
        }
        return bench.startup(base, (desktop ? desktop : own)->display());
    };
    if (!only) {
        rows.push_back(bench.fill(u"all records, 10 000 found, list filled"_s, small, allRecords,
                                  10000, u"-"_s));
        rows.push_back(bench.fill(u"all records, 100 000 found, list filled"_s, medium, allRecords,
                                  100000, u"< 1000, <= 2x"_s));
    }
    if (args.contains(u"--only-listing"_s)) {
        rows = {bench.fullListing(bench.database(1000000))};
    } else if (args.contains(u"--only-compaction"_s)) {
        rows = {bench.compaction(bench.database(1000000))};
    } else if (args.contains(u"--only-startup"_s)) {
        rows = {startup(bench.database(1000000))};
    } else if (args.contains(u"--all"_s)) {
        const QString large = bench.database(1000000);
        rows.insert(rows.begin(), bench.signIn(large));
        rows.insert(rows.begin(), startup(large));
        rows.push_back(bench.fill(
            u"contains on Terme Anglais, 1 000 of 1 000 000"_s, large,
            SearchStatement::newSearchStatement(2, u"zircon"_s, QDate(), QDate(), false) +
                u" ORDER BY Files.ID;"_s,
            1000, u"< 1000, <= 1.3x"_s));
        rows.push_back(bench.fullListing(large));
        rows.push_back(bench.compaction(large));
        rows.push_back(bench.memory(medium));
    }
    if (const qsizetype i = args.indexOf(u"--server"_s); i >= 0 && i + 1 < args.size()) {
        const std::optional<QString> server = bench.serverBase(args.at(i + 1), medium);
        if (!server) {
            return 1;
        }
        rows.push_back(bench.fillBeside(u"server: all records, 100 000 found, list filled"_s,
                                        *server, medium, allRecords, 100000));
        rows.push_back(bench.fillBeside(
            u"server: contains on Terme Anglais, 100 of 100 000"_s, *server, medium,
            SearchStatement::newSearchStatement(2, u"zircon"_s, QDate(), QDate(), false) +
                u" ORDER BY Files.ID;"_s,
            100));
        rows.push_back(bench.fullListingBeside(*server, medium));
    }
    print(rows);
    return 0;
}
