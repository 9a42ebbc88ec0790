#include "core/text/RecordNumber.h"

#include "core/text/VariantKind.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::optional<qlonglong> numberOf(const QVariant& value) {
    if (isIntegerValue(value)) {
        return value.toLongLong();
    }
    bool ok = false;
    const double d =
        isFloatingValue(value) ? value.toDouble() : value.toString().trimmed().toDouble(&ok);
    if ((!ok && !isFloatingValue(value)) || !std::isfinite(d) || std::fabs(d) > 9e18) {
        return std::nullopt;
    }
    return std::llround(d);
}

} // namespace

QString formatNumber(const QVariant& value, const QString& format) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    const bool numeric =
        !format.isEmpty() &&
        std::all_of(format.begin(), format.end(), [](QChar c) { return c == u'0' || c == u'#'; });
    const std::optional<qlonglong> n = numeric ? numberOf(value) : std::nullopt;
    if (!n) {
        return value.toString();
    }
    const qsizetype zeros = format.size() - format.lastIndexOf(u'#') - 1;
    const QString digits = QString::number(*n < 0 ? -*n : *n).rightJustified(zeros, u'0');
    return *n < 0 ? u"-"_s + digits : digits;
}

QString formatRecordNumber(const QVariant& value) {
    // The common case, a stored record number, without the general machinery: lists show
    // hundreds of thousands of them.
    if (value.typeId() == QMetaType::LongLong) {
        qlonglong n = value.toLongLong();
        if (n >= 0) {
            char16_t digits[24];
            int d = 0;
            do {
                digits[d++] = static_cast<char16_t>(u'0' + n % 10);
                n /= 10;
            } while (n > 0);
            while (d < 5) {
                digits[d++] = u'0';
            }
            std::reverse(digits, digits + d);
            return QString(reinterpret_cast<const QChar*>(digits), d);
        }
    }
    return formatNumber(value, u"#####00000"_s);
}
