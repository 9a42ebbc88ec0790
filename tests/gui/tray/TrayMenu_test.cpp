#include "core/session/Session.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/configuration/ConfigurationWindow.h"
#include "gui/tray/TrayMenu.h"
#include "gui/widgets/ProgressWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TrayMenuTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        tray = std::make_unique<TrayMenu>(session);
        tray->setExit([this] { ++exits; });
        for (auto w : {TrayMenu::Window::Domain, TrayMenu::Window::Administrator,
                       TrayMenu::Window::Search}) {
            tray->setOpener(w, [this, w](TrayMenu&) {
                opened.push_back(w);
                return nullptr;
            });
        }
    }
    void TearDown() override {
        tray.reset();
        SessionTest::TearDown();
    }
    // The sign-in window, answered with a user name and password.
    void answerSignIn(const QString& login, const QString& password) {
        dialogs->modalHandlers.push_back([login, password](QDialog& d) {
            d.findChild<QLineEdit*>(u"txtLogin"_s)->setText(login);
            d.findChild<QLineEdit*>(u"txtPassword"_s)->setText(password);
            d.findChild<QPushButton*>(u"cmdOk"_s)->click();
            return d.result();
        });
    }

    std::unique_ptr<TrayMenu> tray;
    std::vector<TrayMenu::Window> opened;
    int exits = 0;
};

TEST_F(TrayMenuTest, MenuHasItsEntriesInOrder) {
    QStringList entries;
    for (QAction* a : tray->menu()->actions()) {
        entries << (a->isSeparator() ? u"-"_s : a->text());
    }
    EXPECT_EQ(entries, (QStringList{u"Ajouter une fiche"_s, u"Rechercher une fiche"_s,
                                    u"Imprimer des fiches"_s, u"-"_s, u"Gestion des domaines"_s,
                                    u"Gestion des usagers"_s, u"Importer des termes…"_s, u"-"_s,
                                    u"Compacter la base de données"_s,
                                    u"Configuration de la base de données"_s, u"-"_s,
                                    u"Terminer la session"_s, u"-"_s, u"Quitter"_s}));
}

TEST_F(TrayMenuTest, EntriesAskForSignInThenApplyTheLevel) {
    // Not signed in: the sign-in comes first; a manager is then refused the accounts.
    answerSignIn(u"jfcote"_s, u"gestion"_s);
    tray->openAccounts();
    EXPECT_EQ(dialogs->modalShown, QStringList{u"frmLogin"_s});
    EXPECT_TRUE(session.isSignedIn());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Vous devez être administrateur pour acceder à cette fonction."_s);
    EXPECT_EQ(dialogs->messages[0].title, u"Accès refusé!"_s);
    tray->openDomains();
    EXPECT_EQ(opened, std::vector{TrayMenu::Window::Domain});

    // An owner is refused domains and compaction alike; searching needs nobody.
    signInAs(u"Élise Gagnon"_s, 2);
    tray->openDomains();
    tray->compact();
    ASSERT_EQ(dialogs->messages.size(), 3u);
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(dialogs->messages[i].text, u"Vous devez être Administrateur/Gestionnaire pour "
                                             "acceder à cette fonction."_s);
    }
    session.signOut();
    tray->iconActivated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(opened.back(), TrayMenu::Window::Search);
    EXPECT_EQ(dialogs->modalShown.size(), 1u);
}

