#pragma once

#include <QString>

// The throwaway PostgreSQL server CTest starts for the tests (tests/server/pg_server.sh), found
// through LEXIVAR_TEST_SERVER, the folder of its socket.
namespace TestServer {

// Whether the tests were given a server.
bool available();
// The address of a fresh, empty database owned by a fresh role that `password` opens.
QString createDatabase(const QString& password);
// Drops a database createDatabase made, and its role, whoever is still connected.
void dropDatabase(const QString& address);
// The address of the server's maintenance database, as its superuser (whose password is
// superuserPassword()).
QString superuserAddress();
QString superuserPassword();

} // namespace TestServer
