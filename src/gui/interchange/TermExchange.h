#pragma once

#include "core/reports/ReportWriter.h"

class QWidget;
class Session;

// The windows' side of exchanging terms with translation tools: the file dialogs, the progress
// window, and the messages that close each run. The formats themselves are core.
namespace TermExchange {

// File filters of the export dialog; the chosen one gives the format.
QString exportFilters();
QString importFilters();

// Asks where to write the records `ids` and in which format, writes them and says how many;
// a failure shows the error box and is never announced as done. False when nothing was written.
bool exportRecords(Session& session, QWidget* caller, const IdentifierList& ids);

// For managers and administrators: asks for a TBX or CSV file, adds its entries to the base and
// shows the import report. False when cancelled or refused.
bool importFile(Session& session, QWidget* caller);

} // namespace TermExchange
