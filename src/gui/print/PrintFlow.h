#pragma once

#include "core/reports/ReportWriter.h"

#include <QString>
#include <functional>

class PrintDocument;
class Session;
class QWidget;

// The print flow every printing window follows: a report written to the spool file, then
// either loaded into the window's document and printed once it has loaded, or handed to the
// alternative browser when one is registered.
namespace PrintFlow {

// Writes a report of the records `ids` from the database at a location to the spool file, under
// a title.
using Generator = std::function<bool(const DatabaseLocation&, const IdentifierList&,
                                     const QString& spoolPath, const QString& title)>;

enum class OperaName { ExactCase, AnyCase };
enum class OperaParameter { SpoolPath, EscapedFolder };

QString spoolPath();

// The registered alternative browser, when a file named "Opera.exe" exists at its path.
QString operaPath(OperaName naming);

struct Request {
    IdentifierList ids;
    Generator embedded;
    Generator opera; // empty: never the alternative browser
    OperaName naming = OperaName::ExactCase;
    OperaParameter parameter = OperaParameter::SpoolPath;
};

void print(Session& session, QWidget& window, PrintDocument& document, const Request& request);

// What a window does when its document has loaded: print it, then delete the spool file.
void printWhenLoaded(PrintDocument& document, const QString& address, const QString& procedure);

// Connects `document` so that each load it reports goes through printWhenLoaded, a failure then
// titled `procedure` (the name the window's users and support know it by).
void printOnLoad(PrintDocument& document, const QString& procedure);

} // namespace PrintFlow
