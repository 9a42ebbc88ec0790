#include "gui/startup/SignInDialog.h"

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/session/Session.h"
#include "core/text/Validation.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

void refuse(const QString& text) {
    showMessage(text, u"Erreur!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

} // namespace

SignInDialog::SignInDialog(Session& session, QWidget* parent)
    : QDialog(parent), txtLogin(new QLineEdit(this)), txtPassword(new QLineEdit(this)),
      cmdOk(new QPushButton(u"&OK"_s, this)), cmdCancel(new QPushButton(u"&Annuler"_s, this)),
      m_session(session) {
    setObjectName(u"frmLogin"_s);
    setWindowTitle(u"Veuillez entrer vos informations"_s);
    txtLogin->setObjectName(u"txtLogin"_s);
    txtPassword->setObjectName(u"txtPassword"_s);
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdOk->setObjectName(u"cmdOk"_s);
    cmdCancel->setObjectName(u"cmdCancel"_s);
    cmdOk->setDefault(true);

    auto* loginLabel = new QLabel(u"Nom d'&usager:"_s, this);
    auto* passwordLabel = new QLabel(u"&Mot de passe:"_s, this);
    loginLabel->setObjectName(u"lblLabels"_s);
    passwordLabel->setObjectName(u"lblLabels"_s);
    loginLabel->setBuddy(txtLogin);
    passwordLabel->setBuddy(txtPassword);

    auto* grid = new QGridLayout(this);
    grid->addWidget(loginLabel, 0, 0);
    grid->addWidget(txtLogin, 0, 1);
    grid->addWidget(passwordLabel, 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    setFixedWidth(340);

    // Enter in either box reaches the default button: one sign-in per Enter.
    connect(cmdOk, &QPushButton::clicked, this, &SignInDialog::signIn);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool SignInDialog::ensureSignedIn(Session& session, QWidget* owner) {
    if (session.isSignedIn()) {
        return true;
    }
    SignInDialog login(session, owner);
    Dialogs::get().execModal(login);
    return session.isSignedIn();
}

void SignInDialog::signIn() {
    // Bound, so that what the user typed is only ever compared, never run.
    const QString login = txtLogin->text().trimmed();
    const QString password = txtPassword->text().trimmed();
    try {
        Connection c;
        c.open(m_session.location(), Connection::Mode::Read);
        Recordset rs;
        rs.open(u"SELECT * FROM Passwords WHERE Login = ?"_s, {login}, c, Recordset::Static,
                Recordset::OptimisticLock);
        if (rs.recordCount() == 0) {
            refuse(u"Votre nom d'usager est invalide."_s);
            m_session.signOut();
            return;
        }
        rs.close();
        rs.open(u"SELECT * FROM Passwords WHERE Login = ? AND pass = ?"_s, {login, password}, c,
                Recordset::Static, Recordset::OptimisticLock);
        if (rs.recordCount() == 0) {
            refuse(u"Votre mot de passe est invalide."_s);
            m_session.signOut();
            return;
        }
        m_session.signIn(rs.value(u"Name"_s).toString(),
                         static_cast<std::uint8_t>(rs.value(u"Type"_s).toInt()));
        accept();
    } catch (const AppError& e) {
        showDatabaseError(u"cmdOk_Click"_s, e);
    }
}
