#include "core/db/Recordset.h"
#include "core/session/Session.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/accounts/AccountWindow.h"
#include "gui/lists/ListView.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

using namespace Qt::StringLiterals;

class AccountWindowFixture : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        signInAs(u"Administrateur"_s, 0);
        window = AccountWindow::open(session);
    }
    void TearDown() override {
        delete window;
        SessionTest::TearDown();
    }
    template <typename T = QWidget> T* control(const QString& name) {
        return findControl<T>(window, name);
    }
    void type(const QString& box, const QString& text) { control<QLineEdit>(box)->setText(text); }
    void fill(const QString& name, const QString& login, const QString& pass) {
        type(u"txtName"_s, name);
        type(u"txtLogin"_s, login);
        type(u"txtPassword"_s, pass);
    }
    int row(const QString& login) {
        for (int r = 0; r < window->list().itemCount(); ++r) {
            if (window->list().itemText(r, 2) == login) {
                return r;
            }
        }
        return -1;
    }
    QVariant stored(const QString& login, const QString& column) {
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT * FROM Passwords WHERE Login = '"_s + login + u"'"_s, c);
        return rs.atEnd() ? QVariant(u"<absent>"_s) : rs.value(column);
    }
    bool unsaved() { return control(u"cmdSave"_s)->isEnabled(); }

    AccountWindow* window = nullptr;
};

class AccountWindowTest : public OnBothBackends<AccountWindowFixture> {};

INSTANTIATE_ON_BOTH_BACKENDS(AccountWindowTest);

TEST_P(AccountWindowTest, OpensWithTheAccountsListed) {
    EXPECT_EQ(AccountWindow::existing(), window);
    EXPECT_EQ(window->windowTitle(), u"Gestion des usagers"_s);
    QStringList headers;
    for (int c = 0; c < window->list().columnHeaderCount(); ++c) {
        headers << window->list().columnHeaderText(c);
    }
    EXPECT_EQ(headers,
              (QStringList{u"ID"_s, u"Nom"_s, u"Nom d'usager"_s, u"Mot de passe"_s, u"Type"_s}));
    EXPECT_EQ(window->list().itemText(row(u"jfcote"_s), 4), u"Gestionnaire"_s);
    EXPECT_EQ(window->list().itemText(0, 0), u"00001"_s);
    EXPECT_TRUE(control<QRadioButton>(u"optPropriétaire"_s)->isChecked());
    EXPECT_FALSE(unsaved());
}

TEST_P(AccountWindowTest, ValidationCountsSpacesAndListsInOrder) {
    window->save();
    EXPECT_EQ(dialogs->messages.back().text,
              u"Les champs suivants sont invalides:\r\nLe nom de la personne est requis.\r\nLe "
              "nom de l'usager doit avoir au moins 4 caractères.\r\nLe mot de passe doit avoir "
              "au moins 4 caractères.\r\n"_s);
    fill(u"Anne"_s, u"abc"_s, u"  pw"_s);
    window->save();
    EXPECT_EQ(dialogs->messages.back().text,
              u"Les champs suivants sont invalides:\r\nLe nom de l'usager doit avoir au moins 4 "
              "caractères.\r\n"_s);
    type(u"txtLogin"_s, u"abcd"_s);
    window->save(); // "  pw" counts four characters and is stored as "pw"
    EXPECT_EQ(stored(u"abcd"_s, u"Pass"_s).toString(), u"pw"_s);
    EXPECT_EQ(stored(u"abcd"_s, u"Type"_s).toInt(), 2);
    EXPECT_EQ(control<QLineEdit>(u"txtName"_s)->text(), u""_s);
    EXPECT_FALSE(unsaved());
    EXPECT_NE(row(u"abcd"_s), -1);
}

