#include "core/AppError.h"
#include "core/db/Command.h"
#include "core/db/DatabaseFixture.h"
#include "core/db/Recordset.h"
#include "core/db/Schema.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

long errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

INSTANTIATE_ON_BOTH_BACKENDS(BackendTest);

TEST_P(BackendTest, PasswordMustMatchTheDatabase) {
    Connection c;
    EXPECT_EQ(errorOf([&] { c.open(location(u"faux"_s), Connection::Mode::Read); }),
              ErrorNumber::NotValidPassword);
    EXPECT_EQ(errorOf([&] { c.open(location(u""_s), Connection::Mode::Read); }),
              ErrorNumber::NotValidPassword);
    EXPECT_FALSE(c.isOpen());
    c.open(location(dbPassword), Connection::Mode::ReadWrite);
    EXPECT_TRUE(c.isOpen());
    if (onServer()) {
        return; // a server's role always has a password
    }

    const QString plain = path(u"plain.mdb"_s);
    Schema::createDatabase(plain, u""_s);
    Connection p;
    EXPECT_EQ(errorOf([&] {
                  p.open({plain, u"x"_s}, Connection::Mode::Read);
              }),
              ErrorNumber::NotValidPassword);
    p.open({plain, u""_s}, Connection::Mode::Read);
    EXPECT_TRUE(p.isOpen());
}

TEST_F(DatabaseTest, FilesThatAreNotDatabasesAreRefusedUntouched) {
    const struct {
        QString name;
        QByteArray bytes;
    } cases[] = {
        {u"vide.mdb"_s, QByteArray()},
        {u"texte.mdb"_s, QByteArray(1024, 'a')},
        {u"court.mdb"_s, QByteArray("SQLite format 3\0 tronqué", 25)},
    };
    for (const auto& f : cases) {
        writeFile(path(f.name), f.bytes);
        Connection c;
        for (const QString& pw : {u""_s, u"clé"_s}) {
            EXPECT_EQ(errorOf([&] {
                          c.open({path(f.name), pw}, Connection::Mode::ReadWrite);
                      }),
                      ErrorNumber::ProviderGeneric)
                << f.name;
        }
        EXPECT_EQ(readFile(path(f.name)), f.bytes);
    }
    Connection c;
    EXPECT_EQ(errorOf([&] {
                  c.open({path(u"absent.mdb"_s), {}}, Connection::Mode::Read);
              }),
              ErrorNumber::ProviderGeneric);
    EXPECT_FALSE(QFile::exists(path(u"absent.mdb"_s)));
}

TEST_P(BackendTest, ReadOnlyConnectionsCannotWrite) {
    const qlonglong d = addDomain(u"Droit"_s);
    Connection c;
    open(c, true);
    Command cmd;
    cmd.setActiveConnection(c);
    cmd.setCommandText(u"DELETE * FROM domains WHERE ID = "_s + QString::number(d) + u";"_s);
    EXPECT_EQ(errorOf([&] { cmd.execute(); }), ErrorNumber::ReadOnly);
    Recordset rs;
    rs.open(u"SELECT * FROM Domains WHERE ID = 0"_s, c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    EXPECT_EQ(errorOf([&] { rs.addNew(); }), ErrorNumber::ReadOnly);
    rs.close();
    c.close();
    EXPECT_EQ(count(u"SELECT * FROM Domains"_s), 1);
}

TEST_P(BackendTest, AddNewGivesTheIdAtOnceAndStoresOnlyOnUpdate) {
    Connection c;
    open(c);
    {
        Recordset rs;
        rs.open(u"SELECT * FROM Domains WHERE ID = 0"_s, c, Recordset::Dynamic,
                Recordset::OptimisticLock);
        EXPECT_EQ(rs.recordCount(), 0);
        EXPECT_TRUE(rs.atEnd());
        rs.addNew();
        EXPECT_EQ(rs.value(u"ID"_s).toLongLong(), 1);
        rs.setValue(u"Name"_s, u"Informatique"_s);
        rs.update();
        rs.addNew();
        EXPECT_EQ(rs.value(u"id"_s).toLongLong(), 2);
        rs.setValue(u"Name"_s, u"Jamais stocké"_s);
        rs.close(); // no Update
        rs.open(u"SELECT * FROM Domains WHERE ID = 0"_s, c, Recordset::Dynamic,
                Recordset::OptimisticLock);
        rs.addNew();
        rs.setValue(u"Name"_s, u"Abandonné aussi"_s);
    } // destroyed without Update
    c.close();
    Connection r;
    open(r, true);
    Recordset all;
    all.open(u"SELECT * FROM Domains"_s, r);
    ASSERT_EQ(all.recordCount(), 1);
    EXPECT_EQ(all.value(u"Name"_s).toString(), u"Informatique"_s);
}

TEST_P(BackendTest, FailedUpdateLeavesNoRow) {
    Connection c;
    open(c);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE ID = 0"_s, c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.addNew();
    rs.setValue(u"DomainID"_s, 999); // no such domain
    EXPECT_EQ(errorOf([&] { rs.update(); }), ErrorNumber::Integrity);
    EXPECT_TRUE(rs.atEnd());
    rs.close();
    c.close();
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 0);
}

