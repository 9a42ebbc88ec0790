#pragma once

#include <QString>

class Connection;

// The three tables of a Lexivar database.
namespace Schema {

constexpr int kVersion = 1;

// Creates the tables on a new, empty database.
void create(Connection& connection);

// A table's or column's name as the schema writes it ("DateModified"), from the lower-case one a
// server gives back; any other name unchanged.
QString declaredName(const QString& name);

// Creates a database file with its tables; never replaces an existing file.
void createDatabase(const QString& path, const QString& databasePassword);

} // namespace Schema
