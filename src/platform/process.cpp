#include "platform/process.hpp"

namespace tarnwick {

std::string resolveEngineDirectory(std::string_view commandLine) {
    return directoryOf(resolveProgram(commandLine));
}

}  // namespace tarnwick
