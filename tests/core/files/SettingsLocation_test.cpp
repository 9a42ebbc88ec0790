#include "core/files/SettingsLocation.h"

#include "core/TestSupport.h"
#include "core/files/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

class SettingsLocationTest : public LexivarTest {
protected:
    QProcessEnvironment environment(const QString& configHome, const QString& home) const {
        QProcessEnvironment env;
        if (!configHome.isNull()) {
            env.insert(u"XDG_CONFIG_HOME"_s, configHome);
        }
        if (!home.isNull()) {
            env.insert(u"HOME"_s, home);
        }
        return env;
    }
};

TEST_F(SettingsLocationTest, BesideTheProgramFirstThenTheUsersConfigurationFolder) {
    const QString program = path(u"programme"_s);
    QDir().mkpath(program);
    struct Case {
        const char* what;
        bool fileBeside;
        QString configHome;
        QString home;
        QString expected;
    };
    const QString beside = program + u"/Lexivar.ini"_s;
    const Case cases[] = {
        {"portable layout", true, path(u"cfg"_s), path(u"maison"_s), beside},
        {"configuration home", false, path(u"cfg"_s), path(u"maison"_s),
         path(u"cfg/Lexivar/Lexivar.ini"_s)},
        {"no configuration home", false, QString(), path(u"maison"_s),
         path(u"maison/.config/Lexivar/Lexivar.ini"_s)},
        {"relative configuration home is ignored", false, u"cfg"_s, path(u"maison"_s),
         path(u"maison/.config/Lexivar/Lexivar.ini"_s)},
        {"no home at all", false, QString(), QString(), beside},
    };
    for (const Case& c : cases) {
        QFile::remove(beside);
        if (c.fileBeside) {
            writeFile(beside, "[Database]\r\nPath=x.mdb\r\n");
        }
        EXPECT_EQ(SettingsLocation::resolve(program, environment(c.configHome, c.home)), c.expected)
            << c.what;
    }
}

TEST_F(SettingsLocationTest, AFirstStartMakesAPrivateConfigurationFolder) {
    const QString file = SettingsLocation::resolve(path(u"programme"_s),
                                                   environment(path(u"cfg"_s), path(u"maison"_s)));
    ASSERT_TRUE(SettingsLocation::makeFolderFor(file));
    ASSERT_TRUE(writeSetting(u"Database"_s, u"Path"_s, u"/équipe/Lexivar4.mdb"_s, file));
    EXPECT_EQ(readSetting(u"Database"_s, u"Path"_s, QString(), file), u"/équipe/Lexivar4.mdb"_s);
    EXPECT_EQ(QFileInfo(path(u"cfg/Lexivar"_s)).permissions() & 0x0077, 0);
    EXPECT_TRUE(reported->errors.empty());
    // The program's own folder, when the file is there, keeps its permissions.
    const QString program = path(u"programme"_s);
    QDir().mkpath(program);
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ReadOther);
    EXPECT_TRUE(SettingsLocation::makeFolderFor(program + u"/Lexivar.ini"_s));
    EXPECT_TRUE(QFile::permissions(program) & QFile::ReadOther);
}
