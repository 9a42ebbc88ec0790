#pragma once

#include "core/db/DatabaseLocation.h"
#include "core/interchange/LegacyImport.h"
#include "core/interchange/TermEntry.h"

// What a term import did. When `fileError` is set the file was refused whole and nothing was
// added.
struct TermImportSummary {
    struct Item {
        QString label; // the entry's id in the file, or its line
        QString text;  // the reason, or what was noted
    };
    qint64 entriesRead = 0;
    qint64 recordsAdded = 0;
    qint64 domainsAdded = 0;
    QList<Item> duplicates;
    QList<Item> refused;
    // Entries taken with more than one term in a language: the others went to the observation.
    QList<Item> notes;
    QStringList otherLanguages;
    QString fileError;
};

// Reads a TBX or CSV file (told apart by its first character: "<" for TBX). Files over 256 MiB
// are refused before reading. Throws AppError when the file cannot be read.
TermFile readTermFile(const QString& path);

// Adds the file's entries to the base in one transaction: all of them or, on any failure,
// none. Domains are found by name (as the search compares) or created. An entry whose English
// and French terms, in the same domain, are already in the base or earlier in the file is a
// duplicate and left out; an entry without an English or a French term is refused. The first
// term per language is the term, the others go to the observation. Dates and authors missing
// from the file become now and `userName`. Throws AppError when the base cannot be written
// (nothing added).
TermImportSummary importTerms(const DatabaseLocation& location, const QString& path,
                              const QString& userName, const ImportProgress& progress = {});
// The same for entries already read.
TermImportSummary importTermEntries(const DatabaseLocation& location, const TermFile& file,
                                    const QString& userName, const ImportProgress& progress = {});

// The French report of an import of `path`, listing at most `maxListed` items per kind (all
// when negative).
QString termImportText(const TermImportSummary& summary, const QString& path, int maxListed = -1);
