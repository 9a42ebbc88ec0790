#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QUtf8StringView>
#include <QVariant>
#include <QVariantList>
#include <optional>
#include <vector>

class Connection;
class ServerResult;
struct sqlite3;
struct sqlite3_stmt;

// The rows of one SELECT, read whole when opened so that recordCount is exact. A result on a
// single table that includes its ID can add, change and delete rows. Works alike on a file and on
// a server connection.
//
// A forward-only, read-only result streams instead: each move steps the statement and only the
// current row is held, so a reader that goes through once keeps no copy of the rows; its
// recordCount is -1 (unknown), and an engine fault may come at any move. On a server it is read
// whole like the others.
class Recordset {
public:
    enum CursorType { ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
    enum LockType { ReadOnlyLock = 1, PessimisticLock = 2, OptimisticLock = 3 };

    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void open(const QString& sql, Connection& connection, CursorType cursor = Static,
              LockType lock = ReadOnlyLock, long options = -1);
    // The same with the values of the statement's "?" placeholders, in order.
    void open(const QString& sql, const QVariantList& parameters, Connection& connection,
              CursorType cursor = Static, LockType lock = ReadOnlyLock);
    // Ends the result; a row added and never stored is dropped.
    void close();
    bool isOpen() const { return m_connection != nullptr; }

    long recordCount() const;
    bool atEnd() const;
    // Stores pending changes of the current row first.
    void moveNext();

    // The current cell's text as the engine holds it (UTF-8), without copying; nothing when the
    // cell is not text. Valid until the next move. Streaming results only.
    std::optional<QUtf8StringView> utf8Text(int index) const;

    // Fields by name: letter case ignored; "Table.Column" picks the column of that table.
    QVariant value(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);
    int fieldCount() const { return static_cast<int>(m_columns.size()); }
    // The position of a field named as value() takes it; throws when there is none.
    int fieldIndex(const QString& field) const { return indexOf(field); }
    QString fieldName(int index) const;
    QVariant value(int index) const;
    // Dates stay day numbers here (a double), for callers that show many of them.
    bool isDateField(int index) const { return m_columns.at(index).isDate; }
    QVariant rawValue(int index) const;

    // Adds a row at once, so its ID is readable; Update stores it, close without Update drops it.
    void addNew();
    void update();
    void remove();

private:
    struct Column {
        QString name;
        QString table;
        bool isDate = false;
    };

    void readColumns(sqlite3_stmt* stmt);
    // Keeps the columns and finds the one table and its ID column, if the result has them; each
    // column's origin is the name of the table column it comes from.
    void takeColumns(std::vector<Column> columns, const QStringList& origins);
    void readAll(sqlite3_stmt* stmt);
    void stepStream();
    void openOnServer(const QString& sql, const QVariantList& parameters, Connection& connection);
    void readServerColumns(const ServerResult& result, Connection& connection);
    qlonglong insertOnServer();
    QVariant& cell(size_t row, int column) { return m_cells[row * m_columns.size() + column]; }
    const QVariant& cell(size_t row, int column) const {
        return m_cells[row * m_columns.size() + column];
    }
    QVariant readValue(sqlite3_stmt* stmt, int index) const;
    int indexOf(const QString& field) const;
    int findField(const QString& field) const;
    void requireCurrentRow() const;
    void requireUpdatable() const;
    void writePending();
    void endAdd(bool commit);
    void rollbackAdd(sqlite3* db);

    Connection* m_connection = nullptr;
    bool m_streaming = false;
    // The statement a streaming result steps; null once it has ended.
    sqlite3_stmt* m_stream = nullptr;
    std::vector<Column> m_columns;
    // Row after row, fieldCount() cells each.
    std::vector<QVariant> m_cells;
    size_t m_rowCount = 0;
    std::vector<bool> m_deleted;
    long m_deletedCount = 0;
    size_t m_position = 0;
    LockType m_lock = ReadOnlyLock;
    QString m_table; // set when the result can be changed
    int m_idColumn = -1;
    // Field names already looked up: reports read the same fields on every row.
    mutable QHash<QString, int> m_fieldIndex;
    QHash<int, QVariant> m_pending;
    bool m_adding = false;
    bool m_ownTransaction = false;
};
