#pragma once

#include <libpq-fe.h>

// The team server's client library, loaded the first time a server is used. Linked into the
// program, it and the twenty libraries it brings (Kerberos, LDAP, TLS) were loaded and set up at
// every start, a fifth of the time a file-only team waits for the tray icon.
struct ServerClient {
    decltype(&::PQclear) PQclear = nullptr;
    decltype(&::PQcmdTuples) PQcmdTuples = nullptr;
    decltype(&::PQconnectdbParams) PQconnectdbParams = nullptr;
    decltype(&::PQconnectionNeedsPassword) PQconnectionNeedsPassword = nullptr;
    decltype(&::PQconnectionUsedPassword) PQconnectionUsedPassword = nullptr;
    decltype(&::PQconninfoFree) PQconninfoFree = nullptr;
    decltype(&::PQconninfoParse) PQconninfoParse = nullptr;
    decltype(&::PQencryptPasswordConn) PQencryptPasswordConn = nullptr;
    decltype(&::PQerrorMessage) PQerrorMessage = nullptr;
    decltype(&::PQescapeIdentifier) PQescapeIdentifier = nullptr;
    decltype(&::PQescapeLiteral) PQescapeLiteral = nullptr;
    decltype(&::PQexec) PQexec = nullptr;
    decltype(&::PQexecParams) PQexecParams = nullptr;
    decltype(&::PQfinish) PQfinish = nullptr;
    decltype(&::PQfname) PQfname = nullptr;
    decltype(&::PQfreemem) PQfreemem = nullptr;
    decltype(&::PQftable) PQftable = nullptr;
    decltype(&::PQftablecol) PQftablecol = nullptr;
    decltype(&::PQftype) PQftype = nullptr;
    decltype(&::PQgetisnull) PQgetisnull = nullptr;
    decltype(&::PQgetlength) PQgetlength = nullptr;
    decltype(&::PQgetvalue) PQgetvalue = nullptr;
    decltype(&::PQhost) PQhost = nullptr;
    decltype(&::PQnfields) PQnfields = nullptr;
    decltype(&::PQntuples) PQntuples = nullptr;
    decltype(&::PQresultErrorField) PQresultErrorField = nullptr;
    decltype(&::PQresultStatus) PQresultStatus = nullptr;
    decltype(&::PQstatus) PQstatus = nullptr;
    decltype(&::PQtransactionStatus) PQtransactionStatus = nullptr;
    decltype(&::PQunescapeBytea) PQunescapeBytea = nullptr;
    decltype(&::PQuser) PQuser = nullptr;
};

// The library's entry points, loaded once; throws AppError when the library is not installed.
const ServerClient& pq();
