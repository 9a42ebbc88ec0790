#pragma once

#include <QByteArray>
#include <QStringView>
#include <QUtf8StringView>
#include <cstdint>

// A record's text as a report line holds it: escaped (htmlEscaped), each line break (CR LF, CR
// or LF) a break and each accent an entity (validatedHtml, wrapped in a paragraph for alignment
// 1..4), in the spool file's ISO-8859-1, a character beyond it a numeric reference. The same
// bytes as SpoolFile::encode of those steps, in one pass with no string in between: a listing
// writes this for every field of every record.
void appendReportHtml(QByteArray& out, QStringView text, std::int32_t alignment);
// The same from the engine's UTF-8, with no string made on the way (ill-formed bytes are
// decoded as QString::fromUtf8 decodes them).
void appendReportHtml(QByteArray& out, QUtf8StringView text, std::int32_t alignment);
