#include "basCompact.h"

#include "DatabaseFile.h"
#include "common/AppError.h"
#include "common/Dialogs.h"
#include "common/ErrorBox.h"

#include <QApplication>

using namespace Qt::StringLiterals;

bool adoCompactRepairReplace97(const QString& file, const QString& password) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool done = false;
    try {
        DatabaseFile::Compact(file, password);
        done = true;
    } catch (const AppError& e) {
        QApplication::restoreOverrideCursor();
        ShowDatabaseError(u"adoCompactRepairReplace97"_s, e);
        return false;
    }
    QApplication::restoreOverrideCursor();
    return done;
}
