#include "basMain.h"

#include "Session.h"
#include "common/Dialogs.h"
#include "storage/basFileEncrypt.h"
#include "storage/basIni.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Held for the life of the process: a second copy finds it locked and ends.
std::unique_ptr<QLockFile>& instanceLock() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

bool anotherInstanceRuns() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    instanceLock() = std::make_unique<QLockFile>(folder + u"/lexivar.lock"_s);
    instanceLock()->setStaleLockTime(0);
    return !instanceLock()->tryLock(0);
}

} // namespace

int Main() {
    if (anotherInstanceRuns()) {
        return 0;
    }
    gsDBPath = sGetProfile(u"Database"_s, u"Path"_s, QString(), gsIniFile).trimmed();
    if (gsDBPath.isEmpty()) {
        MsgBox(u"Vous devez configurer le logiciel."_s, u"Attention!"_s, Dialogs::Buttons::Ok,
               Dialogs::Icon::Exclamation);
        return 0; // the configuration window comes with the windows
    }
    const QString passwordFile = sPasswordFileOf(gsDBPath);
    if (!QFile::exists(passwordFile)) {
        MsgBox(u"Il y a un problème avec le mot de passe de la base de données. Veuillez en "
               u"choisir un nouveau."_s,
               u"Problème de mot de passe"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        MsgBox(u"L\u2019exécution de ce programme ne pourra se poursuivre, car la base de données "
               u"choisie n'est pas reconnue par Lexivar ou le mot de passe est invalide."_s,
               u"Pas de base de données valide!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return 0;
    }
    bOpenEncriptPassword(passwordFile, gsDBPassword);
    gsConnectionString = sConnectionStringFor(gsDBPath);
    return -1;
}
