#include "core/files/KeyValueStore.h"

#include "core/TestSupport.h"

using namespace Qt::StringLiterals;

class KeyValueStoreTest : public LexivarTest {
protected:
    void SetUp() override {
        LexivarTest::SetUp();
        setKeyValueStorePath(path(u"registry.ini"_s));
    }
    void TearDown() override {
        setKeyValueStorePath({});
        LexivarTest::TearDown();
    }
    const QString opera = QString::fromLatin1(kOperaAppPathKey);
};

TEST_F(KeyValueStoreTest, FindsValuesByExactName) {
    writeFile(path(u"registry.ini"_s),
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App "
              "Paths\\Opera.exe]\r\n"
              "Path=/opt/opera\r\n"
              "@=/opt/opera/Opera.exe\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Sans defaut]\r\n"
              "Nom=valeur\r\n");
    EXPECT_EQ(keyStoreValue(u""_s, opera, Hive::HKEY_LOCAL_MACHINE), u"/opt/opera/Opera.exe"_s);
    EXPECT_EQ(keyStoreValue(u"Path"_s, opera, Hive::HKEY_LOCAL_MACHINE), u"/opt/opera"_s);
    EXPECT_EQ(keyStoreValue(u"path"_s, opera, Hive::HKEY_LOCAL_MACHINE), u""_s);
    EXPECT_EQ(keyStoreValue(u""_s, opera, Hive::HKEY_CURRENT_USER), u""_s);
    EXPECT_EQ(keyStoreValue(u""_s, u"Software\\Sans defaut"_s, Hive::HKEY_LOCAL_MACHINE), u""_s);
    EXPECT_EQ(keyStoreValue(u"Nom"_s, u"software\\sans defaut"_s, Hive::HKEY_LOCAL_MACHINE),
              u"valeur"_s);
}

TEST_F(KeyValueStoreTest, EmptyStoreAndOverlongDataGiveEmptyText) {
    EXPECT_EQ(keyStoreValue(u""_s, opera, Hive::HKEY_LOCAL_MACHINE), u""_s);
    writeFile(path(u"registry.ini"_s),
              "[HKEY_LOCAL_MACHINE\\Long]\r\nA=" + QByteArray(300, 'x') + "\r\nB=court\r\n");
    EXPECT_EQ(keyStoreValue(u"B"_s, u"Long"_s, Hive::HKEY_LOCAL_MACHINE), u""_s);
    EXPECT_TRUE(reported->errors.empty());
}
