#include "gui/tray/TrayMenu.h"

#include "core/session/Session.h"
#include "gui/accounts/AccountWindow.h"
#include "gui/configuration/Compaction.h"
#include "gui/configuration/ConfigurationWindow.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/domains/DomainWindow.h"
#include "gui/interchange/TermExchange.h"
#include "gui/print/PrintSelectionWindow.h"
#include "gui/records/RecordEditor.h"
#include "gui/search/SearchWindow.h"
#include "gui/startup/SignInDialog.h"
#include "gui/tray/TrayFallbackWindow.h"
#include "gui/widgets/AppIcon.h"
#include "gui/widgets/Notices.h"
#include "gui/widgets/ProgressWindow.h"
#include "gui/widgets/SingleWindow.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kManagerRefusal =
    u"Vous devez être Administrateur/Gestionnaire pour acceder à cette fonction."_s;

} // namespace

TrayMenu::TrayMenu(Session& session, QWidget* parent)
    : QWidget(parent), mnuTrayIcon(new QMenu(this)), m_icon(new QSystemTrayIcon(this)),
      m_clickTimer(new QTimer(this)), m_exit([] { QCoreApplication::exit(0); }),
      m_session(session) {
    setObjectName(u"frmTrayIcon"_s);
    setWindowTitle(u"TrayIcon"_s);
    setWindowIcon(AppIcon::icon());
    mnuTrayIcon->setObjectName(u"mnuTrayIcon"_s);
    mnuTrayIcon->setTitle(u"TrayIcon"_s);

    addEntry(u"mnuAjouterFiche"_s, u"Ajouter une fiche"_s, &TrayMenu::addRecord);
    addEntry(u"mnuTrayIconSearch"_s, u"Rechercher une fiche"_s, &TrayMenu::openSearch);
    addEntry(u"mnuImprimer"_s, u"Imprimer des fiches"_s, &TrayMenu::openPrintSelection);
    addSeparator(u"mnuSeparator1"_s);
    addEntry(u"mnuGesionDomaines"_s, u"Gestion des domaines"_s, &TrayMenu::openDomains);
    addEntry(u"mnuTrayIconAdministration"_s, u"Gestion des usagers"_s, &TrayMenu::openAccounts);
    addEntry(u"mnuImportTerms"_s, u"Importer des termes…"_s, &TrayMenu::importTerms);
    addSeparator(u"mnuSeparator2"_s);
    addEntry(u"mnucompact"_s, u"Compacter la base de données"_s, &TrayMenu::compact);
    addEntry(u"mnuTrayIconConfig"_s, u"Configuration de la base de données"_s,
             &TrayMenu::configure);
    addSeparator(u"mnuSeparator3"_s);
    addEntry(u"mnuFermerSession"_s, u"Terminer la session"_s, &TrayMenu::signOut);
    addSeparator(u"mnusearator5"_s);
    addEntry(u"mnuTrayIconQuit"_s, u"Quitter"_s, &TrayMenu::quit);

    setOpener(Window::Search, [](TrayMenu& t) { SearchWindow::open(t.m_session); });
    setOpener(Window::File, [](TrayMenu& t) { RecordEditor::open(t.m_session)->showRecord(0); });
    setOpener(Window::Print, [](TrayMenu& t) { PrintSelectionWindow::open(t.m_session); });
    setOpener(Window::Domain, [](TrayMenu& t) { DomainWindow::open(t.m_session); });
    setOpener(Window::Administrator, [](TrayMenu& t) { AccountWindow::open(t.m_session); });
    m_finders[Window::Domain] = [] { return static_cast<QWidget*>(DomainWindow::existing()); };
    m_finders[Window::Administrator] = [] {
        return static_cast<QWidget*>(AccountWindow::existing());
    };
    m_finders[Window::File] = [] { return static_cast<QWidget*>(RecordEditor::existing()); };
    m_finders[Window::Search] = [] { return static_cast<QWidget*>(SearchWindow::existing()); };
    m_finders[Window::Print] = [] {
        return static_cast<QWidget*>(PrintSelectionWindow::existing());
    };
    m_finders[Window::Configuration] = [] {
        return static_cast<QWidget*>(SingleWindow<ConfigurationWindow>::existing());
    };

    m_icon->setIcon(AppIcon::icon());
    m_icon->setToolTip(u"Lexivar 4.0"_s);
    m_icon->setContextMenu(mnuTrayIcon);
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayMenu::iconActivated);
    connect(&Notices::instance(), &Notices::told, this, &TrayMenu::showNotice);
    m_clickTimer->setSingleShot(true);
    connect(m_clickTimer, &QTimer::timeout, this, &TrayMenu::popUpMenu);
    m_icon->show();
}

TrayMenu::~TrayMenu() {
    m_icon->hide();
    delete m_fallback;
}

QAction* TrayMenu::addEntry(const QString& name, const QString& caption, void (TrayMenu::*slot)()) {
    QAction* action = mnuTrayIcon->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TrayMenu::addSeparator(const QString& name) {
    mnuTrayIcon->addSeparator()->setObjectName(name);
}

void TrayMenu::showIcon() {
    m_icon->show();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showFallback();
    }
}

