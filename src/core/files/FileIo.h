#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

class AppError;

// File access with the error numbers the user knows (53, 75, 76).
namespace FileIo {

// Who may read a file once written: its mode bits and, when set, its group.
struct Permissions {
    mode_t mode = 0600;
    std::optional<gid_t> group;
};

// The error to report for a file that could not be opened or written.
AppError accessError(const QString& path);

// Reads a whole file; throws AppError when it cannot.
QByteArray readAll(const QString& path);

// Writes through an owner-only temporary file beside the target: every write, the flush and the
// rename are checked, so a failure (a full disk, a read-only folder) leaves the old file whole and
// throws AppError. Without permissions the file keeps its own mode and group (a new one gets the
// umask's).
void writeAll(const QString& path, const QByteArray& bytes,
              const std::optional<Permissions>& permissions = std::nullopt);

// A temporary file beside `path` named `path` + ".XXXXXX", created owner-only (never through an
// existing name) and locked (flock) until closed, holding `bytes` flushed to the disk with
// `permissions` applied; still open. Throws AppError, leaving nothing behind.
struct TemporaryFile {
    int fd = -1;
    QByteArray path;
};
TemporaryFile writeTemporary(const QString& path, const QByteArray& bytes,
                             const Permissions& permissions);

// False once the name no longer leads to the open file (renamed or removed meanwhile).
bool stillNamed(int fd, const QString& path);

// Removes the temporary files of writers of `path` that died before renaming theirs: each is
// locked from its creation, so one that nobody locks is abandoned.
void removeAbandonedTemporaries(const QString& path);

// The error for a failed write of `path`, from the system's error number.
AppError writeError(const QString& path, int error);

// Flushes a folder's entries (a rename) to the disk; throws AppError when it cannot.
void syncFolder(const QString& folder);

// Gives an open file its permissions; false when the system refuses.
bool applyPermissions(int fd, const Permissions& permissions);

} // namespace FileIo
