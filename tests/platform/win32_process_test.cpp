// The Windows layer over real Windows pipes, with the test engine as the child.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"
#include "platform/event.hpp"
#include "platform/interrupts.hpp"
#include "platform/process.hpp"
#include "support/test_paths.hpp"

#include <windows.h>
#include "support/child_engine.hpp"
#include "support/read_engine.hpp"

namespace tarnwick {
namespace {

using testing::LineCollector;
using testing::ReadEngine;
using testing::TempDirectory;

TEST(Win32Process, EngineDirectoryIsFoundWordByWord) {
    TempDirectory dir;
    std::ofstream(dir.path() / "fast.exe") << "";
    std::ofstream(dir.path() / "with blank.exe") << "";
    const std::string folder = dir.path().string() + "\\";
    EXPECT_EQ(resolveEngineDirectory(folder + "fast.exe -hash 64"), folder);
    EXPECT_EQ(resolveEngineDirectory(folder + "fast -hash 64"), folder);
    EXPECT_EQ(resolveEngineDirectory(folder + "FAST.EXE"), folder);
    EXPECT_EQ(resolveEngineDirectory(folder + "with blank -x"), folder);
    // Quotes are not taken away, so a quoted name is not found.
    EXPECT_EQ(resolveEngineDirectory("\"" + folder + "fast.exe\" -x"), "");
    EXPECT_EQ(resolveEngineDirectory(folder + "missing -x"), "");
}

// A console event reaches the handler on a thread of the system's, and is handled there.
TEST(Win32Process, ConsoleEventsReachTheHandler) {
    Event handled(Event::Reset::manual);
    InterruptWatcher watcher([&handled] { handled.set(); });
    if (!GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0)) GTEST_SKIP() << "no console here";
    EXPECT_TRUE(handled.wait(std::chrono::seconds(10)));
}

// interruptProcess does what the console does: it runs the handlers on a thread of their own.
TEST(Win32Process, InterruptsReachTheHandler) {
    Event handled(Event::Reset::manual);
    InterruptWatcher watcher([&handled] { handled.set(); });
    const ProcessId self(GetCurrentProcessId(),
                         reinterpret_cast<std::intptr_t>(GetCurrentProcess()));
    ASSERT_TRUE(interruptProcess(self));
    EXPECT_TRUE(handled.wait(testing::kGenerousDeadline));
    EXPECT_FALSE(interruptProcess(ProcessId()));
}

#ifdef HAVE_TEST_ENGINE
TEST(Win32Process, DialogueOverPipesInTheEnginesDirectory) {
    LineCollector collector;
    // Unquoted, the program's directory is found and becomes the engine's own.
    ReadEngine run(collector, {},
                   std::string(TEST_ENGINE_BINARY) + " --script-text " +
                       testing::shellQuoted("on uci: print id name scripted; stderr joined; "
                                            "print-cwd; print uciok\n"));
    ASSERT_NE(run.id, 0u);
    ASSERT_TRUE(run.started);
    run.engine.sendLine("uci");
    ASSERT_TRUE(collector.waitForLine("uciok"));
    const std::vector<std::string> lines = collector.lines();
    EXPECT_EQ(lines.at(0), "id name scripted");
    EXPECT_EQ(lines.at(1), "joined");
    EXPECT_EQ(lines.at(2) + "\\", "cwd " + resolveEngineDirectory(TEST_ENGINE_BINARY));
    run.engine.sendLine("quit");
    ASSERT_TRUE(run.reader.ended().wait(testing::kGenerousDeadline));
    run.reader.stop();
    run.engine.stop();
    ASSERT_TRUE(run.engine.lastExit().has_value());
    EXPECT_EQ(run.engine.lastExit()->code, 0);
}

TEST(Win32Process, EnginesThatIgnoreQuitOrExitAreHandled) {
    LineCollector collector;
    ReadEngine stubborn("on quit: ignore\non eof: ignore\n", collector,
                        {std::chrono::milliseconds(200), std::chrono::milliseconds(200)});
    ASSERT_NE(stubborn.id, 0u);
    stubborn.engine.sendLine("quit");
    stubborn.engine.stop();  // terminated after the grace
    ASSERT_TRUE(stubborn.engine.lastExit().has_value());
    EXPECT_TRUE(stubborn.reader.ended().wait(testing::kGenerousDeadline));
    stubborn.reader.stop();

    LineCollector gone;
    ReadEngine quits("on start: exit 7\n", gone);
    ASSERT_TRUE(quits.reader.ended().wait(testing::kGenerousDeadline));
    quits.engine.sendLine("isready");  // writing to an engine that has gone is harmless
    quits.engine.stop();
    EXPECT_EQ(quits.engine.lastExit()->code, 7);

    EngineProcess missing;
    EXPECT_EQ(missing.start("no-such-engine-anywhere.exe"), 0u);
}
#endif

}  // namespace
}  // namespace tarnwick
