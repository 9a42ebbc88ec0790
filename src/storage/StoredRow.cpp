#include "StoredRow.h"

#include "Recordset.h"
#include "common/AppError.h"

using namespace Qt::StringLiterals;

void openStoredRow(Recordset& rs, Connection& connection, const QString& table, qlonglong id,
                   const QString& goneMessage) {
    // The table name is one of the program's own, never user text; the number is bound.
    rs.Open(u"SELECT * FROM "_s + table + u" WHERE ID = ?"_s, {id}, connection,
            Recordset::adOpenDynamic, Recordset::adLockOptimistic);
    if (rs.isEOF()) {
        throw AppError(ErrorNumber::NoCurrentRecord, goneMessage);
    }
}
