#pragma once

#include <QString>

// The pieces of a connection string the layer uses: the database path, the database password
// (plain, or between single quotes with inner quotes doubled) and the mode.
struct ConnectionString {
    enum class Mode { ReadWrite, Read };

    QString dataSource;
    QString password;
    Mode mode = Mode::ReadWrite;

    // Throws AppError when the string names no data source.
    static ConnectionString parse(const QString& text);

    // A text between single quotes, its own quotes doubled, as SQL and the password piece take
    // it: a password quoted so reads back exactly as given, even one that starts and ends with a
    // quote.
    static QString quoted(const QString& text);

    // A read-write connection string for a chosen file, the password between single quotes
    // (its own quotes doubled), as the configuration window and the file rewrites use it.
    static QString quotedReadWrite(const QString& path, const QString& password);
};
