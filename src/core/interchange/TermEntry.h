#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// One concept as the exchange formats carry it: a record on export, an entry read from a TBX or
// CSV file on import. Empty texts stand for absent ones.
struct TermEntry {
    // How a report names the entry: its id in the file, else its line.
    QString label;
    QString domain;
    // Every term per language, in file order; a record has one of each.
    QStringList english;
    QStringList french;
    QString source;
    QString definition;
    QString observation;
    QDateTime created;
    QString createdBy;
    QDateTime modified;
    QString modifiedBy;
    // Set by a reader that cannot take the entry, with the reason in French.
    QString refusal;
    // What a reader left out of an entry it takes, in French, for the report.
    QStringList notes;
};

// What a reader made of a file. A non-empty `error` (with its line) means the file as a whole is
// refused and nothing of it may be imported.
struct TermFile {
    QList<TermEntry> entries;
    QString error;
    // Languages other than English and French met in the file, left aside.
    QSet<QString> otherLanguages;
};

enum class TermFormat { Tbx3, Tbx2, Csv };
