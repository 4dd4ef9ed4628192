#pragma once

#include <string>

#include "run/run_settings.hpp"

namespace tarnwick {

// Whether a file the run writes (/g, /w, --json, --plot, --log) would overwrite one it reads
// (/i, /o, --compare) or another one it writes, however the names are spelt. Returns "" or the
// message naming the option that would overwrite first and then the other one:
// "Options /w and /i name the same file: <the /w value>."
std::string overwriteConflict(const RunSettings& settings);

}  // namespace tarnwick
