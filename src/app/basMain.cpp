#include "basMain.h"

#include "Session.h"
#include "common/Dialogs.h"
#include "frmSplash.h"
#include "frmTrayIcon.h"
#include "storage/basFileEncrypt.h"
#include "storage/basIni.h"
#include "storage/frmConfiguration.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<QLockFile>& instanceLock() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

std::unique_ptr<frmTrayIcon>& tray() {
    static std::unique_ptr<frmTrayIcon> window;
    return window;
}

// Held for the life of the process: a second copy finds it locked and ends.
bool anotherInstanceRuns() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    auto lock = std::make_unique<QLockFile>(folder + u"/lexivar.lock"_s);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return true;
    }
    instanceLock() = std::move(lock);
    return false;
}

void showStartupConfiguration() {
    frmConfiguration config;
    config.ApplyStartupPreset();
    Dialogs::get().execModal(config);
}

} // namespace

int Main() {
    if (anotherInstanceRuns()) {
        return 0;
    }
    (new frmSplash)->show();
    gsDBPath = sGetProfile(u"Database"_s, u"Path"_s, QString(), gsIniFile).trimmed();
    if (gsDBPath.isEmpty()) {
        MsgBox(u"Vous devez configurer le logiciel."_s, u"Attention!"_s, Dialogs::Buttons::Ok,
               Dialogs::Icon::Exclamation);
        showStartupConfiguration();
        if (gsDBPath.isEmpty()) {
            return 0;
        }
    }
    if (!QFile::exists(sPasswordFileOf(gsDBPath))) {
        MsgBox(u"Il y a un problème avec le mot de passe de la base de données. Veuillez en "
               u"choisir un nouveau."_s,
               u"Problème de mot de passe"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        showStartupConfiguration();
        if (!gbDBValidated) {
            MsgBox(u"L\u2019exécution de ce programme ne pourra se poursuivre, car la base de "
                   u"données choisie n'est pas reconnue par Lexivar ou le mot de passe est "
                   u"invalide."_s,
                   u"Pas de base de données valide!"_s, Dialogs::Buttons::Ok,
                   Dialogs::Icon::Critical);
            return 0;
        }
    }
    ReloadDatabasePassword();
    gsConnectionString = sConnectionStringFor(gsDBPath);
    tray() = std::make_unique<frmTrayIcon>();
    tray()->InitializeTrayIcon();
    return -1;
}

frmTrayIcon* TrayWindow() {
    return tray().get();
}

void ShutdownMain() {
    tray().reset();
    instanceLock().reset();
}
