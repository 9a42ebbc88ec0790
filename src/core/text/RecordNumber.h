#pragma once

#include <QString>
#include <QVariant>

// A number through a numeric format expression, "0" being a digit or a zero and "#" a digit or
// nothing: "#####00000" gives at least five digits ("00042"), longer numbers in full. A value
// that is not a number, or an expression with other characters, comes back as its text.
QString formatNumber(const QVariant& value, const QString& format);

// Record numbers: formatNumber with "#####00000"; an empty value gives "".
QString formatRecordNumber(const QVariant& value);
