#include "core/AppError.h"
#include "core/db/PasswordChange.h"
#include "core/db/Recordset.h"
#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"
#include "core/session/Session.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/configuration/ConfigurationWindow.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

class ConfigurationWindowTest : public SessionTest {
protected:
    template <typename T = QWidget> T* control(ConfigurationWindow& w, const QString& name) {
        return findControl<T>(&w, name);
    }
    bool enabled(ConfigurationWindow& w, const QString& name) {
        return control(w, name)->isEnabled();
    }
    void type(ConfigurationWindow& w, const QString& box, const QString& text) {
        control<QLineEdit>(w, box)->setText(text);
    }
    // True when the database opens with this password and no longer with the others.
    bool opensOnlyWith(const QString& password, const QStringList& others) {
        Connection c;
        c.open(location(password), Connection::Mode::Read);
        for (const QString& other : others) {
            try {
                Connection o;
                o.open(location(other), Connection::Mode::Read);
                return false;
            } catch (const AppError&) {
            }
        }
        return true;
    }
    QString storedPassword() {
        QString p = u"<absent>"_s;
        readPasswordFile(passwordFileOf(dbPath), p);
        return p;
    }
    QString lastTitle() const {
        return dialogs->messages.empty() ? QString() : dialogs->messages.back().title;
    }
};

// What does not depend on the base being a file, on both backends.
class ConfigurationWindowBothTest : public OnBothBackends<ConfigurationWindowTest> {};

INSTANTIATE_ON_BOTH_BACKENDS(ConfigurationWindowBothTest);

TEST_F(ConfigurationWindowTest, LoadsWithBothSaveButtonsDisabled) {
    for (const QString& stored : {dbPassword, u""_s}) {
        ASSERT_TRUE(writePasswordFile(passwordFileOf(dbPath), stored));
        ConfigurationWindow w(session);
        EXPECT_EQ(control<QLineEdit>(w, u"txtDBPath"_s)->text(), dbPath);
        EXPECT_FALSE(enabled(w, u"cmdSaveDB"_s));
        EXPECT_FALSE(enabled(w, u"cmdSavePass"_s));
        EXPECT_EQ(control<QRadioButton>(w, u"optNoPass"_s)->isChecked(), stored.isEmpty());
        EXPECT_EQ(enabled(w, u"txtDbPassword"_s), !stored.isEmpty());
        EXPECT_TRUE(w.close()); // untouched: no question
        EXPECT_TRUE(dialogs->messages.empty());
    }
}

TEST_F(ConfigurationWindowTest, EnablingRulesFollowEachEdit) {
    ConfigurationWindow w(session);
    type(w, u"txtDBPath"_s, dbPath + u" "_s);
    EXPECT_TRUE(enabled(w, u"cmdSaveDB"_s));
    control<QRadioButton>(w, u"optNewPass"_s)->click();
    EXPECT_TRUE(enabled(w, u"txtCurrentDBPassword"_s));
    control<QRadioButton>(w, u"optConfig"_s)->click();
    EXPECT_FALSE(enabled(w, u"txtCurrentDBPassword"_s));
    control<QRadioButton>(w, u"optNoPass"_s)->click();
    for (const QString& box :
         {u"txtDbPassword"_s, u"txtDBOldPassword"_s, u"txtDbPasswordConfirm"_s}) {
        EXPECT_FALSE(enabled(w, box)) << box;
    }
    EXPECT_TRUE(enabled(w, u"cmdSavePass"_s));
    control<QRadioButton>(w, u"optPass"_s)->click();
    EXPECT_TRUE(enabled(w, u"txtDbPasswordConfirm"_s));
    // Forbidden file-name characters are swallowed as they are typed.
    auto* path = control<QLineEdit>(w, u"txtDBPath"_s);
    path->clear();
    QTest::keyClicks(path, u"a|b*c"_s);
    EXPECT_EQ(path->text(), u"abc"_s);
}

