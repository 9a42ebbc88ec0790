#pragma once

#include "core/db/DatabaseLocation.h"

#include <QString>
#include <QVariantList>
#include <cstdint>

// The running program's session: the database it works on and who is signed in. The program
// owns one; windows and operations take it (or the location they need from it) from their
// owner.
class Session {
public:
    // A signed-in name is kept cut or padded with blanks to exactly this width.
    static constexpr int kUserNameWidth = 25;
    // The level of nobody signed in; 0 administrator, 1 manager, 2 owner.
    static constexpr std::uint8_t kNoLevel = 50;

    Session();

    // The database file, once configured; its password as last read.
    const QString& databasePath() const { return m_location.path; }
    const QString& databasePassword() const { return m_location.password; }
    // A new path keeps the password until the next location() reads its password file.
    void setDatabasePath(const QString& path) { m_location.path = path; }
    // After the password was removed: the file that held it is gone too.
    void clearDatabasePassword() { m_location.password.clear(); }
    // Whether the configuration window has just checked the database.
    bool isDatabaseValidated() const { return m_databaseValidated; }
    void setDatabaseValidated(bool validated) { m_databaseValidated = validated; }

    // Where to open the database now: the password file is read again (a password change that a
    // killed process left half done is settled first), since another user may have changed it.
    // A password file that cannot be read is reported and the last password kept.
    DatabaseLocation location();

    bool isSignedIn() const { return m_signedIn; }
    // The signed-in name, blank-padded to kUserNameWidth; userName() without the blanks.
    const QString& paddedUserName() const { return m_userName; }
    QString userName() const { return m_userName.trimmed(); }
    std::uint8_t level() const { return m_level; }
    void signIn(const QString& name, std::uint8_t level);
    // Nobody signed in, level 50.
    void signOut();
    // The level the program starts with, before anyone signs in.
    void setLevel(std::uint8_t level) { m_level = level; }

    bool isAdministrator() const { return m_level == 0; }
    bool isManager() const { return m_level == 0 || m_level == 1; }
    // May the user change or delete a record written by `owner`?
    bool mayChange(const QString& owner) const;

    // A name cut or padded with blanks to exactly kUserNameWidth characters.
    static QString fitUserName(const QString& name);

private:
    DatabaseLocation m_location;
    bool m_databaseValidated = false;
    bool m_signedIn = false;
    QString m_userName;
    std::uint8_t m_level = kNoLevel;
};
