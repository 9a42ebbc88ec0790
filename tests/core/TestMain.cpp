#include "core/TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Each test starts with nothing reported; what the core reports is kept for the test to check.
class FreshReporter : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        auto recorder = std::make_unique<RecordingReporter>();
        reported = recorder.get();
        ErrorReporter::install(std::move(recorder));
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        ErrorReporter::install(nullptr);
        reported = nullptr;
    }
};

} // namespace

// The core needs no display: one core application object for the whole run, and a runtime
// folder of this run's own.
int main(int argc, char* argv[]) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshReporter);
    return RUN_ALL_TESTS();
}
