#include "core/db/JetDate.h"

#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
} // namespace

namespace JetDate {

double toDayNumber(const QDate& value) {
    return static_cast<double>(kEpoch.daysTo(value));
}

double toDayNumber(const QDateTime& value) {
    const double days = toDayNumber(value.date());
    const double fraction = value.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight.
    return days < 0 ? days - fraction : days + fraction;
}

QDateTime fromDayNumber(double dayNumber) {
    const double whole = std::trunc(dayNumber);
    const double fraction = std::fabs(dayNumber - whole);
    auto ms = static_cast<qint64>(std::llround(fraction * kMsPerDay));
    qint64 days = static_cast<qint64>(whole);
    if (ms >= static_cast<qint64>(kMsPerDay)) {
        ms -= static_cast<qint64>(kMsPerDay);
        days += 1;
    }
    return QDateTime(kEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

} // namespace JetDate
