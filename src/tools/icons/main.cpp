// lexivar-icons: writes the program's icon into a hicolor theme tree at the usual sizes, so the
// menu shows the same icon as the notification area.
#include "gui/widgets/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    // Drawn without a display, at build time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fputs("Usage : lexivar-icons DOSSIER\n", stderr);
        return 2;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = QString::number(size);
        const QString folder = args[1] + u"/hicolor/"_s + name + u'x' + name + u"/apps"_s;
        if (!QDir().mkpath(folder) ||
            !AppIcon::pixmap(size).save(folder + u"/lexivar.png"_s, "PNG")) {
            std::fprintf(stderr, "Impossible d'écrire l'icône dans %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
