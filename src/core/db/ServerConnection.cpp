#include "core/db/ServerConnection.h"

#include "core/AppError.h"
#include "core/db/JetDate.h"
#include "core/db/ServerClient.h"
#include "core/db/ServerError.h"
#include "core/db/ServerSettings.h"
#include "core/text/VariantKind.h"

#include <QDateTime>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Type numbers of the server's built-in types (pg_type.dat).
constexpr Oid kBool = 16;
constexpr Oid kBytea = 17;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;

struct Result {
    PGresult* r;
    ~Result() { pq().PQclear(r); }
};

// A value as the text the server parses; dates become day numbers, as in the file backend.
std::optional<QByteArray> parameterText(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        return std::nullopt;
    }
    if (v.typeId() == QMetaType::QDateTime) {
        return QByteArray::number(JetDate::toDayNumber(v.toDateTime()), 'g', 17);
    }
    if (v.typeId() == QMetaType::QDate) {
        return QByteArray::number(JetDate::toDayNumber(v.toDate()), 'g', 17);
    }
    if (isIntegerValue(v)) {
        return QByteArray::number(v.toLongLong());
    }
    if (isFloatingValue(v)) {
        return QByteArray::number(v.toDouble(), 'g', 17);
    }
    // The server's text cannot hold NUL: it is left out, the rest of the text kept.
    return v.toString().remove(QChar(0)).toUtf8();
}

} // namespace

ServerResult::~ServerResult() {
    pq().PQclear(m_result);
}

int ServerResult::rowCount() const {
    return pq().PQntuples(m_result);
}

int ServerResult::columnCount() const {
    return pq().PQnfields(m_result);
}

QString ServerResult::columnName(int column) const {
    return QString::fromUtf8(pq().PQfname(m_result, column));
}

unsigned ServerResult::tableOid(int column) const {
    return pq().PQftable(m_result, column);
}

int ServerResult::tableColumn(int column) const {
    return pq().PQftablecol(m_result, column);
}

QVariant ServerResult::value(int row, int column) const {
    if (pq().PQgetisnull(m_result, row, column)) {
        return {};
    }
    const char* text = pq().PQgetvalue(m_result, row, column);
    const int length = pq().PQgetlength(m_result, row, column);
    switch (pq().PQftype(m_result, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return QByteArray::fromRawData(text, length).toLongLong();
    case kBool:
        return static_cast<qlonglong>(text[0] == 't' ? 1 : 0);
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return QByteArray::fromRawData(text, length).toDouble();
    case kBytea: {
        size_t size = 0;
        unsigned char* bytes =
            pq().PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
        QByteArray out(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
        pq().PQfreemem(bytes);
        return out;
    }
    default:
        return QString::fromUtf8(text, length);
    }
}

long ServerResult::changedRows() const {
    return QByteArray(pq().PQcmdTuples(m_result)).toLong();
}

ServerConnection::~ServerConnection() {
    close();
}

namespace {

// Whether the address carries a password of its own, which libpq would use in place of an empty
// one from the password file.
bool carriesPassword(const QByteArray& address) {
    char* error = nullptr;
    PQconninfoOption* options = pq().PQconninfoParse(address.constData(), &error);
    pq().PQfreemem(error);
    bool found = false;
    for (PQconninfoOption* o = options; o && o->keyword; ++o) {
        found = found || (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val);
    }
    pq().PQconninfoFree(options);
    return found;
}

} // namespace

void ServerConnection::connect(const QString& address, const QString& password, bool readOnly) {
    close();
    if (carriesPassword(address.toUtf8())) {
        throw AppError(ErrorNumber::ProviderGeneric,
                       u"L’adresse du serveur de bases de données contient un mot de passe : "
                       u"retirez-le de la configuration. Celui du rôle est lu dans le fichier "
                       u"des mots de passe, à côté du fichier de configuration."_s);
    }
    const ServerSettings settings = ServerSettings::read();
    const QByteArray dbname = address.toUtf8();
    const QByteArray secret = password.toUtf8();
    const QByteArray timeout = QByteArray::number(settings.timeoutSeconds);
    // Quotes are doubled in literals, backslashes left as they are: a server set to take a
    // backslash as an escape would let a typed text end a literal early.
    static constexpr char kOptions[] = "-c standard_conforming_strings=on";
    static constexpr char kReadOnlyOptions[] =
        "-c standard_conforming_strings=on -c default_transaction_read_only=on";
    // Keywords after the address override what it says: the password never comes from it.
    const char* keywords[] = {"dbname",          "password",         "connect_timeout", "sslmode",
                              "client_encoding", "application_name", "options",         nullptr};
    const char* values[] = {dbname.constData(),
                            secret.constData(),
                            timeout.constData(),
                            settings.requireTls ? "require" : "prefer",
                            "UTF8",
                            "Lexivar",
                            readOnly ? kReadOnlyOptions : kOptions,
                            nullptr};
    PGconn* conn = pq().PQconnectdbParams(keywords, values, 1);
    if (!conn) {
        throw AppError(ErrorNumber::ProviderGeneric, u"Mémoire insuffisante."_s);
    }
    if (pq().PQstatus(conn) != CONNECTION_OK) {
        AppError error = connectionError(conn, settings);
        pq().PQfinish(conn);
        throw error;
    }
    m_conn = conn;
}

void ServerConnection::close() {
    if (m_conn) {
        pq().PQfinish(m_conn);
        m_conn = nullptr;
    }
    m_origins.clear();
}

pg_result* ServerConnection::run(const QString& sql, const QVariantList& values) {
    if (!m_conn) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La connexion n’est pas ouverte."_s);
    }
    const QByteArray text = sql.toUtf8();
    std::vector<std::optional<QByteArray>> held;
    held.reserve(values.size());
    std::vector<const char*> pointers;
    for (const QVariant& v : values) {
        held.push_back(parameterText(v));
        pointers.push_back(held.back() ? held.back()->constData() : nullptr);
    }
    PGresult* r = pq().PQexecParams(m_conn, text.constData(), static_cast<int>(pointers.size()),
                                    nullptr, pointers.data(), nullptr, nullptr, 0);
    const ExecStatusType status = r ? pq().PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        AppError error = serverError(r, m_conn);
        pq().PQclear(r);
        throw error;
    }
    return r;
}

