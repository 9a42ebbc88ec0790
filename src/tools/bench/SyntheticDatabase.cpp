#include "tools/bench/SyntheticDatabase.h"

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/JetDate.h"
#include "core/db/Schema.h"
#include "core/db/SqliteError.h"
#include "core/files/PasswordFile.h"

#include <QFile>
#include <QStringList>
#include <random>
#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList kEnglish = {u"water"_s,   u"heat"_s,      u"network"_s, u"pump"_s,
                              u"ground"_s,  u"power"_s,     u"court"_s,   u"policy"_s,
                              u"sample"_s,  u"treatment"_s, u"survey"_s,  u"bridge"_s,
                              u"storage"_s, u"device"_s,    u"fault"_s,   u"record"_s};
const QStringList kFrench = {u"eau"_s,         u"chaleur"_s,    u"réseau"_s,   u"pompe"_s,
                             u"sol"_s,         u"énergie"_s,    u"tribunal"_s, u"politique"_s,
                             u"échantillon"_s, u"traitement"_s, u"enquête"_s,  u"pont"_s,
                             u"stockage"_s,    u"dispositif"_s, u"défaut"_s,   u"fiche"_s};
const QStringList kDefinitionWords = {
    u"ensemble"_s, u"des"_s,         u"opérations"_s, u"qui"_s,     u"permettent"_s, u"de"_s,
    u"mesurer"_s,  u"l'état"_s,      u"du"_s,         u"système"_s, u"à"_s,          u"partir"_s,
    u"données"_s,  u"recueillies"_s, u"sur"_s,        u"le"_s,      u"terrain"_s,    u"çà"_s,
    u"et"_s,       u"là"_s,          u"selon"_s,      u"une"_s,     u"méthode"_s,    u"éprouvée"_s};
const QStringList kAuthors = {u"Administrateur démo"_s, u"Jean-François Côté"_s, u"Élise Gagnon"_s,
                              u"Marie-Ève Tremblay"_s, u"Noël Lefèvre"_s};
const QStringList kDomains = {
    u"Informatique"_s, u"Électricité"_s, u"Médecine"_s,     u"Droit"_s,    u"Environnement"_s,
    u"Génie civil"_s,  u"Finance"_s,     u"Agriculture"_s,  u"Chimie"_s,   u"Télécommunications"_s,
    u"Éducation"_s,    u"Transport"_s,   u"Énergie"_s,      u"Géologie"_s, u"Santé publique"_s,
    u"Météorologie"_s, u"Économie"_s,    u"Aéronautique"_s, u"Pêches"_s,   u"Forêts"_s};

class Generator {
public:
    QString words(const QStringList& from, int min, int max) {
        const int n = std::uniform_int_distribution<int>(min, max)(m_rng);
        QStringList out;
        for (int i = 0; i < n; ++i) {
            out << from.at(std::uniform_int_distribution<int>(0, from.size() - 1)(m_rng));
        }
        return out.join(u' ');
    }
    int number(int min, int max) { return std::uniform_int_distribution<int>(min, max)(m_rng); }

private:
    std::mt19937 m_rng{20061231};
};

void exec(sqlite3* db, const char* sql) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw sqliteError(db, rc);
    }
}

void bindText(sqlite3_stmt* stmt, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
}

} // namespace

namespace SyntheticDatabase {

void create(const QString& path, int records) {
    QFile::remove(path);
    const QString password = QString::fromUtf8(kPassword);
    Schema::createDatabase(path, password);
    writePasswordFile(passwordFileOf(path), password, path);

    Connection c;
    c.open({path, password}, Connection::Mode::ReadWrite);
    sqlite3* db = c.handle();
    exec(db, "BEGIN;");
    for (const QString& d : kDomains) {
        c.execute(u"INSERT INTO Domains (Name) VALUES ('"_s + d + u"');"_s);
    }
    c.execute(u"INSERT INTO Passwords (Name, Login, Pass, Type) VALUES "
              u"('Administrateur démo', 'admin', 'admin', 0);"_s);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Files (English, French, AF, DomainID, DEFINITION, "
                       "OBSERVATION, Date, CreatedBy, DateModified, ModifiedBy) VALUES "
                       "(?,?,?,?,?,?,?,?,?,?)",
                       -1, &stmt, nullptr);
    Generator g;
    const double firstDay = JetDate::toDayNumber(QDate(1998, 1, 1));
    for (int i = 0; i < records; ++i) {
        // One record in a thousand holds a rare word, for searches that find a few.
        bindText(stmt, 1, g.words(kEnglish, 1, 4) + (i % 1000 == 999 ? u" zircon"_s : QString()));
        bindText(stmt, 2, g.words(kFrench, 1, 4));
        bindText(stmt, 3, u"Office québécois de la langue française"_s.left(g.number(3, 39)));
        sqlite3_bind_int(stmt, 4, g.number(1, static_cast<int>(kDomains.size())));
        bindText(stmt, 5, g.words(kDefinitionWords, 10, 40));
        bindText(stmt, 6, g.number(0, 2) == 0 ? g.words(kDefinitionWords, 3, 12) : QString());
        const double created = firstDay + g.number(0, 3000);
        sqlite3_bind_double(stmt, 7, created);
        const QString& author = kAuthors.at(g.number(0, kAuthors.size() - 1));
        bindText(stmt, 8, author);
        sqlite3_bind_double(stmt, 9, created + g.number(0, 400));
        bindText(stmt, 10, g.number(0, 1) ? author : QString());
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            AppError error = sqliteError(db, sqlite3_errcode(db));
            sqlite3_finalize(stmt);
            throw error;
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    exec(db, "COMMIT;");
}

} // namespace SyntheticDatabase
