#include "core/files/ProgramFolder.h"
#include "tools/admin/AdminTool.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Beside the program: the settings and a server's password file, as for the program itself.
    ProgramFolder::set(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return runAdminTool(args, out, err);
}
