#include "RecordNumber.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString padded(qlonglong n) {
    const QString digits = QString::number(n < 0 ? -n : n).rightJustified(5, u'0');
    return n < 0 ? u"-"_s + digits : digits;
}

} // namespace

QString sFormatRecordNumber(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        return padded(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return padded(std::llround(value.toDouble()));
    default:
        break;
    }
    const QString text = value.toString();
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 9e18) {
        return text;
    }
    return padded(std::llround(d));
}
