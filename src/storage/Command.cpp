#include "Command.h"

#include "Connection.h"
#include "common/AppError.h"

using namespace Qt::StringLiterals;

long Command::Execute() {
    if (!m_connection) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La commande n’a pas de connexion."_s);
    }
    return m_parameters.isEmpty() ? m_connection->Execute(m_text)
                                  : m_connection->Execute(m_text, m_parameters);
}
