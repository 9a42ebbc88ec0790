#include "tools/admin/AdminTool.h"

#include "core/TestSupport.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/files/PasswordFile.h"
#include "core/interchange/MemoryReader.h"

#include <QDateTime>
#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

// lexivar-admin import, fed by old tables held in memory behind a file that starts like a Jet
// file, and once on a real Jet file that is no Lexivar base.
class AdminImportTest : public LexivarTest {
protected:
    void SetUp() override {
        LexivarTest::SetUp();
        old = path(u"Ancienne.mdb"_s);
        writeFile(old, QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(4076, 0));
        tables[u"Domains"_s] = {{{u"ID"_s, 3}, {u"Name"_s, u"Médecine"_s}}};
        tables[u"Files"_s] = {{{u"ID"_s, 42},
                               {u"English"_s, u"heart"_s},
                               {u"French"_s, u"cœur"_s},
                               {u"DomainID"_s, 3},
                               {u"Date"_s, QDateTime(QDate(1999, 1, 2), QTime(3, 4, 5))}},
                              {{u"ID"_s, 43}, {u"English"_s, u"lost"_s}, {u"DomainID"_s, 8}}};
        tables[u"Passwords"_s] = {{{u"ID"_s, 1},
                                   {u"Name"_s, u"Admin"_s},
                                   {u"Login"_s, u"admin"_s},
                                   {u"Pass"_s, u"admin"_s},
                                   {u"Type"_s, 0}}};
    }

    int run(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out);
        QTextStream e(&err);
        return runAdminTool(args, o, e, [this](const QString& file) {
            EXPECT_EQ(file, old);
            auto reader = std::make_unique<MemoryReader>();
            reader->tablesByName = tables;
            return reader;
        });
    }

    QString old;
    QMap<QString, QList<LegacyRow>> tables;
    QString out;
    QString err;
};

TEST_F(AdminImportTest, ImportsWithTheOldPasswordAndPrintsTheSummary) {
    ASSERT_TRUE(writePasswordFile(passwordFileOf(old), u"mot du groupe"_s));
    const QString fresh = path(u"Nouvelle.mdb"_s);
    ASSERT_EQ(run({u"import"_s, old, fresh}), 0) << err;
    EXPECT_EQ(out, u"Importation terminée : « "_s + fresh +
                       u" ».\n"
                       u"Domaines : 1 importé sur 1 lu.\n"
                       u"Fiches : 1 importée sur 2 lues.\n"
                       u"Usagers : 1 importé sur 1 lu.\n"
                       u"Lignes écartées : 1\n"
                       u"- Fiche n° 00043 : domaine n° 8 introuvable.\n"_s);
    QString password;
    ASSERT_TRUE(readPasswordFile(passwordFileOf(fresh), password));
    EXPECT_EQ(password, u"mot du groupe"_s);
    Connection c;
    c.open({fresh, password}, Connection::Mode::Read);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE ID = 42"_s, c);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(u"French"_s), QVariant(u"cœur"_s));
}

TEST_F(AdminImportTest, TakesThePasswordGivenOnTheCommandLine) {
    ASSERT_TRUE(writePasswordFile(passwordFileOf(old), u"ancien"_s));
    const QString fresh = path(u"Nouvelle.mdb"_s);
    ASSERT_EQ(run({u"import"_s, old, fresh, u"--db-password"_s, u"nouveau"_s}), 0) << err;
    QString password;
    ASSERT_TRUE(readPasswordFile(passwordFileOf(fresh), password));
    EXPECT_EQ(password, u"nouveau"_s);
    Connection c;
    EXPECT_NO_THROW(c.open({fresh, u"nouveau"_s}, Connection::Mode::Read));
}

TEST_F(AdminImportTest, RefusesWhatItCannotImport) {
    const QString fresh = path(u"Nouvelle.mdb"_s);
    writeFile(path(u"texte.mdb"_s), "pas une base");
    writeFile(path(u"Prise.mdb"_s), "déjà là");
    struct Case {
        QStringList args;
        int code;
        QString message;
    };
    const Case cases[] = {
        {{u"import"_s, old}, 1, u"Arguments incomplets. Voyez « lexivar-admin --help »."_s},
        {{u"import"_s, old, fresh, u"--db-password"_s},
         1,
         u"Arguments incomplets. Voyez « lexivar-admin --help »."_s},
        {{u"import"_s, path(u"absente.mdb"_s), fresh},
         1,
         u"Le fichier « "_s + path(u"absente.mdb"_s) + u" » est introuvable."_s},
        {{u"import"_s, path(u"texte.mdb"_s), fresh},
         1,
         u"Le fichier « "_s + path(u"texte.mdb"_s) +
             u" » n'est pas une base de l'ancienne version."_s},
        {{u"import"_s, old, path(u"Prise.mdb"_s)},
         1,
         u"Le fichier « "_s + path(u"Prise.mdb"_s) + u" » existe déjà ; rien n'a été modifié."_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(run(c.args), c.code);
        EXPECT_TRUE(err.contains(c.message)) << err;
        EXPECT_FALSE(QFile::exists(fresh));
    }
}

// A real Jet file without the three tables: the error names the missing one, nothing is created.
TEST_F(AdminImportTest, FailsCleanlyOnAJetFileThatIsNoLexivarBase) {
    const QString fresh = path(u"Nouvelle.mdb"_s);
    QTextStream o(&out);
    QTextStream e(&err);
    const QString jet = QStringLiteral(LEXIVAR_LEGACY_FIXTURES "/password-protected-v2000.mdb");
    EXPECT_EQ(runAdminTool({u"import"_s, jet, fresh}, o, e), 1);
    e.flush();
    EXPECT_TRUE(err.contains(u"La table « Domains » est absente"_s)) << err;
    EXPECT_EQ(QDir(path(u""_s)).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
