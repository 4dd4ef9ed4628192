#include "run/run.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "engine/process_link.hpp"
#include "epd/epd_file.hpp"
#include "epd/set_aside.hpp"
#include "platform/interrupts.hpp"
#include "report/outcome_files.hpp"
#include "run/exit_status.hpp"
#include "run/lane.hpp"
#include "run/run_context.hpp"
#include "run/run_report.hpp"
#include "run/shared_line_file.hpp"
#include "scoring/position_scorer.hpp"
#include "text/seconds_text.hpp"

namespace tarnwick {

namespace {

// The report's last line when an engine had to be started again.
std::string restartsLine(const std::vector<std::string>& names) {
    std::string line = "Engine restarts: " + std::to_string(names.size()) + " (";
    for (size_t i = 0; i < names.size(); ++i) line += (i == 0 ? "" : ", ") + names[i];
    return line + ")\n";
}

// One run: the files it reads and writes, the suite, and the lanes that test it. The main thread
// runs execute(); each lane runs on a thread of its own; the interrupt thread calls
// onInterrupt(), which reaches the lanes once lanesReady_ says they are all there.
class Run {
  public:
    Run(RunSettings settings, ConsoleOutput console)
        : settings_(std::move(settings)), console_(std::move(console)) {}

    int execute();
    void onInterrupt();

  private:
    std::string prepareOutputFiles();
    int test(std::vector<ScoredRecord> results, std::vector<size_t> toTest);
    int report(const std::vector<ScoredRecord>& results, const std::string& engineName,
               bool tested) {
        return reportRun(settings_, {results, engineName, started_, tested}, json_, console_);
    }

    const RunSettings settings_;
    ConsoleOutput console_;
    const std::chrono::system_clock::time_point started_ = std::chrono::system_clock::now();
    // The result file, open and locked for the whole run when there is one, and the JSON Lines
    // file: the lanes append to both.
    SharedLineFile records_;
    SharedLineFile json_;
    DialogueLog log_{std::chrono::steady_clock::now()};
    std::vector<TestPosition> suite_;
    std::atomic<bool> interrupted_{false};
    Event interruptedEvent_{Event::Reset::manual};
    std::unique_ptr<RunContext> context_;
    std::vector<std::unique_ptr<Lane>> lanes_;
    std::atomic<bool> lanesReady_{false};
};

// Takes the result file for this run, open for appending and locked against other runs, and
// makes sure the solved and unsolved files, the chart, the page and the games can be written,
// all before anything is tested; the message when one cannot.
std::string Run::prepareOutputFiles() {
    if (!settings_.resultFile.empty()) {
        if (std::string failure = records_.open(settings_.resultFile, "Result file");
            !failure.empty()) {
            return failure;
        }
    }
    for (const std::string* file : {&settings_.goodOnlyFile, &settings_.notFoundFile,
                                    &settings_.plotFile, &settings_.htmlFile, &settings_.pgnFile}) {
        if (std::string failure = checkCanCreate(*file); !failure.empty()) return failure;
    }
    if (!settings_.logFile.empty()) {
        if (std::string failure = log_.open(settings_.logFile); !failure.empty()) return failure;
    }
    return settings_.jsonFile.empty() ? std::string() : json_.open(settings_.jsonFile, "JSON file");
}

int Run::execute() {
    const auto say = [&](const std::vector<std::string>& messages) {
        for (const std::string& message : messages) console_.write(message + "\n");
    };
    say(readSuiteFile(settings_.inputFile, settings_.puzzles, suite_));
    // Nothing to test and no earlier results: no file is made for a run that cannot be.
    const bool earlierResults =
        !settings_.resultFile.empty() && std::filesystem::exists(settings_.resultFile);
    if (suite_.empty() && !earlierResults) {
        console_.write("No epd-position in files.\n");
        return kExitFailure;
    }
    if (const std::string failure = prepareOutputFiles(); !failure.empty()) {
        console_.write(failure + "\n");
        return kExitFailure;
    }
    std::vector<TestPosition> earlier;
    if (!settings_.resultFile.empty()) say(readEpdFile(settings_.resultFile, earlier));
    if (suite_.empty() && earlier.empty()) {
        console_.write("No epd-position in files.\n");
        return kExitFailure;
    }
    if (!suite_.empty()) putInSuiteOrder(earlier, matchTested(suite_, earlier));
    setAsideOtherShards(suite_, settings_.shardIndex, settings_.shardCount);
    setAsideTested(suite_, earlier);
    std::vector<ScoredRecord> results = scoreRecords(std::move(earlier));
    std::vector<size_t> toTest;
    for (size_t i = 0; i < suite_.size(); ++i) {
        if (!suite_[i].isEmpty()) toTest.push_back(i);
    }
    if (toTest.empty()) return report(results, {}, false);
    return test(std::move(results), std::move(toTest));
}

// The run from the engines' start to its report; toTest: the suite indices left to test.
int Run::test(std::vector<ScoredRecord> results, std::vector<size_t> toTest) {
    // No more engines than positions.
    const size_t laneCount =
        std::min(static_cast<size_t>(std::max(settings_.concurrency, 1)), toTest.size());
    context_ =
        std::make_unique<RunContext>(RunContext::Shared{settings_, suite_, records_, json_, log_,
                                                        console_, interrupted_, interruptedEvent_},
                                     std::move(toTest), laneCount);
    for (size_t i = 0; i < laneCount; ++i) {
        lanes_.push_back(std::make_unique<Lane>(*context_, i, std::make_unique<ProcessLink>()));
    }
    lanesReady_ = true;

    const auto started = std::chrono::steady_clock::now();
    std::vector<std::optional<PositionOutcome>> outcomes(laneCount);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < laneCount; ++i) {
        threads.emplace_back([this, i, &outcomes] { outcomes[i] = lanes_[i]->run(); });
    }
    for (std::thread& thread : threads) thread.join();
    const auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
    context_->console().status({});

