#pragma once

#include <string>

namespace tarnwick {

// The usage text of the original options, line by line.
std::string usageText();

// The help of --help: the usage text, then every option of the table, one line each.
std::string helpText();

}  // namespace tarnwick
