#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"
#include "core/session/Session.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/startup/Program.h"
#include "gui/tray/TrayMenu.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

class ProgramTest : public SessionTest {
protected:
    void TearDown() override {
        shutDownProgram();
        SessionTest::TearDown();
    }
    QStringList titles() const {
        QStringList t;
        for (const auto& m : dialogs->messages) {
            t << m.title;
        }
        return t;
    }
};

TEST_F(ProgramTest, ConfiguredProgramStartsInTheNotificationArea) {
    session.setDatabasePath({});
    EXPECT_EQ(runProgram(session), -1);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(session.databasePath(), dbPath);
    EXPECT_EQ(session.databasePassword(), dbPassword);
    EXPECT_NE(trayMenu(), nullptr);
    EXPECT_FALSE(session.isSignedIn());
    // A second start while this one runs ends at once, silently.
    EXPECT_EQ(runProgram(session), 0);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(ProgramTest, NotConfiguredAndNothingChosenEndsSilently) {
    QFile::remove(ProgramFolder::settingsFile());
    QFile::rename(dbPath, path(u"ailleurs.mdb"_s)); // no Lexivar4.mdb beside the program
    session.setDatabasePath({});
    EXPECT_EQ(runProgram(session), 0);
    EXPECT_EQ(titles(), (QStringList{u"Attention!"_s, u"Erreur"_s}));
    EXPECT_EQ(dialogs->messages[0].text, u"Vous devez configurer le logiciel."_s);
    EXPECT_EQ(dialogs->modalShown, QStringList{u"frmConfiguration"_s});
    EXPECT_EQ(trayMenu(), nullptr);
}

TEST_F(ProgramTest, MissingPasswordFileNeedsAValidatedDatabase) {
    QFile::remove(passwordFileOf(dbPath));
    session.setDatabasePath({});
    EXPECT_EQ(runProgram(session), 0); // the configuration window is closed without validating
    EXPECT_EQ(titles(),
              (QStringList{u"Problème de mot de passe"_s, u"Pas de base de données valide!"_s}));
    EXPECT_EQ(trayMenu(), nullptr);
    shutDownProgram();

    // This time the administrator's password is typed and saved.
    dialogs->messages.clear();
    dialogs->modalHandlers.push_back([this](QDialog& d) {
        EXPECT_TRUE(d.findChild<QRadioButton*>(u"optNewPass"_s)->isChecked());
        d.findChild<QLineEdit*>(u"txtCurrentDBPassword"_s)->setText(dbPassword);
        d.findChild<QPushButton*>(u"cmdSaveDB"_s)->click();
        return QDialog::Accepted;
    });
    EXPECT_EQ(runProgram(session), -1);
    EXPECT_EQ(titles(), QStringList{u"Problème de mot de passe"_s});
    EXPECT_TRUE(session.isDatabaseValidated());
    EXPECT_EQ(session.databasePassword(), dbPassword);
    EXPECT_NE(trayMenu(), nullptr);
}

TEST_F(ProgramTest, BlankPathCountsAsNotConfiguredAndTheStandardDatabaseIsFound) {
    writeFile(ProgramFolder::settingsFile(), "[Database]\r\nPath=   \r\n");
    QFile::rename(dbPath, path(u"Lexivar4.mdb"_s));
    QFile::rename(passwordFileOf(dbPath), path(u"Lexivar4.pws"_s));
    session.setDatabasePath({});
    EXPECT_EQ(runProgram(session),
              -1); // the window found Lexivar4.mdb and was closed without saving
    EXPECT_EQ(titles(), QStringList{u"Attention!"_s});
    EXPECT_EQ(session.databasePath(), path(u"Lexivar4.mdb"_s));
}
