#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/engine_link.hpp"
#include "text/text.hpp"

namespace tarnwick::testing {

// An engine played from a script, in place of a process: every line the lane writes is
// checked against the next expected one, and the script's answer to it goes to the lane at
// once, on the writing thread. An engine that turned deaf has none of its commands written.
class ScriptedLink final : public EngineLink {
  public:
    // The next line the engine should receive, and the lines it answers with.
    ScriptedLink& expect(std::string line, std::vector<std::string> answers = {}) {
        script_.push_back({std::move(line), std::move(answers), false});
        return *this;
    }
    // Once the lines expected so far have come, the engine reads nothing more until it is
    // started again.
    ScriptedLink& deaf() {
        script_.push_back({{}, {}, true});
        return *this;
    }

    // Every line written to each engine started, "|"-separated, one text per start.
    const std::vector<std::string>& received() const { return received_; }
    // What went against the script: lines it did not expect, then what it expected in vain.
    std::string faults() const {
        std::string text = faults_;
        for (const Step& step : script_) text += "never received: " + step.line + "\n";
        return text;
    }

    bool start(const std::string&, LineSink& sink, std::string&) override {
        sink_ = &sink;
        deaf_ = false;
        received_.emplace_back();
        ended_.reset();
        written_.set();
        return true;
    }
    void send(std::string_view text) override {
        if (!script_.empty() && script_.front().deaf) {
            script_.pop_front();
            deaf_ = true;
        }
        if (deaf_) {
            written_.reset();
            return;
        }
        sink_->onWritten(text);
        forEachLine(text, [this](std::string_view line) { receive(std::string(line)); });
    }
    Event& written() override { return written_; }
    Event& ended() override { return ended_; }
    void close(std::string_view lastCommand) override {
        if (!lastCommand.empty()) send(lastCommand);
        deaf_ = true;
    }
    void stop() override { ended_.set(); }
    void kill() override {}

  private:
    struct Step {
        std::string line;
        std::vector<std::string> answers;
        bool deaf = false;
    };

    void receive(const std::string& line) {
        if (!received_.back().empty()) received_.back() += '|';
        received_.back() += line;
        if (script_.empty() || script_.front().line != line) {
            faults_ += "unexpected: " + line + "\n";
            return;
        }
        const std::vector<std::string> answers = std::move(script_.front().answers);
        script_.pop_front();
        for (const std::string& answer : answers) sink_->onLine(answer);
    }

    std::deque<Step> script_;
    LineSink* sink_ = nullptr;
    bool deaf_ = false;
    std::vector<std::string> received_;
    std::string faults_;
    Event written_{Event::Reset::manual, true};
    Event ended_{Event::Reset::manual, true};
};

}  // namespace tarnwick::testing
