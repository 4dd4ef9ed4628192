#include "engine/engine_process.hpp"
#include "support/test_paths.hpp"

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "engine/line_reader.hpp"
#include "platform/event.hpp"
#include "platform/system.hpp"
#include "support/child_engine.hpp"

#ifdef HAVE_TEST_ENGINE
namespace tarnwick {
namespace {

using Lines = std::vector<std::string>;
using std::chrono::milliseconds;
using testing::kGenerousDeadline;
using testing::LineCollector;
using testing::shellQuoted;
using testing::testEngineCommand;

// Short graces keep the tests of unwilling engines quick; the escalation is the same.
constexpr StopGraces kQuickGraces{milliseconds(200), milliseconds(200)};

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool processGone(ProcessId id) {
    return ::kill(static_cast<pid_t>(id.number()), 0) == -1 && errno == ESRCH;
}

// An engine and a reader collecting its lines.
struct Session {
    explicit Session(StopGraces graces = {}) : engine(graces) { ignoreBrokenPipeSignal(); }

    ProcessId start(const std::string& commandLine) {
        const ProcessId id = engine.start(commandLine);
        reader.setInput(engine.fromEngine());
        reader.setHandler(&LineCollector::collect, &lines);
        reader.start();
        return id;
    }

    LineCollector lines;
    EngineProcess engine;
    LineReader reader;
};

TEST(EngineProcess, SendLineWritesTheTextAndOneNewline) {
    testing::TempDirectory temp;
    const std::filesystem::path log = temp.path() / "received.log";
    const std::filesystem::path script = temp.path() / "answers.script";
    std::ofstream(script) << "# answers\n\non ping: print pong\n";
    Session session;
    ASSERT_NE(session.start(shellQuoted(TEST_ENGINE_BINARY) + " --script " +
                            shellQuoted(script.string()) + " --log " + shellQuoted(log.string())),
              0u);
    session.engine.sendLine("isready");
    session.engine.sendLine("");
    session.engine.sendLine("xboard\nhard\nnew");
    session.engine.sendLine(std::string(100000, 'p'));  // longer than the pipe holds
    session.engine.sendLine("ping");
    ASSERT_TRUE(session.lines.waitForLine("pong"));
    EXPECT_EQ(fileText(log),
              "isready\n\nxboard\nhard\nnew\n" + std::string(100000, 'p') + "\nping\n");

    session.engine.sendLine("quit");
    ASSERT_TRUE(session.reader.ended().wait(kGenerousDeadline));
    session.reader.stop();
    session.engine.stop();
    ASSERT_TRUE(session.engine.lastExit().has_value());
    EXPECT_TRUE(session.engine.lastExit()->exited);
    EXPECT_EQ(session.engine.lastExit()->code, 0);
    EXPECT_EQ(fileText(log),
              "isready\n\nxboard\nhard\nnew\n" + std::string(100000, 'p') + "\nping\nquit\n");
    session.engine.sendLine("after the end");  // nothing runs: nothing happens
    EXPECT_EQ(fileText(log).find("after"), std::string::npos);
}

TEST(EngineProcess, RunsTheProgramOfAQuotedCommandLineInItsOwnDirectory) {
    testing::TempDirectory temp;
    const std::filesystem::path dir = temp.path() / "my engines";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(TEST_ENGINE_BINARY, dir / "te st");
    std::filesystem::permissions(dir / "te st", std::filesystem::perms::owner_all);

    Session session;
    const std::string command = shellQuoted((dir / "te st").string()) +
                                " --script-text 'on start: print-args; print-cwd; print-pid'"
                                R"( "a b" c\ d 'e"f' "" -x)";
    const ProcessId id = session.start(command);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(session.engine.processId(), id);
    EXPECT_EQ(session.lines.waitForPrefixed("pid "), std::to_string(id.number()));
    EXPECT_EQ(session.lines.waitForPrefixed("cwd "), std::filesystem::canonical(dir).string());
    ASSERT_TRUE(session.lines.waitForLine("args end"));
    const Lines lines = session.lines.lines();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 7),
              (Lines{"arg --script-text", "arg on start: print-args; print-cwd; print-pid",
                     "arg a b", "arg c d", "arg e\"f", "arg ", "arg -x"}));
    session.engine.sendLine("quit");
}

