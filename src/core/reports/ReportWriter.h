#pragma once

#include "core/db/DatabaseLocation.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class SpoolFile;

// The HTML reports, written to the spool file: full and short listings of chosen records (one
// layout for the embedded document, one for the alternative browser) and the domain list.
// Each reads the database at `location` and returns false, after reporting the error, when the
// spool file cannot be written.

using IdentifierList = std::vector<std::int32_t>;

bool writeHtmlHeader(SpoolFile& file, const QString& title);
bool writeHtmlTrailer(SpoolFile& file);

bool writeFullListing(const DatabaseLocation& location, const IdentifierList& ids,
                      const QString& spoolPath, const QString& title);
bool writeFullListingForOpera(const DatabaseLocation& location, const IdentifierList& ids,
                              const QString& spoolPath, const QString& title);
bool writeShortListing(const DatabaseLocation& location, const IdentifierList& ids,
                       const QString& spoolPath, const QString& title);
bool writeShortListingForOpera(const DatabaseLocation& location, const IdentifierList& ids,
                               const QString& spoolPath, const QString& title);
bool writeDomainList(const DatabaseLocation& location, const QString& spoolPath,
                     const QString& title);

// The WHERE texts of the identifier groups: 34 identifiers in the first, 35 in each later one.
QStringList identifierGroups(const IdentifierList& ids);

// The title every report carries: the user's name, ", " and the time of day.
QString reportTitle(const QString& userName);
