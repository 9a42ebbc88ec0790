#pragma once

#include <QString>
#include <QVariant>

// Record numbers shown with at least five digits ("00042"); longer numbers in full. A text that
// is not a number comes back unchanged; an empty value gives "".
QString sFormatRecordNumber(const QVariant& value);
