#include "core/db/ConnectionString.h"

#include "core/AppError.h"

using namespace Qt::StringLiterals;

namespace {

const QString kSource = u"Data Source="_s;
const QString kPassword = u";Jet OLEDB:Database Password="_s;
const QString kMode = u";MODE="_s;

QString unquote(const QString& v) {
    if (v.size() >= 2 && v.front() == u'\'' && v.back() == u'\'') {
        return v.mid(1, v.size() - 2).replace(u"''"_s, u"'"_s);
    }
    return v;
}

} // namespace

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString cs;
    const qsizetype src = text.indexOf(kSource, 0, Qt::CaseInsensitive);
    if (src < 0) {
        throw AppError(ErrorNumber::ProviderGeneric,
                       u"La chaîne de connexion ne nomme aucune base de données."_s);
    }
    const qsizetype srcStart = src + kSource.size();
    const qsizetype pw = text.indexOf(kPassword, srcStart, Qt::CaseInsensitive);
    // The password runs to the last mode piece, so it may hold semicolons of its own.
    const qsizetype mode = text.lastIndexOf(kMode, -1, Qt::CaseInsensitive);
    qsizetype srcEnd = pw >= 0 ? pw : (mode >= srcStart ? mode : text.indexOf(u';', srcStart));
    if (srcEnd < 0) {
        srcEnd = text.size();
    }
    cs.dataSource = text.mid(srcStart, srcEnd - srcStart).trimmed();
    if (pw >= 0) {
        const qsizetype pwStart = pw + kPassword.size();
        const qsizetype pwEnd = mode >= pwStart ? mode : text.size();
        cs.password = unquote(text.mid(pwStart, pwEnd - pwStart));
    }
    if (mode >= 0) {
        const QString value = text.mid(mode + kMode.size()).section(u';', 0, 0).trimmed();
        cs.mode = value.compare(u"READ"_s, Qt::CaseInsensitive) == 0 ? Mode::Read : Mode::ReadWrite;
    }
    return cs;
}

QString ConnectionString::quoted(const QString& text) {
    return u"'"_s + QString(text).replace(u"'"_s, u"''"_s) + u"'"_s;
}

QString ConnectionString::quotedReadWrite(const QString& path, const QString& password) {
    return u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source="_s + path +
           u";Jet OLEDB:Database Password="_s + quoted(password) + u";MODE=READWRITE;"_s;
}
