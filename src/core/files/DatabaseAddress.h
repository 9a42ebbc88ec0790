#pragma once

#include <QString>

// A database is a file path or the address of a PostgreSQL server ("postgresql://…").
namespace DatabaseAddress {

bool isServer(const QString& path);

} // namespace DatabaseAddress
