#include "core/files/ProgramFolder.h"
#include "core/session/Session.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/startup/Program.h"
#include "gui/widgets/AppIcon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ErrorReporter::install(std::make_unique<ErrorBoxReporter>());
    QApplication::setApplicationName(u"Lexivar"_s);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon::icon());
    QTranslator qtFrench;
    if (qtFrench.load(u"qtbase_fr"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }
    ProgramFolder::set(QApplication::applicationDirPath());
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
