#pragma once

#include <QString>

// The database password file: characters packed three to a 32-bit value, in reverse order.

// The password file that goes with a database: its path without the last four characters + ".pws".
QString sPasswordFileOf(const QString& databasePath);

// Reads the password into `password`. False, with `password` untouched, when the file is missing
// (silently) or cannot be read or decoded (with the error box).
bool bOpenEncriptPassword(const QString& file, QString& password);

// Writes the password; false with the error box when the file cannot be written or the password
// holds a character the single-byte code page cannot hold (nothing is written then).
bool bSaveEncriptPassword(const QString& file, const QString& password);

// The packed bytes of a password, and back; used by the two procedures above.
QByteArray PackPassword(const QString& password);
QString UnpackPassword(const QByteArray& bytes); // throws AppError on a damaged file
