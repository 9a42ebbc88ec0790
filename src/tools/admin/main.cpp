#include "core/files/ProgramFolder.h"
#include "core/files/SettingsLocation.h"
#include "tools/admin/AdminTool.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The program's settings, and a server's password file beside them, found as the program
    // finds them.
    const QString programFolder = QCoreApplication::applicationDirPath();
    ProgramFolder::set(programFolder);
    ProgramFolder::setSettingsFile(
        SettingsLocation::resolve(programFolder, QProcessEnvironment::systemEnvironment()));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return runAdminTool(args, out, err);
}
