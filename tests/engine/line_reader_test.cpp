#include "engine/line_reader.hpp"
#include "support/test_paths.hpp"

#include <atomic>

#include <gtest/gtest.h>

#include "engine/engine_process.hpp"
#include "platform/system.hpp"
#include "support/child_engine.hpp"
#include "support/read_engine.hpp"

#ifdef HAVE_TEST_ENGINE
namespace tarnwick {
namespace {

using Lines = std::vector<std::string>;
using testing::kGenerousDeadline;
using testing::LineCollector;
using testing::ReadEngine;
using testing::testEngineCommand;

TEST(LineReader, CutsRawOutputIntoLinesAndDropsTheUnfinishedLast) {
    LineCollector collector;
    ReadEngine run(R"(on start: printraw readyok\r\nab\rc\n\n\r\nx\0y\n\0\n; stderr joined; )"
                   R"(printraw last line without newline; exit 0)",
                   collector);
    ASSERT_NE(run.id, 0u);
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.reader.ended().wait(kGenerousDeadline));
    EXPECT_EQ(collector.lines(), (Lines{"readyok", "abc", "", "", "x", "", "joined"}));
    run.reader.stop();
    run.engine.stop();
#ifndef _WIN32  // Windows has no unreaped children to look for
    EXPECT_TRUE(testing::noChildProcessLeft());
#endif
}

TEST(LineReader, DeliversEachLineWhenItsNewlineArrives) {
    LineCollector collector;
    ReadEngine run(
        "on start: printraw first\\npart; waitfor go; printraw ial\\n\n"
        "on go#2: print second\n",
        collector);
    ASSERT_TRUE(run.started);
    // The first line comes although its successor is still unfinished.
    ASSERT_TRUE(collector.waitForLine("first"));
    run.engine.sendLine("go");
    ASSERT_TRUE(collector.waitForLine("partial"));
    run.engine.sendLine("go");
    ASSERT_TRUE(collector.waitForLine("second"));
    EXPECT_EQ(collector.lines(), (Lines{"first", "partial", "second"}));
    EXPECT_FALSE(run.reader.ended().isSet());
    run.engine.sendLine("quit");
    EXPECT_TRUE(run.reader.ended().wait(kGenerousDeadline));
}

// Counts the flood's lines and notes any that differ from the expected text.
struct FloodCounter {
    std::string text;
    int lines = 0;
    int wrong = 0;
    Event done{Event::Reset::manual};

    static bool count(std::string_view line, void* user) {
        auto* self = static_cast<FloodCounter*>(user);
        if (line == "done")
            self->done.set();
        else if (line != self->text)
            ++self->wrong;
        else
            ++self->lines;
        return true;
    }
};

TEST(LineReader, ReadsAFloodCompletely) {
    constexpr int kLines = 100000;
    FloodCounter counter;
    counter.text = std::string(149, 'f');
    EngineProcess engine;
    ASSERT_NE(engine.start(testEngineCommand("on start: flood " + std::to_string(kLines) + " " +
                                             counter.text + "; print done")),
              0u);
    LineReader reader;
    reader.setInput(engine.fromEngine());
    reader.setHandler(&FloodCounter::count, &counter);
    ASSERT_TRUE(reader.start());
    ASSERT_TRUE(counter.done.wait(kGenerousDeadline));
    reader.stop();
    EXPECT_EQ(counter.lines, kLines);
    EXPECT_EQ(counter.wrong, 0);
    engine.sendLine("quit");
}

TEST(LineReader, EndsWithTheEngineOrTheHandler) {
    {
        // An engine that exits at once: no line, and the end is noticed after the fact too.
        LineCollector collector;
        ReadEngine run("on start: exit 0", collector);
        ASSERT_TRUE(run.reader.ended().wait(kGenerousDeadline));
        EXPECT_TRUE(run.reader.ended().wait(kGenerousDeadline));
        EXPECT_EQ(collector.lines(), Lines{});
    }
    {
        LineCollector collector;
        collector.stopAt("enough");
        ReadEngine run("on start: print one; print enough; print three", collector);
        ASSERT_TRUE(run.reader.ended().wait(kGenerousDeadline));
        EXPECT_EQ(collector.lines(), (Lines{"one", "enough"}));
        run.engine.sendLine("quit");
    }
    {
        // An engine that closes its output but goes on running ends the reader as well.
        LineCollector collector;
        ReadEngine run("on start: print bye; close-stdout", collector);
        ASSERT_TRUE(run.reader.ended().wait(kGenerousDeadline));
        EXPECT_EQ(collector.lines(), Lines{"bye"});
        run.engine.sendLine("quit");
    }
    {
        // No input at all: the thread ends at once.
        LineCollector collector;
        LineReader reader;
        reader.setHandler(&LineCollector::collect, &collector);
        EXPECT_TRUE(reader.ended().isSet());
        ASSERT_TRUE(reader.start());
        EXPECT_TRUE(reader.ended().wait(kGenerousDeadline));
    }
#ifndef _WIN32  // Windows has no unreaped children to look for
    EXPECT_TRUE(testing::noChildProcessLeft());
#endif
}

TEST(LineReader, StopEndsAReaderThatWaitsForOutput) {
    LineCollector collector;
    ReadEngine run("on start: print hello", collector);
    ASSERT_TRUE(collector.waitForLine("hello"));
    EXPECT_TRUE(run.reader.start());  // already running: nothing new
    EXPECT_FALSE(run.reader.ended().isSet());
    run.reader.stop();  // the engine is silent, so only the stop can end the read
    EXPECT_TRUE(run.reader.ended().isSet());
    run.reader.stop();
    run.engine.sendLine("quit");
    run.engine.stop();
    ASSERT_TRUE(run.engine.lastExit().has_value());
    EXPECT_TRUE(run.engine.lastExit()->exited);
    EXPECT_EQ(collector.lines(), Lines{"hello"});
}

// Counts overlong lines and signals each.
struct OverlongCounter {
    std::atomic<int> calls{0};
    Event seen{Event::Reset::automatic};

