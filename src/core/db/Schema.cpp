#include "core/db/Schema.h"

#include "core/db/Connection.h"

using namespace Qt::StringLiterals;

namespace Schema {

void create(Connection& connection) {
    // Text columns use NOCASE, which every connection redefines to ignore case in accented
    // letters too; a domain's records go with it.
    connection.execute(u"BEGIN;"
                       "CREATE TABLE Domains ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Name TEXT COLLATE NOCASE);"
                       "CREATE TABLE Files ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " English TEXT COLLATE NOCASE,"
                       " French TEXT COLLATE NOCASE,"
                       " AF TEXT COLLATE NOCASE,"
                       " DomainID INTEGER REFERENCES Domains(ID) ON DELETE CASCADE,"
                       " DEFINITION TEXT COLLATE NOCASE,"
                       " OBSERVATION TEXT COLLATE NOCASE,"
                       " \"Date\" DATE,"
                       " CreatedBy TEXT COLLATE NOCASE,"
                       " DateModified DATE,"
                       " ModifiedBy TEXT COLLATE NOCASE);"
                       "CREATE TABLE Passwords ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Name TEXT COLLATE NOCASE,"
                       " Login TEXT COLLATE NOCASE,"
                       " Pass TEXT COLLATE NOCASE,"
                       " Type SMALLINT);"
                       "CREATE INDEX Files_DomainID ON Files(DomainID);"
                       "PRAGMA user_version = "_s +
                       QString::number(kVersion) + u";COMMIT;"_s);
}

void createDatabase(const QString& path, const QString& databasePassword) {
    Connection c;
    c.createNew(path, databasePassword);
    create(c);
    c.close();
}

} // namespace Schema
