#pragma once

#include <string>
#include <system_error>

namespace tarnwick {

// The system's words for an errno value, as strerror gives them, without its shared buffer.
inline std::string errorText(int error) {
    return std::generic_category().message(error);
}

}  // namespace tarnwick
