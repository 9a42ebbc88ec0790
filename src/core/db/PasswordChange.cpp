#include "core/db/PasswordChange.h"

#include "core/AppError.h"
#include "core/db/DatabaseFile.h"
#include "core/files/FileIo.h"
#include "core/files/PasswordFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A rekey of a large base takes seconds; a recovery waits that long for it.
constexpr int kLockWaitMs = 30000;

class OpenFile {
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    ~OpenFile() {
        if (m_fd >= 0) {
            ::close(m_fd); // also releases the lock
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

bool lockWithin(int fd, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

std::optional<QString> readPassword(const QString& file) {
    try {
        return unpackPassword(FileIo::readAll(file));
    } catch (const AppError&) {
        return std::nullopt;
    }
}

// The folder of the password file (the database's own, for a file).
QString folderOf(const QString& databasePath) {
    return QFileInfo(passwordFileOf(databasePath)).absolutePath();
}

// The change did not reach the database: the pending file goes.
void discard(const QString& databasePath) {
    ::unlink(encoded(PasswordChange::pendingFileOf(databasePath)).constData());
    FileIo::syncFolder(folderOf(databasePath));
}

// The database has the new key: the pending file becomes the password file.
void commit(const QString& databasePath) {
    if (std::rename(encoded(PasswordChange::pendingFileOf(databasePath)).constData(),
                    encoded(passwordFileOf(databasePath)).constData()) != 0) {
        throw FileIo::writeError(passwordFileOf(databasePath), errno);
    }
    FileIo::syncFolder(folderOf(databasePath));
}

// Writes the pending file, locked (as every temporary file is) before anyone can see it under its
// name; refuses when another change has one already.
int createPending(const QString& databasePath, const QString& to) {
    const QString pending = PasswordChange::pendingFileOf(databasePath);
    FileIo::removeAbandonedTemporaries(pending);
    const FileIo::TemporaryFile t =
        FileIo::writeTemporary(pending, packPassword(to), passwordFilePermissions(databasePath));
    int error = 0;
    if (::link(t.path.constData(), encoded(pending).constData()) != 0) {
        error = errno;
    }
    ::unlink(t.path.constData());
    if (error != 0) {
        ::close(t.fd);
        if (error == EEXIST) {
            throw AppError(ErrorNumber::PathFileAccess,
                           u"Le mot de passe de la base de données est en train d’être changé "
                           u"par un autre usager. Réessayez dans un instant."_s);
        }
        throw FileIo::writeError(pending, error);
    }
    try {
        FileIo::syncFolder(folderOf(databasePath));
    } catch (const AppError&) {
        ::unlink(encoded(pending).constData());
        ::close(t.fd);
        throw;
    }
    return t.fd;
}

void resolve(const QString& databasePath) {
    const auto next = readPassword(PasswordChange::pendingFileOf(databasePath));
    const auto current = readPassword(passwordFileOf(databasePath));
    if (!next || (current && DatabaseFile::opensWith(databasePath, *current))) {
        discard(databasePath);
    } else if (DatabaseFile::opensWith(databasePath, *next)) {
        commit(databasePath);
    }
}

void change(const QString& databasePath, const QString& from, const QString& to) {
    if (from.isEmpty() || to.isEmpty()) {
        DatabaseFile::rewrite(databasePath, from, to);
    } else {
        DatabaseFile::rekey(databasePath, from, to);
    }
}

} // namespace

QString PasswordChange::pendingFileOf(const QString& databasePath) {
    return passwordFileOf(databasePath) + u".pending"_s;
}

void PasswordChange::recover(const QString& databasePath) {
    const QString pending = pendingFileOf(databasePath);
    if (!QFileInfo::exists(pending)) {
        return;
    }
    const OpenFile file(::open(encoded(pending).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (file.fd() < 0 || !lockWithin(file.fd(), kLockWaitMs) ||
        !FileIo::stillNamed(file.fd(), pending)) {
        return; // finished meanwhile, or still running
    }
    try {
        resolve(databasePath);
        DatabaseFile::removeRewriteCopy(databasePath);
    } catch (const AppError&) {
        // The database is busy or unreadable: the next operation tries again.
    }
}

void PasswordChange::apply(const QString& databasePath, const QString& from, const QString& to) {
    recover(databasePath);
    if (from.isEmpty() && to.isEmpty()) {
        FileIo::writeAll(passwordFileOf(databasePath), packPassword(to),
                         passwordFilePermissions(databasePath));
        return;
    }
    const OpenFile pending(createPending(databasePath, to));
    try {
        change(databasePath, from, to);
    } catch (const AppError&) {
        // A failure after the swap (the folder's flush) still left the new key in place.
        bool changed = false;
        try {
            changed = DatabaseFile::opensWith(databasePath, to);
        } catch (const AppError&) {
        }
        if (!changed) {
            discard(databasePath);
            throw;
        }
    }
    commit(databasePath);
}