    // One engine that could not go on does not end the run while another could.
    std::optional<PositionOutcome> outcome;
    for (const std::optional<PositionOutcome>& lane : outcomes) {
        if (lane && (!outcome || *outcome == PositionOutcome::EngineGone)) outcome = lane;
    }
    // No engine got into the dialogue: there is nothing to report.
    if (!outcome) return interrupted_ ? kExitOk : kExitFailure;

    std::vector<ScoredRecord> tested = context_->takeRecords();
    const size_t toTestCount = context_->positionsToTest();
    const size_t testedCount = tested.size();
    results.insert(results.end(), std::make_move_iterator(tested.begin()),
                   std::make_move_iterator(tested.end()));
    const std::vector<std::string> restarts = context_->restarts();
    const bool writeFailed = context_->writeFailed();
    std::string engineName;
    for (const auto& lane : lanes_) {
        if (engineName.empty()) engineName = lane->engineName();
    }

    int status = restarts.empty() && !writeFailed ? kExitOk : kExitFailure;
    // With several engines one may give up while the others go on: what is left untested tells.
    if ((*outcome == PositionOutcome::EngineGone || testedCount < toTestCount) && !interrupted_ &&
        !writeFailed) {
        console_.write(
            "Engine exited during the run: " + std::to_string(toTestCount - testedCount) + " of " +
            std::to_string(toTestCount) + " positions not tested.\n");
        status = kExitFailure;
    }
    if (const int reported = report(results, engineName, true); status == kExitOk)
        status = reported;
    if (!restarts.empty()) console_.write(restartsLine(restarts));
    if (settings_.concurrency > 1) {
        console_.write("Wall time: " + centisecondsText(wallMs / 10, 2) + " s with " +
                       std::to_string(laneCount) + (laneCount == 1 ? " engine\n" : " engines\n"));
    }
    return status;
}

// An interrupt (Ctrl+C, SIGTERM, a closed terminal): before the engines are started it ends the
// program at once (the result file is complete up to its last line). The first one after that
// asks every engine to quit and wakes the lanes, which end through their normal end steps, and
// the run still reports. A second one kills the engines and ends the program at once.
void Run::onInterrupt() {
    const bool ready = lanesReady_;
    if (!ready || interrupted_.exchange(true)) {
        if (ready) {
            for (const auto& lane : lanes_) lane->kill();
        }
        std::_Exit(kExitInterrupted);
    }
    interruptedEvent_.set();
    for (const auto& lane : lanes_) lane->interrupt();
}

}  // namespace

int runSuite(RunSettings settings, ConsoleOutput console) {
    Run run(std::move(settings), std::move(console));
    // Interrupts are taken on a thread of their own from here on.
    InterruptWatcher interrupts([&run] { run.onInterrupt(); });
    return run.execute();
}

}  // namespace tarnwick
