#include "core/files/FileIo.h"

#include "core/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

FileIo::Permissions currentPermissions(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) == 0) {
        return {static_cast<mode_t>(st.st_mode & 07777), st.st_gid};
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return {static_cast<mode_t>(0666 & ~mask), std::nullopt};
}

bool writeFully(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

namespace FileIo {

AppError accessError(const QString& path) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        return AppError(ErrorNumber::PathNotFound, u"Chemin d’accès introuvable : "_s + path);
    }
    return AppError(ErrorNumber::PathFileAccess,
                    u"Erreur d’accès au chemin ou au fichier : "_s + path);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.exists()) {
        throw AppError(ErrorNumber::FileNotFound, u"Fichier introuvable : "_s + path);
    }
    if (!f.open(QIODevice::ReadOnly)) {
        throw accessError(path);
    }
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        throw accessError(path);
    }
    return data;
}

AppError writeError(const QString& path, int error) {
    if (error == ENOSPC || error == EDQUOT) {
        return AppError(ErrorNumber::PathFileAccess,
                        u"Le disque est plein : « "_s + path + u" » n’a pas été modifié."_s);
    }
    if (error == ENOENT || error == ENOTDIR) {
        return accessError(path);
    }
    return AppError(ErrorNumber::PathFileAccess,
                    u"Erreur d’accès au chemin ou au fichier : "_s + path + u" ("_s +
                        QString::fromLocal8Bit(std::strerror(error)) + u")."_s);
}

bool applyPermissions(int fd, const Permissions& permissions) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    if (permissions.group && st.st_gid != *permissions.group &&
        ::fchown(fd, static_cast<uid_t>(-1), *permissions.group) != 0) {
        return false;
    }
    return ::fchmod(fd, permissions.mode) == 0;
}

TemporaryFile writeTemporary(const QString& path, const QByteArray& bytes,
                             const Permissions& permissions) {
    TemporaryFile t{-1, QFile::encodeName(path) + ".XXXXXX"};
    t.fd = ::mkstemp(t.path.data());
    // Locked from birth to close, so whoever finds one unlocked knows its writer died.
    if (t.fd < 0 || ::flock(t.fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (t.fd >= 0) {
            ::close(t.fd);
            ::unlink(t.path.constData());
        }
        throw writeError(path, error);
    }
    errno = 0;
    if (!writeFully(t.fd, bytes) || !applyPermissions(t.fd, permissions) || ::fsync(t.fd) != 0) {
        const int error = errno != 0 ? errno : EIO;
        ::close(t.fd);
        ::unlink(t.path.constData());
        throw writeError(path, error);
    }
    return t;
}

bool stillNamed(int fd, const QString& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

void removeAbandonedTemporaries(const QString& path) {
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    for (const QString& name :
         folder.entryList({target.fileName() + u".??????"_s}, QDir::Files | QDir::Hidden)) {
        const QString file = folder.filePath(name);
        const int fd =
            ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(fd, file)) {
            ::unlink(QFile::encodeName(file).constData());
        }
        ::close(fd);
    }
}

void writeAll(const QString& path, const QByteArray& bytes,
              const std::optional<Permissions>& permissions) {
    removeAbandonedTemporaries(path);
    const QByteArray target = QFile::encodeName(path);
    const TemporaryFile t =
        writeTemporary(path, bytes, permissions.value_or(currentPermissions(target)));
    int error = ::close(t.fd) != 0 ? errno : 0;
    if (error == 0 && ::rename(t.path.constData(), target.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(t.path.constData());
        throw writeError(path, error);
    }
    syncFolder(QFileInfo(path).absolutePath());
}

void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        throw writeError(folder, errno);
    }
    const bool ok = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!ok) {
        throw writeError(folder, error);
    }
}

} // namespace FileIo
