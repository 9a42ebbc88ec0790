#include "core/files/PasswordFile.h"
#include "core/session/Session.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/startup/SignInDialog.h"

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

class SignInDialogTest : public OnBothBackends<SessionTest> {
protected:
    // Types into the window and presses OK; returns the messages shown.
    void attempt(const QString& login, const QString& password) {
        SignInDialog window(session);
        window.findChild<QLineEdit*>(u"txtLogin"_s)->setText(login);
        window.findChild<QLineEdit*>(u"txtPassword"_s)->setText(password);
        window.signIn();
    }
    QString lastMessage() const {
        return dialogs->messages.empty() ? QString() : dialogs->messages.back().text;
    }
};

INSTANTIATE_ON_BOTH_BACKENDS(SignInDialogTest);

TEST_P(SignInDialogTest, RefusesUnknownNamesAndWrongPasswordsInThatOrder) {
    const struct {
        QString login;
        QString password;
        QString message;
    } cases[] = {
        {u"personne"_s, u"admin"_s, u"Votre nom d'usager est invalide."_s},
        {u"personne"_s, u"faux"_s, u"Votre nom d'usager est invalide."_s},
        {u"admin"_s, u"faux"_s, u"Votre mot de passe est invalide."_s},
        {u"o'brien"_s, u"x"_s, u"Votre nom d'usager est invalide."_s},
        {u"admin' OR '1'='1"_s, u"x"_s, u"Votre nom d'usager est invalide."_s},
        {u"admin"_s, u"' OR ''='"_s, u"Votre mot de passe est invalide."_s},
    };
    for (const auto& c : cases) {
        attempt(c.login, c.password);
        EXPECT_EQ(lastMessage(), c.message) << c.login;
        EXPECT_EQ(dialogs->messages.back().title, u"Erreur!"_s);
        EXPECT_FALSE(session.isSignedIn());
    }
}

TEST_P(SignInDialogTest, SignsInIgnoringBlanksAndRecordsNameAndLevel) {
    addAccount(u"Marie-Ève Bouchard-Villeneuve de la Tour"_s, u"mevb"_s, u"clé'1"_s, 2);
    attempt(u"  MEVB "_s, u" clé'1  "_s);
    EXPECT_TRUE(dialogs->messages.empty()) << lastMessage();
    EXPECT_TRUE(session.isSignedIn());
    EXPECT_EQ(session.paddedUserName(), u"Marie-Ève Bouchard-Villen"_s);
    EXPECT_EQ(session.level(), 2);
    EXPECT_TRUE(session.mayChange(u"Marie-Ève Bouchard-Villen"_s));
}

TEST_P(SignInDialogTest, EnterInEitherBoxSignsInOnce) {
    for (const QString& box : {u"txtLogin"_s, u"txtPassword"_s}) {
        dialogs->messages.clear();
        SignInDialog window(session);
        window.show();
        window.findChild<QLineEdit*>(u"txtLogin"_s)->setText(u"personne"_s);
        QTest::keyClick(window.findChild<QLineEdit*>(box), Qt::Key_Return);
        // The default button clicks a moment after the key: wait past that moment.
        EXPECT_FALSE(QTest::qWaitFor([&] { return dialogs->messages.size() > 1; }, 500));
        ASSERT_EQ(dialogs->messages.size(), 1u) << box;
        EXPECT_EQ(lastMessage(), u"Votre nom d'usager est invalide."_s);
    }
}

TEST_P(SignInDialogTest, WrongDatabasePasswordIsReportedOnce) {
    ASSERT_TRUE(writePasswordFile(passwordFileOf(dbPath), u"pas le bon"_s));
    attempt(u"admin"_s, u"admin"_s);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(lastMessage(), u"Le mot de passe pour la base de données est invalide!"_s);
    EXPECT_EQ(dialogs->messages[0].title, u"Mauvais mot de passe!"_s);
    EXPECT_FALSE(session.isSignedIn());
}

TEST_F(SessionTest, LevelPredicatesFollowTheLevel) {
    const struct {
        int level;
        bool admin;
        bool manager;
        bool otherOwner;
    } cases[] = {{0, true, true, true},
                 {1, false, true, true},
                 {2, false, false, false},
                 {50, false, false, false}};
    for (const auto& c : cases) {
        signInAs(u"Élise Gagnon"_s, c.level);
        EXPECT_EQ(session.isAdministrator(), c.admin) << c.level;
        EXPECT_EQ(session.isManager(), c.manager) << c.level;
        EXPECT_EQ(session.mayChange(u"Quelqu'un d'autre"_s), c.otherOwner) << c.level;
        EXPECT_TRUE(session.mayChange(u""_s) || c.level == 50);
    }
    // The predicates only answer; the window that asked tells the user.
    EXPECT_TRUE(dialogs->messages.empty());
    signInAs(u"Élise Gagnon"_s, 2);
    EXPECT_TRUE(session.mayChange(u"Élise Gagnon"_s));
    EXPECT_FALSE(session.mayChange(u"élise gagnon"_s));
    session.signOut();
    EXPECT_EQ(session.paddedUserName(), QString(25, u' '));
    EXPECT_FALSE(session.isAdministrator() || session.isManager() || session.mayChange(u"x"_s));
}
