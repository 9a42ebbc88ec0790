#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

// A field value as the windows and reports show it: null as "", dates in the user's short date
// format with the time only when there is one, numbers in decimal.
QString sFieldText(const QVariant& value);
QString sDateText(const QDateTime& value);