    static void count(void* user) {
        auto* self = static_cast<OverlongCounter*>(user);
        ++self->calls;
        self->seen.set();
    }
};

TEST(LineReader, DropsOverlongLinesAndTellsOfEach) {
    ignoreBrokenPipeSignal();
    constexpr size_t kLimit = 100;
    LineCollector collector;
    OverlongCounter overlong;
    // The engine writes on and on at the end: it is terminated without the usual grace.
    EngineProcess engine(StopGraces{std::chrono::milliseconds(0), std::chrono::milliseconds(1000)});
    ASSERT_NE(engine.start(testEngineCommand(
                  "on start: print short; endless 101 ab; print after; endless 50000 xyz; "
                  "print " +
                  std::string(kLimit, 'k') +
                  "; print done\n"
                  "on go: endless 0 z")),
              0u);
    LineReader reader(kLimit);
    reader.setInput(engine.fromEngine());
    reader.setHandler(&LineCollector::collect, &collector);
    reader.setOverlongHandler(&OverlongCounter::count, &overlong);
    ASSERT_TRUE(reader.start());
    ASSERT_TRUE(collector.waitForLine("done"));
    EXPECT_EQ(collector.lines(), (Lines{"short", "after", std::string(kLimit, 'k'), "done"}));
    EXPECT_EQ(overlong.calls, 2);

    // A line that never ends is told of while it runs on.
    overlong.seen.reset();
    engine.sendLine("go");
    ASSERT_TRUE(overlong.seen.wait(kGenerousDeadline));
    EXPECT_EQ(overlong.calls, 3);
    reader.stop();
    engine.stop();
    EXPECT_EQ(collector.lines().size(), 4u);
}

// A handler that blocks until the test lets it go, counting its calls.
struct StuckHandler {
    std::atomic<int> calls{0};
    std::atomic<bool> returned{false};
    Event entered{Event::Reset::manual};
    Event release{Event::Reset::manual};

    static bool handle(std::string_view, void* user) {
        auto* self = static_cast<StuckHandler*>(user);
        ++self->calls;
        self->entered.set();
        self->release.wait(kGenerousDeadline);
        self->returned = true;
        return true;
    }
};

TEST(LineReader, AReaderStuckInItsHandlerIsLetGoSafely) {
    ignoreBrokenPipeSignal();
    StuckHandler handler;
    EngineProcess engine;
    ASSERT_NE(engine.start(testEngineCommand("on start: print one; print two; print three")), 0u);
    auto reader = std::make_unique<LineReader>();
    reader->setInput(engine.fromEngine());
    reader->setHandler(&StuckHandler::handle, &handler);
    ASSERT_TRUE(reader->start());
    ASSERT_TRUE(handler.entered.wait(kGenerousDeadline));
    reader->stop();  // gives up after its second and lets the thread go
    EXPECT_TRUE(reader->ended().isSet());
    reader.reset();
    engine.sendLine("quit");
    engine.stop();  // closes the pipe the abandoned thread was reading
    handler.release.set();
    while (!handler.returned) std::this_thread::yield();
    EXPECT_EQ(handler.calls, 1);  // no line is handed on after the stop
}

}  // namespace
}  // namespace tarnwick
#endif
