#pragma once

#include "core/interchange/TermEntry.h"

#include <QByteArray>

// Reads a CSV glossary (RFC 4180): UTF-8 with or without a byte order mark, else Windows-1252;
// comma, semicolon or tab between fields (whichever the header row uses outside quotes); CR LF,
// LF or CR between rows, kept as written inside quoted fields. Columns are found by their header
// name, in French or English, letter case and accents aside ("Anglais", "English", "Terme
// anglais", "Domaine", "Subject field", "Note"…); other columns are left aside. The file is
// refused, with its line, when a quote is never closed or no English or French column is found.
TermFile readCsv(const QByteArray& bytes);
