#include "frmTrayIcon.h"

#include "AppIcon.h"
#include "Session.h"
#include "TrayFallbackWindow.h"
#include "accounts/frmAdministrator.h"
#include "basUserLevel.h"
#include "common/Dialogs.h"
#include "common/Notices.h"
#include "common/frmProgressBar.h"
#include "domains/frmDomain.h"
#include "frmLogin.h"
#include "lists/frmSearch.h"
#include "records/frmFile.h"
#include "reports/frmPrint.h"
#include "storage/basCompact.h"
#include "storage/frmConfiguration.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kManagerRefusal =
    u"Vous devez être Administrateur/Gestionnaire pour acceder à cette fonction."_s;

} // namespace

frmTrayIcon::frmTrayIcon(QWidget* parent)
    : QWidget(parent), mnuTrayIcon(new QMenu(this)), m_icon(new QSystemTrayIcon(this)),
      m_clickTimer(new QTimer(this)), m_exit([] { QCoreApplication::exit(0); }) {
    setObjectName(u"frmTrayIcon"_s);
    setWindowTitle(u"TrayIcon"_s);
    setWindowIcon(AppIcon::icon());
    mnuTrayIcon->setObjectName(u"mnuTrayIcon"_s);
    mnuTrayIcon->setTitle(u"TrayIcon"_s);

    addEntry(u"mnuAjouterFiche"_s, u"Ajouter une fiche"_s, &frmTrayIcon::mnuAjouterFiche_Click);
    addEntry(u"mnuTrayIconSearch"_s, u"Rechercher une fiche"_s,
             &frmTrayIcon::mnuTrayIconSearch_Click);
    addEntry(u"mnuImprimer"_s, u"Imprimer des fiches"_s, &frmTrayIcon::mnuImprimer_Click);
    addSeparator(u"mnuSeparator1"_s);
    addEntry(u"mnuGesionDomaines"_s, u"Gestion des domaines"_s,
             &frmTrayIcon::mnuGesionDomaines_Click);
    addEntry(u"mnuTrayIconAdministration"_s, u"Gestion des usagers"_s,
             &frmTrayIcon::mnuTrayIconAdministration_Click);
    addSeparator(u"mnuSeparator2"_s);
    addEntry(u"mnucompact"_s, u"Compacter la base de données"_s, &frmTrayIcon::mnucompact_Click);
    addEntry(u"mnuTrayIconConfig"_s, u"Configuration de la base de données"_s,
             &frmTrayIcon::mnuTrayIconConfig_Click);
    addSeparator(u"mnuSeparator3"_s);
    addEntry(u"mnuFermerSession"_s, u"Terminer la session"_s, &frmTrayIcon::mnuFermerSession_Click);
    addSeparator(u"mnusearator5"_s);
    addEntry(u"mnuTrayIconQuit"_s, u"Quitter"_s, &frmTrayIcon::mnuTrayIconQuit_Click);

    setOpener(Window::Search, [](frmTrayIcon&) { frmSearch::Open(); });
    setOpener(Window::File, [](frmTrayIcon&) { frmFile::Open()->InitializeForm(0); });
    setOpener(Window::Print, [](frmTrayIcon&) { frmPrint::Open(); });
    setOpener(Window::Domain, [](frmTrayIcon&) { frmDomain::Open(); });
    setOpener(Window::Administrator, [](frmTrayIcon&) { frmAdministrator::Open(); });
    m_finders[Window::Domain] = [] { return static_cast<QWidget*>(frmDomain::existing()); };
    m_finders[Window::Administrator] = [] {
        return static_cast<QWidget*>(frmAdministrator::existing());
    };
    m_finders[Window::File] = [] { return static_cast<QWidget*>(frmFile::existing()); };
    m_finders[Window::Search] = [] { return static_cast<QWidget*>(frmSearch::existing()); };
    m_finders[Window::Print] = [] { return static_cast<QWidget*>(frmPrint::existing()); };

    m_icon->setIcon(AppIcon::icon());
    m_icon->setToolTip(u"Lexivar 4.0"_s);
    m_icon->setContextMenu(mnuTrayIcon);
    connect(m_icon, &QSystemTrayIcon::activated, this, &frmTrayIcon::iconActivated);
    connect(&Notices::instance(), &Notices::told, this, &frmTrayIcon::showNotice);
    m_clickTimer->setSingleShot(true);
    connect(m_clickTimer, &QTimer::timeout, this, &frmTrayIcon::popUpMenu);
    m_icon->show();
}

frmTrayIcon::~frmTrayIcon() {
    m_icon->hide();
    delete m_fallback;
}

QAction* frmTrayIcon::addEntry(const QString& name, const QString& caption,
                               void (frmTrayIcon::*slot)()) {
    QAction* action = mnuTrayIcon->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void frmTrayIcon::addSeparator(const QString& name) {
    mnuTrayIcon->addSeparator()->setObjectName(name);
}

void frmTrayIcon::InitializeTrayIcon() {
    m_icon->show();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showFallback();
    }
}

void frmTrayIcon::showFallback() {
    if (!m_fallback) {
        m_fallback = new TrayFallbackWindow(*this);
    }
    m_fallback->show();
}

void frmTrayIcon::iconActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        // The icon reports the press of a double click's first click too: popping the menu up
        // at once would put the second click into the menu.
        if (!m_clickTimer->isActive()) {
            m_clickPosition = QCursor::pos();
            m_clickTimer->start(QApplication::doubleClickInterval());
        }
        break;
    case QSystemTrayIcon::DoubleClick:
        m_clickTimer->stop();
        mnuTrayIcon->hide();
        mnuTrayIconSearch_Click();
        break;
    default:
        break; // the context menu shows itself
    }
}

