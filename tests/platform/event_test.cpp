#include "platform/event.hpp"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "support/child_engine.hpp"

namespace tarnwick {
namespace {

using std::chrono::milliseconds;

TEST(Event, AutoResetIsConsumedByTheWaitManualResetStays) {
    Event automatic(Event::Reset::automatic);
    Event manual(Event::Reset::manual);
    EXPECT_FALSE(automatic.isSet());
    EXPECT_EQ(waitForAny({&automatic, &manual}, milliseconds(0)), kWaitTimedOut);

    automatic.set();
    EXPECT_TRUE(automatic.wait(milliseconds(0)));
    EXPECT_FALSE(automatic.isSet());
    EXPECT_FALSE(automatic.wait(milliseconds(1)));

    manual.set();
    EXPECT_TRUE(manual.wait(milliseconds(0)));
    EXPECT_TRUE(manual.wait(milliseconds(0)));
    manual.reset();
    EXPECT_FALSE(manual.isSet());

    Event initiallySet(Event::Reset::manual, true);
    EXPECT_TRUE(initiallySet.wait(milliseconds(0)));
}

TEST(Event, EarlierEventWinsAndTheLaterOneIsKept) {
    Event readerEnded(Event::Reset::manual);
    Event searchEnded(Event::Reset::automatic);
    searchEnded.set();
    readerEnded.set();  // ended before the wait began: still noticed, and first
    EXPECT_EQ(waitForAny({&readerEnded, &searchEnded}, milliseconds(0)), 0);
    EXPECT_TRUE(searchEnded.isSet());
    readerEnded.reset();
    EXPECT_EQ(waitForAny({&readerEnded, &searchEnded}, milliseconds(0)), 1);
    EXPECT_FALSE(searchEnded.isSet());
}

TEST(Event, SetFromAnotherThreadWakesTheWaiter) {
    Event readerEnded(Event::Reset::manual);
    Event searchEnded(Event::Reset::automatic);
    for (int round = 0; round < 200; ++round) {
        std::thread setter([&] { (round % 2 == 0 ? searchEnded : readerEnded).set(); });
        const int woken = waitForAny({&readerEnded, &searchEnded}, testing::kGenerousDeadline);
        setter.join();
        ASSERT_EQ(woken, round % 2 == 0 ? 1 : 0) << "round " << round;
        readerEnded.reset();
    }
}

}  // namespace
}  // namespace tarnwick