TEST_F(ConfigurationWindowTest, PresetsLeaveOnlyWhatTheUserMayDo) {
    ConfigurationWindow start(session);
    start.applyStartupPreset();
    EXPECT_TRUE(control<QRadioButton>(start, u"optNewPass"_s)->isChecked());
    EXPECT_TRUE(enabled(start, u"txtCurrentDBPassword"_s));
    EXPECT_TRUE(enabled(start, u"txtDBPath"_s));
    for (const QString& name : {u"cmdSavePass"_s, u"fraDBPass"_s, u"optPass"_s, u"optNoPass"_s,
                                u"cmdSaveDB"_s, u"lblOldPass"_s}) {
        EXPECT_FALSE(enabled(start, name)) << name;
    }
    ConfigurationWindow restricted(session);
    restricted.applyRestrictedPreset();
    for (const QString& name : {u"optNewPass"_s, u"txtCurrentDBPassword"_s, u"fraDBPass"_s,
                                u"txtDbPassword"_s, u"cmdSaveDB"_s}) {
        EXPECT_FALSE(enabled(restricted, name)) << name;
    }
}

TEST_F(ConfigurationWindowTest, SavingThePathChecksItFirst) {
    ConfigurationWindow w(session);
    type(w, u"txtDBPath"_s, path(u"absent.mdb"_s));
    w.saveDatabaseChoice();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Les champs suivants sont invalides:\r\n    The database path\r\n"_s);
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u""_s, ProgramFolder::settingsFile()), dbPath);

    // With the password already configured, the path is saved without opening the database.
    const QString other = path(u"Autre.mdb"_s);
    writeFile(other, "pas une base");
    type(w, u"txtDBPath"_s, u"  "_s + other);
    w.saveDatabaseChoice();
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u""_s, ProgramFolder::settingsFile()), other);
    EXPECT_EQ(session.databasePath(), other);
    EXPECT_FALSE(session.isDatabaseValidated());
    EXPECT_FALSE(enabled(w, u"cmdSaveDB"_s));
}

TEST_P(ConfigurationWindowBothTest, AFailedDatabaseTestWritesNothing) {
    const QString notADatabase = path(u"Texte.mdb"_s);
    writeFile(notADatabase, QByteArray(2048, 'x'));
    const struct {
        QString path;
        QString password;
        QString title;
    } cases[] = {
        {dbPath, u"faux"_s, u"Mauvais mot de passe!"_s},
        {notADatabase, u"x"_s, u"Procédure: cmdSaveDB_Click"_s},
    };
    const QByteArray ini = readFile(ProgramFolder::settingsFile());
    for (const auto& c : cases) {
        ConfigurationWindow w(session);
        type(w, u"txtDBPath"_s, c.path);
        control<QRadioButton>(w, u"optNewPass"_s)->click();
        type(w, u"txtCurrentDBPassword"_s, c.password);
        w.saveDatabaseChoice();
        EXPECT_EQ(lastTitle(), c.title);
        EXPECT_FALSE(session.isDatabaseValidated());
        EXPECT_EQ(readFile(ProgramFolder::settingsFile()), ini);
        EXPECT_EQ(storedPassword(), dbPassword);
        EXPECT_FALSE(QFile::exists(passwordFileOf(notADatabase)));
        EXPECT_TRUE(enabled(w, u"cmdSaveDB"_s));
        dialogs->answers.push_back(Dialogs::Answer::Yes);
    }
}

TEST_P(ConfigurationWindowBothTest, AValidatedDatabaseStoresItsPassword) {
    QFile::remove(passwordFileOf(dbPath));
    ConfigurationWindow w(session);
    control<QRadioButton>(w, u"optNewPass"_s)->click();
    type(w, u"txtCurrentDBPassword"_s, u" "_s + dbPassword + u" "_s);
    w.saveDatabaseChoice();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(session.isDatabaseValidated());
    EXPECT_EQ(storedPassword(), dbPassword);
    EXPECT_FALSE(enabled(w, u"cmdSaveDB"_s));
}

