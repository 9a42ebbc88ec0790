#include "gui/interchange/TermExchange.h"

#include "core/AppError.h"
#include "core/interchange/TermExport.h"
#include "core/interchange/TermImport.h"
#include "core/session/Session.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/widgets/ProgressWindow.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString kTbx3 = u"TBX v3, TBX-Basic (*.tbx)"_s;
const QString kTbx2 = u"TBX v2, martif (*.tbx)"_s;
const QString kCsv = u"CSV, UTF-8 (*.csv)"_s;
// Long runs only: a few hundred records come and go before a window could be read.
constexpr qint64 kShowProgressFrom = 2000;

// Shows the progress window once a run proves long, and takes it down at the end.
class Progress {
public:
    Progress(QWidget* caller, QString title) : m_caller(caller), m_title(std::move(title)) {}
    ~Progress() {
        if (m_shown) {
            ProgressWindow::instance().unload();
        }
    }
    ImportProgress callback() {
        return [this](qint64 done, qint64 total) {
            if (!m_shown && total >= kShowProgressFrom) {
                ProgressWindow::instance().start(0, static_cast<std::int32_t>(total), m_title,
                                                 m_caller);
                m_shown = true;
            }
            if (m_shown) {
                ProgressWindow::instance().setValue(static_cast<std::int32_t>(done));
            }
        };
    }

private:
    QWidget* m_caller;
    QString m_title;
    bool m_shown = false;
};

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
    }
    try {
        Progress progress(caller, u"Exportation des fiches"_s);
        const qint64 written =
            exportTerms(session.location(), ids, path, format,
                        static_cast<qint64>(ids.size()) >= kShowProgressFrom ? progress.callback()
                                                                             : ImportProgress());
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
        Progress progress(caller, u"Importation des termes"_s);
        const TermImportSummary summary =
            importTerms(session.location(), path, session.userName(), progress.callback());
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
