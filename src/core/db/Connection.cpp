#include "core/db/Connection.h"

#include "core/AppError.h"
#include "core/db/Binding.h"
#include "core/db/CipherFormat.h"
#include "core/db/JetDialect.h"
#include "core/db/ServerDialect.h"
#include "core/db/SqliteError.h"
#include "core/files/DatabaseAddress.h"

#include <QFile>
#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kBusyTimeoutMs = 5000;
const QByteArray kPlainHeader("SQLite format 3\0", 16);

QByteArray header(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(16) : QByteArray();
}

// An encrypted file starts with 16 random bytes; text there means some other kind of file.
bool looksLikeText(const QByteArray& head) {
    for (char c : head) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x7F || (u < 0x20 && u != '\t' && u != '\n' && u != '\r')) {
            return false;
        }
    }
    return true;
}

AppError notADatabase(const QString& path) {
    return AppError(ErrorNumber::ProviderGeneric,
                    u"Format de base de données non reconnu : « "_s + path + u" »."_s);
}

void execRaw(sqlite3* db, const char* sql) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw sqliteError(db, rc);
    }
}

} // namespace

Connection::~Connection() {
    close();
}

void Connection::open(const DatabaseLocation& location, Mode mode) {
    close();
    if (DatabaseAddress::isServer(location.path)) {
        openServer(location, mode == Mode::Read);
        return;
    }
    const QFileInfo info(location.path);
    if (!info.exists() || !info.isFile()) {
        throw AppError(ErrorNumber::ProviderGeneric,
                       u"Le fichier « "_s + location.path + u" » est introuvable."_s);
    }
    // Database files are whole pages; anything else (an empty or a text file) is not one.
    if (info.size() == 0 || info.size() % 512 != 0) {
        throw notADatabase(location.path);
    }
    const bool readOnly = mode == Mode::Read;
    // Read connections too open the file read-write (the engine falls back to read-only when the
    // file cannot be written): only then can they roll back what a killed writer left in the
    // journal, instead of failing until someone writes. query_only keeps them from writing.
    // Read-write ones may create files: a password rewrite attaches its new copy. The main file
    // was checked above, so no database is created by opening one.
    openFile(location.path, location.password,
             readOnly ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    m_readOnly = readOnly;
    try {
        if (readOnly) {
            execRaw(m_db, "PRAGMA query_only = 1;");
        }
        checkReadable(location.password);
    } catch (...) {
        close();
        throw;
    }
}

void Connection::openServer(const DatabaseLocation& location, bool readOnly) {
    auto server = std::make_unique<ServerConnection>();
    server->connect(location.path, location.password, readOnly);
    m_server = std::move(server);
    m_path = location.path;
    m_readOnly = readOnly;
}

QString Connection::serverStatement(const QString& sql, const QVariantList& parameters) const {
    const ServerDialect::Statement s = ServerDialect::translate(sql);
    if (s.severalStatements) {
        throw Binding::notOneStatement();
    }
    if (s.placeholders != parameters.size()) {
        throw Binding::countMismatch();
    }
    return s.text;
}

ServerResult Connection::queryServer(const QString& sql, const QVariantList& parameters) {
    if (!m_server) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La connexion n’est pas ouverte."_s);
    }
    return m_server->query(serverStatement(sql, parameters), parameters);
}

bool Connection::inTransaction() const {
    if (m_server) {
        return m_server->inTransaction();
    }
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void Connection::createNew(const QString& path, const QString& databasePassword) {
    close();
    if (DatabaseAddress::isServer(path)) {
        // A server's database is created by its administrator; the tables go into it.
        openServer({path, databasePassword}, false);
        return;
    }
    if (QFileInfo::exists(path)) {
        throw AppError(ErrorNumber::PathFileAccess,
                       u"Le fichier « "_s + path + u" » existe déjà."_s);
    }
    openFile(path, databasePassword, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    m_readOnly = false;
}

void Connection::openFile(const QString& path, const QString& key, int flags) {
    sqlite3* db = nullptr;
    // A connection serves one thread only: the engine need not lock around each call.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        AppError error = sqliteError(db, rc);
        sqlite3_close(db);
        throw error;
    }
    m_db = db;
    m_path = path;
    try {
        CipherFormat::applyOnOpen(db);
        if (!key.isEmpty()) {
            const QByteArray k = key.toUtf8();
            sqlite3_key(db, k.constData(), static_cast<int>(k.size()));
            CipherFormat::applyAfterKey(db);
        }
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        JetDialect::install(db);
    } catch (...) {
        close();
        throw;
    }
}

void Connection::checkReadable(const QString& key) {
    // A wrong key only shows at the first read.
    const int rc =
        sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        execRaw(m_db, "PRAGMA foreign_keys = ON;");
        return;
    }
    if ((rc & 0xFF) == SQLITE_NOTADB) {
        const QByteArray head = header(m_path);
        const bool plain = head == kPlainHeader;
        if ((!plain && looksLikeText(head)) || (plain && key.isEmpty())) {
            throw notADatabase(m_path);
        }
        // An encrypted file with the wrong key or none, or a plain one opened with a key.
        throw AppError(ErrorNumber::NotValidPassword, u"Mot de passe non valide."_s);
    }
    throw sqliteError(m_db, rc);
}

void Connection::close() {
    m_server.reset();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_path.clear();
    m_readOnly = false;
}

long Connection::execute(const QString& sql) {
    if (m_server) {
        return m_server->execute(ServerDialect::translate(sql).text);
    }
    if (!m_db) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La connexion n’est pas ouverte."_s);
    }
    const QByteArray text = JetDialect::translate(sql).toUtf8();
    const char* tail = text.constData();
    long changed = 0;
    while (tail && *tail) {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, tail, -1, &stmt, &tail);
        if (rc != SQLITE_OK) {
            throw sqliteError(m_db, rc);
        }
        if (!stmt) {
            break; // only blanks or a semicolon were left
        }
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            throw sqliteError(m_db, rc);
        }
        changed = sqlite3_changes(m_db);
    }
    return changed;
}

long Connection::execute(const QString& sql, const QVariantList& parameters) {
    if (m_server) {
        return m_server->execute(serverStatement(sql, parameters), parameters);
    }
    if (!m_db) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La connexion n’est pas ouverte."_s);
    }
    const QByteArray text = JetDialect::translate(sql).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc =
        sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &stmt, &tail);
    if (rc != SQLITE_OK) {
        throw sqliteError(m_db, rc);
    }
    struct Finalize {
        sqlite3_stmt* stmt;
        ~Finalize() { sqlite3_finalize(stmt); }
    } finalize{stmt};
    // Values belong to one statement: a second one after it would run unbound.
    if (!stmt || QByteArray(tail).trimmed().replace(';', "").size() != 0) {
        throw Binding::notOneStatement();
    }
    Binding::bindAll(stmt, parameters);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        throw sqliteError(m_db, rc);
    }
    return sqlite3_changes(m_db);
}
