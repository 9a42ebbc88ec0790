#include "core/db/DatabaseFile.h"

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/SqliteError.h"
#include "core/files/DatabaseAddress.h"
#include "core/files/FileIo.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString textScalar(Connection& c, const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(c.handle(), text.constData(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
    }
    if (rc != SQLITE_ROW) {
        AppError error = sqliteError(c.handle(), rc);
        sqlite3_finalize(stmt);
        throw error;
    }
    const QString v =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return v;
}

AppError fileError(const QString& what) {
    return AppError(ErrorNumber::ProviderGeneric, what);
}

enum class Check { Full, Structure };

void checkIntegrity(Connection& c, const QString& failure, Check check = Check::Full) {
    const QString sql =
        check == Check::Full ? u"PRAGMA integrity_check;"_s : u"PRAGMA quick_check;"_s;
    if (textScalar(c, sql) != u"ok"_s) {
        throw fileError(failure);
    }
}

void open(Connection& c, const QString& path, const QString& password) {
    c.open({path, password}, Connection::Mode::ReadWrite);
}

// Holds the exclusive lock from now until the connection closes: no other connection reads or
// writes the file meanwhile, and a writer that waited finds the file replaced.
void lockExclusively(Connection& c) {
    c.execute(u"PRAGMA main.locking_mode = EXCLUSIVE;"_s);
    c.execute(u"BEGIN EXCLUSIVE;"_s);
    c.execute(u"PRAGMA main.user_version = "_s + textScalar(c, u"PRAGMA main.user_version;"_s) +
              u";"_s);
    c.execute(u"COMMIT;"_s);
}

void exportTo(Connection& source, const QString& copy, const QString& newPassword) {
    const QString version = textScalar(source, u"PRAGMA main.user_version;"_s);
    source.execute(u"PRAGMA cipher_default_page_size = 4096;"_s);
    // Bound: the path and the password reach the engine as values, whatever they hold.
    source.execute(u"ATTACH DATABASE ? AS rewrite KEY ?"_s, {copy, newPassword});
    try {
        source.execute(u"SELECT sqlcipher_export('rewrite');"_s);
        source.execute(u"PRAGMA rewrite.user_version = "_s + version + u";"_s);
        source.execute(u"DETACH DATABASE rewrite;"_s);
    } catch (...) {
        sqlite3_exec(source.handle(), "DETACH DATABASE rewrite;", nullptr, nullptr, nullptr);
        throw;
    }
}

void checkCopy(const QString& copy, const QString& newPassword) {
    Connection c;
    open(c, copy, newPassword);
    checkIntegrity(c, u"La copie de la base de données est incomplète ; la base n’a pas été "
                      u"modifiée."_s);
}

// The copy takes the original's owner (where the system lets this user give it), group and mode,
// so the rest of the team keeps its access.
void takeOwnership(const QString& copy, const struct stat& original) {
    const QByteArray name = QFile::encodeName(copy);
    const int fd = ::open(name.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    bool ok = fd >= 0;
    if (ok && ::fchown(fd, original.st_uid, original.st_gid) != 0) {
        ok = ::fchown(fd, static_cast<uid_t>(-1), original.st_gid) == 0;
    }
    ok = ok && ::fchmod(fd, original.st_mode & 07777) == 0 && ::fsync(fd) == 0;
    if (fd >= 0) {
        ok = ::close(fd) == 0 && ok;
    }
    if (!ok) {
        throw fileError(u"Impossible de donner à la nouvelle base de données le propriétaire, le "
                        u"groupe et les droits de l’ancienne ; la base n’a pas été modifiée."_s);
    }
}

} // namespace

namespace DatabaseFile {

QString rewriteCopyOf(const QString& databasePath) {
    return databasePath + u".copie"_s;
}

void removeRewriteCopy(const QString& databasePath) {
    if (DatabaseAddress::isServer(databasePath)) {
        return;
    }
    const QString copy = rewriteCopyOf(databasePath);
    QFile::remove(copy + u"-journal"_s);
    QFile::remove(copy);
}

bool opensWith(const QString& databasePath, const QString& password) {
    try {
        Connection c;
        open(c, databasePath, password);
        return true;
    } catch (const AppError& e) {
        if (e.number() == ErrorNumber::NotValidPassword) {
            return false;
        }
        throw;
    }
}

void compact(const QString& databasePath, const QString& password) {
    Connection c;
    open(c, databasePath, password);
    if (c.isServer()) {
        // The server checks its pages itself; compacting is reclaiming space and refreshing the
        // planner's figures.
        c.server()->execute(u"VACUUM (ANALYZE) domains, files, passwords"_s);
        return;
    }
    c.execute(u"VACUUM;"_s);
    // Every page is read back and its checksum verified; the indexes' agreement with the rows is
    // not checked again, as VACUUM has just rebuilt them from the rows (the full check would add
    // a fifth of the compaction's time on a large base).
    checkIntegrity(c, u"La vérification de la base de données compactée a échoué."_s,
                   Check::Structure);
}

void rekey(const QString& databasePath, const QString& oldPassword, const QString& newPassword) {
    if (DatabaseAddress::isServer(databasePath)) {
        Connection c;
        open(c, databasePath, oldPassword);
        c.server()->changeRolePassword(newPassword);
    } else {
        Connection c;
        open(c, databasePath, oldPassword);
        const QByteArray key = newPassword.toUtf8();
        const int rc = sqlite3_rekey(c.handle(), key.constData(), static_cast<int>(key.size()));
        if (rc != SQLITE_OK) {
            throw sqliteError(c.handle(), rc);
        }
    }
    if (!opensWith(databasePath, newPassword)) {
        throw fileError(u"La base de données a refusé le nouveau mot de passe et garde l’ancien : "
                        u"elle est peut-être utilisée par un autre usager, le disque est plein ou "
                        u"le fichier est protégé en écriture. Réessayez plus tard."_s);
    }
}

void rewrite(const QString& databasePath, const QString& password, const QString& newPassword) {
    if (DatabaseAddress::isServer(databasePath)) {
        throw AppError(ErrorNumber::InvalidCall,
                       u"Une base de données sur un serveur garde toujours un mot de passe : "
                       u"celui de son rôle ne peut pas être retiré."_s);
    }
    const QString folder = QFileInfo(databasePath).absolutePath();
    struct stat original {};
    if (!QFileInfo(folder).isWritable() ||
        ::stat(QFile::encodeName(databasePath).constData(), &original) != 0 ||
        ::access(QFile::encodeName(databasePath).constData(), W_OK) != 0) {
        throw fileError(u"Le dossier « "_s + folder +
                        u" » ou la base de données est protégé en écriture."_s);
    }
    const QString copy = rewriteCopyOf(databasePath);
    removeRewriteCopy(databasePath); // what an interrupted rewrite left
    // Owner-only until it takes the original's place: a copy being decrypted is readable.
    const int fd = ::open(QFile::encodeName(copy).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 || ::close(fd) != 0) {
        throw FileIo::writeError(copy, errno);
    }
    Connection source;
    open(source, databasePath, password);
    try {
        lockExclusively(source);
        exportTo(source, copy, newPassword);
        checkCopy(copy, newPassword);
        takeOwnership(copy, original);
        if (std::rename(QFile::encodeName(copy).constData(),
                        QFile::encodeName(databasePath).constData()) != 0) {
            throw FileIo::writeError(databasePath, errno);
        }
    } catch (...) {
        source.close();
        removeRewriteCopy(databasePath);
        throw;
    }
    FileIo::syncFolder(folder);
    source.close();
}

} // namespace DatabaseFile
