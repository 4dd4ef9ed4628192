#pragma once

#include <memory>

#include "engine/protocol.hpp"

namespace tarnwick {

// The protocol object the settings name: the one place that looks at which protocol it is.
std::unique_ptr<Protocol> makeProtocol(const EngineSettings& settings);

}  // namespace tarnwick
