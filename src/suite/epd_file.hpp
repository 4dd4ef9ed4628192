#pragma once

#include <string>
#include <vector>

#include "suite/test_position.hpp"

namespace tarnwick {

// Appends one record per EPD line of the file, in file order. Line ends may be LF, CR LF or a
// lone CR; lines of any length are read; empty lines and comment lines (";" or "#" first) are
// skipped. A file that cannot be read adds nothing.
void readEpdFile(const std::string& fileName, std::vector<TestPosition>& list);

}  // namespace tarnwick
