#include "core/db/ServerClient.h"

#include "core/AppError.h"

#include <dlfcn.h>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

AppError missing(const char* what) {
    return AppError(ErrorNumber::ProviderGeneric,
                    u"La bibliothèque cliente de PostgreSQL (libpq.so.5) est introuvable ou "
                    u"incomplète ("_s +
                        QString::fromUtf8(what) +
                        u") : installez le paquet libpq5 pour travailler sur un serveur."_s);
}

template <typename Function> void resolve(void* library, const char* name, Function& into) {
    into = reinterpret_cast<Function>(dlsym(library, name));
    if (!into) {
        throw missing(name);
    }
}

ServerClient load() {
    // Never unloaded: the connections live as long as the program.
    void* library = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        throw missing(reason ? reason : "libpq.so.5");
    }
    ServerClient c;
#define LEXIVAR_RESOLVE(name) resolve(library, #name, c.name)
    LEXIVAR_RESOLVE(PQclear);
    LEXIVAR_RESOLVE(PQcmdTuples);
    LEXIVAR_RESOLVE(PQconnectdbParams);
    LEXIVAR_RESOLVE(PQconnectionNeedsPassword);
    LEXIVAR_RESOLVE(PQconnectionUsedPassword);
    LEXIVAR_RESOLVE(PQconninfoFree);
    LEXIVAR_RESOLVE(PQconninfoParse);
    LEXIVAR_RESOLVE(PQencryptPasswordConn);
    LEXIVAR_RESOLVE(PQerrorMessage);
    LEXIVAR_RESOLVE(PQescapeIdentifier);
    LEXIVAR_RESOLVE(PQescapeLiteral);
    LEXIVAR_RESOLVE(PQexec);
    LEXIVAR_RESOLVE(PQexecParams);
    LEXIVAR_RESOLVE(PQfinish);
    LEXIVAR_RESOLVE(PQfname);
    LEXIVAR_RESOLVE(PQfreemem);
    LEXIVAR_RESOLVE(PQftable);
    LEXIVAR_RESOLVE(PQftablecol);
    LEXIVAR_RESOLVE(PQftype);
    LEXIVAR_RESOLVE(PQgetisnull);
    LEXIVAR_RESOLVE(PQgetlength);
    LEXIVAR_RESOLVE(PQgetvalue);
    LEXIVAR_RESOLVE(PQhost);
    LEXIVAR_RESOLVE(PQnfields);
    LEXIVAR_RESOLVE(PQntuples);
    LEXIVAR_RESOLVE(PQresultErrorField);
    LEXIVAR_RESOLVE(PQresultStatus);
    LEXIVAR_RESOLVE(PQstatus);
    LEXIVAR_RESOLVE(PQtransactionStatus);
    LEXIVAR_RESOLVE(PQunescapeBytea);
    LEXIVAR_RESOLVE(PQuser);
#undef LEXIVAR_RESOLVE
    return c;
}

} // namespace

const ServerClient& pq() {
    // A failed load is tried again next time (the package may have been installed meanwhile).
    static ServerClient client;
    static std::once_flag loaded;
    std::call_once(loaded, [] { client = load(); });
    return client;
}
