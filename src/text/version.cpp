#include "text/version.hpp"

namespace tarnwick {

std::string programVersion() {
    return "Tarnwick " TARNWICK_VERSION;
}

}  // namespace tarnwick
