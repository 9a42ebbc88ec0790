#include "core/interchange/LegacyImport.h"

#include "core/interchange/MemoryReader.h"

#include "core/AppError.h"
#include "core/TestSupport.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/files/PasswordFile.h"

#include <QDateTime>
#include <QDir>
#include <QMap>

using namespace Qt::StringLiterals;

namespace {

LegacyRow domain(const QVariant& id, const QVariant& name) {
    return {{u"ID"_s, id}, {u"Name"_s, name}};
}

LegacyRow record(const QVariant& id, const QVariant& domainId, const QString& english = u"term"_s) {
    return {{u"ID"_s, id},
            {u"English"_s, english},
            {u"French"_s, u"terme"_s},
            {u"AF"_s, QVariant()},
            {u"DomainID"_s, domainId},
            {u"DEFINITION"_s, QVariant()},
            {u"OBSERVATION"_s, QVariant()},
            {u"Date"_s, QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9))},
            {u"CreatedBy"_s, u"admin"_s},
            {u"DateModified"_s, QVariant()},
            {u"ModifiedBy"_s, QVariant()}};
}

LegacyRow account(const QVariant& id, const QString& login, const QVariant& type) {
    return {{u"ID"_s, id},
            {u"Name"_s, u"Émilie Lévesque"_s},
            {u"Login"_s, login},
            {u"Pass"_s, u"s3cret"_s},
            {u"Type"_s, type}};
}

} // namespace

class LegacyImportTest : public LexivarTest {
protected:
    MemoryReader reader;
    QString target;

    void SetUp() override {
        LexivarTest::SetUp();
        target = path(u"Nouvelle.mdb"_s);
        reader.tablesByName[u"Domains"_s] = {};
        reader.tablesByName[u"Files"_s] = {};
        reader.tablesByName[u"Passwords"_s] = {};
    }

    // Every row of a table of the new base, by ID, with its columns in order.
    QMap<qint64, QVariantList> stored(const QString& table, const QString& password) {
        Connection c;
        c.open({target, password}, Connection::Mode::Read);
        Recordset rs;
        rs.open(u"SELECT * FROM "_s + table + u" ORDER BY ID"_s, c);
        QMap<qint64, QVariantList> rows;
        for (; !rs.atEnd(); rs.moveNext()) {
            QVariantList values;
            for (int i = 0; i < rs.fieldCount(); ++i) {
                values << rs.value(i);
            }
            rows.insert(rs.value(u"ID"_s).toLongLong(), values);
        }
        return rows;
    }

