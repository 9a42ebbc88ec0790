#include "core/db/Transaction.h"

#include "core/AppError.h"
#include "core/db/Connection.h"

using namespace Qt::StringLiterals;

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.execute(u"BEGIN IMMEDIATE;"_s);
}

Transaction::~Transaction() {
    rollback();
}

void Transaction::commit() {
    m_connection.execute(u"COMMIT;"_s);
    m_open = false;
}

void Transaction::rollback() {
    if (!m_open) {
        return;
    }
    m_open = false;
    try {
        m_connection.execute(u"ROLLBACK;"_s);
    } catch (const AppError&) {
        // Closing the connection undoes the transaction all the same.
    }
}
