#pragma once

#include <QString>

struct sqlite3;
class AppError;

// Turns an engine result code into the error the user sees, in French.
AppError sqliteError(sqlite3* db, int resultCode);
