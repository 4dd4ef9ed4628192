#include "platform/pipe_writer.hpp"

#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/event.hpp"
#include "platform/pipe_io.hpp"
#include "platform/system.hpp"
#include "support/child_engine.hpp"

namespace tarnwick {
namespace {

using testing::kGenerousDeadline;

// Far more than any pipe holds.
const std::string kSeveralMegabytes(8 << 20, 'x');

// A pipe that nobody reads unless the test does, with a writer on its write end.
struct UnreadPipe {
    UnreadPipe() : ends(makePipe()), writer(ends.writeEnd) { ignoreBrokenPipeSignal(); }
    ~UnreadPipe() { closePipe(ends.readEnd); }

    // Runs write on a thread of its own; whether it ended before the deadline. A write still
    // waiting then is ended by closing the read end, so that a failing test ends too.
    bool endsInTime(const std::function<void()>& write) {
        Event ended(Event::Reset::manual);
        std::thread writing([&] {
            write();
            ended.set();
        });
        const bool inTime = ended.wait(kGenerousDeadline);
        if (!inTime) closePipe(ends.readEnd);
        writing.join();
        return inTime;
    }

    std::string readSomeText() {
        char buffer[64];
        return std::string(buffer, readSome(ends.readEnd, buffer));
    }

    PipePair ends;
    PipeWriter writer;
};

TEST(PipeWriter, CancelEndsAWriteWaitingForRoomAndLaterWritesFail) {
    UnreadPipe pipe;
    bool written = true;
    std::thread writing([&] { written = pipe.writer.write(kSeveralMegabytes); });
    // Once the first bytes can be read, the rest of the write waits for room.
    char first = 0;
    ASSERT_EQ(readSome(pipe.ends.readEnd, {&first, 1}), 1u);
    EXPECT_EQ(first, 'x');
    pipe.writer.cancel();
    writing.join();
    EXPECT_FALSE(written);
    // The reader holds part of the cut write: nothing may be joined to it, room or not.
    written = true;
    EXPECT_TRUE(pipe.endsInTime([&] { written = pipe.writer.write("quit\n"); }));
    EXPECT_FALSE(written);
    pipe.writer.cancel();  // a second cancel is harmless
    EXPECT_FALSE(pipe.writer.write("quit\n"));
}

TEST(PipeWriter, AfterCancelWhatFitsIsStillWrittenAndNothingWaits) {
    UnreadPipe pipe;
    EXPECT_TRUE(pipe.writer.write("uci\n"));
    EXPECT_EQ(pipe.readSomeText(), "uci\n");
    pipe.writer.cancel();
    EXPECT_TRUE(pipe.writer.write("quit\n"));
    EXPECT_EQ(pipe.readSomeText(), "quit\n");
    bool written = true;
    EXPECT_TRUE(pipe.endsInTime([&] { written = pipe.writer.write(kSeveralMegabytes); }));
    EXPECT_FALSE(written);
}

TEST(PipeWriter, WritesToABrokenOrMissingPipeFail) {
    UnreadPipe pipe;
    closePipe(pipe.ends.readEnd);
    EXPECT_FALSE(pipe.writer.write("uci\n"));
    bool written = true;
    EXPECT_TRUE(pipe.endsInTime([&] { written = pipe.writer.write(kSeveralMegabytes); }));
    EXPECT_FALSE(written);

    PipeWriter none(kNoPipe);
    EXPECT_FALSE(none.write("uci\n"));
    none.cancel();
    EXPECT_FALSE(none.write("uci\n"));
}

}  // namespace
}  // namespace tarnwick
