#pragma once

#include "core/interchange/LegacyTableReader.h"

#include <QStringList>

class QTextStream;

// lexivar-admin: creates databases and imports old ones. Returns the process exit code (0 done,
// 1 refused or failed, 2 wrong usage); messages go to `out` and `err` in French.
int runAdminTool(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 const LegacyReaderFactory& openLegacy = {});
