#include "core/files/RuntimeFolder.h"

#include "core/TestSupport.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

mode_t modeOf(const QString& folder) {
    struct stat st {};
    ::lstat(QFile::encodeName(folder).constData(), &st);
    return st.st_mode;
}

} // namespace

class RuntimeFolderTest : public LexivarTest {
protected:
    QProcessEnvironment runtimeAt(const QString& folder) const {
        QProcessEnvironment env;
        env.insert(u"XDG_RUNTIME_DIR"_s, folder);
        return env;
    }
    QString makeFolder(const QString& name, mode_t mode) const {
        const QString folder = path(name);
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), mode);
        return folder;
    }
};

TEST_F(RuntimeFolderTest, UsesAPrivateFolderInTheUsersRuntimeFolder) {
    const QString runtime = makeFolder(u"run"_s, 0700);
    const QString folder = RuntimeFolder::make(runtimeAt(runtime), path(u"tmp"_s));
    EXPECT_EQ(folder, runtime + u"/Lexivar/"_s);
    EXPECT_TRUE(S_ISDIR(modeOf(folder)));
    EXPECT_EQ(modeOf(folder) & 077, 0u);
    // A second start finds it again.
    EXPECT_EQ(RuntimeFolder::make(runtimeAt(runtime), path(u"tmp"_s)), folder);
}

TEST_F(RuntimeFolderTest, FallsBackToAPrivateTemporaryFolderWhenTheRuntimeFolderIsUnfit) {
    const QString temporaryRoot = makeFolder(u"tmp"_s, 01777);
    const QString shared = makeFolder(u"partagé"_s, 01777);
    const QString withLink = makeFolder(u"lien"_s, 0700);
    const QString elsewhere = makeFolder(u"ailleurs"_s, 0700);
    QFile::link(elsewhere, withLink + u"/Lexivar"_s);
    const QString withFile = makeFolder(u"fichier"_s, 0700);
    writeFile(withFile + u"/Lexivar"_s, "x");
    struct Case {
        const char* what;
        QString runtime;
    };
    const Case cases[] = {
        {"unset", QString()},
        {"relative", u"run"_s},
        {"missing", path(u"absent"_s)},
        {"shared with others", shared},
        {"Lexivar is a link", withLink},
        {"Lexivar is a file", withFile},
    };
    for (const Case& c : cases) {
        const QString folder = RuntimeFolder::make(
            c.runtime.isNull() ? QProcessEnvironment() : runtimeAt(c.runtime), temporaryRoot);
        EXPECT_TRUE(folder.startsWith(temporaryRoot + u"/lexivar-"_s)) << c.what << folder;
        EXPECT_TRUE(S_ISDIR(modeOf(folder))) << c.what;
        EXPECT_EQ(modeOf(folder) & 077, 0u) << c.what;
    }
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    // Qt's temporary folder is empty when $TMPDIR names none: the system's, never the root.
    EXPECT_TRUE(RuntimeFolder::make({}, QString()).startsWith(u"/tmp/lexivar-"_s));
}
