#pragma once

#include <QByteArray>
#include <QString>

class AppError;

// File access with the error numbers the user knows (53, 75, 76).
namespace FileIo {

// The error to report for a file that could not be opened or written.
AppError accessError(const QString& path);

// Reads a whole file; throws AppError when it cannot.
QByteArray readAll(const QString& path);

// Writes through a temporary file in the same folder, so a failure never leaves half a file.
void writeAll(const QString& path, const QByteArray& bytes);

} // namespace FileIo
