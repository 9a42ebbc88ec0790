#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"
#include "core/interchange/MemoryReader.h"
#include "core/session/Session.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/configuration/ConfigurationWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

// Choosing a base of the older version in the configuration window offers to convert it.
class ConfigurationConversionTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        folder = QFileInfo(dbPath).absolutePath() + u"/ancienne"_s;
        ASSERT_TRUE(QDir().mkpath(folder));
        old = folder + u"/Equipe.mdb"_s;
        writeFile(old, QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(4076, 0));
        ASSERT_TRUE(writePasswordFile(passwordFileOf(old), u"mot du groupe"_s));
        tables[u"Domains"_s] = {{{u"ID"_s, 4}, {u"Name"_s, u"Génie"_s}}};
        tables[u"Files"_s] = {{{u"ID"_s, 42},
                               {u"English"_s, u"gear"_s},
                               {u"French"_s, u"engrenage"_s},
                               {u"DomainID"_s, 4}}};
        tables[u"Passwords"_s] = {};
    }

    void browseTo(ConfigurationWindow& w, const QString& file) {
        dialogs->fileNames.push_back(file);
        findControl<QPushButton>(&w, u"cmdBrowseDB"_s)->click();
    }
    QString shownPath(ConfigurationWindow& w) {
        return findControl<QLineEdit>(&w, u"txtDBPath"_s)->text();
    }
    QStringList folderContents() const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    const QString question =
        u"Ce fichier est une base de l'ancienne version. Voulez-vous la convertir ?"_s;
    QString folder;
    QString old;
    QMap<QString, QList<LegacyRow>> tables;
};

TEST_F(ConfigurationConversionTest, ConvertsBesideTheOldBaseAndShowsTheNewOne) {
    ConfigurationWindow w(session);
    w.setLegacyReaderFactory([this](const QString& file) {
        EXPECT_EQ(file, old);
        auto reader = std::make_unique<MemoryReader>();
        reader->tablesByName = tables;
        return reader;
    });
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    browseTo(w, old);

    const QString converted = folder + u"/Equipe-converti.mdb"_s;
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].text, question);
    EXPECT_EQ(dialogs->messages[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs->messages[0].icon, Dialogs::Icon::Question);
    EXPECT_EQ(dialogs->messages[1].text,
              u"Importation terminée : « "_s + converted +
                  u" ».\nDomaines : 1 importé sur 1 lu.\nFiches : 1 importée sur 1 lue.\n"
                  u"Usagers : 0 importé sur 0 lu.\nAucune ligne n’a été écartée."_s);
    EXPECT_EQ(shownPath(w), converted);
    EXPECT_TRUE(findControl<QPushButton>(&w, u"cmdSaveDB"_s)->isEnabled());
    EXPECT_EQ(folderContents(), (QStringList{u"Equipe-converti.mdb"_s, u"Equipe-converti.pws"_s,
                                             u"Equipe.mdb"_s, u"Equipe.pws"_s}));
    QString password;
    ASSERT_TRUE(readPasswordFile(passwordFileOf(converted), password));
    EXPECT_EQ(password, u"mot du groupe"_s);
    Connection c;
    c.open({converted, password}, Connection::Mode::Read);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE ID = 42"_s, c);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(u"French"_s), QVariant(u"engrenage"_s));

    // A second conversion of the same file never touches the first copy.
    dialogs->messages.clear();
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    browseTo(w, old);
    EXPECT_EQ(shownPath(w), folder + u"/Equipe-converti-2.mdb"_s);
    EXPECT_EQ(folderContents().size(), 6);
}

// At start-up the converted base is the one configured once saved, with the old base's password.
TEST_F(ConfigurationConversionTest, AtStartUpTheConvertedBaseIsSavedAsTheDatabase) {
    ConfigurationWindow w(session);
    w.applyStartupPreset();
    w.setLegacyReaderFactory([this](const QString&) {
        auto reader = std::make_unique<MemoryReader>();
        reader->tablesByName = tables;
        return reader;
    });
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    browseTo(w, old);
    const QString converted = folder + u"/Equipe-converti.mdb"_s;
    ASSERT_EQ(shownPath(w), converted);
    w.saveDatabaseChoice();
    EXPECT_EQ(dialogs->messages.size(), 2u) << dialogs->messages.back().text;
    EXPECT_EQ(session.databasePath(), converted);
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, QString(), ProgramFolder::settingsFile()),
              converted);
    EXPECT_EQ(session.location().password, u"mot du groupe"_s);
}

TEST_F(ConfigurationConversionTest, DecliningChangesNothing) {
    ConfigurationWindow w(session);
    dialogs->answers.push_back(Dialogs::Answer::No);
    browseTo(w, old);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, question);
    EXPECT_EQ(shownPath(w), dbPath);
    EXPECT_EQ(folderContents(), (QStringList{u"Equipe.mdb"_s, u"Equipe.pws"_s}));
}

// A real Jet file that holds no Lexivar tables: the error box, and nothing left beside it.
TEST_F(ConfigurationConversionTest, AFailedConversionLeavesNothingAndKeepsThePath) {
    const QString jet = folder + u"/Autre.mdb"_s;
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(LEXIVAR_LEGACY_FIXTURES "/password-protected-v2000.mdb"), jet));
    ConfigurationWindow w(session);
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    browseTo(w, jet);
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[1].title, u"Procédure: cmdBrowseDB_Click"_s);
    EXPECT_TRUE(dialogs->messages[1].text.contains(u"La table « Domains » est absente"_s))
        << dialogs->messages[1].text;
    EXPECT_EQ(shownPath(w), dbPath);
    EXPECT_EQ(folderContents(), (QStringList{u"Autre.mdb"_s, u"Equipe.mdb"_s, u"Equipe.pws"_s}));
}

// Installed beside the older version: its Lexivar4.mdb, found at the first start, is offered for
// conversion before anything uses it.
TEST_F(ConfigurationConversionTest, OffersToConvertTheOldBaseFoundBesideTheProgram) {
    const QString program = folder + u"/programme"_s;
    ASSERT_TRUE(QDir().mkpath(program));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LEXIVAR_LEGACY_FIXTURES "/password-protected-v2000.mdb"),
                            program + u"/Lexivar4.mdb"_s));
    ProgramFolder::set(program);
    session.setDatabasePath(QString());
    for (const auto answer : {Dialogs::Answer::No, Dialogs::Answer::Yes}) {
        dialogs->messages.clear();
        dialogs->answers.push_back(answer);
        ConfigurationWindow w(session);
        ASSERT_FALSE(dialogs->messages.empty());
        EXPECT_EQ(dialogs->messages[0].text, question);
        // No Lexivar tables in this Jet file: Oui ends in the error box, and neither answer
        // leaves a path or a file behind.
        EXPECT_EQ(dialogs->messages.size(), answer == Dialogs::Answer::Yes ? 2u : 1u);
        if (answer == Dialogs::Answer::Yes) {
            EXPECT_EQ(dialogs->messages.back().title, u"Procédure: FindDatabase"_s);
        }
        EXPECT_EQ(findControl<QLineEdit>(&w, u"txtDBPath"_s)->text(), QString());
        EXPECT_EQ(QDir(program).entryList(QDir::Files), QStringList{u"Lexivar4.mdb"_s});
        session.setDatabasePath(QString());
    }
}
