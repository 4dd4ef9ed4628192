#pragma once

#include <string>
#include <vector>

#include "platform/console.hpp"

namespace tarnwick {

// Compares the result files side by side, and draws their chart into plotFile when one is named;
// no engine is started. False when a file holds no records or the chart cannot be written (the
// message is printed).
bool compareResultFiles(const std::vector<std::string>& files, const std::string& plotFile,
                        ConsoleOutput& console);

}  // namespace tarnwick
