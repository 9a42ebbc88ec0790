#include "gui/TestSupport.h"
#include "gui/dialogs/ErrorBox.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

ScriptedDialogs* dialogs = nullptr;

namespace {

// Each test starts with fresh scripted dialogs and none afterwards.
class FreshDialogs : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        Dialogs::install(std::move(scripted));
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        Dialogs::install(nullptr);
        dialogs = nullptr;
    }
};

} // namespace

// One application object for the whole run; windows never reach a real screen, and the
// single-copy lock lives in a folder of this run's own. What the core reports shows as the
// error box, as in the program.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication app(argc, argv);
    ErrorReporter::install(std::make_unique<ErrorBoxReporter>());
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshDialogs);
    return RUN_ALL_TESTS();
}
