#pragma once

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/files/PasswordFile.h"
#include "core/session/Session.h"
#include "core/session/SessionFixture.h"

#include <QFile>
#include <sys/stat.h>

// A configured program whose database password changes: the files' modes, the password stored
// and whether every operation still works.
class PasswordChangeTest : public SessionTest {
protected:
    static struct stat statOf(const QString& file) {
        struct stat st {};
        EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0) << file;
        return st;
    }
    static void chmodTo(const QString& file, mode_t mode) {
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), mode), 0);
    }
    QString storedPassword() {
        QString p = QStringLiteral("<absent>");
        readPasswordFile(passwordFileOf(session.databasePath()), p);
        return p;
    }
    // What every operation does first: the password file read again, a read connection opened.
    bool operationsWork() {
        try {
            session.location();
            Connection c;
            c.open(session.location(), Connection::Mode::Read);
            Connection w;
            w.open(session.location(), Connection::Mode::ReadWrite);
            w.execute(QStringLiteral("UPDATE Domains SET Name = Name;"));
            return true;
        } catch (const AppError& e) {
            ADD_FAILURE() << e.description();
            return false;
        }
    }
};
