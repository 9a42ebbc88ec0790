#include "DatabaseFixture.h"

#include "storage/Recordset.h"
#include "storage/Schema.h"

using namespace Qt::StringLiterals;

void DatabaseTest::SetUp() {
    LexivarTest::SetUp();
    dbPath = path(u"Lexivar4.mdb"_s);
    Schema::CreateDatabase(dbPath, dbPassword);
}

QString DatabaseTest::connectionString(const QString& password, const QString& mode) const {
    return u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source="_s + dbPath +
           u";Jet OLEDB:Database Password="_s + password + u";MODE="_s + mode;
}

void DatabaseTest::open(Connection& c, bool readOnly) const {
    c.Open(connectionString(dbPassword, readOnly ? u"READ;"_s : u"READWRITE;"_s));
}

qlonglong DatabaseTest::addDomain(const QString& name) {
    Connection c;
    open(c);
    Recordset rs;
    rs.Open(u"SELECT * FROM Domains WHERE ID = 0"_s, c, Recordset::adOpenDynamic,
            Recordset::adLockOptimistic);
    rs.AddNew();
    const qlonglong id = rs.value(u"ID"_s).toLongLong();
    rs.setValue(u"Name"_s, name);
    rs.Update();
    return id;
}

qlonglong DatabaseTest::addFile(qlonglong domainId, const QString& english, const QString& french,
                                const QDate& created) {
    Connection c;
    open(c);
    Recordset rs;
    rs.Open(u"SELECT * FROM Files WHERE ID = 0"_s, c, Recordset::adOpenDynamic,
            Recordset::adLockOptimistic);
    rs.AddNew();
    const qlonglong id = rs.value(u"ID"_s).toLongLong();
    rs.setValue(u"English"_s, english);
    rs.setValue(u"French"_s, french);
    rs.setValue(u"DomainID"_s, domainId);
    rs.setValue(u"Date"_s, created);
    rs.Update();
    return id;
}

long DatabaseTest::count(const QString& sql) {
    Connection c;
    open(c, true);
    Recordset rs;
    rs.Open(sql, c, Recordset::adOpenStatic, Recordset::adLockReadOnly);
    return rs.RecordCount();
}
