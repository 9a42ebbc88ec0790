#pragma once

#include "core/interchange/LegacyTableReader.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

// What an import brought across: rows read and stored per table, and every row left out with
// the reason, so that nothing is dropped without a word.
struct LegacyImportSummary {
    struct Count {
        qint64 read = 0;
        qint64 imported = 0;
    };
    struct Skipped {
        QString table; // "Domains", "Files" or "Passwords"
        QVariant id;   // as stored in the old file
        QString reason;
    };
    Count domains;
    Count records;
    Count accounts;
    // Rows left out, in the order read. A domain left out because an earlier one has its name
    // (letter case aside) is listed here too; its records went to that earlier one.
    QList<Skipped> skipped;
};

// The French summary shown at the end of an import, listing at most `maxListed` rows left out
// (all when negative).
QString summaryText(const LegacyImportSummary& summary, const QString& targetPath,
                    int maxListed = -1);

// Rows handled so far and rows announced, after each batch of rows and once at the end.
using ImportProgress = std::function<void(qint64 done, qint64 total)>;

// Builds a new Lexivar base at `targetPath` from the old tables Domains, Files and Passwords,
// keeping every ID, text (accents, CR LF, NULL) and date with its time of day. The base is
// encrypted with `databasePassword` (plain when empty) and its password file written beside it.
// Rows that break the new base's rules are left out and listed; the rest is imported. Never
// replaces a file: the base is built under a temporary name beside the target and renamed into
// place only when complete. Throws AppError (nothing left behind) when the target or its password
// file exists, a table is missing, or the base cannot be written.
LegacyImportSummary importLegacyDatabase(LegacyTableReader& reader, const QString& targetPath,
                                         const QString& databasePassword,
                                         const ImportProgress& progress = {});

// The password kept in the old base's password file (`path` with ".pws" for its last four
// characters); nullopt when there is none. Throws AppError when it is unreadable or damaged.
std::optional<QString> legacyDatabasePassword(const QString& oldDatabasePath);

// Where the configuration window puts the converted copy of an old base: beside it, named
// "<name>-converti.mdb"; "<name>-converti-2.mdb" and so on while that name is taken (by a base or
// its password file).
QString convertedDatabasePath(const QString& oldDatabasePath);
