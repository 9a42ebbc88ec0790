#include "app/CommandLine.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsLocation.h"
#include "core/session/Session.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/startup/Program.h"
#include "gui/widgets/AppIcon.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// Qt's French texts: the copy installed with the program first, then the system's.
void installQtFrench(QTranslator& translator) {
    const QString installed =
        QDir(QApplication::applicationDirPath()).filePath(u"../share/lexivar/translations"_s);
    for (const QString& folder : {installed, QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator.load(u"qtbase_fr"_s, folder)) {
            QApplication::installTranslator(&translator);
            return;
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (const auto answered = CommandLine::answer(argc, argv)) {
        return *answered;
    }
    QApplication app(argc, argv);
    ErrorReporter::install(std::make_unique<ErrorBoxReporter>());
    QApplication::setApplicationName(u"Lexivar"_s);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon::icon());
    QTranslator qtFrench;
    installQtFrench(qtFrench);
    const QString programFolder = QApplication::applicationDirPath();
    ProgramFolder::set(programFolder);
    const QString settings =
        SettingsLocation::resolve(programFolder, QProcessEnvironment::systemEnvironment());
    SettingsLocation::makeFolderFor(settings); // a failure shows when the first setting is saved
    ProgramFolder::setSettingsFile(settings);
    Session session; // nobody is signed in at start-up
    session.setLevel(0);
    const int code = runProgram(session);
    if (code >= 0) {
        return code;
    }
    const int result = QApplication::exec();
    shutDownProgram();
    return result;
}