TEST(EngineProcess, StartFailsForProgramsThatCannotRun) {
    testing::TempDirectory temp;
    EngineProcess engine;
    EXPECT_EQ(engine.start("/nonexistent/engine -x"), 0u);
    EXPECT_EQ(engine.start("tarnwick-no-such-engine-anywhere"), 0u);
    EXPECT_EQ(engine.start(temp.path().string()), 0u);
    EXPECT_EQ(engine.start(""), 0u);
    EXPECT_EQ(engine.processId(), 0u);
    EXPECT_EQ(engine.fromEngine(), kNoPipe);
    engine.sendLine("uci");
    engine.stop();
    engine.stop();
    EXPECT_FALSE(engine.lastExit().has_value());
}

TEST(EngineProcess, StopEndsEnginesThatWillNotGoAndReapsThem) {
    {
        // Ignores "quit": terminated after the grace.
        Session session(kQuickGraces);
        const ProcessId id = session.start(testEngineCommand("on quit: ignore\non eof: ignore"));
        ASSERT_NE(id, 0u);
        session.engine.sendLine("quit");
        session.engine.stop();
        ASSERT_TRUE(session.engine.lastExit().has_value());
        EXPECT_EQ(session.engine.lastExit()->signal, SIGTERM);
        EXPECT_TRUE(processGone(id));
        session.engine.stop();  // a second stop is harmless
        EXPECT_EQ(session.engine.lastExit()->signal, SIGTERM);
        EXPECT_TRUE(session.reader.ended().wait(kGenerousDeadline));
    }
    {
        // Ignores "quit" and SIGTERM too: killed.
        Session session(kQuickGraces);
        const ProcessId id = session.start(testEngineCommand(
            "on start: trap-term; print trapped\non quit: ignore\non eof: ignore"));
        ASSERT_TRUE(session.lines.waitForLine("trapped"));
        session.engine.sendLine("quit");
        session.engine.stop();
        ASSERT_TRUE(session.engine.lastExit().has_value());
        EXPECT_EQ(session.engine.lastExit()->signal, SIGKILL);
        EXPECT_TRUE(processGone(id));
    }
    {
        // Slow, but within the grace: it ends by itself.
        Session session(StopGraces{kGenerousDeadline, milliseconds(200)});
        ASSERT_NE(session.start(testEngineCommand("on quit: sleep 300; exit 4")), 0u);
        session.engine.sendLine("quit");
        session.engine.stop();
        ASSERT_TRUE(session.engine.lastExit().has_value());
        EXPECT_TRUE(session.engine.lastExit()->exited);
        EXPECT_EQ(session.engine.lastExit()->code, 4);
    }
    EXPECT_TRUE(testing::noChildProcessLeft());
}

TEST(EngineProcess, EnginesThatDieAreReapedAndWritingToThemIsHarmless) {
    {
        Session session(kQuickGraces);
        ASSERT_NE(session.start(testEngineCommand("on go: print info pv e2e4; crash")), 0u);
        session.engine.sendLine("go");
        ASSERT_TRUE(session.reader.ended().wait(kGenerousDeadline));
        session.engine.sendLine("stop");  // the pipe is broken: fails quietly
        session.engine.sendLine("quit");
        session.engine.stop();
        ASSERT_TRUE(session.engine.lastExit().has_value());
        EXPECT_EQ(session.engine.lastExit()->signal, SIGABRT);
        EXPECT_EQ(session.lines.lines(), Lines{"info pv e2e4"});
    }
    {
        Session session(kQuickGraces);
        ASSERT_NE(session.start(testEngineCommand("on start: exit 3")), 0u);
        ASSERT_TRUE(session.reader.ended().wait(kGenerousDeadline));
        session.engine.stop();
        ASSERT_TRUE(session.engine.lastExit().has_value());
        EXPECT_EQ(session.engine.lastExit()->code, 3);
        // The same objects start again once stopped.
        session.reader.stop();
        ASSERT_NE(session.start(testEngineCommand("on uci: print uciok")), 0u);
        session.engine.sendLine("uci");
        EXPECT_TRUE(session.lines.waitForLine("uciok"));
    }
    EXPECT_TRUE(testing::noChildProcessLeft());
}

