#pragma once

#include "core/interchange/TermEntry.h"

#include <QByteArray>

// TBX-Basic documents, in UTF-8: TBX v3 (`tbx`, DCA style, ISO 30042:2019) or TBX v2 (`martif`).
// Each entry becomes one concept entry whose id is "c" and its label (the record number: an XML
// id may not start with a digit). Domain, source, definition, observation and the two
// transactions sit at concept level; the terms in one language section each for "en" and "fr".
// Carriage returns are written as character references, so CR LF comes back as written.
// Throws AppError when a text holds a character XML cannot carry.
QByteArray writeTbx(const QList<TermEntry>& entries, TermFormat format);
