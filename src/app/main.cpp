#include "Session.h"
#include "basMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Lexivar"_s);
    QApplication::setQuitOnLastWindowClosed(false);
    QTranslator qtFrench;
    if (qtFrench.load(u"qtbase_fr"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }
    SetAppPath(QApplication::applicationDirPath());
    const int code = Main();
    if (code >= 0) {
        return code;
    }
    // The windows and the notification-area icon are not built yet: start-up ends here.
    QTextStream(stdout) << u"Lexivar : base de données « "_s << gsDBPath << u" » configurée.\n"_s;
    return 0;
}
