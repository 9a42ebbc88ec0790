#pragma once

#include <QString>

// Changes a database's password and its password file together, so that whatever instant the
// process dies the two still agree: the new password is first written beside the password file
// (its "pending" file), locked for as long as the change runs, and renamed over the password file
// once the database has the new key. Whoever later finds a pending file that nobody locks finishes
// the change or undoes it, by trying the two passwords.
class PasswordChange {
public:
    // Gives the database `to` in place of `from` ("" is no password) and rewrites its password
    // file. Throws AppError (NotValidPassword when `from` does not open the database); the pair
    // is then as it was.
    static void apply(const QString& databasePath, const QString& from, const QString& to);

    // Brings a change that a killed process left half done to its end, silently. Waits for a
    // change still running.
    static void recover(const QString& databasePath);

    static QString pendingFileOf(const QString& databasePath);
};
