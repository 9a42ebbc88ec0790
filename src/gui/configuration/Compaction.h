#pragma once

#include <QString>

// Compacts the database `file` in place, keeping its rows and password. True when done; false
// after one message, the database left as it was.
bool compactDatabase(const QString& file, const QString& password);
