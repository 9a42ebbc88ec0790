#include "core/db/ServerError.h"

#include "core/AppError.h"
#include "core/db/ServerClient.h"
#include "core/db/ServerSettings.h"

using namespace Qt::StringLiterals;

namespace {

QString detailOf(const pg_result* result, const pg_conn* connection) {
    const char* primary =
        result ? pq().PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString text = QString::fromUtf8(primary ? primary : pq().PQerrorMessage(connection));
    return text.trimmed();
}

AppError busy() {
    return AppError(ErrorNumber::ProviderGeneric,
                    u"La base de données est utilisée par un autre usager. Réessayez dans un "
                    u"instant."_s);
}

} // namespace

AppError serverError(const pg_result* result, const pg_conn* connection) {
    const char* state = result ? pq().PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QByteArray code(state ? state : "");
    const QString detail = detailOf(result, connection);
    if (code == "25006") {
        return AppError(ErrorNumber::ReadOnly,
                        u"Mise à jour impossible : la base de données est ouverte en lecture "
                        u"seule."_s);
    }
    if (code == "40001" || code == "40P01" || code == "55P03") {
        return busy();
    }
    if (code == "54000") {
        // A term indexed for the searches has a size limit there (a few thousand characters).
        return AppError(ErrorNumber::SqlError,
                        u"Un texte est trop long pour le serveur de bases de données, qui "
                        u"n’indexe pas un terme de plusieurs milliers de caractères ; rien n’a "
                        u"été enregistré."_s);
    }
    if (code.startsWith("23")) {
        return AppError(ErrorNumber::Integrity,
                        u"L’opération enfreint une règle d’intégrité de la base de données ("_s +
                            detail + u")."_s);
    }
    if (code.startsWith("42") || code.startsWith("22")) {
        return AppError(ErrorNumber::SqlError,
                        u"Erreur dans l’instruction SQL : "_s + detail + u"."_s);
    }
    if (code == "28P01" || code == "28000") {
        return AppError(ErrorNumber::NotValidPassword, u"Mot de passe non valide."_s);
    }
    if (code.isEmpty() && pq().PQstatus(connection) != CONNECTION_OK) {
        return AppError(ErrorNumber::ProviderGeneric,
                        u"La connexion au serveur de bases de données a été perdue ("_s + detail +
                            u")."_s);
    }
    return AppError(ErrorNumber::ProviderGeneric,
                    u"Erreur de la base de données : "_s + detail + u"."_s);
}

AppError connectionError(const pg_conn* connection, const ServerSettings& settings) {
    const QString detail = detailOf(nullptr, connection);
    // A server that asked for a password and refused it; its message says which (in the
    // server's language), so the database's absence is told apart by its name only.
    if (pq().PQconnectionNeedsPassword(connection) ||
        (pq().PQconnectionUsedPassword(connection) && !detail.contains(u"database"_s))) {
        return AppError(ErrorNumber::NotValidPassword, u"Mot de passe non valide."_s);
    }
    if (pq().PQconnectionUsedPassword(connection)) {
        return AppError(ErrorNumber::ProviderGeneric,
                        u"Le serveur de bases de données refuse la connexion : "_s + detail +
                            u"."_s);
    }
    const char* host = pq().PQhost(connection);
    const QString server = u"« "_s + QString::fromUtf8(host ? host : "") + u" »"_s;
    if (settings.requireTls && detail.contains(u"SSL"_s)) {
        return AppError(ErrorNumber::ProviderGeneric,
                        u"Le serveur de bases de données "_s + server +
                            u" n’accepte pas de connexion chiffrée (TLS), que la configuration "
                            u"exige."_s);
    }
    return AppError(ErrorNumber::ProviderGeneric,
                    u"Impossible de joindre le serveur de bases de données "_s + server +
                        u" (délai d’attente : "_s + QString::number(settings.timeoutSeconds) +
                        u" s) : il est arrêté, injoignable ou son adresse est inexacte. "
                        u"Réessayez plus tard ou vérifiez la configuration."_s);
}
