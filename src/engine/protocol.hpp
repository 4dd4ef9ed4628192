#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_event.hpp"
#include "engine/engine_settings.hpp"
#include "engine/search_limits.hpp"

namespace tarnwick {

// One step of the start-up dialogue: a command, then the answer to wait for, if any.
struct HandshakeStep {
    std::string command;  // nothing is sent when empty
    std::optional<Answer> awaited;
    std::string_view failure;  // said when the answer does not come in time
};

// The position to search: its FEN, and for a position a game reached, the game's first FEN and
// the moves played from it, which an engine that keeps a game's history is given instead.
struct SearchStart {
    std::string fen;
    std::string gameFen;  // empty: the position stands alone
    std::string moves;    // UCI, blank-separated
};

// What an engine is told and how its lines are read, for one protocol. The run never asks
// which protocol it holds: it runs the handshake, sends the commands and acts on the events.
// Holds no state of a dialogue, so any thread may use it.
class Protocol {
  public:
    explicit Protocol(EngineSettings settings) : settings_(std::move(settings)) {}
    virtual ~Protocol() = default;

    // "uci" or "xboard", as the JSON summary names the protocol.
    virtual std::string_view name() const = 0;
    // The settings, with this protocol's clear and set-up commands where they gave none.
    const EngineSettings& settings() const { return settings_; }
    // The usage error for limits this protocol cannot search with; "" when it can.
    virtual std::string unsupported(const SearchLimits& limits) const = 0;

    virtual std::vector<HandshakeStep> handshake() const = 0;
    // The commands that give the engine a position and start the search, in order.
    virtual std::vector<std::string> startSearch(const SearchStart& start,
                                                 const SearchLimits& limits) const = 0;
    // Asks the engine for its move now.
    virtual std::string_view moveNow() const = 0;
    // What one line of the engine means.
    virtual EngineEvent read(std::string_view line) const = 0;

  protected:
    EngineSettings settings_;
};

}  // namespace tarnwick
