#include "gui/configuration/ConfigurationWindow.h"

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/PasswordChange.h"
#include "core/db/Recordset.h"
#include "core/files/DatabaseAddress.h"
#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"
#include "core/interchange/JetFileReader.h"
#include "core/interchange/LegacyImport.h"
#include "core/session/Session.h"
#include "core/text/LineBreak.h"
#include "core/text/Validation.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/dialogs/WindowMessages.h"
#include "gui/widgets/Named.h"
#include "gui/widgets/Notices.h"
#include "gui/widgets/ProgressFeed.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

void showInvalidPath() {
    showMessage(u"Chemin de fichier invalide. Si vous quittez la fenêtre de configuration sans "
                u"avoir choisi une base de données, le programme va s'arrêter."_s,
                u"Erreur"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

const QString kPasswordChanged = u"Le mot de passe de la base de données a été changé."_s;

QLineEdit* passwordBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    return box;
}

} // namespace

ConfigurationWindow::ConfigurationWindow(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session) {
    setObjectName(u"frmConfiguration"_s);
    setWindowTitle(u"Configuration de la base de données"_s);
    auto* upper = named(new QGroupBox(u"Base de données à utiliser"_s, this), u"Frame1"_s);
    fraDBPass =
        named(new QGroupBox(u"Changer le mot de passe de la base de données en cours:"_s, this),
              u"fraDBPass"_s);
    buildUpperFrame(upper);
    buildLowerFrame(fraDBPass);
    cmdClose = named(new QPushButton(u"Quitter"_s, this), u"cmdClose"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(upper);
    layout->addWidget(fraDBPass);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdClose);
    layout->addLayout(bottom);
    setMinimumWidth(560);

    connect(txtDBPath, &QLineEdit::textChanged, this,
            [this] { cmdSaveDB->setEnabled(!m_restricted); });
    connect(txtCurrentDBPassword, &QLineEdit::textChanged, this,
            [this] { cmdSaveDB->setEnabled(!m_restricted); });
    for (QLineEdit* box : {txtDBOldPassword, txtDbPassword, txtDbPasswordConfirm}) {
        connect(box, &QLineEdit::textChanged, this, [this] { cmdSavePass->setEnabled(true); });
    }
    connect(optConfig, &QRadioButton::clicked, this, &ConfigurationWindow::configChosen);
    connect(optNewPass, &QRadioButton::clicked, this, &ConfigurationWindow::newPasswordChosen);
    connect(optPass, &QRadioButton::clicked, this, &ConfigurationWindow::passwordChosen);
    connect(optNoPass, &QRadioButton::clicked, this, &ConfigurationWindow::noPasswordChosen);
    connect(cmdSaveDB, &QPushButton::clicked, this, &ConfigurationWindow::saveDatabaseChoice);
    connect(cmdSavePass, &QPushButton::clicked, this, &ConfigurationWindow::savePassword);
    connect(cmdBrowseDB, &QPushButton::clicked, this, &ConfigurationWindow::browseForDatabase);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    txtDBPath->installEventFilter(this);

    load();
}

void ConfigurationWindow::buildUpperFrame(QGroupBox* frame) {
    txtDBPath = named(new QLineEdit(frame), u"txtDBPath"_s);
    cmdBrowseDB = named(new QPushButton(u"Parcourir"_s, frame), u"cmdBrowseDB"_s);
    optConfig = named(new QRadioButton(u"Le mot de passe de la BD est déjà configuré"_s, frame),
                      u"optConfig"_s);
    optNewPass = named(new QRadioButton(u"Entrer le mot de passe de la BD (Demandez à votre "
                                        u"administrateur)"_s,
                                        frame),
                       u"optNewPass"_s);
    txtCurrentDBPassword = passwordBox(frame, u"txtCurrentDBPassword"_s);
    cmdSaveDB = named(new QPushButton(u"Sauvegarder"_s, frame), u"cmdSaveDB"_s);
    optConfig->setChecked(true);
    txtCurrentDBPassword->setEnabled(false);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(named(new QLabel(u"Chemin:"_s, frame), u"Label2"_s), 0, 0);
    grid->addWidget(txtDBPath, 0, 1);
    grid->addWidget(cmdBrowseDB, 0, 2);
    grid->addWidget(optConfig, 1, 0, 1, 3);
    grid->addWidget(optNewPass, 2, 0, 1, 3);
    grid->addWidget(txtCurrentDBPassword, 3, 1);
    grid->addWidget(cmdSaveDB, 3, 2);
}

