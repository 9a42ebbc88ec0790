#pragma once

#include <QString>

// Whole-file operations on a closed database: compaction and changing its password.
namespace DatabaseFile {

// The temporary copy a rewrite builds beside the database.
QString TemporaryCopyOf(const QString& databasePath);

// Copies the database compactly into a temporary file in its own folder under `newPassword`,
// checks the copy, then puts it in place of the old file, which stays until then. Throws
// AppError (the database untouched) on any failure.
void Rewrite(const QString& databasePath, const QString& password, const QString& newPassword);

// Gives the database a new password ("" removes it); afterwards only the new one opens it.
void ChangePassword(const QString& databasePath, const QString& oldPassword,
                    const QString& newPassword);

} // namespace DatabaseFile