TEST_P(BackendTest, ExistingRowsChangeThroughFieldsUpdateAndMoveNext) {
    const qlonglong a = addDomain(u"A"_s);
    const qlonglong b = addDomain(u"B"_s);
    const qlonglong f1 = addFile(b, u"one"_s, u"un"_s);
    addFile(b, u"two"_s, u"deux"_s);
    const qlonglong f3 = addFile(a, u"three"_s, u"trois"_s);
    Connection c;
    open(c);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE domainID = "_s + QString::number(b), c, Recordset::Static,
            Recordset::OptimisticLock);
    while (!rs.atEnd()) {
        rs.setValue(u"DomainID"_s, a);
        rs.moveNext(); // moving on saves the change
    }
    rs.close();
    rs.open(u"SELECT * FROM Files WHERE ID = "_s + QString::number(f1).rightJustified(5, u'0'), c,
            Recordset::Dynamic, Recordset::OptimisticLock);
    ASSERT_EQ(rs.recordCount(), 1);
    rs.setValue(u"french"_s, u"Un modifié"_s);
    rs.update();
    rs.close();
    rs.open(u"Select * from files WHERE ID = "_s + QString::number(f3), c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.remove();
    rs.close();
    c.close();
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE DomainID = "_s + QString::number(a)), 2);
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE French = 'UN MODIFIÉ'"_s), 1);
}

TEST_P(BackendTest, JoinedRowsReadQualifiedAndPlainNames) {
    const qlonglong d = addDomain(u"Électricité"_s);
    const qlonglong f = addFile(d, u"circuit breaker"_s, u"disjoncteur"_s);
    Connection c;
    open(c, true);
    Recordset rs;
    rs.open(u"SELECT * FROM Files, Domains WHERE Domains.ID = Files.DomainID AND (Files.ID = "_s +
                QString::number(f) + u")"_s,
            c, Recordset::Static, Recordset::ReadOnlyLock);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(u"Files.Id"_s).toLongLong(), f);
    EXPECT_EQ(rs.value(u"Domains.ID"_s).toLongLong(), d);
    EXPECT_EQ(rs.value(u"Name"_s).toString(), u"Électricité"_s);
    EXPECT_EQ(rs.value(u"FRENCH"_s).toString(), u"disjoncteur"_s);
    EXPECT_EQ(errorOf([&] { rs.value(u"Inconnu"_s); }), ErrorNumber::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs.setValue(u"French"_s, u"x"_s); }), ErrorNumber::NotUpdatable);
    rs.moveNext();
    EXPECT_TRUE(rs.atEnd());
    EXPECT_EQ(errorOf([&] { rs.value(u"Name"_s); }), ErrorNumber::NoCurrentRecord);
}

