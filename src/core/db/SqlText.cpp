#include "core/db/SqlText.h"

#include "core/text/Validation.h"

using namespace Qt::StringLiterals;

namespace SqlText {

QString withoutControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.category() != QChar::Other_Control) {
            out += c;
        }
    }
    return out;
}

QString literal(const QString& text) {
    return u"'"_s + quotesDoubled(withoutControls(text)) + u"'"_s;
}

std::optional<qint64> wholeNumber(const QString& text) {
    constexpr qsizetype kMaxDigits = 18; // always fits in 64 bits
    if (text.isEmpty() || text.size() > kMaxDigits) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace SqlText
