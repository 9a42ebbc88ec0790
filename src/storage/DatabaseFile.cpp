#include "DatabaseFile.h"

#include "Connection.h"
#include "ConnectionString.h"
#include "SqliteError.h"
#include "common/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString& text) {
    return u"'"_s + QString(text).replace(u"'"_s, u"''"_s) + u"'"_s;
}

qlonglong scalar(Connection& c, const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(c.handle(), text.constData(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
    }
    if (rc != SQLITE_ROW) {
        AppError error = SqliteError(c.handle(), rc);
        sqlite3_finalize(stmt);
        throw error;
    }
    const qlonglong v = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return v;
}

QString textScalar(Connection& c, const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    QString v;
    if (sqlite3_prepare_v2(c.handle(), text.constData(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    return v;
}

void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

AppError rewriteError(const QString& what) {
    return AppError(ErrorNumber::ProviderGeneric, what);
}

void exportTo(Connection& source, const QString& temp, const QString& newPassword) {
    const int version = static_cast<int>(scalar(source, u"PRAGMA user_version;"_s));
    source.Execute(u"PRAGMA cipher_default_page_size = 4096;"_s);
    source.Execute(u"ATTACH DATABASE "_s + quoted(temp) + u" AS compact KEY "_s +
                   quoted(newPassword) + u";"_s);
    try {
        source.Execute(u"SELECT sqlcipher_export('compact');"_s);
        source.Execute(u"PRAGMA compact.user_version = "_s + QString::number(version) + u";"_s);
        source.Execute(u"DETACH DATABASE compact;"_s);
    } catch (...) {
        sqlite3_exec(source.handle(), "DETACH DATABASE compact;", nullptr, nullptr, nullptr);
        throw;
    }
}

void checkCopy(const QString& temp, const QString& newPassword) {
    Connection copy;
    copy.Open(ConnectionString::quotedReadWrite(temp, newPassword));
    // The export copies row by row and fails loudly; what is left to check is that the new
    // file reads back whole, every page once.
    if (textScalar(copy, u"PRAGMA quick_check;"_s) != u"ok"_s) {
        throw rewriteError(u"La copie de la base de données est incomplète ; la base n'a pas "
                           u"été modifiée."_s);
    }
}

} // namespace

namespace DatabaseFile {

QString TemporaryCopyOf(const QString& databasePath) {
    return QFileInfo(databasePath).absolutePath() + u"/temp.mdb"_s;
}

void Rewrite(const QString& databasePath, const QString& password, const QString& newPassword) {
    const QString temp = TemporaryCopyOf(databasePath);
    if (QFileInfo::exists(temp)) {
        throw rewriteError(u"Le fichier temporaire « "_s + temp +
                           u" » existe déjà. Supprimez-le ou déplacez-le, puis recommencez."_s);
    }
    const QString folder = QFileInfo(databasePath).absolutePath();
    if (!QFileInfo(folder).isWritable() || !QFileInfo(databasePath).isWritable()) {
        throw rewriteError(u"Le dossier « "_s + folder +
                           u" » ou la base de données est en lecture seule."_s);
    }
    Connection source;
    source.Open(ConnectionString::quotedReadWrite(databasePath, password));
    bool tempCreated = false;
    try {
        tempCreated = true;
        exportTo(source, temp, newPassword);
        // Nobody may change the database between the copy and its replacement.
        const qlonglong before = scalar(source, u"PRAGMA data_version;"_s);
        source.Execute(u"BEGIN EXCLUSIVE;"_s);
        if (scalar(source, u"PRAGMA data_version;"_s) != before) {
            throw rewriteError(u"La base de données a été modifiée pendant l'opération ; "
                               u"recommencez."_s);
        }
        checkCopy(temp, newPassword);
        if (QFileInfo::exists(databasePath + u"-journal"_s)) {
            throw rewriteError(u"Un journal de transaction inachevée accompagne la base de "
                               u"données ; ouvrez-la une fois avec Lexivar, puis recommencez."_s);
        }
        if (std::rename(QFile::encodeName(temp).constData(),
                        QFile::encodeName(databasePath).constData()) != 0) {
            throw rewriteError(u"Impossible de remplacer la base de données par sa copie."_s);
        }
        tempCreated = false;
        syncFolder(folder);
        source.Execute(u"ROLLBACK;"_s);
        source.Close();
    } catch (...) {
        source.Close();
        if (tempCreated) {
            QFile::remove(temp);
            QFile::remove(temp + u"-journal"_s);
        }
        throw;
    }
}

void ChangePassword(const QString& databasePath, const QString& oldPassword,
                    const QString& newPassword) {
    if (oldPassword.isEmpty() || newPassword.isEmpty()) {
        // Adding or removing encryption needs a new file.
        Rewrite(databasePath, oldPassword, newPassword);
        return;
    }
    Connection c;
    c.Open(ConnectionString::quotedReadWrite(databasePath, oldPassword));
    const QByteArray key = newPassword.toUtf8();
    const int rc = sqlite3_rekey(c.handle(), key.constData(), static_cast<int>(key.size()));
    if (rc != SQLITE_OK) {
        throw SqliteError(c.handle(), rc);
    }
    c.Close();
}

} // namespace DatabaseFile
