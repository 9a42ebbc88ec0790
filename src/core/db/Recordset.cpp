#include "core/db/Recordset.h"

#include "core/AppError.h"
#include "core/db/Binding.h"
#include "core/db/Connection.h"
#include "core/db/JetDate.h"
#include "core/db/JetDialect.h"
#include "core/db/Schema.h"
#include "core/db/SqliteError.h"
#include "core/text/VariantKind.h"

#include <QDateTime>
#include <sqlcipher/sqlite3.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

void prepare(sqlite3* db, const QString& sql, Statement& s) {
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, text.constData(), -1, &s.stmt, nullptr);
    if (rc != SQLITE_OK) {
        throw sqliteError(db, rc);
    }
}

void step(sqlite3* db, sqlite3_stmt* stmt) {
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        throw sqliteError(db, rc);
    }
}

void exec(sqlite3* db, const char* sql) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw sqliteError(db, rc);
    }
}

AppError noCurrentRow() {
    return AppError(ErrorNumber::NoCurrentRecord,
                    u"Aucun enregistrement courant : la fin du résultat est atteinte ou "
                    u"l’enregistrement a été supprimé."_s);
}

} // namespace

Recordset::~Recordset() {
    close();
}

void Recordset::open(const QString& sql, Connection& connection, CursorType cursor, LockType lock,
                     long) {
    open(sql, {}, connection, cursor, lock);
}

void Recordset::open(const QString& sql, const QVariantList& parameters, Connection& connection,
                     CursorType cursor, LockType lock) {
    close();
    if (!connection.isOpen()) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La connexion n’est pas ouverte."_s);
    }
    if (connection.isServer()) {
        openOnServer(sql, parameters, connection);
        m_deleted.assign(m_rowCount, false);
        m_connection = &connection;
        m_lock = lock;
        return;
    }
    sqlite3* db = connection.handle();
    Statement s;
    prepare(db, JetDialect::translate(sql), s);
    Binding::bindAll(s.stmt, parameters);
    readColumns(s.stmt);
    if (cursor == ForwardOnly && lock == ReadOnlyLock) {
        m_streaming = true;
        m_stream = std::exchange(s.stmt, nullptr);
        m_connection = &connection;
        m_lock = lock;
        try {
            stepStream();
        } catch (...) {
            close();
            throw;
        }
        return;
    }
    readAll(s.stmt);
    m_connection = &connection;
    m_lock = lock;
}

void Recordset::readAll(sqlite3_stmt* stmt) {
    int rc;
    const int n = static_cast<int>(m_columns.size());
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            m_cells.push_back(readValue(stmt, i));
        }
        ++m_rowCount;
    }
    if (rc != SQLITE_DONE) {
        AppError error = sqliteError(sqlite3_db_handle(stmt), rc);
        m_columns.clear();
        m_cells.clear();
        m_rowCount = 0;
        throw error;
    }
    m_deleted.assign(m_rowCount, false);
}

void Recordset::stepStream() {
    const int rc = sqlite3_step(m_stream);
    if (rc == SQLITE_ROW) {
        return;
    }
    // Finished (or failed): the statement goes at once, ending the read.
    if (rc == SQLITE_DONE) {
        sqlite3_finalize(std::exchange(m_stream, nullptr));
        return;
    }
    AppError error = sqliteError(m_connection->handle(), rc);
    sqlite3_finalize(std::exchange(m_stream, nullptr));
    throw error;
}

void Recordset::readColumns(sqlite3_stmt* stmt) {
    const int n = sqlite3_column_count(stmt);
    std::vector<Column> columns;
    QStringList origins;
    for (int i = 0; i < n; ++i) {
        Column c;
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        c.table = QString::fromUtf8(sqlite3_column_table_name(stmt, i));
        const char* decl = sqlite3_column_decltype(stmt, i);
        c.isDate = decl && QByteArray(decl).compare("DATE", Qt::CaseInsensitive) == 0;
        columns.push_back(c);
        origins << QString::fromUtf8(sqlite3_column_origin_name(stmt, i));
    }
    takeColumns(std::move(columns), origins);
}