// A forward-only result streams: it reads the same rows and values as one read whole, tells
// text cells from the others, and cannot be counted, changed or read past its end.
TEST_F(DatabaseTest, ForwardOnlyResultsStreamTheSameRows) {
    const qlonglong d = addDomain(u"Électricité"_s);
    addFile(d, u"circuit breaker"_s, u"disjoncteur"_s, QDate(2005, 12, 31));
    addFile(d, u"ground fault"_s, u"défaut à la terre"_s);
    addFile(d, QString(), u"œuvre"_s);
    const QString query = u"SELECT Files.ID, English, French, Files.Date, Name FROM Files, "
                          u"Domains WHERE Domains.ID = Files.DomainID ORDER BY Files.ID"_s;
    Connection c;
    open(c, true);
    Recordset whole;
    whole.open(query, c, Recordset::Static, Recordset::ReadOnlyLock);
    Recordset stream;
    stream.open(query, c, Recordset::ForwardOnly, Recordset::ReadOnlyLock);
    EXPECT_EQ(stream.recordCount(), -1);
    ASSERT_EQ(stream.fieldCount(), whole.fieldCount());
    int rows = 0;
    for (; !stream.atEnd(); stream.moveNext(), whole.moveNext(), ++rows) {
        ASSERT_FALSE(whole.atEnd());
        for (int i = 0; i < stream.fieldCount(); ++i) {
            const QVariant v = whole.value(i);
            EXPECT_EQ(stream.value(i), v) << rows << "," << i;
            EXPECT_EQ(stream.rawValue(i), whole.rawValue(i)) << rows << "," << i;
            const std::optional<QUtf8StringView> text = stream.utf8Text(i);
            EXPECT_EQ(text.has_value(), v.typeId() == QMetaType::QString) << rows << "," << i;
            if (text) {
                EXPECT_EQ(QString::fromUtf8(text->data(), text->size()), v.toString());
            }
        }
        EXPECT_EQ(stream.value(u"Files.Id"_s), whole.value(u"Files.Id"_s));
        EXPECT_EQ(errorOf([&] { stream.setValue(u"French"_s, u"x"_s); }),
                  ErrorNumber::NotUpdatable);
    }
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(whole.atEnd());
    EXPECT_EQ(errorOf([&] { stream.value(u"Name"_s); }), ErrorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { stream.moveNext(); }), ErrorNumber::NoCurrentRecord);
    EXPECT_EQ(
        errorOf([&] { stream.open(u"SELECT Inconnu FROM Files"_s, c, Recordset::ForwardOnly); }),
        ErrorNumber::SqlError);
    EXPECT_FALSE(stream.isOpen());
}

TEST_P(BackendTest, TextComparesWithoutRegardToCaseAccentsIncluded) {
    const qlonglong d = addDomain(u"Électricité"_s);
    addDomain(u"Eau potable"_s);
    addDomain(u"EAUX USÉES"_s);
    addDomain(u"Bureau"_s);
    addDomain(u"Zoologie"_s);
    addDomain(u"élevage"_s);
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name LIKE '%eau%'"_s), 3);
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name LIKE 'eau%'"_s), 2);
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name = 'électricité'"_s), 1);
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name = 'electricite'"_s), 0);
    EXPECT_EQ(count(u"SELECT * FROM domains WHERE Name LIKE '%USÉES'"_s), 1);
    // A plain pattern's "_" stands for one letter, accented or not.
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name LIKE '_levage'"_s), 1);
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name LIKE '_lectricit_'"_s), 1);
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name LIKE 'z%'"_s), 1);
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE ID = "_s + QString::number(d) +
                    u" OR NAME = 'l''eau'"_s),
              1);
    Connection c;
    open(c, true);
    Recordset rs;
    rs.open(u"SELECT NAME FROM Domains order by name"_s, c);
    QStringList names;
    for (; !rs.atEnd(); rs.moveNext()) {
        names << rs.value(u"Name"_s).toString();
    }
    EXPECT_EQ(names, (QStringList{u"Bureau"_s, u"Eau potable"_s, u"EAUX USÉES"_s, u"Électricité"_s,
                                  u"élevage"_s, u"Zoologie"_s}));
}

TEST_P(BackendTest, DeletingADomainDeletesItsRecords) {
    const qlonglong keep = addDomain(u"Garder"_s);
    const qlonglong gone = addDomain(u"Supprimer"_s);
    addFile(keep, u"a"_s, u"a"_s);
    for (int i = 0; i < 3; ++i) {
        addFile(gone, u"b"_s, u"b"_s);
    }
    Connection c;
    open(c);
    Command cmd;
    cmd.setActiveConnection(c);
    cmd.setCommandText(u"DELETE * FROM domains WHERE ID = "_s + QString::number(gone) + u";"_s);
    EXPECT_EQ(cmd.execute(), 1);
    c.close();
    EXPECT_EQ(count(u"SELECT * FROM Domains"_s), 1);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 1);
}

