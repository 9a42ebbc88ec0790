#pragma once

#include "core/db/DatabaseLocation.h"
#include "core/db/ServerConnection.h"

#include <QString>
#include <QVariantList>
#include <memory>

struct sqlite3;

// One open database, for the length of one operation, opened from a location and a mode: a file,
// or a PostgreSQL server when the location is a "postgresql://" address. A wrong password raises
// error -2147217843 on both.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A read connection writes nothing; see DESIGN.md on why it is not opened read-only.
    enum class Mode { Read, ReadWrite };

    void open(const DatabaseLocation& location, Mode mode);
    void close();
    bool isOpen() const { return m_db != nullptr || m_server != nullptr; }
    bool isReadOnly() const { return m_readOnly; }
    const QString& path() const { return m_path; }

    // Runs one or more statements in the Jet dialect; returns the rows changed by the last one.
    long execute(const QString& sql);
    // One statement with the values of its "?" placeholders, in order.
    long execute(const QString& sql, const QVariantList& parameters);

    // Creates a new database file (never over an existing one) and leaves it open read-write.
    void createNew(const QString& path, const QString& databasePassword);

    sqlite3* handle() const { return m_db; }

    // The server behind a server connection; null on a file.
    bool isServer() const { return m_server != nullptr; }
    ServerConnection* server() const { return m_server.get(); }
    // On a server: the rows of one Jet-dialect statement with its "?" values.
    ServerResult queryServer(const QString& sql, const QVariantList& parameters);
    // Whether a transaction is open (statements wait for COMMIT or ROLLBACK).
    bool inTransaction() const;

private:
    void openServer(const DatabaseLocation& location, bool readOnly);
    QString serverStatement(const QString& sql, const QVariantList& parameters) const;

    void openFile(const QString& path, const QString& key, int flags);
    void checkReadable(const QString& key);

    sqlite3* m_db = nullptr;
    std::unique_ptr<ServerConnection> m_server;
    QString m_path;
    bool m_readOnly = false;
};
