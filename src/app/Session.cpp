#include "Session.h"

#include "storage/Command.h"
#include "storage/Connection.h"
#include "storage/ConnectionString.h"
#include "storage/PasswordChange.h"
#include "storage/basFileEncrypt.h"

using namespace Qt::StringLiterals;

QString sConnectionStringFor(const QString& databasePath) {
    return u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source="_s + databasePath +
           u";Jet OLEDB:Database Password="_s;
}

void SetAppPath(const QString& folder) {
    gsAppPath = folder.endsWith(u'/') ? folder : folder + u'/';
    gsIniFile = gsAppPath + u"Lexivar.ini"_s;
}

QString sFitUserName(const QString& name) {
    return name.left(kUserNameWidth).leftJustified(kUserNameWidth, u' ');
}

void EndSession() {
    gbyUserLevel = 50;
    gsUserName = sFitUserName(QString());
    gbLoggedIn = false;
}

namespace {

// Quoted, so that a password starting and ending with a quote reaches the database as typed.
QString withPassword(const QString& modeSuffix) {
    return gsConnectionString + ConnectionString::quoted(gsDBPassword) + modeSuffix;
}

} // namespace

QString sReadConnection() {
    return withPassword(u";MODE=READ;"_s);
}

QString sListConnection() {
    return withPassword(u";MODE=READ"_s);
}

QString sReadWriteConnection() {
    return withPassword(u";MODE=READWRITE;"_s);
}

void ReloadDatabasePassword() {
    // A password change that a killed process left half done is settled first.
    PasswordChange::recover(gsDBPath);
    bOpenEncriptPassword(sPasswordFileOf(gsDBPath), gsDBPassword);
}

long ExecuteChange(const QString& statement, const QVariantList& parameters) {
    ReloadDatabasePassword();
    Connection connection;
    connection.Open(sReadWriteConnection());
    Command command;
    command.setActiveConnection(connection);
    command.setCommandText(statement);
    command.setParameters(parameters);
    return command.Execute();
}
