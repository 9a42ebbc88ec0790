#pragma once

#include "core/files/FileIo.h"

#include <QString>

// The database password file: characters packed three to a 32-bit value, in reverse order.

// The password file that goes with a database: its path without the last four characters + ".pws";
// for a server, "Lexivar.pws" beside the settings file.
QString passwordFileOf(const QString& databasePath);

// Reads the password into `password`. False, with `password` untouched, when the file is missing
// (silently) or cannot be read or decoded (with the error box).
bool readPasswordFile(const QString& file, QString& password);

// Writes the password; false with the error box when the file cannot be written or the password
// holds a character the single-byte code page cannot hold (nothing is written then). The file
// takes the permissions of `databasePath`'s password file, or keeps its own without the bits for
// others when no database is named.
bool writePasswordFile(const QString& file, const QString& password,
                       const QString& databasePath = {});

// Who may read a database's password file: its owner, and the database's group when the group may
// read the database; never others, since the packing is reversible.
FileIo::Permissions passwordFilePermissions(const QString& databasePath);

// The packed bytes of a password, and back; used by the two procedures above.
QByteArray packPassword(const QString& password);
QString unpackPassword(const QByteArray& bytes); // throws AppError on a damaged file
