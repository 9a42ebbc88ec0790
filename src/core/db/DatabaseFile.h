#pragma once

#include <QString>

// Whole-database operations: compaction and the two ways of changing the key. On a server,
// compaction is VACUUM (ANALYZE) of the three tables and a new key the role's new password;
// removing the password is refused there.
namespace DatabaseFile {

// Compacts the database in place with the engine's VACUUM (atomic under its journal, holding the
// write lock, same file and inode), then checks its integrity. Throws AppError.
void compact(const QString& databasePath, const QString& password);

// Changes the key of an encrypted database (both passwords non-empty). The engine may roll the
// change back and still answer success, so it is verified by opening the file afresh with the
// new key. Throws AppError, the database keeping its old key.
void rekey(const QString& databasePath, const QString& oldPassword, const QString& newPassword);

// Adds or removes encryption: copies the database under `newPassword` beside it, checks the copy,
// gives it the original's owner, group and mode and renames it over the original, holding an
// exclusive lock on the original throughout. Throws AppError, the original untouched.
void rewrite(const QString& databasePath, const QString& password, const QString& newPassword);

// The copy rewrite builds beside the database, and its removal once nobody rewrites.
QString rewriteCopyOf(const QString& databasePath);
void removeRewriteCopy(const QString& databasePath);

// True when the password opens the database (after rolling back what a killed writer left);
// false when it is the wrong one. Throws AppError for any other failure.
bool opensWith(const QString& databasePath, const QString& password);

} // namespace DatabaseFile
