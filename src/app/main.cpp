#include "AppIcon.h"
#include "Session.h"
#include "basMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Lexivar"_s);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon::icon());
    QTranslator qtFrench;
    if (qtFrench.load(u"qtbase_fr"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }
    SetAppPath(QApplication::applicationDirPath());
    EndSession(); // nobody is signed in at start-up
    gbyUserLevel = 0;
    const int code = Main();
    if (code >= 0) {
        return code;
    }
    const int result = QApplication::exec();
    ShutdownMain();
    return result;
}
