#pragma once

#include "core/reports/ReportWriter.h"

#include <QString>
#include <functional>

class PrintDocument;
class QWidget;

// The print flow every printing window follows: a report written to the spool file, then
// either loaded into the window's document and printed once it has loaded, or handed to the
// alternative browser when one is registered.
namespace PrintFlow {

using Generator = std::function<bool(const IdentifierList&, const QString&, const QString&)>;

enum class OperaName { ExactCase, AnyCase };
enum class OperaParameter { spoolPath, EscapedFolder };

QString spoolPath();

// The registered alternative browser, when a file named "Opera.exe" exists at its path.
QString operaPath(OperaName naming);

struct Request {
    IdentifierList ids;
    Generator embedded;
    Generator opera; // empty: never the alternative browser
    OperaName naming = OperaName::ExactCase;
    OperaParameter parameter = OperaParameter::spoolPath;
};

void print(QWidget& window, PrintDocument& document, const Request& request);

// What a window does when its document has loaded: print it, then delete the spool file.
void printWhenLoaded(PrintDocument& document, const QString& address, const QString& procedure);

// Connects `document` so that each load it reports goes through printWhenLoaded, a failure then
// titled `procedure` (the name the window's users and support know it by).
void printOnLoad(PrintDocument& document, const QString& procedure);

} // namespace PrintFlow
