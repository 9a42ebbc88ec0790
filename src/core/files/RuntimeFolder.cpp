#include "core/files/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString& current() {
    static QString value;
    return value;
}

// Set by tests: no folder, and none made.
bool& none() {
    static bool value = false;
    return value;
}

// Made only when the runtime folder is missing; removed with its contents at exit.
std::unique_ptr<QTemporaryDir>& privateFolder() {
    static std::unique_ptr<QTemporaryDir> folder;
    return folder;
}

// A folder of ours that nobody else may enter, not reached through a link.
bool isPrivateFolder(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        return false;
    }
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString inRuntimeDirectory(const QProcessEnvironment& environment) {
    const QString runtime = environment.value(u"XDG_RUNTIME_DIR"_s);
    if (runtime.isEmpty() || QDir::isRelativePath(runtime) || !isPrivateFolder(runtime)) {
        return {};
    }
    const QString folder = QDir::cleanPath(runtime + u"/Lexivar"_s);
    const QByteArray encoded = QFile::encodeName(folder);
    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    return isPrivateFolder(folder) ? withSlash(folder) : QString();
}

QString inTemporaryRoot(QString temporaryRoot) {
    // Qt gives an empty temporary folder when $TMPDIR names none: never the root folder then.
    if (temporaryRoot.isEmpty() || QDir::isRelativePath(temporaryRoot)) {
        temporaryRoot = u"/tmp"_s;
    }
    auto folder = std::make_unique<QTemporaryDir>(temporaryRoot + u"/lexivar-XXXXXX"_s);
    if (!folder->isValid() || !isPrivateFolder(folder->path())) {
        return {};
    }
    const QString path = withSlash(folder->path());
    privateFolder() = std::move(folder);
    return path;
}

} // namespace

namespace RuntimeFolder {

QString make(const QProcessEnvironment& environment, const QString& temporaryRoot) {
    const QString runtime = inRuntimeDirectory(environment);
    return runtime.isEmpty() ? inTemporaryRoot(temporaryRoot) : runtime;
}

const QString& path() {
    if (current().isEmpty() && !none()) {
        current() = make(QProcessEnvironment::systemEnvironment(), QDir::tempPath());
    }
    return current();
}

void set(const QString& folder) {
    none() = false;
    current() = folder.isEmpty() ? QString() : withSlash(folder);
}

void setNone() {
    current().clear();
    none() = true;
}

} // namespace RuntimeFolder
