#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// Appends data to the file (created when missing) with one write, so an interruption leaves
// the file complete up to its last whole record. False when the file cannot be written.
bool appendToFile(const std::string& path, std::string_view data);

}  // namespace tarnwick
