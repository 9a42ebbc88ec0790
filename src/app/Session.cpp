#include "Session.h"

using namespace Qt::StringLiterals;

QString sConnectionStringFor(const QString& databasePath) {
    return u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source="_s + databasePath +
           u";Jet OLEDB:Database Password="_s;
}

void SetAppPath(const QString& folder) {
    gsAppPath = folder.endsWith(u'/') ? folder : folder + u'/';
    gsIniFile = gsAppPath + u"Lexivar.ini"_s;
}
