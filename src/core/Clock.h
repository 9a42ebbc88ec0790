#pragma once

#include <QDateTime>
#include <optional>

// "Now" for the whole program; tests set it so dates are predictable.
namespace Clock {
QDateTime now();
QDate today();
void setNow(std::optional<QDateTime> fixed);
} // namespace Clock
