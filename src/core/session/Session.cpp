#include "core/session/Session.h"

#include "core/db/PasswordChange.h"
#include "core/files/PasswordFile.h"

Session::Session() : m_userName(fitUserName(QString())) {}

DatabaseLocation Session::location() {
    PasswordChange::recover(m_location.path);
    readPasswordFile(passwordFileOf(m_location.path), m_location.password);
    return m_location;
}

void Session::signIn(const QString& name, std::uint8_t level) {
    m_userName = fitUserName(name);
    m_level = level;
    m_signedIn = true;
}

void Session::signOut() {
    m_level = kNoLevel;
    m_userName = fitUserName(QString());
    m_signedIn = false;
}

bool Session::mayChange(const QString& owner) const {
    if (m_level != 2) {
        return isManager();
    }
    return owner.isEmpty() || owner == userName();
}

QString Session::fitUserName(const QString& name) {
    return name.left(kUserNameWidth).leftJustified(kUserNameWidth, u' ');
}