// Runs send on a thread of its own and waits for it to end; false when it is still blocked at
// the deadline, and then the engine is stopped so that the thread ends too.
bool endsInTime(EngineProcess& engine, const std::function<void()>& send) {
    Event ended(Event::Reset::manual);
    std::thread sending([&] {
        send();
        ended.set();
    });
    const bool inTime = ended.wait(kGenerousDeadline);
    if (!inTime) engine.stop();
    sending.join();
    return inTime;
}

// A write of several megabytes to an engine that reads nothing, on a thread of its own: it
// blocks once the pipe is full, until something frees it.
class BlockedWrite {
  public:
    explicit BlockedWrite(EngineProcess& engine)
        : writer_([this, &engine] {
              started_.set();
              sent_ = engine.sendLine(std::string(8 << 20, 'x'));
          }) {
        EXPECT_TRUE(started_.wait(kGenerousDeadline));
    }
    ~BlockedWrite() {
        if (writer_.joinable()) writer_.join();
    }
    // Waits for the write to give up; whether it claimed to have gone through.
    bool sent() {
        writer_.join();
        return sent_;
    }

  private:
    Event started_{Event::Reset::manual};
    bool sent_ = true;
    std::thread writer_;
};

TEST(EngineProcess, CancelWritesFreesAWriterThatAnEngineWhichDoesNotReadHolds) {
    const std::string severalMegabytes(8 << 20, 'x');
    Session session(kQuickGraces);
    const ProcessId id = session.start(testEngineCommand("on start: deaf"));
    ASSERT_NE(id, 0u);
    BlockedWrite write(session.engine);
    // Neither asking for the engine nor cancelling waits for the write.
    EXPECT_EQ(session.engine.processId(), id);
    session.engine.cancelWrites();
    EXPECT_FALSE(write.sent());
    // Later writes return at once, and false: the pipe is full, and the engine holds part of
    // the cut line.
    bool quitSent = true;
    EXPECT_TRUE(endsInTime(session.engine, [&] { quitSent = session.engine.sendLine("quit"); }));
    EXPECT_FALSE(quitSent);
    session.engine.stop();
    ASSERT_TRUE(session.engine.lastExit().has_value());
    EXPECT_EQ(session.engine.lastExit()->signal, SIGTERM);
    EXPECT_FALSE(session.engine.sendLine("uci"));

    // A new start ends the cancel; one given while the pipe has room lets short lines through.
    session.reader.stop();
    ASSERT_NE(session.start(testEngineCommand("on uci: print uciok\non isready: print readyok")),
              0u);
    EXPECT_TRUE(session.engine.sendLine(severalMegabytes));
    EXPECT_TRUE(session.engine.sendLine("uci"));
    ASSERT_TRUE(session.lines.waitForLine("uciok"));
    session.engine.cancelWrites();
    EXPECT_TRUE(session.engine.sendLine("isready"));
    ASSERT_TRUE(session.lines.waitForLine("readyok"));
    EXPECT_TRUE(session.engine.sendLine("quit"));
    session.engine.stop();
    ASSERT_TRUE(session.engine.lastExit().has_value());
    EXPECT_TRUE(session.engine.lastExit()->exited);
    EXPECT_TRUE(testing::noChildProcessLeft());
}

TEST(EngineProcess, StopIsNotHeldUpByAWriteToAnEngineThatDoesNotRead) {
    Session session(kQuickGraces);
    const ProcessId id = session.start(testEngineCommand("on start: deaf"));
    ASSERT_NE(id, 0u);
    BlockedWrite write(session.engine);
    session.engine.stop();
    EXPECT_FALSE(write.sent());
    EXPECT_TRUE(processGone(id));
    EXPECT_EQ(session.engine.processId(), 0u);
}

}  // namespace
}  // namespace tarnwick
#endif
