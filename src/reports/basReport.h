#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class SpoolFile;

// The HTML reports, written to the spool file: full and short listings of chosen records (one
// layout for the embedded document, one for the alternative browser) and the domain list.
// Each returns false, after its error box, when the spool file cannot be written.

using IdentifierList = std::vector<std::int32_t>;

bool bPrintHTMLHeader(SpoolFile& file, const QString& title);
bool bPrintHTMLTrailer(SpoolFile& file);

bool bPrintFull(const IdentifierList& ids, const QString& spoolPath, const QString& title);
bool bPrintFullOpera(const IdentifierList& ids, const QString& spoolPath, const QString& title);
bool bPrintShort(const IdentifierList& ids, const QString& spoolPath, const QString& title);
bool bPrintShortOpera(const IdentifierList& ids, const QString& spoolPath, const QString& title);
bool bPrintDomains(const QString& spoolPath, const QString& title);

// The WHERE texts of the identifier groups: 34 identifiers in the first, 35 in each later one.
QStringList sIdentifierGroups(const IdentifierList& ids);

// The title every report carries: the user's name, ", " and the time of day.
QString sReportTitle();