void ConfigurationWindow::buildLowerFrame(QGroupBox* frame) {
    optPass = named(new QRadioButton(u"Mot de passe:"_s, frame), u"optPass"_s);
    optNoPass = named(new QRadioButton(u"Désactiver le mot de passe"_s, frame), u"optNoPass"_s);
    lblOldPass = named(new QLabel(u"Ancien mot de passe"_s, frame), u"lblOldPass"_s);
    lblNewPass = named(new QLabel(u"Nouveau mot de passe"_s, frame), u"lblNewPass"_s);
    lblConfirm = named(new QLabel(u"Confirmer le mot de passe"_s, frame), u"lblConfirm"_s);
    txtDBOldPassword = passwordBox(frame, u"txtDBOldPassword"_s);
    txtDbPassword = passwordBox(frame, u"txtDbPassword"_s);
    txtDbPasswordConfirm = passwordBox(frame, u"txtDbPasswordConfirm"_s);
    cmdSavePass = named(new QPushButton(u"Sauvegarder"_s, frame), u"cmdSavePass"_s);
    optPass->setChecked(true);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(optPass, 0, 0);
    grid->addWidget(optNoPass, 0, 1, 1, 2);
    grid->addWidget(lblOldPass, 1, 0);
    grid->addWidget(txtDBOldPassword, 1, 1);
    grid->addWidget(lblNewPass, 2, 0);
    grid->addWidget(txtDbPassword, 2, 1);
    grid->addWidget(lblConfirm, 3, 0);
    grid->addWidget(txtDbPasswordConfirm, 3, 1);
    grid->addWidget(cmdSavePass, 3, 2);
}

void ConfigurationWindow::load() {
    if (m_session.databasePath().isEmpty()) {
        findDatabase();
        m_noPath = txtDBPath->text().isEmpty();
        m_session.setDatabasePath(txtDBPath->text());
    } else {
        txtDBPath->setText(m_session.databasePath());
    }
    QString password;
    readPasswordFile(passwordFileOf(m_session.databasePath()), password);
    if (password.isEmpty()) {
        select(optNoPass);
    }
    cmdSaveDB->setEnabled(false);
    // An untouched window has nothing to save, whichever option loading selected.
    cmdSavePass->setEnabled(false);
}

QString ConfigurationWindow::askForDatabase() {
    // An installed program's folder holds no database: the user's own folder is the better start.
    const QString start = ProgramFolder::holdsSettings() ? ProgramFolder::path() : QDir::homePath();
    return Dialogs::get()
        .openFileName(this, u"Ouvrir"_s, start,
                      u"Microsoft Access 2000 Database (*.mdb);;All files (*)"_s)
        .trimmed();
}

void ConfigurationWindow::findDatabase() {
    const QString standard = ProgramFolder::path() + u"Lexivar4.mdb"_s;
    if (QFileInfo(standard).isFile()) {
        // Installed beside the older version, whose base has the same name.
        if (const auto shown = convertIfOld(standard, u"FindDatabase"_s)) {
            txtDBPath->setText(*shown);
        }
        return;
    }
    const QString chosen = askForDatabase();
    if (chosen.isEmpty() || !QFileInfo(chosen).isFile()) {
        showInvalidPath();
        return;
    }
    if (const auto shown = convertIfOld(chosen, u"FindDatabase"_s)) {
        txtDBPath->setText(*shown);
    }
}

void ConfigurationWindow::browseForDatabase() {
    const QString chosen = askForDatabase();
    if (chosen.isEmpty()) {
        return;
    }
    if (!QFileInfo(chosen).isFile()) {
        showInvalidPath();
        return;
    }
    if (const auto shown = convertIfOld(chosen, u"cmdBrowseDB_Click"_s)) {
        txtDBPath->setText(*shown);
    }
}

