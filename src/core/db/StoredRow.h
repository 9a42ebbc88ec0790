#pragma once

#include <QString>

class Connection;
class Recordset;

// Opens for changes the row of `table` numbered `id`, as it is stored now. When someone deleted
// it meanwhile, throws error 3021 with `goneMessage`, so the user learns why nothing was saved.
void openStoredRow(Recordset& rs, Connection& connection, const QString& table, qlonglong id,
                   const QString& goneMessage);
