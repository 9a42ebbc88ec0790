#pragma once

#include <QString>

// The line break of the messages, stored texts and reports: carriage return and line feed, as
// the program's older bases and the message boxes' texts have it. Use it inside functions, not in
// another file's static initialiser (whose order against this one is not fixed).
inline const QString kCrLf = QStringLiteral("\r\n");