void TrayMenu::showFallback() {
    if (!m_fallback) {
        m_fallback = new TrayFallbackWindow(*this);
    }
    m_fallback->show();
}

void TrayMenu::iconActivated(QSystemTrayIcon::ActivationReason reason) {
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
        openSearch();
        break;
    default:
        break; // the context menu shows itself
    }
}

void TrayMenu::showNotice(const QString& text) {
    if (auto* fallback = qobject_cast<TrayFallbackWindow*>(m_fallback);
        fallback && fallback->isVisible()) {
        fallback->showStatus(text);
    } else {
        m_icon->showMessage(u"Lexivar 4.0"_s, text, QSystemTrayIcon::Information, 5000);
    }
}

void TrayMenu::popUpMenu() {
    activateWindow();
    mnuTrayIcon->popup(m_clickPosition);
}

void TrayMenu::setOpener(Window window, Opener opener) {
    m_openers[window] = std::move(opener);
}

QWidget* TrayMenu::window(Window w) const {
    // Windows that other windows open too are found wherever they came from.
    const auto finder = m_finders.find(w);
    return finder == m_finders.end() ? nullptr : finder->second();
}

void TrayMenu::open(Window window) {
    m_openers.at(window)(*this);
}

void TrayMenu::openConfiguration(bool restricted) {
    // The preset holds for the window's whole life: an open window comes back as it is.
    SingleWindow<ConfigurationWindow>::open(m_session, [restricted](ConfigurationWindow& window) {
        if (restricted) {
            window.applyRestrictedPreset();
        }
    });
}

void TrayMenu::refuse(const QString& text) {
    showMessage(text, u"Accès refusé!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

void TrayMenu::addRecord() {
    if (SignInDialog::ensureSignedIn(m_session, this)) {
        open(Window::File);
    }
}

void TrayMenu::openSearch() {
    open(Window::Search);
}

void TrayMenu::openPrintSelection() {
    if (SignInDialog::ensureSignedIn(m_session, this)) {
        open(Window::Print);
    }
}

void TrayMenu::openDomains() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    if (m_session.isManager()) {
        open(Window::Domain);
    } else {
        refuse(kManagerRefusal);
    }
}

void TrayMenu::openAccounts() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    if (m_session.isAdministrator()) {
        open(Window::Administrator);
    } else {
        refuse(u"Vous devez être administrateur pour acceder à cette fonction."_s);
    }
}

void TrayMenu::importTerms() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    if (m_session.isManager()) {
        TermExchange::importFile(m_session, this);
    } else {
        refuse(kManagerRefusal);
    }
}

void TrayMenu::compact() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    if (!m_session.isManager()) {
        refuse(kManagerRefusal);
        return;
    }
    // The configured database, whatever its name.
    const DatabaseLocation location = m_session.location();
    if (compactDatabase(location.path, location.password)) {
        showNotice(u"La base de données a été compactée."_s);
    }
}

void TrayMenu::configure() {
    if (SignInDialog::ensureSignedIn(m_session, this)) {
        openConfiguration(!m_session.isManager());
    }
}

void TrayMenu::closeWindows(std::initializer_list<Window> windows) {
    for (Window w : windows) {
        if (QWidget* open = window(w)) {
            open->close();
        }
    }
}

bool TrayMenu::anyWindowOpen() const {
    for (Window w : {Window::File, Window::Search, Window::Print, Window::Administrator,
                     Window::Configuration}) {
        if (window(w)) {
            return true;
        }
    }
    return false;
}

void TrayMenu::signOut() {
    if (ProgressWindow::instance().isLoaded()) {
        return;
    }
    const auto answer = showMessage(
        u"Terminer la session courante va fermer toutes les fenêtres de Lexivar en cours "
        u"d'utilisation. Êtes-vous certain de vouloir continuer? "_s,
        u"Fin de session"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
        Dialogs::Answer::Yes);
    if (answer != Dialogs::Answer::Yes) {
        return;
    }
    closeWindows({Window::File, Window::Search});
    if (!m_session.isSignedIn()) {
        return;
    }
    closeWindows({Window::Administrator, Window::Print, Window::Configuration, Window::Domain});
    ProgressWindow::instance().unload();
    if (anyWindowOpen()) {
        showMessage(u"La session n'a pu être fermée, car une des fenêtres est encore ouverte."_s,
                    u"Fermeture de session impossible."_s, Dialogs::Buttons::Ok,
                    Dialogs::Icon::Critical);
        return;
    }
    m_session.signOut();
}

void TrayMenu::quit() {
    if (ProgressWindow::instance().isLoaded()) {
        return;
    }
    closeWindows({Window::File, Window::Search});
    if (m_session.isSignedIn()) {
        closeWindows({Window::Administrator, Window::Print, Window::Configuration, Window::Domain});
        ProgressWindow::instance().unload();
    }
    if (anyWindowOpen()) {
        showMessage(u"Le logiciel n'a pu être fermé, car une des fenêtres est encore ouverte."_s,
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
