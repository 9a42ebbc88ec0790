#include "core/session/Session.h"

#include "core/db/Command.h"
#include "core/db/Connection.h"
#include "core/db/ConnectionString.h"
#include "core/db/PasswordChange.h"
#include "core/files/PasswordFile.h"

using namespace Qt::StringLiterals;

QString connectionStringFor(const QString& databasePath) {
    return u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source="_s + databasePath +
           u";Jet OLEDB:Database Password="_s;
}

void setAppPath(const QString& folder) {
    gsAppPath = folder.endsWith(u'/') ? folder : folder + u'/';
    gsIniFile = gsAppPath + u"Lexivar.ini"_s;
}

QString fitUserName(const QString& name) {
    return name.left(kUserNameWidth).leftJustified(kUserNameWidth, u' ');
}

void endSession() {
    gbyUserLevel = 50;
    gsUserName = fitUserName(QString());
    gbLoggedIn = false;
}

namespace {

// Quoted, so that a password starting and ending with a quote reaches the database as typed.
QString withPassword(const QString& modeSuffix) {
    return gsConnectionString + ConnectionString::quoted(gsDBPassword) + modeSuffix;
}

} // namespace

QString readConnection() {
    return withPassword(u";MODE=READ;"_s);
}

QString listConnection() {
    return withPassword(u";MODE=READ"_s);
}

QString readWriteConnection() {
    return withPassword(u";MODE=READWRITE;"_s);
}

void reloadDatabasePassword() {
    // A password change that a killed process left half done is settled first.
    PasswordChange::recover(gsDBPath);
    readPasswordFile(passwordFileOf(gsDBPath), gsDBPassword);
}

long executeChange(const QString& statement, const QVariantList& parameters) {
    reloadDatabasePassword();
    Connection connection;
    connection.open(readWriteConnection());
    Command command;
    command.setActiveConnection(connection);
    command.setCommandText(statement);
    command.setParameters(parameters);
    return command.execute();
}