TEST_F(ConfigurationWindowTest, PasswordChangesAreCheckedBeforeAnythingChanges) {
    const struct {
        QString oldPassword;
        QString newPassword;
        QString confirm;
        QString message;
        QString title;
    } cases[] = {
        {dbPassword, u"1234567"_s, u"1234567"_s,
         u"Les champs suivants sont invalides:\r\nLe mot de passe doit avoir au moins 8 "
         "caractères.\r\n"_s,
         u"Erreur"_s},
        {dbPassword, u"        "_s, u"        "_s,
         u"Les champs suivants sont invalides:\r\nLe mot de passe doit avoir au moins 8 "
         "caractères.\r\n"_s,
         u"Erreur"_s},
        {u"faux"_s, u"nouveau-mdp"_s, u"nouveau-mdp"_s, u"L'ancien mot de passe est invalide!"_s,
         u"Mauvais mot de passe!"_s},
        {dbPassword, u"nouveau-mdp"_s, u"NOUVEAU-mdp"_s,
         u"Veuillez vérifier votre nouveau mot de passe, car la confirmation ne correspond "
         "pas.."_s,
         u"Confirmation inexacte!"_s},
        {dbPassword, u"nouveau☃mdp"_s, u"nouveau☃mdp"_s, u"☃"_s, u"Procédure: cmdSavePass_Click"_s},
    };
    for (const auto& c : cases) {
        ConfigurationWindow w(session);
        type(w, u"txtDBOldPassword"_s, c.oldPassword);
        type(w, u"txtDbPassword"_s, c.newPassword);
        type(w, u"txtDbPasswordConfirm"_s, c.confirm);
        dialogs->messages.clear();
        w.savePassword();
        ASSERT_EQ(dialogs->messages.size(), 1u); // one box, then nothing more is tried
        EXPECT_TRUE(dialogs->messages.back().text.contains(c.message))
            << dialogs->messages.back().text;
        EXPECT_EQ(dialogs->messages.back().title, c.title);
        EXPECT_EQ(storedPassword(), dbPassword);
        EXPECT_TRUE(opensOnlyWith(dbPassword, {}));
        dialogs->answers.push_back(Dialogs::Answer::Yes);
    }
}

TEST_F(ConfigurationWindowTest, PasswordIsSetChangedAndRemoved) {
    const QString second = u"deuxième mot de passe"_s;
    {
        ConfigurationWindow w(session);
        type(w, u"txtDBOldPassword"_s, dbPassword);
        type(w, u"txtDbPassword"_s, second);
        type(w, u"txtDbPasswordConfirm"_s, second);
        w.savePassword();
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.back().text;
        EXPECT_FALSE(enabled(w, u"cmdSavePass"_s));
        EXPECT_EQ(storedPassword(), second);
        EXPECT_TRUE(opensOnlyWith(second, {dbPassword, u""_s}));
    }
    {
        ConfigurationWindow w(session);
        control<QRadioButton>(w, u"optNoPass"_s)->click();
        w.savePassword();
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.back().text;
        EXPECT_EQ(readFile(passwordFileOf(dbPath)), QByteArray(2, '\0'));
        EXPECT_TRUE(opensOnlyWith(u""_s, {second}));
    }
    {
        ConfigurationWindow w(session); // the database now has no password
        EXPECT_TRUE(control<QRadioButton>(w, u"optNoPass"_s)->isChecked());
        control<QRadioButton>(w, u"optPass"_s)->click();
        type(w, u"txtDbPassword"_s, u"troisième"_s);
        type(w, u"txtDbPasswordConfirm"_s, u"troisième"_s);
        w.savePassword();
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.back().text;
        EXPECT_EQ(storedPassword(), u"troisième"_s);
        EXPECT_TRUE(opensOnlyWith(u"troisième"_s, {u""_s, second}));
    }
    dbPassword = u"troisième"_s;
    EXPECT_EQ(count(u"SELECT * FROM Passwords"_s), 3); // rows survive each change
}

