#include "gui/widgets/SingleWindow.h"

#include "core/session/Session.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// A window that refuses to close while told to, as one with unsaved changes does.
class Probe : public QWidget {
public:
    explicit Probe(Session&) {}
    bool refuse = false;

protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(!refuse); }
};

} // namespace

TEST(SingleWindowTest, OneWindowUntilItsCloseIsAccepted) {
    Session session;
    int setUps = 0;
    const auto setUp = [&](Probe&) { ++setUps; };
    Probe* first = SingleWindow<Probe>::open(session, setUp);
    EXPECT_EQ(SingleWindow<Probe>::open(session, setUp), first);
    EXPECT_EQ(setUps, 1);
    EXPECT_TRUE(first->isVisible());

    first->refuse = true;
    EXPECT_FALSE(first->close());
    EXPECT_EQ(SingleWindow<Probe>::existing(), first);

    first->refuse = false;
    QPointer<Probe> closed = first;
    EXPECT_TRUE(first->close());
    // Qt deletes it only from the event loop, yet it is no longer the open window: opening
    // again at once gives a new one.
    ASSERT_FALSE(closed.isNull());
    EXPECT_EQ(SingleWindow<Probe>::existing(), nullptr);
    Probe* second = SingleWindow<Probe>::open(session, setUp);
    EXPECT_NE(second, first);
    EXPECT_EQ(setUps, 2);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull()); // deleted on close
    EXPECT_EQ(SingleWindow<Probe>::existing(), second);
    delete second;
    EXPECT_EQ(SingleWindow<Probe>::existing(), nullptr);
}
