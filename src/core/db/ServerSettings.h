#pragma once

#include <QString>

// How to reach a database server, from the settings file's [Database] section:
//   TLS=oui            the connection must be encrypted (by default it is when the server can)
//   DelaiConnexion=N   seconds to wait for the server before giving up (10 by default)
struct ServerSettings {
    bool requireTls = false;
    int timeoutSeconds = 10;

    // The program's settings file, or the defaults where it says nothing usable.
    static ServerSettings read();
    static ServerSettings readFrom(const QString& settingsFile);
};