TEST_P(AccountWindowTest, LevelsAreStoredAsTheirCodes) {
    const struct {
        QString option;
        int code;
    } cases[] = {{u"optAdministrateur"_s, 0}, {u"optGestionnaire"_s, 1}, {u"optPropriétaire"_s, 2}};
    int n = 0;
    for (const auto& c : cases) {
        const QString login = u"user"_s + QString::number(n++);
        fill(u"Personne"_s, login, u"secret"_s);
        control<QRadioButton>(c.option)->click();
        window->save();
        EXPECT_EQ(stored(login, u"Type"_s).toInt(), c.code) << c.option;
    }
}

TEST_P(AccountWindowTest, ASelectedAccountIsChangedThenDeleted) {
    window->showAccount(row(u"jfcote"_s));
    EXPECT_EQ(window->selectedAccount(), u"00002"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtLogin"_s)->text(), u"jfcote"_s);
    EXPECT_TRUE(control<QRadioButton>(u"optGestionnaire"_s)->isChecked());
    EXPECT_FALSE(unsaved());
    control<QRadioButton>(u"optAdministrateur"_s)->click();
    EXPECT_TRUE(unsaved());
    window->save();
    EXPECT_EQ(stored(u"jfcote"_s, u"Type"_s).toInt(), 0);
    EXPECT_EQ(count(u"SELECT * FROM Passwords"_s), 3);

    window->remove();
    EXPECT_EQ(dialogs->messages.back().text, u"Vous devez choisir un usager!"_s);
    window->showAccount(row(u"egagnon"_s));
    dialogs->answers = {Dialogs::Answer::No};
    window->remove();
    EXPECT_EQ(count(u"SELECT * FROM Passwords"_s), 3);
    window->remove();
    EXPECT_EQ(count(u"SELECT * FROM Passwords"_s), 2);
    EXPECT_EQ(window->selectedAccount(), u""_s);
    EXPECT_EQ(control<QLineEdit>(u"txtLogin"_s)->text(), u""_s);
    EXPECT_EQ(row(u"egagnon"_s), -1);
}

TEST_P(AccountWindowTest, ClosingWithChangesAnsweredNoKeepsTheSelection) {
    window->showAccount(row(u"egagnon"_s));
    type(u"txtName"_s, u"Élise Gagnon-Roy"_s);
    dialogs->answers = {Dialogs::Answer::No};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(dialogs->messages.back().title, u"Attention !"_s);
    EXPECT_EQ(AccountWindow::existing(), window);
    EXPECT_EQ(window->selectedAccount(), u"00003"_s);
    window->save();
    EXPECT_EQ(stored(u"egagnon"_s, u"Name"_s).toString(), u"Élise Gagnon-Roy"_s);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(AccountWindow::existing(), nullptr);
}

TEST_P(AccountWindowTest, AddingClosesTheWindowAndOpensAFreshOne) {
    window->showAccount(row(u"egagnon"_s));
    type(u"txtName"_s, u"Élise Gagnon-Roy"_s);
    dialogs->answers = {Dialogs::Answer::No}; // keep the change
    window->add();
    EXPECT_EQ(AccountWindow::existing(), window);
    EXPECT_EQ(window->selectedAccount(), u"00003"_s);

    dialogs->answers = {Dialogs::Answer::Yes}; // drop it
    QPointer<AccountWindow> closed = window;
    window->add();
    window = AccountWindow::existing();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window, closed.data());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->selectedAccount(), u""_s);
    EXPECT_EQ(control<QLineEdit>(u"txtName"_s)->text(), u""_s);
    EXPECT_EQ(stored(u"egagnon"_s, u"Name"_s).toString(), u"Élise Gagnon"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(AccountWindow::existing(), window);
}

enum class AccountMeanwhile { Nothing, PasswordChanged, LevelChanged, Deleted };

struct AccountCase {
    const char* name;
    AccountMeanwhile meanwhile;
    Dialogs::Answer answer;
    bool asked;
    bool written;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const AccountCase& c, std::ostream* os) {
    *os << c.name;
}

