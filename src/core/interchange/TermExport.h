#pragma once

#include "core/db/DatabaseLocation.h"
#include "core/interchange/LegacyImport.h"
#include "core/interchange/TermEntry.h"

#include <optional>
#include <vector>

// The records with the given numbers (every record when none are given), in number order, as
// entries labelled with their record number. Throws AppError when the base cannot be read.
QList<TermEntry> readTermRecords(const DatabaseLocation& location,
                                 const std::optional<std::vector<std::int32_t>>& ids,
                                 const ImportProgress& progress = {});

// The bytes of a file in `format`.
QByteArray termFileBytes(const QList<TermEntry>& entries, TermFormat format);

// The format a file name asks for: ".csv" is CSV, ".tbx" or ".xml" TBX v3 unless `tbxV2`.
TermFormat formatForPath(const QString& path, bool tbxV2 = false);

// Writes the records to `path` through a temporary file beside it, renamed into place once
// every byte is on the disk; returns how many were written. Throws AppError, leaving any older
// file whole, when the base cannot be read or the file cannot be written.
qint64 exportTerms(const DatabaseLocation& location,
                   const std::optional<std::vector<std::int32_t>>& ids, const QString& path,
                   TermFormat format, const ImportProgress& progress = {});