std::optional<QString> ConfigurationWindow::convertIfOld(const QString& chosen,
                                                         const QString& procedure) {
    if (!JetFileReader::isJetFile(chosen)) {
        return chosen;
    }
    const QString title = u"Conversion de la base de données"_s;
    if (showMessage(u"Ce fichier est une base de l'ancienne version. Voulez-vous la convertir ?"_s,
                    title, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                    Dialogs::Answer::Yes) != Dialogs::Answer::Yes) {
        return std::nullopt;
    }
    // The old file is only read; the new base goes beside it under a name nothing else has.
    const QString target = convertedDatabasePath(chosen);
    try {
        const QString password = legacyDatabasePassword(chosen).value_or(QString());
        std::unique_ptr<LegacyTableReader> reader;
        if (m_openLegacy) {
            reader = m_openLegacy(chosen);
        } else {
            reader = std::make_unique<JetFileReader>(chosen);
        }
        LegacyImportSummary summary;
        {
            ProgressFeed progress(this, u"Conversion de la base de données"_s);
            summary = importLegacyDatabase(*reader, target, password, progress.callback());
        }
        showMessage(summaryText(summary, target, 30), title, Dialogs::Buttons::Ok,
                    summary.skipped.isEmpty() ? Dialogs::Icon::Information
                                              : Dialogs::Icon::Exclamation);
        // Where the password is asked for (at start-up), the new base's is the old one's.
        if (txtCurrentDBPassword->isEnabled()) {
            txtCurrentDBPassword->setText(password);
        }
        return target;
    } catch (const AppError& e) {
        showErrorBox(procedure, e);
        return std::nullopt;
    }
}

void ConfigurationWindow::select(QRadioButton* option) {
    option->setChecked(true);
    if (option == optConfig) {
        configChosen();
    } else if (option == optNewPass) {
        newPasswordChosen();
    } else if (option == optPass) {
        passwordChosen();
    } else {
        noPasswordChosen();
    }
}

void ConfigurationWindow::configChosen() {
    cmdSaveDB->setEnabled(!m_restricted);
    txtCurrentDBPassword->setEnabled(false);
}

void ConfigurationWindow::newPasswordChosen() {
    cmdSaveDB->setEnabled(!m_restricted);
    txtCurrentDBPassword->setEnabled(true);
}

void ConfigurationWindow::passwordChosen() {
    for (QWidget* w :
         {static_cast<QWidget*>(txtDbPassword), static_cast<QWidget*>(txtDBOldPassword),
          static_cast<QWidget*>(txtDbPasswordConfirm), static_cast<QWidget*>(cmdSavePass)}) {
        w->setEnabled(true);
    }
}

void ConfigurationWindow::noPasswordChosen() {
    for (QLineEdit* box : {txtDbPassword, txtDBOldPassword, txtDbPasswordConfirm}) {
        box->setEnabled(false);
    }
    cmdSavePass->setEnabled(true);
}

void ConfigurationWindow::applyStartupPreset() {
    select(optPass);
    select(optNewPass);
    for (QWidget* w : std::initializer_list<QWidget*>{
             cmdSavePass, fraDBPass, txtDBOldPassword, txtDbPassword, txtDbPasswordConfirm,
             optNoPass, optPass, lblConfirm, lblNewPass, lblOldPass, cmdSaveDB}) {
        w->setEnabled(false);
    }
}

void ConfigurationWindow::applyRestrictedPreset() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             optNewPass, txtCurrentDBPassword, fraDBPass, txtDBOldPassword, txtDbPassword,
             txtDbPasswordConfirm, optNoPass, optPass, lblConfirm, lblNewPass, lblOldPass,
             cmdSaveDB}) {
        w->setEnabled(false);
    }
    // The database's path is the managers' to choose as well.
    m_restricted = true;
    txtDBPath->setReadOnly(true);
    cmdBrowseDB->setEnabled(false);
}