// A second account window, as another administrator has it, changes jfcote's account after
// this window selected it.
class AccountConflictTest : public AccountWindowFixture,
                            public ::testing::WithParamInterface<AccountCase> {
protected:
    void SetUp() override {
        AccountWindowFixture::SetUp();
        other = std::make_unique<AccountWindow>(session);
    }
    void TearDown() override {
        other.reset();
        AccountWindowFixture::TearDown();
    }
    void happenMeanwhile(AccountMeanwhile what) {
        for (int r = 0; r < other->list().itemCount(); ++r) {
            if (other->list().itemText(r, 2) == u"jfcote"_s) {
                other->showAccount(r);
            }
        }
        switch (what) {
        case AccountMeanwhile::Nothing:
            return;
        case AccountMeanwhile::PasswordChanged:
            other->findChild<QLineEdit*>(u"txtPassword"_s)->setText(u"gestion2"_s);
            break;
        case AccountMeanwhile::LevelChanged:
            other->findChild<QRadioButton*>(u"optAdministrateur"_s)->click();
            break;
        case AccountMeanwhile::Deleted:
            dialogs->answers = {Dialogs::Answer::Yes};
            other->remove();
            return;
        }
        other->save();
    }

    std::unique_ptr<AccountWindow> other;
};

TEST_P(AccountConflictTest, ASaveOverAnotherAdministratorsChangeAsksFirst) {
    const AccountCase& c = GetParam();
    window->showAccount(row(u"jfcote"_s));
    type(u"txtName"_s, u"Jean-François Côté-Roy"_s);
    happenMeanwhile(c.meanwhile);
    dialogs->messages.clear();
    dialogs->answers = {c.answer};
    window->save();

    if (c.asked) {
        ASSERT_EQ(dialogs->messages.size(), 1u);
        const auto& m = dialogs->messages[0];
        EXPECT_EQ(m.text, u"Ce compte d'usager a été modifié par un autre administrateur depuis "
                          "que vous l'avez choisi. Voulez-vous remplacer ses changements par "
                          "les vôtres?"_s);
        EXPECT_EQ(m.title, u"Compte modifié entre-temps"_s);
        EXPECT_EQ(m.buttons, Dialogs::Buttons::YesNo);
        EXPECT_EQ(m.icon, Dialogs::Icon::Exclamation);
        EXPECT_EQ(m.defaultButton, Dialogs::Answer::No);
    } else if (c.meanwhile == AccountMeanwhile::Deleted) {
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].title, u"Procédure: cmdSave_Click"_s);
        EXPECT_TRUE(dialogs->messages[0].text.contains(u"00002 n'existe plus"_s));
    } else {
        EXPECT_TRUE(dialogs->messages.empty());
    }
    const QVariant name = stored(u"jfcote"_s, u"Name"_s);
    if (c.written) {
        EXPECT_EQ(name.toString(), u"Jean-François Côté-Roy"_s);
        EXPECT_EQ(stored(u"jfcote"_s, u"Type"_s).toInt(), 1); // the level this window showed
        EXPECT_EQ(window->selectedAccount(), u""_s);
        EXPECT_FALSE(unsaved());
        return;
    }
    EXPECT_NE(name.toString(), u"Jean-François Côté-Roy"_s);
    EXPECT_EQ(window->selectedAccount(), u"00002"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtName"_s)->text(), u"Jean-François Côté-Roy"_s);
    EXPECT_TRUE(unsaved());
    if (c.meanwhile == AccountMeanwhile::PasswordChanged) {
        EXPECT_EQ(stored(u"jfcote"_s, u"Pass"_s).toString(), u"gestion2"_s);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccountConflictTest,
    ::testing::Values(
        AccountCase{"NothingChanged", AccountMeanwhile::Nothing, Dialogs::Answer::No, false, true},
        AccountCase{"PasswordChangedNonKeepsIt", AccountMeanwhile::PasswordChanged,
                    Dialogs::Answer::No, true, false},
        AccountCase{"LevelChangedOuiWrites", AccountMeanwhile::LevelChanged, Dialogs::Answer::Yes,
                    true, true},
        AccountCase{"Deleted", AccountMeanwhile::Deleted, Dialogs::Answer::Yes, false, false}),
    [](const ::testing::TestParamInfo<AccountCase>& info) { return info.param.name; });
