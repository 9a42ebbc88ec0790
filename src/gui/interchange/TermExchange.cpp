#include "gui/interchange/TermExchange.h"

#include "core/AppError.h"
#include "core/interchange/TermExport.h"
#include "core/interchange/TermImport.h"
#include "core/session/Session.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/widgets/ProgressFeed.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString kTbx3 = u"TBX v3, TBX-Basic (*.tbx)"_s;
const QString kTbx2 = u"TBX v2, martif (*.tbx)"_s;
const QString kCsv = u"CSV, UTF-8 (*.csv)"_s;
// Long runs only: a few hundred records come and go before a window could be read.
constexpr qint64 kShowProgressFrom = 2000;

} // namespace

namespace TermExchange {

QString exportFilters() {
    return kTbx3 + u";;"_s + kTbx2 + u";;"_s + kCsv;
}

QString importFilters() {
    return u"Termes TBX ou CSV (*.tbx *.xml *.csv);;Tous les fichiers (*)"_s;
}

bool exportRecords(Session& session, QWidget* caller, const IdentifierList& ids) {
    QString filter;
    QString path = Dialogs::get().saveFileName(caller, u"Exporter des fiches"_s, QDir::homePath(),
                                               exportFilters(), &filter);
    if (path.isEmpty()) {
        return false;
    }
    const TermFormat format = filter == kCsv    ? TermFormat::Csv
                              : filter == kTbx2 ? TermFormat::Tbx2
                                                : TermFormat::Tbx3;
    const QString suffix = format == TermFormat::Csv ? u"csv"_s : u"tbx"_s;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += u"."_s + suffix;
        // The file dialog asked about the name as typed, not about this one.
        if (QFileInfo::exists(path) &&
            showMessage(u"Le fichier « "_s + QDir::toNativeSeparators(path) +
                            u" » existe déjà. Voulez-vous le remplacer ?"_s,
                        u"Exporter des fiches"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                        Dialogs::Answer::No) != Dialogs::Answer::Yes) {
            return false;
        }
    }
    try {
        qint64 written = 0;
        {
            ProgressFeed progress(caller, u"Exportation des fiches"_s, kShowProgressFrom);
            written = exportTerms(session.location(), ids, path, format, progress.callback());
        }
        showMessage(
            QString::number(written) +
                (written > 1 ? u" fiches exportées dans « "_s : u" fiche exportée dans « "_s) +
                QDir::toNativeSeparators(path) + u" »."_s,
            u"Exporter des fiches"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        return true;
    } catch (const AppError& e) {
        showDatabaseError(u"mnuExport_Click"_s, e);
        return false;
    }
}

bool importFile(Session& session, QWidget* caller) {
    if (!session.isManager()) {
        return false;
    }
    const QString path = Dialogs::get().openFileName(caller, u"Importer des termes"_s,
                                                     QDir::homePath(), importFilters());
    if (path.isEmpty()) {
        return false;
    }
    try {
        TermImportSummary summary;
        {
            ProgressFeed progress(caller, u"Importation des termes"_s, kShowProgressFrom);
            summary =
                importTerms(session.location(), path, session.userName(), progress.callback());
        }
        showMessage(termImportText(summary, QDir::toNativeSeparators(path), 20),
                    u"Importer des termes"_s, Dialogs::Buttons::Ok,
                    summary.fileError.isEmpty() ? Dialogs::Icon::Information
                                                : Dialogs::Icon::Exclamation);
        return summary.fileError.isEmpty();
    } catch (const AppError& e) {
        showDatabaseError(u"mnuImportTerms_Click"_s, e);
        return false;
    }
}

} // namespace TermExchange
