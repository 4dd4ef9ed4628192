#pragma once

#include <string>

namespace tarnwick {

// Whether the two names lead to one file, however they are spelt (relative or absolute, with
// ".." in them, or through a hard link). False when either does not exist or cannot be opened.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace tarnwick
