#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <utility>

struct pg_conn;
struct pg_result;

// The rows of one statement run on the server, read as text and turned into values.
class ServerResult {
public:
    explicit ServerResult(pg_result* result) : m_result(result) {}
    ~ServerResult();
    ServerResult(ServerResult&& other) noexcept
        : m_result(std::exchange(other.m_result, nullptr)) {}
    ServerResult(const ServerResult&) = delete;
    ServerResult& operator=(const ServerResult&) = delete;
    ServerResult& operator=(ServerResult&&) = delete;

    int rowCount() const;
    int columnCount() const;
    QString columnName(int column) const;
    // The table a column comes from (0 for an expression) and its number there.
    unsigned tableOid(int column) const;
    int tableColumn(int column) const;
    // Whole numbers as qlonglong, real ones as double, bytes as QByteArray, NULL as invalid.
    QVariant value(int row, int column) const;
    long changedRows() const;

private:
    pg_result* m_result;
};

// One connection to a PostgreSQL server, through libpq. Statements come already in the server's
// dialect; values always travel apart from the statement.
class ServerConnection {
public:
    ServerConnection() = default;
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // A wrong password raises NotValidPassword; an unreachable server a French message after the
    // settings' time-out. A read connection refuses every write.
    void connect(const QString& address, const QString& password, bool readOnly);
    void close();
    bool isOpen() const { return m_conn != nullptr; }

    // One or more statements without values; the rows changed by the last one.
    long execute(const QString& sql);
    // One statement with the values of its "$n" placeholders.
    long execute(const QString& sql, const QVariantList& values);
    ServerResult query(const QString& sql, const QVariantList& values = {});
    bool inTransaction() const;

    struct Origin {
        QString table;
        QString column;
        bool isDate = false;
    };
    // Where a result's column comes from, read once per connection from the catalog.
    Origin originOf(unsigned tableOid, int tableColumn);

    // Sets the password of the signed-in role; only a hash of it reaches the server.
    void changeRolePassword(const QString& password);

private:
    pg_result* run(const QString& sql, const QVariantList& values);

    pg_conn* m_conn = nullptr;
    QHash<quint64, Origin> m_origins;
};