long ServerConnection::execute(const QString& sql) {
    if (!m_conn) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La connexion n’est pas ouverte."_s);
    }
    const QByteArray text = sql.toUtf8();
    // The simple protocol runs several statements at once; only the last one's result comes back.
    const Result r{pq().PQexec(m_conn, text.constData())};
    const ExecStatusType status = r.r ? pq().PQresultStatus(r.r) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY) {
        throw serverError(r.r, m_conn);
    }
    return QByteArray(pq().PQcmdTuples(r.r)).toLong();
}

long ServerConnection::execute(const QString& sql, const QVariantList& values) {
    const Result r{run(sql, values)};
    return QByteArray(pq().PQcmdTuples(r.r)).toLong();
}

ServerResult ServerConnection::query(const QString& sql, const QVariantList& values) {
    return ServerResult(run(sql, values));
}

bool ServerConnection::inTransaction() const {
    return m_conn && pq().PQtransactionStatus(m_conn) != PQTRANS_IDLE;
}

ServerConnection::Origin ServerConnection::originOf(unsigned tableOid, int tableColumn) {
    const quint64 key = (static_cast<quint64>(tableOid) << 16) | static_cast<quint16>(tableColumn);
    if (const auto it = m_origins.constFind(key); it != m_origins.constEnd()) {
        return *it;
    }
    const ServerResult r(run(u"SELECT c.relname, a.attname, t.typname = 'lexivar_date' "
                             u"FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
                             u"JOIN pg_type t ON t.oid = a.atttypid "
                             u"WHERE c.oid = $1 AND a.attnum = $2"_s,
                             {static_cast<qlonglong>(tableOid), tableColumn}));
    Origin origin;
    if (r.rowCount() == 1) {
        origin = {r.value(0, 0).toString(), r.value(0, 1).toString(),
                  r.value(0, 2).toLongLong() != 0};
    }
    m_origins.insert(key, origin);
    return origin;
}

void ServerConnection::changeRolePassword(const QString& password) {
    if (!m_conn) {
        throw AppError(ErrorNumber::ProviderGeneric, u"La connexion n’est pas ouverte."_s);
    }
    const QByteArray user(pq().PQuser(m_conn));
    const QByteArray secret = password.toUtf8();
    char* hashed =
        pq().PQencryptPasswordConn(m_conn, secret.constData(), user.constData(), nullptr);
    if (!hashed) {
        throw serverError(nullptr, m_conn);
    }
    char* role = pq().PQescapeIdentifier(m_conn, user.constData(), user.size());
    char* literal = pq().PQescapeLiteral(m_conn, hashed, strlen(hashed));
    const QString sql =
        u"ALTER ROLE "_s + QString::fromUtf8(role) + u" PASSWORD "_s + QString::fromUtf8(literal);
    pq().PQfreemem(hashed);
    pq().PQfreemem(role);
    pq().PQfreemem(literal);
    execute(sql);
}
