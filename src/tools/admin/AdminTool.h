#pragma once

#include <QStringList>

class QTextStream;

// lexivar-admin: creates databases. Returns the process exit code (0 done, 1 refused or failed,
// 2 wrong usage); messages go to `out` and `err` in French.
int runAdminTool(const QStringList& arguments, QTextStream& out, QTextStream& err);
