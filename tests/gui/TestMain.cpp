#include "gui/dialogs/ErrorBox.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// One application object for the whole run; windows never reach a real screen, and the
// single-copy lock lives in a folder of this run's own.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication app(argc, argv);
    ErrorReporter::install(std::make_unique<ErrorBoxReporter>());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
