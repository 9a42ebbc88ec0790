#pragma once

#include <QString>
#include <optional>

// User text meets a statement in one of two ways, and only these:
//
// Bound ("?" values through Recordset::open, Connection::execute, Command::setParameters or
// executeChange):
//   sign-in                 SELECT * FROM Passwords WHERE Login = ? [AND pass = ?]
//   domain name checks      SELECT * FROM domains WHERE Name = ?
//   domain delete, merge    ... WHERE ID = ? / domainid = ?
//   record editor           SELECT * FROM Files WHERE ID = ?, DELETE * FROM files WHERE ID = ?
//   search window delete    Select * from files WHERE ID = ?
//   account window          SELECT * FROM Passwords WHERE ID = ?, DELETE * FROM Passwords ...
//   password add / removal  ATTACH DATABASE ? AS rewrite KEY ?
//   saves over a stored row SELECT * FROM Files|Passwords|Domains WHERE ID = ? (openStoredRow)
//   changed rows            UPDATE / DELETE of Recordset, by the row's ID
//
// Quoted, through literal() and wholeNumber() below: the search statements of the search and
// print selection windows. They are text that the window keeps, extends with each refinement
// and runs again, so their values are written into it: texts as literals, record numbers as
// digits parsed from the criterion, dates as day numbers. Report statements list record
// numbers the program read itself, written as numbers.
namespace SqlText {

// A single-quoted literal: apostrophes doubled, control characters (NUL among them, which
// would end the statement early) left out.
QString literal(const QString& text);

// The text without control characters.
QString withoutControls(const QString& text);

// A record number typed by the user: ASCII digits only (at most 18), nothing else.
std::optional<qint64> wholeNumber(const QString& text);

} // namespace SqlText
