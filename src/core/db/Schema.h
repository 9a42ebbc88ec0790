#pragma once

#include <QString>

class Connection;

// The three tables of a Lexivar database.
namespace Schema {

constexpr int kVersion = 1;

// Creates the tables on a new, empty database.
void create(Connection& connection);

// Creates a database file with its tables; never replaces an existing file.
void createDatabase(const QString& path, const QString& databasePassword);

} // namespace Schema
