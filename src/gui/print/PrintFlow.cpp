#include "gui/print/PrintFlow.h"

#include "core/AppError.h"
#include "core/files/KeyValueStore.h"
#include "core/files/RuntimeFolder.h"
#include "core/session/Session.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/print/BrowserLaunch.h"
#include "gui/print/PrintDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace PrintFlow {

QString spoolPath() {
    return RuntimeFolder::path() + u"spool.html"_s;
}

QString operaPath(OperaName naming) {
    const QString path =
        keyStoreValue(QString(), QString::fromLatin1(kOperaAppPathKey), Hive::HKEY_LOCAL_MACHINE);
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

void print(Session& session, QWidget& window, PrintDocument& document, const Request& request) {
    if (RuntimeFolder::path().isEmpty()) {
        // Never the current folder instead: it may be shared or the program's own.
        showErrorBox(u"spoolPath"_s,
                     AppError(ErrorNumber::PathNotFound,
                              u"Aucun dossier privé où écrire le rapport à imprimer : ni le "
                              u"dossier de la session ($XDG_RUNTIME_DIR) ni le dossier "
                              u"temporaire ne le permettent."_s));
        return;
    }
    const bool opera = request.opera && !operaPath(request.naming).isEmpty();
    const QString title = reportTitle(session.userName());
    const DatabaseLocation location = session.location();
    const QString spool = spoolPath();
    if (!opera) {
        if (!request.embedded(location, request.ids, spool, title)) {
            QFile::remove(spool); // a report that failed is never left behind
            return;
        }
        QCoreApplication::processEvents();
        try {
            document.navigate(spool);
        } catch (const AppError& e) {
            // The file went away or cannot be read: nothing to print, nothing to leave behind.
            showErrorBox(u"Navigate2"_s, e);
            QFile::remove(spool);
            return;
        }
        QCoreApplication::processEvents();
        return;
    }
    if (!request.opera(location, request.ids, spool, title)) {
        QFile::remove(spool);
        return;
    }
    QCoreApplication::processEvents();
    const QString parameter =
        request.parameter == OperaParameter::SpoolPath
            ? spool
            : QString(RuntimeFolder::path()).replace(u" "_s, u"%20"_s) + u"spool.html"_s;
    std::int32_t handle = static_cast<std::int32_t>(window.winId());
    if (!shellExecute(operaPath(request.naming), 10, parameter, QString(), 1, handle)) {
        QFile::remove(spool); // the browser never received it
    }
    QCoreApplication::processEvents();
}

void printWhenLoaded(PrintDocument& document, const QString& address, const QString& procedure) {
    if (address == QString::fromLatin1(PrintDocument::kEmptyAddress)) {
        return;
    }
    QCoreApplication::processEvents();
    document.print();
    QCoreApplication::processEvents();
    const QString file = address.startsWith(u"file:"_s) ? QUrl(address).toLocalFile() : address;
    if (QFile::exists(file) && !QFile::remove(file)) {
        showErrorBox(procedure, ErrorNumber::PathFileAccess,
                     u"Impossible de supprimer le fichier « "_s + file + u" »."_s,
                     ErrorWording::Second);
    }
    QCoreApplication::processEvents();
}

void printOnLoad(PrintDocument& document, const QString& procedure) {
    QObject::connect(&document, &PrintDocument::loaded, &document,
                     [&document, procedure](const QString& address) {
                         printWhenLoaded(document, address, procedure);
                     });
}

} // namespace PrintFlow
