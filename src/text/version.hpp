#pragma once

#include <string>

namespace tarnwick {

// The program's name and version: "Tarnwick 2.5".
std::string programVersion();

}  // namespace tarnwick
