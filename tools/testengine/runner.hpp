#pragma once

#include <string>
#include <vector>

#include "testengine/script.hpp"

namespace tarnwick::testengine {

struct RunOptions {
    Script script;
    std::string logFile;            // every received line is appended here; empty: no log
    std::vector<std::string> args;  // the engine's own arguments, for print-args
};

// Reads standard input line by line and answers by the script until "quit", the end of
// input or an exit action; returns the exit code.
int runScript(const RunOptions& options);

}  // namespace tarnwick::testengine