TEST_F(TrayMenuTest, CancelledSignInDoesNothing) {
    tray->configure(); // the scripted sign-in is cancelled
    EXPECT_FALSE(session.isSignedIn());
    EXPECT_EQ(tray->window(TrayMenu::Window::Configuration), nullptr);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(TrayMenuTest, NonManagersSeeARestrictedConfiguration) {
    signInAs(u"Élise Gagnon"_s, 2);
    tray->configure();
    QWidget* config = tray->window(TrayMenu::Window::Configuration);
    ASSERT_NE(config, nullptr);
    for (const QString& name : {u"txtCurrentDBPassword"_s, u"fraDBPass"_s, u"cmdSaveDB"_s}) {
        EXPECT_FALSE(config->findChild<QWidget*>(name)->isEnabled()) << name;
    }
    // Neither can the path be typed, chosen or saved.
    auto* path = config->findChild<QLineEdit*>(u"txtDBPath"_s);
    const QString shown = path->text();
    QTest::keyClicks(path, u"/ailleurs.mdb"_s);
    config->findChild<QRadioButton*>(u"optConfig"_s)->click();
    EXPECT_EQ(path->text(), shown);
    EXPECT_FALSE(config->findChild<QWidget*>(u"cmdBrowseDB"_s)->isEnabled());
    EXPECT_FALSE(config->findChild<QWidget*>(u"cmdSaveDB"_s)->isEnabled());
    tray->configure(); // the same window again
    EXPECT_EQ(tray->window(TrayMenu::Window::Configuration), config);
    config->close();
}

TEST_F(TrayMenuTest, SessionEndIsRefusedWhileAWindowKeepsChanges) {
    signInAs(u"Administrateur"_s, 0);
    tray->configure();
    QWidget* config = tray->window(TrayMenu::Window::Configuration);
    config->findChild<QLineEdit*>(u"txtDbPassword"_s)->setText(u"x"_s);
    // Yes to ending the session, No to leaving the unsaved change.
    dialogs->answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    tray->signOut();
    ASSERT_EQ(dialogs->messages.size(), 3u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Terminer la session courante va fermer toutes les fenêtres de Lexivar en cours "
              "d'utilisation. Êtes-vous certain de vouloir continuer? "_s);
    EXPECT_EQ(dialogs->messages[2].text,
              u"La session n'a pu être fermée, car une des fenêtres est encore ouverte."_s);
    EXPECT_TRUE(session.isSignedIn());

    dialogs->answers = {Dialogs::Answer::Yes};
    tray->quit(); // Yes to leaving the change: the program ends
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(tray->window(TrayMenu::Window::Configuration), nullptr);
}

TEST_F(TrayMenuTest, SessionEndsAndQuitWaitsForTheProgressWindow) {
    signInAs(u"Administrateur"_s, 0);
    dialogs->answers = {Dialogs::Answer::No};
    tray->signOut();
    EXPECT_TRUE(session.isSignedIn());
    tray->signOut(); // answered Yes by default
    EXPECT_FALSE(session.isSignedIn());
    EXPECT_EQ(session.level(), 50);
    EXPECT_EQ(session.paddedUserName(), QString(25, u' '));

    QWidget caller;
    ProgressWindow::instance().start(1, 10, u""_s, &caller);
    const size_t before = dialogs->messages.size();
    tray->quit();
    tray->signOut();
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(dialogs->messages.size(), before);
    ProgressWindow::instance().unload();
    tray->quit();
    EXPECT_EQ(exits, 1);
}

TEST_F(TrayMenuTest, AClickWaitsForASecondOneBeforeThePopUpMenu) {
    const int interval = QApplication::doubleClickInterval();
    // A double click is reported as a click, then a double click: no menu, the search window.
    tray->iconActivated(QSystemTrayIcon::Trigger);
    tray->iconActivated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(opened, std::vector{TrayMenu::Window::Search});
    EXPECT_FALSE(QTest::qWaitFor([&] { return tray->menu()->isVisible(); }, interval + 300));

    // A single click pops the menu up once the interval has passed.
    tray->iconActivated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(tray->menu()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return tray->menu()->isVisible(); }, interval + 2000));
    tray->menu()->hide();
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(TrayMenuTest, QuietWorkEndsWithAShortConfirmation) {
    tray->showIcon(); // no notification area here: the fallback window stands in
    ASSERT_NE(tray->fallbackWindow(), nullptr);
    auto* status = tray->fallbackWindow()->findChild<QLabel*>(u"lblStatus"_s);
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->isVisible());

    signInAs(u"Jean-François Côté"_s, 1);
    tray->compact();
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(), u"La base de données a été compactée."_s);

    ConfigurationWindow config(session);
    config.findChild<QLineEdit*>(u"txtDBPath"_s)->setText(dbPath);
    config.saveDatabaseChoice();
    EXPECT_EQ(status->text(), u"Le chemin de la base de données a été enregistré."_s);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(TrayMenuTest, ManagersImportTermsAndSeeTheReport) {
    const QString tbx =
        QDir(QStringLiteral(LEXIVAR_LEGACY_FIXTURES)).filePath(u"several-terms-v3.tbx"_s);
    signInAs(u"Élise Gagnon"_s, 2);
    dialogs->fileNames = {tbx};
    tray->menu()->findChild<QAction*>(u"mnuImportTerms"_s)->trigger();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, u"Accès refusé!"_s);
    EXPECT_EQ(dialogs->fileNames.size(), 1u); // no file was asked for
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 0);

    signInAs(u"Jean-François Côté"_s, 1);
    tray->importTerms();
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[1].title, u"Importer des termes"_s);
    EXPECT_TRUE(dialogs->messages[1].text.startsWith(
        u"Importation de « several-terms-v3.tbx »\n3 entrées lues\n1 fiche ajoutée\n"_s))
        << dialogs->messages[1].text;
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE CreatedBy = 'Jean-François Côté'"_s), 1);

    tray->importTerms(); // cancelled: nothing shown
    EXPECT_EQ(dialogs->messages.size(), 2u);
}
