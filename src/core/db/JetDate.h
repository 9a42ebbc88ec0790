#pragma once

#include <QDateTime>

// Dates are stored as day numbers: days since 30 December 1899, the fraction being the time of
// day, so statements can compare them with plain numbers.
namespace JetDate {
double toDayNumber(const QDateTime& value);
double toDayNumber(const QDate& value);
QDateTime fromDayNumber(double dayNumber);
} // namespace JetDate
