#include "core/db/DatabaseFile.h"
#include "core/db/PasswordChange.h"
#include "core/db/PasswordChangeFixture.h"
#include "core/db/SmallDisk.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"
#include "gui/TestSupport.h"
#include "gui/configuration/ConfigurationWindow.h"

#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The password changed as a user changes it, in the configuration window.
void changeInWindow(Session& session, const QString& from, const QString& to) {
    ConfigurationWindow w(session);
    findControl<QLineEdit>(&w, u"txtDBOldPassword"_s)->setText(from);
    findControl<QLineEdit>(&w, u"txtDbPassword"_s)->setText(to);
    findControl<QLineEdit>(&w, u"txtDbPasswordConfirm"_s)->setText(to);
    w.savePassword();
    dialogs->answers.push_back(Dialogs::Answer::Yes);
}

} // namespace

// On a server the password is the role's: the same texts reach it as a hash, never as SQL.
using PasswordChangeBothTest = OnBothBackends<PasswordChangeTest>;

INSTANTIATE_ON_BOTH_BACKENDS(PasswordChangeBothTest);

TEST_P(PasswordChangeBothTest, AnyPasswordRoundTrips) {
    addDomain(u"Électricité"_s);
    const QString cases[] = {
        u"'entre apostrophes'"_s, u"'début seulement"_s,    u"fin seulement'"_s,
        u"a;MODE=READ;b=c d"_s,   u"espaces  au  milieu"_s, u"Élève à l'œuvre ÿ"_s,
        QString(100, u'é'),
    };
    QString current = dbPassword;
    for (const QString& next : cases) {
        changeInWindow(session, current, next);
        EXPECT_TRUE(dialogs->messages.empty()) << next << dialogs->messages.front().text;
        dialogs->messages.clear();
        EXPECT_EQ(storedPassword(), next);
        EXPECT_TRUE(operationsWork()) << next;
        EXPECT_FALSE(DatabaseFile::opensWith(dbPath, current)) << next;
        current = next;
    }
}

// On a full disk nothing is half written: the old files stay and the user is told.
class FullDiskTest : public PasswordChangeTest {
protected:
    void SetUp() override {
        PasswordChangeTest::SetUp();
        m_disk = std::make_unique<SmallDisk>(path(u"petit"_s), 2048);
        if (!m_disk->mounted()) {
            GTEST_SKIP() << "mounting a small tmpfs needs root";
        }
        const QString moved = path(u"petit/Lexivar4.mdb"_s);
        ASSERT_TRUE(QFile::copy(dbPath, moved));
        ASSERT_TRUE(QFile::copy(passwordFileOf(dbPath), passwordFileOf(moved)));
        dbPath = moved;
        session.setDatabasePath(moved);
        ProgramFolder::set(path(u"petit"_s));
        ASSERT_TRUE(writeSetting(u"Database"_s, u"Path"_s, dbPath, ProgramFolder::settingsFile()));
    }
    void TearDown() override {
        m_disk.reset();
        PasswordChangeTest::TearDown();
    }
    std::unique_ptr<SmallDisk> m_disk;
};

TEST_F(FullDiskTest, SmallFileWritesAreRefusedAndChangeNothing) {
    m_disk->fill(0);
    const QByteArray pws = readFile(passwordFileOf(dbPath));
    const QByteArray ini = readFile(ProgramFolder::settingsFile());
    EXPECT_FALSE(writePasswordFile(passwordFileOf(dbPath),
                                   u"un mot de passe bien plus long "
                                   u"que l'ancien"_s,
                                   dbPath));
    EXPECT_FALSE(writeSetting(u"Database"_s, u"Path"_s, dbPath + u"-ailleurs"_s,
                              ProgramFolder::settingsFile()));
    changeInWindow(session, dbPassword, u"nouveau mot de passe"_s);
    ConfigurationWindow w(session);
    findControl<QRadioButton>(&w, u"optNoPass"_s)->click();
    w.savePassword();

    ASSERT_EQ(dialogs->messages.size(), 4u);
    for (const auto& m : dialogs->messages) {
        EXPECT_TRUE(m.title.startsWith(u"Procédure: "_s)) << m.title << m.text;
    }
    EXPECT_TRUE(dialogs->messages[0].text.contains(u"Le disque est plein"_s));
    EXPECT_EQ(readFile(passwordFileOf(dbPath)), pws);
    EXPECT_EQ(readFile(ProgramFolder::settingsFile()), ini);
    EXPECT_TRUE(DatabaseFile::opensWith(dbPath, dbPassword));
    EXPECT_EQ(QDir(path(u"petit"_s)).entryList(QDir::Files).size(), 4); // no temporary left
    dialogs->messages.clear();
    EXPECT_TRUE(operationsWork());
}

// Room for the small files but not for the engine's journal or copy: the database refuses the
// change (the engine may still answer success), and the user is told so instead of being locked
// out.
TEST_F(FullDiskTest, DatabaseChangesWithoutRoomAreReportedAndChangeNothing) {
    {
        Connection c;
        open(c);
        c.execute(u"CREATE TABLE Lest (t TEXT);"_s);
        c.execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                  u"INSERT INTO Lest SELECT hex(randomblob(400)) FROM n;"_s);
    }
    m_disk->fill(24);
    const QByteArray pws = readFile(passwordFileOf(dbPath));
    changeInWindow(session, dbPassword, u"nouveau mot de passe"_s);
    ConfigurationWindow w(session);
    findControl<QRadioButton>(&w, u"optNoPass"_s)->click();
    w.savePassword();
    ASSERT_EQ(dialogs->messages.size(), 2u);
    for (const auto& m : dialogs->messages) {
        EXPECT_EQ(m.title, u"Procédure: cmdSavePass_Click"_s) << m.text;
    }
    EXPECT_TRUE(dialogs->messages[0].text.contains(u"refusé le nouveau mot de passe"_s));
    EXPECT_TRUE(dialogs->messages[1].text.contains(u"disk is full"_s));
    EXPECT_EQ(readFile(passwordFileOf(dbPath)), pws);
    EXPECT_FALSE(QFile::exists(PasswordChange::pendingFileOf(dbPath)));
    dialogs->messages.clear();
    EXPECT_TRUE(operationsWork());
}
