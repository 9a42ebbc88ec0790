#include "gui/print/ShellLauncher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSuccess = 42;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kNoAssociation = 31;

std::unique_ptr<ShellLauncher>& current() {
    static std::unique_ptr<ShellLauncher> launcher;
    return launcher;
}

} // namespace

ShellLauncher& ShellLauncher::get() {
    if (!current()) {
        current() = std::make_unique<DesktopLauncher>();
    }
    return *current();
}

void ShellLauncher::install(std::unique_ptr<ShellLauncher> launcher) {
    current() = std::move(launcher);
}

int DesktopLauncher::execute(const QString&, const QString& file, const QString& parameters,
                             const QString& directory, int) {
    const QFileInfo info(file);
    if (!info.exists()) {
        return info.absoluteDir().exists() ? kFileNotFound : kPathNotFound;
    }
    if (info.isFile() && info.isExecutable()) {
        // The parameters are one argument: a path, which may hold blanks.
        const QStringList args = parameters.isEmpty() ? QStringList() : QStringList{parameters};
        return QProcess::startDetached(file, args, directory) ? kSuccess : kAccessDenied;
    }
    if (!info.isReadable()) {
        return kAccessDenied;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? kSuccess
                                                                                   : kNoAssociation;
}

void DesktopLauncher::openWith(const QString&) {
    // This desktop offers no shell dialog to choose an application; the error box that
    // follows says what is missing.
}