bool ConfigurationWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDBPath && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1) {
            std::int16_t key = static_cast<std::int16_t>(text.front().unicode());
            filterTextKey(key);
            if (key == 0) {
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ConfigurationWindow::testDatabase(const QString& path, const QString& password) {
    Connection c;
    c.open({path, password}, Connection::Mode::ReadWrite);
    Recordset rs;
    rs.open(u"SELECT * FROM Domains"_s, c, Recordset::Static, Recordset::OptimisticLock);
}

void ConfigurationWindow::saveDatabaseChoice() {
    if (m_restricted) {
        return;
    }
    const QString path = txtDBPath->text().trimmed();
    // A server's address is checked by opening it, below.
    if (!DatabaseAddress::isServer(path) && (!isValidFileName(path) || !QFileInfo(path).isFile())) {
        showInvalidFields(u"    The database path"_s + kCrLf);
        return;
    }
    // The settings file gives back no more than this: a longer path would be cut at next start.
    if (path.size() > kSettingMaxLength) {
        showMessage(u"Le chemin de la base de données est trop long : il ne peut pas dépasser "_s +
                        QString::number(kSettingMaxLength) +
                        u" caractères. Déplacez la base de données dans un dossier au chemin plus "
                        u"court."_s,
                    u"Erreur"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    if (optNewPass->isChecked()) {
        // The password is stored as it was tested, so the next operation opens with it.
        const QString password = txtCurrentDBPassword->text().trimmed();
        try {
            testDatabase(path, password);
        } catch (const AppError& e) {
            showDatabaseError(u"cmdSaveDB_Click"_s, e, u"Le mot de passe est invalide!"_s);
            return;
        }
        if (!password.isEmpty() && !writePasswordFile(passwordFileOf(path), password, path)) {
            return;
        }
        m_session.setDatabaseValidated(true);
    }
    if (!writeSetting(u"Database"_s, u"Path"_s, path, ProgramFolder::settingsFile())) {
        return;
    }
    m_session.setDatabasePath(path);
    cmdSaveDB->setEnabled(false);
    Notices::tell(u"Le chemin de la base de données a été enregistré."_s);
}

void ConfigurationWindow::savePassword() {
    // Every step acts on the saved database; an edited path must be saved first.
    if (txtDBPath->text().trimmed() != m_session.databasePath()) {
        showInvalidFields(u"Sauvegardez d'abord le chemin de la base de données."_s + kCrLf);
        return;
    }
    const bool changing = optPass->isChecked();
    try {
        if (changing) {
            if (!changePassword()) {
                return;
            }
        } else {
            removePassword();
        }
    } catch (const AppError& e) {
        // A wrong password here is the old one typed, or the one the password file holds.
        showDatabaseError(u"cmdSavePass_Click"_s, e,
                          changing ? u"L'ancien mot de passe est invalide!"_s
                                   : u"Le mot de passe pour la base de données est invalide!"_s);
        return;
    }
    cmdSavePass->setEnabled(false);
    Notices::tell(kPasswordChanged);
}

bool ConfigurationWindow::changePassword() {
    const QString newPassword = txtDbPassword->text();
    if (newPassword.trimmed().isEmpty() || newPassword.size() < 8) {
        showInvalidFields(u"Le mot de passe doit avoir au moins 8 caractères."_s + kCrLf);
        return false;
    }
    testDatabase(m_session.databasePath(), txtDBOldPassword->text().trimmed());
    const QString confirmed = txtDbPasswordConfirm->text();
    if (confirmed != newPassword) {
        showMessage(
            u"Veuillez vérifier votre nouveau mot de passe, car la confirmation ne correspond "
            u"pas.."_s,
            u"Confirmation inexacte!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        cmdSavePass->setEnabled(false);
        return false;
    }
    packPassword(confirmed); // refuses what the password file cannot hold, before any change
    PasswordChange::apply(m_session.databasePath(), txtDBOldPassword->text(), confirmed);
    return true;
}

void ConfigurationWindow::removePassword() {
    PasswordChange::apply(m_session.databasePath(), m_session.location().password, QString());
    m_session.clearDatabasePassword();
}

bool ConfigurationWindow::mayClose() {
    if (cmdSaveDB->isEnabled() || cmdSavePass->isEnabled()) {
        const auto answer = showMessage(
            u"Vous avez effectué des changements sans sauvegarder, êtes-vous certain de "
            u"vouloir continuer ?"_s,
            u"ATTENTION!"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question, Dialogs::Answer::No);
        if (answer != Dialogs::Answer::Yes) {
            return false;
        }
    }
    return true;
}

void ConfigurationWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (!mayClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    event->accept();
    QDialog::reject();
    m_closing = false;
}

void ConfigurationWindow::reject() {
    close();
}
