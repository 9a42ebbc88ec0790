#include "core/files/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace SettingsLocation {

QString userFolder(const QProcessEnvironment& environment) {
    // A relative XDG folder is invalid and ignored, as the base-directory rules say.
    QString base = environment.value(u"XDG_CONFIG_HOME"_s);
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        const QString home = environment.value(u"HOME"_s);
        if (home.isEmpty() || QDir::isRelativePath(home)) {
            return {};
        }
        base = home + u"/.config"_s;
    }
    return QDir::cleanPath(base + u"/Lexivar"_s);
}

QString resolve(const QString& programFolder, const QProcessEnvironment& environment) {
    const QString beside = QDir(programFolder).filePath(QString::fromLatin1(kFileName));
    if (QFileInfo(beside).isFile()) {
        return beside;
    }
    const QString folder = userFolder(environment);
    if (folder.isEmpty()) {
        return beside; // no home to go to: keep the portable place
    }
    return folder + u'/' + QString::fromLatin1(kFileName);
}

bool makeFolderFor(const QString& settingsFile) {
    const QString folder = QFileInfo(settingsFile).absolutePath();
    if (QFileInfo(folder).isDir()) {
        return true; // an existing folder keeps its permissions
    }
    // Only the user reads the folder that names the team's database.
    return QDir().mkpath(folder) &&
           QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace SettingsLocation
