#include "core/db/Command.h"

#include "core/AppError.h"
#include "core/db/Connection.h"

using namespace Qt::StringLiterals;

long Command::execute() {
    if (!m_connection) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La commande n’a pas de connexion."_s);
    }
    return m_parameters.isEmpty() ? m_connection->execute(m_text)
                                  : m_connection->execute(m_text, m_parameters);
}

long executeChange(const DatabaseLocation& location, const QString& statement,
                   const QVariantList& parameters) {
    Connection connection;
    connection.open(location, Connection::Mode::ReadWrite);
    Command command;
    command.setActiveConnection(connection);
    command.setCommandText(statement);
    command.setParameters(parameters);
    return command.execute();
}
