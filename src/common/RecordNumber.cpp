#include "RecordNumber.h"

#include "VariantKind.h"

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
    if (IsIntegerValue(value)) {
        return padded(value.toLongLong());
    }
    if (IsFloatingValue(value)) {
        return padded(std::llround(value.toDouble()));
    }
    const QString text = value.toString();
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 9e18) {
        return text;
    }
    return padded(std::llround(d));
}
