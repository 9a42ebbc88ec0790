#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Sign-in: checks a user name and password against the accounts and records who is signed in.
class Session;
class SignInDialog : public QDialog {
    Q_OBJECT

public:
    explicit SignInDialog(Session& session, QWidget* parent = nullptr);

    // Shows the window modally (through the dialog seam) when nobody is signed in; true when
    // someone is signed in afterwards.
    static bool ensureSignedIn(Session& session, QWidget* owner);

    void signIn();

private:
    QLineEdit* txtLogin;
    QLineEdit* txtPassword;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    Session& m_session;
};
