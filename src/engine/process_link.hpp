#pragma once

#include "engine/command_writer.hpp"
#include "engine/engine_link.hpp"
#include "engine/engine_process.hpp"
#include "engine/line_reader.hpp"

namespace tarnwick {

// The link to a real engine: its child process, the thread that reads its lines and the thread
// that writes its commands.
class ProcessLink final : public EngineLink {
  public:
    ProcessLink() = default;
    ~ProcessLink() override;

    bool start(const std::string& command, LineSink& sink, std::string& why) override;
    void send(std::string_view text) override { writer_.post(std::string(text)); }
    Event& written() override { return writer_.written(); }
    Event& ended() override { return reader_.ended(); }
    void close(std::string_view lastCommand) override;
    void stop() override;
    void kill() override;

  private:
    EngineProcess process_;
    LineReader reader_;
    CommandWriter writer_{process_};  // destroyed first: it writes to process_
};

}  // namespace tarnwick
