#include "core/files/SettingsFile.h"

#include "core/TestSupport.h"

using namespace Qt::StringLiterals;

class SettingsFileTest : public LexivarTest {};

TEST_F(SettingsFileTest, ReadsValuesAndDefaults) {
    const QString ini = path(u"Lexivar.ini"_s);
    writeFile(ini, "; commentaire\r\n"
                   "garbage line without equals\r\n"
                   "[Autre]\r\nPath=ailleurs\r\n"
                   "[ database ]\r\n  PATH =  C:\\data\\lexivar4.mdb  \r\n"
                   "[Vide]\r\n"
                   "\xff\xfe\x00 bytes\r\n"
                   "[Cité]\r\nClé=\"entre guillemets\"\r\n");
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u""_s, ini), u"C:\\data\\lexivar4.mdb"_s);
    EXPECT_EQ(readSetting(u"Vide"_s, u"Path"_s, u"défaut"_s, ini), u"défaut"_s);
    EXPECT_EQ(readSetting(u"Absente"_s, u"Path"_s, u""_s, ini), u""_s);
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u"x"_s, path(u"absent.ini"_s)), u"x"_s);
    // The file is in the single-byte code page: "é" is one byte there.
    writeFile(ini, "[Cit\xe9]\r\nCl\xe9=\"entre guillemets\"\r\n");
    EXPECT_EQ(readSetting(u"Cité"_s, u"Clé"_s, u""_s, ini), u"entre guillemets"_s);
}

TEST_F(SettingsFileTest, CutsLongValuesToTheirFirst127Characters) {
    const QString ini = path(u"Lexivar.ini"_s);
    const QByteArray longPath(200, 'p');
    writeFile(ini, "[Database]\r\nPath=" + longPath + "\r\n");
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u""_s, ini),
              QString::fromLatin1(longPath.left(127)));
}

TEST_F(SettingsFileTest, WritingKeepsEveryOtherLine) {
    const QString ini = path(u"Lexivar.ini"_s);
    const QByteArray before = "; mes notes\r\n"
                              "[Database]\r\nPath=ancien.mdb\r\nAutre=1\r\n\r\n"
                              "ligne bizarre [\n"
                              "[Fen\xeatres]\r\nX=10";
    writeFile(ini, before);
    ASSERT_TRUE(writeSetting(u"database"_s, u"path"_s, u"  /données/Lexivar4.mdb "_s, ini));
    EXPECT_EQ(readFile(ini), QByteArray("; mes notes\r\n"
                                        "[Database]\r\npath=/donn\xe9"
                                        "es/Lexivar4.mdb\r\nAutre=1\r\n\r\n"
                                        "ligne bizarre [\n"
                                        "[Fen\xeatres]\r\nX=10"));
    ASSERT_TRUE(writeSetting(u"Fenêtres"_s, u"Y"_s, u"20"_s, ini));
    ASSERT_TRUE(writeSetting(u"Nouvelle"_s, u"Clé"_s, u"v"_s, ini));
    EXPECT_TRUE(readFile(ini).endsWith("X=10\r\nY=20\r\n[Nouvelle]\r\nCl\xe9=v\r\n"));
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, u""_s, ini), u"/données/Lexivar4.mdb"_s);
    EXPECT_TRUE(reported->errors.empty());
}

TEST_F(SettingsFileTest, CreatesTheFileAndRefusesWhatItCannotStore) {
    const QString ini = path(u"Lexivar.ini"_s);
    ASSERT_TRUE(writeSetting(u"Database"_s, u"Path"_s, u"a.mdb"_s, ini));
    EXPECT_EQ(readFile(ini), QByteArray("[Database]\r\nPath=a.mdb\r\n"));

    EXPECT_FALSE(writeSetting(u"Database"_s, u"Path"_s, u"/données/東京.mdb"_s, ini));
    EXPECT_EQ(readFile(ini), QByteArray("[Database]\r\nPath=a.mdb\r\n"));
    ASSERT_EQ(reported->errors.size(), 1u);
    EXPECT_EQ(reported->errors[0].procedure, u"WriteProfile"_s);
    EXPECT_TRUE(reported->errors[0].description.contains(u"東"_s));

    EXPECT_FALSE(writeSetting(u"Database"_s, u"Path"_s, u"a"_s, path(u"absent/Lexivar.ini"_s)));
    ASSERT_EQ(reported->errors.size(), 2u);
    EXPECT_EQ(reported->errors[1].procedure, u"WriteProfile"_s);
    EXPECT_EQ(reported->errors[1].number, 76);
    EXPECT_EQ(reported->errors[1].wording, ErrorWording::Standard);
}
