#pragma once

#include <string>

namespace tarnwick {

// The bash completion script for tarnwick, made from the option table: option names, the
// values of options with a fixed choice, file names for file options, and commands for the
// engine's first word.
std::string bashCompletionScript();

}  // namespace tarnwick
