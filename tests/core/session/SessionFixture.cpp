#include "core/session/SessionFixture.h"

#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"
#include "core/files/RuntimeFolder.h"
#include "core/files/SettingsFile.h"
#include "core/session/Session.h"

using namespace Qt::StringLiterals;

void SessionTest::SetUp() {
    DatabaseTest::SetUp();
    ProgramFolder::set(path(u""_s));
    RuntimeFolder::set(path(u""_s));
    ASSERT_TRUE(writeSetting(u"Database"_s, u"Path"_s, dbPath, ProgramFolder::settingsFile()));
    ASSERT_TRUE(writePasswordFile(passwordFileOf(dbPath), dbPassword));
    session.setDatabasePath(dbPath);
    addAccount(u"Administrateur"_s, u"admin"_s, u"admin"_s, 0);
    addAccount(u"Jean-François Côté"_s, u"jfcote"_s, u"gestion"_s, 1);
    addAccount(u"Élise Gagnon"_s, u"egagnon"_s, u"proprio"_s, 2);
}

void SessionTest::addAccount(const QString& name, const QString& login, const QString& pass,
                             int level) {
    insertRow(u"Passwords"_s,
              {{u"Name"_s, name}, {u"Login"_s, login}, {u"Pass"_s, pass}, {u"Type"_s, level}});
}

void SessionTest::signInAs(const QString& name, int level) {
    session.signIn(name, static_cast<std::uint8_t>(level));
}
