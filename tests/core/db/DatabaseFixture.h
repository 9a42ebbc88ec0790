#pragma once

#include "core/TestSupport.h"
#include "core/db/Connection.h"

#include <QVariant>
#include <utility>
#include <vector>

// A test with a fresh database of the real schema in its temporary folder.
class DatabaseTest : public LexivarTest {
protected:
    void SetUp() override;

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

    QString dbPath;
    QString dbPassword = QStringLiteral("sésame 'ouvre-toi'");
};
