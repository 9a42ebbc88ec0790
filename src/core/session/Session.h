#pragma once

#include <QString>
#include <QVariantList>
#include <cstdint>

// The session values, one set for the whole program.
inline QString gsAppPath; // the program's folder, ending in "/"
inline QString gsIniFile; // gsAppPath + "Lexivar.ini"
inline QString gsDBPath;  // the database file
inline QString gsDBPassword;
inline QString gsConnectionString; // users append gsDBPassword and a mode suffix
inline bool gbDBValidated = false;
inline bool gbLoggedIn = false;
inline QString gsUserName; // exactly 25 characters, blank-padded
inline std::uint8_t gbyUserLevel = 50;

// Connection-string prefix for a database path.
QString connectionStringFor(const QString& databasePath);

// Sets gsAppPath (with its trailing "/") and gsIniFile; tests point it at a temporary folder.
void setAppPath(const QString& folder);

// gsUserName's fixed width.
constexpr int kUserNameWidth = 25;

// A name cut or padded with blanks to exactly 25 characters.
QString fitUserName(const QString& name);

// Ends the session: nobody signed in, level 50.
void endSession();

// The connection string for an operation: prefix + password (quoted) + mode suffix.
QString readConnection();      // ";MODE=READ;"
QString listConnection();      // ";MODE=READ"
QString readWriteConnection(); // ";MODE=READWRITE;"

// Re-reads the password file of gsDBPath into gsDBPassword.
void reloadDatabasePassword();

// Runs one statement that changes the database, on a connection of its own (password re-read,
// read-write, closed afterwards). Throws AppError.
long executeChange(const QString& statement, const QVariantList& parameters = {});
