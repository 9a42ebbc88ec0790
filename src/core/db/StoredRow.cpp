#include "core/db/StoredRow.h"

#include "core/AppError.h"
#include "core/db/Recordset.h"

using namespace Qt::StringLiterals;

void openStoredRow(Recordset& rs, Connection& connection, const QString& table, qlonglong id,
                   const QString& goneMessage) {
    // The table name is one of the program's own, never user text; the number is bound.
    rs.open(u"SELECT * FROM "_s + table + u" WHERE ID = ?"_s, {id}, connection, Recordset::Dynamic,
            Recordset::OptimisticLock);
    if (rs.atEnd()) {
        throw AppError(ErrorNumber::NoCurrentRecord, goneMessage);
    }
}
