#pragma once

#include <string>

#include <windows.h>

namespace tarnwick {

// The system's words for a Windows error code, without the full stop and line end that
// FormatMessage puts after them.
std::string errorText(DWORD error);

}  // namespace tarnwick
