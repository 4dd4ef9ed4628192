#pragma once

#include <string>

namespace tarnwick {

// Reads an engine definition file: the last "filename" of its [ENGINE] sections replaces
// engineCommand, and every name=value of its [OPTIONS] sections becomes a UCI "setoption"
// command appended to engineOptions (joined by "\n"). A file that cannot be read changes
// nothing.
void readEngineFile(const std::string& path, std::string& engineCommand,
                    std::string& engineOptions);

}  // namespace tarnwick
