#include "core/db/SqliteError.h"

#include "core/AppError.h"

#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

AppError sqliteError(sqlite3* db, int resultCode) {
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    switch (resultCode & 0xFF) {
    case SQLITE_NOTADB:
        return AppError(ErrorNumber::NotValidPassword, u"Mot de passe non valide."_s);
    case SQLITE_READONLY:
        if (db && sqlite3_extended_errcode(db) == SQLITE_READONLY_DBMOVED) {
            return AppError(ErrorNumber::ProviderGeneric,
                            u"La base de données a été remplacée pendant l’opération (son mot de "
                            u"passe a changé) ; rien n’a été enregistré. Recommencez."_s);
        }
        return AppError(ErrorNumber::ReadOnly,
                        u"Mise à jour impossible : la base de données est ouverte en lecture "
                        u"seule."_s);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return AppError(ErrorNumber::ProviderGeneric,
                        u"La base de données est utilisée par un autre usager. Réessayez dans un "
                        u"instant."_s);
    case SQLITE_CONSTRAINT:
        return AppError(ErrorNumber::Integrity,
                        u"L’opération enfreint une règle d’intégrité de la base de données ("_s +
                            detail + u")."_s);
    case SQLITE_CORRUPT:
        return AppError(ErrorNumber::ProviderGeneric, u"La base de données est endommagée."_s);
    case SQLITE_FULL:
        return AppError(ErrorNumber::ProviderGeneric, u"Le disque est plein."_s);
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
        return AppError(ErrorNumber::ProviderGeneric,
                        u"Impossible de lire ou d’écrire le fichier de la base de données ("_s +
                            detail + u")."_s);
    case SQLITE_ERROR:
        return AppError(ErrorNumber::SqlError,
                        u"Erreur dans l’instruction SQL : "_s + detail + u"."_s);
    default:
        return AppError(ErrorNumber::ProviderGeneric,
                        u"Erreur de la base de données : "_s + detail + u"."_s);
    }
}
