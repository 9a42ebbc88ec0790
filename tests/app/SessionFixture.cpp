#include "SessionFixture.h"

#include "app/Session.h"
#include "storage/basFileEncrypt.h"
#include "storage/basIni.h"

using namespace Qt::StringLiterals;

void SessionTest::SetUp() {
    DatabaseTest::SetUp();
    SetAppPath(path(u""_s));
    ASSERT_TRUE(WriteProfile(u"Database"_s, u"Path"_s, dbPath, gsIniFile));
    ASSERT_TRUE(bSaveEncriptPassword(sPasswordFileOf(dbPath), dbPassword));
    gsDBPath = dbPath;
    gsDBPassword.clear();
    gsConnectionString = sConnectionStringFor(gsDBPath);
    gbDBValidated = false;
    EndSession();
    addAccount(u"Administrateur"_s, u"admin"_s, u"admin"_s, 0);
    addAccount(u"Jean-François Côté"_s, u"jfcote"_s, u"gestion"_s, 1);
    addAccount(u"Élise Gagnon"_s, u"egagnon"_s, u"proprio"_s, 2);
}

void SessionTest::TearDown() {
    EndSession();
    gsDBPath.clear();
    gsDBPassword.clear();
    gsConnectionString.clear();
    gbDBValidated = false;
    gbSearchOpen = gbFileOpen = gbAdministratorOpen = gbConfigurationOpen = false;
    DatabaseTest::TearDown();
}

void SessionTest::addAccount(const QString& name, const QString& login, const QString& pass,
                             int level) {
    insertRow(u"Passwords"_s,
              {{u"Name"_s, name}, {u"Login"_s, login}, {u"Pass"_s, pass}, {u"Type"_s, level}});
}

void SessionTest::signInAs(const QString& name, int level) {
    gsUserName = sFitUserName(name);
    gbyUserLevel = static_cast<std::uint8_t>(level);
    gbLoggedIn = true;
}
