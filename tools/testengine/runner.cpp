#include "testengine/runner.hpp"

#include <array>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "platform/pipe_io.hpp"
#include "testengine/host.hpp"
#include "text/text.hpp"

namespace tarnwick::testengine {
namespace {

const PipeHandle kStdin = standardInput();
const PipeHandle kStdout = standardOutput();
const PipeHandle kStderr = standardError();

// Hands the received words to waitfor actions and the action lists to the worker.
class Mailbox {
  public:
    explicit Mailbox(std::set<std::string> awaitedWords) : awaitedWords_(std::move(awaitedWords)) {}

    void arrived(const std::string& word) {
        if (!awaitedWords_.contains(word)) return;
        std::lock_guard lock(mutex_);
        arrivedWords_.push_back(word);
        changed_.notify_all();
    }

    // Blocks until a line with first word word has arrived that no earlier waitfor took, or
    // until the engine is on its way out.
    void takeArrival(const std::string& word) {
        std::unique_lock lock(mutex_);
        while (!closing_) {
            for (auto it = arrivedWords_.begin(); it != arrivedWords_.end(); ++it) {
                if (*it == word) {
                    arrivedWords_.erase(it);
                    return;
                }
            }
            changed_.wait(lock);
        }
    }

    // Queues an action list; closing releases every present and future waitfor, so that a
    // final exit is not held up by a search that waits for "stop".
    void post(std::vector<Action> actions, bool closing = false) {
        std::lock_guard lock(mutex_);
        lists_.push_back(std::move(actions));
        closing_ = closing_ || closing;
        changed_.notify_all();
    }

    std::vector<Action> nextList() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !lists_.empty(); });
        std::vector<Action> actions = std::move(lists_.front());
        lists_.pop_front();
        return actions;
    }

  private:
    const std::set<std::string> awaitedWords_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> arrivedWords_;
    std::deque<std::vector<Action>> lists_;
    bool closing_ = false;
};

void flood(long long count, const std::string& text) {
    const std::string line = text + "\n";
    std::string block;
    const long long perBlock = std::max<long long>(1, 65536 / static_cast<long long>(line.size()));
    for (long long i = 0; i < perBlock; ++i) block += line;
    for (long long left = count; left > 0; left -= perBlock) {
        const long long lines = std::min(left, perBlock);
        if (!writeAll(kStdout, std::string_view(block).substr(0, line.size() * lines))) return;
    }
}

// One line of text repeated up to bytes bytes, or until the output fails when bytes is 0.
void endless(long long bytes, const std::string& text) {
    std::string block;
    while (block.size() < 65536) block += text;
    const auto blockBytes = static_cast<long long>(block.size());
    for (long long left = bytes; bytes == 0 || left > 0; left -= blockBytes) {
        const auto size =
            static_cast<std::size_t>(bytes == 0 ? blockBytes : std::min(left, blockBytes));
        if (!writeAll(kStdout, std::string_view(block).substr(0, size))) return;
    }
    writeAll(kStdout, "\n");
}

class Engine {
  public:
    explicit Engine(const RunOptions& options)
        : options_(options), mailbox_(awaitedWords(options.script)) {
        if (!options.logFile.empty()) log_ = std::fopen(options.logFile.c_str(), "ab");
    }

    int run() {
        std::thread worker([this] { work(); });
        worker.detach();  // the engine ends by _Exit, while the worker may still wait
        if (const Rule* rule = options_.script.find("start", 1)) {
            mailbox_.post(rule->actions);
            if (makesDeaf(*rule)) waitForever();
        }
        std::string pending;
        std::array<char, 8192> buffer;
        for (;;) {
            const std::size_t n = readSome(kStdin, buffer);
            if (n == 0) break;
            for (char c : std::string_view(buffer.data(), n)) {
                if (c != '\n') {
                    pending += c;
                    continue;
                }
                receive(pending);
                pending.clear();
            }
        }
        endOfRule("eof");
        return 0;
    }

