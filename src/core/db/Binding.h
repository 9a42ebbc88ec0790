#pragma once

#include "core/AppError.h"

#include <QVariant>
#include <QVariantList>

struct sqlite3_stmt;

// Values handed to a prepared statement's "?" placeholders: text goes to the engine as data,
// never as part of the statement.
namespace Binding {

// Dates become day numbers; whole and real numbers keep their kind; anything else is text.
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);

// One value per placeholder, in order; a count that differs is refused before anything runs.
void bindAll(sqlite3_stmt* stmt, const QVariantList& values);

// The refusals of values that do not fit their statement, on either backend.
AppError countMismatch();
AppError notOneStatement();

} // namespace Binding
