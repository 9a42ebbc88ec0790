#include "core/text/FieldText.h"

#include "core/text/ShortDateFormat.h"
#include "core/text/VariantKind.h"

#include <QLocale>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString timeText(int msecs) {
    return QTime::fromMSecsSinceStartOfDay(msecs).toString(u"HH:mm:ss"_s);
}

} // namespace

// The short-date picture applied with plain arithmetic: long lists show hundreds of thousands
// of dates.
class ShortDateFormatter::Picture {
public:
    QString format(int year, int month, int day) const {
        char16_t buffer[64];
        int n = 0;
        const auto put = [&](int value, int width) {
            char16_t digits[12];
            int d = 0;
            do {
                digits[d++] = static_cast<char16_t>(u'0' + value % 10);
                value /= 10;
            } while (value > 0 && d < 12);
            while (d < width) {
                digits[d++] = u'0';
            }
            while (d > 0 && n < 64) {
                buffer[n++] = digits[--d];
            }
        };
        for (const Token& t : m_tokens) {
            switch (t.kind) {
            case 'd':
                put(day, t.width);
                break;
            case 'M':
                put(month, t.width);
                break;
            case 'y':
                put(t.width == 2 ? year % 100 : year, t.width == 2 ? 2 : 1);
                break;
            case 'N': // month name
            case 'D': // day name
                for (QChar c : name(t, year, month, day)) {
                    if (n < 64) {
                        buffer[n++] = c.unicode();
                    }
                }
                break;
            default:
                for (QChar c : t.literal) {
                    if (n < 64) {
                        buffer[n++] = c.unicode();
                    }
                }
            }
        }
        return QString(reinterpret_cast<const QChar*>(buffer), n);
    }

private:
    struct Token {
        char kind; // 'd', 'M', 'y', 'N' (month name), 'D' (day name) or 0 for literal text
        int width;
        QString literal;
    };

public:
    explicit Picture(const QString& format) {
        for (qsizetype i = 0; i < format.size();) {
            const QChar c = format.at(i);
            qsizetype j = i;
            while (j < format.size() && format.at(j) == c) {
                ++j;
            }
            const int width = static_cast<int>(j - i);
            if (c == u'd') {
                m_tokens.push_back({width <= 2 ? 'd' : 'D', width, {}});
            } else if (c == u'M') {
                m_tokens.push_back({width <= 2 ? 'M' : 'N', width, {}});
            } else if (c == u'y') {
                m_tokens.push_back({'y', width, {}});
            } else if (c == u'\'') {
                const qsizetype end = format.indexOf(u'\'', i + 1);
                const qsizetype stop = end < 0 ? format.size() : end;
                m_tokens.push_back({0, 0, format.mid(i + 1, stop - i - 1)});
                j = stop + 1;
            } else {
                m_tokens.push_back({0, 0, format.mid(i, width)});
            }
            i = j;
        }
    }

private:
    QString name(const Token& t, int year, int month, int day) const {
        const QLocale::FormatType type = t.width == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
        if (t.kind == 'N') {
            return m_locale.monthName(month, type);
        }
        return m_locale.dayName(QDate(year, month, day).dayOfWeek(), type);
    }

    QLocale m_locale;
    std::vector<Token> m_tokens;
};

ShortDateFormatter::ShortDateFormatter()
    : m_picture(std::make_unique<Picture>(shortDateFormat())) {}

ShortDateFormatter::~ShortDateFormatter() = default;

QString ShortDateFormatter::text(const QDateTime& value) const {
    const QDate d = value.date();
    QString text = m_picture->format(d.year(), d.month(), d.day());
    if (value.time().msecsSinceStartOfDay() != 0) {
        text += u' ' + timeText(value.time().msecsSinceStartOfDay());
    }
    return text;
}

QString ShortDateFormatter::dateOnly(const QDateTime& value) const {
    const QDate d = value.date();
    return m_picture->format(d.year(), d.month(), d.day());
}

QString ShortDateFormatter::dayNumberText(double dayNumber) const {
    qint64 days = 0;
    const int ms = splitDayNumber(dayNumber, days);
    QString text = dayText(days);
    if (ms != 0) {
        text += u' ' + timeText(ms);
    }
    return text;
}

QString ShortDateFormatter::dayNumberDate(double dayNumber) const {
    qint64 days = 0;
    splitDayNumber(dayNumber, days);
    return dayText(days);
}

// The day and the time of day (ms) of a day number, a time that rounds to midnight counting
// as the next day, as JetDate::fromDayNumber reads it.
int ShortDateFormatter::splitDayNumber(double dayNumber, qint64& days) {
    const double whole = std::trunc(dayNumber);
    auto ms = std::llround(std::fabs(dayNumber - whole) * 86400000.0);
    days = static_cast<qint64>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        days += 1;
    }
    return static_cast<int>(ms);
}

QString ShortDateFormatter::dayText(qint64 days) const {
    // Civil date from a day count, in integers (days since 1970-01-01 first).
    const qint64 z = days - 25569 + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return m_picture->format(year, month, day);
}

QString dateText(const QDateTime& value) {
    return ShortDateFormatter().text(value);
}

QString dayNumberText(double dayNumber) {
    return ShortDateFormatter().dayNumberText(dayNumber);
}

QString fieldText(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    if (value.typeId() == QMetaType::QDateTime) {
        return dateText(value.toDateTime());
    }
    if (value.typeId() == QMetaType::QDate) {
        return dateText(value.toDate().startOfDay());
    }
    if (isIntegerValue(value)) {
        return QString::number(value.toLongLong());
    }
    if (isFloatingValue(value)) {
        return QLocale().toString(value.toDouble(), 'g', 15);
    }
    return value.toString();
}
