#pragma once

#include <QString>

// Record text laid out in a report: "<", ">" and "&" become character references, so the text
// shows as typed and never becomes markup. Everything else is left to the report's own
// conversion of accents and line breaks.
QString htmlEscaped(const QString& text);
