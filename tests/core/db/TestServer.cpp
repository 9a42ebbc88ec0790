#include "core/db/TestServer.h"

#include "core/db/ServerConnection.h"

#include <QRegularExpression>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString socketFolder() {
    return qEnvironmentVariable("LEXIVAR_TEST_SERVER");
}

QString address(const QString& database, const QString& user) {
    return u"postgresql:///"_s + database + u"?host="_s + socketFolder() + u"&user="_s + user;
}

QString literal(QString text) {
    return u"'"_s + text.replace(u"'"_s, u"''"_s) + u"'"_s;
}

void asSuperuser(const QString& sql) {
    ServerConnection admin;
    admin.connect(TestServer::superuserAddress(), TestServer::superuserPassword(), false);
    admin.execute(sql);
}

// The database's name, which is also its role's.
QString nameIn(const QString& address) {
    static const QRegularExpression name(u"^postgresql:///(\\w+)\\?"_s);
    return name.match(address).captured(1);
}

} // namespace

namespace TestServer {

bool available() {
    return !socketFolder().isEmpty();
}

QString superuserAddress() {
    return address(u"postgres"_s, u"lexivar"_s);
}

QString superuserPassword() {
    return u"lexivar-essai"_s;
}

QString createDatabase(const QString& password) {
    static int made = 0;
    const QString name = u"essai_%1_%2"_s.arg(::getpid()).arg(++made);
    asSuperuser(u"CREATE ROLE "_s + name + u" LOGIN PASSWORD "_s + literal(password));
    asSuperuser(u"CREATE DATABASE "_s + name + u" OWNER "_s + name);
    return address(name, name);
}

void dropDatabase(const QString& address) {
    const QString name = nameIn(address);
    if (name.isEmpty()) {
        return;
    }
    asSuperuser(u"DROP DATABASE IF EXISTS "_s + name + u" WITH (FORCE)"_s);
    asSuperuser(u"DROP ROLE IF EXISTS "_s + name);
}

} // namespace TestServer