void Recordset::takeColumns(std::vector<Column> columns, const QStringList& origins) {
    m_columns = std::move(columns);
    m_fieldIndex.clear();
    m_table.clear();
    m_idColumn = -1;
    QString onlyTable;
    bool singleTable = !m_columns.empty();
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i) {
        const QString& table = m_columns[static_cast<size_t>(i)].table;
        if (table.isEmpty() || (!onlyTable.isEmpty() && onlyTable != table)) {
            singleTable = false;
        }
        onlyTable = table;
        if (origins.value(i).compare(u"ID"_s, Qt::CaseInsensitive) == 0) {
            m_idColumn = m_idColumn < 0 ? i : m_idColumn;
        }
    }
    if (singleTable && m_idColumn >= 0) {
        m_table = onlyTable;
    } else {
        m_idColumn = -1;
    }
}

QVariant Recordset::readValue(sqlite3_stmt* stmt, int index) const {
    switch (sqlite3_column_type(stmt, index)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        if (m_columns[index].isDate) {
            return static_cast<double>(sqlite3_column_int64(stmt, index));
        }
        return static_cast<qlonglong>(sqlite3_column_int64(stmt, index));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, index);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, index)),
                          sqlite3_column_bytes(stmt, index));
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, index)),
                                 sqlite3_column_bytes(stmt, index));
    }
}

void Recordset::close() {
    if (m_adding) {
        endAdd(false);
    }
    sqlite3_finalize(std::exchange(m_stream, nullptr));
    m_streaming = false;
    m_connection = nullptr;
    m_columns.clear();
    m_cells.clear();
    m_rowCount = 0;
    m_deleted.clear();
    m_deletedCount = 0;
    m_position = 0;
    m_pending.clear();
    m_table.clear();
    m_idColumn = -1;
}

long Recordset::recordCount() const {
    return m_streaming ? -1 : static_cast<long>(m_rowCount) - m_deletedCount;
}

bool Recordset::atEnd() const {
    return m_streaming ? m_stream == nullptr : m_position >= m_rowCount;
}

void Recordset::moveNext() {
    if (atEnd()) {
        throw noCurrentRow();
    }
    if (m_streaming) {
        stepStream();
        ++m_position;
        return;
    }
    if (!m_pending.isEmpty() || m_adding) {
        update();
    }
    ++m_position;
}

int Recordset::indexOf(const QString& field) const {
    if (const auto it = m_fieldIndex.constFind(field); it != m_fieldIndex.constEnd()) {
        return *it;
    }
    const int index = findField(field);
    m_fieldIndex.insert(field, index);
    return index;
}

