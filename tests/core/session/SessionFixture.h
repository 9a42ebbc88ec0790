#pragma once

#include "core/db/DatabaseFixture.h"
#include "core/session/Session.h"

// A configured program: its folder, settings file, database, password file and three accounts
// (levels 0, 1, 2), nobody signed in.
class SessionTest : public DatabaseTest {
protected:
    void SetUp() override;

    void addAccount(const QString& name, const QString& login, const QString& pass, int level);
    void signInAs(const QString& name, int level);

    Session session;
};
