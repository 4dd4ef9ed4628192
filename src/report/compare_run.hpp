#pragma once

#include <string>
#include <vector>

#include "platform/console.hpp"

namespace tarnwick {

// Compares the result files side by side, and draws their chart into plotFile and their page
// into htmlFile when those are named; no engine is started. False when a file holds no records
// or the chart or the page cannot be written (the message is printed).
bool compareResultFiles(const std::vector<std::string>& files, const std::string& plotFile,
                        const std::string& htmlFile, ConsoleOutput& console);

}  // namespace tarnwick