int Recordset::findField(const QString& field) const {
    const qsizetype dot = field.indexOf(u'.');
    const QString table = dot >= 0 ? field.left(dot) : QString();
    const QString name = dot >= 0 ? field.mid(dot + 1) : field;
    for (int i = 0; i < fieldCount(); ++i) {
        const Column& c = m_columns[i];
        if (c.name.compare(name, Qt::CaseInsensitive) == 0 &&
            (table.isEmpty() || c.table.compare(table, Qt::CaseInsensitive) == 0)) {
            return i;
        }
    }
    // A column named by its whole text ("Files.ID" as the engine wrote it, or an expression).
    for (int i = 0; i < fieldCount(); ++i) {
        if (m_columns[i].name.compare(field, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    throw AppError(ErrorNumber::ItemNotFound,
                   u"Le champ « "_s + field + u" » est introuvable dans le résultat."_s);
}

void Recordset::requireCurrentRow() const {
    if (atEnd() || (!m_streaming && m_deleted[m_position])) {
        throw noCurrentRow();
    }
}

void Recordset::requireUpdatable() const {
    if (m_lock == ReadOnlyLock || m_table.isEmpty()) {
        throw AppError(ErrorNumber::NotUpdatable,
                       u"Ce résultat ne permet pas de modifier les données."_s);
    }
}

QString Recordset::fieldName(int index) const {
    if (index < 0 || index >= fieldCount()) {
        throw AppError(ErrorNumber::ItemNotFound, u"Numéro de champ hors limites."_s);
    }
    return m_columns[index].name;
}

QVariant Recordset::rawValue(int index) const {
    requireCurrentRow();
    if (index < 0 || index >= fieldCount()) {
        throw AppError(ErrorNumber::ItemNotFound, u"Numéro de champ hors limites."_s);
    }
    if (m_streaming) {
        return readValue(m_stream, index);
    }
    const auto it = m_pending.constFind(index);
    return it != m_pending.constEnd() ? *it : cell(m_position, index);
}

std::optional<QUtf8StringView> Recordset::utf8Text(int index) const {
    requireCurrentRow();
    // A server's result is read whole: it has values, not the engine's text, to give.
    if (!m_streaming && m_connection->isServer() && index >= 0 && index < fieldCount()) {
        return std::nullopt;
    }
    if (!m_streaming || index < 0 || index >= fieldCount()) {
        throw AppError(ErrorNumber::ItemNotFound, u"Numéro de champ hors limites."_s);
    }
    if (sqlite3_column_type(m_stream, index) != SQLITE_TEXT) {
        return std::nullopt;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stream, index));
    return QUtf8StringView(text, sqlite3_column_bytes(m_stream, index));
}

QVariant Recordset::value(int index) const {
    const QVariant v = rawValue(index);
    if (m_columns[index].isDate && isFloatingValue(v)) {
        return JetDate::fromDayNumber(v.toDouble());
    }
    return v;
}

QVariant Recordset::value(const QString& field) const {
    return value(indexOf(field));
}

void Recordset::setValue(const QString& field, const QVariant& value) {
    const int index = indexOf(field);
    requireCurrentRow();
    requireUpdatable();
    if (index == m_idColumn) {
        throw AppError(ErrorNumber::NotUpdatable,
                       u"Le numéro automatique « "_s + field + u" » ne peut pas être modifié."_s);
    }
    m_pending.insert(index, value);
}

void Recordset::addNew() {
    if (!isOpen()) {
        throw AppError(ErrorNumber::ProviderGeneric, u"Le résultat n’est pas ouvert."_s);
    }
    requireUpdatable();
    if (m_adding || !m_pending.isEmpty()) {
        update();
    }
    if (m_connection->isServer()) {
        const qlonglong id = insertOnServer();
        m_cells.resize(m_cells.size() + m_columns.size());
        m_position = m_rowCount++;
        cell(m_position, m_idColumn) = id;
        m_deleted.push_back(false);
        return;
    }
    sqlite3* db = m_connection->handle();
    m_ownTransaction = sqlite3_get_autocommit(db) != 0;
    exec(db, m_ownTransaction ? "BEGIN IMMEDIATE;" : "SAVEPOINT lexivar_addnew;");
    m_adding = true;
    try {
        exec(db, ("INSERT INTO \"" + m_table.toUtf8() + "\" DEFAULT VALUES;").constData());
    } catch (...) {
        endAdd(false);
        throw;
    }
    m_cells.resize(m_cells.size() + m_columns.size());
    m_position = m_rowCount++;
    cell(m_position, m_idColumn) = static_cast<qlonglong>(sqlite3_last_insert_rowid(db));
    m_deleted.push_back(false);
}

void Recordset::endAdd(bool commit) {
    sqlite3* db = m_connection->handle();
    m_adding = false;
    if (!db && !m_connection->isServer()) {
        return;
    }
    if (commit) {
        try {
            if (m_connection->isServer()) {
                m_connection->execute(m_ownTransaction ? u"COMMIT;"_s
                                                       : u"RELEASE lexivar_addnew;"_s);
                return;
            }
            exec(db, m_ownTransaction ? "COMMIT;" : "RELEASE lexivar_addnew;");
            return;
        } catch (...) {
            rollbackAdd(db);
            throw;
        }
    }
    rollbackAdd(db);
}

void Recordset::rollbackAdd(sqlite3* db) {
    const char* undo =
        m_ownTransaction ? "ROLLBACK;" : "ROLLBACK TO lexivar_addnew; RELEASE lexivar_addnew;";
    // Errors are ignored: whatever happens, the added row must not stay.
    if (m_connection->isServer()) {
        try {
            m_connection->execute(QString::fromLatin1(undo));
        } catch (const AppError&) {
        }
    } else {
        sqlite3_exec(db, undo, nullptr, nullptr, nullptr);
    }
    if (m_rowCount > 0) {
        --m_rowCount;
        m_cells.resize(m_rowCount * m_columns.size());
        m_deleted.pop_back();
        m_position = m_rowCount;
    }
}

void Recordset::writePending() {
    if (m_pending.isEmpty()) {
        return;
    }
    QString sql = u"UPDATE \""_s + m_table + u"\" SET "_s;
    QList<int> columns = m_pending.keys();
    std::sort(columns.begin(), columns.end());
    for (int i = 0; i < columns.size(); ++i) {
        sql += (i ? u", \""_s : u"\""_s) + m_columns[columns[i]].name + u"\" = ?"_s;
    }
    sql += u" WHERE \""_s + m_columns[m_idColumn].name + u"\" = ?;"_s;
    if (m_connection->isServer()) {
        QVariantList values;
        for (int column : columns) {
            values << m_pending.value(column);
        }
        m_connection->execute(sql, values << cell(m_position, m_idColumn));
        return;
    }
    sqlite3* db = m_connection->handle();
    Statement s;
    prepare(db, sql, s);
    for (int i = 0; i < columns.size(); ++i) {
        Binding::bindValue(s.stmt, i + 1, m_pending.value(columns[i]));
    }
    Binding::bindValue(s.stmt, static_cast<int>(columns.size()) + 1, cell(m_position, m_idColumn));
    step(db, s.stmt);
}

void Recordset::update() {
    requireCurrentRow();
    requireUpdatable();
    try {
        writePending();
        if (m_adding) {
            endAdd(true);
        }
    } catch (...) {
        m_pending.clear();
        if (m_adding) {
            endAdd(false);
        }
        throw;
    }
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        cell(m_position, it.key()) = it.value();
    }
    m_pending.clear();
}

void Recordset::remove() {
    requireCurrentRow();
    requireUpdatable();
    m_pending.clear();
    if (m_adding) {
        endAdd(false);
        return;
    }
    if (m_connection->isServer()) {
        m_connection->execute(u"DELETE FROM \""_s + m_table + u"\" WHERE \""_s +
                                  m_columns[m_idColumn].name + u"\" = ?;"_s,
                              {cell(m_position, m_idColumn)});
        m_deleted[m_position] = true;
        ++m_deletedCount;
        return;
    }
    sqlite3* db = m_connection->handle();
    Statement s;
    prepare(db,
            u"DELETE FROM \""_s + m_table + u"\" WHERE \""_s + m_columns[m_idColumn].name +
                u"\" = ?;"_s,
            s);
    Binding::bindValue(s.stmt, 1, cell(m_position, m_idColumn));
    step(db, s.stmt);
    m_deleted[m_position] = true;
    ++m_deletedCount;
}

void Recordset::openOnServer(const QString& sql, const QVariantList& parameters,
                             Connection& connection) {
    const ServerResult result = connection.queryServer(sql, parameters);
    readServerColumns(result, connection);
    const int n = static_cast<int>(m_columns.size());
    m_rowCount = static_cast<size_t>(result.rowCount());
    m_cells.reserve(m_rowCount * m_columns.size());
    for (int row = 0; row < static_cast<int>(m_rowCount); ++row) {
        for (int i = 0; i < n; ++i) {
            m_cells.push_back(result.value(row, i));
        }
    }
}

void Recordset::readServerColumns(const ServerResult& result, Connection& connection) {
    const int n = result.columnCount();
    std::vector<Column> columns;
    QStringList origins;
    for (int i = 0; i < n; ++i) {
        Column c;
        c.name = result.columnName(i);
        ServerConnection::Origin origin;
        if (result.tableOid(i) != 0) {
            origin = connection.server()->originOf(result.tableOid(i), result.tableColumn(i));
        }
        // Names as the file backend gives them: the server folds them to lower case.
        c.table = Schema::declaredName(origin.table);
        if (!origin.column.isEmpty() && c.name == origin.column) {
            c.name = Schema::declaredName(c.name);
        }
        c.isDate = origin.isDate;
        columns.push_back(c);
        origins << origin.column;
    }
    takeColumns(std::move(columns), origins);
}

qlonglong Recordset::insertOnServer() {
    m_ownTransaction = !m_connection->inTransaction();
    m_connection->execute(m_ownTransaction ? u"BEGIN IMMEDIATE;"_s
                                           : u"SAVEPOINT lexivar_addnew;"_s);
    m_adding = true;
    try {
        const ServerResult r = m_connection->queryServer(
            u"INSERT INTO \""_s + m_table + u"\" DEFAULT VALUES RETURNING ID"_s, {});
        return r.value(0, 0).toLongLong();
    } catch (...) {
        endAdd(false);
        throw;
    }
}
