#pragma once

#include <QString>
#include <QVariantList>

class Connection;
struct DatabaseLocation;

// A statement sent on an open connection (deletions go this way).
class Command {
public:
    void setActiveConnection(Connection& connection) { m_connection = &connection; }
    void setCommandText(const QString& text) { m_text = text; }
    // Values for the statement's "?" placeholders, in order.
    void setParameters(const QVariantList& values) { m_parameters = values; }
    // Returns the number of rows the statement changed.
    long execute();

private:
    Connection* m_connection = nullptr;
    QString m_text;
    QVariantList m_parameters;
};

// Runs one statement that changes the database, on a read-write connection of its own, closed
// afterwards. Throws AppError.
long executeChange(const DatabaseLocation& location, const QString& statement,
                   const QVariantList& parameters = {});
