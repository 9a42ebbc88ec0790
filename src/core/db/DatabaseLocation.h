#pragma once

#include <QString>

// Where a database is and the password that opens it (empty for a plain file).
struct DatabaseLocation {
    QString path;
    QString password;
};
