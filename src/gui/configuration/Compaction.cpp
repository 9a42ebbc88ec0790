#include "gui/configuration/Compaction.h"

#include "core/AppError.h"
#include "core/db/DatabaseFile.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"

#include <QApplication>

using namespace Qt::StringLiterals;

bool compactDatabase(const QString& file, const QString& password) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool done = false;
    try {
        DatabaseFile::compact(file, password);
        done = true;
    } catch (const AppError& e) {
        QApplication::restoreOverrideCursor();
        showDatabaseError(u"adoCompactRepairReplace97"_s, e);
        return false;
    }
    QApplication::restoreOverrideCursor();
    return done;
}
