#pragma once

#include "core/interchange/TermEntry.h"

#include <QByteArray>

// A CSV glossary (RFC 4180): UTF-8 with a byte order mark (which spreadsheets need to see
// accents right), a header row of French column names, every field quoted, CR LF between rows.
// A text starting with "=", "+", "-", "@", a tab or a CR gets an apostrophe in front, so that no
// spreadsheet runs it as a formula; a text that already starts with an apostrophe followed by one
// of those (or by another apostrophe) gets one too, so the CSV reader can take exactly one off.
// Several terms in one language are joined by " ; ".
QByteArray writeCsv(const QList<TermEntry>& entries);

// The header row's column names, in order.
QStringList csvHeader();

// The apostrophe rule above, both ways.
QString csvProtected(const QString& text);
QString csvUnprotected(const QString& cell);