TEST_P(BackendTest, DatesAreDayNumbers) {
    const qlonglong d = addDomain(u"D"_s);
    addFile(d, u"old"_s, u"vieux"_s, QDate(2005, 12, 31)); // day 38717
    addFile(d, u"new"_s, u"neuf"_s, QDate(2006, 1, 1));
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE Files.Date <= 38717"_s), 1);
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE Files.Date >= 38717 AND Files.Date <= 38718"_s), 2);
    Connection c;
    open(c);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE Files.Date <= 38717"_s, c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    EXPECT_EQ(rs.value(u"Date"_s).toDateTime(), QDateTime(QDate(2005, 12, 31), QTime(0, 0)));
    EXPECT_TRUE(rs.value(u"DateModified"_s).isNull());
    const QDateTime stamp(QDate(2006, 3, 4), QTime(18, 30, 15));
    rs.setValue(u"DateModified"_s, stamp);
    rs.update();
    rs.close();
    rs.open(u"SELECT * FROM Files WHERE DateModified > 38780.77"_s, c);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(u"DateModified"_s).toDateTime(), stamp);
}

// A password reaches the engine exactly as given, whatever separators or quotes it holds.
TEST_F(DatabaseTest, PasswordsOpenAsGiven) {
    for (const QString& password :
         {u"a;b=c"_s, u"l'eau"_s, u"'entre guillemets'"_s, u";MODE=READ;"_s, u" espaces "_s}) {
        const QString file = path(u"base.mdb"_s);
        QFile::remove(file);
        Schema::createDatabase(file, password);
        Connection c;
        c.open({file, password}, Connection::Mode::ReadWrite);
        c.execute(u"INSERT INTO Domains (Name) VALUES ('écrit');"_s);
        c.close();
        EXPECT_EQ(errorOf([&] {
                      c.open({file, password + u"x"_s}, Connection::Mode::Read);
                  }),
                  ErrorNumber::NotValidPassword)
            << password.toStdString();
    }
}

// A writer killed mid-transaction leaves a hot journal; the first read connection rolls it back
// instead of failing, keeps only what was committed, and still writes nothing itself.
TEST_F(DatabaseTest, ReadConnectionsRollBackWhatAKilledWriterLeft) {
    const qlonglong domain = addDomain(u"Électricité"_s);
    addFile(domain, u"committed"_s, u"validé"_s);
    const QString copy = path(u"Copie.mdb"_s);
    {
        Connection writer;
        open(writer);
        writer.execute(u"PRAGMA cache_size = 2;"_s); // spills to the file before the commit
        writer.execute(u"BEGIN;"_s);
        writer.execute(
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
            u"400) INSERT INTO Files (English, DomainID) SELECT hex(randomblob(300)), "_s +
            QString::number(domain) + u" FROM n;"_s);
        // The files as a kill at this instant leaves them.
        ASSERT_TRUE(QFile::copy(dbPath, copy));
        ASSERT_TRUE(QFile::copy(dbPath + u"-journal"_s, copy + u"-journal"_s));
    }
    Connection reader;
    reader.open({copy, dbPassword}, Connection::Mode::Read);
    Recordset rs;
    rs.open(u"SELECT * FROM Files"_s, reader, Recordset::Static, Recordset::ReadOnlyLock);
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(u"English"_s).toString(), u"committed"_s);
    EXPECT_NE(errorOf([&] { reader.execute(u"DELETE * FROM Files;"_s); }), 0);
}

// Made once by SQLCipher 3.4 (Debian 12): every later engine must keep reading and writing it in
// that format, or a team with mixed workstations is locked out.
TEST_F(DatabaseTest, ABaseWrittenBySqlCipher3OpensAndStaysReadable) {
    const QString base = path(u"sqlcipher3.mdb"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(LEXIVAR_DB_FIXTURES "/sqlcipher3.mdb"), base));
    QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner);
    const DatabaseLocation team{base, u"clé de l'équipe"_s};
    // The only row's Name, through a fresh connection each time.
    const auto onlyName = [&](const QString& table, Connection::Mode mode) {
        Connection c;
        c.open(team, mode);
        Recordset rs;
        rs.open(u"SELECT Name FROM "_s + table, c, Recordset::Static, Recordset::ReadOnlyLock);
        return rs.recordCount() == 1 ? rs.value(u"Name"_s).toString() : u"<"_s + table + u">"_s;
    };
    EXPECT_EQ(onlyName(u"Passwords"_s, Connection::Mode::Read), u"Élise Gagnon"_s);
    {
        Connection c;
        c.open(team, Connection::Mode::ReadWrite);
        c.execute(u"INSERT INTO Domains (Name) VALUES (?)"_s, {u"Électricité"_s});
    }
    EXPECT_EQ(onlyName(u"Domains"_s, Connection::Mode::Read), u"Électricité"_s);
    EXPECT_EQ(onlyName(u"Passwords"_s, Connection::Mode::ReadWrite), u"Élise Gagnon"_s);
}
