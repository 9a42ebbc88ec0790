#pragma once

#include <QString>
#include <QStringView>

struct sqlite3;

// What the engine needs to run the statements the windows write in the Jet dialect.
namespace JetDialect {

// Rewrites the few constructs the engine does not know ("DELETE * FROM").
QString translate(const QString& sql);

// Text order and equality without regard to letter case, accented letters included; accents
// only break ties, so "Électricité" sorts among the E's.
int compareText(QStringView a, QStringView b);

bool isAsciiText(QStringView text);

// A key whose plain order is the order of compareText, for sorting many texts fast.
QString sortKey(QStringView text);

// LIKE with "%" and "_", without regard to letter case.
bool likeMatch(QStringView value, QStringView pattern, QChar escape = QChar());

// Installs the collation (as NOCASE, which the schema names) and LIKE on a connection.
void install(sqlite3* db);

} // namespace JetDialect
