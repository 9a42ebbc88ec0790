#pragma once

#include "core/TestSupport.h"
#include "core/db/Connection.h"

#include <QVariant>
#include <string>
#include <utility>
#include <vector>

// Where a test's database lives: a file, or a database of the tests' PostgreSQL server.
enum class Backend { File, Server };

// A test with a fresh database of the real schema: a file in its temporary folder, or a fresh
// database on the tests' server.
class DatabaseTest : public LexivarTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The file, unless the test runs on both backends (OnBothBackends below).
    virtual Backend backend() const { return Backend::File; }
    bool onServer() const { return backend() == Backend::Server; }

    // The test database with another password.
    DatabaseLocation location(const QString& password) const { return {dbPath, password}; }
    // Opens the test database read-write (or read-only) with its own password.
    void open(Connection& c, bool readOnly = false) const;
    // Adds a row through the database layer and returns its ID.
    qlonglong insertRow(const QString& table,
                        const std::vector<std::pair<QString, QVariant>>& values);
    // Adds a domain and returns its ID.
    qlonglong addDomain(const QString& name);
    qlonglong addFile(qlonglong domainId, const QString& english, const QString& french,
                      const QDate& created = QDate(2006, 1, 1));
    long count(const QString& sql);

    // A path on the file backend, an address on the server.
    QString dbPath;
    QString dbPassword = QStringLiteral("sésame 'ouvre-toi'");
};

// A fixture whose tests run once on each backend.
template <typename Fixture>
class OnBothBackends : public Fixture, public ::testing::WithParamInterface<Backend> {
protected:
    Backend backend() const override { return this->GetParam(); }
};

std::string backendName(const ::testing::TestParamInfo<Backend>& info);
// The backend's name where gtest and CTest print the parameter.
void PrintTo(Backend backend, std::ostream* os);

#define INSTANTIATE_ON_BOTH_BACKENDS(fixture)                                                      \
    INSTANTIATE_TEST_SUITE_P(, fixture, ::testing::Values(Backend::File, Backend::Server),         \
                             backendName)

using BackendTest = OnBothBackends<DatabaseTest>;
