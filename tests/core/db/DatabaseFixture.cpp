#include "core/db/DatabaseFixture.h"

#include "core/db/Recordset.h"
#include "core/db/Schema.h"
#include "core/db/TestServer.h"

using namespace Qt::StringLiterals;

std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::File ? "Fichier" : "Serveur";
}

void PrintTo(Backend backend, std::ostream* os) {
    *os << (backend == Backend::File ? "Fichier" : "Serveur");
}

void DatabaseTest::SetUp() {
    LexivarTest::SetUp();
    if (onServer()) {
        ASSERT_TRUE(TestServer::available())
            << "LEXIVAR_TEST_SERVER : aucun serveur d'essai (lancez les tests par ctest)";
        dbPath = TestServer::createDatabase(dbPassword);
    } else {
        dbPath = path(u"Lexivar4.mdb"_s);
    }
    Schema::createDatabase(dbPath, dbPassword);
}

void DatabaseTest::TearDown() {
    if (onServer() && !dbPath.isEmpty()) {
        TestServer::dropDatabase(dbPath);
    }
    LexivarTest::TearDown();
}

void DatabaseTest::open(Connection& c, bool readOnly) const {
    c.open(location(dbPassword), readOnly ? Connection::Mode::Read : Connection::Mode::ReadWrite);
}

qlonglong DatabaseTest::insertRow(const QString& table,
                                  const std::vector<std::pair<QString, QVariant>>& values) {
    Connection c;
    open(c);
    Recordset rs;
    rs.open(u"SELECT * FROM "_s + table + u" WHERE ID = 0"_s, c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.addNew();
    const qlonglong id = rs.value(u"ID"_s).toLongLong();
    for (const auto& [field, value] : values) {
        rs.setValue(field, value);
    }
    rs.update();
    return id;
}

qlonglong DatabaseTest::addDomain(const QString& name) {
    return insertRow(u"Domains"_s, {{u"Name"_s, name}});
}

qlonglong DatabaseTest::addFile(qlonglong domainId, const QString& english, const QString& french,
                                const QDate& created) {
    return insertRow(u"Files"_s, {{u"English"_s, english},
                                  {u"French"_s, french},
                                  {u"DomainID"_s, domainId},
                                  {u"Date"_s, created}});
}

long DatabaseTest::count(const QString& sql) {
    Connection c;
    open(c, true);
    Recordset rs;
    rs.open(sql, c, Recordset::Static, Recordset::ReadOnlyLock);
    return rs.recordCount();
}
