#include "gui/startup/Program.h"

#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"
#include "core/session/Session.h"
#include "gui/configuration/ConfigurationWindow.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/startup/SplashScreen.h"
#include "gui/tray/TrayMenu.h"

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

std::unique_ptr<TrayMenu>& tray() {
    static std::unique_ptr<TrayMenu> window;
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

void showStartupConfiguration(Session& session) {
    ConfigurationWindow config(session);
    config.applyStartupPreset();
    Dialogs::get().execModal(config);
}

void showTray(Session& session) {
    session.location(); // the password as the file holds it now
    tray() = std::make_unique<TrayMenu>(session);
    tray()->showIcon();
}

} // namespace

int runProgram(Session& session) {
    if (anotherInstanceRuns()) {
        return 0;
    }
    session.setDatabasePath(
        readSetting(u"Database"_s, u"Path"_s, QString(), ProgramFolder::settingsFile()).trimmed());
    if (!session.databasePath().isEmpty() &&
        QFile::exists(passwordFileOf(session.databasePath()))) {
        // Configured: the icon is asked for first, so the notification area docks it while the
        // splash window paints.
        showTray(session);
        (new SplashScreen)->show();
        return -1;
    }
    (new SplashScreen)->show();
    if (session.databasePath().isEmpty()) {
        showMessage(u"Vous devez configurer le logiciel."_s, u"Attention!"_s, Dialogs::Buttons::Ok,
                    Dialogs::Icon::Exclamation);
        showStartupConfiguration(session);
        if (session.databasePath().isEmpty()) {
            return 0;
        }
    }
    if (!QFile::exists(passwordFileOf(session.databasePath()))) {
        showMessage(u"Il y a un problème avec le mot de passe de la base de données. Veuillez en "
                    u"choisir un nouveau."_s,
                    u"Problème de mot de passe"_s, Dialogs::Buttons::Ok,
                    Dialogs::Icon::Exclamation);
        showStartupConfiguration(session);
        if (!session.isDatabaseValidated()) {
            showMessage(u"L\u2019exécution de ce programme ne pourra se poursuivre, car la base de "
                        u"données choisie n'est pas reconnue par Lexivar ou le mot de passe est "
                        u"invalide."_s,
                        u"Pas de base de données valide!"_s, Dialogs::Buttons::Ok,
                        Dialogs::Icon::Critical);
            return 0;
        }
    }
    showTray(session);
    return -1;
}

TrayMenu* trayMenu() {
    return tray().get();
}

void shutDownProgram() {
    tray().reset();
    instanceLock().reset();
}
