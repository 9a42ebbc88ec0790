#include "tools/admin/BaseCopy.h"

#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/db/Transaction.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// Domains first: records name them.
const char16_t* const kTables[] = {u"Domains", u"Files", u"Passwords"};

long copyTable(const QString& table, Connection& from, Connection& to) {
    Recordset rs;
    rs.open(u"SELECT * FROM "_s + table + u" ORDER BY ID"_s, from);
    QStringList columns;
    QStringList marks;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        columns << rs.fieldName(i);
        marks << u"?"_s;
    }
    const QString insert = u"INSERT INTO "_s + table + u" ("_s + columns.join(u", "_s) +
                           u") VALUES ("_s + marks.join(u", "_s) + u")"_s;
    long copied = 0;
    for (; !rs.atEnd(); rs.moveNext()) {
        QVariantList values;
        values.reserve(rs.fieldCount());
        // Raw: dates stay the day numbers they are stored as.
        for (int i = 0; i < rs.fieldCount(); ++i) {
            values << rs.rawValue(i);
        }
        to.execute(insert, values);
        ++copied;
    }
    return copied;
}

// A file counts on from its largest ID by itself; a server's counter is moved past the copy.
void continueNumbering(const QString& table, Connection& to) {
    if (to.isServer()) {
        to.execute(u"SELECT setval(pg_get_serial_sequence('"_s + table.toLower() +
                   u"', 'id'), coalesce(max(id), 0) + 1, false) FROM "_s + table);
    }
}

} // namespace

namespace BaseCopy {

Counts copyAll(Connection& from, Connection& to) {
    Transaction transaction(to);
    const Counts counts = copyRows(from, to);
    transaction.commit();
    return counts;
}

Counts copyRows(Connection& from, Connection& to) {
    Counts counts;
    long* targets[] = {&counts.domains, &counts.files, &counts.accounts};
    for (int i = 0; i < 3; ++i) {
        const QString table = QString::fromUtf16(kTables[i]);
        *targets[i] = copyTable(table, from, to);
        continueNumbering(table, to);
    }
    return counts;
}

} // namespace BaseCopy
