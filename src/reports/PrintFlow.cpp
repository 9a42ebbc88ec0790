#include "PrintFlow.h"

#include "PrintDocument.h"
#include "app/Session.h"
#include "basShellExecute.h"
#include "common/AppError.h"
#include "common/ErrorBox.h"
#include "storage/basRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace PrintFlow {

QString SpoolPath() {
    return gsAppPath + u"spool.html"_s;
}

QString sOperaPath(OperaName naming) {
    const QString path =
        sGetRegValue(QString(), QString::fromLatin1(kOperaAppPathKey), Hive::HKEY_LOCAL_MACHINE);
    if (path.isEmpty()) {
        return {};
    }
    const QFileInfo file(path);
    const Qt::CaseSensitivity cs =
        naming == OperaName::ExactCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (!file.isFile() || file.fileName().compare(u"Opera.exe"_s, cs) != 0) {
        return {};
    }
    return path;
}

void Print(QWidget& window, PrintDocument& document, const Request& request) {
    const bool opera = request.opera && !sOperaPath(request.naming).isEmpty();
    const QString title = sReportTitle();
    const QString spool = SpoolPath();
    if (!opera) {
        if (!request.embedded(request.ids, spool, title)) {
            QFile::remove(spool); // a report that failed is never left behind
            return;
        }
        QCoreApplication::processEvents();
        try {
            document.Navigate(spool);
        } catch (const AppError& e) {
            // The file went away or cannot be read: nothing to print, nothing to leave behind.
            ShowErrorBox(u"Navigate2"_s, e);
            QFile::remove(spool);
            return;
        }
        QCoreApplication::processEvents();
        return;
    }
    if (!request.opera(request.ids, spool, title)) {
        QFile::remove(spool);
        return;
    }
    QCoreApplication::processEvents();
    const QString parameter = request.parameter == OperaParameter::SpoolPath
                                  ? spool
                                  : QString(gsAppPath).replace(u" "_s, u"%20"_s) + u"spool.html"_s;
    std::int32_t handle = static_cast<std::int32_t>(window.winId());
    if (!bShellExecute(sOperaPath(request.naming), 10, parameter, QString(), 1, handle)) {
        QFile::remove(spool); // the browser never received it
    }
    QCoreApplication::processEvents();
}

void OnNavigateComplete(PrintDocument& document, const QString& address, const QString& procedure) {
    if (address == QString::fromLatin1(PrintDocument::kEmptyAddress)) {
        return;
    }
    QCoreApplication::processEvents();
    document.ExecWBPrint();
    QCoreApplication::processEvents();
    const QString file = address.startsWith(u"file:"_s) ? QUrl(address).toLocalFile() : address;
    if (QFile::exists(file) && !QFile::remove(file)) {
        ShowErrorBox(procedure, ErrorNumber::PathFileAccess,
                     u"Impossible de supprimer le fichier « "_s + file + u" »."_s,
                     ErrorWording::Second);
    }
    QCoreApplication::processEvents();
}

} // namespace PrintFlow
