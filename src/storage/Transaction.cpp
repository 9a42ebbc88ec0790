#include "Transaction.h"

#include "Connection.h"
#include "common/AppError.h"

using namespace Qt::StringLiterals;

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.Execute(u"BEGIN IMMEDIATE;"_s);
}

Transaction::~Transaction() {
    rollback();
}

void Transaction::commit() {
    m_connection.Execute(u"COMMIT;"_s);
    m_open = false;
}

void Transaction::rollback() {
    if (!m_open) {
        return;
    }
    m_open = false;
    try {
        m_connection.Execute(u"ROLLBACK;"_s);
    } catch (const AppError&) {
        // Closing the connection undoes the transaction all the same.
    }
}
