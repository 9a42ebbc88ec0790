#include "gui/widgets/ProgressWindow.h"

#include "gui/TestSupport.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A calling window: an enabled and a disabled button, a text box inside an enabled frame.
struct Caller {
    QWidget window;
    QPushButton* enabled = new QPushButton(&window);
    QPushButton* disabled = new QPushButton(&window);
    QGroupBox* frame = new QGroupBox(&window);
    QLineEdit* text = new QLineEdit(frame);

    Caller() {
        enabled->setObjectName(u"cmdSearch"_s);
        disabled->setObjectName(u"cmdDelete"_s);
        frame->setObjectName(u"fraCriteria"_s);
        text->setObjectName(u"txtSearch"_s);
        disabled->setEnabled(false);
        window.show();
    }
};

} // namespace

class ProgressWindowTest : public LexivarTest {
protected:
    void SetUp() override {
        LexivarTest::SetUp();
        bar.unload();
        bar.justRan();
    }
    void TearDown() override {
        bar.unload();
        bar.justRan();
        LexivarTest::TearDown();
    }
    ProgressWindow& bar = ProgressWindow::instance();
};

TEST_F(ProgressWindowTest, ARunOfFewerThanTwoStepsShowsNothing) {
    Caller caller;
    bar.start(1, 1, u"Recherche"_s, &caller.window);
    EXPECT_FALSE(bar.isLoaded());
    EXPECT_TRUE(caller.enabled->isEnabled());
    EXPECT_FALSE(bar.justRan());
}

TEST_F(ProgressWindowTest, BarFollowsTheCountAndClosesAtTheMaximum) {
    Caller caller;
    bar.start(1, 5, u"Affichage des fiches"_s, &caller.window);
    EXPECT_TRUE(bar.isLoaded());
    EXPECT_EQ(bar.title(), u"Affichage des fiches"_s);
    EXPECT_FALSE(caller.enabled->isEnabled());
    EXPECT_FALSE(caller.frame->isEnabled());
    EXPECT_EQ(bar.barValue(), 25);
    for (int expected : {50, 75, 100}) {
        bar.increment();
        EXPECT_EQ(bar.barValue(), expected);
        EXPECT_TRUE(bar.justRan()); // while up, without clearing anything
    }
    bar.increment();
    EXPECT_FALSE(bar.isLoaded());
    EXPECT_EQ(bar.value(), 5);
    bar.increment();
    EXPECT_EQ(bar.value(), 6);
    EXPECT_TRUE(bar.justRan());
    EXPECT_FALSE(bar.justRan());
    // Each control has its former state back.
    EXPECT_TRUE(caller.enabled->isEnabled());
    EXPECT_FALSE(caller.disabled->isEnabled());
    EXPECT_TRUE(caller.frame->isEnabled());
    EXPECT_TRUE(caller.text->isEnabled());
}

TEST_F(ProgressWindowTest, PercentRoundsHalvesToEvenAndNeverOverflows) {
    Caller caller;
    bar.start(0, 8, u""_s, &caller.window);
    bar.setValue(1); // 12.5 -> 12
    EXPECT_EQ(bar.barValue(), 12);
    bar.setValue(3); // 37.5 -> 38
    EXPECT_EQ(bar.barValue(), 38);
    bar.start(2000000000, 2000000002, u""_s, &caller.window);
    EXPECT_EQ(bar.barValue(), 100);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(ProgressWindowTest, ARestartKeepsTheFirstLocking) {
    Caller caller;
    bar.start(1, 10, u"a"_s, &caller.window);
    bar.start(1, 20, u"b"_s, &caller.window); // everything is disabled now
    EXPECT_EQ(bar.maximum(), 20);
    bar.setValue(20);
    EXPECT_FALSE(bar.isLoaded());
    EXPECT_TRUE(caller.enabled->isEnabled());
    EXPECT_FALSE(caller.disabled->isEnabled());
}
