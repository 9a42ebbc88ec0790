#pragma once

#include "TestSupport.h"
#include "storage/Connection.h"

// A test with a fresh database of the real schema in its temporary folder.
class DatabaseTest : public LexivarTest {
protected:
    void SetUp() override;

    QString connectionString(const QString& password, const QString& mode) const;
    // Opens the test database read-write (or read-only) with its own password.
    void open(Connection& c, bool readOnly = false) const;
    // Adds a domain and returns its ID.
    qlonglong addDomain(const QString& name);
    qlonglong addFile(qlonglong domainId, const QString& english, const QString& french,
                      const QDate& created = QDate(2006, 1, 1));
    long count(const QString& sql);

    QString dbPath;
    QString dbPassword = QStringLiteral("sésame 'ouvre-toi'");
};
