#include "common/frmProgressBar.h"

#include "TestSupport.h"

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

class frmProgressBarTest : public LexivarTest {
protected:
    void SetUp() override {
        LexivarTest::SetUp();
        bar.Unload();
        bar.ProgressBarJustRan();
    }
    void TearDown() override {
        bar.Unload();
        bar.ProgressBarJustRan();
        LexivarTest::TearDown();
    }
    frmProgressBar& bar = frmProgressBar::instance();
};

TEST_F(frmProgressBarTest, ARunOfFewerThanTwoStepsShowsNothing) {
    Caller caller;
    bar.ProgressBarInitialize(1, 1, u"Recherche"_s, &caller.window);
    EXPECT_FALSE(bar.Loaded());
    EXPECT_TRUE(caller.enabled->isEnabled());
    EXPECT_FALSE(bar.ProgressBarJustRan());
}

TEST_F(frmProgressBarTest, BarFollowsTheCountAndClosesAtTheMaximum) {
    Caller caller;
    bar.ProgressBarInitialize(1, 5, u"Affichage des fiches"_s, &caller.window);
    EXPECT_TRUE(bar.Loaded());
    EXPECT_EQ(bar.ProgressBarTitle(), u"Affichage des fiches"_s);
    EXPECT_FALSE(caller.enabled->isEnabled());
    EXPECT_FALSE(caller.frame->isEnabled());
    EXPECT_EQ(bar.barValue(), 25);
    for (int expected : {50, 75, 100}) {
        bar.ProgressBarIncrement();
        EXPECT_EQ(bar.barValue(), expected);
        EXPECT_TRUE(bar.ProgressBarJustRan()); // while up, without clearing anything
    }
    bar.ProgressBarIncrement();
    EXPECT_FALSE(bar.Loaded());
    EXPECT_EQ(bar.ProgressBarValue(), 5);
    bar.ProgressBarIncrement();
    EXPECT_EQ(bar.ProgressBarValue(), 6);
    EXPECT_TRUE(bar.ProgressBarJustRan());
    EXPECT_FALSE(bar.ProgressBarJustRan());
    // Each control has its former state back.
    EXPECT_TRUE(caller.enabled->isEnabled());
    EXPECT_FALSE(caller.disabled->isEnabled());
    EXPECT_TRUE(caller.frame->isEnabled());
    EXPECT_TRUE(caller.text->isEnabled());
}

TEST_F(frmProgressBarTest, PercentRoundsHalvesToEvenAndNeverOverflows) {
    Caller caller;
    bar.ProgressBarInitialize(0, 8, u""_s, &caller.window);
    bar.setProgressBarValue(1); // 12.5 -> 12
    EXPECT_EQ(bar.barValue(), 12);
    bar.setProgressBarValue(3); // 37.5 -> 38
    EXPECT_EQ(bar.barValue(), 38);
    bar.ProgressBarInitialize(2000000000, 2000000002, u""_s, &caller.window);
    EXPECT_EQ(bar.barValue(), 100);
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(frmProgressBarTest, ARestartKeepsTheFirstLocking) {
    Caller caller;
    bar.ProgressBarInitialize(1, 10, u"a"_s, &caller.window);
    bar.ProgressBarInitialize(1, 20, u"b"_s, &caller.window); // everything is disabled now
    EXPECT_EQ(bar.ProgressBarMax(), 20);
    bar.setProgressBarValue(20);
    EXPECT_FALSE(bar.Loaded());
    EXPECT_TRUE(caller.enabled->isEnabled());
    EXPECT_FALSE(caller.disabled->isEnabled());
}
