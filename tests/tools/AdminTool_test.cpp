#include "tools/AdminToolFixture.h"

#include "core/AppError.h"
#include "core/TestSupport.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/files/PasswordFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

using namespace Qt::StringLiterals;

using AdminToolTest = AdminToolFixture;

TEST_F(AdminToolTest, CreatesADatabaseWithItsPasswordFileAndAdministrator) {
    const QString db = path(u"Lexivar4.mdb"_s);
    ASSERT_EQ(run({u"create"_s, db, u"--name"_s, u"Émilie Lévesque"_s, u"--login"_s, u"elevesque"_s,
                   u"--password"_s, u"s3cret"_s, u"--db-password"_s, u"clé de la base"_s}),
              0)
        << err.toStdString();
    QString password;
    ASSERT_TRUE(readPasswordFile(path(u"Lexivar4.pws"_s), password));
    EXPECT_EQ(password, u"clé de la base"_s);
    Connection c;
    c.open({db, password}, Connection::Mode::Read);
    Recordset rs;
    rs.open(u"SELECT * FROM Passwords WHERE Login = 'ELEVESQUE' AND pass = 's3cret'"_s, c,
            Recordset::Static, Recordset::OptimisticLock);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(u"Name"_s).toString(), u"Émilie Lévesque"_s);
    EXPECT_EQ(rs.value(u"Type"_s).toInt(), 0);
    EXPECT_EQ(QDir(path(u""_s)).entryList(QDir::Files | QDir::Hidden).size(), 2); // no leftovers
}

TEST_F(AdminToolTest, OpensInTheEngineShellWithTheSameKey) {
    const QString shell = QStandardPaths::findExecutable(u"sqlcipher"_s);
    if (shell.isEmpty()) {
        GTEST_SKIP() << "sqlcipher shell not installed";
    }
    const QString db = path(u"Lexivar4.mdb"_s);
    ASSERT_EQ(run({u"demo"_s, db}), 0) << err.toStdString();
    QProcess p;
    p.start(shell, {db});
    p.write("PRAGMA key='lexivar-demo';\nPRAGMA cipher_page_size=4096;\n"
            "PRAGMA table_info(Files);\nPRAGMA table_info(Domains);\n"
            "PRAGMA table_info(Passwords);\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    // Each line is "index|name|type|notnull|default|pk".
    QStringList names;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        if (!line.isEmpty()) {
            names << line.section(u'|', 1, 1);
        }
    }
    EXPECT_EQ(names.join(u','),
              u"ID,English,French,AF,DomainID,DEFINITION,OBSERVATION,Date,"
              "CreatedBy,DateModified,ModifiedBy,ID,Name,ID,Name,Login,Pass,Type"_s);
}

TEST_F(AdminToolTest, DemoHoldsAccentedBilingualRecords) {
    const QString db = path(u"demo.mdb"_s);
    ASSERT_EQ(run({u"demo"_s, db}), 0) << err.toStdString();
    QString password;
    ASSERT_TRUE(readPasswordFile(path(u"demo.pws"_s), password));
    Connection c;
    c.open({db, password}, Connection::Mode::Read);
    Recordset rs;
    rs.open(u"SELECT * FROM Files, Domains WHERE Domains.ID = Files.DomainID AND "
            "Domains.Name = 'ÉLECTRICITÉ'"_s,
            c);
    EXPECT_GE(rs.recordCount(), 2);
    rs.close();
    rs.open(u"SELECT * FROM Passwords WHERE Login = 'admin' AND pass = 'admin'"_s, c);
    EXPECT_EQ(rs.recordCount(), 1);
}

TEST_F(AdminToolTest, RefusesBadRequestsAndTouchesNothing) {
    const QString existing = path(u"existe.mdb"_s);
    writeFile(existing, "ne pas toucher");
    writeFile(path(u"orphelin.pws"_s), "x");
    const QStringList account = {u"--name"_s, u"A"_s,          u"--login"_s,
                                 u"abcd"_s,   u"--password"_s, u"abcd"_s};
    const struct {
        QStringList args;
        int code;
        QString message;
    } cases[] = {
        {QStringList{u"create"_s, existing} + account, 1, u"existe déjà"_s},
        {QStringList{u"demo"_s, existing}, 1, u"existe déjà"_s},
        {QStringList{u"create"_s, path(u"orphelin.mdb"_s)} + account, 1, u"existe déjà"_s},
        {QStringList{u"create"_s, path(u"absent/x.mdb"_s)} + account, 1, u"n'existe pas"_s},
        {QStringList{u"create"_s, u"/proc/lexivar-test.mdb"_s} + account, 1,
         u"Impossible d'écrire"_s},
        {QStringList{u"create"_s, path(u"x.db"_s)} + account, 1, u".mdb"_s},
        {QStringList{u"create"_s, path(u"x.mdb"_s), u"--name"_s, u"A"_s, u"--login"_s, u"abc"_s,
                     u"--password"_s, u"abcd"_s},
         1, u"Le nom d'usager doit compter de 4 à 15 caractères."_s},
        {QStringList{u"create"_s, path(u"x.mdb"_s)} + account +
             QStringList{u"--db-password"_s, u"☃"_s},
         1, u"☃"_s},
        {QStringList{u"create"_s, path(u"x.mdb"_s), u"--name"_s}, 1, u"incomplets"_s},
        {QStringList{u"supprimer"_s}, 2, u"Commande inconnue"_s},
        {QStringList{}, 2, u"Usage"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), c.code) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
    }
    EXPECT_EQ(readFile(existing), QByteArray("ne pas toucher"));
    EXPECT_EQ(QDir(path(u""_s)).entryList(QDir::Files | QDir::Hidden),
              (QStringList{u"existe.mdb"_s, u"orphelin.pws"_s}));
    EXPECT_EQ(run({u"--help"_s}), 0);
    EXPECT_TRUE(out.contains(u"lexivar-admin create"_s));
}
