#include "core/db/Binding.h"

#include "core/AppError.h"
#include "core/db/JetDate.h"
#include "core/text/VariantKind.h"

#include <QDateTime>
#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

namespace Binding {

AppError countMismatch() {
    return AppError(ErrorNumber::ProviderGeneric,
                    u"Le nombre de valeurs ne correspond pas à la requête."_s);
}

AppError notOneStatement() {
    return AppError(ErrorNumber::ProviderGeneric,
                    u"Une requête avec des valeurs doit être une seule instruction."_s);
}

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    if (v.typeId() == QMetaType::QDateTime) {
        sqlite3_bind_double(stmt, index, JetDate::toDayNumber(v.toDateTime()));
    } else if (v.typeId() == QMetaType::QDate) {
        sqlite3_bind_double(stmt, index, JetDate::toDayNumber(v.toDate()));
    } else if (isIntegerValue(v)) {
        sqlite3_bind_int64(stmt, index, v.toLongLong());
    } else if (isFloatingValue(v)) {
        sqlite3_bind_double(stmt, index, v.toDouble());
    } else {
        const QByteArray text = v.toString().toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
}

void bindAll(sqlite3_stmt* stmt, const QVariantList& values) {
    if (sqlite3_bind_parameter_count(stmt) != values.size()) {
        throw countMismatch();
    }
    for (int i = 0; i < values.size(); ++i) {
        bindValue(stmt, i + 1, values[i]);
    }
}

} // namespace Binding
