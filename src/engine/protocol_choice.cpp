#include "engine/protocol_choice.hpp"

#include "engine/uci_protocol.hpp"
#include "engine/xboard_protocol.hpp"

namespace tarnwick {

std::unique_ptr<Protocol> makeProtocol(const EngineSettings& settings) {
    switch (settings.protocol) {
        case ProtocolKind::uci:
            return std::make_unique<UciProtocol>(settings);
        case ProtocolKind::xboard:
            break;
    }
    return std::make_unique<XboardProtocol>(settings);
}

}  // namespace tarnwick