  private:
    static std::set<std::string> awaitedWords(const Script& script) {
        std::set<std::string> words;
        for (const Rule& rule : script.rules) {
            for (const Action& action : rule.actions) {
                if (action.kind == ActionKind::waitFor) words.insert(action.text);
            }
        }
        return words;
    }

    // Whether the rule stops the reading. The reading thread acts on it itself, so that no
    // input after the rule's line is read, however late the worker comes to the action.
    static bool makesDeaf(const Rule& rule) {
        for (const Action& action : rule.actions) {
            if (action.kind == ActionKind::deaf) return true;
        }
        return false;
    }

    void receive(const std::string& line) {
        if (log_ != nullptr) {
            std::fwrite(line.data(), 1, line.size(), log_);
            std::fputc('\n', log_);
            std::fflush(log_);
        }
        const std::string word = nthToken(line, 1);
        if (word.empty()) return;
        const int occurrence = ++seen_[word];
        mailbox_.arrived(word);
        if (word == "quit") {
            endOfRule("quit", occurrence);
            return;
        }
        if (const Rule* rule = options_.script.find(word, occurrence)) {
            mailbox_.post(rule->actions);
            if (makesDeaf(*rule)) waitForever();
        }
    }

    // "quit" and the end of input make the engine exit 0 once the queued actions are done,
    // unless a rule says what to do; that rule runs in turn and the engine then exits 0
    // unless the rule has "ignore".
    void endOfRule(std::string_view word, int occurrence = 1) {
        const Rule* rule = options_.script.find(word, occurrence);
        std::vector<Action> actions;
        if (rule != nullptr) actions = rule->actions;
        bool keepRunning = false;
        for (const Action& action : actions) keepRunning |= action.kind == ActionKind::ignore;
        if (!keepRunning) actions.push_back({ActionKind::exit, {}, 0});
        mailbox_.post(std::move(actions), !keepRunning);
        if (word == "eof") {
            waitForever();
        }
    }

    [[noreturn]] void finish(int code) {
        if (log_ != nullptr) std::fflush(log_);
        std::_Exit(code);
    }

    void work() {
        for (;;) {
            for (const Action& action : mailbox_.nextList()) perform(action);
        }
    }

    void perform(const Action& action) {
        switch (action.kind) {
            case ActionKind::print:
                writeAll(kStdout, action.text + "\n");
                break;
            case ActionKind::printRaw:
                writeAll(kStdout, action.text);
                break;
            case ActionKind::sleep:
                std::this_thread::sleep_for(std::chrono::milliseconds(action.number));
                break;
            case ActionKind::flood:
                flood(action.number, action.text);
                break;
            case ActionKind::endless:
                endless(action.number, action.text);
                break;
            case ActionKind::stderrText:
                writeAll(kStderr, action.text + "\n");
                break;
            case ActionKind::exit:
                finish(static_cast<int>(action.number));
            case ActionKind::crash:
                crash();
            case ActionKind::closeStdout:
                closeStandardOutput();
                break;
            case ActionKind::ignore:
            case ActionKind::deaf:
                break;
            case ActionKind::waitFor:
                mailbox_.takeArrival(action.text);
                break;
            case ActionKind::printCwd:
                writeAll(kStdout, "cwd " + currentDirectory() + "\n");
                break;
            case ActionKind::printFds:
                writeAll(kStdout, openDescriptors() + "\n");
                break;
            case ActionKind::printPid:
                writeAll(kStdout, "pid " + std::to_string(processId()) + "\n");
                break;
            case ActionKind::printArgs: {
                std::string text;
                for (const std::string& arg : options_.args) text += "arg " + arg + "\n";
                writeAll(kStdout, text + "args end\n");
                break;
            }
            case ActionKind::trapTerm:
                ignoreTerminate();
                break;
        }
    }

    const RunOptions& options_;
    Mailbox mailbox_;
    std::FILE* log_ = nullptr;
    std::map<std::string, int> seen_;
};

}  // namespace

int runScript(const RunOptions& options) {
    Engine engine(options);
    return engine.run();
}

}  // namespace tarnwick::testengine
