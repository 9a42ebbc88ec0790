#include "core/Clock.h"

namespace {
std::optional<QDateTime>& fixedNow() {
    static std::optional<QDateTime> value;
    return value;
}
} // namespace

namespace Clock {

QDateTime now() {
    return fixedNow() ? *fixedNow() : QDateTime::currentDateTime();
}

QDate today() {
    return now().date();
}

void setNow(std::optional<QDateTime> fixed) {
    fixedNow() = std::move(fixed);
}

} // namespace Clock