TEST_F(ConfigurationWindowTest, ClosingWithUnsavedChangesAsks) {
    ConfigurationWindow w(session);
    w.show();
    type(w, u"txtDbPassword"_s, u"x"_s);
    dialogs->answers = {Dialogs::Answer::No, Dialogs::Answer::Yes};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, u"Vous avez effectué des changements sans sauvegarder, "
                                         "êtes-vous certain de vouloir continuer ?"_s);
    EXPECT_EQ(dialogs->messages[0].title, u"ATTENTION!"_s);
    EXPECT_EQ(dialogs->messages[0].defaultButton, Dialogs::Answer::No);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(ConfigurationWindowTest, APathTheSettingsFileCannotHoldIsRefused) {
    // A database path of exactly `length` characters.
    const auto databaseOfLength = [this](qsizetype length) {
        const QString name = u"/Lexivar4.mdb"_s;
        const QString root = QDir(path(u""_s)).absolutePath() + u"/"_s;
        const QString folder = root + QString(length - root.size() - name.size(), u'd');
        QDir().mkpath(folder);
        writeFile(folder + name, "pas une base");
        EXPECT_EQ((folder + name).size(), length);
        return folder + name;
    };
    const QString longest = databaseOfLength(127);
    const QString tooLong = databaseOfLength(128);
    ConfigurationWindow w(session);
    type(w, u"txtDBPath"_s, tooLong);
    w.saveDatabaseChoice();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Le chemin de la base de données est trop long : il ne peut pas dépasser 127 "
              u"caractères. Déplacez la base de données dans un dossier au chemin plus court."_s);
    EXPECT_EQ(dialogs->messages[0].title, u"Erreur"_s);
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u""_s, ProgramFolder::settingsFile()), dbPath);
    EXPECT_TRUE(enabled(w, u"cmdSaveDB"_s));

    type(w, u"txtDBPath"_s, longest);
    w.saveDatabaseChoice();
    EXPECT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u""_s, ProgramFolder::settingsFile()), longest);
}

TEST_F(ConfigurationWindowTest, PasswordStepsRefuseAnEditedUnsavedPath) {
    const QString other = path(u"Autre.mdb"_s);
    ASSERT_TRUE(QFile::copy(dbPath, other));
    ASSERT_TRUE(writePasswordFile(passwordFileOf(other), dbPassword));
    const QByteArray otherPws = readFile(passwordFileOf(other));
    for (const bool removing : {false, true}) {
        ConfigurationWindow w(session);
        type(w, u"txtDBPath"_s, other);
        if (removing) {
            control<QRadioButton>(w, u"optNoPass"_s)->click();
        } else {
            type(w, u"txtDBOldPassword"_s, dbPassword);
            type(w, u"txtDbPassword"_s, u"nouveau-mdp"_s);
            type(w, u"txtDbPasswordConfirm"_s, u"nouveau-mdp"_s);
        }
        w.savePassword();
        ASSERT_FALSE(dialogs->messages.empty());
        EXPECT_EQ(dialogs->messages.back().text,
                  u"Les champs suivants sont invalides:\r\nSauvegardez d'abord le chemin de la "
                  u"base de données.\r\n"_s);
        EXPECT_TRUE(opensOnlyWith(dbPassword, {u""_s}));
        EXPECT_EQ(storedPassword(), dbPassword);
        EXPECT_EQ(readFile(passwordFileOf(other)), otherPws);
        dialogs->answers.push_back(Dialogs::Answer::Yes);
    }
}

TEST_F(ConfigurationWindowTest, BrowsingStartsBesideAPortableProgramElseAtHome) {
    ConfigurationWindow w(session);
    auto* browse = control<QPushButton>(w, u"cmdBrowseDB"_s);
    browse->click();
    ProgramFolder::setSettingsFile(path(u"config/Lexivar/Lexivar.ini"_s)); // installed
    browse->click();
    ASSERT_EQ(dialogs->openFolders.size(), 2);
    EXPECT_EQ(dialogs->openFolders[0], ProgramFolder::path());
    EXPECT_EQ(dialogs->openFolders[1], QDir::homePath());
}

class ServerConfigurationTest : public ConfigurationWindowTest {
protected:
    Backend backend() const override { return Backend::Server; }
};

// A role always has a password: the window says why it keeps it, and nothing changes.
TEST_F(ServerConfigurationTest, RemovingThePasswordIsRefusedWithItsReason) {
    ConfigurationWindow w(session);
    control<QRadioButton>(w, u"optNoPass"_s)->click();
    w.savePassword();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages.back().text.contains(
        u"Une base de données sur un serveur garde toujours un mot de passe"_s))
        << dialogs->messages.back().text;
    EXPECT_EQ(storedPassword(), dbPassword);
    EXPECT_TRUE(opensOnlyWith(dbPassword, {u""_s}));
    EXPECT_FALSE(QFile::exists(PasswordChange::pendingFileOf(dbPath)));
}
