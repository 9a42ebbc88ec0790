#pragma once

#include <QDate>
#include <QString>

// The statements the search and print selection windows run, as pure functions of the criteria:
// the field chosen (its place in the field list), the text typed or the date range.
namespace SearchStatement {

constexpr int kIdField = 0;
constexpr int kDateCreated = 7;
constexpr int kDateModified = 9;
constexpr int kFieldCount = 11;

// The field's name in the field list, and the column it searches.
QString captionOf(int field);
QString columnOf(int field);

// What the user is told when a record number criterion is not a whole number.
QString notANumberMessage();

// False for a record number criterion that is not a whole number: no statement is built.
bool isValidCriterion(int field, const QString& text);

// One criterion, as added to a statement; throws AppError for a record number that is not a
// whole number.
QString condition(int field, const QString& text, const QDate& start, const QDate& end,
                  bool dateField);

// A new search: every record when the text is empty, otherwise the records meeting the criterion.
QString newSearchStatement(int field, const QString& text, const QDate& start, const QDate& end,
                           bool dateField);

} // namespace SearchStatement
