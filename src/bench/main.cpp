// lexivar-bench: times what a user waits for on a large term base, next to the same work done
// with the bare database API.
#include "SyntheticDatabase.h"
#include "app/Session.h"
#include "lists/ListView.h"
#include "lists/SearchCriteria.h"
#include "lists/basListViewADO.h"
#include "lists/clsListViewHeader.h"
#include "storage/basFileEncrypt.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRuns = 3;

double bestOf(const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

// The statement stepped through with the engine alone: open, key, read every column as text.
long bareStep(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray key = QByteArray(SyntheticDatabase::kPassword);
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    sqlite3_exec(db, "PRAGMA cipher_page_size = 4096;", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    sqlite3_prepare_v2(db, text.constData(), -1, &stmt, nullptr);
    long rows = 0;
    size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const unsigned char* v = sqlite3_column_text(stmt, i);
            bytes += v ? static_cast<size_t>(sqlite3_column_bytes(stmt, i)) : 0;
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return bytes > 0 ? rows : 0;
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
        auto d = std::make_shared<clsListViewHeader>();
        d->Constructor(QString::fromUtf16(n[0]), QString::fromUtf16(n[1]));
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

struct Row {
    QString scenario;
    double lexivar;
    double baseline;
};

Row fillScenario(const QString& folder, int records) {
    const QString path = folder + u"/bench-"_s + QString::number(records) + u".mdb"_s;
    if (!QFile::exists(path) || !QFile::exists(sPasswordFileOf(path))) {
        SyntheticDatabase::Create(path, records);
    }
    gsDBPath = path;
    gsConnectionString = sConnectionStringFor(path);
    const QString query =
        SearchCriteria::sNewSearchStatement(0, QString(), QDate(), QDate(), false) +
        u" ORDER BY Files.ID;"_s;
    QWidget window;
    window.resize(800, 520);
    ListView list(&window);
    list.resize(780, 400);
    window.show();
    auto columns = searchColumns();
    std::int32_t found = 0;
    const double lexivar = bestOf([&] {
        found = lFillListViewADO(list, query, window, u"Affichage des fiches"_s, columns.get());
    });
    long stepped = 0;
    const double baseline = bestOf([&] { stepped = bareStep(path, query); });
    if (found != records || stepped != records) {
        QTextStream(stderr) << "écart : " << found << " listées, " << stepped << " parcourues\n";
    }
    return {u"all records, "_s + QString::number(records) + u" found, list filled"_s, lexivar,
            baseline};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    QString folder = QDir::tempPath() + u"/lexivar-bench"_s;
    if (const qsizetype i = args.indexOf(u"--dir"_s); i >= 0 && i + 1 < args.size()) {
        folder = args.at(i + 1);
    }
    if (args.contains(u"--help"_s)) {
        QTextStream(stdout) << "Usage : lexivar-bench [--dir DOSSIER]\n"
                               "Builds synthetic term bases (kept in DOSSIER, by default "
                            << folder << ") and times each scenario against the bare database.\n";
        return 0;
    }
    QDir().mkpath(folder);
    std::vector<Row> rows;
    for (int n : {10000, 100000}) {
        rows.push_back(fillScenario(folder, n));
    }
    QTextStream out(stdout);
    out << qSetFieldWidth(48) << Qt::left << "scenario" << qSetFieldWidth(14) << Qt::right
        << "Lexivar ms"
        << "bare ms"
        << "ratio" << qSetFieldWidth(0) << "\n";
    for (const Row& r : rows) {
        out << qSetFieldWidth(48) << Qt::left << r.scenario << qSetFieldWidth(14) << Qt::right
            << QString::number(r.lexivar, 'f', 1) << QString::number(r.baseline, 'f', 1)
            << QString::number(r.lexivar / r.baseline, 'f', 2) << qSetFieldWidth(0) << "\n";
    }
    out << "peak memory: " << peakMemoryKiB() / 1024 << " MiB\n";
    return 0;
}