    QStringList folderContents() const {
        return QDir(path(u""_s)).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
};

// What a team's base holds, brought across value for value: IDs kept (with gaps), NULL apart
// from empty text, CR LF, accents, a date before 1900 with its time, a 70 000-character memo.
TEST_F(LegacyImportTest, BringsEveryValueAcrossUnchanged) {
    const QString memo =
        QString(u"Définition très longue — œuvre, « citation ».\r\n"_s).repeated(1500);
    ASSERT_GE(memo.size(), 70000);
    const QDateTime old(QDate(1887, 3, 14), QTime(15, 9, 26));
    const QDateTime modified(QDate(2019, 12, 31), QTime(23, 59, 58));
    reader.tablesByName[u"Domains"_s] = {domain(3, u"Médecine"_s), domain(17, u"Droit"_s)};
    reader.tablesByName[u"Files"_s] = {
        {{u"ID"_s, 42},
         {u"English"_s, u"heart"_s},
         {u"French"_s, u"cœur"_s},
         {u"AF"_s, u""_s},
         {u"DomainID"_s, 3},
         {u"DEFINITION"_s, memo},
         {u"OBSERVATION"_s, u"ligne 1\r\nligne 2\r\n"_s},
         {u"Date"_s, old},
         {u"CreatedBy"_s, u"Éloïse Côté"_s},
         {u"DateModified"_s, modified},
         {u"ModifiedBy"_s, QVariant()}},
        record(100000, 17, u"x'); DROP TABLE Files; --"_s),
    };
    reader.tablesByName[u"Passwords"_s] = {account(5, u"ecote"_s, 2)};

    const auto summary = importLegacyDatabase(reader, target, u"clé du groupe"_s);

    EXPECT_TRUE(summary.skipped.isEmpty());
    EXPECT_EQ(summary.records.imported, 2);
    QString password;
    ASSERT_TRUE(readPasswordFile(passwordFileOf(target), password));
    EXPECT_EQ(password, u"clé du groupe"_s);
    const auto files = stored(u"Files"_s, password);
    ASSERT_EQ(files.keys(), (QList<qint64>{42, 100000}));
    const QVariantList& r = files.value(42);
    EXPECT_EQ(r[1], QVariant(u"heart"_s));
    EXPECT_EQ(r[2], QVariant(u"cœur"_s));
    EXPECT_FALSE(r[3].isNull());
    EXPECT_EQ(r[3].toString(), u""_s);
    EXPECT_EQ(r[4].toLongLong(), 3);
    EXPECT_EQ(r[5].toString(), memo);
    EXPECT_EQ(r[6].toString(), u"ligne 1\r\nligne 2\r\n"_s);
    EXPECT_EQ(r[7].toDateTime(), old);
    EXPECT_EQ(r[8].toString(), u"Éloïse Côté"_s);
    EXPECT_EQ(r[9].toDateTime(), modified);
    EXPECT_TRUE(r[10].isNull());
    EXPECT_TRUE(files.value(100000)[5].isNull());
    EXPECT_EQ(files.value(100000)[1], QVariant(u"x'); DROP TABLE Files; --"_s));
    EXPECT_EQ(stored(u"Domains"_s, password).value(17)[1], QVariant(u"Droit"_s));
    const auto accounts = stored(u"Passwords"_s, password);
    ASSERT_EQ(accounts.keys(), (QList<qint64>{5}));
    EXPECT_EQ(accounts.value(5)[2], QVariant(u"ecote"_s));
    EXPECT_EQ(accounts.value(5)[4].toInt(), 2);
    // A record added later continues after the highest kept number.
    Connection c;
    c.open({target, password}, Connection::Mode::ReadWrite);
    Recordset add;
    add.open(u"SELECT * FROM Files WHERE ID = 0"_s, c, Recordset::Dynamic,
             Recordset::OptimisticLock);
    add.addNew();
    EXPECT_EQ(add.value(u"ID"_s).toLongLong(), 100001);
}

// Rows the new base cannot take are listed with their reason; the rest comes across.
TEST_F(LegacyImportTest, ReportsRowsThatBreakTheRulesAndImportsTheRest) {
    reader.tablesByName[u"Domains"_s] = {domain(1, u"Médecine"_s),
                                         domain(2, u"MÉDECINE"_s),
                                         domain(0, u"Zéro"_s),
                                         domain(-4, u"Négatif"_s),
                                         domain(QVariant(), u"Sans numéro"_s),
                                         domain(1, u"Bis"_s),
                                         domain(5, u"Droit"_s)};
    reader.tablesByName[u"Files"_s] = {record(10, 1),
                                       record(11, 2),
                                       record(12, 99),
                                       record(13, QVariant()),
                                       record(-1, 1),
                                       record(14, 5),
                                       record(QVariant(2.5), 5),
                                       record(QVariant(Q_INT64_C(3000000000)), 5),
                                       [] {
                                           LegacyRow r = record(15, 5);
                                           r[u"Date"_s] = QDateTime();
                                           return r;
                                       }()};
    reader.tablesByName[u"Passwords"_s] = {account(1, u"admin"_s, 0), account(2, u"bad"_s, u"x"_s)};

    const auto summary = importLegacyDatabase(reader, target, QString());

    EXPECT_EQ(summary.domains.read, 7);
    EXPECT_EQ(summary.domains.imported, 2);
    EXPECT_EQ(summary.records.read, 9);
    EXPECT_EQ(summary.records.imported, 3);
    EXPECT_EQ(summary.accounts.imported, 1);
    QStringList reasons;
    for (const auto& s : summary.skipped) {
        reasons << s.table + u' ' + (s.id.isNull() ? u"-"_s : s.id.toString()) + u": "_s + s.reason;
    }
    EXPECT_EQ(reasons,
              (QStringList{
                  u"Domains 2: même nom que le domaine n° 1 (« Médecine ») ; ses fiches y sont "
                  u"rattachées"_s,
                  u"Domains 0: numéro non valide (« 0 »)"_s,
                  u"Domains -4: numéro non valide (« -4 »)"_s,
                  u"Domains -: numéro non valide (vide)"_s,
                  u"Domains 1: numéro en double"_s,
                  u"Files 12: domaine n° 99 introuvable"_s,
                  u"Files 13: domaine absent"_s,
                  u"Files -1: numéro non valide (« -1 »)"_s,
                  u"Files 2.5: numéro non valide (« 2.5 »)"_s,
                  u"Files 3000000000: numéro non valide (« 3000000000 »)"_s,
                  u"Files 15: date non valide dans la colonne Date"_s,
                  u"Passwords 2: valeur non valide dans la colonne Type (« x »)"_s,
              }));
    const auto files = stored(u"Files"_s, QString());
    ASSERT_EQ(files.keys(), (QList<qint64>{10, 11, 14}));
    EXPECT_EQ(files.value(11)[4].toLongLong(), 1); // the record of the second "Médecine"
    EXPECT_EQ(stored(u"Domains"_s, QString()).keys(), (QList<qint64>{1, 5}));
}

TEST_F(LegacyImportTest, SummarisesInFrench) {
    LegacyImportSummary s;
    s.domains = {2, 2};
    s.records = {3, 1};
    s.accounts = {1, 1};
    s.skipped = {{u"Files"_s, 12, u"domaine n° 99 introuvable"_s},
                 {u"Files"_s, QVariant(), u"numéro non valide (vide)"_s}};
    EXPECT_EQ(summaryText(s, u"/bases/Nouvelle.mdb"_s),
              u"Importation terminée : « /bases/Nouvelle.mdb ».\n"
              u"Domaines : 2 importés sur 2 lus.\n"
              u"Fiches : 1 importée sur 3 lues.\n"
              u"Usagers : 1 importé sur 1 lu.\n"
              u"Lignes écartées : 2\n"
              u"- Fiche n° 00012 : domaine n° 99 introuvable.\n"
              u"- Fiche n° (vide) : numéro non valide (vide)."_s);
    EXPECT_TRUE(summaryText(s, u"x.mdb"_s, 1).endsWith(u"introuvable.\n… et 1 autres."_s));
    s.skipped.clear();
    EXPECT_TRUE(summaryText(s, u"x.mdb"_s)
                    .endsWith(u"Usagers : 1 importé sur 1 lu.\nAucune "
                              u"ligne n’a été écartée."_s));
}

// The target and its password file are never replaced, and nothing is created beside them.
TEST_F(LegacyImportTest, NeverReplacesAFile) {
    for (const QString& existing : {target, passwordFileOf(target)}) {
        SCOPED_TRACE(existing.toStdString());
        writeFile(existing, "keep me");
        EXPECT_THROW(importLegacyDatabase(reader, target, u"pw"_s), AppError);
        EXPECT_EQ(readFile(existing), QByteArray("keep me"));
        EXPECT_EQ(folderContents().size(), 1) << folderContents().join(u' ');
        QFile::remove(existing);
    }
}

// A failure part way (an unreadable table, a missing one) leaves no base, no password file and no
// temporary file behind.
TEST_F(LegacyImportTest, AFailureLeavesNothingBehind) {
    reader.tablesByName[u"Domains"_s] = {domain(1, u"Médecine"_s)};
    reader.tablesByName[u"Files"_s] = {record(10, 1), record(11, 1)};
    reader.failOn = u"Files"_s;
    EXPECT_THROW(importLegacyDatabase(reader, target, u"pw"_s), AppError);
    EXPECT_TRUE(folderContents().isEmpty()) << folderContents().join(u' ');

    reader.failOn.clear();
    reader.tablesByName.remove(u"Passwords"_s);
    EXPECT_THROW(importLegacyDatabase(reader, target, u"pw"_s), AppError);
    EXPECT_TRUE(folderContents().isEmpty()) << folderContents().join(u' ');
}

TEST_F(LegacyImportTest, ReportsProgressUpToTheLastRow) {
    for (int i = 1; i <= 450; ++i) {
        reader.tablesByName[u"Domains"_s] << domain(i, u"Domaine "_s + QString::number(i));
    }
    QList<std::pair<qint64, qint64>> calls;
    importLegacyDatabase(reader, target, QString(), [&](qint64 done, qint64 total) {
        calls.append({done, total});
    });
    ASSERT_FALSE(calls.isEmpty());
    EXPECT_EQ(calls.last(), (std::pair<qint64, qint64>{450, 450}));
    EXPECT_EQ(calls.first(), (std::pair<qint64, qint64>{200, 450}));
}

// The old base's password file gives the new base its password.
TEST_F(LegacyImportTest, FindsThePasswordOfTheOldBase) {
    const QString old = path(u"Ancienne.mdb"_s);
    EXPECT_EQ(legacyDatabasePassword(old), std::nullopt);
    ASSERT_TRUE(writePasswordFile(passwordFileOf(old), u"ancien mot"_s));
    EXPECT_EQ(legacyDatabasePassword(old), std::optional<QString>(u"ancien mot"_s));
}

TEST_F(LegacyImportTest, NamesTheConvertedCopyBesideTheOldBase) {
    const QString old = path(u"Lexivar4.mdb"_s);
    EXPECT_EQ(convertedDatabasePath(old), path(u"Lexivar4-converti.mdb"_s));
    writeFile(path(u"Lexivar4-converti.pws"_s), "");
    EXPECT_EQ(convertedDatabasePath(old), path(u"Lexivar4-converti-2.mdb"_s));
    writeFile(path(u"Lexivar4-converti-2.mdb"_s), "");
    EXPECT_EQ(convertedDatabasePath(old), path(u"Lexivar4-converti-3.mdb"_s));
}