void frmTrayIcon::showNotice(const QString& text) {
    if (auto* fallback = qobject_cast<TrayFallbackWindow*>(m_fallback);
        fallback && fallback->isVisible()) {
        fallback->showStatus(text);
    } else {
        m_icon->showMessage(u"Lexivar 4.0"_s, text, QSystemTrayIcon::Information, 5000);
    }
}

void frmTrayIcon::popUpMenu() {
    activateWindow();
    mnuTrayIcon->popup(m_clickPosition);
}

void frmTrayIcon::setOpener(Window window, Opener opener) {
    m_openers[window] = std::move(opener);
}

QWidget* frmTrayIcon::window(Window w) const {
    if (w == Window::Configuration) {
        return m_configuration;
    }
    // Windows that other windows open too are found wherever they came from.
    const auto finder = m_finders.find(w);
    return finder == m_finders.end() ? nullptr : finder->second();
}

void frmTrayIcon::open(Window window) {
    m_openers.at(window)(*this);
}

void frmTrayIcon::openConfiguration(bool restricted) {
    if (!m_configuration) {
        m_configuration = new frmConfiguration;
        m_configuration->setAttribute(Qt::WA_DeleteOnClose);
        if (restricted) {
            m_configuration->ApplyRestrictedPreset();
        }
    }
    m_configuration->show();
    m_configuration->raise();
    m_configuration->activateWindow();
}

void frmTrayIcon::refuse(const QString& text) {
    MsgBox(text, u"Accès refusé!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

void frmTrayIcon::mnuAjouterFiche_Click() {
    if (frmLogin::EnsureSignedIn(this)) {
        open(Window::File);
    }
}

void frmTrayIcon::mnuTrayIconSearch_Click() {
    open(Window::Search);
}

void frmTrayIcon::mnuImprimer_Click() {
    if (frmLogin::EnsureSignedIn(this)) {
        open(Window::Print);
    }
}

void frmTrayIcon::mnuGesionDomaines_Click() {
    if (!frmLogin::EnsureSignedIn(this)) {
        return;
    }
    if (bUserLevelGestionnaire()) {
        open(Window::Domain);
    } else {
        refuse(kManagerRefusal);
    }
}

void frmTrayIcon::mnuTrayIconAdministration_Click() {
    if (!frmLogin::EnsureSignedIn(this)) {
        return;
    }
    if (bUserLevelAdmin()) {
        open(Window::Administrator);
    } else {
        refuse(u"Vous devez être administrateur pour acceder à cette fonction."_s);
    }
}

void frmTrayIcon::mnucompact_Click() {
    if (!frmLogin::EnsureSignedIn(this)) {
        return;
    }
    if (!bUserLevelGestionnaire()) {
        refuse(kManagerRefusal);
        return;
    }
    // The configured database, whatever its name.
    ReloadDatabasePassword();
    if (adoCompactRepairReplace97(gsDBPath, gsDBPassword)) {
        showNotice(u"La base de données a été compactée."_s);
    }
}

void frmTrayIcon::mnuTrayIconConfig_Click() {
    if (frmLogin::EnsureSignedIn(this)) {
        openConfiguration(!bUserLevelGestionnaire());
    }
}

void frmTrayIcon::closeWindows(std::initializer_list<Window> windows) {
    for (Window w : windows) {
        if (QWidget* open = window(w)) {
            open->close();
        }
    }
}

bool frmTrayIcon::anyWindowOpen() {
    return gbSearchOpen || gbFileOpen || gbAdministratorOpen || gbConfigurationOpen;
}

void frmTrayIcon::mnuFermerSession_Click() {
    if (frmProgressBar::instance().Loaded()) {
        return;
    }
    const auto answer =
        MsgBox(u"Terminer la session courante va fermer toutes les fenêtres de Lexivar en cours "
               u"d'utilisation. Êtes-vous certain de vouloir continuer? "_s,
               u"Fin de session"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
               Dialogs::Answer::Yes);
    if (answer != Dialogs::Answer::Yes) {
        return;
    }
    closeWindows({Window::File, Window::Search});
    if (!gbLoggedIn) {
        return;
    }
    closeWindows({Window::Administrator, Window::Print, Window::Configuration, Window::Domain});
    frmProgressBar::instance().Unload();
    if (anyWindowOpen()) {
        MsgBox(u"La session n'a pu être fermée, car une des fenêtres est encore ouverte."_s,
               u"Fermeture de session impossible."_s, Dialogs::Buttons::Ok,
               Dialogs::Icon::Critical);
        return;
    }
    EndSession();
}

void frmTrayIcon::mnuTrayIconQuit_Click() {
    if (frmProgressBar::instance().Loaded()) {
        return;
    }
    closeWindows({Window::File, Window::Search});
    if (gbLoggedIn) {
        closeWindows({Window::Administrator, Window::Print, Window::Configuration, Window::Domain});
        frmProgressBar::instance().Unload();
    }
    if (anyWindowOpen()) {
        MsgBox(u"Le logiciel n'a pu être fermé, car une des fenêtres est encore ouverte."_s,
               u"Fermeture du logiciel impossible."_s, Dialogs::Buttons::Ok,
               Dialogs::Icon::Critical);
        return;
    }
    m_icon->hide();
    if (m_fallback) {
        m_fallback->hide();
    }
    m_exit();
}
