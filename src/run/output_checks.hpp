#pragma once

#include <string>

#include "run/run_settings.hpp"

namespace tarnwick {

// Whether the solved (/g) or unsolved (/w) file would overwrite the suite (/i), the result
// file (/o) or each other, however the names are spelt. Returns "" or the message naming the
// option that would overwrite first and then the one it would overwrite:
// "Options /w and /i name the same file: <the /w value>."
std::string overwriteConflict(const RunSettings& settings);

}  // namespace tarnwick
